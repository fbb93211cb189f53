// The command line of vorel-import: its usage text and the parsing of its options.
#pragma once

#include <string>
#include <vector>

#include "gltf/import_gltf.h"

namespace vorel {

struct ImportArguments {
    std::string input;
    std::string outputFolder;
    ImportOptions options;
    // Where to write the (node, primitive, first position, count) map; empty: none.
    std::string vertexMapPath;
    // An existing set at outputFolder may be replaced.
    bool replace = false;
    bool helpRequested = false;
};

extern const char* const ImportUsage;

// False, with problem set, for an unknown option, a bad value or a wrong operand count.
bool parseImportArguments(const std::vector<std::string>& arguments, ImportArguments& parsed,
                          std::string& problem);

}  // namespace vorel
