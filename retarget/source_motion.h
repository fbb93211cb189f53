// SourceMotion: a recorded motion as retargeting needs it, whatever file it came from: the
// joints with their names and parents, each joint's world transform at rest and at every
// frame, and the time between frames. A BVH capture and a glTF animation both fill it.
#pragma once

#include <string>
#include <vector>

#include "convert/affine_transform.h"

namespace vorel {

// The most joint transforms (frames times joints) a source may hold, some 400 MB: a file can
// declare far more (many end sites, a long animation in a few bytes of glTF) than its size
// justifies holding.
constexpr std::size_t MaxSourceJointFrames = 4000000;

struct SourceMotion {
    // Joint names, unique.
    std::vector<std::string> names;
    // Index of each joint's parent; -1 for a root. Parents come before children.
    std::vector<int> parents;
    // Each joint's world transform in the rest pose (the pose the skeleton is described in).
    std::vector<AffineTransform> rest;
    // frameCount * names.size() world transforms, frame by frame, joint by joint. +Y is up
    // and the floor is y = 0, as captures and glTF files are laid out.
    std::vector<AffineTransform> frames;
    int frameCount = 0;
    // Seconds between two frames.
    double frameTime = 0.0;

    std::size_t jointCount() const { return names.size(); }
    const AffineTransform& world(int frame, int joint) const {
        return frames[static_cast<std::size_t>(frame) * names.size() +
                      static_cast<std::size_t>(joint)];
    }
    // The joint's index, or -1.
    int find(const std::string& name) const;
};

// One joint's position at every frame.
std::vector<Point3d> jointPath(const SourceMotion& source, int joint);

// Each joint's number of ancestors (parents before children, as in SourceMotion).
std::vector<int> jointDepths(const std::vector<int>& parents);
// Whether `ancestor` is `joint` or one of its ancestors; walks up only as far as the depths
// differ, so checking a sorted chain costs its length once.
bool isAncestorOrSelf(const std::vector<int>& parents, const std::vector<int>& depths, int ancestor,
                      int joint);

}  // namespace vorel
