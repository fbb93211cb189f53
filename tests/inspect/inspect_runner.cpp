// Spawns the vorel-inspect binary this build made.
#include "tests/inspect/inspect_runner.h"

namespace vorel {

RunResult runInspect(const std::vector<std::string>& arguments) {
    return test_support::runProgram(VOREL_INSPECT_BINARY, arguments);
}

}  // namespace vorel
