#include "tools/common/single_operand.h"

#include <cstdio>
#include <vector>

#include "tools/common/exit_status.h"
#include "tools/common/option_scanner.h"
#include "tools/common/print_line.h"

namespace vorel {

std::optional<std::string> singleOperand(int argc, char** argv, const char* tool, const char* usage,
                                         const std::string& wanted, int& exitStatus) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    OptionScanner scanner(arguments);
    std::string problem;
    if (scanner.nextOption()) {
        problem = "unknown option '" + scanner.option() + "'";
    } else if (scanner.finishOperands(1, 1, wanted, problem) && !scanner.helpRequested()) {
        return scanner.operands().front();
    }
    if (problem.empty()) {
        std::fputs(usage, stdout);
        exitStatus = ExitSuccess;
    } else {
        printLine(stderr, "%s: %s", tool, problem.c_str());
        std::fputs(usage, stderr);
        exitStatus = ExitUsage;
    }
    return std::nullopt;
}

}  // namespace vorel
