// A library preloaded into the unchanged viewer to count its frames from outside: it passes
// glutSwapBuffers through to freeglut and, when the process exits, writes the number of
// swaps and the seconds between the first and the last to the file named by
// VOREL_SWAP_COUNT_FILE. Not linked into anything; only bench/viewer_frame_rate.sh uses it.
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

long swaps = 0;
Clock::time_point firstSwap;
Clock::time_point lastSwap;

// Written by a static object's destructor, which runs on exit(), the viewer's only way out.
struct ReportAtExit {
    ~ReportAtExit() {
        const char* path = std::getenv("VOREL_SWAP_COUNT_FILE");
        if (path == nullptr || swaps == 0) return;
        if (std::FILE* file = std::fopen(path, "w")) {
            const std::chrono::duration<double> span = lastSwap - firstSwap;
            std::fprintf(file, "%ld %.6f\n", swaps, span.count());
            std::fclose(file);
        }
    }
} reportAtExit;

}  // namespace

extern "C" void glutSwapBuffers() {
    using SwapBuffers = void (*)();
    static const auto freeglutSwap =
        reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "glutSwapBuffers"));
    if (freeglutSwap != nullptr) freeglutSwap();
    lastSwap = Clock::now();
    if (swaps++ == 0) firstSwap = lastSwap;
}
