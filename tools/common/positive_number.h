// parsePositiveNumber: a finite number above 0 and at most 1e6 in one command-line word, for
// options such as --speed and --height.
#pragma once

#include <string>

namespace vorel {

// False when the text is empty, has anything after the number, or is out of range.
bool parsePositiveNumber(const std::string& text, double& value);

}  // namespace vorel
