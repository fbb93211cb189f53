// The held goal of a frame mixes the unplanted ankle with the hold of the span it is in, or
// the holds of the spans just over and about to start, each weighted by a smooth ramp
// (3x^2 - 2x^3, no jump in position or speed) over the blend time. A flat foot's turn eases
// from its own to its heading alone by the same ramp.
#include "retarget/foot_planter.h"

#include <algorithm>
#include <cmath>

#include "retarget/flat_feet.h"
#include "retarget/two_bone_reach.h"

namespace vorel {

namespace {

// The time over which a hold blends in and out.
constexpr double BlendTime = 0.1;

std::vector<ContactSpan> unionOf(const std::vector<ContactSpan>& a,
                                 const std::vector<ContactSpan>& b, int frameCount) {
    std::vector<unsigned char> in(static_cast<std::size_t>(frameCount), 0);
    for (const auto* spans : {&a, &b}) {
        for (const ContactSpan& span : *spans) {
            std::fill(in.begin() + span.first, in.begin() + span.last + 1, 1);
        }
    }
    std::vector<ContactSpan> joined;
    for (int f = 0; f < frameCount; ++f) {
        if (!in[static_cast<std::size_t>(f)]) continue;
        if (!joined.empty() && joined.back().last == f - 1)
            joined.back().last = f;
        else
            joined.push_back({f, f});
    }
    return joined;
}

// The vertices of a bone and every bone below it, from the bone's head, at rest.
std::vector<Point3d> verticesBelow(const RetargetPlan& plan, const ModelData& model,
                                   std::size_t bone) {
    std::vector<Point3d> out;
    std::vector<unsigned char> below(plan.bones.bones.size(), 0);
    below[bone] = 1;
    for (std::size_t b = bone; b < plan.bones.bones.size(); ++b) {
        const int parent = plan.bones.parents[b];
        if (b != bone && (parent < 0 || !below[static_cast<std::size_t>(parent)])) continue;
        below[b] = 1;
        for (const std::int32_t v : plan.bones.bones[b]->vertices) {
            if (v >= 0 && static_cast<std::size_t>(v) < model.positions.size()) {
                out.push_back(difference(toPoint3d(model.positions[static_cast<std::size_t>(v)]),
                                         plan.targetBones[bone].head));
            }
        }
    }
    return out;
}

}  // namespace

std::vector<LegContacts> findLegContacts(const RetargetPlan& plan, const SourceMotion& source) {
    std::vector<LegContacts> contacts;
    for (const LegChain& leg : plan.legs) {
        LegContacts c;
        c.leg = leg;
        c.ankle = findContacts(jointPath(source, leg.ankle), plan.sourceHeight, source.frameTime);
        c.toe = findContacts(jointPath(source, leg.toe), plan.sourceHeight, source.frameTime);
        c.foot = unionOf(c.ankle, c.toe, source.frameCount);
        c.flat = findFlatSpans(jointPath(source, leg.ankle), jointPath(source, leg.toe), c.foot,
                               source.frameTime);
        contacts.push_back(std::move(c));
    }
    return contacts;
}

FootPlanter::FootPlanter(const RetargetPlan& plan, const SourceMotion& source,
                         std::vector<LegContacts> contacts, const ModelData& target)
    : plan_(plan),
      source_(source),
      contacts_(std::move(contacts)),
      blendFrames_(std::max(1, static_cast<int>(std::lround(BlendTime / source.frameTime)))),
      poses_(plan.legs.size()),
      goals_(plan.legs.size()) {
    for (const LegContacts& c : contacts_) {
        LegState state;
        state.pivots.assign(static_cast<std::size_t>(source.frameCount), Free);
        for (const ContactSpan& span : c.toe)
            std::fill(state.pivots.begin() + span.first, state.pivots.begin() + span.last + 1, Toe);
        for (const ContactSpan& span : c.ankle) {
            std::fill(state.pivots.begin() + span.first, state.pivots.begin() + span.last + 1,
                      Ankle);
        }
        state.flatness = flatnessOf(c.flat);
        state.anchors.resize(c.foot.size());
        const Point3d& hip = plan.targetBones[c.leg.thigh].head;
        const Point3d& knee = plan.targetBones[c.leg.shin].head;
        const TargetBone& foot = plan.targetBones[c.leg.foot];
        state.thigh = length(difference(knee, hip));
        state.shin = length(difference(foot.head, knee));
        state.toeOffset = difference(toPoint3d(plan.bones.bones[c.leg.foot]->tail), foot.head);
        state.footVertices = verticesBelow(plan, target, c.leg.foot);
        legs_.push_back(std::move(state));
    }
}

FootPlanter::LegPose FootPlanter::poseOf(std::size_t leg,
                                         const std::vector<AffineTransform>& worlds,
                                         const std::vector<Quaternion4d>& worldRotations) const {
    const LegChain& chain = contacts_[leg].leg;
    LegPose pose;
    pose.hip = worlds[chain.thigh].transformPoint(plan_.targetBones[chain.thigh].head);
    pose.knee = worlds[chain.shin].transformPoint(plan_.targetBones[chain.shin].head);
    pose.ankle = worlds[chain.foot].transformPoint(plan_.targetBones[chain.foot].head);
    pose.footTurn = worldRotations[chain.foot];
    pose.toeOffset = rotated(pose.footTurn, legs_[leg].toeOffset);
    return pose;
}

// Ramps down over the blend time on either side of the flat spans, in two passes that count
// the frames since the last flat frame and until the next.
std::vector<double> FootPlanter::flatnessOf(const std::vector<ContactSpan>& flat) const {
    const auto count = static_cast<std::size_t>(source_.frameCount);
    const int far = blendFrames_ + 1;
    std::vector<int> away(count, far);
    for (const ContactSpan& span : flat)
        std::fill(away.begin() + span.first, away.begin() + span.last + 1, 0);
    for (std::size_t f = 1; f < count; ++f) away[f] = std::min(away[f], away[f - 1] + 1);
    for (std::size_t f = count; f-- > 1;) away[f - 1] = std::min(away[f - 1], away[f] + 1);
    std::vector<double> flatness(count);
    for (std::size_t f = 0; f < count; ++f) flatness[f] = ramp(away[f]);
    return flatness;
}

bool FootPlanter::liesFlat(std::size_t leg, const ContactSpan& span) const {
    const std::vector<double>& flatness = legs_[leg].flatness;
    return std::find(flatness.begin() + span.first, flatness.begin() + span.last + 1, 1.0) !=
           flatness.begin() + span.last + 1;
}

// Turns the foot of a pose towards its heading alone, as far as the frame lays it flat.
void FootPlanter::layFlat(std::size_t leg, int frame, LegPose& pose) const {
    const double flatness = legs_[leg].flatness[static_cast<std::size_t>(frame)];
    if (flatness <= 0.0) return;
    const Quaternion4d heading = headingOf(pose.footTurn);
    pose.footTurn = flatness >= 1.0 ? heading : slerp(pose.footTurn, heading, flatness);
    pose.toeOffset = rotated(pose.footTurn, legs_[leg].toeOffset);
}

// How far below the ankle the foot's lowest vertex is, turned as the foot is.
double FootPlanter::lowestUnder(std::size_t leg, const Quaternion4d& footTurn) const {
    double lowest = 0.0;
    for (const Point3d& v : legs_[leg].footVertices)
        lowest = std::min(lowest, rotated(footTurn, v).y);
    return lowest;
}

// Where a point on the floor has moved to at a frame, when the figure is kept in place.
Point3d FootPlanter::travelRemoved(int frame) const {
    if (!plan_.inPlace) return {};
    const std::size_t root = static_cast<std::size_t>(plan_.travelling);
    const Point3d p = plan_.faced(source_.world(frame, plan_.mapped[root].start).translation);
    return {-plan_.legRatio * p.x, 0.0, -plan_.legRatio * p.z};
}

void FootPlanter::anchor(std::size_t leg, std::size_t span,
                         const std::vector<AffineTransform>& worlds,
                         const std::vector<Quaternion4d>& worldRotations) {
    const ContactSpan& contact = contacts_[leg].foot[span];
    LegPose pose = poseOf(leg, worlds, worldRotations);
    Anchor& a = legs_[leg].anchors[span];
    a.ankle = difference(pose.ankle, travelRemoved(contact.first));
    if (liesFlat(leg, contact)) {
        // The foot will lie flat in this span: its ankle as high as at rest, its sole down.
        pose.footTurn = headingOf(pose.footTurn);
        pose.toeOffset = rotated(pose.footTurn, legs_[leg].toeOffset);
        a.ankle.y = plan_.targetBones[contacts_[leg].leg.foot].head.y;
    }
    a.ankle.y = std::max(a.ankle.y, plan_.targetGround - lowestUnder(leg, pose.footTurn));
    a.toe = sum(a.ankle, pose.toeOffset);
}

double FootPlanter::ramp(int framesAway) const {
    const double x = 1.0 - static_cast<double>(framesAway) / (blendFrames_ + 1);
    return x <= 0.0 ? 0.0 : x * x * (3.0 - 2.0 * x);
}

Point3d FootPlanter::goalOf(std::size_t leg, int frame, const LegPose& pose) {
    LegState& state = legs_[leg];
    const std::vector<ContactSpan>& spans = contacts_[leg].foot;
    while (state.next < spans.size() && spans[state.next].last < frame) ++state.next;
    const auto heldAnkle = [&pose](const Point3d& held, unsigned char pivot) {
        return pivot == Toe ? difference(held, pose.toeOffset) : held;
    };
    if (state.next < spans.size() && spans[state.next].first <= frame) {
        const unsigned char pivot = state.pivots[static_cast<std::size_t>(frame)];
        const Anchor& a = state.anchors[state.next];
        if (frame == spans[state.next].first) {
            state.held = pivot == Toe ? a.toe : a.ankle;
        } else if (pivot != state.heldPivot) {
            // The held point moves from ankle to toe (or back) where the foot is now.
            state.held = pivot == Toe ? sum(state.held, pose.toeOffset)
                                      : difference(state.held, pose.toeOffset);
        }
        state.heldPivot = pivot;
        return heldAnkle(state.held, pivot);
    }
    double outWeight = 0.0, inWeight = 0.0;
    Point3d outGoal = pose.ankle, inGoal = pose.ankle;
    if (state.next > 0) {
        outWeight = ramp(frame - spans[state.next - 1].last);
        outGoal = heldAnkle(state.held, state.heldPivot);
    }
    if (state.next < spans.size()) {
        const ContactSpan& coming = spans[state.next];
        inWeight = ramp(coming.first - frame);
        const Anchor& a = state.anchors[state.next];
        inGoal = state.pivots[static_cast<std::size_t>(coming.first)] == Toe
                     ? difference(a.toe, pose.toeOffset)
                     : a.ankle;
    }
    const double total = outWeight + inWeight;
    if (total > 1.0) outWeight /= total, inWeight /= total;
    return sum(pose.ankle, sum(scaled(difference(outGoal, pose.ankle), outWeight),
                               scaled(difference(inGoal, pose.ankle), inWeight)));
}

double FootPlanter::plant(int frame, std::vector<Quaternion4d>& worldRotations,
                          const std::vector<AffineTransform>& worlds) {
    double drop = 0.0;
    for (std::size_t leg = 0; leg < legs_.size(); ++leg) {
        poses_[leg] = poseOf(leg, worlds, worldRotations);
        layFlat(leg, frame, poses_[leg]);
        worldRotations[contacts_[leg].leg.foot] = poses_[leg].footTurn;
        // Held points live on the floor; the goal is where that floor is at this frame.
        const Point3d moved = travelRemoved(frame);
        LegPose onFloor = poses_[leg];
        onFloor.ankle = difference(onFloor.ankle, moved);
        Point3d goal = sum(goalOf(leg, frame, onFloor), moved);
        goal.y = std::max(goal.y, plan_.targetGround - lowestUnder(leg, poses_[leg].footTurn));
        goals_[leg] = goal;
        // The hips come down until the goal is within the leg's reach.
        const Point3d toGoal = difference(goal, poses_[leg].hip);
        const double across = std::hypot(toGoal.x, toGoal.z);
        const double longest = longestReach(legs_[leg].thigh, legs_[leg].shin);
        if (length(toGoal) > longest) {
            const double reachable =
                across < longest ? std::sqrt(longest * longest - across * across) : 0.0;
            // A hold farther off than the leg is long is not reached for: the source jumped
            // (or its numbers did), and the hips keep their height.
            const double needed = -toGoal.y - reachable;
            if (needed <= longest) drop = std::max(drop, needed);
        }
    }
    for (std::size_t leg = 0; leg < legs_.size(); ++leg)
        reach(leg, poses_[leg], goals_[leg], drop, worldRotations);
    return drop;
}

void FootPlanter::reach(std::size_t leg, const LegPose& pose, const Point3d& goal, double drop,
                        std::vector<Quaternion4d>& worldRotations) const {
    if (drop == 0.0 && goal.x == pose.ankle.x && goal.y == pose.ankle.y && goal.z == pose.ankle.z)
        return;
    const Point3d down{0.0, -drop, 0.0};
    LegReach r;
    r.hip = sum(pose.hip, down);
    r.knee = sum(pose.knee, down);
    r.goal = goal;
    r.thigh = legs_[leg].thigh;
    r.shin = legs_[leg].shin;
    r.forward = normalized(pose.toeOffset);
    const Point3d knee = twoBoneKnee(r);
    const LegChain& chain = contacts_[leg].leg;
    const Quaternion4d thighTurn =
        rotationBetween(normalized(difference(r.knee, r.hip)), normalized(difference(knee, r.hip)));
    const Quaternion4d shinTurn = rotationBetween(normalized(difference(pose.ankle, pose.knee)),
                                                  normalized(difference(goal, knee)));
    worldRotations[chain.thigh] =
        normalizedQuaternion(hamiltonProduct(thighTurn, worldRotations[chain.thigh]));
    worldRotations[chain.shin] =
        normalizedQuaternion(hamiltonProduct(shinTurn, worldRotations[chain.shin]));
}

}  // namespace vorel
