// printLine: how a tool prints a line that may hold a name or a path read from a file. The
// formatted line is shown through printableName, the one rule for such names, so that no byte
// of it can move the cursor, clear the screen, retitle the window or break the line.
#pragma once

#include <cstdio>

namespace vorel {

// Formats as printf does and writes the result, then a newline, to stream.
void printLine(std::FILE* stream, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace vorel
