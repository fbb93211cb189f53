// DanceSchedule: the dances sorted once by frame, then walked with one index, so a frame costs
// a comparison when nothing is due.
#include "tools/common/dance_schedule.h"

#include <algorithm>

#include "app/dance_actions.h"

namespace vorel {

DanceSchedule::DanceSchedule(const std::vector<DanceStart>& dances) : dances_(dances) {
    std::stable_sort(dances_.begin(), dances_.end(),
                     [](const DanceStart& a, const DanceStart& b) { return a.frame < b.frame; });
}

void DanceSchedule::startDueDances(int frame) {
    while (next_ < dances_.size() && dances_[next_].frame == frame) {
        startDance(dances_[next_].name);
        ++next_;
    }
}

}  // namespace vorel
