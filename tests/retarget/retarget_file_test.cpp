// The whole retarget of a file as the page asks for it: a refusal names what the page offers
// (the files chosen), never the tool's options, which the page has no way to give.
#include "retarget/retarget_file.h"

#include <gtest/gtest.h>

#include "tests/dancer/default_set_fixture.h"
#include "tests/retarget/test_capture.h"
#include "tests/support/program_runner.h"

namespace vorel {
namespace {

TEST(RetargetFile, AFigureOutOfThePictureTellsThePageWhatToChoose) {
    TestCapture capture(20);
    for (int f = 0; f < 20; ++f)
        capture.place(f, 200.0f + 30.0f * static_cast<float>(f), TestCapture::StandingHeight, 0);
    const std::string path = test_support::makeScratchFolder() + "/away.bvh";
    test_support::writeBytes(path, capture.bvhText());
    RetargetRequest request;
    request.sourcePath = path;
    const ModelData& dancer = *defaultSet().library->models.front();
    for (const RetargetAsker asker : {RetargetAsker::Tool, RetargetAsker::Page}) {
        request.asker = asker;
        RetargetOutcome outcome;
        LoadError error;
        ASSERT_FALSE(retargetFile(request, dancer, outcome, error));
        EXPECT_EQ(error.file, path);
        EXPECT_EQ(error.message.rfind("the figure would be outside the viewer's picture in ", 0),
                  0u)
            << error.message;
        const bool namesOptions = error.message.find("--") != std::string::npos;
        EXPECT_EQ(namesOptions, asker == RetargetAsker::Tool) << error.message;
        if (asker == RetargetAsker::Page) {
            EXPECT_NE(error.message.find(
                          "; choose a bone map .txt that pairs the legs together with the file"),
                      std::string::npos)
                << error.message;
        }
    }
}

}  // namespace
}  // namespace vorel
