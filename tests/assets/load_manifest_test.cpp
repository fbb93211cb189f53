// loadManifest and AssetLibrary: counts with comments after them, CRLF, names kept whole,
// repeated names, null entries, the paths the report keeps, and the early stops that keep the
// paired arrays paired.
#include "assets/load_manifest.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "assets/save_animation.h"
#include "assets/save_manifest.h"
#include "assets/save_model.h"
#include "tests/support/sample_assets.h"

namespace vorel {

using namespace test_support;
namespace {

class LoadManifestTest : public testing::Test {
  protected:
    void SetUp() override {
        const std::string stem =
            ::testing::TempDir() + "vorel_manifest_" + std::to_string(getpid());
        modelPath_ = stem + ".ply";
        animationPath_ = stem + ".anim";
        manifestPath_ = stem + ".txt";
        ASSERT_TRUE(saveModel(*makeSampleModel(), modelPath_));
        ASSERT_TRUE(saveAnimation(*makeSampleAnimation(), animationPath_));
    }

    void TearDown() override {
        for (const std::string& path : {modelPath_, animationPath_, manifestPath_}) {
            std::remove(path.c_str());
        }
    }

    std::unique_ptr<AssetLibrary> load(const std::string& text, ManifestReport* report = nullptr) {
        std::ofstream(manifestPath_, std::ios::binary) << text;
        return loadManifest(manifestPath_, report);
    }

