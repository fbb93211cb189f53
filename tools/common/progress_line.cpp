#include "tools/common/progress_line.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <utility>

#include "assets/printable_name.h"

namespace vorel {

namespace {

constexpr std::chrono::milliseconds RedrawEvery{200};
// Returns to the line's start and clears to its end, so a shorter line leaves nothing behind.
constexpr const char* EraseLine = "\r\x1b[K";

std::size_t terminalWidth(std::FILE* stream) {
    winsize size{};
    if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 1) return size.ws_col;
    return 80;
}

}  // namespace

ProgressLine::ProgressLine(std::string tool, std::FILE* stream, std::chrono::milliseconds delay)
    : tool_(std::move(tool)),
      stream_(stream),
      delay_(delay),
      start_(std::chrono::steady_clock::now()) {
    if (isatty(fileno(stream_)) == 1) ticker_ = std::thread([this] { tick(); });
}

ProgressLine::~ProgressLine() {
    finish();
}

void ProgressLine::report(const std::string& doing, std::size_t done, std::size_t total) {
    const std::lock_guard<std::mutex> lock(mutex_);
    doing_ = doing;
    done_ = done;
    total_ = total;
}

void ProgressLine::finish() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (finished_) return;
        finished_ = true;
    }
    wake_.notify_all();
    if (ticker_.joinable()) ticker_.join();
    if (shown_) {
        std::fputs(EraseLine, stream_);
        std::fflush(stream_);
    }
}

void ProgressLine::tick() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (wake_.wait_for(lock, delay_, [this] { return finished_; })) return;
    std::string drawn;
    do {
        std::string line = currentLine();
        if (line == drawn) continue;
        std::fputs(EraseLine, stream_);
        std::fputs(line.c_str(), stream_);
        std::fflush(stream_);
        drawn = std::move(line);
        shown_ = true;
    } while (!wake_.wait_for(lock, RedrawEvery, [this] { return finished_; }));
}

std::string ProgressLine::currentLine() const {
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start_)
            .count();
    std::string line = tool_ + ": " + printableName(doing_);
    if (total_ > 0) line += " " + std::to_string(done_) + " of " + std::to_string(total_);
    line += ", " + std::to_string(seconds) + " s";
    // A line longer than the terminal would wrap, and the carriage return would then rewrite
    // only its last row.
    std::size_t width = terminalWidth(stream_) - 1;
    if (line.size() <= width) return line;
    // Never cut through a UTF-8 sequence.
    while (width > 0 && (static_cast<unsigned char>(line[width]) & 0xc0) == 0x80) --width;
    line.resize(width);
    return line;
}

}  // namespace vorel
