// A foot counts as near the floor when its head is in the lowest third of the height of the
// travelling bone, and its shin's head (the knee) is not: a hanging hand is near the hips, an
// ankle a few percent above the floor, a toe's parent is the foot.
#include "retarget/leg_chains.h"

#include <string>

namespace vorel {

namespace {

constexpr double FootReach = 1.0 / 3.0;

bool driven(const LegSearch& search, int bone) {
    return bone >= 0 && !(*search.groups)[static_cast<std::size_t>(bone)].empty();
}

// A driven foot that hangs from another bone than its shin: the bone that follows the source
// joint below a driven shin's (thigh above it driven too) but is not the shin's child, as an
// IK rig's foot is. Says which, or "" when there is none.
std::string footHungElsewhere(const LegSearch& search) {
    const std::vector<int>& parents = *search.parents;
    const JointGroups& groups = *search.groups;
    for (std::size_t shin = 0; shin < parents.size(); ++shin) {
        if (!driven(search, static_cast<int>(shin)) || !driven(search, parents[shin])) continue;
        for (std::size_t foot = 0; foot < parents.size(); ++foot) {
            if (!driven(search, static_cast<int>(foot)) ||
                parents[foot] == static_cast<int>(shin) ||
                (*search.sourceParents)[static_cast<std::size_t>(groups[foot].front())] !=
                    groups[shin].back())
                continue;
            const std::vector<std::string>& names = *search.names;
            const std::string hangsFrom =
                parents[foot] < 0 ? std::string("no bone")
                                  : "'" + names[static_cast<std::size_t>(parents[foot])] + "'";
            return "the foot '" + names[foot] + "' hangs from " + hangsFrom +
                   ", not from the shin '" + names[shin] +
                   "', so turning the thigh and shin cannot put it down";
        }
    }
    return {};
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
        whyNone = footHungElsewhere(search);
        if (!whyNone.empty()) return legs;
        whyNone = lowChainOfOtherLength
                      ? "the map drives a bone near the floor but not the two above it "
                        "(thigh and shin)"
                      : "the map drives no foot near the floor below a thigh and a shin";
    }
    return legs;
}

}  // namespace vorel
