// LoadError::describe: the one-line form of a load failure that programs print as is; fail:
// how a loader fills one in.
#include "assets/load_error.h"

#include "assets/printable_name.h"

namespace vorel {

std::string LoadError::describe() const {
    std::string line = file + ": ";
    if (offset >= 0) line += "offset " + std::to_string(offset) + ": ";
    if (!section.empty()) line += section + ": ";
    line += message;
    // The path and the message may quote names from the file: they are shown by the one rule
    // for such names, so that the line stays one line and cannot act on a terminal.
    return printableName(line);
}

bool fail(LoadError& error, const std::string& section, const std::string& message) {
    error.section = section;
    error.offset = -1;
    error.message = message;
    return false;
}

}  // namespace vorel
