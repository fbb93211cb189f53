// DanceSchedule: presses the dance keys a tool was asked for, each just before its frame, while
// the tool plays the viewer's frames 1, 2, ... in order.
#pragma once

#include <cstddef>
#include <vector>

#include "tools/common/dance_start.h"

namespace vorel {

class DanceSchedule {
  public:
    // Dances due before the same frame start in the order given.
    explicit DanceSchedule(const std::vector<DanceStart>& dances);

    // Starts, with startDance, every dance due just before this frame. Call it once for each
    // frame from 1 upwards; a dance whose frame is never passed never starts.
    void startDueDances(int frame);

  private:
    // Sorted by frame.
    std::vector<DanceStart> dances_;
    // The first dance not yet started.
    std::size_t next_ = 0;
};

}  // namespace vorel
