// vorel-export [OPTIONS] MANIFEST OUT.glb: loads the manifest as the viewer does, records its
// animations (or one baked session) on the viewer's own figure, and writes the first model
// and the motions as glTF 2.0. The conversion is vorel_gltf's; this is only the edge that
// reads the command line and prints.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "anim/record_motion.h"
#include "app/app_state.h"
#include "gltf/gltf_export.h"
#include "gltf/write_gltf_file.h"
#include "tools/common/exit_status.h"
#include "tools/common/library_beside_manifest.h"
#include "tools/common/manifest_files.h"
#include "tools/common/print_line.h"
#include "tools/common/record_session.h"
#include "tools/common/same_file.h"
#include "tools/export/export_arguments.h"

namespace {

using namespace vorel;

int usageError(const std::string& problem) {
    printLine(stderr, "vorel-export: %s", problem.c_str());
    std::fputs(ExportUsage, stderr);
    return ExitUsage;
}

int badInput(const std::string& file, const std::string& problem) {
    printLine(stderr, "%s: %s", file.c_str(), problem.c_str());
    return ExitBadInput;
}

bool recordMotions(const ExportArguments& arguments, const ManifestFiles& files,
                   const std::vector<const BoneData*>& bones, std::vector<RecordedMotion>& motions,
                   std::string& problem) {
    if (arguments.bake.empty())
        return recordSetAnimations(*figure, files, arguments.speed, bones, motions, problem);
    if (static_cast<std::size_t>(arguments.frames) * bones.size() > MaxRecordedTransforms) {
        problem = "a session of " + std::to_string(arguments.frames) + " frames of " +
                  std::to_string(bones.size()) + " bones is more than an export records";
        return false;
    }
    motions.push_back(recordSession(arguments.bake, arguments.frames, arguments.speed, bones));
    return true;
}

// The output, and the .bin of a .gltf, may not be a file the set reads.
bool checkOutputsAreNotInputs(const ExportArguments& arguments, const ManifestFiles& files,
                              std::string& problem) {
    const std::vector<std::string> inputs = files.all();
    std::vector<std::string> outputs = {arguments.output};
    if (arguments.container == GltfContainer::TextWithBin)
        outputs.push_back(binPathFor(arguments.output));
    for (const std::string& output : outputs) {
        if (sameFileAsAny(output, inputs)) {
            problem = (output == arguments.output ? "is" : "its buffer " + output + " is") +
                      std::string(" a file of the set being exported; not written over");
            return false;
        }
    }
    return true;
}

void printSummary(const ExportArguments& arguments, const GltfExportSummary& summary) {
    std::error_code ignored;
    std::uintmax_t bytes = std::filesystem::file_size(arguments.output, ignored);
    if (arguments.container == GltfContainer::TextWithBin) {
        bytes += std::filesystem::file_size(binPathFor(arguments.output), ignored);
    }
    printLine(
        stdout,
        "%s: model '%s': %zu vertices, %zu triangles, %zu joints; %zu animation%s, %zu keys; %ju "
        "bytes",
        arguments.output.c_str(), library->modelNames.front().c_str(), summary.vertexCount,
        summary.triangleCount, summary.jointCount, summary.animationCount,
        summary.animationCount == 1 ? "" : "s", summary.keyCount, bytes);
    for (const std::string& warning : summary.warnings) {
        printLine(stdout, "%s: warning: %s", arguments.manifest.c_str(), warning.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    ExportArguments arguments;
    std::string problem;
    if (!parseExportArguments(std::vector<std::string>(argv + 1, argv + argc), arguments,
                              problem)) {
        return usageError(problem);
    }
    if (arguments.helpRequested) {
        std::fputs(ExportUsage, stdout);
        return ExitSuccess;
    }
    std::unique_ptr<AssetLibrary> loaded = loadLibraryBesideManifest(arguments.manifest, problem);
    if (loaded == nullptr) {
        printLine(stderr, "%s", problem.c_str());
        return ExitBadInput;
    }
    ManifestFiles files;
    if (!manifestFiles(arguments.manifest, files, problem)) {
        printLine(stderr, "%s", problem.c_str());
        return ExitBadInput;
    }
    if (!checkOutputsAreNotInputs(arguments, files, problem))
        return badInput(arguments.output, problem);
    const std::string unknownDance = findUnknownDance(arguments.bake, *loaded);
    if (!unknownDance.empty())
        return badInput(arguments.manifest, "no animation named '" + unknownDance + "'");
    installFigure(std::move(loaded));

    const ModelData& model = *library->models.front();
    const std::vector<const BoneData*> bones = bonesInWalkOrder(model);
    std::vector<RecordedMotion> motions;
    if (!recordMotions(arguments, files, bones, motions, problem))
        return badInput(arguments.manifest, problem);
    tinygltf::Model gltf;
    GltfExportSummary summary;
    if (!exportGltf(model, library->modelNames.front(), motions, gltf, summary, problem)) {
        return badInput(arguments.manifest, problem);
    }
    if (!writeGltfAtomically(gltf, arguments.output, arguments.container, problem)) {
        return badInput(arguments.output, problem);
    }
    printSummary(arguments, summary);
    return ExitSuccess;
}
