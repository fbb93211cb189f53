// For a mapped bone with target rest direction d and source rest direction r, a constant
// turn C takes d onto r; at each frame the source bone's world rotation since its rest, dS,
// carries r along, and a last small turn takes dS*r exactly onto the source bone's direction
// (a child joint with position channels of its own can leave dS*r). The bone's world
// rotation is that product, so its direction matches the source at every frame and its
// twist changes as the source's does. Bone motions follow from the world transforms as
// M = A * W_parent^-1 * W * B (convert/joint_frames.h).
#include "retarget/retarget_motion.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "convert/joint_frames.h"
#include "math/pi.h"
#include "retarget/dancer_skirt.h"

namespace vorel {

namespace {

constexpr double MinFrameTime = 1e-4;
// Beyond this a translation no longer fits a float key with room to move.
constexpr double MaxCoordinate = 1e30;
constexpr double QuarterTurn = Pi / 2.0;

Point3d normalized(const Point3d& p) {
    const double l = length(p);
    return l > 0.0 ? scaled(p, 1.0 / l) : p;
}

AffineTransform rotationMatrix(const Quaternion4d& q) {
    TrsTransform trs;
    trs.rotation = q;
    return AffineTransform::fromTrs(trs);
}

Point3d rotated(const Quaternion4d& q, const Point3d& v) {
    return rotationMatrix(q).transformDirection(v);
}

// The shortest turn taking unit vector `from` onto unit vector `to`.
Quaternion4d rotationBetween(const Point3d& from, const Point3d& to) {
    const double c = dot(from, to);
    if (c < -1.0 + 1e-12) {
        const Point3d other =
            std::fabs(from.x) < 0.9 ? Point3d{1.0, 0.0, 0.0} : Point3d{0.0, 1.0, 0.0};
        const Point3d axis = normalized(cross(from, other));
        return {axis.x, axis.y, axis.z, 0.0};
    }
    const Point3d axis = cross(from, to);
    return normalizedQuaternion({axis.x, axis.y, axis.z, 1.0 + c});
}

Quaternion4d rotationOf(const AffineTransform& transform) {
    bool sheared = false;
    return normalizedQuaternion(decomposeTrs(transform, sheared).rotation);
}

// X * Y: Y acts first.
AffineTransform product(const AffineTransform& x, const AffineTransform& y) {
    return AffineTransform::compose(y, x);
}

// Each joint's children, in order, from a parent list.
std::vector<std::vector<int>> childLists(const std::vector<int>& parents) {
    std::vector<std::vector<int>> children(parents.size());
    for (std::size_t j = 0; j < parents.size(); ++j) {
        if (parents[j] >= 0)
            children[static_cast<std::size_t>(parents[j])].push_back(static_cast<int>(j));
    }
    return children;
}

struct MappedBone {
    int start = -1;
    // The joint the bone points at, and the joint whose rotation carries that end.
    int end = -1;
    int carrier = -1;
    Point3d sourceRest;
    Quaternion4d restTurn;
    Quaternion4d carrierRestInverse;
};

struct TargetBone {
    Point3d head;
    Point3d direction;
    AffineTransform modelToBone;
    AffineTransform boneToModel;
};

class Retargeter {
  public:
    Retargeter(const SourceMotion& source, const ModelData& target, const JointGroups& groups,
               const RetargetOptions& options)
        : source_(source),
          target_(target),
          groups_(groups),
          options_(options),
          bones_(listBones(target)),
          skirt_(bones_) {}

    bool run(RetargetedMotion& result, std::string& problem) {
        sourceChildren_ = childLists(source_.parents);
        sourceDepths_ = jointDepths(source_.parents);
        targetChildren_ = childLists(bones_.parents);
        prepareTarget();
        chooseTravellingBone();
        facing_ = facingTurn();
        mapped_.assign(bones_.bones.size(), MappedBone{});
        for (std::size_t b = 0; b < bones_.bones.size(); ++b) {
            if (!groups_[b].empty() && !prepareMapped(b, problem)) return false;
        }
        if (!prepareTravel(result, problem)) return false;
        result.frameCount = source_.frameCount;
        result.boneCount = bones_.bones.size();
        result.frameTime = source_.frameTime;
        result.mappedBones = static_cast<std::size_t>(std::count_if(
            groups_.begin(), groups_.end(), [](const std::vector<int>& g) { return !g.empty(); }));
        result.skirtCleared = skirt_.active();
        result.motions.clear();
        result.motions.reserve(static_cast<std::size_t>(source_.frameCount) * bones_.bones.size());
        for (int f = 0; f < source_.frameCount; ++f) {
            solveFrame(f, result);
            if (!finiteFrame(result, f)) {
                problem =
                    "frame " + std::to_string(f) + " moves the figure out of the range of numbers";
                return false;
            }
        }
        return true;
    }

