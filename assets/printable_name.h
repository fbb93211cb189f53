// printableName: a name (any bytes) as a message shows it; the one rule for every name read
// from a file, wherever a tool, a loader or the page prints it.
#pragma once

#include <string>

namespace vorel {

// The name with every byte a terminal could take as a command, or could not show, written as
// "\xnn" (lowercase hex): control bytes (below 0x20, and 0x7f), the C1 controls U+0080 to
// U+009F, the bidirectional overrides and isolates (U+202A to U+202E, U+2066 to U+2069, which
// could show text in another order than it has) and every byte that is not part of valid
// UTF-8. Every other character, accented letters and other scripts included, and backslashes,
// are kept as they are, so that a name reads as its author wrote it and stays one line.
std::string printableName(const std::string& name);

}  // namespace vorel
