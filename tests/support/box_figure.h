// A tiny figure for tests that need real data before (or instead of) the default dancer: a
// lit box with one bone and a slide animation, built through the file writers and loaders
// so the loaders derive everything a figure needs.
#pragma once

#include <memory>
#include <string>

#include "assets/animation_data.h"
#include "assets/asset_library.h"
#include "assets/model_data.h"

namespace vorel::test_support {

// A 120 x 160 x 120 box standing in the middle of the viewer's picture, moved by one bone
// named "body".
std::unique_ptr<ModelData> makeBoxModel();
// Slides the "body" bone 50 units along +X over the given duration.
std::unique_ptr<AnimationData> makeSlideAnimation(float duration);
// The box under "box" and the slide, with duration 0.5, under the dance name "Cancan".
std::unique_ptr<AssetLibrary> makeBoxLibrary();
// The box and one slide of duration 1 under each of the viewer's seven dance names, in the
// order of their keys 1 to 7.
std::unique_ptr<AssetLibrary> makeSevenDanceBoxLibrary();
extern const char* const SevenDanceNames[7];
// Writes box.ply, slide.anim and vorel.txt naming them (as makeBoxLibrary) into a folder.
// False when a file cannot be written.
bool writeBoxSet(const std::string& folder);

}  // namespace vorel::test_support
