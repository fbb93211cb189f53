#include "retarget/retarget_file.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

#include "bvh/read_bvh.h"
#include "convert/set_check.h"
#include "retarget/bvh_source.h"
#include "retarget/dancer_skirt.h"
#include "retarget/fbx_source.h"
#include "retarget/gltf_source.h"
#include "retarget/map_coverage.h"
#include "retarget/view_check.h"

namespace vorel {

namespace {

bool endsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

bool readSource(const RetargetRequest& request, SourceMotion& source,
                std::vector<std::string>& warnings, LoadError& error) {
    switch (sourceKindOf(request.sourcePath)) {
        case SourceKind::Bvh: {
            BvhMotion bvh;
            if (!readBvhFile(request.sourcePath, bvh, error) ||
                !checkBvhHasFrames(bvh, request.sourcePath, error)) {
                return false;
            }
            const std::string miscount = frameCountWarning(bvh);
            if (!miscount.empty()) warnings.push_back(request.sourcePath + ": " + miscount);
            return sourceFromBvh(bvh, request.sourcePath, source, error);
        }
        case SourceKind::Gltf:
            return sourceFromGltf(request.sourcePath, request.animation, source, error);
        case SourceKind::Fbx:
            return sourceFromFbx(request.sourcePath, request.animation, source, error);
        case SourceKind::Unknown:
            break;
    }
    error = LoadError{};
    error.file = request.sourcePath;
    error.message = "not a .bvh, .glb, .gltf or .fbx file";
    return false;
}

double modelHeight(const ModelData& model) {
    if (model.positions.empty()) return 1.0;
    const auto [low, high] =
        std::minmax_element(model.positions.begin(), model.positions.end(),
                            [](const Vector3& a, const Vector3& b) { return a.y < b.y; });
    return high->y > low->y ? static_cast<double>(high->y - low->y) : 1.0;
}

// The target's floor: its rest pose's lowest point.
double groundOf(const ModelData& model) {
    double low = std::numeric_limits<double>::infinity();
    for (const Vector3& p : model.positions) low = std::min(low, static_cast<double>(p.y));
    return std::isfinite(low) ? low : 0.0;
}

std::string contactsText(const std::string& sourcePath, const SourceMotion& source,
                         const BoneList& bones, const RetargetedMotion& motion) {
    char line[160];
    std::snprintf(line, sizeof line, "# frame time %.9g s\n", motion.frameTime);
    std::string text = "# Foot contacts of " + sourcePath +
                       ": frames (0-based, first-last) at which a foot joint rests on the "
                       "floor\n" +
                       line;
    for (const LegContacts& leg : motion.contacts) {
        const std::string& foot = bones.bones[leg.leg.foot]->name;
        text += foot + " ankle " + source.names[static_cast<std::size_t>(leg.leg.ankle)] + ": " +
                describeSpans(leg.ankle) + "\n";
        text += foot + " toe " + source.names[static_cast<std::size_t>(leg.leg.toe)] + ": " +
                describeSpans(leg.toe) + "\n";
    }
    return text;
}

// Why a result that leaves the picture in most frames is refused, and what to try with what
// the asker offers: the tool's options, or the page's choice of a map beside the file.
std::string offPictureProblem(const RetargetOutcome& outcome, const RetargetRequest& request) {
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%.3g", outcome.legRatio);
    std::string line = "the figure would be outside the viewer's picture in " +
                       std::to_string(outcome.view.framesGone) + " of " +
                       std::to_string(outcome.frameCount) + " frames (leg-length ratio " + ratio +
                       "); ";
    if (request.asker == RetargetAsker::Page)
        return line + "choose a bone map .txt that pairs the legs together with the file";
    line += "try ";
    if (!request.options.inPlace) line += "--in-place, ";
    return line + "a map (--map) that pairs the legs, or --allow-off-picture to keep it";
}

}  // namespace

SourceKind sourceKindOf(const std::string& path) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (endsWith(lower, ".bvh")) return SourceKind::Bvh;
    if (endsWith(lower, ".glb") || endsWith(lower, ".gltf")) return SourceKind::Gltf;
    if (endsWith(lower, ".fbx")) return SourceKind::Fbx;
    return SourceKind::Unknown;
}

bool retargetFile(const RetargetRequest& request, const ModelData& target, RetargetOutcome& outcome,
                  LoadError& error) {
    SourceMotion source;
    outcome.warnings.clear();
    if (!readSource(request, source, outcome.warnings, error)) return false;
    BoneMap map;
    if (request.mapPath.empty()) {
        map = builtInMapFor(source);
    } else if (!readBoneMapFile(request.mapPath, map, error)) {
        return false;
    }
    const BoneList bones = listBones(target);
    JointGroups groups;
    if (!resolveBoneMap(map, source, bones, groups, error)) {
        if (map.builtIn) error.file = request.sourcePath;
        return false;
    }
    if (map.builtIn) {
        for (const std::string& warning : mapCoverageWarnings(map, source, bones, groups))
            outcome.warnings.push_back(warning);
    }
    RetargetOptions options = request.options;
    outcome.skirtCleared = addDancerSkirtRule(bones, options);
    RetargetedMotion motion;
    std::string problem;
    if (!retargetMotion(source, target, groups, options, motion, problem)) {
        error = LoadError{};
        error.file = request.sourcePath;
        error.message = problem;
        return false;
    }
    outcome.animation = buildReducedAnimation(
        motion, bones, toleranceForHeight(modelHeight(target)), plantedLegBones(motion, bones));
    if (!checkAnimationValues(*outcome.animation.data, "retargeted", request.sourcePath, error)) {
        return false;
    }
    outcome.frameCount = motion.frameCount;
    outcome.frameTime = motion.frameTime;
    outcome.sourceJoints = source.jointCount();
    outcome.mappedBones = motion.mappedBones;
    outcome.legRatio = motion.legRatio;
    outcome.mapOrigin = map.origin;
    outcome.view = checkView(target, *outcome.animation.data, motion.frameCount, motion.frameTime,
                             !request.options.inPlace, !motion.contacts.empty());
    outcome.contacts = motion.contacts;
    outcome.contactsText = contactsText(request.sourcePath, source, bones, motion);
    outcome.planted = motion.planted;
    if (!motion.notPlanted.empty())
        outcome.warnings.push_back("the feet are not planted: " + motion.notPlanted);
    outcome.sourceQuality = motion.sourceQuality;
    outcome.resultQuality =
        resultQuality(target, *outcome.animation.data, motion.frameCount, motion.frameTime,
                      motion.contacts, modelHeight(target), groundOf(target), outcome.view.lowest);
    if (!request.allowOffPicture && 2 * outcome.view.framesGone > motion.frameCount) {
        error = LoadError{};
        error.file = request.sourcePath;
        error.message = offPictureProblem(outcome, request);
        return false;
    }
    return true;
}

}  // namespace vorel