  private:
    // A capture can hold values whose products overflow (or rest poses that cannot be
    // turned): such a frame is refused rather than written as keys no viewer can use.
    static bool finiteFrame(const RetargetedMotion& result, int frame) {
        for (std::size_t b = 0; b < result.boneCount; ++b) {
            const TrsTransform& m = result.motion(frame, b);
            const double values[] = {m.translation.x, m.translation.y, m.translation.z,
                                     m.rotation.x,    m.rotation.y,    m.rotation.z,
                                     m.rotation.w};
            for (double value : values) {
                if (!std::isfinite(value) || std::fabs(value) > MaxCoordinate) return false;
            }
        }
        return true;
    }

    void prepareTarget() {
        for (const BoneData* bone : bones_.bones) {
            TargetBone prepared;
            const BonePoints points{bone->head, bone->tail, bone->up};
            prepared.head = toPoint3d(bone->head);
            prepared.direction = normalized(difference(toPoint3d(bone->tail), prepared.head));
            prepared.modelToBone = modelToBone(points);
            prepared.boneToModel = boneToModel(points);
            targetBones_.push_back(prepared);
        }
    }

    // The first mapped bone in pre-order with no mapped ancestor carries the root's travel.
    void chooseTravellingBone() {
        for (std::size_t b = 0; b < groups_.size() && travelling_ < 0; ++b) {
            if (!groups_[b].empty()) travelling_ = static_cast<int>(b);
        }
    }

    Point3d restPosition(int joint) const {
        return rotated(facing_, source_.rest[static_cast<std::size_t>(joint)].translation);
    }
    Point3d framePosition(int frame, int joint) const {
        return rotated(facing_, source_.world(frame, joint).translation);
    }

    // The turn about the vertical axis that best lays the source's rest joints over the
    // target's rest bones (seen from above), so a capture facing another way still puts its
    // left arm on the target's left arm.
    Quaternion4d facingTurn() const {
        const std::size_t root = static_cast<std::size_t>(travelling_);
        const Point3d sourceRoot =
            source_.rest[static_cast<std::size_t>(groups_[root].front())].translation;
        const Point3d targetRoot = targetBones_[root].head;
        double along = 0.0, across = 0.0;
        for (std::size_t b = 0; b < groups_.size(); ++b) {
            if (groups_[b].empty()) continue;
            const Point3d s = difference(
                source_.rest[static_cast<std::size_t>(groups_[b].front())].translation, sourceRoot);
            const Point3d t = difference(targetBones_[b].head, targetRoot);
            along += s.x * t.x + s.z * t.z;
            across += s.z * t.x - s.x * t.z;
        }
        // Skeletons face along an axis; snapping to a quarter turn keeps the turn exactly
        // zero for a source that already faces the target's way, whatever its proportions.
        const double fitted = (along == 0.0 && across == 0.0) ? 0.0 : std::atan2(across, along);
        const double angle = QuarterTurn * std::round(fitted / QuarterTurn);
        return {0.0, std::sin(angle / 2.0), 0.0, std::cos(angle / 2.0)};
    }

    // The target child whose head is where this bone ends, when the map drives it.
    int chainChild(std::size_t bone) const {
        const TargetBone& self = targetBones_[bone];
        const Point3d tail = toPoint3d(bones_.bones[bone]->tail);
        const double boneLength = length(difference(tail, self.head));
        int best = -1;
        double bestDistance = 0.5 * boneLength;
        for (int c : targetChildren_[bone]) {
            if (groups_[static_cast<std::size_t>(c)].empty()) continue;
            const double distance =
                length(difference(targetBones_[static_cast<std::size_t>(c)].head, tail));
            if (distance < bestDistance) best = c, bestDistance = distance;
        }
        return best;
    }

    // The first joint below `last`, breadth first, that lies away from `start` at rest: an
    // end site, a toe, a finger, past joints that sit on top of each other.
    int tipBelow(int last, int start) const {
        const double apart = 1e-6 * sourceSize();
        std::vector<int> queue{last};
        for (std::size_t at = 0; at < queue.size(); ++at) {
            for (int child : sourceChildren_[static_cast<std::size_t>(queue[at])]) {
                if (length(difference(restPosition(child), restPosition(start))) > apart)
                    return child;
                queue.push_back(child);
            }
        }
        return -1;
    }

