// hashName: folds each byte of a name into a 32-bit hash, bytes taken as signed values.
#include "math/hash_name.h"

namespace vorel {

std::uint32_t hashName(std::string_view name) {
    std::uint32_t hash = 0;
    for (char byte : name) {
        // Sign-extend through int8_t whatever the signedness of char on this platform.
        const auto widened =
            static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int8_t>(byte)));
        hash = (hash << 6) ^ (hash & 0xFFF00000u) ^ widened;
    }
    return hash;
}

}  // namespace vorel
