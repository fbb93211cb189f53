// RetargetPlan: everything about putting one source motion on one target skeleton that does
// not change from frame to frame, worked out once before the first frame: the mapped bones
// with their rest directions and turns on both sides, the target's rest frames, the facing
// turn, the legs, the leg ratio and the centre of the root's path. solveFrame
// (retarget/frame_solver.h) reads it at every frame.
#pragma once

#include <string>
#include <vector>

#include "assets/model_data.h"
#include "convert/affine_transform.h"
#include "retarget/bone_map.h"
#include "retarget/leg_chains.h"
#include "retarget/source_motion.h"
#include "skeleton/bone_list.h"

namespace vorel {

// A target bone driven by the map: the source joints it follows.
struct MappedBone {
    // The source joint the bone starts at; -1 when the map leaves the bone out.
    int start = -1;
    // The joint the bone points at, and the joint whose rotation carries that end.
    int end = -1;
    int carrier = -1;
    // The source bone's direction at rest (facing turn applied), unit length.
    Point3d sourceRest;
    // The turn taking the target bone's rest direction onto sourceRest.
    Quaternion4d restTurn;
    // The carrier's world rotation at rest, inverted.
    Quaternion4d carrierRestInverse;

    bool mapped() const { return start >= 0; }
};

// A target bone's rest, in model space.
struct TargetBone {
    Point3d head;
    // Head to tail, unit length.
    Point3d direction;
    AffineTransform modelToBone;
    AffineTransform boneToModel;
};

struct RetargetPlan {
    // The target's bones in pre-order, and each one's rest and mapping, indexed alike.
    BoneList bones;
    std::vector<TargetBone> targetBones;
    std::vector<MappedBone> mapped;
    std::size_t mappedBones = 0;
    // The first mapped bone with no mapped ancestor: it carries the root's travel.
    int travelling = -1;
    // The turn about the vertical that lays the source's rest over the target's.
    Quaternion4d facing;
    // The target's legs the map drives; when there are none, why not.
    std::vector<LegChain> legs;
    std::string noLegs;
    // Target leg length over source leg length: the target's hip height above its floor at
    // rest, over the source's standing hip height in its own frames (retarget/standing_height.h).
    double legRatio = 1.0;
    // The source figure's height in its own frames (its floor is y = 0).
    double sourceHeight = 1.0;
    // The lowest point of the target at rest: its floor.
    double targetGround = 0.0;
    // The middle of the root's path over the floor (facing turn applied), y = 0.
    Point3d pathCentre;
    bool inPlace = false;

    // A source position or world rotation turned by the facing.
    Point3d faced(const Point3d& position) const { return rotated(facing, position); }
    Quaternion4d facedRotation(const AffineTransform& world) const {
        return hamiltonProduct(facing, rotationOf(world));
    }
};

// False, with problem set to one line, when the groups drive no bone (or do not match the
// target's bones), a mapped bone on either side has no length to
// point along or either skeleton has no leg length to scale by.
bool makeRetargetPlan(const SourceMotion& source, const ModelData& target,
                      const JointGroups& groups, bool inPlace, RetargetPlan& plan,
                      std::string& problem);

}  // namespace vorel
