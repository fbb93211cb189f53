// Builds the default set and writes it: the model first, then one file per dance, then the
// manifest with paths relative to the folder so the viewer can run from inside it.
#include "dancer/default_set.h"

#include <filesystem>
#include <vector>

#include "assets/save_animation.h"
#include "assets/save_manifest.h"
#include "assets/save_model.h"
#include "dancer/dance_animation.h"
#include "dancer/dancer_model.h"

namespace vorel {

const char* const ManifestFileName = "vorel.txt";

namespace {

const char* const ModelName = "Dancer";
const char* const ModelFileName = "dancer.ply";

std::string inFolder(const std::string& folder, const std::string& file) {
    return (std::filesystem::path(folder) / file).string();
}

}  // namespace

bool writeDefaultSet(const std::string& folder, std::string& error) {
    std::error_code created;
    std::filesystem::create_directories(folder, created);
    if (created) {
        error = "cannot create " + folder + ": " + created.message();
        return false;
    }
    const BodyProportions body;
    const SkeletonLayout skeleton = makeSkeletonLayout(body);
    const auto model = buildDancerModel(body, skeleton);
    if (!saveModel(*model, inFolder(folder, ModelFileName))) {
        error = "cannot write " + inFolder(folder, ModelFileName);
        return false;
    }

    const PoseBook poses = makePoseBook();
    std::vector<ManifestEntry> animations;
    for (const Dance& dance : makeDances()) {
        const auto animation = buildDanceAnimation(dance, poses, skeleton, error);
        if (!animation) return false;
        if (!saveAnimation(*animation, inFolder(folder, dance.fileName))) {
            error = "cannot write " + inFolder(folder, dance.fileName);
            return false;
        }
        animations.push_back({dance.name, dance.fileName});
    }
    if (!saveManifest(inFolder(folder, ManifestFileName), {{ModelName, ModelFileName}},
                      animations)) {
        error = "cannot write " + inFolder(folder, ManifestFileName);
        return false;
    }
    return true;
}

}  // namespace vorel
