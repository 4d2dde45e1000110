#pragma once
// A mesh point: its mask slot, then its coordinates in integer units (see MStlUnits.h).
#include "host/HostApi.h"
#include "host/framework/MMPoint3d.h"
#include "host/mesh/MDataMaskIndex.h"
#include "host/mesh/MStlUnits.h"

#include <cstdint>

class VISTAL_HOST_API MStlPoint : public MDataMaskIndex {
public:
  std::int32_t x = 0, y = 0, z = 0;

  constexpr MStlPoint() = default;
  constexpr MStlPoint(std::int32_t x_, std::int32_t y_, std::int32_t z_) : x(x_), y(y_), z(z_) {}

  MMPoint3d<float> ToScene() const { return {MStlUnitsToSceneF(x), MStlUnitsToSceneF(y), MStlUnitsToSceneF(z)}; }
  // The coordinates as they are, converted to float.
  MMPoint3d<float> ToFloat() const { return {float(x), float(y), float(z)}; }
};

// Compact triangle records reach y and z through a pointer to x, so the three coordinates
// must follow the 4-byte slot without padding: 16 bytes leave no room for any.
static_assert(sizeof(MDataMaskIndex) == 4);
static_assert(sizeof(MStlPoint) == 16, "MStlPoint must be the mask slot followed by x, y, z");
