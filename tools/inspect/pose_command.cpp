// vorel-inspect pose MANIFEST FRAMES [NAME@FRAME...]: builds the library and the figure as the
// viewer does, plays FRAMES frames of its animation work with the dances started at their
// frames, and prints every bone's local matrix and a digest of the skinned mesh, so that what
// the viewer draws can be reproduced and compared without a window. With --obj FILE it also
// writes the last frame's posed mesh, for comparing poses vertex by vertex, and with
// --obj-frames LIST the mesh of each listed frame beside it; with --step S the frames are S
// seconds long, so an animation can be posed at the times of its own frames.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/frame_steps.h"
#include "assets/file_bytes.h"
#include "skeleton/bone_walk.h"
#include "tools/common/command_line_number.h"
#include "tools/common/dance_schedule.h"
#include "tools/common/dance_start.h"
#include "tools/common/frame_number.h"
#include "tools/common/frame_selection.h"
#include "tools/common/library_beside_manifest.h"
#include "tools/common/print_line.h"
#include "tools/inspect/inspect_arguments.h"
#include "tools/inspect/inspect_commands.h"
#include "tools/inspect/inspect_output.h"
#include "tools/inspect/obj_text.h"
#include "tools/inspect/vector_digest.h"

namespace vorel {

namespace {

struct PoseRequest {
    std::string manifest;
    int frames = 0;
    std::vector<DanceStart> dances;
    // Where to write the posed mesh as OBJ; empty for none.
    std::string objPath;
    // Frames whose meshes are written too, each beside objPath with its frame number.
    FrameSelection objFrames;
    // Seconds per frame.
    float step = 0.01f;
};

// False, with problem set, when an argument is malformed.
bool parsePoseRequest(const std::vector<std::string>& operands, PoseRequest& request,
                      std::string& problem) {
    request.manifest = operands[0];
    if (!parseWholeNumber(operands[1], 0, LastAllowedFrame, request.frames)) {
        problem = "pose: FRAMES '" + operands[1] + "' is not a count of 0 to " +
                  std::to_string(LastAllowedFrame);
        return false;
    }
    for (std::size_t i = 2; i < operands.size(); ++i) {
        DanceStart dance;
        if (!parseDanceStart(operands[i], dance)) {
            problem = "pose: '" + operands[i] + "' is not NAME@FRAME with FRAME from 1";
            return false;
        }
        if (dance.frame > request.frames) {
            problem = "pose: '" + operands[i] + "' starts after the last frame";
            return false;
        }
        request.dances.push_back(dance);
    }
    return true;
}

// --obj, --obj-frames and --step; false, with problem set, when one is malformed.
bool parsePoseOptions(const CommandLine& commandLine, PoseRequest& request, std::string& problem) {
    request.objPath = optionValue(commandLine, "--obj");
    const std::string objFrames = optionValue(commandLine, "--obj-frames");
    if (!objFrames.empty()) {
        if (request.objPath.empty()) {
            problem = "pose: --obj-frames needs --obj FILE";
            return false;
        }
        if (!request.objFrames.parse(objFrames, problem)) {
            problem = "pose: " + problem;
            return false;
        }
    }
    const std::string step = optionValue(commandLine, "--step");
    if (!step.empty() &&
        (!parseFiniteNumber(step, request.step) || !(request.step > 0.0f) || request.step > 1.0f)) {
        problem = "pose: --step '" + step + "' is not a number of seconds above 0, at most 1";
        return false;
    }
    return true;
}

int writeObj(const std::string& path) {
    if (path.empty()) return ExitSuccess;
    if (!writeFileBytes(path, objText(*figure->instances[figure->currentModel]))) {
        printLine(stderr, "%s: cannot be written", path.c_str());
        return ExitBadInput;
    }
    return ExitSuccess;
}

// poses.obj and frame 11: poses-11.obj.
std::string objPathOfFrame(const std::string& objPath, int frame) {
    std::filesystem::path path(objPath);
    const std::string extension = path.extension().string();
    path.replace_filename(path.stem().string() + "-" + std::to_string(frame) + extension);
    return path.string();
}

// The viewer's frames 1 to N without the drawing: the keys pressed before a frame, then the
// figure's update, then the clock; after the update, the mesh of a frame asked for.
int playFrames(const PoseRequest& request) {
    DanceSchedule schedule(request.dances);
    for (int frame = 1; frame <= request.frames; ++frame) {
        schedule.startDueDances(frame);
        updateFigure();
        if (request.objFrames.contains(frame) &&
            writeObj(objPathOfFrame(request.objPath, frame)) != ExitSuccess) {
            return ExitBadInput;
        }
        advanceClock();
    }
    return ExitSuccess;
}

void printPlaying() {
    printLine(stdout, "playing %zu", figure->playing.size());
    for (const ActiveAnimation& animation : figure->playing) {
        printLine(stdout, "  '%s'  id %d  start time %s  local time %s", animation.name.c_str(),
                  animation.id, formatFloat(animation.startTime).c_str(),
                  formatFloat(animation.localTime).c_str());
    }
}

void printBones(const ModelInstance& instance) {
    PendingBones<const BoneNode> pending;
    walkBones(static_cast<const BoneNode*>(instance.root.get()), pending, [](const BoneNode& node) {
        printLine(stdout, "bone %s", node.bone->name.c_str());
        for (int row = 0; row < 4; ++row) {
            printLine(stdout, "  %s", formatMatrixRow(node.local, row).c_str());
        }
    });
}

void printDigest(const char* what, const std::vector<Vector3>& vectors) {
    const VectorDigest digest = digestVectors(vectors);
    printLine(stdout, "%s: count %zu  min %s  max %s  sum %s %s %s", what, digest.count,
              formatVector(digest.min).c_str(), formatVector(digest.max).c_str(),
              formatFloat(digest.sum[0]).c_str(), formatFloat(digest.sum[1]).c_str(),
              formatFloat(digest.sum[2]).c_str());
}

void printPose(const PoseRequest& request) {
    const ModelInstance& instance = *figure->instances[figure->currentModel];
    printLine(stdout, "frames %d  step %s  animation clock %s", request.frames,
              formatFloat(timeStep).c_str(), formatFloat(animationClock).c_str());
    printPlaying();
    printBones(instance);
    printDigest("positions", instance.positions);
    printDigest("normals", instance.normals);
}

}  // namespace

int runPose(const std::vector<std::string>& arguments) {
    const CommandLine commandLine = splitCommandLine(
        arguments, {{}, {"--obj", "--obj-frames", "--step"}, 2, "pose: needs MANIFEST and FRAMES"});
    if (const std::optional<int> status = finishEarly(commandLine)) return *status;
    PoseRequest request;
    std::string problem;
    if (!parsePoseRequest(commandLine.operands, request, problem) ||
        !parsePoseOptions(commandLine, request, problem)) {
        return usageError(problem);
    }

    std::unique_ptr<AssetLibrary> loaded = loadLibraryBesideManifest(request.manifest, problem);
    if (loaded == nullptr) {
        printLine(stderr, "%s", problem.c_str());
        return ExitBadInput;
    }
    const std::string unknownDance = findUnknownDance(request.dances, *loaded);
    if (!unknownDance.empty()) {
        printLine(stderr, "%s: no animation named '%s'", request.manifest.c_str(),
                  unknownDance.c_str());
        return ExitBadInput;
    }
    installFigure(std::move(loaded));
    timeStep = request.step;
    if (playFrames(request) != ExitSuccess) return ExitBadInput;
    printPose(request);
    return writeObj(request.objPath);
}

}  // namespace vorel
