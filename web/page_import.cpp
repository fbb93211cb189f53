// importIntoPage: read, import, write the set whole, then show it; any step that fails leaves
// the page as it was.
#include "web/page_import.h"

#include "assets/write_set.h"
#include "import/import_file.h"
#include "web/shown_set.h"

namespace vorel {

namespace {

// Told apart by content, as vorel-import tells them apart: a BVH capture, FBX or glTF.
bool importByContent(const std::string& inputPath, ImportedSet& imported, std::string& problem) {
    ImportInput input;
    BvhImportSummary capture;
    LoadError error;
    if (readImportInput(inputPath, input, error) &&
        importInput(input, ImportOptions(), imported, capture, error)) {
        return true;
    }
    problem = error.describe();
    return false;
}

}  // namespace

bool importIntoPage(const std::string& inputPath, const std::string& setFolder,
                    WebGLFigureRenderer& renderer, std::vector<std::string>& keyNames,
                    std::string& problem) {
    ImportedSet imported;
    if (!importByContent(inputPath, imported, problem)) return false;
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
