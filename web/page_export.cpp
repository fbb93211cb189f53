// exportShownSet: the files of the shown manifest, recorded on a figure made for the purpose,
// turned into glTF and written.
#include "web/page_export.h"

#include <vector>

#include "anim/record_motion.h"
#include "app/app_state.h"
#include "gltf/gltf_export.h"
#include "gltf/write_gltf_file.h"
#include "tools/common/manifest_files.h"
#include "tools/common/record_session.h"
#include "web/shown_set.h"

namespace vorel {

bool exportShownSet(const std::string& outputPath, std::string& problem) {
    if (library == nullptr) {
        problem = "no set is shown";
        return false;
    }
    ManifestFiles files;
    if (!manifestFiles(shownManifestPath(), files, problem)) return false;
    const ModelData& model = *library->models.front();
    const std::vector<const BoneData*> bones = bonesInWalkOrder(model);
    Figure recorder(library);
    std::vector<RecordedMotion> motions;
    tinygltf::Model gltf;
    GltfExportSummary summary;
    const double glTFSecondsPerClockUnit = 1.0;
    if (!recordSetAnimations(recorder, files, glTFSecondsPerClockUnit, bones, motions, problem) ||
        !exportGltf(model, library->modelNames.front(), motions, gltf, summary, problem)) {
        problem = shownManifestPath() + ": " + problem;
        return false;
    }
    if (!writeGltfAtomically(gltf, outputPath, GltfContainer::Binary, problem)) {
        problem = outputPath + ": " + problem;
        return false;
    }
    return true;
}

}  // namespace vorel
