// loadStartupLibrary: the start-up checks that stand between loadManifest and the figure,
// which needs at least one model and loaded data for every entry.
#include "app/startup_library.h"

#include "assets/load_manifest.h"

namespace vorel {

namespace {

// Safety net for a null entry the report did not list: the figure must never see one.
std::string describeNullEntry(const std::string& manifestPath, const AssetLibrary& library) {
    for (std::size_t i = 0; i < library.models.size(); ++i) {
        if (library.models[i] == nullptr) {
            return manifestPath + ": model \"" + library.modelNames[i] + "\" failed to load";
        }
    }
    for (std::size_t i = 0; i < library.animations.size(); ++i) {
        if (library.animations[i] == nullptr) {
            return manifestPath + ": animation \"" + library.animationNames[i] +
                   "\" failed to load";
        }
    }
    return "";
}

std::string describeProblem(const std::string& manifestPath, const AssetLibrary* library,
                            const ManifestReport& report) {
    if (library == nullptr) {
        if (!report.stoppedEarly.message.empty()) {
            return report.stoppedEarly.describe();
        }
        return manifestPath + ": cannot be opened";
    }
    if (report.readStopped) {
        return report.stoppedEarly.describe();
    }
    if (!report.failedFiles.empty()) {
        return report.failedFiles.front().describe();
    }
    const std::string nullEntry = describeNullEntry(manifestPath, *library);
    if (!nullEntry.empty()) {
        return nullEntry;
    }
    if (library->models.empty()) {
        return manifestPath + ": names no model";
    }
    return "";
}

}  // namespace

std::unique_ptr<AssetLibrary> loadStartupLibrary(const std::string& manifestPath,
                                                 std::string& problem) {
    ManifestReport report;
    std::unique_ptr<AssetLibrary> loaded = loadManifest(manifestPath, &report);
    problem = describeProblem(manifestPath, loaded.get(), report);
    if (!problem.empty()) {
        return nullptr;
    }
    return loaded;
}

}  // namespace vorel
