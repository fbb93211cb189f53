// The two ways a Vorel tool reads a number from one command-line word: a whole number in plain
// digits, or a finite decimal number. Every number option and operand goes through these.
#pragma once

#include <string>

namespace vorel {

// Plain decimal digits (no sign, space or point) for a value from lowest to highest; false
// otherwise, however many digits there are.
bool parseWholeNumber(const std::string& text, int lowest, int highest, int& value);

// The whole word is one finite number as strtod (strtof) reads it; false otherwise.
bool parseFiniteNumber(const std::string& text, double& value);
bool parseFiniteNumber(const std::string& text, float& value);

}  // namespace vorel
