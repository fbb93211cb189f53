// distinctAnimations: each entry against the entries after it.
#include "tools/common/distinct_animations.h"

#include "tools/common/same_file.h"

namespace vorel {

std::vector<std::string> distinctAnimations(const std::vector<std::string>& names,
                                            const std::vector<std::string>& paths) {
    std::vector<std::string> distinct;
    for (std::size_t a = 0; a < names.size() && a < paths.size(); ++a) {
        const std::vector<std::string> later(paths.begin() + static_cast<std::ptrdiff_t>(a) + 1,
                                             paths.end());
        if (!sameFileAsAny(paths[a], later)) distinct.push_back(names[a]);
    }
    return distinct;
}

}  // namespace vorel
