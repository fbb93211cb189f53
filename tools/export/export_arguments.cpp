// Parses vorel-export's options; nothing here reads a file.
#include "tools/export/export_arguments.h"

#include <cctype>
#include <filesystem>

#include "anim/record_motion.h"
#include "tools/common/frame_number.h"
#include "tools/common/option_scanner.h"
#include "tools/common/positive_number.h"

namespace vorel {

const char* const ExportUsage =
    "Usage: vorel-export [OPTIONS] MANIFEST OUT.glb\n"
    "       vorel-export --help\n"
    "\n"
    "Write the manifest's first model and its animations as glTF 2.0: one skinned mesh, the\n"
    "bones as joints, and every animation sampled at each of the viewer's frames. OUT.glb is\n"
    "binary glTF; OUT.gltf is JSON with its buffer beside it in OUT.bin. No file the\n"
    "manifest reads is ever written over.\n"
    "\n"
    "  --gltf                 write JSON beside OUT.bin instead of one binary file (what an\n"
    "                         OUT ending in .gltf gets anyway; one ending in .glb refuses it)\n"
    "  --speed F              F glTF seconds per unit of the animation clock (default 1:\n"
    "                         100 viewer frames to the second)\n"
    "  --bake NAME@FRAME...   record one viewer session instead: each dance started just\n"
    "                         before its frame, as the viewer's keys would, as one glTF\n"
    "                         animation named 'session'\n"
    "  --frames N             how many frames the session lasts (with --bake)\n"
    "\n"
    "Exit status: 0 success, 1 the manifest cannot be used or the output not written,\n"
    "2 a usage error.\n";

namespace {

bool parseSessionFrames(const std::string& value, int& frames) {
    return parseFrameNumber(value, frames) && static_cast<std::size_t>(frames) <= MaxRecordedFrames;
}

// --speed or --frames and its value into parsed; false, with problem set, for a bad value.
bool applyValueOption(const std::string& option, const std::string& value, ExportArguments& parsed,
                      std::string& problem) {
    if (option == "--speed" && !parsePositiveNumber(value, parsed.speed)) {
        problem = "--speed takes a positive number, not '" + value + "'";
        return false;
    }
    if (option == "--frames" && !parseSessionFrames(value, parsed.frames)) {
        problem = "--frames takes a count of 1 to " + std::to_string(MaxRecordedFrames) +
                  ", not '" + value + "'";
        return false;
    }
    return true;
}

bool checkSession(const ExportArguments& parsed, std::string& problem) {
    if (parsed.bake.empty() != (parsed.frames == 0)) {
        problem = "--bake and --frames go together";
        return false;
    }
    for (const DanceStart& dance : parsed.bake) {
        if (dance.frame > parsed.frames) {
            problem = "'" + dance.name + "@" + std::to_string(dance.frame) +
                      "' starts after the last frame";
            return false;
        }
    }
    return true;
}

std::string lowerCaseExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// The output's extension names its container: .glb binary, .gltf JSON beside a .bin; --gltf
// may only agree with it (and chooses JSON for any other extension).
bool chooseContainer(ExportArguments& parsed, std::string& problem) {
    const std::string extension = lowerCaseExtension(parsed.output);
    if (extension == ".glb" && parsed.container == GltfContainer::TextWithBin) {
        problem = "--gltf writes JSON, but " + parsed.output +
                  " ends in .glb, the binary container; drop --gltf or name it .gltf";
        return false;
    }
    if (extension == ".gltf") parsed.container = GltfContainer::TextWithBin;
    return true;
}

}  // namespace

bool parseExportArguments(const std::vector<std::string>& arguments, ExportArguments& parsed,
                          std::string& problem) {
    OptionScanner scanner(arguments);
    while (scanner.nextOption()) {
        const std::string& option = scanner.option();
        std::string value;
        if (option == "--gltf") {
            parsed.container = GltfContainer::TextWithBin;
        } else if (option == "--bake") {
            // The NAME@FRAME words after --bake, up to the first that is not one.
            const auto takeDance = [&parsed](const std::string& word) {
                DanceStart dance;
                if (!parseDanceStart(word, dance)) return false;
                parsed.bake.push_back(dance);
                return true;
            };
            if (scanner.takeWordsWhile(takeDance) == 0) {
                problem = "--bake needs NAME@FRAME with FRAME from 1";
                return false;
            }
        } else if (option == "--speed" || option == "--frames") {
            if (!scanner.takeValue(value, problem) ||
                !applyValueOption(option, value, parsed, problem)) {
                return false;
            }
        } else {
            problem = "unknown option '" + option + "'";
            return false;
        }
    }
    if (!scanner.finishOperands(2, 2, "needs MANIFEST and OUT.glb", problem)) return false;
    parsed.helpRequested = scanner.helpRequested();
    if (parsed.helpRequested) return true;
    const std::vector<std::string>& operands = scanner.operands();
    parsed.manifest = operands[0];
    parsed.output = operands[1];
    if (!chooseContainer(parsed, problem)) return false;
    if (parsed.container == GltfContainer::TextWithBin &&
        binPathFor(parsed.output) == parsed.output) {
        problem = "--gltf writes its buffer beside OUT as .bin, so OUT cannot end in .bin";
        return false;
    }
    return checkSession(parsed, problem);
}

}  // namespace vorel
