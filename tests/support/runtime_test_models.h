// In-memory models and animations for the skeleton and animation tests: bones with their rest
// frames computed as the model loader does, faces with their per-position normal lists, and
// channels of hand-written keys.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "assets/animation_data.h"
#include "assets/model_data.h"
#include "math/quaternion.h"
#include "math/vector3.h"

namespace vorel::test_support {

// A bone whose rest frame has its head at the origin, +Z towards the tail and the up point
// on the +Y side; nameHash is the bone name's hash.
std::unique_ptr<BoneData> makeBone(const std::string& name, const Vector3& head,
                                   const Vector3& tail, const Vector3& up,
                                   std::vector<std::int32_t> vertices = {});
// A bone at the origin pointing up +Z with up point +Y: its rest and return matrices are
// exactly the identity, so its local matrix is exactly T * R * S.
std::unique_ptr<BoneData> makeAxisBone(const std::string& name,
                                       std::vector<std::int32_t> vertices = {});

Face makeFace(std::array<std::int32_t, 4> positionIndices,
              std::array<std::int32_t, 4> normalIndices);

// A model with one material, the given lists and bone tree; normalLists derived from the faces
// (one entry per corner, in face and corner order) and boneNames filled from the tree.
std::unique_ptr<ModelData> makeModel(std::vector<Vector3> positions, std::vector<Vector3> normals,
                                     std::vector<Face> faces, std::unique_ptr<BoneData> root);

// A key without tangents of its own (flags bit 0 set) starting a segment of the given mode.
Keyframe makeKey(float time, float value, SegmentMode mode = SegmentMode::Linear);
// A curve key with its tangents given in the curve's own direction (stored negated).
Keyframe makeCurveKey(float time, float value, float outTime, float outValue, float inTime,
                      float inValue);

// A track for the named bone whose channels each hold one key at time 0 with the components
// of the given pose.
TrackData makePoseTrack(const std::string& boneName, const Vector3& translation,
                        const Vector3& scale, const Quaternion& rotation);

std::unique_ptr<AnimationData> makeAnimation(float duration, std::vector<TrackData> tracks);

// The rotation by angleDegrees about a unit axis, built with half-angle sine and cosine.
Quaternion rotationAbout(const Vector3& axis, float angleDegrees);

}  // namespace vorel::test_support
