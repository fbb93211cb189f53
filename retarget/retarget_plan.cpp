// The plan is worked out in the order each part needs the one before: the target's rest
// frames, the travelling bone, the facing turn (over the mapped bones' heads), each mapped
// bone's source joints and rest turns (in the faced source), then the legs, the leg ratio and
// the path.
#include "retarget/retarget_plan.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "convert/joint_frames.h"
#include "math/pi.h"
#include "retarget/standing_height.h"

namespace vorel {

namespace {

constexpr double QuarterTurn = Pi / 2.0;
// How far a rest pose's leg may differ from the capture's standing height and still be taken
// as the leg (a walk's knees bend, a rest pose's do not).
constexpr double RestAgreement = 1.15;

// Each joint's children, in order, from a parent list.
std::vector<std::vector<int>> childLists(const std::vector<int>& parents) {
    std::vector<std::vector<int>> children(parents.size());
    for (std::size_t j = 0; j < parents.size(); ++j) {
        if (parents[j] >= 0)
            children[static_cast<std::size_t>(parents[j])].push_back(static_cast<int>(j));
    }
    return children;
}

class PlanBuilder {
  public:
    PlanBuilder(const SourceMotion& source, const ModelData& target, const JointGroups& groups,
                RetargetPlan& plan)
        : source_(source),
          target_(target),
          groups_(groups),
          plan_(plan),
          sourceChildren_(childLists(source.parents)),
          sourceDepths_(jointDepths(source.parents)),
          targetChildren_(childLists(plan.bones.parents)) {}

    bool build(std::string& problem) {
        prepareTarget();
        chooseTravellingBone();
        plan_.facing = facingTurn();
        plan_.mapped.assign(plan_.bones.bones.size(), MappedBone{});
        for (std::size_t b = 0; b < plan_.bones.bones.size(); ++b) {
            if (!groups_[b].empty() && !prepareMapped(b, problem)) return false;
        }
        plan_.mappedBones = static_cast<std::size_t>(std::count_if(
            groups_.begin(), groups_.end(), [](const std::vector<int>& g) { return !g.empty(); }));
        plan_.targetGround = targetGround();
        findLegs();
        return prepareTravel(problem);
    }

  private:
    void prepareTarget() {
        for (const BoneData* bone : plan_.bones.bones) {
            TargetBone prepared;
            const BonePoints points{bone->head, bone->tail, bone->up};
            prepared.head = toPoint3d(bone->head);
            prepared.direction = normalized(difference(toPoint3d(bone->tail), prepared.head));
            prepared.modelToBone = modelToBone(points);
            prepared.boneToModel = boneToModel(points);
            plan_.targetBones.push_back(prepared);
        }
    }

    // The first mapped bone in pre-order with no mapped ancestor carries the root's travel.
    void chooseTravellingBone() {
        for (std::size_t b = 0; b < groups_.size() && plan_.travelling < 0; ++b) {
            if (!groups_[b].empty()) plan_.travelling = static_cast<int>(b);
        }
    }

    Point3d restPosition(int joint) const {
        return plan_.faced(source_.rest[static_cast<std::size_t>(joint)].translation);
    }

