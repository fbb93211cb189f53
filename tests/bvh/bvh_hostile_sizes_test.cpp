// Captures whose size alone is hostile: tens of thousands of joints of one name, more joints
// than a drawn body can hold. Each is read in time linear in the file or refused with one line.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "bvh/bvh_figure.h"
#include "bvh/bvh_motion.h"
#include "bvh/import_bvh.h"
#include "bvh/read_bvh.h"
#include "tests/support/work_growth.h"

namespace vorel {
namespace {

// A capture whose root has `joints` children, each with an End Site, named by `name`.
std::string wideCapture(int joints, const std::string& name) {
    std::string text =
        "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 3 Xposition Yposition Zposition\n";
    for (int j = 0; j < joints; ++j) {
        text += "JOINT " + name + "\n{\nOFFSET " + std::to_string(j % 100) +
                " 1 0\nCHANNELS 1 Zrotation\nEnd Site\n{\nOFFSET 0 1 0\n}\n}\n";
    }
    text += "}\nMOTION\nFrames: 1\nFrame Time: 0.04\n0 0 0";
    for (int j = 0; j < joints; ++j) text += " 0";
    return text + "\n";
}

TEST(BvhHostileSizes, TensOfThousandsOfEqualBvhJointNamesAreReadAndNamedInOnePass) {
    constexpr int Joints = 30000;
    BvhMotion motion;
    LoadError error;
    ASSERT_TRUE(readBvh(wideCapture(Joints, "J"), "wide.bvh", motion, error)) << error.describe();
    std::set<std::string> endSites;
    for (const BvhJoint& joint : motion.joints) {
        if (joint.endSite) endSites.insert(joint.name);
    }
    EXPECT_EQ(endSites.size(), static_cast<std::size_t>(Joints));
    EXPECT_EQ(endSites.count("J_end_2"), 1u);

    // The figure's bone names too (a smaller figure: each part of its body is drawn).
    BvhMotion small;
    ASSERT_TRUE(readBvh(wideCapture(2000, "J"), "small.bvh", small, error)) << error.describe();
    const BvhFigure figure = buildBvhFigure(small, bvhBindOrigins(small));
    const std::set<std::string> names(figure.skeleton.names.begin(), figure.skeleton.names.end());
    EXPECT_EQ(names.size(), figure.skeleton.names.size());
    EXPECT_EQ(names.size(), 2001u);
}

TEST(BvhHostileSizes, ReadingEqualJointNamesTakesTimeInProportionToTheirCount) {
    constexpr int Joints = 30000;
    const std::map<int, std::string> texts = {{Joints / 4, wideCapture(Joints / 4, "J")},
                                              {Joints, wideCapture(Joints, "J")}};
    const test_support::WorkGrowth growth = test_support::workGrowth(
        [&](int joints) {
            BvhMotion motion;
            LoadError error;
            EXPECT_TRUE(readBvh(texts.at(joints), "wide.bvh", motion, error)) << error.describe();
        },
        Joints / 4);
    EXPECT_LT(growth.ratio(), test_support::MostLinearGrowth) << growth.describe();
}

TEST(BvhHostileSizes, ACaptureWithMoreJointsThanItsBodyCanDrawIsRefusedWithOneLine) {
    ImportedSet result;
    BvhImportSummary summary;
    LoadError error;
    // 5,000 joints and their End Sites: 10,000 parts, some 400 MB of body once drawn.
    EXPECT_FALSE(
        importBvhText(wideCapture(5000, "J"), "wide.bvh", ImportOptions{}, result, summary, error));
    EXPECT_EQ(error.describe(),
              "wide.bvh: 10000 joints below others, more than the 4096 body parts a figure is "
              "drawn with");
}

}  // namespace
}  // namespace vorel
