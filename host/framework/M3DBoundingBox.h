#pragma once
// The framework's axis-aligned box: six values in the order x-min, x-max, y-min, y-max,
// z-min, z-max. A box is valid when no minimum exceeds its maximum; the empty box has
// every minimum at the largest float and every maximum at its negation, so that adding
// the first point makes it that point.
#include "host/framework/MMPoint3d.h"

#include <algorithm>
#include <limits>

template <typename T>
class M3DBoundingBox {
public:
  static constexpr T kEmptyMin = std::numeric_limits<float>::max();  // 3.4028235e+38
  T xmin = kEmptyMin, xmax = -kEmptyMin;
  T ymin = kEmptyMin, ymax = -kEmptyMin;
  T zmin = kEmptyMin, zmax = -kEmptyMin;

  M3DBoundingBox() = default;
  M3DBoundingBox(T x0, T x1, T y0, T y1, T z0, T z1)
      : xmin(x0), xmax(x1), ymin(y0), ymax(y1), zmin(z0), zmax(z1) {}

  bool IsValid() const { return !(xmin > xmax) && !(ymin > ymax) && !(zmin > zmax); }
  void SetEmpty() { *this = M3DBoundingBox(); }

  void Add(const MMPoint3d<T>& p) {
    xmin = std::min(xmin, p.x); xmax = std::max(xmax, p.x);
    ymin = std::min(ymin, p.y); ymax = std::max(ymax, p.y);
    zmin = std::min(zmin, p.z); zmax = std::max(zmax, p.z);
  }
  void Add(const M3DBoundingBox& b) {
    if (!b.IsValid()) return;
    Add(MMPoint3d<T>(b.xmin, b.ymin, b.zmin));
    Add(MMPoint3d<T>(b.xmax, b.ymax, b.zmax));
  }

  MMPoint3d<T> Min() const { return {xmin, ymin, zmin}; }
  MMPoint3d<T> Max() const { return {xmax, ymax, zmax}; }
  MMPoint3d<T> Center() const { return {(xmin + xmax) / 2, (ymin + ymax) / 2, (zmin + zmax) / 2}; }

  // The eight corners; bit 0 of the index picks x-max, bit 1 y-max, bit 2 z-max.
  MMPoint3d<T> Corner(int i) const {
    return {(i & 1) ? xmax : xmin, (i & 2) ? ymax : ymin, (i & 4) ? zmax : zmin};
  }
};
