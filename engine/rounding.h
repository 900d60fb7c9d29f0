// Conversions of computed lengths and counts to integers. The engine rounds half away
// from zero (add or subtract 0.5, then truncate) so that a length such as 27562.5 samples
// becomes 27563 on every platform. The conversions saturate instead of overflowing: a
// nonsensical host value (an absurd sample rate, say) must not become undefined behaviour.
#pragma once

#include <cstdint>
#include <limits>

namespace velmora::dsp {

// Truncates toward zero, saturating at the int range; not-a-number gives 0.
inline int TruncateToInt(double x) {
  if (!(x == x)) {
    return 0;
  }
  if (x >= 2147483647.0) {
    return std::numeric_limits<int>::max();
  }
  if (x <= -2147483648.0) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(x);
}

inline int RoundToInt(double x) {
  return TruncateToInt(x >= 0.0 ? x + 0.5 : x - 0.5);
}

// Rounds a non-negative length half away from zero into an unsigned count; negative or
// not-a-number lengths give 0.
inline uint32_t RoundToUnsigned(double x) {
  if (!(x > 0.0)) {
    return 0;
  }
  double rounded = x + 0.5;
  if (rounded >= 4294967295.0) {
    return std::numeric_limits<uint32_t>::max();
  }
  return static_cast<uint32_t>(rounded);
}

}  // namespace velmora::dsp
