// jsonNestingDepthExceeded: finds where a JSON text opens more arrays and objects inside one
// another than a limit, without parsing it, so that recursive readers never see such a text.
#pragma once

#include <cstddef>
#include <string_view>

namespace vorel {

// The deepest nesting of arrays and objects Vorel reads from a glTF document; real files stay
// below twenty, and recursive conversions overflow the stack thousands of levels down.
constexpr int MaxJsonNesting = 512;

// The offset of the first '[' or '{' (outside strings) opened `limit` levels deep, or
// std::string_view::npos when the text never nests that deep.
std::size_t jsonNestingDepthExceeded(std::string_view json, int limit = MaxJsonNesting);

}  // namespace vorel
