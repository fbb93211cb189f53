// The rig is built once per import; posing then only multiplies steps along short chains.
#include "fbx/fbx_rig.h"

#include <algorithm>

#include "fbx/fbx_transform.h"

namespace vorel {

AffineTransform fbxModelStep(const FbxScene& scene, int model, const AffineTransform& local) {
    const FbxModel& m = scene.models[static_cast<std::size_t>(model)];
    if (m.parent < 0) return local;
    const Point3d& parentScaling =
        scene.models[static_cast<std::size_t>(m.parent)].transform.scaling;
    return fbxChildGlobal(AffineTransform{}, parentScaling, m.transform.inheritType, local);
}

AffineTransform fbxChainBelow(const FbxScene& scene, const std::vector<AffineTransform>& steps,
                              int ancestor, int model) {
    AffineTransform result;
    for (int at = model; at != ancestor && at >= 0;
         at = scene.models[static_cast<std::size_t>(at)].parent) {
        result = AffineTransform::compose(result, steps[static_cast<std::size_t>(at)]);
    }
    return result;
}

FbxRig buildFbxRig(const FbxScene& scene) {
    const std::size_t count = scene.models.size();
    FbxRig rig;
    std::vector<std::vector<int>> children(count);
    std::vector<int> roots;
    for (std::size_t m = 0; m < count; ++m) {
        const int parent = scene.models[m].parent;
        (parent < 0 ? roots : children[static_cast<std::size_t>(parent)])
            .push_back(static_cast<int>(m));
    }
    std::vector<int> stack(roots.rbegin(), roots.rend());
    while (!stack.empty()) {
        const int model = stack.back();
        stack.pop_back();
        rig.order.push_back(model);
        const std::vector<int>& below = children[static_cast<std::size_t>(model)];
        stack.insert(stack.end(), below.rbegin(), below.rend());
    }
    rig.isJoint.assign(count, 0);
    for (std::size_t m = 0; m < count; ++m) {
        const std::string& type = scene.models[m].type;
        rig.isJoint[m] = type == "LimbNode" || type == "Root";
    }
    for (const FbxCluster& cluster : scene.clusters) {
        if (cluster.model >= 0) rig.isJoint[static_cast<std::size_t>(cluster.model)] = 1;
    }
    rig.jointAbove.assign(count, -1);
    rig.chainToJoint.assign(count, {});
    rig.restStep.resize(count);
    rig.restGlobal.resize(count);
    for (int model : rig.order) {
        const std::size_t m = static_cast<std::size_t>(model);
        const int parent = scene.models[m].parent;
        rig.restStep[m] =
            fbxModelStep(scene, model, fbxRestLocalTransform(scene.models[m].transform));
        rig.restGlobal[m] =
            parent < 0 ? rig.restStep[m]
                       : AffineTransform::compose(rig.restStep[m],
                                                  rig.restGlobal[static_cast<std::size_t>(parent)]);
        if (parent >= 0) {
            const std::size_t p = static_cast<std::size_t>(parent);
            rig.jointAbove[m] = rig.isJoint[p] ? parent : rig.jointAbove[p];
        }
    }
    for (int model : rig.order) {
        const std::size_t m = static_cast<std::size_t>(model);
        if (!rig.isJoint[m]) continue;
        std::vector<int>& chain = rig.chainToJoint[m];
        for (int at = model; at != rig.jointAbove[m] && at >= 0;
             at = scene.models[static_cast<std::size_t>(at)].parent) {
            chain.push_back(at);
        }
        std::reverse(chain.begin(), chain.end());
    }
    return rig;
}

}  // namespace vorel
