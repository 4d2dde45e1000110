// The render operations of MClippingData: planes into clip slots, and cut faces.
#include "host/core/UISurface.h"
#include "host/render/IVRender.h"
#include "vistal/clipping/MClippingData.h"
#include "vistal/clipping/MClippingPlane.h"

#include <cmath>

namespace {

constexpr float kMinLength = 1.4901161193847656e-08f;  // 2^-26

// The plane's equation for a clip slot: the normal as read for clipping, of unit length
// unless it is too short to normalise; the equation itself is not normalised further.
void LoadPlane(IVRender& render, unsigned slot, MClippingPlane& plane) {
  const MFrame<float>& frame = plane.GetClippingPlane(true);
  MMPoint3d<float> n = frame.N;
  const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  if (length >= kMinLength) n = MMPoint3d<float>(n.x / length, n.y / length, n.z / length);
  const MMPoint3d<float>& o = frame.O;
  const float d = -((n.x * o.x + n.y * o.y) + n.z * o.z);
  render.SetClipPlane(slot, n.x, n.y, n.z, d);
  render.EnableClipPlane(slot, true);
}

}  // namespace

bool MClippingData::_LoadsAsClipPlane(const MClippingPlane& plane) const {
  return m_clip_to_full_slice || plane.GetTextureMappingMode() != MClippingPlane::eTextureMappingFullSlice;
}

bool MClippingData::_DrawsCutFaceUnclipped(const MClippingPlane& plane) const {
  return m_draw_full_plane && plane.GetTextureMappingMode() == MClippingPlane::eTextureMappingFullSlice;
}

std::vector<MClippingPlane*> MClippingData::GetCutFaceClippingPlanes(const MClippingPlane* plane) const {
  std::vector<MClippingPlane*> planes;
  if (plane && _DrawsCutFaceUnclipped(*plane)) return planes;
  for (const auto& entry : m_planes)
    if (entry.first != plane && _LoadsAsClipPlane(*entry.first)) planes.push_back(entry.first);
  return planes;
}

void MClippingData::_RenderStartClipping(IVRender& render, const MCoordinateSystem&, const MClippingPlane* leftOut) {
  unsigned slot = 0;
  for (const auto& entry : m_planes) {
    // The count is asked anew for every plane, as the renderer may change it.
    if (slot >= render.GetNumClipPlanes()) break;
    MClippingPlane* plane = entry.first;
    if (plane == leftOut || !_LoadsAsClipPlane(*plane)) continue;
    LoadPlane(render, slot, *plane);
    ++slot;
  }
  for (unsigned count = render.GetNumClipPlanes(); slot < count; ++slot) render.EnableClipPlane(slot, false);

  if (ShouldBeBackFacesVisible()) {
    // Back faces seen through the cut show in red, lit like the front.
    MMaterial back;
    back.SetDefaults();
    back = render.GetMaterial();
    back.SetDiffuse(0xFF);
    render.SetMaterialBack(back);
    render.SetBackfaceVisible(true, false);
  }
}

void MClippingData::_RenderStopClipping(IVRender& render, const MCoordinateSystem&) {
  for (unsigned slot = 0, count = render.GetNumClipPlanes(); slot < count; ++slot) render.EnableClipPlane(slot, false);
  if (ShouldBeBackFacesVisible()) render.SetBackfaceVisible(false, false);
}

void MClippingData::_RenderTextures(IVRender& render, const MCoordinateSystem& system) {
  for (auto& [plane, surface] : m_planes) {
    if (plane->GetTextureMappingMode() == MClippingPlane::eTextureMappingBackFaces) {
      render.SetBackfaceVisible(true, true);
      continue;
    }
    if (_DrawsCutFaceUnclipped(*plane))
      _RenderStopClipping(render, system);
    else
      _RenderStartClipping(render, system, plane);
    if (!surface) surface = _CalculateSurface(plane);
    if (surface) surface->Render(render, system);
    _RenderStopClipping(render, system);
  }
}

UISurface* MClippingData::_CalculateSurface(MClippingPlane* plane) {
  if (!mp_surface_creator) return nullptr;
  UISurface* surface = mp_surface_creator();
  if (surface) surface->Setup(mp_parent, plane->GetClippingPlane(true), int(plane->GetTextureMappingMode()));
  return surface;
}
