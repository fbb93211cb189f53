// checkView: every frame posed with the viewer's own sampling, every vertex tested at its
// worst turn; a bone whose sphere is clearly inside the picture settles its vertices without
// skinning them (retarget/bone_spheres.h), so a long capture costs little more per frame than
// posing its bones.
#include "retarget/view_check.h"

#include <cstdio>
#include <limits>

#include "app/fixed_view.h"
#include "retarget/animation_poser.h"
#include "retarget/bone_spheres.h"

namespace vorel {

namespace {

// The first top-level bone's head at the last pose.
Vector3 rootHead(const AnimationPoser& poser) {
    if (poser.bones().bones.empty()) return Vector3();
    return transformPoint(poser.boneWorlds().front(), poser.bones().bones.front()->head);
}

// The first top-level bone's horizontal travel from its rest at the last pose.
Vector3 rootTravel(const AnimationPoser& poser) {
    if (poser.bones().bones.empty()) return Vector3();
    const Vector3& head = poser.bones().bones.front()->head;
    const Vector3 moved = rootHead(poser);
    return Vector3(moved.x - head.x, 0.0f, moved.z - head.z);
}

// Counts the frames with a vertex out of the picture, as posed (report.framesOut, first,
// last) and as posed with the root's horizontal travel taken away (framesOutInPlace).
void countFramesOut(const ModelData& model, const AnimationData& animation, int frameCount,
                    double frameTime, bool compareInPlace, bool findLowest, ViewReport& report) {
    AnimationPoser poser(model, animation);
    BoneSpheres spheres(model);
    report.framesOutInPlace = compareInPlace ? 0 : -1;
    report.lowest = findLowest ? std::numeric_limits<double>::infinity() : 0.0;
    for (int f = 0; f < frameCount; ++f) {
        poser.poseBones(static_cast<float>(f * frameTime));
        spheres.pose(poser.boneWorlds());
        if (findLowest) report.lowest = spheres.lowestBelow(report.lowest);
        const bool out = !spheres.insideView(Vector3());
        const bool outInPlace = compareInPlace && !spheres.insideView(rootTravel(poser));
        if (outInPlace) ++report.framesOutInPlace;
        if (!out) continue;
        if (!insideViewAtEveryTurn(rootHead(poser))) ++report.framesGone;
        ++report.framesOut;
        if (report.firstOut < 0) report.firstOut = f;
        report.lastOut = f;
    }
}

std::string frameAt(int frame, double frameTime) {
    char text[64];
    std::snprintf(text, sizeof text, "%d (%.6g s)", frame, frame * frameTime);
    return text;
}

}  // namespace

ViewReport checkView(const ModelData& model, const AnimationData& animation, int frameCount,
                     double frameTime, bool compareInPlace, bool findLowest) {
    ViewReport report;
    countFramesOut(model, animation, frameCount, frameTime, compareInPlace, findLowest, report);
    return report;
}

int firstFrameOutOfView(const ModelData& model, const AnimationData& animation, int frameCount,
                        double frameTime) {
    return checkView(model, animation, frameCount, frameTime, false).firstOut;
}

std::string viewWarning(const ViewReport& report, int frameCount, double frameTime) {
    if (report.framesOut == 0) return {};
    std::string line = std::to_string(report.framesOut) + " of " + std::to_string(frameCount) +
                       " frames, from frame " + frameAt(report.firstOut, frameTime) + " to " +
                       frameAt(report.lastOut, frameTime) +
                       ", have a vertex outside the viewer's fixed picture";
    if (report.framesOutInPlace == 0) {
        line += "; the travel across the floor takes it out: --in-place keeps every frame in";
    } else if (report.framesOutInPlace > 0 && report.framesOutInPlace < report.framesOut) {
        line += "; the travel across the floor adds to it: with --in-place " +
                std::to_string(report.framesOutInPlace) + " frames leave it";
    }
    return line;
}

}  // namespace vorel
