#include "apps/scene/ClippedMeshObject.h"

#include "host/framework/MOperation.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlPoint.h"
#include "host/mesh/MStlTraversal.h"
#include "host/render/IVRenderPlacement.h"
#include "vistal/clipping/MClippingData.h"

#include <algorithm>
#include <cmath>
#include <vector>

void MeshUnitsToEye(const float worldToEye[16], float unitsToEye[16]) {
  const float s = 1.0f / float(IE);
  for (int i = 0; i < 16; ++i) unitsToEye[i] = worldToEye[i] * ((i % 4 == 3) ? 1.0f : s);
}

ClippedMeshObject::ClippedMeshObject(std::shared_ptr<MStlBase> stl)
    : UIStlObject(std::move(stl)), ISimpleClippableObjectImp(this) {}

bool ClippedMeshObject::DoOperation(MOperation& operation) {
  UIStlObject::DoOperation(operation);
  return DoOperationClipping(operation);
}

std::unique_ptr<MUndoRecord> ClippedMeshObject::CreateUndoRecord(MOperation& operation) {
  return GetClippingData()->CreateUndoRecord(operation);
}

void ClippedMeshObject::Render(IVRender& render, const MCoordinateSystem& system) {
  _RenderStartClipping(render, system);
  if (m_animation) {
    // The animation container works in integer units: scale them to scene units for it.
    // The clip planes stay where they are, being fixed when they were loaded.
    const IVRenderPlacement placed(render, GetCoordinateSystem(), system);
    const IVRenderState saved = render.GetState();
    float unitsToEye[16];
    MeshUnitsToEye(saved.worldToEye.data(), unitsToEye);
    render.LoadWorldToEyeMatrix(unitsToEye);
    const MMaterial material = render.GetMaterial();
    render.SetMaterial(GetRenderMaterial());
    m_animation->RenderTriangles(render, true, false, 0);
    render.SetMaterial(material);
    render.LoadWorldToEyeMatrix(saved.worldToEye.data());
  } else {
    UIStlObject::Render(render, system);
  }
  _RenderStopClipping(render, system);
  _RenderTextures(render, system);
}

// Ripples across the surface, pushed out from the mesh's centre: an animation that
// shows every point moving by its own amount.
void ClippedMeshObject::SetDisplacement(float maxMillimetres) {
  MStlBase* mesh = GetStl();
  if (!mesh) return;
  m_displacement = std::make_unique<MStlVectorMaskPoints>(*mesh);
  const MStlIntegerBox box = mesh->GetBoundingBoxInUnits();
  const MMPoint3d<double> centre((double(box.min.x) + box.max.x) / 2, (double(box.min.y) + box.max.y) / 2,
                                 (double(box.min.z) + box.max.z) / 2);
  const double size = std::max({double(box.max.x) - box.min.x, double(box.max.z) - box.min.z, 1.0});
  for (std::uint32_t i = 0; i < mesh->GetNumPoints(); ++i) {
    const MStlPoint& p = mesh->GetPoint(i);
    MMPoint3d<double> out = MMPoint3d<double>(p.x, p.y, p.z) - centre;
    const double length = out.Length();
    if (length == 0.0) continue;
    const double wave = 0.5 + 0.5 * std::sin(12.0 * (p.x - centre.x) / size) * std::cos(12.0 * (p.z - centre.z) / size);
    const double amount = wave * maxMillimetres * double(IE) / length;
    m_displacement->SetInfo(p, MMPoint3d<float>(float(out.x * amount), float(out.y * amount), float(out.z * amount)));
  }
  m_animation = std::make_unique<IVVertexContainerStlDataAnimation>(mesh, m_displacement.get());
}

void ClippedMeshObject::SetDisplacementScale(float scale) {
  if (m_animation) m_animation->SetAnimationScale(scale);
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
