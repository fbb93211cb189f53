// FloatLanes and IntLanes: four floats or four 32-bit masks side by side, one SSE2 register on
// x86-64, written with the compiler's vector extension so that the browser build compiles the
// same code (to scalar or WebAssembly SIMD operations). Each lane is rounded as a lone float
// would be: the operations are IEEE single precision, lane by lane, and -ffp-contract=off
// keeps products and sums apart.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorel {

constexpr int LaneCount = 4;

using FloatLanes = float __attribute__((vector_size(16)));
// A comparison's result: every bit of a lane set where it holds, clear where it does not.
using IntLanes = std::int32_t __attribute__((vector_size(16)));

inline FloatLanes splatLanes(float value) {
    return FloatLanes{value, value, value, value};
}

// a where the mask is set, b elsewhere, bit for bit.
inline FloatLanes selectLanes(IntLanes mask, FloatLanes a, FloatLanes b) {
    return reinterpret_cast<FloatLanes>((mask & reinterpret_cast<IntLanes>(a)) |
                                        (~mask & reinterpret_cast<IntLanes>(b)));
}

inline FloatLanes absLanes(FloatLanes value) {
    return reinterpret_cast<FloatLanes>(reinterpret_cast<IntLanes>(value) & 0x7fffffff);
}

// Bit k set where lane k of the mask is.
inline int laneBits(IntLanes mask) {
#if defined(__SSE2__)
    return _mm_movemask_ps(reinterpret_cast<__m128>(mask));
#else
    int bits = 0;
    for (int lane = 0; lane < LaneCount; ++lane) bits |= (mask[lane] != 0 ? 1 : 0) << lane;
    return bits;
#endif
}

constexpr int AllLanes = (1 << LaneCount) - 1;

}  // namespace vorel
