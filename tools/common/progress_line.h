// ProgressLine: one line on a terminal, rewritten in place, saying what a long run of a tool is
// doing and how far it is. It shows only when its stream is a terminal and only once the run
// has taken longer than a delay (a second for the tools), so quick runs, pipes and files never
// get a byte of it; finish() erases it, and must come before the tool prints anything else.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

namespace vorel {

class ProgressLine {
  public:
    static constexpr std::chrono::milliseconds ToolDelay{1000};

    // The line starts with "TOOL: ". stream is usually stderr.
    ProgressLine(std::string tool, std::FILE* stream, std::chrono::milliseconds delay = ToolDelay);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // What the run does now, shown as "DOING DONE of TOTAL" ("DOING" alone when total is 0),
    // followed by the seconds spent so far. Cheap: the line is drawn by a ticker, a few times a
    // second, so a loop may report every step.
    void report(const std::string& doing, std::size_t done = 0, std::size_t total = 0);
    // Erases the line, if it was shown, and stops for good.
    void finish();

  private:
    void tick();
    // The line as it reads now, cut to the terminal's width; the mutex is held.
    std::string currentLine() const;

    const std::string tool_;
    std::FILE* const stream_;
    const std::chrono::milliseconds delay_;
    const std::chrono::steady_clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::string doing_;
    std::size_t done_ = 0;
    std::size_t total_ = 0;
    bool shown_ = false;
    bool finished_ = false;
    // Runs only when the stream is a terminal.
    std::thread ticker_;
};

}  // namespace vorel
