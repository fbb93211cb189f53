#include "retarget/gltf_source.h"

#include <cmath>

#include "interop/import_gltf.h"
#include "retarget/animation_poser.h"

namespace vorel {

namespace {

bool fail(LoadError& error, const std::string& message) {
    error.section = "/animations";
    error.offset = -1;
    error.message = message;
    return false;
}

const ImportedAnimation* findAnimation(const GltfImport& imported, const std::string& name) {
    for (const ImportedAnimation& animation : imported.animations) {
        if (animation.name == name) return &animation;
    }
    return nullptr;
}

std::string animationList(const GltfImport& imported) {
    std::string list;
    for (const ImportedAnimation& animation : imported.animations) {
        list += (list.empty() ? "" : ", ") + ("'" + animation.name + "'");
    }
    return list.empty() ? "none" : list;
}

}  // namespace

bool sourceFromGltf(const std::string& path, const std::string& animationName,
                    SourceMotion& motion, LoadError& error) {
    GltfImportOptions options;
    options.fitToView = false;
    GltfImport imported;
    if (!importGltf(path, options, imported, error)) return false;
    if (imported.staticBone) return fail(error, "the file has no skin, so no joints to follow");
    const ImportedAnimation* animation = findAnimation(imported, animationName);
    if (animation == nullptr) {
        return fail(error, "no animation named '" + animationName + "' (the file has " +
                               animationList(imported) + ")");
    }
    AnimationPoser poser(*imported.model, *animation->data);
    const BoneList& bones = poser.bones();
    motion = SourceMotion{};
    for (std::size_t b = 0; b < bones.bones.size(); ++b) {
        motion.names.push_back(bones.bones[b]->name);
        motion.parents.push_back(bones.parents[b]);
        motion.rest.push_back(AffineTransform::fromMatrix4(bones.bones[b]->returnMatrix));
    }
    motion.frameTime = GltfSourceFrameTime;
    const double duration = animation->data->header->duration;
    motion.frameCount = static_cast<int>(std::floor(duration / motion.frameTime + 1e-6)) + 1;
    motion.frames.reserve(static_cast<std::size_t>(motion.frameCount) * bones.bones.size());
    for (int f = 0; f < motion.frameCount; ++f) {
        poser.pose(static_cast<float>(f * motion.frameTime));
        for (std::size_t b = 0; b < bones.bones.size(); ++b) {
            motion.frames.push_back(AffineTransform::compose(motion.rest[b],
                                                             AffineTransform::fromMatrix4(poser.boneWorlds()[b])));
        }
    }
    return true;
}

}  // namespace vorel
