// FrameSelection: which frames to save, parsed from "N", "A-B" or a comma-separated list of
// them, kept as ranges so a long range costs no memory.
#pragma once

#include <string>
#include <vector>

#include "tools/common/frame_number.h"

namespace vorel {

class FrameSelection {
  public:
    // False, with problem set, for an empty list, a malformed item, a frame of 0 or above
    // LastAllowedFrame, or a range that runs backwards.
    bool parse(const std::string& text, std::string& problem);
    bool contains(int frame) const;
    // The highest selected frame; 0 when nothing is selected.
    int last() const;
    // How many distinct frames are selected.
    int count() const;

  private:
    struct Range {
        int first;
        int last;
    };
    std::vector<Range> ranges;
};

}  // namespace vorel
