// Reads the capture, builds its figure and animation, names them and fits them to the view.
#include "bvh/import_bvh.h"

#include "assets/file_bytes.h"
#include "bvh/bvh_animation.h"
#include "bvh/bvh_figure.h"
#include "bvh/read_bvh.h"
#include "convert/assemble_model.h"
#include "convert/imported_names.h"

namespace vorel {

namespace {

// The animation file's 16-bit track count bounds the bones that can move.
constexpr std::size_t MaxBones = 65535;

BvhImportSummary summarise(const BvhMotion& motion) {
    BvhImportSummary summary;
    summary.jointCount = motion.joints.size();
    for (const BvhJoint& joint : motion.joints) summary.endSiteCount += joint.endSite ? 1 : 0;
    summary.channelCount = motion.valuesPerFrame;
    summary.frameCount = motion.frameCount;
    summary.frameTime = motion.frameTime;
    return summary;
}

}  // namespace

bool importBvhText(const std::string& text, const std::string& path, const ImportOptions& options,
                   ImportedSet& result, BvhImportSummary& summary, LoadError& error) {
    BvhMotion motion;
    if (!readBvh(text, path, motion, error)) return false;
    summary = summarise(motion);
    if (!options.keys.empty())
        return fail(error, "", "--keys names glTF animations; a BVH file holds one motion");
    if (motion.frameCount == 0) return fail(error, "", "the capture has no frames");
    if (summary.jointCount - summary.endSiteCount > MaxBones) {
        return fail(error, "",
                    std::to_string(summary.jointCount - summary.endSiteCount) +
                        " joints, more than an animation file can move");
    }
    BvhFigure figure = buildBvhFigure(motion, bvhBindOrigins(motion));
    if (figure.mesh.positions.empty())
        return fail(error, "", "every joint lies on one point: there is no body to draw");
    result.boneCount = figure.skeleton.boneNode.size();
    result.model = assembleModel(figure.skeleton, figure.mesh);
    result.modelName = modelNameForPath(path);

    AnimationImportOptions animationOptions;
    animationOptions.speed = options.speed;
    animationOptions.tolerances = importTolerances(modelHeight(*result.model));
    ImportedAnimation animation;
    animation.name = result.modelName;
    if (!buildBvhAnimation(motion, figure, animationOptions, animation, error)) return false;
    result.animations.push_back(std::move(animation));
    result.keyAnimations = {0};
    nameAnimations(result);
    if (options.fitToView) {
        result.fit = fitForView(*result.model, options.height);
        applyFit(result.fit, *result.model, {result.animations[0].data.get()});
    }
    return true;
}

bool importBvh(const std::string& path, const ImportOptions& options, ImportedSet& result,
               BvhImportSummary& summary, LoadError& error) {
    std::string text;
    if (!readFileBytes(path, text, &error)) return false;
    return importBvhText(text, path, options, result, summary, error);
}

}  // namespace vorel
