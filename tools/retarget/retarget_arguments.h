// The command line of vorel-retarget: its usage text and the parsing of its options.
#pragma once

#include <string>
#include <vector>

#include "retarget/retarget_file.h"

namespace vorel {

struct RetargetArguments {
    RetargetRequest request;
    // Empty: the default dancer's set.
    std::string targetManifest;
    std::string outputFolder;
    // The manifest name of the new animation.
    std::string name;
    // Where to write the source's foot contacts; empty: not written.
    std::string contactsPath;
    // An existing set at outputFolder may be replaced.
    bool replace = false;
    bool helpRequested = false;
};

extern const char* const RetargetUsage;

// False, with problem set, for an unknown option, a missing value, a wrong operand count or
// a glTF source without --animation.
bool parseRetargetArguments(const std::vector<std::string>& arguments, RetargetArguments& parsed,
                            std::string& problem);

}  // namespace vorel
