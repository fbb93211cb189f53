// The command line of vorel-inspect: the usage text, and the parsing of the options and
// operands its sub-commands take. Nothing here loads a file.
#pragma once

#include <cstddef>
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

// What one sub-command accepts: options without and with a value, and how many operands.
struct CommandSyntax {
    std::vector<std::string> flags;
    std::vector<std::string> valueOptions;
    std::size_t fewestOperands = 0;
    // The usage error when fewer operands are given.
    std::string operandsWanted;
};

// The arguments of one sub-command, split by the tools' OptionScanner into the options it
// knows and its operands. Everything after "--" is an operand, so files whose names start
// with '-' can be named, and so is a negative number such as a TIME of -0.5.
struct CommandLine {
    std::vector<std::string> options;
    // Options that take a value ("--obj FILE" or "--obj=FILE"), with that value, in order.
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> operands;
    // The first usage error met: an unknown option, a missing or unwanted value, or too few
    // operands.
    std::string problem;
    bool helpRequested = false;
};
CommandLine splitCommandLine(const std::vector<std::string>& arguments,
                             const CommandSyntax& syntax);
// The exit status when --help or a usage error ends the command, otherwise nothing.
std::optional<int> finishEarly(const CommandLine& commandLine);
bool hasOption(const CommandLine& commandLine, const std::string& option);
// The value of the last occurrence of a value option; empty when it was not given.
std::string optionValue(const CommandLine& commandLine, const std::string& option);

}  // namespace vorel
