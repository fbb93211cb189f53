// The exit statuses every tool returns, so scripts can tell a bad file from a bad command line.
#pragma once

namespace vorel {

// The tool did what it was asked (also `--help`).
constexpr int ExitSuccess = 0;
// An input file could not be read or used; one line `FILE: what is wrong` says why.
constexpr int ExitBadInput = 1;
// The command line itself is wrong; the usage line says how to call the tool.
constexpr int ExitUsage = 2;

}  // namespace vorel
