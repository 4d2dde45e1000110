#include "scene/ClippedMeshObject.h"

#include "host/framework/MClipRegion.h"
#include "host/framework/MOperation.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlPoint.h"
#include "host/mesh/MStlTraversal.h"
#include "host/render/IVRenderPlacement.h"
#include "host/meshops/UISurfaceSection.h"
#include "vistal/clipping/MClippingData.h"
#include "vistal/clipping/MClippingPlane.h"
#include "host/render/IVRender.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

void MeshUnitsToEye(const float worldToEye[16], float unitsToEye[16]) {
  const float s = 1.0f / float(IE);
  for (int i = 0; i < 16; ++i) unitsToEye[i] = worldToEye[i] * ((i % 4 == 3) ? 1.0f : s);
}

namespace {

// A mesh with the same points, in the same order, and the same triangles, in one surface.
std::unique_ptr<MStlBase> CopyMesh(const MStlBase& source) {
  MStlBuilder builder;
  std::vector<std::int32_t> points;
  points.reserve(std::size_t(source.GetNumPoints()) * 3);
  for (std::uint32_t i = 0; i < source.GetNumPoints(); ++i) {
    const MStlPoint& p = source.GetPoint(i);
    points.insert(points.end(), {p.x, p.y, p.z});
  }
  builder.AddPointsInUnits(points);
  std::vector<std::uint32_t> corners;
  corners.reserve(std::size_t(source.GetNumTriangles()) * 3);
  // A point's mask slot is its number in the mesh.
  ForEachTriangle(source, [&](const MStlTriangle& t) {
    for (const MStlPoint* p : t.points) corners.push_back(p->GetMaskIndex());
  });
  builder.AddSurface(corners);
  return builder.Build();
}

}  // namespace

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
  // After the clipping state, which may have set red back faces for looking into a cut.
  IVRender::Memento faces;
  if (m_two_sided) {
    render.SaveState(faces);
    render.SetBackfaceVisible(true, true);
  }
  UIStlObject::Render(render, system);
  if (m_two_sided) render.RestoreState(faces, IVRender::eMemoFaces);
  _RenderStopClipping(render, system);
  _RenderTextures(render, system);
}

void ClippedMeshObject::GetKeptPoints(std::vector<MMPoint3d<double>>& points, unsigned scene,
                                      const MClipRegion& region) const {
  MClipRegion kept = region;
  if (const MClippingData* data = GetClippingData())
    for (const auto& entry : data->GetPlanes())
      if (data->IsClipped(entry.first)) {
        const MMPlaneEq<float> e = entry.first->GetPlaneEquation();
        kept.AddPlane({e.a, e.b, e.c, e.d});
      }
  UIStlObject::GetKeptPoints(points, scene, kept);
}

bool ClippedMeshObject::GetCutFaceClipFrames(const MFrame<float>& face, std::vector<MFrame<float>>& frames) const {
  frames.clear();
  const MClippingData* data = GetClippingData();
  if (!data) return false;
  // A face is set up with its plane's frame as read for clipping.
  for (const auto& entry : data->GetPlanes()) {
    if (!(entry.first->GetClippingPlane(true) == face)) continue;
    for (MClippingPlane* other : data->GetCutFaceClippingPlanes(entry.first))
      frames.push_back(other->GetClippingPlane(true));
    return true;
  }
  return false;
}

std::vector<std::string> ClippedMeshObject::GetCutFaceWarnings() {
  std::vector<std::string> warnings;
  for (UIObject* surface : GetClippingSurfaces())
    if (const auto* section = dynamic_cast<const UISurfaceSection*>(surface)) {
      const std::string& warning = section->GetWarning();
      if (!warning.empty() && std::find(warnings.begin(), warnings.end(), warning) == warnings.end())
        warnings.push_back(warning);
    }
  return warnings;
}

// Ripples across the surface, pushed out from the mesh's centre: an animation that
// shows every point moving by its own amount.
void ClippedMeshObject::SetDisplacement(float maxMillimetres) {
  if (!m_rest) m_rest = GetStlShared();
  if (!m_rest) return;
  const MStlBase& mesh = *m_rest;
  m_displacement = std::make_unique<MStlVectorMaskPoints>(*m_rest);
  const MStlIntegerBox box = mesh.GetBoundingBoxInUnits();
  const MMPoint3d<double> centre((double(box.min.x) + box.max.x) / 2, (double(box.min.y) + box.max.y) / 2,
                                 (double(box.min.z) + box.max.z) / 2);
  const double size = std::max({double(box.max.x) - box.min.x, double(box.max.z) - box.min.z, 1.0});
  for (std::uint32_t i = 0; i < mesh.GetNumPoints(); ++i) {
    const MStlPoint& p = mesh.GetPoint(i);
    MMPoint3d<double> out = MMPoint3d<double>(p.x, p.y, p.z) - centre;
    const double length = out.Length();
    if (length == 0.0) continue;
    const double wave = 0.5 + 0.5 * std::sin(12.0 * (p.x - centre.x) / size) * std::cos(12.0 * (p.z - centre.z) / size);
    const double amount = wave * maxMillimetres * double(IE) / length;
    m_displacement->SetInfo(p, MMPoint3d<float>(float(out.x * amount), float(out.y * amount), float(out.z * amount)));
  }
  SetStl(CopyMesh(mesh));
  _Pose();
}

void ClippedMeshObject::SetDisplacementScale(float scale) {
  m_scale = scale;
  _Pose();
}

void ClippedMeshObject::_Pose() {
  MStlBase* posed = GetStl();
  if (!m_displacement || !posed || posed == m_rest.get() || posed->GetNumPoints() != m_rest->GetNumPoints()) return;
  std::vector<std::int32_t> xyz;
  xyz.reserve(std::size_t(posed->GetNumPoints()) * 3);
  const double scale = m_scale;
  auto moved = [scale](std::int32_t at, float by) {
    const double units = std::round(double(at) + double(by) * scale);
    return std::int32_t(std::clamp(units, double(INT32_MIN), double(INT32_MAX)));
  };
  for (std::uint32_t i = 0; i < m_rest->GetNumPoints(); ++i) {
    const MStlPoint& p = m_rest->GetPoint(i);
    const MMPoint3d<float>& d = m_displacement->GetInfo(p);
    xyz.insert(xyz.end(), {moved(p.x, d.x), moved(p.y, d.y), moved(p.z, d.z)});
  }
  MStlBuilder::MovePointsInUnits(*posed, xyz);
}

void ClippedMeshObject::_GetStlToSlice(MStlBase*& mesh, const MMPlaneEq<double>&) {
  if (const MStlBase* source = GetStl()) mesh = CopyMesh(*source).release();
}
