// A single bounded inflate call through zlib.
#include "fbx/inflate_exact.h"

#include <zlib.h>

#include <limits>

namespace vorel {

bool inflateExact(const unsigned char* stream, std::size_t streamSize, unsigned char* out,
                  std::size_t declaredSize, std::string& problem) {
    constexpr std::size_t MaxChunk = std::numeric_limits<uInt>::max();
    if (streamSize > MaxChunk || declaredSize > MaxChunk) {
        problem = "compressed array too large";
        return false;
    }
    if (declaredSize / MaxInflateRatio > streamSize) {
        problem = "declared size " + std::to_string(declaredSize) + " bytes is more than " +
                  std::to_string(streamSize) + " compressed bytes can hold";
        return false;
    }
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        problem = "inflate could not start";
        return false;
    }
    z.next_in = const_cast<unsigned char*>(stream);
    z.avail_in = static_cast<uInt>(streamSize);
    unsigned char spare = 0;
    z.next_out = declaredSize > 0 ? out : &spare;
    z.avail_out = static_cast<uInt>(declaredSize);
    int status = inflate(&z, Z_FINISH);
    const std::size_t produced = declaredSize - z.avail_out;
    if (status == Z_BUF_ERROR && produced == declaredSize) {
        // The output is full: a stream that still has data would overflow the declared size.
        z.next_out = &spare;
        z.avail_out = 1;
        status = inflate(&z, Z_FINISH);
        if (status != Z_STREAM_END || z.avail_out == 0) {
            inflateEnd(&z);
            problem = "compressed array inflates past its declared " +
                      std::to_string(declaredSize) + " bytes";
            return false;
        }
    }
    inflateEnd(&z);
    if (status != Z_STREAM_END) {
        problem = produced < declaredSize && status == Z_BUF_ERROR
                      ? "compressed array ends after " + std::to_string(produced) + " of " +
                            std::to_string(declaredSize) + " bytes"
                      : "compressed array is damaged";
        return false;
    }
    if (produced != declaredSize) {
        problem = "compressed array holds " + std::to_string(produced) + " bytes, not the " +
                  std::to_string(declaredSize) + " declared";
        return false;
    }
    return true;
}

}  // namespace vorel
