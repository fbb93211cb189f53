// importIntoPage: read, import, write the set whole, then show it; any step that fails leaves
// the page as it was.
#include "web/page_import.h"

#include "assets/file_bytes.h"
#include "assets/write_set.h"
#include "bvh/bvh_file_kind.h"
#include "bvh/import_bvh.h"
#include "gltf/import_gltf.h"
#include "web/shown_set.h"

namespace vorel {

namespace {

// Told apart by content, as vorel-import tells them apart: a BVH capture or glTF.
bool importByKind(const std::string& inputPath, ImportedSet& imported, std::string& problem) {
    std::string bytes;
    LoadError error;
    bool done = readFileBytes(inputPath, bytes, &error);
    if (done && looksLikeBvh(bytes)) {
        BvhImportSummary summary;
        done = importBvhText(bytes, inputPath, ImportOptions(), imported, summary, error);
    } else if (done) {
        done = importGltf(inputPath, ImportOptions(), imported, error);
    }
    if (!done) problem = error.describe();
    return done;
}

}  // namespace

bool importIntoPage(const std::string& inputPath, const std::string& setFolder,
                    WebGLFigureRenderer& renderer, std::vector<std::string>& keyNames,
                    std::string& problem) {
    ImportedSet imported;
    if (!importByKind(inputPath, imported, problem)) return false;
    if (!writeSetAtomically(setForImport(imported), setFolder, problem)) {
        problem = setFolder + ": " + problem;
        return false;
    }
    if (!showManifest(setFolder + "/vorel.txt", renderer, problem)) return false;
    keyNames.clear();
    for (std::size_t animation : imported.keyAnimations)
        keyNames.push_back(imported.animations[animation].name);
    return true;
}

}  // namespace vorel
