#pragma once
// Mesh coordinates are signed 32-bit integers; IE is the number of integer units per
// scene unit. The scene unit is the millimetre and IE is 1000, so one integer unit is a
// micrometre: fine enough for medical geometry, with a reach of +-2147 m.
#include "host/HostApi.h"

#include <cmath>
#include <cstdint>

extern VISTAL_HOST_API long IE;

// Why a scene coordinate has no integer counterpart.
enum class EStlUnitsResult { eOk, eNotFinite, eOutOfRange };

// Scene units to integer units, rounded to the nearest unit (halves away from zero).
// Inline and free of library calls: the STL reader converts millions of coordinates.
inline EStlUnitsResult MStlSceneToUnits(double scene, std::int32_t& units) {
  const double scaled = scene * static_cast<double>(IE);
  // The range test comes first, and fails for NaN too, so that the conversion is defined.
  if (!(scaled > -2147483649.0 && scaled < 2147483648.0))
    return std::isfinite(scene) ? EStlUnitsResult::eOutOfRange : EStlUnitsResult::eNotFinite;
  std::int64_t whole = static_cast<std::int64_t>(scaled);  // toward zero
  const double rest = scaled - static_cast<double>(whole);  // exact at this magnitude
  if (rest >= 0.5) {
    ++whole;
  } else if (rest <= -0.5) {
    --whole;
  }
  if (whole < INT32_MIN || whole > INT32_MAX) return EStlUnitsResult::eOutOfRange;
  units = static_cast<std::int32_t>(whole);
  return EStlUnitsResult::eOk;
}

// Integer units to scene units.
inline double MStlUnitsToScene(std::int32_t units) {
  return static_cast<double>(units) / static_cast<double>(IE);
}
inline float MStlUnitsToSceneF(std::int32_t units) { return static_cast<float>(MStlUnitsToScene(units)); }
