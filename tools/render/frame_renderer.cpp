// renderFrames, renderGif and measureFramesPerSecond: the viewer's frame sequence with a
// readback or a stopwatch in place of the swap.
#include "tools/render/frame_renderer.h"

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

#include "app/fixed_view.h"
#include "app/frame.h"
#include "headless/contact_sheet.h"
#include "headless/frame_capture.h"
#include "headless/png_file.h"
#include "tools/common/dance_schedule.h"
#include "tools/render/gif_frame_delays.h"

namespace vorel {

namespace {

RgbImage captureImage() {
    return RgbImage{WindowWidth, WindowHeight, captureFrame(WindowWidth, WindowHeight)};
}

std::string framePath(const std::string& folder, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%04d.png", frame);
    return folder + "/" + name;
}

bool makeFolder(const std::string& folder, std::string& problem) {
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure) problem = folder + ": cannot create it: " + failure.message();
    return !failure;
}

// Plays frames 1 to the last selected one and hands each selected frame, captured, to keep;
// stops early when keep returns false.
bool playSelectedFrames(const RenderOptions& options, ProgressLine& progress,
                        const std::function<bool(int frame, RgbImage image)>& keep) {
    DanceSchedule schedule(options.dances);
    const auto last = static_cast<std::size_t>(options.frames.last());
    for (int frame = 1; frame <= options.frames.last(); ++frame) {
        progress.report("drawing frame", static_cast<std::size_t>(frame), last);
        schedule.startDueDances(frame);
        drawFrame();
        glFlush();
        if (options.frames.contains(frame) && !keep(frame, captureImage())) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool renderFrames(const RenderOptions& options, ProgressLine& progress, std::string& problem) {
    if (options.sheetPath.empty() && !makeFolder(options.outputFolder, problem)) return false;
    std::vector<RgbImage> sheetFrames;
    const bool played = playSelectedFrames(options, progress, [&](int frame, RgbImage image) {
        if (!options.sheetPath.empty()) {
            sheetFrames.push_back(std::move(image));
            return true;
        }
        return writePng(image, framePath(options.outputFolder, frame), problem);
    });
    if (!played || options.sheetPath.empty()) {
        return played;
    }
    progress.report("writing " + options.sheetPath);
    return writePng(tileContactSheet(sheetFrames, options.sheetColumns), options.sheetPath,
                    problem);
}

bool renderGif(const RenderOptions& options, ProgressLine& progress, GifSummary& summary,
               std::string& problem) {
    const std::vector<int> delays = gifFrameDelays(options.frames, options.framesPerSecond);
    GifAnimation animation;
    std::size_t next = 0;
    playSelectedFrames(options, progress, [&](int, RgbImage image) {
        for (int halving = 0; halving < options.gifHalvings; ++halving) {
            image = halveImage(image);
        }
        animation.addFrame(image, delays[next++]);
        return true;
    });
    progress.report("writing " + options.gifPath);
    return animation.write(options.gifPath, summary, problem);
}

double measureFramesPerSecond(const RenderOptions& options) {
    DanceSchedule schedule(options.dances);
    const auto start = std::chrono::steady_clock::now();
    for (int frame = 1; frame <= options.benchmarkFrames; ++frame) {
        schedule.startDueDances(frame);
        drawFrame();
        // The viewer's swap waits for the picture; so must a fair count.
        glFinish();
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return options.benchmarkFrames / elapsed.count();
}

}  // namespace vorel
