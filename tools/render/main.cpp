// vorel-render: draws frames of the figure as the viewer would, with no display, into PNG
// files. Set-up (options, context, GL state, library, figure), the frame loop, tear-down.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/fixed_view.h"
#include "app/gl_state.h"
#include "headless/headless_context.h"
#include "tools/common/exit_status.h"
#include "tools/common/library_beside_manifest.h"
#include "tools/common/print_line.h"
#include "tools/common/progress_line.h"
#include "tools/render/frame_renderer.h"
#include "tools/render/render_options.h"

namespace {

int reportUsageError(const std::string& problem) {
    vorel::printLine(stderr, "vorel-render: %s", problem.c_str());
    std::fputs("Try 'vorel-render --help' for more information.\n", stderr);
    return vorel::ExitUsage;
}

// The one picture file asked for (--gif or --sheet) must not replace the manifest it draws.
bool picturePathIsManifest(const vorel::RenderOptions& options) {
    const std::string& picture = options.gifPath.empty() ? options.sheetPath : options.gifPath;
    std::error_code ignored;
    return !picture.empty() && std::filesystem::equivalent(picture, options.manifest, ignored);
}

int renderGif(const vorel::RenderOptions& options, vorel::ProgressLine& progress) {
    vorel::GifSummary summary;
    std::string problem;
    const bool written = vorel::renderGif(options, progress, summary, problem);
    progress.finish();
    if (!written) {
        vorel::printLine(stderr, "vorel-render: %s", problem.c_str());
        return vorel::ExitBadInput;
    }
    vorel::printLine(
        stdout,
        "%s: %d frames of %dx%d, %.2f s a loop, %zu bytes, %d colours, largest channel "
        "error %d",
        options.gifPath.c_str(), summary.frames, summary.width, summary.height,
        static_cast<double>(summary.totalDelay) / 100.0, summary.bytes, summary.colours,
        summary.largestChannelError);
    return vorel::ExitSuccess;
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
        return vorel::ExitSuccess;
    }
    if (picturePathIsManifest(options)) {
        return reportUsageError("the picture would replace the manifest " + options.manifest);
    }

    std::unique_ptr<vorel::AssetLibrary> loaded =
        vorel::loadLibraryBesideManifest(options.manifest, problem);
    if (loaded == nullptr) {
        vorel::printLine(stderr, "vorel-render: %s", problem.c_str());
        return vorel::ExitBadInput;
    }
    const std::string unknownDance = vorel::findUnknownDance(options.dances, *loaded);
    if (!unknownDance.empty()) {
        vorel::printLine(stderr, "vorel-render: %s names no animation \"%s\"",
                         options.manifest.c_str(), unknownDance.c_str());
        return vorel::ExitBadInput;
    }
    std::unique_ptr<vorel::HeadlessContext> context =
        vorel::HeadlessContext::create(vorel::WindowWidth, vorel::WindowHeight, problem);
    if (context == nullptr) {
        vorel::printLine(stderr, "vorel-render: %s", problem.c_str());
        return vorel::ExitBadInput;
    }
    vorel::initGL();
    vorel::reshape(vorel::WindowWidth, vorel::WindowHeight);
    vorel::installFigure(std::move(loaded));

    if (options.benchmarkFrames > 0) {
        const double rate = vorel::measureFramesPerSecond(options);
        vorel::printLine(stdout, "%d frames, %.1f frames per second (%s)", options.benchmarkFrames,
                         rate, context->renderer().c_str());
        return vorel::ExitSuccess;
    }
    vorel::ProgressLine progress("vorel-render", stderr);
    if (!options.gifPath.empty()) {
        return renderGif(options, progress);
    }
    const bool rendered = vorel::renderFrames(options, progress, problem);
    progress.finish();
    if (!rendered) {
        vorel::printLine(stderr, "vorel-render: %s", problem.c_str());
        return vorel::ExitBadInput;
    }
    return vorel::ExitSuccess;
}
