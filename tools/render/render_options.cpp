// Parsing of vorel-render's command line, read by the tools' OptionScanner: short and long
// options, "--option=value" or "--option value", "--" ends the options, one manifest operand.
#include "tools/render/render_options.h"

#include "tools/common/command_line_number.h"
#include "tools/common/option_scanner.h"

namespace vorel {

namespace {

bool optionTakesValue(const std::string& name) {
    return name == "-f" || name == "--frames" || name == "-d" || name == "--dance" ||
           name == "-o" || name == "--output" || name == "--sheet" || name == "--columns" ||
           name == "--benchmark";
}

// Sets problem and returns false, so a failed check reads as one statement.
bool fail(std::string& problem, const std::string& reason) {
    problem = reason;
    return false;
}

bool applyOption(const std::string& name, const std::string& value, RenderOptions& options,
                 std::string& problem) {
    if (name == "-f" || name == "--frames") {
        return options.frames.parse(value, problem);
    }
    if (name == "-d" || name == "--dance") {
        DanceStart dance;
        if (!parseDanceStart(value, dance)) {
            return fail(problem, "bad dance '" + value + "', expected NAME@FRAME");
        }
        options.dances.push_back(dance);
        return true;
    }
    if (name == "-o" || name == "--output") {
        options.outputFolder = value;
        return !value.empty() || fail(problem, "empty output folder");
    }
    if (name == "--sheet") {
        options.sheetPath = value;
        return !value.empty() || fail(problem, "empty sheet path");
    }
    if (name == "--columns") {
        return parseWholeNumber(value, 1, MaxSheetFrames, options.sheetColumns) ||
               fail(problem, "bad column count '" + value + "'");
    }
    // Only --benchmark is left: optionTakesValue admitted nothing else.
    return parseFrameNumber(value, options.benchmarkFrames) ||
           fail(problem, "bad frame count '" + value + "'");
}

bool checkCombination(RenderOptions& options, std::string& problem) {
    if (options.manifest.empty()) {
        return fail(problem, "no manifest given");
    }
    if (options.frames.last() == 0) {
        options.frames.parse("1", problem);
    }
    if (!options.sheetPath.empty() && options.frames.count() > MaxSheetFrames) {
        return fail(problem,
                    "a contact sheet takes at most " + std::to_string(MaxSheetFrames) + " frames");
    }
    return true;
}

}  // namespace

bool parseRenderOptions(const std::vector<std::string>& arguments, RenderOptions& options,
                        std::string& problem) {
    OptionScanner scanner(arguments);
    while (scanner.nextOption()) {
        const std::string& name = scanner.option();
        if (!optionTakesValue(name)) {
            return fail(problem, "unknown option '" + name + "'");
        }
        std::string value;
        if (!scanner.takeValue(value, problem) || !applyOption(name, value, options, problem)) {
            return false;
        }
    }
    if (!scanner.finishOperands(0, 1, "more than one manifest given", problem)) return false;
    options.showHelp = scanner.helpRequested();
    if (options.showHelp) return true;
    if (!scanner.operands().empty()) options.manifest = scanner.operands().front();
    return checkCombination(options, problem);
}

std::string renderUsage() {
    return "Usage: vorel-render [OPTION]... MANIFEST\n"
           "Draw frames of the figure exactly as the viewer vorel draws them, with no display,\n"
           "and save them as 640x480 PNG files. Frame N is the viewer's N-th frame: the figure\n"
           "turned N-1 degrees, with every frame before it played. The files MANIFEST names\n"
           "are found relative to its folder, as when the viewer runs there.\n"
           "\n"
           "  -f, --frames LIST       frames to save: N, A-B, or a comma-separated list of\n"
           "                          them, from 1 to 1000000 (default 1)\n"
           "  -d, --dance NAME@FRAME  start the dance NAME as if its key were pressed just\n"
           "                          before FRAME; may be given many times\n"
           "  -o, --output DIR        folder for the frame-NNNN.png files (default .)\n"
           "      --sheet FILE        tile the frames, at half size, into this one PNG\n"
           "                          instead (at most 64 frames)\n"
           "      --columns N         columns of the contact sheet (default 4)\n"
           "      --benchmark N       draw frames 1 to N, save nothing, print frames per second\n"
           "  -h, --help              show this help and exit\n"
           "\n"
           "Exit status: 0 on success, 1 when drawing or saving fails, 2 for a usage error or a\n"
           "manifest the viewer would refuse.\n"
           "\n"
           "Example: vorel-render -f 1-120 -d Cancan@30 --sheet cancan.png dancer/vorel.txt\n";
}

}  // namespace vorel
