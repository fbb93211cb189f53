// parseFrameNumber: a whole number within the frames a run may reach.
#include "tools/common/frame_number.h"

#include "tools/common/command_line_number.h"

namespace vorel {

bool parseFrameNumber(const std::string& text, int& frame) {
    return parseWholeNumber(text, 1, LastAllowedFrame, frame);
}

}  // namespace vorel
