// BvhMotion: a BVH motion capture as read: the joint hierarchy, every channel of every frame,
// and the forward kinematics that turn one frame into joint transforms. Reading trusts no
// count in the file: what is allocated is bounded by the text actually present.
#pragma once

#include <string>
#include <vector>

#include "assets/load_error.h"
#include "math/matrix4.h"
#include "math/vector3.h"

namespace vorel {

enum class BvhChannel { Xposition, Yposition, Zposition, Xrotation, Yrotation, Zrotation };

struct BvhJoint {
    // The file's name; an End Site is named after its parent plus "_end" (made unique).
    std::string name;
    // Index of the parent in BvhMotion::joints; -1 for a root. Parents come before children.
    int parent = -1;
    // OFFSET, in the file's units.
    Vector3 offset;
    // CHANNELS in the file's order (empty for an End Site).
    std::vector<BvhChannel> channels;
    // Index of this joint's first value within one frame's values.
    int firstValue = 0;
    bool endSite = false;
};

struct BvhMotion {
    // Every ROOT, JOINT and End Site in file order.
    std::vector<BvhJoint> joints;
    // Values per frame (the sum of the joints' channel counts).
    int valuesPerFrame = 0;
    // The motion lines present; `Frames:` may claim another count (declaredFrameCount).
    int frameCount = 0;
    int declaredFrameCount = 0;
    // Seconds per frame (`Frame Time:`).
    double frameTime = 0.0;
    // frameCount * valuesPerFrame values, frame by frame; rotations in degrees.
    std::vector<float> values;
};

// False, with error set ("FILE: line N: what is wrong" from error.describe()), when the text
// is not a BVH file this reader accepts.
bool readBvh(const std::string& text, const std::string& path, BvhMotion& motion, LoadError& error);
bool readBvhFile(const std::string& path, BvhMotion& motion, LoadError& error);

// Empty when `Frames:` counts the motion lines present; otherwise a warning saying which count
// was used ("'Frames:' says 3069, but 3070 motion lines follow; all 3070 are used").
std::string frameCountWarning(const BvhMotion& motion);

// Joint j's transform relative to its parent at frame f: translation by OFFSET plus its
// position channels, then its rotation channels applied in the order the file lists them
// (BVH convention: local = T * R1 * R2 * R3 for channels listed R1 R2 R3).
// NOTE: joint and frame are not checked; frame is -1 (the rest pose) or below frameCount.
Matrix4 bvhLocalTransform(const BvhMotion& motion, int joint, int frame);
// Every joint's world transform at frame f (world.size() == joints.size()); frame -1 is the
// rest pose: offsets only, every channel zero.
void bvhWorldTransforms(const BvhMotion& motion, int frame, std::vector<Matrix4>& world);

}  // namespace vorel
