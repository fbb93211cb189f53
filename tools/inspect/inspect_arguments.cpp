// The usage text and argument parsing shared by every vorel-inspect sub-command.
#include "tools/inspect/inspect_arguments.h"

#include <algorithm>
#include <cstdio>

#include "tools/common/option_scanner.h"
#include "tools/common/print_line.h"

namespace vorel {

namespace {

const char* const UsageText =
    "Usage: vorel-inspect FILE...\n"
    "       vorel-inspect check [--strict] FILE...\n"
    "       vorel-inspect sample ANIMATION TRACK TIME...\n"
    "       vorel-inspect pose [--obj FILE [--obj-frames LIST]] [--step S] MANIFEST FRAMES\n"
    "                          [NAME@FRAME...]\n"
    "       vorel-inspect --help\n"
    "\n"
    "See inside Vorel's manifest, model and animation files, validate them, and reproduce\n"
    "without a window every number the viewer computes.\n"
    "\n"
    "  FILE...   summarise each file; manifests, models, animations, BVH captures and FBX\n"
    "            files are told apart by their content\n"
    "  check     load each file; print 'FILE: offset N: ...' ('FILE: line N: ...' for BVH)\n"
    "            for each one that fails and\n"
    "            'FILE: warning: ...' for what is legal but suspicious\n"
    "            --strict  count warnings as failures\n"
    "  sample    sample the animation's first track named TRACK at each TIME, in the order\n"
    "            given, and print its translation, scale and rotation\n"
    "  pose      build the figure from MANIFEST as the viewer does, start dance NAME before\n"
    "            viewer frame FRAME (the first frame is 1), run FRAMES frames of 0.01 and\n"
    "            print every bone's local matrix and a digest of the skinned mesh\n"
    "            --obj FILE  also write the last frame's posed mesh as a Wavefront OBJ:\n"
    "            vertex k is the model's position k-1, faces are quads\n"
    "            --obj-frames LIST  also write the mesh of each listed frame (\"1,2,50\",\n"
    "            \"1-400\") beside FILE with its number: poses.obj, frame 7: poses-7.obj\n"
    "            --step S    frames of S seconds instead of the viewer's 0.01, to pose an\n"
    "            animation at the times of its own frames\n"
    "\n"
    "A manifest's paths are read relative to the manifest's own folder, as the viewer reads\n"
    "them when started there. Numbers are printed with %.9g, enough to round-trip a float.\n"
    "\n"
    "Exit status: 0 success, 1 a file failed to load or a check failed, 2 a usage error.\n";

bool isOneOf(const std::string& argument, const std::vector<std::string>& names) {
    return std::find(names.begin(), names.end(), argument) != names.end();
}

void keepFirstProblem(CommandLine& commandLine, const std::string& problem) {
    if (commandLine.problem.empty()) commandLine.problem = problem;
}

// The option the scanner stands at, with its value when it takes one. An unknown option is
// noted and the reading goes on, so --help later on the line still wins.
void readOption(OptionScanner& scanner, const CommandSyntax& syntax, CommandLine& commandLine) {
    const std::string& option = scanner.option();
    std::string value;
    std::string problem;
    if (isOneOf(option, syntax.flags)) {
        commandLine.options.push_back(option);
    } else if (!isOneOf(option, syntax.valueOptions)) {
        keepFirstProblem(commandLine, "unknown option '" + option + "'");
    } else if (scanner.takeValue(value, problem)) {
        commandLine.values.emplace_back(option, value);
    } else {
        keepFirstProblem(commandLine, problem);
    }
}

}  // namespace

int printHelp() {
    std::fputs(UsageText, stdout);
    return ExitSuccess;
}

int usageError(const std::string& message) {
    printLine(stderr, "vorel-inspect: %s", message.c_str());
    std::fputs(UsageText, stderr);
    return ExitUsage;
}

CommandLine splitCommandLine(const std::vector<std::string>& arguments,
                             const CommandSyntax& syntax) {
    CommandLine result;
    OptionScanner scanner(arguments, DashedNumbers::AreOperands);
    while (scanner.nextOption()) readOption(scanner, syntax, result);
    result.helpRequested = scanner.helpRequested();
    result.operands = scanner.operands();
    std::string problem;
    if (!scanner.finishOperands(syntax.fewestOperands, OptionScanner::AnyNumber,
                                syntax.operandsWanted, problem)) {
        keepFirstProblem(result, problem);
    }
    return result;
}

std::optional<int> finishEarly(const CommandLine& commandLine) {
    if (commandLine.helpRequested) return printHelp();
    if (!commandLine.problem.empty()) return usageError(commandLine.problem);
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

}  // namespace vorel
