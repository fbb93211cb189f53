// renderFrames and measureFramesPerSecond: the viewer's frame sequence with a readback or a
// stopwatch in place of the swap.
#include "tools/render/frame_renderer.h"

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/fixed_view.h"
#include "app/frame.h"
#include "headless/contact_sheet.h"
#include "headless/frame_capture.h"
#include "headless/png_file.h"
#include "tools/common/dance_schedule.h"

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

}  // namespace

bool renderFrames(const RenderOptions& options, std::string& problem) {
    if (options.sheetPath.empty() && !makeFolder(options.outputFolder, problem)) return false;
    DanceSchedule schedule(options.dances);
    std::vector<RgbImage> sheetFrames;
    for (int frame = 1; frame <= options.frames.last(); ++frame) {
        schedule.startDueDances(frame);
        drawFrame();
        glFlush();
        if (!options.frames.contains(frame)) {
            continue;
        }
        if (!options.sheetPath.empty()) {
            sheetFrames.push_back(captureImage());
        } else if (!writePng(captureImage(), framePath(options.outputFolder, frame), problem)) {
            return false;
        }
    }
    if (options.sheetPath.empty()) {
        return true;
    }
    return writePng(tileContactSheet(sheetFrames, options.sheetColumns), options.sheetPath,
                    problem);
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
