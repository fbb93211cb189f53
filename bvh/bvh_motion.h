// BvhMotion: a BVH motion capture as read (read_bvh.h): the joint hierarchy and every channel
// of every frame. bvh_kinematics.h turns one frame into joint transforms.
#pragma once

#include <string>
#include <vector>

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

}  // namespace vorel
