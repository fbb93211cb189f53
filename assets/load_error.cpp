// LoadError::describe: the one-line form of a load failure that programs print as is; fail:
// how a loader fills one in.
#include "assets/load_error.h"

namespace vorel {

namespace {

// A file name or message holding a line break would split the one line a tool prints.
std::string withoutLineBreaks(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

}  // namespace

std::string LoadError::describe() const {
    std::string line = file + ": ";
    if (offset >= 0) line += "offset " + std::to_string(offset) + ": ";
    if (!section.empty()) line += section + ": ";
    line += message;
    return withoutLineBreaks(line);
}

bool fail(LoadError& error, const std::string& section, const std::string& message) {
    error.section = section;
    error.offset = -1;
    error.message = message;
    return false;
}

}  // namespace vorel
