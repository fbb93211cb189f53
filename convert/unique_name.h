// makeNameUnique: names an importer gives bones and animations, kept apart by name (and by the
// name's hash when `taken` is made so, since the runtime finds bones by hash).
#pragma once

#include <string>

#include "convert/unique_names.h"

namespace vorel {

// Appends "_2", "_3", ... until the name is not taken; true when it had to change. Names hold
// no zero byte afterwards (they end with one in the files).
bool makeNameUnique(std::string& name, UniqueNames& taken);

}  // namespace vorel
