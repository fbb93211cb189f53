// The size of the viewer's window, which is also the size of every frame a tool draws as the
// viewer would, so their pictures can be compared pixel for pixel.
#pragma once

namespace vorel {

constexpr int WindowWidth = 640;
constexpr int WindowHeight = 480;

}  // namespace vorel
