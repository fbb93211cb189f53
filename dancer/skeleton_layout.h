// The dancer's skeleton as data: every bone's name, parent, rest points and the three
// model-space axes its joint angles turn about. Derived from the body proportions.
#pragma once

#include <string>
#include <vector>

#include "dancer/body_proportions.h"
#include "math/vector3.h"

namespace vorel {

struct BoneLayout {
    std::string name;
    // Index of the parent in the layout; -1 for the root. Parents come before children.
    int parent = -1;
    // Rest points: the joint, the far end of the bone and a point above the bone.
    Vector3 head;
    Vector3 tail;
    Vector3 up;
    // Unit model-space axes of the joint angles in the rest pose. Positive bend swings a limb
    // forward (folds knees back, points toes, leans the trunk forward), positive spread
    // moves it away from the centre line (leans the trunk to the dancer's left), positive
    // twist turns it outward about its own length (turns the trunk to the dancer's left).
    Vector3 bendAxis;
    Vector3 spreadAxis;
    Vector3 twistAxis;
};

struct SkeletonLayout {
    // Pre-order: every bone's parent has a smaller index.
    std::vector<BoneLayout> bones;

    // The index of the named bone, or -1.
    int find(const std::string& name) const;
    // The named bone, which must be one of the layout's.
    const BoneLayout& bone(const std::string& name) const {
        return bones[static_cast<std::size_t>(find(name))];
    }
};

SkeletonLayout makeSkeletonLayout(const BodyProportions& body);

// The eight skirt bones, front first, going round through the dancer's left.
extern const char* const SkirtBoneNames[8];

}  // namespace vorel
