// Writes the default set with writeDefaultSet and loads it from inside its folder, as the
// viewer does, since the manifest's paths are relative to the working directory.
#include "tests/dancer/default_set_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "dancer/default_set.h"

namespace vorel {

std::string makeScratchFolder(const std::string& name) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("vorel-dancer-" + std::to_string(::getpid())) / name;
    std::filesystem::remove_all(folder);
    return folder.string();
}

const LoadedDefaultSet& defaultSet() {
    static const LoadedDefaultSet set = [] {
        LoadedDefaultSet loaded;
        loaded.folder = makeScratchFolder("set");
        std::string error;
        EXPECT_TRUE(writeDefaultSet(loaded.folder, error)) << error;
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(loaded.folder);
        loaded.library = loadManifest(ManifestFileName, &loaded.report);
        std::filesystem::current_path(previous);
        return loaded;
    }();
    return set;
}

const ModelData& defaultDancer() {
    return *defaultSet().library->models.front();
}

}  // namespace vorel
