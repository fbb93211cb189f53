// Suffixes a name until neither it nor its hash is taken.
#include "convert/unique_name.h"

#include <algorithm>

#include "math/hash_name.h"

namespace vorel {

bool makeNameUnique(std::string& name, std::vector<std::string>& taken,
                    std::vector<std::uint32_t>& takenHashes) {
    std::replace(name.begin(), name.end(), '\0', '_');
    const std::string base = name;
    bool changed = false;
    for (int suffix = 2;; ++suffix) {
        const std::uint32_t hash = hashName(name);
        if (std::find(taken.begin(), taken.end(), name) == taken.end() &&
            std::find(takenHashes.begin(), takenHashes.end(), hash) == takenHashes.end()) {
            taken.push_back(name);
            takenHashes.push_back(hash);
            return changed;
        }
        name = base + "_" + std::to_string(suffix);
        changed = true;
    }
}

}  // namespace vorel
