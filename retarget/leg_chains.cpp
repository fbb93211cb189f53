// A foot counts as near the floor when its head is in the lowest third of the height of the
// travelling bone, and its shin's head (the knee) is not: a hanging hand is near the hips, an
// ankle a few percent above the floor, a toe's parent is the foot.
#include "retarget/leg_chains.h"

namespace vorel {

namespace {

constexpr double FootReach = 1.0 / 3.0;

bool driven(const LegSearch& search, int bone) {
    return bone >= 0 && !(*search.groups)[static_cast<std::size_t>(bone)].empty();
}

}  // namespace

std::vector<LegChain> findLegChains(const LegSearch& search, std::string& whyNone) {
    std::vector<LegChain> legs;
    const std::vector<int>& parents = *search.parents;
    const double lowEnough = search.ground + FootReach * (search.rootHeight - search.ground);
    bool lowChainOfOtherLength = false;
    for (std::size_t foot = 0; foot < parents.size(); ++foot) {
        if (!driven(search, static_cast<int>(foot)) || (*search.heads)[foot].y > lowEnough)
            continue;
        const int shin = parents[foot];
        const int thigh = shin >= 0 ? parents[static_cast<std::size_t>(shin)] : -1;
        if (!driven(search, shin) || !driven(search, thigh)) {
            lowChainOfOtherLength = true;
            continue;
        }
        // A toe below a mapped foot is near the floor too, but so is its parent.
        if ((*search.heads)[static_cast<std::size_t>(shin)].y <= lowEnough) continue;
        const std::vector<int>& group = (*search.groups)[foot];
        LegChain leg;
        leg.thigh = static_cast<std::size_t>(thigh);
        leg.shin = static_cast<std::size_t>(shin);
        leg.foot = foot;
        leg.ankle = group.front();
        leg.toe = group.size() > 1 ? group.back() : (*search.pointsAt)[foot];
        legs.push_back(leg);
    }
    if (legs.empty()) {
        whyNone = lowChainOfOtherLength
                      ? "the map drives a bone near the floor but not the two above it "
                        "(thigh and shin)"
                      : "the map drives no foot near the floor below a thigh and a shin";
    }
    return legs;
}

}  // namespace vorel
