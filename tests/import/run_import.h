// vorel-import run as a user runs it, for the tests of the import tool.
#pragma once

#include <string>
#include <vector>

#include "tests/support/program_runner.h"

namespace vorel::test_support {

inline RunResult runImport(const std::vector<std::string>& arguments) {
    return runProgram(VOREL_IMPORT_BINARY, arguments);
}

}  // namespace vorel::test_support
