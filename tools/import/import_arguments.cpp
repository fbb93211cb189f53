// Parses vorel-import's options; nothing here reads a file.
#include "tools/import/import_arguments.h"

#include <sstream>

#include "tools/common/option_scanner.h"
#include "tools/common/positive_number.h"

namespace vorel {

const char* const ImportUsage =
    "Usage: vorel-import [OPTIONS] INPUT OUTDIR\n"
    "       vorel-import --help\n"
    "\n"
    "Import a skinned, animated glTF 2.0 character (.glb, or .gltf with its buffers) as a\n"
    "Vorel set: OUTDIR/vorel.txt, one model file and one animation file per glTF animation.\n"
    "Run the viewer in OUTDIR; keys 1 to 7 play the first seven animations.\n"
    "An FBX file (binary, or ASCII from version 7) imports the same way: its skinned meshes,\n"
    "its joints, and one animation per animation stack.\n"
    "A BVH motion capture (text starting with HIERARCHY) becomes a figure built from its own\n"
    "skeleton, one plain part per bone, and the capture as one animation on key 1.\n"
    "\n"
    "  --fit view|none   scale and move the character into the fixed view (default), or\n"
    "                    keep the file's units and position\n"
    "  --height H        standing height for --fit view (default 221, the default dancer's)\n"
    "  --speed F         play F source seconds per unit of the animation clock\n"
    "                    (default 1: one second is 100 viewer frames)\n"
    "  --keys A,B,...    the animations keys 1 to 7 play, by name (glTF and FBX only)\n"
    "  --vertex-map FILE write 'node primitive count binding' and the position each vertex\n"
    "                    became, one line per primitive (glTF and FBX only)\n"
    "  --rigid           give each vertex to its heaviest joint alone instead of blending it\n"
    "                    between its joints (glTF and FBX only)\n"
    "  --in-place        keep a capture's root at its height but remove its travel across\n"
    "                    the floor (BVH only; default: keep the travel)\n"
    "  --replace         replace the set an existing OUTDIR holds (only a folder holding\n"
    "                    nothing but a set's files; without it, only a new or empty OUTDIR\n"
    "                    is written)\n"
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

bool takesValue(const std::string& option) {
    return option == "--fit" || option == "--height" || option == "--speed" || option == "--keys" ||
           option == "--vertex-map";
}

// One option and its value into parsed; false, with problem set, for a bad value.
bool applyOption(const std::string& option, const std::string& value, ImportArguments& parsed,
                 std::string& problem) {
    double number = 0.0;
    if (option == "--fit") {
        if (value != "view" && value != "none") {
            problem = "--fit takes 'view' or 'none', not '" + value + "'";
            return false;
        }
        parsed.options.fitToView = value == "view";
    } else if (option == "--height" || option == "--speed") {
        if (!parsePositiveNumber(value, number)) {
            problem = option + " takes a positive number, not '" + value + "'";
            return false;
        }
        if (option == "--height") parsed.options.height = static_cast<float>(number);
        if (option == "--speed") parsed.options.speed = number;
    } else if (option == "--keys") {
        parsed.options.keys = splitList(value);
        if (parsed.options.keys.empty() || parsed.options.keys.size() > 7) {
            problem = "--keys takes 1 to 7 comma-separated animation names";
            return false;
        }
    } else {
        parsed.vertexMapPath = value;
    }
    return true;
}

}  // namespace

bool parseImportArguments(const std::vector<std::string>& arguments, ImportArguments& parsed,
                          std::string& problem) {
    OptionScanner scanner(arguments);
    while (scanner.nextOption()) {
        const std::string& option = scanner.option();
        if (option == "--replace" || option == "--in-place" || option == "--rigid") {
            bool& flag = option == "--replace"    ? parsed.replace
                         : option == "--in-place" ? parsed.options.inPlace
                                                  : parsed.options.rigid;
            flag = true;
            continue;
        }
        if (!takesValue(option)) {
            problem = "unknown option '" + option + "'";
            return false;
        }
        std::string value;
        if (!scanner.takeValue(value, problem) || !applyOption(option, value, parsed, problem)) {
            return false;
        }
    }
    if (!scanner.finishOperands(2, 2, "needs INPUT and OUTDIR", problem)) return false;
    parsed.helpRequested = scanner.helpRequested();
    if (parsed.helpRequested) return true;
    const std::vector<std::string>& operands = scanner.operands();
    parsed.input = operands[0];
    parsed.outputFolder = operands[1];
    return true;
}

}  // namespace vorel
