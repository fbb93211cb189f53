// Playing the viewer's frames on its figure and recording the blended transforms.
#include "tools/export/record_session.h"

#include "anim/record_motion.h"
#include "app/app_state.h"
#include "app/frame_steps.h"
#include "tools/common/dance_schedule.h"

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

bool recordAnimations(const std::vector<std::string>& names, double speed,
                      const std::vector<const BoneData*>& bones,
                      std::vector<RecordedMotion>& motions, std::string& problem) {
    for (const std::string& name : names) {
        RecordedMotion motion;
        if (!recordAnimation(*figure, name, bones, timeStep, speed, motion, problem)) return false;
        motions.push_back(std::move(motion));
    }
    return true;
}

}  // namespace vorel
