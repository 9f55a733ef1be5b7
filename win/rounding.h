#pragma once

// Rounding of fractional pixel positions and centring, shared by the windows and the skin.

#include <climits>
#include <cmath>

namespace win {

// The nearest integer, a half going to the even neighbour (0.5 -> 0, 1.5 -> 2, -2.5 -> -2).
// Worked out with exact arithmetic, so the floating-point unit's rounding mode plays no part: a
// conversion to an integer always truncates, and the fraction left over is exact. Values beyond
// the range of int give its nearest end; NaN gives 0.
inline int RoundHalfToEven(double value) {
  if (std::isnan(value)) return 0;
  const double magnitude = std::fabs(value);
  if (magnitude >= 2147483648.0) return value < 0 ? INT_MIN : INT_MAX;
  const long long whole = static_cast<long long>(magnitude);
  const double fraction = magnitude - static_cast<double>(whole);
  const bool up = fraction > 0.5 || (fraction == 0.5 && (whole & 1) != 0);
  const long long rounded = whole + (up ? 1 : 0);
  if (value < 0) return static_cast<int>(-rounded);
  return rounded > INT_MAX ? INT_MAX : static_cast<int>(rounded);
}

// The offset that centres a span of `inner` pixels within `outer` pixels: (outer - inner) / 2, a
// half going to the even neighbour. Negative when the inner span is the larger.
inline int CentredOffset(int outer, int inner) {
  return RoundHalfToEven((static_cast<double>(outer) - inner) / 2.0);
}

}  // namespace win
