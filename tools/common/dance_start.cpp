// Parsing NAME@FRAME and finding a requested dance the library does not hold.
#include "tools/common/dance_start.h"

#include "tools/common/frame_number.h"

namespace vorel {

bool parseDanceStart(const std::string& text, DanceStart& dance) {
    const std::size_t at = text.rfind('@');
    if (at == std::string::npos || at == 0) {
        return false;
    }
    dance.name = text.substr(0, at);
    return parseFrameNumber(text.substr(at + 1), dance.frame);
}

std::string findUnknownDance(const std::vector<DanceStart>& dances, const AssetLibrary& library) {
    for (const DanceStart& dance : dances) {
        if (library.findAnimation(dance.name) == nullptr) {
            return dance.name;
        }
    }
    return "";
}

}  // namespace vorel
