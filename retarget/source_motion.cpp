#include "retarget/source_motion.h"

namespace vorel {

int SourceMotion::find(const std::string& name) const {
    for (std::size_t j = 0; j < names.size(); ++j) {
        if (names[j] == name) return static_cast<int>(j);
    }
    return -1;
}

}  // namespace vorel
