#include "host/render/IVRender.h"

#include "host/framework/MMTransformMatrix.h"
#include "host/render/IVImmediateStream.h"

#include <algorithm>

struct IVRender::Streams {
  explicit Streams(IVRender& r) : p(r), pn(r), pnt(r), pnc(r) {}
  IVImmediateStream<IVVertexP> p;
  IVImmediateStream<IVVertexPN> pn;
  IVImmediateStream<IVVertexPNT> pnt;
  IVImmediateStream<IVVertexPNC> pnc;
};

bool IVRender::Memento::IsEqual(const Memento& o, EMemoType type) const {
  const IVRenderState& a = m_state;
  const IVRenderState& b = o.m_state;
  if ((type & eMemoTransform) && (a.worldToEye != b.worldToEye || a.eyeToWindow != b.eyeToWindow)) return false;
  if ((type & eMemoClipping) && a.clipPlanes != b.clipPlanes) return false;
  if ((type & eMemoFaces) && (a.backfaceVisible != b.backfaceVisible || a.backUsesFront != b.backUsesFront ||
                              a.backMaterial != b.backMaterial))
    return false;
  if ((type & eMemoMaterial) && a.material != b.material) return false;
  return true;
}

IVRender::IVRender() : m_streams(std::make_unique<Streams>(*this)) {}
IVRender::~IVRender() = default;

void IVRender::LoadWorldToEyeMatrix(const float matrix[16]) {
  std::copy(matrix, matrix + 16, m_state.worldToEye.begin());
}

void IVRender::LoadEyeToWindowMatrix(const float matrix[16]) {
  std::copy(matrix, matrix + 16, m_state.eyeToWindow.begin());
}

void IVRender::SetBackfaceVisible(bool visible, bool backUsesFront) {
  m_state.backfaceVisible = visible;
  m_state.backUsesFront = backUsesFront;
}

void IVRender::SetMaterialBack(const MMaterial& material) { m_state.backMaterial = material; }
void IVRender::SetMaterial(const MMaterial& material) { m_state.material = material; }

// Slots beyond what the renderer offers are ignored, so callers that ask
// GetNumClipPlanes() first never touch a slot that does not exist.
void IVRender::SetClipPlane(unsigned slot, float a, float b, float c, float d) {
  if (slot >= std::min(GetNumClipPlanes(), IVRenderState::kMaxClipPlanes)) return;
  IVClipPlane& p = m_state.clipPlanes[slot];
  p.a = a;
  p.b = b;
  p.c = c;
  p.d = d;
  // A point e in eye coordinates is M * x; the plane (a, b, c, d) * x = 0 becomes
  // ((a, b, c, d) * M^-1) * e = 0. A singular matrix leaves the equation as given.
  double m[16];
  for (int i = 0; i < 16; ++i) m[i] = m_state.worldToEye[i];
  const MMTransformMatrix worldToEye(m);
  const double plane[4] = {a, b, c, d};
  for (int j = 0; j < 4; ++j) {
    double sum = 0.0;
    for (int k = 0; k < 4; ++k) sum += plane[k] * (worldToEye.IsInverseValid() ? worldToEye.GetInverse()[k][j] : (k == j ? 1.0 : 0.0));
    p.eye[j] = float(sum);
  }
}

void IVRender::EnableClipPlane(unsigned slot, bool on) {
  if (slot >= std::min(GetNumClipPlanes(), IVRenderState::kMaxClipPlanes)) return;
  m_state.clipPlanes[slot].enabled = on;
}

void IVRender::SaveState(Memento& memento) const { memento.m_state = m_state; }

void IVRender::RestoreState(const Memento& memento) {
  m_state = memento.m_state;
  _StateRestored(eMemoAll);
}

void IVRender::RestoreState(const Memento& memento, EMemoType type) {
  const IVRenderState& s = memento.m_state;
  if (type & eMemoTransform) {
    m_state.worldToEye = s.worldToEye;
    m_state.eyeToWindow = s.eyeToWindow;
  }
  if (type & eMemoClipping) m_state.clipPlanes = s.clipPlanes;
  if (type & eMemoFaces) {
    m_state.backfaceVisible = s.backfaceVisible;
    m_state.backUsesFront = s.backUsesFront;
    m_state.backMaterial = s.backMaterial;
  }
  if (type & eMemoMaterial) m_state.material = s.material;
  _StateRestored(type);
}

IIVVertexStream<IVVertexPN>* IVRender::GetVertexStreamPN() { return new IVImmediateStream<IVVertexPN>(*this); }

void IVRender::DrawBatches(IVVertexBatchesBase& batches, const IVDrawOptions& options) {
  const auto* bytes = static_cast<const unsigned char*>(batches.Data());
  const IVVertexLayout& layout = batches.Layout();
  for (const auto& b : batches.Batches())
    _DrawVertices(b.primitive, layout, bytes + b.first * layout.stride, b.count, options);
}

IIVVertexStream<IVVertexP>& IVRender::_ImmediateStream(const IVVertexP*, const IVDrawOptions& o) {
  m_streams->p.SetOptions(o);
  return m_streams->p;
}
IIVVertexStream<IVVertexPN>& IVRender::_ImmediateStream(const IVVertexPN*, const IVDrawOptions& o) {
  m_streams->pn.SetOptions(o);
  return m_streams->pn;
}
IIVVertexStream<IVVertexPNT>& IVRender::_ImmediateStream(const IVVertexPNT*, const IVDrawOptions& o) {
  m_streams->pnt.SetOptions(o);
  return m_streams->pnt;
}
IIVVertexStream<IVVertexPNC>& IVRender::_ImmediateStream(const IVVertexPNC*, const IVDrawOptions& o) {
  m_streams->pnc.SetOptions(o);
  return m_streams->pnc;
}