    // The turn about the vertical axis that best lays the source's rest joints over the
    // target's rest bones (seen from above), so a capture facing another way still puts its
    // left arm on the target's left arm.
    Quaternion4d facingTurn() const {
        const std::size_t root = static_cast<std::size_t>(plan_.travelling);
        const Point3d sourceRoot =
            source_.rest[static_cast<std::size_t>(groups_[root].front())].translation;
        const Point3d targetRoot = plan_.targetBones[root].head;
        double along = 0.0, across = 0.0;
        for (std::size_t b = 0; b < groups_.size(); ++b) {
            if (groups_[b].empty()) continue;
            const Point3d s = difference(
                source_.rest[static_cast<std::size_t>(groups_[b].front())].translation, sourceRoot);
            const Point3d t = difference(plan_.targetBones[b].head, targetRoot);
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
        const TargetBone& self = plan_.targetBones[bone];
        const Point3d tail = toPoint3d(plan_.bones.bones[bone]->tail);
        const double boneLength = length(difference(tail, self.head));
        int best = -1;
        double bestDistance = 0.5 * boneLength;
        for (int c : targetChildren_[bone]) {
            if (groups_[static_cast<std::size_t>(c)].empty()) continue;
            const double distance =
                length(difference(plan_.targetBones[static_cast<std::size_t>(c)].head, tail));
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
        MappedBone& m = plan_.mapped[bone];
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
        const std::string& boneName = plan_.bones.bones[bone]->name;
        if (length(plan_.targetBones[bone].direction) == 0.0) {
            problem = "target bone '" + boneName + "' has no length to point along";
            return false;
        }
        if (m.end < 0) {
            problem = "source bone '" + name + "' (mapped onto '" + boneName +
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
        m.restTurn = rotationBetween(plan_.targetBones[bone].direction, m.sourceRest);
        m.carrierRestInverse =
            conjugated(plan_.facedRotation(source_.rest[static_cast<std::size_t>(m.carrier)]));
        return true;
    }

    double targetGround() const {
        double low = std::numeric_limits<double>::infinity();
        for (const Vector3& p : target_.positions) low = std::min(low, static_cast<double>(p.y));
        for (const TargetBone& bone : plan_.targetBones) low = std::min(low, bone.head.y);
        return low;
    }

    void findLegs() {
        std::vector<Point3d> heads;
        std::vector<int> pointsAt;
        std::vector<std::string> names;
        for (std::size_t b = 0; b < plan_.targetBones.size(); ++b) {
            heads.push_back(plan_.targetBones[b].head);
            pointsAt.push_back(plan_.mapped[b].end);
            names.push_back(plan_.bones.bones[b]->name);
        }
        LegSearch search;
        search.parents = &plan_.bones.parents;
        search.heads = &heads;
        search.pointsAt = &pointsAt;
        search.groups = &groups_;
        search.names = &names;
        search.sourceParents = &source_.parents;
        search.ground = plan_.targetGround;
        search.rootHeight = plan_.targetBones[static_cast<std::size_t>(plan_.travelling)].head.y;
        plan_.legs = findLegChains(search, plan_.noLegs);
    }

    // The source's hip height above its lowest joint at rest, when that is how it stands: a
    // rest pose that stands upright gives the straight leg. A rest pose whose legs do not
    // stand (they lie sideways, or the root's offset holds the height) gives nonsense; then
    // the hips' standing height over the feet in the capture's own frames is the leg.
    double sourceLegLength(int rootJoint) const {
        double low = std::numeric_limits<double>::infinity();
        for (const AffineTransform& rest : source_.rest) low = std::min(low, rest.translation.y);
        const double atRest = source_.rest[static_cast<std::size_t>(rootJoint)].translation.y - low;
        if (plan_.legs.empty()) return atRest;
        std::vector<int> feet;
        for (const LegChain& leg : plan_.legs) feet.insert(feet.end(), {leg.ankle, leg.toe});
        const double standing = standingHeight(source_, rootJoint, feet);
        return atRest <= RestAgreement * standing && standing <= RestAgreement * atRest ? atRest
                                                                                        : standing;
    }

    // Leg lengths (hip heights over the feet) and the centre of the path.
    bool prepareTravel(std::string& problem) {
        const std::size_t root = static_cast<std::size_t>(plan_.travelling);
        const int rootJoint = groups_[root].front();
        const double sourceLeg = sourceLegLength(rootJoint);
        const double targetLeg = plan_.targetBones[root].head.y - plan_.targetGround;
        if (!(sourceLeg > 0.0) || !(targetLeg > 0.0)) {
            problem = "no leg length to scale the travel by: '" +
                      source_.names[static_cast<std::size_t>(rootJoint)] + "' or '" +
                      plan_.bones.bones[root]->name + "' is not above the feet";
            return false;
        }
        plan_.legRatio = targetLeg / sourceLeg;
        plan_.sourceHeight = std::max(figureHeight(source_), sourceLeg);
        double lowX = std::numeric_limits<double>::infinity(), highX = -lowX, lowZ = lowX,
               highZ = -lowX;
        for (int f = 0; f < source_.frameCount; ++f) {
            const Point3d p = plan_.faced(source_.world(f, rootJoint).translation);
            lowX = std::min(lowX, p.x), highX = std::max(highX, p.x);
            lowZ = std::min(lowZ, p.z), highZ = std::max(highZ, p.z);
        }
        plan_.pathCentre = {0.5 * (lowX + highX), 0.0, 0.5 * (lowZ + highZ)};
        return true;
    }

    const SourceMotion& source_;
    const ModelData& target_;
    const JointGroups& groups_;
    RetargetPlan& plan_;
    std::vector<std::vector<int>> sourceChildren_;
    std::vector<int> sourceDepths_;
    std::vector<std::vector<int>> targetChildren_;
};

}  // namespace

bool makeRetargetPlan(const SourceMotion& source, const ModelData& target,
                      const JointGroups& groups, bool inPlace, RetargetPlan& plan,
                      std::string& problem) {
    plan = RetargetPlan{};
    plan.bones = listBones(target);
    plan.inPlace = inPlace;
    const bool drivesABone = std::any_of(groups.begin(), groups.end(),
                                         [](const std::vector<int>& g) { return !g.empty(); });
    if (groups.size() != plan.bones.bones.size() || !drivesABone) {
        problem = "the map drives none of the target's bones";
        return false;
    }
    return PlanBuilder(source, target, groups, plan).build(problem);
}

}  // namespace vorel
