// The plan and the per-frame solve on their own: a frame solved alone gives the motions the
// whole retarget keeps for it, and solving a frame (the dancer's skirt hook included), posing
// the bones and asking the bone spheres about the picture allocate nothing.
#include "retarget/frame_solver.h"

#include <gtest/gtest.h>

#include "retarget/animation_poser.h"
#include "retarget/bone_spheres.h"
#include "retarget/dancer_skirt.h"
#include "retarget/key_reduction.h"
#include "retarget/retarget_motion.h"
#include "tests/dancer/default_set_fixture.h"
#include "tests/retarget/test_capture.h"
#include "tests/support/allocation_counter.h"

namespace vorel {
namespace {

struct Solved {
    SourceMotion source;
    JointGroups groups;
    RetargetOptions options;
    RetargetPlan plan;
};

// A capture whose thigh and arm swing, on the dancer with her skirt rule, planned.
Solved planned(int frames) {
    TestCapture capture(frames);
    for (int f = 0; f < frames; ++f) {
        capture.rotate("LeftUpLeg", f, 0.0f, 0.0f, -8.0f * static_cast<float>(f));
        capture.rotate("RightArm", f, 5.0f * static_cast<float>(f), 0.0f, 0.0f);
    }
    Solved solved;
    solved.source = capture.source();
    LoadError error;
    const BoneList bones = listBones(defaultDancer());
    EXPECT_TRUE(resolveBoneMap(cmuBoneMap(), solved.source, bones, solved.groups, error))
        << error.describe();
    // The solver alone does not plant feet: it is compared with a retarget that does not.
    solved.options.plantFeet = false;
    EXPECT_TRUE(addDancerSkirtRule(bones, solved.options));
    std::string problem;
    EXPECT_TRUE(makeRetargetPlan(solved.source, defaultDancer(), solved.groups, false, solved.plan,
                                 problem))
        << problem;
    return solved;
}

bool sameMotion(const TrsTransform& a, const TrsTransform& b) {
    return a.translation.x == b.translation.x && a.translation.y == b.translation.y &&
           a.translation.z == b.translation.z && a.rotation.x == b.rotation.x &&
           a.rotation.y == b.rotation.y && a.rotation.z == b.rotation.z &&
           a.rotation.w == b.rotation.w;
}

TEST(FrameSolver, AFrameSolvedAloneIsTheFrameTheWholeRetargetKeeps) {
    const Solved s = planned(6);
    RetargetedMotion whole;
    std::string problem;
    ASSERT_TRUE(retargetMotion(s.source, defaultDancer(), s.groups, s.options, whole, problem))
        << problem;
    FrameSolver solver(s.plan, s.source, s.options);
    // Backwards: nothing is carried from one frame to the next.
    for (int f = s.source.frameCount - 1; f >= 0; --f) {
        solver.solve(f);
        ASSERT_EQ(solver.motions().size(), whole.boneCount);
        for (std::size_t b = 0; b < whole.boneCount; ++b)
            EXPECT_TRUE(sameMotion(solver.motions()[b], whole.motion(f, b)))
                << "frame " << f << " bone " << b;
    }
}

TEST(FrameSolver, SolvingPosingAndCheckingTheViewAllocateNothingPerFrame) {
    const Solved s = planned(12);
    FrameSolver solver(s.plan, s.source, s.options);
    solver.solve(0);
    RetargetedMotion whole;
    std::string problem;
    ASSERT_TRUE(retargetMotion(s.source, defaultDancer(), s.groups, s.options, whole, problem))
        << problem;
    const auto animation =
        buildReducedAnimation(whole, listBones(defaultDancer()), toleranceForHeight(221.0)).data;
    AnimationPoser poser(defaultDancer(), *animation);
    BoneSpheres spheres(defaultDancer());
    poser.poseBones(0.0f);
    spheres.pose(poser.boneWorlds());
    const std::size_t before = test_support::allocationCount();
    for (int f = 1; f < s.source.frameCount; ++f) {
        solver.solve(f);
        poser.poseBones(static_cast<float>(f * s.source.frameTime));
        spheres.pose(poser.boneWorlds());
        static_cast<void>(spheres.insideView(Vector3()));
        static_cast<void>(spheres.insideView(Vector3(30.0f, 0.0f, -20.0f)));
    }
    EXPECT_EQ(test_support::allocationCount(), before);
}

}  // namespace
}  // namespace vorel
