// The transcendental functions of the math library: each takes a float, computes in double
// precision and rounds the result back to float, the precision contract every caller relies on.
#pragma once

#include <cmath>

namespace vorel {

inline float preciseSqrt(float value) {
    return static_cast<float>(std::sqrt(double{value}));
}
inline float preciseSin(float value) {
    return static_cast<float>(std::sin(double{value}));
}
inline float preciseCos(float value) {
    return static_cast<float>(std::cos(double{value}));
}
inline float preciseAcos(float value) {
    return static_cast<float>(std::acos(double{value}));
}
inline float preciseAtan2(float ordinate, float abscissa) {
    return static_cast<float>(std::atan2(double{ordinate}, double{abscissa}));
}

}  // namespace vorel
