// The peak memory of a program run to its end, its own and nothing else. A child inherits the
// high-water mark of the process that starts it into its ru_maxrss, so a child of the bench
// process (hundreds of megabytes once the larger benchmarks have run) would read as large as
// the bench. So the bench starts itself afresh, small, with ChildPeakOption; that fresh
// process forks the program and reports the program's own peak.
#pragma once

#include <string>
#include <vector>

namespace vorel {

constexpr const char* ChildPeakOption = "--vorel-child-peak";

// The program's peak resident set in kilobytes, its output discarded; -1 when it cannot be
// started or does not exit with status 0.
long peakKilobytesOfRun(const std::vector<std::string>& words);

// What the fresh process does: runs `words` (null-terminated, the program first) and prints
// its peak in kilobytes on standard output. Returns the exit status: 0, or 1 when it fails.
int reportChildPeak(char** words);

}  // namespace vorel
