// loadAnimation: reads a binary animation file into an AnimationData and computes the
// tangents of every channel. Hostile input fails cleanly (null).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "assets/animation_data.h"
#include "assets/load_error.h"

namespace vorel {

std::unique_ptr<AnimationData> loadAnimation(const std::string& path, LoadError* error = nullptr);
std::unique_ptr<AnimationData> loadAnimationFromBytes(const std::string& bytes,
                                                      const std::string& fileName,
                                                      LoadError* error = nullptr);

// Rewrites the tangents of one channel's keys from their times and values.
void computeTangents(std::vector<Keyframe>& keys);

}  // namespace vorel
