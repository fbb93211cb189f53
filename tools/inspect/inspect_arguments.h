// The command line of vorel-inspect: the usage text, and the parsing of the numbers and
// options its sub-commands take. Nothing here loads a file.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/common/exit_status.h"

namespace vorel {

// Prints the usage text on stdout and returns ExitSuccess (for --help).
int printHelp();
// Prints "vorel-inspect: MESSAGE" and the usage text on stderr; returns ExitUsage.
int usageError(const std::string& message);

// The arguments of one sub-command, split into the options it knows and its operands.
// Everything after "--" is an operand, so files whose names start with '-' can be named.
struct CommandLine {
    std::vector<std::string> options;
    // Options that take the next argument as their value, with that value, in order.
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> operands;
    // A value option given as the last argument, with nothing after it.
    std::string optionWithoutValue;
    // The first argument that looks like an option but is not one of the known ones.
    std::string unknownOption;
    bool helpRequested = false;
};
CommandLine splitCommandLine(const std::vector<std::string>& arguments,
                             const std::vector<std::string>& knownOptions,
                             const std::vector<std::string>& valueOptions = {});
// The exit status when --help, an unknown option or a missing value ends the command,
// otherwise nothing.
std::optional<int> finishEarly(const CommandLine& commandLine);
bool hasOption(const CommandLine& commandLine, const std::string& option);
// The value of the last occurrence of a value option; empty when it was not given.
std::string optionValue(const CommandLine& commandLine, const std::string& option);

// The whole text is one finite number; false otherwise.
bool parseFiniteFloat(const std::string& text, float& value);
// The whole text is a decimal integer in [0, 2^31 - 1]; false otherwise.
bool parseCount(const std::string& text, int& value);

}  // namespace vorel
