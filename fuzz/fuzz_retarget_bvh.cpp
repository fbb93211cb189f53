// Fuzz target for the retargeting: any text the BVH reader accepts is put on the default
// dancer with the built-in map it matches best, and is either refused with one line or gives
// an animation whose every key is a finite number at a finite, increasing time.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "assets/load_model.h"
#include "assets/save_model.h"
#include "bvh/read_bvh.h"
#include "dancer/body_proportions.h"
#include "dancer/dancer_model.h"
#include "retarget/bvh_source.h"
#include "retarget/dancer_skirt.h"
#include "retarget/key_reduction.h"
#include "retarget/retarget_motion.h"

namespace {

// The dancer as a loaded model holds her rest matrices; written and read back once.
const vorel::ModelData& dancer() {
    static const std::unique_ptr<vorel::ModelData> model = [] {
        const vorel::BodyProportions body;
        const auto built = vorel::buildDancerModel(body, vorel::makeSkeletonLayout(body));
        return vorel::loadModelFromBytes(vorel::encodeModel(*built), "dancer.ply");
    }();
    return *model;
}

// Keeps each input quick: the retarget's cost grows with frames times joints.
constexpr double MaxJointFrames = 20000;

bool soundKeys(const vorel::AnimationData& animation) {
    for (const vorel::TrackData& track : animation.tracks) {
        for (const std::vector<vorel::Keyframe>& keys : track.channels) {
            for (std::size_t k = 0; k < keys.size(); ++k) {
                if (!std::isfinite(keys[k].value) || !std::isfinite(keys[k].time)) return false;
                if (k > 0 && !(keys[k].time > keys[k - 1].time)) return false;
            }
        }
    }
    return std::isfinite(animation.header->duration);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    vorel::BvhMotion bvh;
    vorel::LoadError error;
    if (!vorel::readBvh(text, "fuzz.bvh", bvh, error)) return 0;
    if (static_cast<double>(bvh.frameCount) * static_cast<double>(bvh.joints.size()) >
        MaxJointFrames)
        return 0;
    vorel::SourceMotion source;
    if (!vorel::sourceFromBvh(bvh, "fuzz.bvh", source, error)) std::abort();
    const vorel::BoneList bones = vorel::listBones(dancer());
    vorel::JointGroups groups;
    if (!vorel::resolveBoneMap(vorel::builtInMapFor(source), source, bones, groups, error))
        return 0;
    vorel::RetargetOptions options;
    vorel::addDancerSkirtRule(bones, options);
    vorel::RetargetedMotion motion;
    std::string problem;
    if (!vorel::retargetMotion(source, dancer(), groups, options, motion, problem)) {
        if (problem.empty() || problem.find('\n') != std::string::npos) std::abort();
        return 0;
    }
    const vorel::ReducedAnimation reduced =
        vorel::buildReducedAnimation(motion, bones, vorel::toleranceForHeight(221.0));
    if (!soundKeys(*reduced.data) ||
        reduced.keysAfter > reduced.keysBefore + 10 * reduced.data->tracks.size()) {
        std::abort();
    }
    return 0;
}
