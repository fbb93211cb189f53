// Fuzz target for the manifest reader: any text must give a library whose paired arrays stay
// paired. The run works in a private temporary folder holding one sample model ("a.ply") and
// one sample animation ("b.anim"), so manifests can name files that load; it is removed at exit.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/load_manifest.h"
#include "assets/save_animation.h"
#include "assets/save_model.h"
#include "tests/support/sample_assets.h"

namespace {

char workFolder[] = "/tmp/vorel_fuzz_manifest_XXXXXX";

void removeWorkFolder() {
    for (const char* name : {"a.ply", "b.anim"}) {
        std::remove((std::string(workFolder) + "/" + name).c_str());
    }
    rmdir(workFolder);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (mkdtemp(workFolder) == nullptr || chdir(workFolder) != 0) std::abort();
    std::atexit(removeWorkFolder);
    if (!vorel::saveModel(*vorel::test_support::makeSampleModel(), "a.ply") ||
        !vorel::saveAnimation(*vorel::test_support::makeSampleAnimation(), "b.anim")) {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    vorel::ManifestReport report;
    auto library = vorel::loadManifestFromText(text, "fuzz.txt", &report);
    if (!library || library->models.size() != library->modelNames.size() ||
        library->animations.size() != library->animationNames.size()) {
        std::abort();
    }
    if (report.readStopped && report.stoppedEarly.message.empty()) std::abort();
    if (report.failedFiles.size() > library->models.size() + library->animations.size()) {
        std::abort();
    }
    return 0;
}
