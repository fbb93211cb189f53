// The seven dances as beats on the clock (0.01 per frame). Each starts and ends in the rest
// pose so that starting and expiring never snap the figure. Poses come from poses.cpp.
#include "dancer/dance.h"

namespace vorel {

namespace {

constexpr Ease Hold = Ease::Hold;
constexpr Ease Straight = Ease::Straight;
constexpr Ease Smooth = Ease::Smooth;

Dance cancan() {
    return {"Cancan",
            "cancan.anim",
            6.4f,
            true,
            {{0.0f, "rest", Smooth},
             {0.4f, "cancan_ready", Smooth},
             {0.85f, "cancan_knee_l", Smooth},
             {1.25f, "cancan_kick_l", Smooth},
             {1.65f, "cancan_ready", Smooth},
             {2.05f, "cancan_knee_r", Smooth},
             {2.45f, "cancan_kick_r", Smooth},
             {2.85f, "cancan_ready", Smooth},
             {3.2f, "cancan_kick_l", Smooth},
             {3.55f, "cancan_ready", Smooth},
             {3.9f, "cancan_kick_r", Smooth},
             {4.25f, "cancan_ready", Smooth},
             {4.6f, "cancan_kick_l", Smooth},
             {4.95f, "cancan_ready", Smooth},
             {5.3f, "cancan_kick_r", Smooth},
             {5.75f, "cancan_ready", Smooth},
             {6.4f, "rest", Smooth}}};
}

Dance joyousWalk() {
    Dance dance{"Joyous Walk", "joyous_walk.anim", 4.8f, false, {{0.0f, "rest", Smooth}}};
    const char* const skips[] = {"skip_l", "skip_r"};
    for (int step = 0; step < 6; ++step) {
        const float start = 0.3f + 0.6f * static_cast<float>(step);
        dance.beats.push_back({start, "skip_land", Smooth});
        dance.beats.push_back({start + 0.3f, skips[step % 2], Smooth});
    }
    dance.beats.push_back({3.9f, "skip_land", Smooth});
    dance.beats.push_back({4.8f, "rest", Smooth});
    return dance;
}

Dance strut() {
    return {"Strut",
            "strut.anim",
            6.0f,
            true,
            {{0.0f, "rest", Smooth},
             {0.6f, "strut_l", Smooth},
             {1.4f, "strut_r", Smooth},
             {2.2f, "strut_l", Smooth},
             {3.0f, "strut_r", Smooth},
             {3.8f, "strut_pose", Hold},
             {4.8f, "strut_pose", Smooth},
             {6.0f, "rest", Smooth}}};
}

// Two kicks, right then left, each drawn up, shot out, held a moment and taken back.
Dance chambered(const char* name, const char* file, const std::string& kick, float duration) {
    const float s = duration / 4.0f;
    return {name,
            file,
            duration,
            false,
            {{0.0f, "rest", Smooth},
             {0.4f * s, "kick_ready", Smooth},
             {0.8f * s, "kick_chamber_r", Straight},
             {1.1f * s, kick + "_r", Hold},
             {1.4f * s, kick + "_r", Smooth},
             {1.8f * s, "kick_chamber_r", Smooth},
             {2.1f * s, "kick_ready", Smooth},
             {2.45f * s, "kick_chamber_l", Straight},
             {2.75f * s, kick + "_l", Hold},
             {3.05f * s, kick + "_l", Smooth},
             {3.45f * s, "kick_ready", Smooth},
             {4.0f * s, "rest", Smooth}}};
}

// Quick low kicks from the ready stance, three of them.
Dance lowKick() {
    return {"LowKick",
            "low_kick.anim",
            3.2f,
            false,
            {{0.0f, "rest", Smooth},
             {0.3f, "kick_ready", Straight},
             {0.65f, "kick_low_r", Straight},
             {1.0f, "kick_ready", Straight},
             {1.35f, "kick_low_l", Straight},
             {1.7f, "kick_ready", Straight},
             {2.05f, "kick_low_r", Straight},
             {2.45f, "kick_ready", Smooth},
             {3.2f, "rest", Smooth}}};
}

Dance salute() {
    return {"Salute",
            "salute.anim",
            4.0f,
            true,
            {{0.0f, "rest", Straight},
             {0.5f, "attention", Hold},
             {0.9f, "attention", Straight},
             {1.2f, "salute", Hold},
             {2.6f, "salute", Smooth},
             {3.2f, "attention", Hold},
             {3.5f, "attention", Smooth},
             {4.0f, "rest", Smooth}}};
}

}  // namespace

std::vector<Dance> makeDances() {
    return {cancan(),
            joyousWalk(),
            strut(),
            chambered("HighKick", "high_kick.anim", "kick_high", 4.0f),
            chambered("MidKick", "mid_kick.anim", "kick_mid", 3.6f),
            lowKick(),
            salute()};
}

}  // namespace vorel
