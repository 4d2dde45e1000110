#pragma once
#include "host/HostApi.h"
#include "host/mesh/MDataMaskIndex.h"

#include <cstdint>

class MStlBase;
class MStlFeature;
class MStlTriangle;

// A surface of a mesh: a list of triangles under one feature. Its triangles are
// contiguous in memory, first to last.
class VISTAL_HOST_API MStlSurface : public MDataMaskIndex {
public:
  MStlBase* mesh = nullptr;
  MStlFeature* feature = nullptr;
  MStlTriangle* first = nullptr;  // head of the triangle list; null for an empty surface
  std::uint32_t numTriangles = 0;

  const MStlTriangle* GetFirstTriangle() const { return first; }
  std::uint32_t GetNumTriangles() const { return numTriangles; }
  const MStlBase* GetMesh() const { return mesh; }
  const MStlFeature* GetFeature() const { return feature; }
};
