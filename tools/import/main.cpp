// vorel-import [OPTIONS] INPUT OUTDIR: imports a glTF 2.0 or FBX character or a BVH motion capture
// (told apart by content) as a Vorel set and prints what it made. The import itself is in
// vorel_gltf, vorel_fbx and vorel_bvh; this is only the edge that reads the command line and
// prints.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "assets/file_bytes.h"
#include "assets/write_set.h"
#include "import/import_file.h"
#include "retarget/view_check.h"
#include "tools/common/exit_status.h"
#include "tools/common/output_folder.h"
#include "tools/common/print_line.h"
#include "tools/common/progress_line.h"
#include "tools/common/same_file.h"
#include "tools/import/import_arguments.h"

namespace {

using namespace vorel;

int usageError(const std::string& problem) {
    printLine(stderr, "vorel-import: %s", problem.c_str());
    std::fputs(ImportUsage, stderr);
    return ExitUsage;
}

const char* plural(std::size_t count) {
    return count == 1 ? "" : "s";
}

void printSummary(const ImportedSet& imported, const ImportOptions& options) {
    const ModelData& model = *imported.model;
    printLine(stdout, "model '%s': %zu bone%s%s, %zu positions, %zu normals, %zu faces",
              imported.modelName.c_str(), imported.boneCount, plural(imported.boneCount),
              imported.staticBone ? " (one static bone: no skin)" : "", model.positions.size(),
              model.normals.size(), model.faces.size());
    if (imported.skinnedVertexCount > 0) {
        printLine(stdout,
                  "skinned vertices: %lld, of which %lld follow a joint with less than half their "
                  "weight",
                  static_cast<long long>(imported.skinnedVertexCount),
                  static_cast<long long>(imported.weakVertexCount));
        printLine(stdout, "blended vertices: %lld (%zu positions weighted over several joints)%s",
                  static_cast<long long>(imported.blendedVertexCount),
                  model.weightedVertices.size(),
                  options.rigid ? ", none: --rigid gives each vertex its heaviest joint" : "");
    }
    if (options.fitToView) {
        printLine(stdout, "fit: scale %.6g, offset %.6g %.6g %.6g%s", imported.fit.scale,
                  imported.fit.offset.x, imported.fit.offset.y, imported.fit.offset.z,
                  imported.fit.narrowedToView
                      ? " (smaller than the standing height asks: at that size it would leave "
                        "the picture)"
                      : "");
    } else {
        printLine(stdout, "fit: none (the file's units and position)");
    }
    printLine(stdout, "animations: %zu", imported.animations.size());
    for (const ImportedAnimation& animation : imported.animations) {
        printLine(stdout, "  '%s': length %.6g, %zu key time%s, %zu track%s",
                  animation.name.c_str(), animation.data->header->duration, animation.keyTimes,
                  plural(animation.keyTimes), animation.data->tracks.size(),
                  plural(animation.data->tracks.size()));
    }
    const SetToWrite set = setForImport(imported);
    for (std::size_t key = 0; key < imported.keyAnimations.size(); ++key) {
        printLine(stdout, "key %zu: '%s' plays '%s'", key + 1, set.entries[key].name.c_str(),
                  imported.animations[imported.keyAnimations[key]].name.c_str());
    }
    for (const std::string& warning : imported.warnings)
        printLine(stdout, "warning: %s", warning.c_str());
}

void printCapture(const BvhImportSummary& capture) {
    printLine(stdout,
              "capture: %zu joints and %zu End Sites, %d channels, %d frames of %.6g s (%.6g s)",
              capture.jointCount - capture.endSiteCount, capture.endSiteCount, capture.channelCount,
              capture.frameCount, capture.frameTime, capture.frameCount * capture.frameTime);
}

struct ImportOutcome {
    ImportedSet imported;
    // Filled for a BVH capture.
    bool isCapture = false;
    BvhImportSummary capture;
    // The one line to print on failure; `usage` when an option does not fit the input's kind.
    std::string problem;
    bool usage = false;
};

// Reads the input as a BVH capture or as glTF, whichever its content is.
bool importByContent(const ImportArguments& arguments, ProgressLine& progress,
                     ImportOutcome& outcome) {
    ImportInput input;
    LoadError error;
    progress.report("reading " + arguments.input);
    if (!readImportInput(arguments.input, input, error)) {
        outcome.problem = error.describe();
        return false;
    }
    outcome.isCapture = input.isCapture;
    if (input.isCapture && (!arguments.options.keys.empty() || !arguments.vertexMapPath.empty())) {
        outcome.usage = true;
        outcome.problem = "--keys and --vertex-map apply to glTF and FBX files; " +
                          arguments.input + " is a BVH capture";
        return false;
    }
    if (!input.isCapture && arguments.options.inPlace) {
        outcome.usage = true;
        outcome.problem = "--in-place applies to BVH captures; " + arguments.input + " is not one";
        return false;
    }
    progress.report(std::string("importing ") +
                    (input.isCapture ? "the capture " : "the glTF file ") + arguments.input);
    if (!importInput(input, arguments.options, outcome.imported, outcome.capture, error)) {
        outcome.problem = error.describe();
        return false;
    }
    return true;
}

// A capture fitted to the view is played through once as the viewer would, every frame; the
// warning when it leaves the picture, or nothing.
std::string outOfViewWarning(const ImportArguments& arguments, const ImportOutcome& outcome) {
    if (!outcome.isCapture || !arguments.options.fitToView) return {};
    const double frameTime = outcome.capture.frameTime / arguments.options.speed;
    const ViewReport view =
        checkView(*outcome.imported.model, *outcome.imported.animations.front().data,
                  outcome.capture.frameCount, frameTime, !arguments.options.inPlace);
    return viewWarning(view, outcome.capture.frameCount, frameTime);
}

bool writeVertexMap(const ImportedSet& imported, const std::string& path) {
    std::string text;
    for (const PrimitiveRange& range : imported.ranges) {
        text += std::to_string(range.node) + " " + std::to_string(range.primitive) + " " +
                std::to_string(range.vertexCount) + " " + range.binding;
        for (std::int64_t v = 0; v < range.vertexCount; ++v) {
            text += ' ';
            text += std::to_string(
                imported.vertexPositions[static_cast<std::size_t>(range.firstVertex + v)]);
        }
        text += '\n';
    }
    return writeFileBytes(path, text);
}

}  // namespace

