// vorel-inspect sample ANIMATION TRACK TIME...: samples one track through the runtime's own
// track sampling, at each time in the order given, so the channel caches carry over from one
// time to the next exactly as they do from frame to frame in the viewer.
#include <cstdio>
#include <string>
#include <vector>

#include "anim/animation_track.h"
#include "assets/load_animation.h"
#include "tools/common/command_line_number.h"
#include "tools/common/print_line.h"
#include "tools/inspect/inspect_arguments.h"
#include "tools/inspect/inspect_commands.h"
#include "tools/inspect/inspect_output.h"

namespace vorel {

namespace {

// The first track of the animation whose name is the given one; null when none is.
const TrackData* findTrack(const AnimationData& animation, const std::string& name) {
    for (const TrackData& track : animation.tracks) {
        if (track.name == name) return &track;
    }
    return nullptr;
}

void printSample(float time, const BoneTransform& transform) {
    printLine(stdout, "%s  translation %s  scale %s  rotation %s", formatFloat(time).c_str(),
              formatVector(transform.translation).c_str(), formatVector(transform.scale).c_str(),
              formatQuaternion(transform.rotation).c_str());
}

}  // namespace

int runSample(const std::vector<std::string>& arguments) {
    const CommandLine commandLine =
        splitCommandLine(arguments, {{}, {}, 3, "sample: needs ANIMATION, TRACK and a TIME"});
    if (const std::optional<int> status = finishEarly(commandLine)) return *status;
    const std::vector<std::string>& operands = commandLine.operands;

    std::vector<float> times;
    for (std::size_t i = 2; i < operands.size(); ++i) {
        float time = 0.0f;
        if (!parseFiniteNumber(operands[i], time)) {
            return usageError("sample: TIME '" + operands[i] + "' is not a finite number");
        }
        times.push_back(time);
    }

    LoadError error;
    const std::unique_ptr<AnimationData> animation = loadAnimation(operands[0], &error);
    if (animation == nullptr) {
        printLine(stderr, "%s", error.describe().c_str());
        return ExitBadInput;
    }
    const TrackData* found = findTrack(*animation, operands[1]);
    if (found == nullptr) {
        printLine(stderr, "%s: no track named '%s'", operands[0].c_str(), operands[1].c_str());
        return ExitBadInput;
    }
    AnimationTrack track(found);
    for (float time : times) printSample(time, track.sample(time));
    return ExitSuccess;
}

}  // namespace vorel
