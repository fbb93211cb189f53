// Small models, animations and manifests for the vorel-inspect tests, made in memory and
// written with the project's writers, so each test states only what it changes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "assets/animation_data.h"
#include "assets/model_data.h"
#include "assets/save_manifest.h"
#include "tests/support/runtime_test_models.h"

namespace vorel {

using test_support::makeAnimation;
using test_support::makeKey;

// One bone "arm" from the origin along +Z (up point on +Y), so its rest frame is the
// identity; it moves a square of four vertices at x 1..2, z 0..1 with the one normal (0, -1, 0).
std::unique_ptr<ModelData> makeOneBoneModel();
std::unique_ptr<BoneData> makeBone(const std::string& name, const Vector3& head,
                                   const Vector3& tail, const std::vector<std::int32_t>& vertices);

// A track whose every channel holds one key at time 0: translation, scale and rotation
// (x, y, z, w) as given.
TrackData makeStillTrack(const std::string& name, const Vector3& translation, const Vector3& scale,
                         const float rotation[4]);
// A still track that holds the bone at rest: no translation, unit scale, no turn.
TrackData makeRestTrack(const std::string& name);

// The writers' output in a folder; each returns the file's path.
std::string writeModel(const std::string& folder, const std::string& name, const ModelData& model);
std::string writeAnimation(const std::string& folder, const std::string& name,
                           const AnimationData& animation);
std::string writeManifest(const std::string& folder, const std::string& name,
                          const std::vector<ManifestEntry>& models,
                          const std::vector<ManifestEntry>& animations);

}  // namespace vorel
