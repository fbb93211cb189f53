// parseFrameNumber: digits only, no sign or spaces, and at most seven of them, so stoi cannot
// overflow before the range check.
#include "tools/common/frame_number.h"

#include <algorithm>

namespace vorel {

bool parseFrameNumber(const std::string& text, int& frame) {
    if (text.empty() || text.size() > 7 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    frame = std::stoi(text);
    return frame >= 1 && frame <= LastAllowedFrame;
}

}  // namespace vorel
