// Parsing of vorel-render's command line, read by the tools' OptionScanner: short and long
// options, "--option=value" or "--option value", "--" ends the options, one manifest operand.
#include "tools/render/render_options.h"

#include <algorithm>
#include <cstddef>

#include "headless/gif_encoder.h"
#include "tools/common/command_line_number.h"
#include "tools/common/option_scanner.h"
#include "tools/render/gif_frame_delays.h"

namespace vorel {

namespace {

bool optionTakesValue(const std::string& name) {
    return name == "-f" || name == "--frames" || name == "-d" || name == "--dance" ||
           name == "-o" || name == "--output" || name == "--sheet" || name == "--columns" ||
           name == "--benchmark" || name == "--gif" || name == "--fps" || name == "--scale";
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
    if (name == "--gif") {
        options.gifPath = value;
        return !value.empty() || fail(problem, "empty GIF path");
    }
    if (name == "--fps") {
        return parseWholeNumber(value, 1, MaxGifFramesPerSecond, options.framesPerSecond) ||
               fail(problem, "bad frame rate '" + value + "', expected 1 to " +
                                 std::to_string(MaxGifFramesPerSecond));
    }
    if (name == "--scale") {
        options.gifHalvings = value == "1" ? 0 : value == "1/2" ? 1 : value == "1/4" ? 2 : -1;
        return options.gifHalvings >= 0 ||
               fail(problem, "bad scale '" + value + "', expected 1, 1/2 or 1/4");
    }
    // Only --benchmark is left: optionTakesValue admitted nothing else.
    return parseFrameNumber(value, options.benchmarkFrames) ||
           fail(problem, "bad frame count '" + value + "'");
}

bool checkNoGifOptions(const RenderOptions& options, std::string& problem) {
    if (options.framesPerSecond != 0 || options.gifHalvings >= 0) {
        return fail(problem, "--fps and --scale apply only to --gif");
    }
    return true;
}

// Fills in the GIF's defaults and refuses a frame that would show longer than a GIF can hold.
bool checkGifOptions(RenderOptions& options, std::string& problem) {
    if (!options.sheetPath.empty()) {
        return fail(problem, "--sheet and --gif cannot be given together");
    }
    if (options.framesPerSecond == 0) {
        options.framesPerSecond = 50;
    }
    if (options.gifHalvings < 0) {
        options.gifHalvings = 1;
    }
    const std::vector<int> delays = gifFrameDelays(options.frames, options.framesPerSecond);
    if (*std::max_element(delays.begin(), delays.end()) > MaxGifDelay) {
        return fail(problem,
                    "selected frames too far apart: a GIF shows a frame for at most "
                    "655.35 s");
    }
    return true;
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
    return options.gifPath.empty() ? checkNoGifOptions(options, problem)
                                   : checkGifOptions(options, problem);
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
           "  -o, --output DIR        folder for the frame-NNNN.png files, made when missing\n"
           "                          (default .)\n"
           "      --sheet FILE        tile the frames, at half size, into this one PNG\n"
           "                          instead (at most 64 frames)\n"
           "      --columns N         columns of the contact sheet (default 4)\n"
           "      --gif FILE          write the frames into this one looping animated GIF\n"
           "                          instead, with a palette chosen from all of them\n"
           "      --fps N             the GIF plays the viewer's frames at N per second, 1 to\n"
           "                          50 (default 50): frame F shows (F - first) / N seconds\n"
           "                          in, rounded to the GIF's 1/100 s without adding up, so\n"
           "                          gaps in the frame list keep the dance's pace\n"
           "      --scale S           size of the GIF's frames: 1, 1/2 or 1/4 (default 1/2)\n"
           "      --benchmark N       draw frames 1 to N, save nothing, print frames per second\n"
           "  -h, --help              show this help and exit\n"
           "\n"
           "Exit status: 0 on success, 1 for a manifest the viewer would refuse or when drawing\n"
           "or saving fails, 2 for a usage error.\n"
           "\n"
           "Example: vorel-render -f 1-120 -d Cancan@30 --sheet cancan.png dancer/vorel.txt\n"
           "         vorel-render -f 1-300 -d Cancan@1 --gif cancan.gif dancer/vorel.txt\n";
}

}  // namespace vorel
