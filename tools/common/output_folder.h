// checkOutputFolder: the rule every tool that writes a set follows before it writes. A new or
// empty folder is written; an existing set is replaced only when asked (--replace), and only
// when every file in it is one its own manifest names; anything else is refused untouched.
#pragma once

#include <string>

namespace vorel {

// False, with problem set to one line that does not repeat the folder, when writing a set at
// folder would replace anything the user did not ask to replace.
bool checkOutputFolder(const std::string& folder, bool replace, std::string& problem);

// Whether the folder holds a set's manifest.
bool holdsSet(const std::string& folder);

}  // namespace vorel
