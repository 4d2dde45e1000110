#pragma once
// A displacement field over the points of a mesh, as the animation containers read it:
// one vector per point, found by the point's mask index. The mesh owner keeps one entry
// for every point of the mesh; the containers do not range-test.
#include "host/framework/MMPoint3d.h"
#include "host/mesh/MStlPoint.h"
#include "vistal/Api.h"

class VISTAL_API IVDisplacementSource {
public:
  IVDisplacementSource() = default;
  IVDisplacementSource(const IVDisplacementSource&) = default;
  IVDisplacementSource& operator=(const IVDisplacementSource&) = default;
  virtual ~IVDisplacementSource();

  // The displacement of the point, in the mesh's integer units.
  virtual const MMPoint3d<float>& GetInfo(const MStlPoint& point) const = 0;
};
