// Parses vorel-retarget's options; nothing here reads a file.
#include "tools/retarget/retarget_arguments.h"

#include <filesystem>

#include "tools/common/option_scanner.h"

namespace vorel {

const char* const RetargetUsage =
    "Usage: vorel-retarget [OPTIONS] SOURCE [TARGET_MANIFEST] OUTDIR\n"
    "       vorel-retarget --help\n"
    "\n"
    "Put the motion of SOURCE (a .bvh capture, a .glb/.gltf character with --animation, or\n"
    "an .fbx file, its first animation stack or the one --animation names)\n"
    "on the figure of TARGET_MANIFEST (default: the default dancer's set). OUTDIR receives a\n"
    "copy of the target set with the new animation added to its manifest; the target set\n"
    "itself is never changed. Naming the new animation after one of the viewer's seven\n"
    "dances makes that dance's key play it.\n"
    "\n"
    "  --animation NAME  the glTF or FBX animation to follow (required for a glTF source)\n"
    "  --as NAME         the new animation's manifest name (default: the source's name)\n"
    "  --map FILE        'SOURCE_BONE TARGET_BONE' lines pairing the skeletons (default: the\n"
    "                    built-in CMU or mixamorig map onto the default dancer)\n"
    "  --in-place        keep the root's height but remove its horizontal travel (default:\n"
    "                    keep the travel, centred on the view's vertical axis)\n"
    "  --allow-off-picture\n"
    "                    keep a result that leaves the viewer's picture in most frames\n"
    "                    (default: refuse it and say what to try)\n"
    "  --no-plant        let every mapped bone follow its source bone, feet included\n"
    "                    (default: hold the feet where the source's feet rest on the floor,\n"
    "                    the thighs and shins reaching for them)\n"
    "  --contacts FILE   write the source's foot contacts to FILE: per foot joint, the\n"
    "                    frame ranges at which it rests on the floor\n"
    "  --replace         replace the set an existing OUTDIR holds (only a folder holding\n"
    "                    nothing but a set's files; without it, only a new or empty OUTDIR\n"
    "                    is written)\n"
    "\n"
    "Exit status: 0 success, 1 an input cannot be read or used, or OUTDIR cannot be written,\n"
    "2 a usage error.\n";

bool parseRetargetArguments(const std::vector<std::string>& arguments, RetargetArguments& parsed,
                            std::string& problem) {
    OptionScanner scanner(arguments);
    while (scanner.nextOption()) {
        const std::string& option = scanner.option();
        std::string value;
        if (option == "--in-place") {
            parsed.request.options.inPlace = true;
        } else if (option == "--allow-off-picture") {
            parsed.request.allowOffPicture = true;
        } else if (option == "--no-plant") {
            parsed.request.options.plantFeet = false;
        } else if (option == "--replace") {
            parsed.replace = true;
        } else if (option == "--animation" || option == "--as" || option == "--map" ||
                   option == "--contacts") {
            if (!scanner.takeValue(value, problem)) return false;
            if (value.empty()) {
                problem = "option '" + option + "' needs a value";
                return false;
            }
            if (option == "--animation") parsed.request.animation = value;
            if (option == "--as") parsed.name = value;
            if (option == "--map") parsed.request.mapPath = value;
            if (option == "--contacts") parsed.contactsPath = value;
        } else {
            problem = "unknown option '" + option + "'";
            return false;
        }
    }
    if (!scanner.finishOperands(2, 3, "needs SOURCE, an optional TARGET_MANIFEST and OUTDIR",
                                problem)) {
        return false;
    }
    parsed.helpRequested = scanner.helpRequested();
    if (parsed.helpRequested) return true;
    const std::vector<std::string>& operands = scanner.operands();
    parsed.request.sourcePath = operands.front();
    parsed.outputFolder = operands.back();
    if (operands.size() == 3) parsed.targetManifest = operands[1];
    const SourceKind kind = sourceKindOf(parsed.request.sourcePath);
    if (kind == SourceKind::Gltf && parsed.request.animation.empty()) {
        problem = "a glTF source needs --animation NAME";
        return false;
    }
    if (kind != SourceKind::Gltf && kind != SourceKind::Fbx && !parsed.request.animation.empty()) {
        problem = "--animation is for glTF and FBX sources only";
        return false;
    }
    if (parsed.name.empty()) {
        parsed.name = !parsed.request.animation.empty()
                          ? parsed.request.animation
                          : std::filesystem::path(parsed.request.sourcePath).stem().string();
    }
    // A manifest name is one line, read back with a limit of 511 characters.
    if (parsed.name.empty() || parsed.name.find_first_of("\r\n") != std::string::npos ||
        parsed.name.size() > 200) {
        problem = "the animation's name (--as) must be 1 to 200 characters on one line";
        return false;
    }
    return true;
}

}  // namespace vorel
