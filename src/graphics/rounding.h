// Rounding to the nearest whole number, halves to even, without a library call
// (the drawing code rounds several numbers per sprite). The same results as
// std::nearbyint in the default rounding mode.
#pragma once

#include <cmath>

namespace vdx {

inline float RoundEven(float x) {
  // Adding and taking away 2^23 leaves no fraction; the addition itself rounds
  // halves to even. Numbers that large are whole already.
  constexpr float kShift = 8388608.0f;
  if (!(std::fabs(x) < kShift)) return x;
  const float shifted = std::fabs(x) + kShift;
  return std::copysign(shifted - kShift, x);
}

inline double RoundEven(double x) {
  constexpr double kShift = 4503599627370496.0;  // 2^52
  if (!(std::fabs(x) < kShift)) return x;
  const double shifted = std::fabs(x) + kShift;
  return std::copysign(shifted - kShift, x);
}

}  // namespace vdx
