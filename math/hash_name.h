// hashName: the 32-bit name hash that ties animation tracks to bones and gives playing
// animations their ids. Bytes count as signed 8-bit values, so a byte of 128 or more
// contributes its sign-extended value.
#pragma once

#include <cstdint>
#include <string_view>

namespace vorel {

std::uint32_t hashName(std::string_view name);

}  // namespace vorel