    double sourceSize() const {
        double low = std::numeric_limits<double>::infinity(), high = -low;
        for (const AffineTransform& rest : source_.rest) {
            low = std::min(low, rest.translation.y);
            high = std::max(high, rest.translation.y);
        }
        return high > low ? high - low : 1.0;
    }

    bool prepareMapped(std::size_t bone, std::string& problem) {
        MappedBone& m = mapped_[bone];
        const std::vector<int>& group = groups_[bone];
        m.start = group.front();
        const int child = chainChild(bone);
        if (child >= 0 &&
            isAncestorOrSelf(source_.parents, sourceDepths_, group.back(),
                             groups_[static_cast<std::size_t>(child)].front()) &&
            groups_[static_cast<std::size_t>(child)].front() != group.back()) {
            m.end = groups_[static_cast<std::size_t>(child)].front();
        } else {
            m.end = tipBelow(group.back(), m.start);
        }
        const std::string& name = source_.names[static_cast<std::size_t>(m.start)];
        if (length(targetBones_[bone].direction) == 0.0) {
            problem = "target bone '" + bones_.bones[bone]->name + "' has no length to point along";
            return false;
        }
        if (m.end < 0) {
            problem = "source bone '" + name + "' (mapped onto '" + bones_.bones[bone]->name +
                      "') has no joint below it to point at";
            return false;
        }
        const Point3d along = difference(restPosition(m.end), restPosition(m.start));
        if (length(along) <= 1e-6 * sourceSize()) {
            problem = "source bone '" + name + "' has no length at rest";
            return false;
        }
        m.carrier = source_.parents[static_cast<std::size_t>(m.end)];
        m.sourceRest = normalized(along);
        m.restTurn = rotationBetween(targetBones_[bone].direction, m.sourceRest);
        m.carrierRestInverse =
            conjugated(carrierRotation(source_.rest[static_cast<std::size_t>(m.carrier)]));
        return true;
    }

    Quaternion4d carrierRotation(const AffineTransform& world) const {
        return hamiltonProduct(facing_, rotationOf(world));
    }

    // Leg lengths (root height above the lowest point at rest) and the centre of the path.
    bool prepareTravel(RetargetedMotion& result, std::string& problem) {
        double sourceLow = std::numeric_limits<double>::infinity();
        for (std::size_t j = 0; j < source_.rest.size(); ++j) {
            sourceLow = std::min(sourceLow, source_.rest[j].translation.y);
        }
        double targetLow = std::numeric_limits<double>::infinity();
        for (const Vector3& p : target_.positions)
            targetLow = std::min(targetLow, static_cast<double>(p.y));
        for (const TargetBone& bone : targetBones_) targetLow = std::min(targetLow, bone.head.y);
        const std::size_t root = static_cast<std::size_t>(travelling_);
        const int rootJoint = groups_[root].front();
        const double sourceLeg =
            source_.rest[static_cast<std::size_t>(rootJoint)].translation.y - sourceLow;
        const double targetLeg = targetBones_[root].head.y - targetLow;
        if (!(sourceLeg > 0.0) || !(targetLeg > 0.0)) {
            problem = "no leg length to scale the travel by: '" +
                      source_.names[static_cast<std::size_t>(rootJoint)] + "' or '" +
                      bones_.bones[root]->name + "' is not above the lowest point at rest";
            return false;
        }
        legRatio_ = targetLeg / sourceLeg;
        targetGround_ = targetLow;
        result.legRatio = legRatio_;
        double lowX = std::numeric_limits<double>::infinity(), highX = -lowX, lowZ = lowX,
               highZ = -lowX;
        for (int f = 0; f < source_.frameCount; ++f) {
            const Point3d p = framePosition(f, rootJoint);
            lowX = std::min(lowX, p.x), highX = std::max(highX, p.x);
            lowZ = std::min(lowZ, p.z), highZ = std::max(highZ, p.z);
        }
        pathCentre_ = {0.5 * (lowX + highX), 0.0, 0.5 * (lowZ + highZ)};
        return true;
    }

    Point3d travelledHead(int frame) const {
        const std::size_t root = static_cast<std::size_t>(travelling_);
        const Point3d p = framePosition(frame, groups_[root].front());
        const Point3d& rest = targetBones_[root].head;
        // NOTE: the source's floor is y = 0, so its root height is its y.
        const double y = targetGround_ + legRatio_ * p.y;
        if (options_.inPlace) return {rest.x, y, rest.z};
        return {rest.x + legRatio_ * (p.x - pathCentre_.x), y,
                rest.z + legRatio_ * (p.z - pathCentre_.z)};
    }

