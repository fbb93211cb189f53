// Playing the viewer's frames on a figure and recording the blended transforms.
#include "tools/common/record_session.h"

#include "anim/record_motion.h"
#include "app/app_state.h"
#include "app/frame_steps.h"
#include "tools/common/dance_schedule.h"
#include "tools/common/distinct_animations.h"

namespace vorel {

// The name of the one animation a baked session becomes.
static const char* const SessionName = "session";

RecordedMotion recordSession(const std::vector<DanceStart>& dances, int frames, double speed,
                             const std::vector<const BoneData*>& bones) {
    RecordedMotion motion;
    motion.name = SessionName;
    motion.mayDropKeys = false;
    DanceSchedule schedule(dances);
    for (int frame = 1; frame <= frames; ++frame) {
        schedule.startDueDances(frame);
        const double seconds = (frame - 1) / 100.0 * speed;
        recordFrame(*figure, bones, static_cast<float>(seconds), motion);
        updateFigure();
        advanceClock();
    }
    return motion;
}

bool recordSetAnimations(Figure& recorder, const ManifestFiles& files, double speed,
                         const std::vector<const BoneData*>& bones,
                         std::vector<RecordedMotion>& motions, std::string& problem) {
    const std::vector<std::string> names =
        distinctAnimations(recorder.library->animationNames, files.animations);
    for (const std::string& name : names) {
        RecordedMotion motion;
        if (!recordAnimation(recorder, name, bones, timeStep, speed, motion, problem)) return false;
        motions.push_back(std::move(motion));
    }
    return true;
}

}  // namespace vorel
