// match_rest_pose: finds which of the renderer's rest-pose frames at spin angles 0 to 359 a
// screenshot of the viewer shows, and fails when even the best one differs in more pixels
// than allowed. Used by the window test that holds the viewer and vorel-render to one picture.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/fixed_view.h"
#include "app/frame.h"
#include "app/gl_state.h"
#include "headless/frame_capture.h"
#include "headless/headless_context.h"
#include "tools/common/library_beside_manifest.h"

namespace {

// Pixels whose colour differs in any channel, counted only until they pass `limit`: a frame
// with more than the closest one so far cannot be the closest, and stopping early saves most of
// the comparison of a frame at the wrong angle.
long countDifferingPixels(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b,
                          long limit) {
    long differing = 0;
    for (std::size_t i = 0; i + 2 < a.size() && differing <= limit; i += 3) {
        differing += (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) ? 1 : 0;
    }
    return differing;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: match_rest_pose MANIFEST SCREENSHOT.rgb MAX_PIXELS\n");
        return 2;
    }
    std::ifstream file(argv[2], std::ios::binary);
    const std::vector<std::uint8_t> shot((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
    if (shot.size() != static_cast<std::size_t>(vorel::WindowWidth) * vorel::WindowHeight * 3) {
        std::fprintf(stderr, "match_rest_pose: %s is not 640x480 raw RGB\n", argv[2]);
        return 2;
    }
    std::string problem;
    std::unique_ptr<vorel::AssetLibrary> loaded =
        vorel::loadLibraryBesideManifest(argv[1], problem);
    auto context = vorel::HeadlessContext::create(vorel::WindowWidth, vorel::WindowHeight, problem);
    if (loaded == nullptr || context == nullptr) {
        std::fprintf(stderr, "match_rest_pose: %s\n", problem.c_str());
        return 2;
    }
    vorel::initGL();
    vorel::reshape(vorel::WindowWidth, vorel::WindowHeight);
    vorel::installFigure(std::move(loaded));

    // The first frame within the allowance settles the answer; without one, every angle is
    // tried and the closest is named.
    const long allowed = std::atol(argv[3]);
    long fewest = std::numeric_limits<long>::max();
    int bestAngle = 0;
    for (int angle = 0; angle < 360 && fewest > allowed; ++angle) {
        vorel::drawFrame();
        const long differing = countDifferingPixels(
            shot, vorel::captureFrame(vorel::WindowWidth, vorel::WindowHeight), fewest);
        if (differing < fewest) {
            fewest = differing;
            bestAngle = angle;
        }
    }
    if (fewest <= allowed) {
        std::printf("rest-pose frame at spin %d degrees: %ld pixels differ\n", bestAngle, fewest);
        return 0;
    }
    std::printf("closest rest-pose frame: spin %d degrees, %ld pixels differ\n", bestAngle, fewest);
    return 1;
}