int main(int argc, char** argv) {
    ImportArguments arguments;
    std::string problem;
    if (!parseImportArguments(std::vector<std::string>(argv + 1, argv + argc), arguments,
                              problem)) {
        return usageError(problem);
    }
    if (arguments.helpRequested) {
        std::fputs(ImportUsage, stdout);
        return ExitSuccess;
    }
    if (sameFileAsAny(arguments.vertexMapPath, {arguments.input})) {
        printLine(stderr, "%s: is the input; the vertex map is not written over it",
                  arguments.vertexMapPath.c_str());
        return ExitBadInput;
    }
    if (!checkOutputFolder(arguments.outputFolder, arguments.replace, problem)) {
        printLine(stderr, "%s: %s", arguments.outputFolder.c_str(), problem.c_str());
        return ExitBadInput;
    }
    ImportOutcome outcome;
    ProgressLine progress("vorel-import", stderr);
    if (!importByContent(arguments, progress, outcome)) {
        progress.finish();
        if (outcome.usage) return usageError(outcome.problem);
        printLine(stderr, "%s", outcome.problem.c_str());
        return ExitBadInput;
    }
    const ImportedSet& imported = outcome.imported;
    progress.report("writing " + arguments.outputFolder);
    if (!writeSetAtomically(setForImport(imported), arguments.outputFolder, problem)) {
        progress.finish();
        printLine(stderr, "%s: %s", arguments.outputFolder.c_str(), problem.c_str());
        return ExitBadInput;
    }
    if (!arguments.vertexMapPath.empty() && !writeVertexMap(imported, arguments.vertexMapPath)) {
        progress.finish();
        printLine(stderr, "%s: cannot write the vertex map", arguments.vertexMapPath.c_str());
        return ExitBadInput;
    }
    if (outcome.isCapture) progress.report("playing the capture to check it stays in the picture");
    const std::string viewWarningLine = outOfViewWarning(arguments, outcome);
    progress.finish();
    if (outcome.isCapture) printCapture(outcome.capture);
    printSummary(imported, arguments.options);
    if (!viewWarningLine.empty()) printLine(stdout, "warning: %s", viewWarningLine.c_str());
    return ExitSuccess;
}
