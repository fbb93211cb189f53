// The glTF file imported unfitted, then its animation followed.
#include "retarget/gltf_source.h"

#include "gltf/import_gltf.h"
#include "retarget/imported_source.h"

namespace vorel {

bool sourceFromGltf(const std::string& path, const std::string& animationName, SourceMotion& motion,
                    LoadError& error) {
    ImportOptions options;
    options.fitToView = false;
    ImportedSet imported;
    if (!importGltf(path, options, imported, error)) return false;
    return sourceFromImported(imported, animationName, "/animations", motion, error);
}

}  // namespace vorel
