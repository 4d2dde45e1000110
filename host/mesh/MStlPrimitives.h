#pragma once
#include "host/HostApi.h"
#include "host/framework/MMPoint3d.h"

#include <memory>

class MStlBase;

// Procedural meshes, in scene units, each one surface under the root feature. The closed
// ones are watertight: every edge is shared by exactly two triangles that run along it in
// opposite directions, with counter-clockwise winding seen from outside, and no point is
// duplicated (one point per pole, seams share points). Slicers rely on this.
// Bad parameters (non-finite values, sizes that are zero or too small, counts too large
// for a mesh) throw std::invalid_argument.
class VISTAL_HOST_API MStlPrimitives {
public:
  // 8 points, 12 triangles; min < max on every axis.
  static std::unique_ptr<MStlBase> MakeBox(const MMPoint3d<float>& min, const MMPoint3d<float>& max);

  // Poles on the z axis; `slices` meridians (>= 3), `stacks` bands from pole to pole
  // (>= 2). 2 + slices * (stacks - 1) points, 2 * slices * (stacks - 1) triangles.
  static std::unique_ptr<MStlBase> MakeUvSphere(const MMPoint3d<float>& centre, float radius, unsigned slices,
                                                unsigned stacks);
  static std::unique_ptr<MStlBase> MakeEllipsoid(const MMPoint3d<float>& centre, const MMPoint3d<float>& radii,
                                                 unsigned slices, unsigned stacks);

  // Ring around the z axis: tube centre line of radius `majorRadius`, tube radius
  // `minorRadius` < `majorRadius`. segments * sides points, twice as many triangles.
  static std::unique_ptr<MStlBase> MakeTorus(const MMPoint3d<float>& centre, float majorRadius,
                                             float minorRadius, unsigned segments, unsigned sides);

  // An open grid over the parallelogram origin + s * u + t * v (s, t in [0, 1]), nu by nv
  // cells of two triangles, facing along u x v.
  static std::unique_ptr<MStlBase> MakePlanePatch(const MMPoint3d<float>& origin, const MMPoint3d<float>& u,
                                                  const MMPoint3d<float>& v, unsigned nu, unsigned nv);
};
