// Runs a program as a person would, capturing its exit status and output, and gives each test
// a fresh folder for the files it makes. For the tests of the command-line tools.
#pragma once

#include <string>
#include <vector>

namespace vorel::test_support {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// The exit status is -1 when the program did not exit normally (a crash).
RunResult runProgram(const std::string& program, const std::vector<std::string>& arguments);

// A new empty folder under the test temporary directory; not removed, so a failing test's
// files can be looked at.
std::string makeScratchFolder();

std::string readText(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// The lines of a text, without their line ends.
std::vector<std::string> splitLines(const std::string& text);

}  // namespace vorel::test_support
