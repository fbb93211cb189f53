// checkView: every frame posed with the viewer's own sampling and skinning, every vertex
// tested at its worst turn.
#include "retarget/view_check.h"

#include <cstdio>

#include "app/fixed_view.h"
#include "retarget/animation_poser.h"

namespace vorel {

namespace {

// The first top-level bone's horizontal travel from its rest at the last pose.
Vector3 rootTravel(const AnimationPoser& poser) {
    if (poser.bones().bones.empty()) return Vector3();
    const Vector3& head = poser.bones().bones.front()->head;
    const Vector3 moved = transformPoint(poser.boneWorlds().front(), head);
    return Vector3(moved.x - head.x, 0.0f, moved.z - head.z);
}

Vector3 movedBack(const Vector3& p, const Vector3& travel) {
    return Vector3(p.x - travel.x, p.y, p.z - travel.z);
}

// Counts the frames with a vertex out of the picture, as posed (report.framesOut, first,
// last) and as posed with the root's horizontal travel taken away (framesOutInPlace).
void countFramesOut(const ModelData& model, const AnimationData& animation, int frameCount,
                    double frameTime, bool compareInPlace, ViewReport& report) {
    AnimationPoser poser(model, animation);
    report.framesOutInPlace = compareInPlace ? 0 : -1;
    for (int f = 0; f < frameCount; ++f) {
        poser.pose(static_cast<float>(f * frameTime));
        const Vector3 travel = rootTravel(poser);
        bool out = false;
        bool outInPlace = false;
        for (const Vector3& p : poser.positions()) {
            out = out || !insideViewAtEveryTurn(p);
            outInPlace =
                outInPlace || (compareInPlace && !insideViewAtEveryTurn(movedBack(p, travel)));
            if (out && (outInPlace || !compareInPlace)) break;
        }
        if (outInPlace) ++report.framesOutInPlace;
        if (!out) continue;
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
                     double frameTime, bool compareInPlace) {
    ViewReport report;
    countFramesOut(model, animation, frameCount, frameTime, compareInPlace, report);
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
