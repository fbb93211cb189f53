// importIntoPage: read, import, write the set whole, then show it; any step that fails leaves
// the page as it was.
#include "web/page_import.h"

#include "assets/write_set.h"
#include "fbx/import_fbx.h"
#include "import/import_file.h"
#include "web/shown_set.h"

namespace vorel {

namespace {

void nameKeys(const ImportedSet& set, std::vector<std::string>& keyNames) {
    keyNames.clear();
    for (std::size_t animation : set.keyAnimations)
        keyNames.push_back(set.animations[animation].name);
}

// An FBX file the import refused that still holds joints and animation stacks but not a
// polygon: motion alone, which vorel-retarget takes as a source.
bool readMotionOnly(const ImportInput& input, PageImport& imported) {
    if (!input.isFbx) return false;
    ImportedSet motion;
    LoadError ignored;
    if (!importFbxMotion(input.path, motion, ignored) || !motion.model->faces.empty() ||
        motion.keyAnimations.empty()) {
        return false;
    }
    nameKeys(motion, imported.keyNames);
    imported.motionOnly = true;
    return true;
}

}  // namespace

bool importIntoPage(const std::string& inputPath, const std::string& setFolder,
                    WebGLFigureRenderer& renderer, PageImport& imported, std::string& problem) {
    // Told apart by content, as vorel-import tells them apart: a BVH capture, FBX or glTF.
    ImportInput input;
    ImportedSet set;
    BvhImportSummary capture;
    LoadError error;
    if (!readImportInput(inputPath, input, error) ||
        !importInput(input, ImportOptions(), set, capture, error)) {
        if (readMotionOnly(input, imported)) return true;
        problem = error.describe();
        return false;
    }
    if (!writeSetAtomically(setForImport(set), setFolder, problem)) {
        problem = setFolder + ": " + problem;
        return false;
    }
    if (!showManifest(setFolder + "/vorel.txt", renderer, problem)) return false;
    nameKeys(set, imported.keyNames);
    imported.motionOnly = false;
    return true;
}

}  // namespace vorel
