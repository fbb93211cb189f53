// ActiveAnimation: one playing animation, a value the figure copies into its playing list.
#pragma once

#include <cstdint>
#include <string>

namespace vorel {

class AnimationClip;

struct ActiveAnimation {
    ActiveAnimation(std::string animationName, float start)
        : name(std::move(animationName)), startTime(start) {}

    std::string name;
    // hashName of the name; set by Figure::startAnimation.
    std::uint32_t hash = 0;
    // The figure's clip for the name; not owned; set by Figure::startAnimation.
    AnimationClip* clip = nullptr;
    // Set by Figure::startAnimation; not unique.
    std::int32_t id = 0;
    // The animation clock when the record was made.
    float startTime;
    // Time played so far.
    float localTime = 0.0f;
};

}  // namespace vorel
