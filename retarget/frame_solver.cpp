// For a mapped bone with target rest direction d and source rest direction r, the plan's
// constant turn C takes d onto r; at each frame the source bone's world rotation since its
// rest, dS, carries r along, and a last small turn takes dS*r exactly onto the source bone's
// direction (a child joint with position channels of its own can leave dS*r). The bone's
// world rotation is that product, so its direction matches the source at every frame and its
// twist changes as the source's does. Bone motions follow from the world transforms as
// M = A * W_parent^-1 * W * B (convert/joint_frames.h).
#include "retarget/frame_solver.h"

namespace vorel {

FrameSolver::FrameSolver(const RetargetPlan& plan, const SourceMotion& source,
                         const RetargetOptions& options, FootPlanter* planter)
    : plan_(plan),
      source_(source),
      options_(options),
      planter_(planter),
      worldRotations_(plan.bones.bones.size()),
      worlds_(plan.bones.bones.size()),
      motions_(plan.bones.bones.size()) {
    if (planter_ != nullptr) anchorContacts();
}

void FrameSolver::solve(int frame) {
    turnBones(frame);
    double drop = 0.0;
    if (planter_ != nullptr) {
        placeBones(frame, 0.0);
        drop = planter_->plant(frame, worldRotations_, worlds_);
        followParents();
    }
    if (options_.adjustWorldRotations) options_.adjustWorldRotations(worldRotations_);
    placeBones(frame, drop);
}

// Each contact span's first frame, unplanted, tells the planter where the span holds the foot.
void FrameSolver::anchorContacts() {
    const std::vector<LegContacts>& contacts = planter_->contacts();
    for (std::size_t leg = 0; leg < contacts.size(); ++leg) {
        for (std::size_t span = 0; span < contacts[leg].foot.size(); ++span) {
            turnBones(contacts[leg].foot[span].first);
            placeBones(contacts[leg].foot[span].first, 0.0);
            planter_->anchor(leg, span, worlds_, worldRotations_);
        }
    }
}

void FrameSolver::turnBones(int frame) {
    const std::size_t count = plan_.bones.bones.size();
    for (std::size_t b = 0; b < count; ++b) {
        const int parent = plan_.bones.parents[b];
        if (plan_.mapped[b].mapped()) {
            worldRotations_[b] = mappedRotation(frame, b);
        } else {
            worldRotations_[b] =
                parent >= 0 ? worldRotations_[static_cast<std::size_t>(parent)] : Quaternion4d{};
        }
    }
}

// Unmapped bones turn with their parents again, after the planter turned some of those.
void FrameSolver::followParents() {
    for (std::size_t b = 0; b < plan_.bones.bones.size(); ++b) {
        const int parent = plan_.bones.parents[b];
        if (!plan_.mapped[b].mapped() && parent >= 0)
            worldRotations_[b] = worldRotations_[static_cast<std::size_t>(parent)];
    }
}

void FrameSolver::placeBones(int frame, double drop) {
    const std::size_t count = plan_.bones.bones.size();
    for (std::size_t b = 0; b < count; ++b) {
        const int parent = plan_.bones.parents[b];
        const AffineTransform parentWorld =
            parent < 0 ? AffineTransform{} : worlds_[static_cast<std::size_t>(parent)];
        const TargetBone& bone = plan_.targetBones[b];
        Point3d head = static_cast<int>(b) == plan_.travelling
                           ? travelledHead(frame)
                           : parentWorld.transformPoint(bone.head);
        if (static_cast<int>(b) == plan_.travelling) head.y -= drop;
        AffineTransform world = rotationTransform(worldRotations_[b]);
        world.translation = difference(head, world.transformDirection(bone.head));
        worlds_[b] = world;
        motions_[b] = boneMotion(b, parentWorld, world);
    }
}

Point3d FrameSolver::travelledHead(int frame) const {
    const std::size_t root = static_cast<std::size_t>(plan_.travelling);
    const Point3d p = plan_.faced(source_.world(frame, plan_.mapped[root].start).translation);
    const Point3d& rest = plan_.targetBones[root].head;
    // NOTE: the source's floor is y = 0, so its root height is its y.
    const double y = plan_.targetGround + plan_.legRatio * p.y;
    if (plan_.inPlace) return {rest.x, y, rest.z};
    return {rest.x + plan_.legRatio * (p.x - plan_.pathCentre.x), y,
            rest.z + plan_.legRatio * (p.z - plan_.pathCentre.z)};
}

Quaternion4d FrameSolver::mappedRotation(int frame, std::size_t bone) const {
    const MappedBone& m = plan_.mapped[bone];
    const Quaternion4d sinceRest =
        hamiltonProduct(plan_.facedRotation(source_.world(frame, m.carrier)), m.carrierRestInverse);
    const Point3d carried = rotated(sinceRest, m.sourceRest);
    const Point3d wanted = difference(plan_.faced(source_.world(frame, m.end).translation),
                                      plan_.faced(source_.world(frame, m.start).translation));
    const Quaternion4d settle = length(wanted) > 0.0
                                    ? rotationBetween(normalized(carried), normalized(wanted))
                                    : Quaternion4d{};
    return normalizedQuaternion(hamiltonProduct(settle, hamiltonProduct(sinceRest, m.restTurn)));
}

TrsTransform FrameSolver::boneMotion(std::size_t bone, const AffineTransform& parentWorld,
                                     const AffineTransform& world) const {
    AffineTransform parentInverse;
    parentWorld.inverted(parentInverse);
    // compose(first, second) is second * first: M = A * (P^-1 * W) * B.
    const AffineTransform local = AffineTransform::compose(world, parentInverse);
    const TargetBone& target = plan_.targetBones[bone];
    const AffineTransform m = AffineTransform::compose(
        AffineTransform::compose(target.boneToModel, local), target.modelToBone);
    TrsTransform motion;
    motion.rotation = rotationOf(m);
    // Only the travelling bone's head moves off its parent's: the others only turn, and
    // their zero translation is kept exact rather than left as rounding noise.
    if (static_cast<int>(bone) == plan_.travelling) motion.translation = m.translation;
    return motion;
}

}  // namespace vorel
