// Parses vorel-import's options; nothing here reads a file.
#include "tools/import/import_arguments.h"

#include <sstream>

#include "tools/common/positive_number.h"

namespace vorel {

const char* const ImportUsage =
    "Usage: vorel-import [OPTIONS] INPUT OUTDIR\n"
    "       vorel-import --help\n"
    "\n"
    "Import a skinned, animated glTF 2.0 character (.glb, or .gltf with its buffers) as a\n"
    "Vorel set: OUTDIR/vorel.txt, one model file and one animation file per glTF animation.\n"
    "Run the viewer in OUTDIR; keys 1 to 7 play the first seven animations.\n"
    "A BVH motion capture (text starting with HIERARCHY) becomes a figure built from its own\n"
    "skeleton, one plain part per bone, and the capture as one animation on key 1.\n"
    "\n"
    "  --fit view|none   scale and move the character into the fixed view (default), or\n"
    "                    keep the file's units and position\n"
    "  --height H        standing height for --fit view (default 221, the default dancer's)\n"
    "  --speed F         play F glTF or capture seconds per unit of the animation clock\n"
    "                    (default 1: one second is 100 viewer frames)\n"
    "  --keys A,B,...    the glTF animations keys 1 to 7 play, by name (glTF only)\n"
    "  --vertex-map FILE write 'node primitive first-position count binding' per primitive\n"
    "                    (glTF only)\n"
    "\n"
    "Exit status: 0 success, 1 the input cannot be imported or written, 2 a usage error.\n";

namespace {

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) items.push_back(item);
    return items;
}

}  // namespace

bool parseImportArguments(const std::vector<std::string>& arguments, ImportArguments& parsed,
                          std::string& problem) {
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            parsed.helpRequested = true;
            return true;
        }
        const bool takesValue = argument == "--fit" || argument == "--height" ||
                                argument == "--speed" || argument == "--keys" ||
                                argument == "--vertex-map";
        if (!takesValue) {
            problem = "unknown option '" + argument + "'";
            return false;
        }
        if (i + 1 >= arguments.size()) {
            problem = argument + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        double number = 0.0;
        if (argument == "--fit") {
            if (value != "view" && value != "none") {
                problem = "--fit takes 'view' or 'none', not '" + value + "'";
                return false;
            }
            parsed.options.fitToView = value == "view";
        } else if (argument == "--height" || argument == "--speed") {
            if (!parsePositiveNumber(value, number)) {
                problem = argument + " takes a positive number, not '" + value + "'";
                return false;
            }
            if (argument == "--height") parsed.options.height = static_cast<float>(number);
            if (argument == "--speed") parsed.options.speed = number;
        } else if (argument == "--keys") {
            parsed.options.keys = splitList(value);
            if (parsed.options.keys.empty() || parsed.options.keys.size() > 7) {
                problem = "--keys takes 1 to 7 comma-separated animation names";
                return false;
            }
        } else {
            parsed.vertexMapPath = value;
        }
    }
    if (operands.size() != 2) {
        problem = "needs INPUT and OUTDIR";
        return false;
    }
    parsed.input = operands[0];
    parsed.outputFolder = operands[1];
    return true;
}

}  // namespace vorel
