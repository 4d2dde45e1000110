// libFuzzer target for cut faces: a mesh built from the input bytes (arbitrary indices,
// repeated corners, non-manifold edges, open and closed parts) cut by an arbitrary plane
// (every float bit pattern of origin and normal), sliced and tessellated into a cap by the
// host's cut-face surface. Besides memory errors and undefined behaviour it checks that a
// cap is whole triangles of finite vertices.
#include "FuzzSupport.h"
#include "host/core/UIStlObject.h"
#include "host/framework/MFrame.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/meshops/UISurfaceSection.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  // Points on a coarse grid, so that corners, edges and the plane meet often.
  const unsigned numPoints = 3 + in.Take<std::uint8_t>() % 40;
  std::vector<std::int32_t> xyz;
  for (unsigned i = 0; i < 3 * numPoints; ++i) xyz.push_back(std::int32_t(in.Take<std::int8_t>()) * 1000);
  const unsigned numTriangles = 1 + in.Take<std::uint8_t>() % 80;
  std::vector<std::uint32_t> corners;
  for (unsigned i = 0; i < 3 * numTriangles; ++i) corners.push_back(in.Take<std::uint8_t>() % numPoints);
  std::shared_ptr<MStlBase> mesh;
  try {
    MStlBuilder builder;
    builder.AddPointsInUnits(xyz);
    builder.AddSurface(corners);
    mesh = builder.Build();
  } catch (const std::invalid_argument&) {
    return 0;  // refused by the builder, with its message: not a fault
  }

  const bool gridPlane = in.Take<std::uint8_t>() & 1;
  MMPoint3d<float> origin, normal;
  for (float* v : {&origin.x, &origin.y, &origin.z}) *v = gridPlane ? float(in.Take<std::int8_t>()) : in.Take<float>();
  for (float* v : {&normal.x, &normal.y, &normal.z}) *v = gridPlane ? float(in.Take<std::int8_t>() % 3) : in.Take<float>();
  // A frame whose edges span the plane: any two vectors across the normal.
  const MMPoint3d<float> helper = std::fabs(normal.x) < 0.5f ? MMPoint3d<float>(1, 0, 0) : MMPoint3d<float>(0, 1, 0);
  const MMPoint3d<float> u = normal.Cross(helper), v = normal.Cross(u);
  MFrame<float> frame(origin, u, v, normal);

  UIStlObject object(mesh);
  std::unique_ptr<UISurface> face(UISurfaceSection::Create());
  auto* section = static_cast<UISurfaceSection*>(face.get());
  const int mode = in.Take<std::uint8_t>() % 3;
  section->Setup(&object, frame, mode);
  const std::vector<IVVertexPN>& triangles = section->GetTriangles();
  VISTAL_FUZZ_CHECK(triangles.size() % 3 == 0);
  for (const IVVertexPN& p : triangles) VISTAL_FUZZ_CHECK(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
  return 0;
}
