#pragma once
// Internal to the mesh readers: a triangle corner in integer units, and the conversion
// from file coordinates with the errors that the readers report.
#include "host/mesh/MStlUnits.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>

namespace stl_detail {

struct Corner {
  std::int32_t x, y, z;
};

// A definite fault of the file (its bytes can mean nothing else); the reader adds the name.
class StlProblem : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

inline std::string FormatNumber(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

// The reach of a corner coordinate in integer units: the transparency cache sums a
// triangle's three corners in 32 bits, which must not wrap.
inline constexpr std::int32_t kMaxCornerUnits = std::numeric_limits<std::int32_t>::max() / 3;

// `where` describes the corner ("triangle 3, corner 1"); it is called only on failure.
template <typename Where>
inline Corner ToCorner(double x, double y, double z, Where&& where) {
  const double scene[3] = {x, y, z};
  std::int32_t units[3];
  for (int k = 0; k < 3; ++k) {
    const EStlUnitsResult r = MStlSceneToUnits(scene[k], units[k]);
    if (r == EStlUnitsResult::eOk && units[k] >= -kMaxCornerUnits && units[k] <= kMaxCornerUnits) continue;
    const char axis = "xyz"[k];
    if (r == EStlUnitsResult::eNotFinite)
      throw StlProblem(where() + ": the " + axis + " coordinate is NaN or infinite");
    throw StlProblem(where() + ": " + axis + " = " + FormatNumber(scene[k]) +
                     " lies beyond the reach of mesh coordinates, +-" + std::to_string(kMaxCornerUnits) +
                     " integer units (a third of the 32-bit range) at " + std::to_string(IE) + " units per scene unit");
  }
  return {units[0], units[1], units[2]};
}

// The three corners of a binary STL triangle, as ToCorner makes them, x y z each into
// units[0, 9); false when a coordinate is unusable, which ToCorner then names. Without
// branches or library calls, and written where they are welded from: binary files hold
// millions of triangles.
inline bool ToCorners(const float (&v)[9], std::int32_t* units) {
  // A coordinate is usable when it rounds into +-kMaxCornerUnits; NaN fails the test.
  constexpr double kLimit = double(kMaxCornerUnits) + 0.5;
  const double ie = static_cast<double>(IE);
  bool usable = true;
  if (IE >= 1 && IE <= (1L << 20)) {
    // A float times such an IE has at most 45 significant bits, so adding a signed half
    // is exact, and truncating the sum rounds halves away from zero as MStlSceneToUnits.
    for (int i = 0; i < 9; ++i) {
      const double scaled = double(v[i]) * ie;
      const bool inRange = (scaled > -kLimit) & (scaled < kLimit);
      usable &= inRange;
      const double kept = inRange ? scaled : 0.0;
      units[i] = static_cast<std::int32_t>(kept + std::copysign(0.5, kept));
    }
    return usable;
  }
  for (int i = 0; i < 9; ++i) {
    usable &= MStlSceneToUnits(v[i], units[i]) == EStlUnitsResult::eOk && units[i] >= -kMaxCornerUnits &&
              units[i] <= kMaxCornerUnits;
  }
  return usable;
}

}  // namespace stl_detail
