#include "vistal/clipping/MClippingPlane.h"

#include <cmath>

namespace {
constexpr float kMinLength = 1.4901161193847656e-08f;  // 2^-26
}

MClippingPlane::TextureOwner::~TextureOwner() {
  if (!owned || !texture) return;
  texture->Release();
  delete texture;
}

MClippingPlane::MClippingPlane() = default;
MClippingPlane::MClippingPlane(const MClippingPlane&) = default;
MClippingPlane& MClippingPlane::operator=(const MClippingPlane&) = default;
MClippingPlane::~MClippingPlane() = default;

void MClippingPlane::SetClippingPlane(const MFrame<float>& frame) {
  m_plane.carried = frame.carried;
  m_plane.O = frame.O;
  m_plane.U = frame.U;
  m_plane.V = frame.V;
  m_plane.N = frame.N;
}

MFrame<float>& MClippingPlane::GetClippingPlane(bool forClipping) {
  m_work_frame.carried = m_plane.carried;
  m_work_frame.O = m_plane.O;
  m_work_frame.U = m_plane.U;
  m_work_frame.V = m_plane.V;
  m_work_frame.N = m_plane.N;
  if (forClipping && m_clipped_side == eClippedSideReversed) m_work_frame.N = -m_plane.N;
  return m_work_frame;
}

MMPlaneEq<float> MClippingPlane::GetPlaneEquation() {
  MMPoint3d<float> n = GetClippingPlane(true).N;
  const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  if (length >= kMinLength) n = MMPoint3d<float>(n.x / length, n.y / length, n.z / length);
  const MMPoint3d<float> o = GetClippingPlane(true).O;
  float a = n.x, b = n.y, c = n.z;
  float d = -(((a * o.x + 0.0f) + b * o.y) + c * o.z);
  const float l = std::sqrt(c * c + (b * b + (a * a + 0.0f)));
  if (l != 0.0f) {
    a /= l;
    b /= l;
    c /= l;
    d /= l;
  }
  return {a, b, c, d};
}

void MClippingPlane::Invert() { m_plane.N = MMPoint3d<float>(-m_plane.N.x, -m_plane.N.y, -m_plane.N.z); }

bool MClippingPlane::SetSliceSet(IUISliceSetWithNavigation* set) {
  if (!set) return false;
  if (m_slice_type != IUISliceSetWithNavigation::eSliceNone && m_slice_type != set->GetSliceType()) return false;
  m_slice_set = set;
  m_slice_type = set->GetSliceType();
  return true;
}

void MClippingPlane::SetSliceType(IUISliceSetWithNavigation::SLICE_TYPE type) {
  m_slice_type = type;
  if (m_slice_set && m_slice_set->GetSliceType() != type) m_slice_set = nullptr;
}

void MClippingPlane::SetTexture(IVTexture* texture) {
  if (m_texture) m_texture->owned = false;
  // Not make_shared: its type tag would be a unique symbol that keeps the library loaded.
  m_texture = texture ? std::shared_ptr<TextureOwner>(new TextureOwner{texture}) : nullptr;
}
