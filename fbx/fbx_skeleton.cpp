// Joints in the rig's pre-order, rest frames parents first, then names and bone points.
#include "fbx/fbx_skeleton.h"

#include "convert/place_bones.h"
#include "convert/unique_name.h"

namespace vorel {

namespace {

// Each linked model's bind matrix from the first cluster that gives one.
std::vector<const AffineTransform*> bindMatrices(const FbxScene& scene) {
    std::vector<const AffineTransform*> binds(scene.models.size(), nullptr);
    for (const FbxCluster& cluster : scene.clusters) {
        if (cluster.model < 0 || !cluster.hasTransformLink) continue;
        const AffineTransform*& bind = binds[static_cast<std::size_t>(cluster.model)];
        if (!bind) bind = &cluster.transformLink;
    }
    return binds;
}

AffineTransform restFrameOf(const FbxScene& scene, const FbxRig& rig, const FbxAxes& axes,
                            int model, const AffineTransform* bind,
                            const AffineTransform* parentRest) {
    if (bind) return axes.matrix(*bind);
    const int above = rig.jointAbove[static_cast<std::size_t>(model)];
    if (!parentRest) return axes.matrix(rig.restGlobal[static_cast<std::size_t>(model)]);
    const AffineTransform relative = fbxChainBelow(scene, rig.restStep, above, model);
    return AffineTransform::compose(axes.matrix(relative), *parentRest);
}

}  // namespace

bool buildFbxSkeleton(const FbxScene& scene, const FbxRig& rig, const FbxAxes& axes,
                      ImportedSkeleton& skeleton, std::vector<std::string>& warnings,
                      LoadError& error) {
    const std::vector<const AffineTransform*> binds = bindMatrices(scene);
    skeleton.boneOfNode.assign(scene.models.size(), -1);
    UniqueNames taken(UniqueNames::Hashes::Distinct);
    for (int model : rig.order) {
        const std::size_t m = static_cast<std::size_t>(model);
        if (!rig.isJoint[m]) continue;
        const int bone = static_cast<int>(skeleton.boneNode.size());
        skeleton.boneOfNode[m] = bone;
        skeleton.boneNode.push_back(model);
        const int above = rig.jointAbove[m];
        const int parent = above < 0 ? -1 : skeleton.boneOfNode[static_cast<std::size_t>(above)];
        skeleton.boneParent.push_back(parent);
        const AffineTransform* parentRest =
            parent < 0 ? nullptr : &skeleton.restFrame[static_cast<std::size_t>(parent)];
        skeleton.restFrame.push_back(restFrameOf(scene, rig, axes, model, binds[m], parentRest));
        AffineTransform inverse;
        if (!skeleton.restFrame.back().inverted(inverse)) {
            return fail(error, "Model '" + scene.models[m].name + "'",
                        "the joint's bind matrix is singular");
        }
        skeleton.restInverse.push_back(inverse);
        std::string name = scene.models[m].name;
        if (name.empty()) name = "joint" + std::to_string(model);
        const std::string original = name;
        if (makeNameUnique(name, taken)) {
            warnings.push_back("joint '" + original + "' renamed '" + name +
                               "': its name or name hash was taken");
        }
        skeleton.names.push_back(name);
    }
    placeBones(skeleton);
    return true;
}

}  // namespace vorel
