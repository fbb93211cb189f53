// docs/formats.md quotes a tiny model, animation and manifest: its listings must be exactly
// what the writers produce today, and they must load as the document says they do.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "assets/load_animation.h"
#include "assets/load_manifest.h"
#include "assets/load_model.h"
#include "assets/save_animation.h"
#include "assets/save_model.h"
#include "tests/docs/format_examples.h"

namespace vorel::docs {
namespace {

std::string documentText() {
    std::ifstream in(VOREL_FORMATS_DOCUMENT);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The body of the fenced block that follows the document's "<!-- example: NAME -->" marker.
std::string exampleBlock(const std::string& name) {
    const std::string document = documentText();
    const std::size_t marker = document.find("<!-- example: " + name + " -->");
    if (marker == std::string::npos) return "";
    const std::size_t open = document.find("```text\n", marker);
    if (open == std::string::npos) return "";
    const std::size_t body = open + 8;
    const std::size_t close = document.find("```", body);
    return close == std::string::npos ? "" : document.substr(body, close - body);
}

TEST(FormatsDocument, ExamplesAreWhatTheWritersProduce) {
    // On a failure, print_format_examples (built beside this test) prints the current blocks.
    EXPECT_EQ(exampleBlock(ExampleModelFile), annotatedModelHex());
    EXPECT_EQ(exampleBlock(ExampleAnimationFile), annotatedAnimationHex());
    EXPECT_EQ(exampleBlock("vorel.txt"), exampleManifestText());
}

TEST(FormatsDocument, ModelExampleLoadsAsDescribed) {
    const std::string bytes = bytesOfAnnotatedHex(exampleBlock(ExampleModelFile));
    ASSERT_EQ(bytes.size(), 232u);
    LoadError error;
    const auto model = loadModelFromBytes(bytes, ExampleModelFile, &error);
    ASSERT_NE(model, nullptr) << error.describe();
    EXPECT_EQ(model->positions.size(), 4u);
    EXPECT_EQ(model->faces.size(), 1u);
    ASSERT_NE(model->rootBone, nullptr);
    EXPECT_EQ(model->rootBone->name, "root");
    EXPECT_EQ(model->rootBone->vertices.size(), 4u);
    EXPECT_EQ(model->rootBone->firstChild, nullptr);
    EXPECT_EQ(model->materials[0].firstColour[0], 1.0f);
}

TEST(FormatsDocument, AnimationExampleLoadsAsDescribed) {
    const std::string bytes = bytesOfAnnotatedHex(exampleBlock(ExampleAnimationFile));
    ASSERT_EQ(bytes.size(), 198u);
    LoadError error;
    const auto animation = loadAnimationFromBytes(bytes, ExampleAnimationFile, &error);
    ASSERT_NE(animation, nullptr) << error.describe();
    EXPECT_EQ(animation->header->duration, 1.0f);
    ASSERT_EQ(animation->tracks.size(), 1u);
    const TrackData& track = animation->tracks[0];
    EXPECT_EQ(track.name, "root");
    ASSERT_EQ(track.channels[0].size(), 2u);
    EXPECT_EQ(track.channels[0][1].value, 5.0f);
    EXPECT_EQ(segmentMode(track.channels[1][0]), SegmentMode::Curve);
    EXPECT_TRUE(hasTangentsInFile(track.channels[1][0]));
    EXPECT_EQ(track.channels[9][0].value, 1.0f);
}

TEST(FormatsDocument, ManifestExampleLoadsBothFiles) {
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) / "formats_document_example";
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(saveModel(*makeExampleModel(), (folder / ExampleModelFile).string()));
    ASSERT_TRUE(saveAnimation(*makeExampleAnimation(), (folder / ExampleAnimationFile).string()));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    ManifestReport report;
    const auto library = loadManifestFromText(exampleBlock("vorel.txt"), "vorel.txt", &report);
    std::filesystem::current_path(before);
    ASSERT_NE(library, nullptr);
    EXPECT_FALSE(report.readStopped);
    EXPECT_TRUE(report.failedFiles.empty());
    ASSERT_EQ(library->modelNames.size(), 1u);
    EXPECT_EQ(library->modelNames[0], "square");
    ASSERT_EQ(library->animationNames.size(), 1u);
    EXPECT_EQ(library->animationNames[0], "Slide");
    EXPECT_NE(library->models[0], nullptr);
    EXPECT_NE(library->animations[0], nullptr);
}

}  // namespace
}  // namespace vorel::docs
