// Replaces zero bytes, then suffixes a name until it is free.
#include "convert/unique_name.h"

#include <algorithm>
#include <utility>

namespace vorel {

bool makeNameUnique(std::string& name, UniqueNames& taken) {
    std::replace(name.begin(), name.end(), '\0', '_');
    std::string unique = taken.take(name);
    const bool changed = unique != name;
    name = std::move(unique);
    return changed;
}

}  // namespace vorel
