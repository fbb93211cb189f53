// inflateExact: one zlib stream inflated into exactly the number of bytes its container
// declares. A stream that ends early, runs on past that size, or is damaged is refused, and
// no more than the declared size is ever written, so a deflate bomb costs nothing.
#pragma once

#include <cstddef>
#include <string>

namespace vorel {

// Deflate cannot shrink data by more than about 1032 to 1; a declared size beyond this many
// times the stream's length cannot be what the stream holds.
constexpr std::size_t MaxInflateRatio = 1032;

// False, with `problem` set to a few words, unless `stream` inflates to exactly
// `declaredSize` bytes (written to `out`, which must hold that many).
bool inflateExact(const unsigned char* stream, std::size_t streamSize, unsigned char* out,
                  std::size_t declaredSize, std::string& problem);

}  // namespace vorel
