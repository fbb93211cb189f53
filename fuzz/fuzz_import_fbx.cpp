// Fuzz target for the FBX import: any bytes are either refused with one line naming the file,
// or imported into a set whose every value is finite and whose bones, vertices and animations
// agree with one another.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "convert/set_check.h"
#include "fbx/import_fbx.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    vorel::ImportOptions options;
    vorel::ImportedSet result;
    vorel::LoadError error;
    if (!vorel::importFbxBytes(bytes, "fuzz.fbx", options, result, error)) {
        const std::string line = error.describe();
        if (line.rfind("fuzz.fbx: ", 0) != 0 || line.find('\n') != std::string::npos) std::abort();
        return 0;
    }
    if (result.model == nullptr || result.model->faces.empty()) std::abort();
    if (result.keyAnimations.size() > result.animations.size()) std::abort();
    for (const vorel::Face& face : result.model->faces) {
        for (std::int32_t index : face.positionIndices) {
            if (index < 0 || static_cast<std::size_t>(index) >= result.model->positions.size())
                std::abort();
        }
    }
    vorel::LoadError check;
    if (!vorel::checkSetValues(vorel::setForImport(result), "fuzz.fbx", check)) std::abort();
    return 0;
}
