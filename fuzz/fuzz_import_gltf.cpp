// Fuzz target for the glTF importer: any bytes (GLB or JSON) import or fail with a reason, and
// what imports is a model and animations that Vorel's own loaders read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "assets/load_animation.h"
#include "assets/load_model.h"
#include "assets/save_animation.h"
#include "assets/save_model.h"
#include "gltf/import_gltf.h"

// Larger inputs only make each run slower: every structure the importer reads fits well
// below this, and the seeds (the arm character) are a few kilobytes.
constexpr std::size_t MaxInputBytes = 64 * 1024;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > MaxInputBytes) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    vorel::ImportedSet imported;
    vorel::LoadError error;
    if (!vorel::importGltfBytes(bytes, "fuzz input", vorel::ImportOptions{}, imported, error)) {
        if (error.message.empty()) std::abort();
        return 0;
    }
    if (!vorel::loadModelFromBytes(vorel::encodeModel(*imported.model), "imported model", nullptr))
        std::abort();
    for (const vorel::ImportedAnimation& animation : imported.animations) {
        if (!vorel::loadAnimationFromBytes(vorel::encodeAnimation(*animation.data),
                                           "imported animation", nullptr)) {
            std::abort();
        }
    }
    return 0;
}
