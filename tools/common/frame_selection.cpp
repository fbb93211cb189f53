// FrameSelection: parsing of frame lists and ranges, and membership tests while rendering.
#include "tools/common/frame_selection.h"

#include <algorithm>
#include <sstream>

namespace vorel {

bool FrameSelection::parse(const std::string& text, std::string& problem) {
    ranges.clear();
    std::istringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        const std::size_t dash = item.find('-');
        Range range{0, 0};
        const bool valid =
            dash == std::string::npos
                ? parseFrameNumber(item, range.first) && parseFrameNumber(item, range.last)
                : parseFrameNumber(item.substr(0, dash), range.first) &&
                      parseFrameNumber(item.substr(dash + 1), range.last);
        if (!valid || range.first > range.last) {
            problem = "bad frame list item '" + item + "' (frames are 1 to " +
                      std::to_string(LastAllowedFrame) + ", ranges run upwards)";
            ranges.clear();
            return false;
        }
        ranges.push_back(range);
    }
    if (ranges.empty() || text.back() == ',') {
        problem = "bad frame list '" + text + "'";
        ranges.clear();
        return false;
    }
    return true;
}

bool FrameSelection::contains(int frame) const {
    return std::any_of(ranges.begin(), ranges.end(), [frame](const Range& range) {
        return frame >= range.first && frame <= range.last;
    });
}

int FrameSelection::last() const {
    int highest = 0;
    for (const Range& range : ranges) {
        highest = std::max(highest, range.last);
    }
    return highest;
}

int FrameSelection::count() const {
    int selected = 0;
    for (int frame = 1; frame <= last(); ++frame) {
        selected += contains(frame) ? 1 : 0;
    }
    return selected;
}

}  // namespace vorel
