// Reads the capture, builds its figure and animation, names them and fits them to the view.
#include "bvh/import_bvh.h"

#include "assets/file_bytes.h"
#include "bvh/bvh_animation.h"
#include "bvh/bvh_figure.h"
#include "bvh/bvh_in_place.h"
#include "bvh/read_bvh.h"
#include "convert/assemble_model.h"
#include "convert/finish_import.h"
#include "convert/imported_names.h"

namespace vorel {

namespace {

// The animation file's 16-bit track count bounds the bones that can move.
constexpr std::size_t MaxBones = 65535;
// Every joint below another is a part of the drawn body, some 26 points, 32 faces and 128
// normals: about 40 KB once assembled and written, from a few dozen bytes of the file. Real
// figures have tens or hundreds of parts; past this many the body is not drawn but refused.
constexpr std::size_t MaxBodyParts = 4096;

BvhImportSummary summarise(const BvhMotion& motion) {
    BvhImportSummary summary;
    summary.jointCount = motion.joints.size();
    for (const BvhJoint& joint : motion.joints) summary.endSiteCount += joint.endSite ? 1 : 0;
    summary.channelCount = motion.valuesPerFrame;
    summary.frameCount = motion.frameCount;
    summary.frameTime = motion.frameTime;
    return summary;
}

std::size_t bodyPartCount(const BvhMotion& motion) {
    std::size_t parts = 0;
    for (const BvhJoint& joint : motion.joints) parts += joint.parent >= 0 ? 1 : 0;
    return parts;
}

}  // namespace

bool importBvhText(const std::string& text, const std::string& path, const ImportOptions& options,
                   ImportedSet& result, BvhImportSummary& summary, LoadError& error) {
    BvhMotion motion;
    if (!readBvh(text, path, motion, error)) return false;
    summary = summarise(motion);
    if (!options.keys.empty())
        return fail(error, "", "--keys names glTF animations; a BVH file holds one motion");
    if (!checkBvhHasFrames(motion, path, error)) return false;
    if (options.inPlace) holdRootsInPlace(motion);
    if (summary.jointCount - summary.endSiteCount > MaxBones) {
        return fail(error, "",
                    std::to_string(summary.jointCount - summary.endSiteCount) +
                        " joints, more than an animation file can move");
    }
    const std::size_t parts = bodyPartCount(motion);
    if (parts > MaxBodyParts) {
        return fail(error, "",
                    std::to_string(parts) + " joints below others, more than the " +
                        std::to_string(MaxBodyParts) + " body parts a figure is drawn with");
    }
    BvhFigure figure = buildBvhFigure(motion, bvhBindOrigins(motion));
    if (figure.mesh.positions.empty())
        return fail(error, "", "every joint lies on one point: there is no body to draw");
    result.boneCount = figure.skeleton.boneNode.size();
    result.model = assembleModel(figure.skeleton, figure.mesh);
    result.modelName = modelNameForPath(path);
    const std::string miscount = frameCountWarning(motion);
    if (!miscount.empty()) result.warnings.push_back(path + ": " + miscount);

    AnimationImportOptions animationOptions;
    animationOptions.speed = options.speed;
    animationOptions.tolerances = importTolerances(modelHeight(*result.model));
    ImportedAnimation animation;
    animation.name = result.modelName;
    if (!buildBvhAnimation(motion, figure, animationOptions, animation, error)) return false;
    result.animations.push_back(std::move(animation));
    result.keyAnimations = {0};
    nameAnimations(result);
    return finishImport(result, options, path, error);
}

bool importBvh(const std::string& path, const ImportOptions& options, ImportedSet& result,
               BvhImportSummary& summary, LoadError& error) {
    std::string text;
    if (!readFileBytes(path, text, &error)) return false;
    return importBvhText(text, path, options, result, summary, error);
}

}  // namespace vorel
