// doubleFromChars: a decimal number read from a character range exactly as the standard
// floating-point std::from_chars reads it (the same accepted prefix, value and errors), for C++
// libraries that lack that overload, such as the one WebAssembly builds use.
#pragma once

#include <charconv>

namespace vorel {

// Reads the longest prefix of [first, last) that from_chars' general format accepts: an
// optional '-', then digits with an optional point and exponent, or "inf", "infinity", "nan"
// or "nan(...)" in any case; no '+', no spaces, no hexadecimal. On an error value is unchanged.
std::from_chars_result doubleFromChars(const char* first, const char* last, double& value);

}  // namespace vorel
