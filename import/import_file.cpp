// Reading a file once, telling its kind by content, and handing it to its importer.
#include "import/import_file.h"

#include "assets/file_bytes.h"
#include "bvh/bvh_file_kind.h"
#include "fbx/import_fbx.h"
#include "fbx/read_fbx.h"
#include "gltf/import_gltf.h"

namespace vorel {

bool readImportInput(const std::string& path, ImportInput& input, LoadError& error) {
    input.path = path;
    input.bytes.clear();
    if (!readFileBytes(path, input.bytes, &error)) return false;
    input.isCapture = looksLikeBvh(input.bytes);
    input.isFbx = looksLikeFbx(input.bytes);
    return true;
}

bool importInput(const ImportInput& input, const ImportOptions& options, ImportedSet& imported,
                 BvhImportSummary& capture, LoadError& error) {
    if (input.isCapture)
        return importBvhText(input.bytes, input.path, options, imported, capture, error);
    if (input.isFbx) return importFbxBytes(input.bytes, input.path, options, imported, error);
    // NOTE: glTF is read again by path: a .gltf names its buffers relative to its own folder.
    return importGltf(input.path, options, imported, error);
}

}  // namespace vorel
