// printableName: a name (any bytes) as a one-line message shows it.
#pragma once

#include <string>

namespace vorel {

// The name with each control byte (below 0x20, and 0x7f) written as "\xnn", lowercase hex, so
// that a name holding a line break cannot break the one line a tool prints about it.
std::string printableName(const std::string& name);

}  // namespace vorel
