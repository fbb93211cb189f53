// vorel-inspect: looks inside, validates and samples Vorel's asset files from the command
// line. main only picks the sub-command; each one lives in its own file.
#include <string>
#include <vector>

#include "tools/inspect/inspect_arguments.h"
#include "tools/inspect/inspect_commands.h"

int main(int argc, char** argv) {
    using namespace vorel;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) return usageError("no file or sub-command given");

    const std::string& command = arguments.front();
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "check") return runCheck(rest);
    if (command == "sample") return runSample(rest);
    if (command == "pose") return runPose(rest);
    return runSummary(arguments);
}
