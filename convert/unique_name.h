// makeNameUnique: names an importer gives bones and animations, kept apart by name and by the
// name's hash, since the runtime finds bones by hash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorel {

// Appends "_2", "_3", ... until the name is unused and its hash is unused; true when it had
// to change. Names hold no zero byte afterwards (they end with one in the files).
bool makeNameUnique(std::string& name, std::vector<std::string>& taken,
                    std::vector<std::uint32_t>& takenHashes);

}  // namespace vorel
