#pragma once
// The test mesh of the benchmarks that need a given size: a UV sphere of radius 40 mm
// with about `triangles` triangles, its slices and stacks in the ratio 1.6 : 1.
#include "host/framework/MMPoint3d.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPrimitives.h"

#include <cmath>
#include <memory>

inline std::unique_ptr<MStlBase> SphereOfAbout(double triangles, MMPoint3d<float> centre = {0.0f, 0.0f, 0.0f}) {
  const unsigned slices = unsigned(std::sqrt(triangles / 2.0 * 1.6));
  const unsigned stacks = unsigned(triangles / 2.0 / slices) + 1;
  return MStlPrimitives::MakeUvSphere(centre, 40.0f, slices, stacks);
}
