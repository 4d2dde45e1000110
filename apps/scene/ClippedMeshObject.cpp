#include "apps/scene/ClippedMeshObject.h"

#include "host/framework/MOperation.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlPoint.h"
#include "host/mesh/MStlTraversal.h"

#include <vector>

ClippedMeshObject::ClippedMeshObject(std::shared_ptr<MStlBase> stl)
    : UIStlObject(std::move(stl)), ISimpleClippableObjectImp(this) {}

bool ClippedMeshObject::DoOperation(MOperation& operation) {
  UIStlObject::DoOperation(operation);
  return DoOperationClipping(operation);
}

void ClippedMeshObject::Render(IVRender& render, const MCoordinateSystem& system) {
  _RenderStartClipping(render, system);
  UIStlObject::Render(render, system);
  _RenderStopClipping(render, system);
  _RenderTextures(render, system);
}

void ClippedMeshObject::_GetStlToSlice(MStlBase*& mesh, const MMPlaneEq<double>&) {
  const MStlBase* source = GetStl();
  if (!source) return;
  MStlBuilder builder;
  std::vector<std::int32_t> points;
  points.reserve(std::size_t(source->GetNumPoints()) * 3);
  const MStlPoint* first = source->GetNumPoints() ? &source->GetPoint(0) : nullptr;
  for (std::uint32_t i = 0; i < source->GetNumPoints(); ++i) {
    const MStlPoint& p = source->GetPoint(i);
    points.insert(points.end(), {p.x, p.y, p.z});
  }
  builder.AddPointsInUnits(points);
  std::vector<std::uint32_t> corners;
  corners.reserve(std::size_t(source->GetNumTriangles()) * 3);
  ForEachTriangle(*source, [&](const MStlTriangle& t) {
    for (const MStlPoint* p : t.points) corners.push_back(std::uint32_t(p - first));
  });
  builder.AddSurface(corners);
  mesh = builder.Build().release();
}
