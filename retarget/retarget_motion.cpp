// The checks that refuse a source before any work, the plan, then every frame solved and
// checked for numbers a key can hold as it is stored.
#include "retarget/retarget_motion.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "retarget/frame_solver.h"
#include "retarget/retarget_plan.h"

namespace vorel {

namespace {

constexpr double MinFrameTime = 1e-4;
// Beyond this a translation no longer fits a float key with room to move.
constexpr double MaxCoordinate = 1e30;

// A capture can hold values whose products overflow (or rest poses that cannot be turned):
// such a frame is refused rather than written as keys no viewer can use.
bool finiteMotions(const std::vector<TrsTransform>& motions) {
    for (const TrsTransform& m : motions) {
        const double values[] = {m.translation.x, m.translation.y, m.translation.z, m.rotation.x,
                                 m.rotation.y,    m.rotation.z,    m.rotation.w};
        for (double value : values) {
            if (!std::isfinite(value) || std::fabs(value) > MaxCoordinate) return false;
        }
    }
    return true;
}

bool refusedBeforeStart(const SourceMotion& source, std::size_t boneCount, std::string& problem) {
    if (source.frameCount < 1) {
        problem = "the source has no frames";
        return true;
    }
    if (static_cast<double>(source.frameCount) * static_cast<double>(boneCount) >
        MaxSourceJointFrames) {
        problem = std::to_string(source.frameCount) +
                  " frames of the target's bones are more than the " +
                  std::to_string(MaxSourceJointFrames) + " bone transforms a retarget holds";
        return true;
    }
    // Key times are floats of the animation clock: frames closer than this would share them.
    if (!(source.frameTime >= MinFrameTime)) {
        problem = "frames less than 0.1 ms apart cannot be keyed";
        return true;
    }
    return false;
}

// The source's own contact quality: its foot joints over their spans, its lowest joint
// under its floor (y = 0).
ContactQuality sourceQuality(const SourceMotion& source, const std::vector<LegContacts>& contacts,
                             double height) {
    ContactQuality quality;
    for (const LegContacts& leg : contacts) {
        quality.addPath(jointPath(source, leg.leg.ankle), leg.ankle, height, source.frameTime);
        quality.addPath(jointPath(source, leg.leg.toe), leg.toe, height, source.frameTime);
    }
    double lowest = 0.0;
    for (const AffineTransform& world : source.frames)
        lowest = std::min(lowest, world.translation.y);
    quality.deepest = lowest < 0.0 ? -lowest / height : 0.0;
    return quality;
}

}  // namespace

bool retargetMotion(const SourceMotion& source, const ModelData& target, const JointGroups& groups,
                    const RetargetOptions& options, RetargetedMotion& result,
                    std::string& problem) {
    if (refusedBeforeStart(source, listBones(target).bones.size(), problem)) return false;
    RetargetPlan plan;
    if (!makeRetargetPlan(source, target, groups, options.inPlace, plan, problem)) return false;
    const std::size_t boneCount = plan.bones.bones.size();
    const auto frameCount = static_cast<std::size_t>(source.frameCount);
    result.frameCount = source.frameCount;
    result.boneCount = boneCount;
    result.frameTime = source.frameTime;
    result.legRatio = plan.legRatio;
    result.mappedBones = plan.mappedBones;
    result.contacts = findLegContacts(plan, source);
    result.sourceHeight = plan.sourceHeight;
    result.sourceQuality = sourceQuality(source, result.contacts, plan.sourceHeight);
    result.planted = options.plantFeet && !plan.legs.empty();
    result.notPlanted = options.plantFeet && plan.legs.empty() ? plan.noLegs : std::string();
    result.motions.clear();
    result.motions.reserve(boneCount * frameCount);
    std::unique_ptr<FootPlanter> planter;
    if (result.planted)
        planter = std::make_unique<FootPlanter>(plan, source, result.contacts, target);
    FrameSolver solver(plan, source, options, planter.get());
    for (std::size_t f = 0; f < frameCount; ++f) {
        solver.solve(static_cast<int>(f));
        if (!finiteMotions(solver.motions())) {
            problem =
                "frame " + std::to_string(f) + " moves the figure out of the range of numbers";
            return false;
        }
        result.motions.insert(result.motions.end(), solver.motions().begin(),
                              solver.motions().end());
    }
    return true;
}

}  // namespace vorel
