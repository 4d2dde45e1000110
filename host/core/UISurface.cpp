#include "host/core/UISurface.h"

#include "host/render/IVRender.h"
#include "host/render/IVRenderPlacement.h"

UISurface::UISurface() = default;
UISurface::UISurface(const UISurface&) = default;
UISurface& UISurface::operator=(const UISurface&) = default;
UISurface::~UISurface() = default;

bool UISurface::Setup(UIObjectMedical* parent, MFrame<float>& frame, int textureMappingMode) {
  mp_parent = parent;
  m_frame = frame;
  m_texture_mapping_mode = textureMappingMode;
  // A frame whose edges are parallel (or zero) spans no area.
  m_set_up = parent != nullptr && frame.U.Cross(frame.V).SquaredLength() > 0.0f;
  return m_set_up;
}

void UISurface::GetBoundingBox(M3DBoundingBox<float>& box, unsigned scene) const {
  if (!m_set_up) return;
  const MFrame<float>& f = m_frame;
  box.Add(f.O);
  box.Add(f.O + f.U);
  box.Add(f.O + f.U + f.V);
  box.Add(f.O + f.V);
}

void UISurface::Render(IVRender& render, const MCoordinateSystem& system) {
  if (!m_set_up) return;
  const IVRenderPlacement placed(render, GetCoordinateSystem(), system);
  const MFrame<float>& f = m_frame;
  // The stored normal when it has a length, else the one the edges give.
  MMPoint3d<float> n = f.N.SquaredLength() > 0.0f ? f.N : f.U.Cross(f.V);
  n = n / n.Length();
  auto vertex = [&n](const MMPoint3d<float>& p) { return IVVertexPN{p.x, p.y, p.z, n.x, n.y, n.z}; };
  const IVVertexPN a = vertex(f.O), b = vertex(f.O + f.U), c = vertex(f.O + f.U + f.V), d = vertex(f.O + f.V);
  IIVVertexStream<IVVertexPN>& stream = render.ImmediateStream<IVVertexPN>(IVDrawOptions{});
  stream.BeginTriangles();
  // Counter-clockwise seen from the side the normal points to, so the face is a front face
  // there.
  if (f.U.Cross(f.V).Dot(n) >= 0.0f) {
    stream.AddTriangle(a, b, c);
    stream.AddTriangle(a, c, d);
  } else {
    stream.AddTriangle(a, c, b);
    stream.AddTriangle(a, d, c);
  }
  stream.End();
}

const wchar_t* UISurface::GetUserInterfaceTypeName() const { return L"Cut face"; }
