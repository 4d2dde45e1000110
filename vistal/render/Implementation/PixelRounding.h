#pragma once
// Rounding and angle rules shared by the overlay code of IVRenderEx.
#include "host/win/WinTypes.h"

#include <cmath>
#include <limits>

namespace vistal_render {

// To the nearest whole number with halves away from zero: add 0.5 to a value that is not
// negative, subtract it from a negative one, truncate. The half is added in double so that
// a float argument is not rounded again by the addition. Values beyond the 32-bit range
// stop at its ends; a NaN gives 0.
inline LONG RoundToPixel(double value) {
  if (std::isnan(value)) return 0;
  const double rounded = value >= 0.0 ? value + 0.5 : value - 0.5;
  if (rounded >= double(std::numeric_limits<LONG>::max())) return std::numeric_limits<LONG>::max();
  if (rounded <= double(std::numeric_limits<LONG>::min())) return std::numeric_limits<LONG>::min();
  return LONG(rounded);
}

// Angular order of two vectors, counter-clockwise from the positive x axis of their own
// frame: negative when a comes first, positive when b does, 0 when both point the same way
// (cross product within 3.140185e-15 in the same quadrant).
inline int CompareAngles(double ax, double ay, double bx, double by) {
  auto quadrant = [](double x, double y) { return y >= 0.0 ? (x >= 0.0 ? 0 : 1) : (x < 0.0 ? 2 : 3); };
  const int qa = quadrant(ax, ay), qb = quadrant(bx, by);
  if (qa != qb) return qa < qb ? -1 : 1;
  const double cross = ax * by - ay * bx;
  if (std::fabs(cross) < 3.140185e-15) return 0;
  return cross > 0.0 ? -1 : 1;
}

}  // namespace vistal_render
