// Pi: the one value of pi the project uses, in double and in float (the float rounded from the
// double, so both name the same number).
#pragma once

namespace vorel {

inline constexpr double Pi = 3.14159265358979323846;
inline constexpr float PiFloat = static_cast<float>(Pi);

}  // namespace vorel
