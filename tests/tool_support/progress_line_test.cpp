// ProgressLine: drawn on a pseudo-terminal once the delay has passed, rewritten in place and
// erased at the end; never a byte on a stream that is not a terminal or in a quick run.
#include "tools/common/progress_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace vorel {
namespace {

using namespace std::chrono_literals;

// A pseudo-terminal: the tool's side as a stream, and everything written to it read back from
// the other side.
class PseudoTerminal {
  public:
    PseudoTerminal() {
        controller_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (controller_ < 0 || grantpt(controller_) != 0 || unlockpt(controller_) != 0) return;
        const int device = open(ptsname(controller_), O_RDWR | O_NOCTTY);
        if (device >= 0) stream_ = fdopen(device, "w");
    }
    ~PseudoTerminal() {
        if (stream_ != nullptr) std::fclose(stream_);
        if (controller_ >= 0) close(controller_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    std::FILE* stream() const { return stream_; }

    // What has reached the terminal so far.
    std::string written() const {
        std::string text;
        pollfd ready{controller_, POLLIN, 0};
        char buffer[4096];
        while (poll(&ready, 1, 100) > 0 && (ready.revents & POLLIN) != 0) {
            const ssize_t got = read(controller_, buffer, sizeof buffer);
            if (got <= 0) break;
            text.append(buffer, static_cast<std::size_t>(got));
        }
        return text;
    }

  private:
    int controller_ = -1;
    std::FILE* stream_ = nullptr;
};

TEST(ProgressLine, OnATerminalItRewritesOneLineInPlaceAndErasesItAtTheEnd) {
    PseudoTerminal terminal;
    ASSERT_NE(terminal.stream(), nullptr);
    ProgressLine progress("tool", terminal.stream(), 0ms);
    progress.report("drawing frame", 3, 400);
    std::this_thread::sleep_for(500ms);
    progress.report("writing out.gif");
    std::this_thread::sleep_for(500ms);
    progress.finish();
    const std::string shown = terminal.written();
    EXPECT_NE(shown.find("\r\x1b[Ktool: drawing frame 3 of 400, 0 s"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\r\x1b[Ktool: writing out.gif, "), std::string::npos) << shown;
    EXPECT_EQ(shown.find('\n'), std::string::npos) << "the line must never scroll";
    EXPECT_EQ(shown.substr(shown.size() - 4), "\r\x1b[K") << "the line must be erased";
}

TEST(ProgressLine, AQuickRunShowsNothingEvenOnATerminal) {
    PseudoTerminal terminal;
    ASSERT_NE(terminal.stream(), nullptr);
    {
        ProgressLine progress("tool", terminal.stream(), 10s);
        progress.report("drawing frame", 1, 2);
    }
    EXPECT_EQ(terminal.written(), "");
}

TEST(ProgressLine, AStreamThatIsNotATerminalGetsNoByte) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
        ProgressLine progress("tool", file, 0ms);
        progress.report("drawing frame", 1, 2);
        std::this_thread::sleep_for(300ms);
    }
    EXPECT_EQ(std::ftell(file), 0);
    std::fclose(file);
}

TEST(ProgressLine, ControlBytesOfWhatItShowsAreEscapedAndTheLineFitsTheTerminal) {
    PseudoTerminal terminal;
    ASSERT_NE(terminal.stream(), nullptr);
    ProgressLine progress("tool", terminal.stream(), 0ms);
    progress.report("reading evil\x1b]0;title\a" + std::string(300, 'x') + ".bvh");
    std::this_thread::sleep_for(400ms);
    progress.finish();
    const std::string shown = terminal.written();
    EXPECT_NE(shown.find("reading evil\\x1b]0;title\\x07xxx"), std::string::npos) << shown;
    // Only the line's own erase sequences hold control bytes; the 80 columns a terminal of no
    // known size is taken to have are never filled, so the line never wraps.
    const std::size_t lineStart = shown.find("tool:");
    const std::size_t lineEnd = shown.find('\r', lineStart);
    ASSERT_NE(lineEnd, std::string::npos);
    EXPECT_LT(lineEnd - lineStart, 80U);
    EXPECT_EQ(shown.find('\a'), std::string::npos);
}

}  // namespace
}  // namespace vorel
