#pragma once
// Internal to the animation containers: a mesh point moved by its scaled displacement.
#include "vistal/masks/MDataMask.h"

// Each product of two floats is exact in double and the integer coordinate is exact
// too, so the sum is rounded once in double and then to float: as close to the exact
// sum as float allows, bar a double rounding in rare ties.
template <typename V>
inline void IVDisplacePoint(V& out, const MStlPoint& p, const MStlVectorMaskPoints& mask, float scale) {
  const MMPoint3d<float>& d = mask.GetInfo(p);
  const double s = scale;
  out.x = static_cast<float>(double(d.x) * s + double(p.x));
  out.y = static_cast<float>(double(d.y) * s + double(p.y));
  out.z = static_cast<float>(double(d.z) * s + double(p.z));
}
