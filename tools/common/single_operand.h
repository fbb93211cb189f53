// singleOperand: the command line of a tool whose one argument is an operand (or --help), read
// as every tool reads its own, so "-" and words after "--" are operands and an option is a
// usage error.
#pragma once

#include <optional>
#include <string>

namespace vorel {

// The operand, when the line is exactly one. Otherwise nothing, with exitStatus set: for
// --help the usage goes to stdout (ExitSuccess); for anything else "TOOL: PROBLEM" and the
// usage go to stderr (ExitUsage), PROBLEM being wanted when the operands are not one.
std::optional<std::string> singleOperand(int argc, char** argv, const char* tool, const char* usage,
                                         const std::string& wanted, int& exitStatus);

}  // namespace vorel
