// Figure: the playing list and the per-frame work of the animated character: expiry, the
// per-bone blend of every playing track, skinning and the advance of local times.
#include "anim/figure.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "math/hash_name.h"

namespace vorel {

namespace {

// The hash rounded to the nearest float, plus the start time in double precision, truncated
// toward zero; the result is the low 32 bits read as signed. fmod keeps exactly those bits for
// any finite sum; a start time that is not finite counts as 0.
std::int32_t animationId(std::uint32_t hash, float startTime) {
    const double start = std::isfinite(startTime) ? double{startTime} : 0.0;
    const double sum = double{static_cast<float>(hash)} + start;
    constexpr double TwoTo32 = 4294967296.0;
    double lowBits = std::fmod(std::trunc(sum), TwoTo32);
    if (lowBits < 0.0) lowBits += TwoTo32;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(lowBits));
}

}  // namespace

Figure::Figure(const AssetLibrary* assetLibrary) : library(assetLibrary) {
    for (const std::unique_ptr<ModelData>& model : library->models) {
        instances.push_back(std::make_unique<ModelInstance>(model.get()));
    }
    for (const std::unique_ptr<AnimationData>& animation : library->animations) {
        clips.push_back(std::make_unique<AnimationClip>(animation.get()));
    }
    for (const std::unique_ptr<ModelInstance>& instance : instances) {
        posedBones.push_back(poseBonesOf(*instance));
    }
}

Figure::PosedBones Figure::poseBonesOf(ModelInstance& instance) const {
    std::vector<BoneNode*> nodes;
    std::vector<std::uint32_t> hashes;
    PendingBones<BoneNode> pending;
    walkBones(instance.root.get(), pending, [&nodes, &hashes](BoneNode& node) {
        nodes.push_back(&node);
        hashes.push_back(node.bone->nameHash);
    });
    return PosedBones{std::move(nodes), PoseBlend(hashes, clips)};
}

Figure::~Figure() = default;

std::int32_t Figure::startAnimation(ActiveAnimation& animation) {
    const std::vector<std::string>& names = library->animationNames;
    const auto found = std::find(names.begin(), names.end(), animation.name);
    if (found == names.end()) return 0;
    animation.hash = hashName(animation.name);
    animation.id = animationId(animation.hash, animation.startTime);
    animation.clip = clips[static_cast<std::size_t>(found - names.begin())].get();
    appendRecord(animation);
    return animation.id;
}

void Figure::stopAnimation(std::int32_t id) {
    const auto found =
        std::find_if(playing.begin(), playing.end(),
                     [id](const ActiveAnimation& record) { return record.id == id; });
    if (found != playing.end()) retire(found);
}

void Figure::update(float step) {
    retireExpired();
    applyAnimations();
    instances[static_cast<std::size_t>(currentModel)]->skin();
    advanceLocalTimes(step);
}

void Figure::advanceLocalTimes(float step) {
    for (ActiveAnimation& record : playing) record.localTime += step;
}

// Every bone of the instance is in the list, so every local matrix is set afresh.
void Figure::applyAnimations() {
    PosedBones& posed = posedBones[static_cast<std::size_t>(currentModel)];
    const std::vector<BoneTransform>& blends = posed.blend.blend(playing);
    for (std::size_t bone = 0; bone < blends.size(); ++bone) {
        posed.nodes[bone]->setTransform(blends[bone]);
    }
}

void Figure::appendRecord(const ActiveAnimation& animation) {
    if (spareRecords.empty()) {
        playing.push_back(animation);
        return;
    }
    playing.splice(playing.end(), spareRecords, spareRecords.begin());
    playing.back() = animation;
}

void Figure::retire(std::list<ActiveAnimation>::iterator record) {
    spareRecords.splice(spareRecords.end(), playing, record);
}

void Figure::retireExpired() {
    for (auto record = playing.begin(); record != playing.end();) {
        const auto next = std::next(record);
        if (record->localTime > record->clip->data->header->duration) retire(record);
        record = next;
    }
}

}  // namespace vorel
