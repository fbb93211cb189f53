// vorel-retarget [OPTIONS] SOURCE [TARGET_MANIFEST] OUTDIR: puts a BVH capture or a glTF
// animation on a Vorel figure and writes the figure's set with the new animation added. The
// retargeting itself is the vorel_retarget library; this is only the edge that reads the
// command line, loads the target, writes the set and prints.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "assets/file_bytes.h"
#include "assets/write_set.h"
#include "dancer/default_set.h"
#include "retarget/retargeted_set.h"
#include "tools/common/exit_status.h"
#include "tools/common/library_beside_manifest.h"
#include "tools/common/output_folder.h"
#include "tools/common/print_line.h"
#include "tools/common/progress_line.h"
#include "tools/retarget/retarget_arguments.h"

namespace {

using namespace vorel;
namespace fs = std::filesystem;

int usageError(const std::string& problem) {
    printLine(stderr, "vorel-retarget: %s", problem.c_str());
    std::fputs(RetargetUsage, stderr);
    return ExitUsage;
}

// The default dancer's set, written to a scratch folder, loaded as any set is, then removed.
std::unique_ptr<AssetLibrary> loadDefaultSet(std::string& problem) {
    std::string scratch = (fs::temp_directory_path() / "vorel-retarget-XXXXXX").string();
    if (mkdtemp(scratch.data()) == nullptr) {
        problem = scratch + ": cannot create a scratch folder for the default set";
        return nullptr;
    }
    std::unique_ptr<AssetLibrary> library;
    if (writeDefaultSet(scratch, problem)) {
        library =
            loadLibraryBesideManifest((fs::path(scratch) / ManifestFileName).string(), problem);
    }
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    return library;
}

bool sameFolder(const std::string& manifestPath, const std::string& folder) {
    std::error_code error;
    fs::path manifestFolder = fs::path(manifestPath).parent_path();
    if (manifestFolder.empty()) manifestFolder = ".";
    return fs::equivalent(manifestFolder, folder, error);
}

// Which input of the run is at this path ("the source", ...); empty when none is.
std::string inputAt(const RetargetArguments& arguments, const std::string& path) {
    if (path.empty()) return {};
    const std::pair<const std::string*, const char*> inputs[] = {
        {&arguments.request.sourcePath, "the source"},
        {&arguments.request.mapPath, "the map"},
        {&arguments.targetManifest, "the target's manifest"}};
    for (const auto& [input, what] : inputs) {
        std::error_code error;
        if (!input->empty() && fs::equivalent(*input, path, error)) return what;
    }
    return {};
}

// `vorel-retarget cap.bvh myset` most likely means "onto the figure of myset".
std::string outputFolderProblem(const RetargetArguments& arguments, const std::string& problem) {
    if (arguments.replace || !arguments.targetManifest.empty() ||
        !holdsSet(arguments.outputFolder)) {
        return problem;
    }
    const std::string manifest = (fs::path(arguments.outputFolder) / ManifestFileName).string();
    return "already holds a Vorel set and is not replaced; to put the motion on its figure, "
           "name its manifest before a new OUTDIR: " +
           arguments.request.sourcePath + " " + manifest + " NEWDIR";
}

void printQuality(const char* which, const ContactQuality& quality) {
    printLine(stdout,
              "%s: %d contact frames, foot speed in contact %.3g H/s, worst drift %.3g H, deepest "
              "under the floor %.3g H",
              which, quality.contactFrames, quality.footSpeed, quality.worstDrift, quality.deepest);
}

// The numbers a planted foot is judged by, for the source and the result, in heights.
void printFeet(const RetargetOutcome& outcome) {
    if (outcome.contacts.empty()) return;
    printQuality("feet in the source", outcome.sourceQuality);
    printQuality(outcome.planted ? "feet planted" : "feet unplanted", outcome.resultQuality);
}

void printSummary(const RetargetArguments& arguments, const RetargetOutcome& outcome,
                  const SetToWrite& set) {
    const double seconds = (outcome.frameCount - 1) * outcome.frameTime;
    printLine(stdout,
              "source '%s': %zu joints (end points counted), %d frames at %.6g per second (%.6g s)",
              arguments.request.sourcePath.c_str(), outcome.sourceJoints, outcome.frameCount,
              1.0 / outcome.frameTime, seconds);
    printLine(stdout, "map: %s, %zu bones driven; leg-length ratio %.6g%s",
              outcome.mapOrigin.c_str(), outcome.mappedBones, outcome.legRatio,
              outcome.skirtCleared ? "; the skirt clears the thighs" : "");
    printLine(stdout, "animation '%s': %zu tracks, %zu keys before reduction, %zu after",
              arguments.name.c_str(), outcome.animation.data->tracks.size(),
              outcome.animation.keysBefore, outcome.animation.keysAfter);
    printFeet(outcome);
    for (const std::string& warning : outcome.warnings)
        printLine(stdout, "warning: %s", warning.c_str());
    const std::string view = viewWarning(outcome.view, outcome.frameCount, outcome.frameTime);
    if (!view.empty()) printLine(stdout, "warning: %s", view.c_str());
    printLine(stdout, "wrote %s: model '%s' and %zu animation%s", arguments.outputFolder.c_str(),
              set.modelName.c_str(), set.entries.size(), set.entries.size() == 1 ? "" : "s");
}

}  // namespace

