#pragma once
#include "host/win/WinTypes.h"

#include <cstdint>
#include <limits>

// Win32's MulDiv: number * numerator / denominator with a 64-bit product, rounded to the
// nearest whole number with halves away from zero. -1 when the denominator is 0 or the
// result does not fit in 32 bits (as on the host, a true -1 cannot be told from that).
inline int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  std::int64_t product = std::int64_t(number) * numerator;
  std::int64_t divisor = denominator;
  if (divisor < 0) product = -product, divisor = -divisor;
  const std::int64_t half = divisor / 2;
  const std::int64_t result = (product < 0 ? product - half : product + half) / divisor;
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) return -1;
  return int(result);
}
