// The synthetic character of synthetic_gltf.h written as a binary FBX file (arrays deflated)
// by the tests' FBX writer, so the two importers can be timed on the same character.
#pragma once

#include <string>

namespace vorel {

// `side` x `side` vertices as quads, a chain of `jointCount` joints up the grid with each row
// bound to two of them, one stack turning every joint with `keyCount` linear keys at 30 per
// second.
std::string makeSyntheticFbx(int side, int jointCount, int keyCount);

}  // namespace vorel