    Quaternion4d mappedRotation(int frame, std::size_t bone) const {
        const MappedBone& m = mapped_[bone];
        const Quaternion4d sinceRest =
            hamiltonProduct(carrierRotation(source_.world(frame, m.carrier)), m.carrierRestInverse);
        const Point3d carried = rotated(sinceRest, m.sourceRest);
        const Point3d wanted =
            difference(framePosition(frame, m.end), framePosition(frame, m.start));
        const Quaternion4d settle = length(wanted) > 0.0
                                        ? rotationBetween(normalized(carried), normalized(wanted))
                                        : Quaternion4d{};
        return normalizedQuaternion(
            hamiltonProduct(settle, hamiltonProduct(sinceRest, m.restTurn)));
    }

    void solveFrame(int frame, RetargetedMotion& result) {
        const std::size_t count = bones_.bones.size();
        worldRotations_.assign(count, Quaternion4d{});
        for (std::size_t b = 0; b < count; ++b) {
            const int parent = bones_.parents[b];
            if (!groups_[b].empty()) {
                worldRotations_[b] = mappedRotation(frame, b);
            } else if (parent >= 0) {
                worldRotations_[b] = worldRotations_[static_cast<std::size_t>(parent)];
            }
        }
        skirt_.clear(worldRotations_);
        worlds_.assign(count, AffineTransform{});
        for (std::size_t b = 0; b < count; ++b) {
            const int parent = bones_.parents[b];
            const AffineTransform parentWorld =
                parent < 0 ? AffineTransform{} : worlds_[static_cast<std::size_t>(parent)];
            const Point3d head = static_cast<int>(b) == travelling_
                                     ? travelledHead(frame)
                                     : parentWorld.transformPoint(targetBones_[b].head);
            AffineTransform world = rotationMatrix(worldRotations_[b]);
            world.translation = difference(head, world.transformDirection(targetBones_[b].head));
            worlds_[b] = world;
            result.motions.push_back(boneMotion(b, parentWorld, world));
        }
    }

    TrsTransform boneMotion(std::size_t bone, const AffineTransform& parentWorld,
                            const AffineTransform& world) const {
        AffineTransform parentInverse;
        parentWorld.inverted(parentInverse);
        const AffineTransform local = product(parentInverse, world);
        const AffineTransform m =
            product(targetBones_[bone].modelToBone, product(local, targetBones_[bone].boneToModel));
        TrsTransform motion;
        motion.rotation = rotationOf(m);
        // Only the travelling bone's head moves off its parent's: the others only turn, and
        // their zero translation is kept exact rather than left as rounding noise.
        if (static_cast<int>(bone) == travelling_) motion.translation = m.translation;
        return motion;
    }

    const SourceMotion& source_;
    const ModelData& target_;
    const JointGroups& groups_;
    const RetargetOptions& options_;
    BoneList bones_;
    DancerSkirt skirt_;
    std::vector<TargetBone> targetBones_;
    std::vector<MappedBone> mapped_;
    int travelling_ = -1;
    Quaternion4d facing_;
    double legRatio_ = 1.0;
    double targetGround_ = 0.0;
    Point3d pathCentre_;
    std::vector<std::vector<int>> sourceChildren_;
    std::vector<int> sourceDepths_;
    std::vector<std::vector<int>> targetChildren_;
    std::vector<Quaternion4d> worldRotations_;
    std::vector<AffineTransform> worlds_;
};

}  // namespace

bool retargetMotion(const SourceMotion& source, const ModelData& target, const JointGroups& groups,
                    const RetargetOptions& options, RetargetedMotion& result,
                    std::string& problem) {
    if (source.frameCount < 1) {
        problem = "the source has no frames";
        return false;
    }
    if (static_cast<double>(source.frameCount) *
            static_cast<double>(listBones(target).bones.size()) >
        MaxSourceJointFrames) {
        problem = std::to_string(source.frameCount) +
                  " frames of the target's bones are more than the " +
                  std::to_string(MaxSourceJointFrames) + " bone transforms a retarget holds";
        return false;
    }
    // Key times are floats of the animation clock: frames closer than this would share them.
    if (!(source.frameTime >= MinFrameTime)) {
        problem = "frames less than 0.1 ms apart cannot be keyed";
        return false;
    }
    Retargeter retargeter(source, target, groups, options);
    return retargeter.run(result, problem);
}

}  // namespace vorel
