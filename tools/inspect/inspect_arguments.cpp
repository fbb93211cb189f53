// The usage text and argument parsing shared by every vorel-inspect sub-command.
#include "tools/inspect/inspect_arguments.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vorel {

namespace {

const char* const UsageText =
    "Usage: vorel-inspect FILE...\n"
    "       vorel-inspect check [--strict] FILE...\n"
    "       vorel-inspect sample ANIMATION TRACK TIME...\n"
    "       vorel-inspect pose [--obj FILE] MANIFEST FRAMES [NAME@FRAME...]\n"
    "       vorel-inspect --help\n"
    "\n"
    "See inside Vorel's manifest, model and animation files, validate them, and reproduce\n"
    "without a window every number the viewer computes.\n"
    "\n"
    "  FILE...   summarise each file; manifests, models and animations are told apart by\n"
    "            their content\n"
    "  check     load each file; print 'FILE: offset N: ...' for each one that fails and\n"
    "            'FILE: warning: ...' for what is legal but suspicious\n"
    "            --strict  count warnings as failures\n"
    "  sample    sample the animation's first track named TRACK at each TIME, in the order\n"
    "            given, and print its translation, scale and rotation\n"
    "  pose      build the figure from MANIFEST as the viewer does, start dance NAME before\n"
    "            viewer frame FRAME (the first frame is 1), run FRAMES frames of 0.01 and\n"
    "            print every bone's local matrix and a digest of the skinned mesh\n"
    "            --obj FILE  also write the last frame's posed mesh as a Wavefront OBJ:\n"
    "            vertex k is the model's position k-1, faces are quads\n"
    "\n"
    "A manifest's paths are read relative to the manifest's own folder, as the viewer reads\n"
    "them when started there. Numbers are printed with %.9g, enough to round-trip a float.\n"
    "\n"
    "Exit status: 0 success, 1 a file failed to load or a check failed, 2 a usage error.\n";

// "-" alone and negative numbers such as a TIME of -0.5 are operands, not options.
bool looksLikeOption(const std::string& argument) {
    if (argument.size() < 2 || argument[0] != '-') return false;
    const char next = argument[1];
    return !(std::isdigit(static_cast<unsigned char>(next)) || next == '.');
}

bool isOneOf(const std::string& argument, const std::vector<std::string>& names) {
    return std::find(names.begin(), names.end(), argument) != names.end();
}

}  // namespace

int printHelp() {
    std::fputs(UsageText, stdout);
    return ExitSuccess;
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "vorel-inspect: %s\n", message.c_str());
    std::fputs(UsageText, stderr);
    return ExitUsage;
}

CommandLine splitCommandLine(const std::vector<std::string>& arguments,
                             const std::vector<std::string>& knownOptions,
                             const std::vector<std::string>& valueOptions) {
    CommandLine result;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !looksLikeOption(argument)) {
            result.operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            result.helpRequested = true;
        } else if (isOneOf(argument, knownOptions)) {
            result.options.push_back(argument);
        } else if (isOneOf(argument, valueOptions)) {
            if (i + 1 == arguments.size()) {
                result.optionWithoutValue = argument;
            } else {
                result.values.emplace_back(argument, arguments[++i]);
            }
        } else if (result.unknownOption.empty()) {
            result.unknownOption = argument;
        }
    }
    return result;
}

std::optional<int> finishEarly(const CommandLine& commandLine) {
    if (commandLine.helpRequested) return printHelp();
    if (!commandLine.unknownOption.empty()) {
        return usageError("unknown option '" + commandLine.unknownOption + "'");
    }
    if (!commandLine.optionWithoutValue.empty()) {
        return usageError("option '" + commandLine.optionWithoutValue + "' needs a value");
    }
    return std::nullopt;
}

bool hasOption(const CommandLine& commandLine, const std::string& option) {
    return isOneOf(option, commandLine.options);
}

std::string optionValue(const CommandLine& commandLine, const std::string& option) {
    std::string value;
    for (const auto& [name, given] : commandLine.values) {
        if (name == option) value = given;
    }
    return value;
}

bool parseFiniteFloat(const std::string& text, float& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const float parsed = std::strtof(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

bool parseCount(const std::string& text, int& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno == ERANGE || parsed > std::numeric_limits<int>::max()) return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace vorel
