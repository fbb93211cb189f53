// Unique names with a remembered suffix per wanted name.
#include "convert/unique_names.h"

#include "math/hash_name.h"

namespace vorel {

bool UniqueNames::isFree(const std::string& name) const {
    if (names_.count(name) != 0) return false;
    return hashes_ == Hashes::MayRepeat || takenHashes_.count(hashName(name)) == 0;
}

void UniqueNames::reserve(const std::string& name) {
    names_.insert(name);
    if (hashes_ == Hashes::Distinct) takenHashes_.insert(hashName(name));
}

std::string UniqueNames::take(const std::string& wanted) {
    std::string name = wanted;
    if (!isFree(name)) {
        int& suffix = nextSuffix_.try_emplace(wanted, 2).first->second;
        do {
            name = wanted + "_" + std::to_string(suffix++);
        } while (!isFree(name));
    }
    reserve(name);
    return name;
}

}  // namespace vorel
