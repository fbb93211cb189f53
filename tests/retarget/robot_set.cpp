#include "tests/retarget/robot_set.h"

#include <gtest/gtest.h>

#include "assets/write_set.h"
#include "gltf/import_gltf.h"
#include "tests/support/program_runner.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {

const AssetLibrary& robotSet() {
    static std::unique_ptr<AssetLibrary> library = [] {
        ImportedSet imported;
        LoadError error;
        EXPECT_TRUE(importGltf(VOREL_ROBOT_GLB, ImportOptions{}, imported, error))
            << error.describe();
        const std::string folder = test_support::makeScratchFolder() + "/robot";
        std::string problem;
        EXPECT_TRUE(writeSetAtomically(setForImport(imported), folder, problem)) << problem;
        auto loaded = loadLibraryBesideManifest(folder + "/vorel.txt", problem);
        EXPECT_NE(loaded, nullptr) << problem;
        return loaded;
    }();
    return *library;
}

}  // namespace vorel
