// One frame as the display callback runs it, in a headless context: what it changes (spin,
// clock, playing animations) and what it draws (white background, the lit figure).
#include "app/frame.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>

#include "app/app_state.h"
#include "app/dance_actions.h"
#include "app/gl_state.h"
#include "headless/frame_capture.h"
#include "headless/headless_context.h"
#include "tests/support/app_globals_reset.h"
#include "tests/support/box_figure.h"
#include "tests/support/installed_box_figure.h"

namespace vorel {

using namespace test_support;
namespace {

constexpr int Width = 640;
constexpr int Height = 480;

class Frame : public InstalledBoxFigure {
  protected:
    static void SetUpTestSuite() {
        std::string problem;
        context = HeadlessContext::create(Width, Height, problem).release();
        ASSERT_NE(context, nullptr) << problem;
    }
    static void TearDownTestSuite() {
        delete context;
        context = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(context, nullptr);
        InstalledBoxFigure::SetUp();
        initGL();
        reshape(Width, Height);
    }

    static std::size_t countWhitePixels(const std::vector<std::uint8_t>& rgb) {
        std::size_t white = 0;
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
            white += (rgb[i] == 255 && rgb[i + 1] == 255 && rgb[i + 2] == 255) ? 1 : 0;
        }
        return white;
    }
    static const std::uint8_t* pixelAt(const std::vector<std::uint8_t>& rgb, int x, int y) {
        return &rgb[(static_cast<std::size_t>(y) * Width + static_cast<std::size_t>(x)) * 3];
    }

    static HeadlessContext* context;
};
HeadlessContext* Frame::context = nullptr;

TEST_F(Frame, SpinAngleCountsFramesAndIsNeverWrapped) {
    for (int i = 0; i < 400; ++i) {
        drawFrame();
    }
    EXPECT_EQ(spinAngle, 400.0f);
}

TEST_F(Frame, ClockAdvancesByTheStepOnlyWhileRunning) {
    drawFrame();
    drawFrame();
    EXPECT_EQ(animationClock, 0.01f + 0.01f);
    clockRunning = false;
    drawFrame();
    EXPECT_EQ(animationClock, 0.01f + 0.01f);
    EXPECT_EQ(spinAngle, 3.0f);
}

TEST_F(Frame, PlayingAnimationsAdvanceWhetherOrNotTheClockRuns) {
    startDance("Cancan");
    clockRunning = false;
    drawFrame();
    drawFrame();
    ASSERT_EQ(figure->playing.size(), 1u);
    EXPECT_EQ(figure->playing.front().localTime, 0.01f + 0.01f);
}

TEST_F(Frame, AFinishedDanceIsDroppedAfterItsLength) {
    startDance("Cancan");  // 0.5 long: sampled at 0 ... 0.5, dropped in the next frame.
    int frames = 0;
    while (!figure->playing.empty() && frames < 1000) {
        drawFrame();
        ++frames;
    }
    EXPECT_GE(frames, 51);
    EXPECT_LE(frames, 52);
}

TEST_F(Frame, DrawsTheLitFigureInTheMiddleOfAWhiteBackground) {
    drawFrame();
    const std::vector<std::uint8_t> rgb = captureFrame(Width, Height);
    const std::uint8_t* corner = pixelAt(rgb, 0, 0);
    EXPECT_EQ(corner[0], 255);
    EXPECT_EQ(corner[1], 255);
    EXPECT_EQ(corner[2], 255);
    // The light's colour (0.75, 0.85, 0.9), not the frame's magenta, reaches the faces.
    const std::uint8_t* middle = pixelAt(rgb, Width / 2, Height / 2);
    EXPECT_LT(middle[0], 255);
    EXPECT_LT(middle[0], middle[2]);
    EXPECT_LE(middle[1], middle[2]);
    const std::size_t covered = rgb.size() / 3 - countWhitePixels(rgb);
    EXPECT_GT(covered, 10000u);
}

TEST_F(Frame, AnInstanceWithoutFacesLeavesTheFrameWhite) {
    figure->instances[0]->faces.clear();
    drawFrame();
    const std::vector<std::uint8_t> rgb = captureFrame(Width, Height);
    EXPECT_EQ(countWhitePixels(rgb), rgb.size() / 3);
}

TEST_F(Frame, ADanceMovesTheDrawnFigure) {
    drawFrame();
    const std::vector<std::uint8_t> rest = captureFrame(Width, Height);
    resetAppGlobals();
    installFigure(makeBoxLibrary());
    startDance("Cancan");
    for (int i = 0; i < 40; ++i) {
        figure->update(timeStep);
    }
    drawFrame();
    EXPECT_NE(captureFrame(Width, Height), rest);
}

TEST_F(Frame, ReshapeTreatsZeroSizesAsOne) {
    GLint viewport[4] = {0, 0, 0, 0};
    reshape(0, 0);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1);
    EXPECT_EQ(viewport[3], 1);
    reshape(300, 0);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 300);
    EXPECT_EQ(viewport[3], 1);
    // The aspect is width / 1: the x scale of the projection is the y scale divided by it.
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(projection[5] / projection[0], 300.0f);
}

}  // namespace
}  // namespace vorel