int main(int argc, char** argv) {
    RetargetArguments arguments;
    std::string problem;
    if (!parseRetargetArguments(std::vector<std::string>(argv + 1, argv + argc), arguments,
                                problem)) {
        return usageError(problem);
    }
    if (arguments.helpRequested) {
        std::fputs(RetargetUsage, stdout);
        return ExitSuccess;
    }
    if (!arguments.targetManifest.empty() &&
        sameFolder(arguments.targetManifest, arguments.outputFolder)) {
        printLine(stderr, "%s: is the target set's own folder, which is never changed",
                  arguments.outputFolder.c_str());
        return ExitBadInput;
    }
    if (const std::string input = inputAt(arguments, arguments.contactsPath); !input.empty()) {
        printLine(stderr, "%s: is %s, which is never overwritten", arguments.contactsPath.c_str(),
                  input.c_str());
        return ExitBadInput;
    }
    if (!checkOutputFolder(arguments.outputFolder, arguments.replace, problem)) {
        printLine(stderr, "%s: %s", arguments.outputFolder.c_str(),
                  outputFolderProblem(arguments, problem).c_str());
        return ExitBadInput;
    }
    ProgressLine progress("vorel-retarget", stderr);
    progress.report(arguments.targetManifest.empty() ? std::string("loading the default dancer")
                                                     : "loading " + arguments.targetManifest);
    const std::unique_ptr<AssetLibrary> target =
        arguments.targetManifest.empty()
            ? loadDefaultSet(problem)
            : loadLibraryBesideManifest(arguments.targetManifest, problem);
    if (!target) {
        progress.finish();
        printLine(stderr, "%s", problem.c_str());
        return ExitBadInput;
    }
    RetargetOutcome outcome;
    LoadError error;
    progress.report("putting the motion of " + arguments.request.sourcePath + " on the figure");
    if (!retargetFile(arguments.request, *target->models.front(), outcome, error)) {
        progress.finish();
        printLine(stderr, "%s", error.describe().c_str());
        return ExitBadInput;
    }
    const SetToWrite set = setWithAnimation(*target, *outcome.animation.data, arguments.name);
    progress.report("writing " + arguments.outputFolder);
    const bool written = writeSetAtomically(set, arguments.outputFolder, problem);
    progress.finish();
    if (!written) {
        printLine(stderr, "%s: %s", arguments.outputFolder.c_str(), problem.c_str());
        return ExitBadInput;
    }
    if (!arguments.contactsPath.empty() &&
        !writeFileBytes(arguments.contactsPath, outcome.contactsText, &problem)) {
        printLine(stderr, "%s: cannot be written: %s", arguments.contactsPath.c_str(),
                  problem.c_str());
        return ExitBadInput;
    }
    printSummary(arguments, outcome, set);
    return ExitSuccess;
}
