// vorel-inspect check [--strict] FILE...: loads each file as the viewer would and reports,
// one line each, the files that fail and what is legal but suspicious in those that load.
#include <cstdio>
#include <string>
#include <vector>

#include "assets/finite_values.h"
#include "assets/load_animation.h"
#include "assets/load_model.h"
#include "bvh/read_bvh.h"
#include "fbx/read_fbx_scene.h"
#include "tools/common/print_line.h"
#include "tools/inspect/asset_warnings.h"
#include "tools/inspect/file_kind.h"
#include "tools/inspect/inspect_arguments.h"
#include "tools/inspect/inspect_commands.h"
#include "tools/inspect/manifest_in_folder.h"

namespace vorel {

namespace {

// What checking one file found: the lines that make it fail and the warnings.
struct Findings {
    std::vector<std::string> failures;
    std::vector<std::string> warnings;
};

void addWarnings(const std::string& prefix, const std::vector<std::string>& warnings,
                 Findings& findings) {
    for (const std::string& warning : warnings) findings.warnings.push_back(prefix + warning);
}

// The loaders take any float; a value that is not finite makes the check fail.
template <typename Loaded>
void addNonFinite(const std::string& path, const std::string& prefix, const Loaded& loaded,
                  Findings& findings) {
    const std::string value = nonFiniteValue(loaded);
    if (!value.empty()) {
        findings.failures.push_back(
            LoadError{path, "", -1, prefix + value + " is not finite"}.describe());
    }
}

// Loads one model or animation file; a failure is one line, a success brings its warnings.
template <typename Loaded>
void checkAsset(const std::string& path,
                std::unique_ptr<Loaded> (*load)(const std::string&, LoadError*),
                std::vector<std::string> (*warningsOf)(const Loaded&), Findings& findings) {
    LoadError error;
    const std::unique_ptr<Loaded> loaded = load(path, &error);
    if (loaded == nullptr) {
        findings.failures.push_back(error.describe());
        return;
    }
    addNonFinite(path, "", *loaded, findings);
    addWarnings("", warningsOf(*loaded), findings);
}

// The same refusals as the viewer's start-up: the manifest must open, be read to its end,
// name at least one model, and every file it names must load.
void checkManifest(const std::string& path, Findings& findings) {
    ManifestReport report;
    const std::unique_ptr<AssetLibrary> library = loadManifestInItsFolder(path, report);
    if (report.readStopped || library == nullptr) {
        findings.failures.push_back(report.stoppedEarly.describe());
    }
    if (library == nullptr) return;
    for (const LoadError& error : report.failedFiles) findings.failures.push_back(error.describe());
    if (library->models.empty() && !report.readStopped) {
        findings.failures.push_back(LoadError{path, "", -1, "names no model"}.describe());
    }

    addWarnings("", libraryWarnings(*library), findings);
    for (std::size_t i = 0; i < library->models.size(); ++i) {
        if (library->models[i] == nullptr) continue;
        const std::string prefix = "model '" + library->modelNames[i] + "': ";
        addNonFinite(path, prefix, *library->models[i], findings);
        addWarnings(prefix, modelWarnings(*library->models[i]), findings);
    }
    for (std::size_t i = 0; i < library->animations.size(); ++i) {
        if (library->animations[i] == nullptr) continue;
        const std::string prefix = "animation '" + library->animationNames[i] + "': ";
        addNonFinite(path, prefix, *library->animations[i], findings);
        addWarnings(prefix, animationWarnings(*library->animations[i]), findings);
    }
}

Findings checkFile(const std::string& path) {
    Findings findings;
    LoadError error;
    switch (recogniseFile(path, error)) {
        case FileKind::Model:
            checkAsset<ModelData>(path, &loadModel, &modelWarnings, findings);
            break;
        case FileKind::Animation:
            checkAsset<AnimationData>(path, &loadAnimation, &animationWarnings, findings);
            break;
        case FileKind::Manifest:
            checkManifest(path, findings);
            break;
        case FileKind::Bvh: {
            BvhMotion motion;
            if (!readBvhFile(path, motion, error) || !checkBvhHasFrames(motion, path, error))
                findings.failures.push_back(error.describe());
            break;
        }
        case FileKind::Fbx: {
            FbxDocument document;
            FbxScene scene;
            if (!readFbxSceneFile(path, document, scene, error))
                findings.failures.push_back(error.describe());
            break;
        }
        case FileKind::Unknown:
            findings.failures.push_back(error.describe());
            break;
    }
    return findings;
}

// Prints the findings of one file; true when they make the check fail.
bool reportFindings(const std::string& path, const Findings& findings, bool strict) {
    for (const std::string& failure : findings.failures) printLine(stdout, "%s", failure.c_str());
    for (const std::string& warning : findings.warnings) {
        printLine(stdout, "%s: warning: %s", path.c_str(), warning.c_str());
    }
    if (findings.failures.empty() && findings.warnings.empty()) {
        printLine(stdout, "%s: ok", path.c_str());
    }
    return !findings.failures.empty() || (strict && !findings.warnings.empty());
}

}  // namespace

int runCheck(const std::vector<std::string>& arguments) {
    const CommandLine commandLine =
        splitCommandLine(arguments, {{"--strict"}, {}, 1, "check: no file given"});
    if (const std::optional<int> status = finishEarly(commandLine)) return *status;

    const bool strict = hasOption(commandLine, "--strict");
    bool failed = false;
    for (const std::string& path : commandLine.operands) {
        failed |= reportFindings(path, checkFile(path), strict);
    }
    return failed ? ExitBadInput : ExitSuccess;
}

}  // namespace vorel
