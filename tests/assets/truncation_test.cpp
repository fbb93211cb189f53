// Truncation sweep: every prefix of a valid model, animation and manifest must fail cleanly
// (null and a reason within the prefix), or for the manifest keep its arrays paired.
#include <gtest/gtest.h>

#include "assets/load_animation.h"
#include "assets/load_manifest.h"
#include "assets/load_model.h"
#include "assets/save_animation.h"
#include "assets/save_manifest.h"
#include "assets/save_model.h"
#include "tests/support/sample_assets.h"

namespace vorel {

using namespace test_support;
namespace {

template <typename Loader>
void expectEveryPrefixFails(const std::string& whole, Loader load) {
    LoadError error;
    ASSERT_NE(load(whole, &error), nullptr) << error.describe();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        LoadError prefixError;
        EXPECT_EQ(load(whole.substr(0, length), &prefixError), nullptr) << "length " << length;
        EXPECT_FALSE(prefixError.message.empty()) << "length " << length;
        EXPECT_GE(prefixError.offset, 0) << "length " << length;
        EXPECT_LE(prefixError.offset, static_cast<std::int64_t>(length)) << "length " << length;
    }
}

TEST(Truncation, EveryModelPrefixFails) {
    expectEveryPrefixFails(encodeModel(*makeSampleModel()),
                           [](const std::string& bytes, LoadError* error) {
                               return loadModelFromBytes(bytes, "cut.ply", error);
                           });
}

TEST(Truncation, EveryAnimationPrefixFails) {
    expectEveryPrefixFails(encodeAnimation(*makeSampleAnimation()),
                           [](const std::string& bytes, LoadError* error) {
                               return loadAnimationFromBytes(bytes, "cut.anim", error);
                           });
}

TEST(Truncation, EveryManifestPrefixKeepsItsArraysPaired) {
    // Every file is missing, so each entry is null and only the text is exercised.
    const std::string whole =
        encodeManifest({{"dancer", "/nonexistent/a.ply"}, {"second", "/nonexistent/b.ply"}},
                       {{"Cancan", "/nonexistent/c.anim"}, {"Strut", "/nonexistent/d.anim"}});
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        ManifestReport report;
        auto library = loadManifestFromText(whole.substr(0, length), "cut.txt", &report);
        ASSERT_NE(library, nullptr);
        EXPECT_EQ(library->models.size(), library->modelNames.size()) << "length " << length;
        EXPECT_EQ(library->animations.size(), library->animationNames.size()) << length;
        const bool complete = library->animations.size() == 2;
        EXPECT_EQ(!complete, report.readStopped) << "length " << length;
        if (report.readStopped) {
            EXPECT_FALSE(report.stoppedEarly.message.empty());
        }
        EXPECT_EQ(report.failedFiles.size(), library->models.size() + library->animations.size());
    }
}

}  // namespace
}  // namespace vorel