    std::string modelPath_;
    std::string animationPath_;
    std::string manifestPath_;
};

void expectPaired(const AssetLibrary& library) {
    EXPECT_EQ(library.models.size(), library.modelNames.size());
    EXPECT_EQ(library.animations.size(), library.animationNames.size());
}

TEST_F(LoadManifestTest, ZeroCountsGiveAnEmptyLibrary) {
    ManifestReport report;
    auto library = load("0\n0\n", &report);
    ASSERT_NE(library, nullptr);
    EXPECT_TRUE(library->models.empty());
    EXPECT_TRUE(library->modelNames.empty());
    EXPECT_TRUE(library->animations.empty());
    EXPECT_TRUE(library->animationNames.empty());
    EXPECT_FALSE(report.readStopped);
}

TEST_F(LoadManifestTest, NegativeCountMeansNoPairs) {
    ManifestReport report;
    auto library = load("-3\n1\nwalk\n" + animationPath_ + "\n", &report);
    ASSERT_NE(library, nullptr);
    EXPECT_TRUE(library->models.empty());
    ASSERT_EQ(1u, library->animations.size());
    EXPECT_FALSE(report.readStopped);
}

TEST_F(LoadManifestTest, LoadsEveryListedFileInOrder) {
    ManifestReport report;
    auto library = load(encodeManifest({{"dancer", modelPath_}},
                                       {{"Cancan", animationPath_}, {"Strut", animationPath_}}),
                        &report);
    ASSERT_NE(library, nullptr);
    EXPECT_FALSE(report.readStopped);
    EXPECT_TRUE(report.failedFiles.empty());
    ASSERT_EQ(1u, library->models.size());
    EXPECT_NE(nullptr, library->models[0]);
    EXPECT_EQ(library->models[0].get(), library->findModel("dancer"));
    EXPECT_EQ((std::vector<std::string>{"Cancan", "Strut"}), library->animationNames);
    EXPECT_EQ(library->animations[1].get(), library->findAnimation("Strut"));
}

TEST_F(LoadManifestTest, CommentsAfterCountsAndBlankLinesBeforeThemAreSkipped) {
    ManifestReport report;
    auto library = load("\n  \t1 models follow\ndancer\n" + modelPath_ +
                            "\n\n+1# animations\nCancan\n" + animationPath_ + "\ntrailing junk\n",
                        &report);
    ASSERT_NE(library, nullptr);
    EXPECT_FALSE(report.readStopped) << report.stoppedEarly.describe();
    EXPECT_EQ((std::vector<std::string>{"dancer"}), library->modelNames);
    EXPECT_EQ((std::vector<std::string>{"Cancan"}), library->animationNames);
    EXPECT_NE(nullptr, library->models[0]);
    EXPECT_NE(nullptr, library->animations[0]);
}

TEST_F(LoadManifestTest, CarriageReturnBeforeLineFeedIsNotPartOfTheLine) {
    auto library =
        load("1\r\ndancer\r\n" + modelPath_ + "\r\n1\r\nCancan\r\n" + animationPath_ + "\r\n");
    ASSERT_NE(library, nullptr);
    EXPECT_EQ((std::vector<std::string>{"dancer"}), library->modelNames);
    EXPECT_NE(nullptr, library->models[0]);
    EXPECT_NE(nullptr, library->findAnimation("Cancan"));
}

TEST_F(LoadManifestTest, TrailingSpacesAndInnerCarriageReturnsAreKept) {
    auto library =
        load("0\n2\nSalute  \n" + animationPath_ + "\nSa\rlute\n" + animationPath_ + "\n");
    ASSERT_NE(library, nullptr);
    EXPECT_EQ((std::vector<std::string>{"Salute  ", "Sa\rlute"}), library->animationNames);
    EXPECT_EQ(nullptr, library->findAnimation("Salute"));
    EXPECT_EQ(library->animations[0].get(), library->findAnimation("Salute  "));
}

TEST_F(LoadManifestTest, RepeatedNamesAreKeptAndTheFirstWins) {
    auto library = load(encodeManifest({}, {{"Strut", animationPath_}, {"Strut", animationPath_}}));
    ASSERT_NE(library, nullptr);
    ASSERT_EQ(2u, library->animations.size());
    EXPECT_NE(library->animations[0], library->animations[1]);
    EXPECT_EQ(library->animations[0].get(), library->findAnimation("Strut"));
}

TEST_F(LoadManifestTest, FilesThatFailStayAsNullEntries) {
    ManifestReport report;
    auto library =
        load(encodeManifest({{"broken", animationPath_}, {"dancer", modelPath_}},
                            {{"gone", "/nonexistent/x.anim"}, {"Strut", animationPath_}}),
             &report);
    ASSERT_NE(library, nullptr);
    EXPECT_FALSE(report.readStopped);
    ASSERT_EQ(2u, library->models.size());
    EXPECT_EQ(nullptr, library->models[0]);
    EXPECT_NE(nullptr, library->models[1]);
    EXPECT_EQ(nullptr, library->findModel("broken"));
    EXPECT_EQ(nullptr, library->animations[0]);
    EXPECT_NE(nullptr, library->animations[1]);
    ASSERT_EQ(2u, report.failedFiles.size());
    EXPECT_EQ(animationPath_, report.failedFiles[0].file);
    EXPECT_EQ("/nonexistent/x.anim", report.failedFiles[1].file);
}

TEST_F(LoadManifestTest, ReportKeepsEveryEntrysPathAsWrittenBesideTheLibrary) {
    ManifestReport report;
    auto library = load("1\ndancer\n" + modelPath_ + "\n3\nCancan\n  relative/gone.anim \nStrut\n" +
                            animationPath_ + "\nSalute\n",
                        &report);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ((std::vector<std::string>{modelPath_}), report.modelPaths);
    // A path that fails to load is kept too, spaces and all; the stop mid-pair adds nothing.
    EXPECT_EQ((std::vector<std::string>{"  relative/gone.anim ", animationPath_}),
              report.animationPaths);
    EXPECT_EQ(report.modelPaths.size(), library->models.size());
    EXPECT_EQ(report.animationPaths.size(), library->animations.size());
    EXPECT_TRUE(report.readStopped);
    EXPECT_EQ(nullptr, library->animations[0]);
    EXPECT_NE(nullptr, library->animations[1]);
}

TEST_F(LoadManifestTest, MissingManifestIsNullWithAReason) {
    ManifestReport report;
    EXPECT_EQ(loadManifest("/nonexistent/vorel.txt", &report), nullptr);
    EXPECT_TRUE(report.readStopped);
    EXPECT_EQ("/nonexistent/vorel.txt", report.stoppedEarly.file);
    EXPECT_NE(std::string::npos, report.stoppedEarly.message.find("cannot be opened"));
    EXPECT_EQ(loadManifest("/nonexistent/vorel.txt"), nullptr);
}

TEST_F(LoadManifestTest, CountThatIsNotANumberStopsWithItsLine) {
    ManifestReport report;
    auto library = load("1\ndancer\n" + modelPath_ + "\n\nmany\nCancan\n", &report);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(1u, library->models.size());
    EXPECT_TRUE(library->animations.empty());
    expectPaired(*library);
    EXPECT_TRUE(report.readStopped);
    EXPECT_EQ("line 5", report.stoppedEarly.section);
    EXPECT_NE(std::string::npos, report.stoppedEarly.message.find("animation count"));
    EXPECT_EQ(manifestPath_ + ": line 5: animation count is not a number",
              report.stoppedEarly.describe());
    load("-\n0\n", &report);
    EXPECT_EQ("line 1", report.stoppedEarly.section);
    load("99999999999\n", &report);
    EXPECT_NE(std::string::npos, report.stoppedEarly.message.find("out of range"));
}

TEST_F(LoadManifestTest, EarlyEndKeepsWholePairsOnly) {
    ManifestReport report;
    auto library = load("0\n3\nCancan\n" + animationPath_ + "\nStrut\n", &report);
    ASSERT_NE(library, nullptr);
    expectPaired(*library);
    EXPECT_EQ((std::vector<std::string>{"Cancan"}), library->animationNames);
    EXPECT_TRUE(report.readStopped);
    EXPECT_EQ("line 6", report.stoppedEarly.section);
    EXPECT_NE(std::string::npos, report.stoppedEarly.message.find("path of animation 2 of 3"));
    load("1\ndancer\n" + modelPath_ + "\n", &report);
    EXPECT_NE(std::string::npos, report.stoppedEarly.message.find("before the animation count"));
}

TEST_F(LoadManifestTest, LinesUpTo511CharactersAreRead) {
    ManifestReport report;
    const std::string longest(511, 'n');
    auto library = load("0\n2\n" + longest + "\r\n" + animationPath_ + "\n" + longest + "n\n" +
                            animationPath_ + "\n",
                        &report);
    ASSERT_NE(library, nullptr);
    expectPaired(*library);
    EXPECT_EQ((std::vector<std::string>{longest}), library->animationNames);
    EXPECT_TRUE(report.readStopped);
    EXPECT_EQ("line 5", report.stoppedEarly.section);
    EXPECT_NE(std::string::npos, report.stoppedEarly.message.find("longer than 511"));
}

TEST_F(LoadManifestTest, TextAfterACountHasTheSameLimit) {
    // Only what follows the count is read as the rest of its line; a carriage return before
    // the line feed is not part of it.
    ManifestReport report;
    auto library = load("1" + std::string(511, ' ') + "\r\ndancer\n" + modelPath_ + "\n1" +
                            std::string(512, '#') + "\nCancan\n" + animationPath_ + "\n",
                        &report);
    ASSERT_NE(library, nullptr);
    expectPaired(*library);
    EXPECT_EQ((std::vector<std::string>{"dancer"}), library->modelNames);
    EXPECT_TRUE(library->animations.empty());
    EXPECT_TRUE(report.readStopped);
    EXPECT_EQ("line 4", report.stoppedEarly.section);
    EXPECT_NE(std::string::npos, report.stoppedEarly.message.find("longer than 511"));
}

TEST_F(LoadManifestTest, BlankLineBetweenPairsIsReadAsAName) {
    auto library = load("0\n1\n\nCancan\n" + animationPath_ + "\n");
    ASSERT_NE(library, nullptr);
    EXPECT_EQ((std::vector<std::string>{""}), library->animationNames);
    EXPECT_EQ(nullptr, library->animations[0]);
}

TEST(AssetLibrary, AddsWithoutChecksAndFindsTheFirstMatch) {
    AssetLibrary library;
    library.addModel(nullptr, "empty");
    library.addModel(makeSampleModel(), "dancer");
    library.addModel(makeSampleModel(), "dancer");
    library.addAnimation(makeSampleAnimation(), "Cancan");
    EXPECT_EQ(3u, library.modelNames.size());
    EXPECT_EQ(nullptr, library.findModel("empty"));
    EXPECT_EQ(library.models[1].get(), library.findModel("dancer"));
    EXPECT_EQ(nullptr, library.findModel("dance"));
    EXPECT_EQ(nullptr, library.findAnimation("cancan"));
    EXPECT_EQ(library.animations[0].get(), library.findAnimation("Cancan"));
    EXPECT_EQ(nullptr, library.findAnimation(std::string("Cancan\0", 7)));
}

}  // namespace
}  // namespace vorel
