// Runs the vorel-inspect binary as a person would, through the shared program runner.
#pragma once

#include <string>
#include <vector>

#include "tests/support/program_runner.h"

namespace vorel {

using test_support::makeScratchFolder;
using test_support::readText;
using test_support::RunResult;
using test_support::splitLines;
using test_support::writeBytes;

RunResult runInspect(const std::vector<std::string>& arguments);

}  // namespace vorel
