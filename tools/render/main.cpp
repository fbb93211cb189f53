// vorel-render: draws frames of the figure as the viewer would, with no display, into PNG
// files. Set-up (options, context, GL state, library, figure), the frame loop, tear-down.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/gl_state.h"
#include "app/library_beside_manifest.h"
#include "tools/render/frame_renderer.h"
#include "tools/render/headless_context.h"
#include "tools/render/render_options.h"

namespace {

constexpr int FailureStatus = 1;
constexpr int UsageStatus = 2;

int reportUsageError(const std::string& problem) {
    std::fprintf(stderr, "vorel-render: %s\nTry 'vorel-render --help' for more information.\n",
                 problem.c_str());
    return UsageStatus;
}

}  // namespace

int main(int argc, char** argv) {
    vorel::RenderOptions options;
    std::string problem;
    if (!vorel::parseRenderOptions(std::vector<std::string>(argv + 1, argv + argc), options,
                                   problem)) {
        return reportUsageError(problem);
    }
    if (options.showHelp) {
        std::fputs(vorel::renderUsage().c_str(), stdout);
        return 0;
    }

    std::unique_ptr<vorel::AssetLibrary> loaded =
        vorel::loadLibraryBesideManifest(options.manifest, problem);
    if (loaded == nullptr) {
        std::fprintf(stderr, "vorel-render: %s\n", problem.c_str());
        return UsageStatus;
    }
    const std::string unknownDance = vorel::findUnknownDance(options.dances, *loaded);
    if (!unknownDance.empty()) {
        return reportUsageError(options.manifest + " names no animation \"" + unknownDance + "\"");
    }
    std::unique_ptr<vorel::HeadlessContext> context =
        vorel::HeadlessContext::create(vorel::FrameWidth, vorel::FrameHeight, problem);
    if (context == nullptr) {
        std::fprintf(stderr, "vorel-render: %s\n", problem.c_str());
        return FailureStatus;
    }
    vorel::initGL();
    vorel::reshape(vorel::FrameWidth, vorel::FrameHeight);
    vorel::installFigure(std::move(loaded));

    if (options.benchmarkFrames > 0) {
        const double rate = vorel::measureFramesPerSecond(options);
        std::printf("%d frames, %.1f frames per second (%s)\n", options.benchmarkFrames, rate,
                    context->renderer().c_str());
        return 0;
    }
    if (!vorel::renderFrames(options, problem)) {
        std::fprintf(stderr, "vorel-render: %s\n", problem.c_str());
        return FailureStatus;
    }
    return 0;
}
