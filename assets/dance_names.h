// DanceNames: the animation names the viewer's keys 1 to 7 start, in key order. The one list
// the key actions and the tools that check a manifest for them both read.
#pragma once

#include <array>

namespace vorel {

inline constexpr std::array<const char*, 7> DanceNames = {
    "Cancan", "Joyous Walk", "Strut", "HighKick", "MidKick", "LowKick", "Salute"};

}  // namespace vorel
