#include "vistal/containers/IVVertexContainerTexturedPlane.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlTraversal.h"
#include "host/mesh/MStlUnits.h"

namespace {

// Fills a vertex's position, normal and texture coordinates through the plane.
class PlaneProjector {
public:
  PlaneProjector(const MMTransformMatrix& plane, float uMax, float vMax, float width, float height, bool scaleByIE)
      : m_plane(plane),
        m_u_max(uMax),
        m_v_max(vMax),
        m_width(width),
        m_height(height),
        m_v_max_f(vMax),
        m_scale_by_ie(scaleByIE) {}

  IVVertexPNT Vertex(std::int32_t x, std::int32_t y, std::int32_t z, const float (&normal)[3]) {
    IVVertexPNT v;
    if (m_scale_by_ie) {
      v.x = MStlUnitsToSceneF(x);
      v.y = MStlUnitsToSceneF(y);
      v.z = MStlUnitsToSceneF(z);
    } else {
      v.x = float(x);
      v.y = float(y);
      v.z = float(z);
    }
    v.nx = normal[0];
    v.ny = normal[1];
    v.nz = normal[2];
    // A vertex that does not map (no inverse, or a zero projective weight) keeps the
    // plane point of the vertex before it, the origin for the first: with no inverse at
    // all every vertex gets u = 0 and v = vMax.
    try {
      m_plane.InverseTransformPoint(m_on_plane, MMPoint3d<double>(v.x, v.y, v.z), false);
    } catch (const MMTransformException&) {
    }
    v.u = static_cast<float>(m_u_max * m_on_plane.x / m_width);
    const float q = static_cast<float>(m_v_max * m_on_plane.y / m_height);
    v.v = m_v_max_f - q;
    return v;
  }

private:
  const MMTransformMatrix& m_plane;
  const double m_u_max, m_v_max, m_width, m_height;  // the products and quotients are taken in double
  const float m_v_max_f;                             // the difference in float
  const bool m_scale_by_ie;
  MMPoint3d<double> m_on_plane;  // starts at the origin
};

}  // namespace

IVVertexContainerTexturedPlane::IVVertexContainerTexturedPlane(MStlBase* stl)
    : IVVertexContainerSTLData<IVVertexPNT>(stl) {}

IVVertexContainerTexturedPlane::IVVertexContainerTexturedPlane(const IVVertexContainerTexturedPlane&) = default;
IVVertexContainerTexturedPlane& IVVertexContainerTexturedPlane::operator=(const IVVertexContainerTexturedPlane&) =
    default;
IVVertexContainerTexturedPlane::~IVVertexContainerTexturedPlane() = default;

void IVVertexContainerTexturedPlane::DestroyRenderOptimisations() {
  IVVertexContainer<IVVertexPNT>::DestroyRenderOptimisations();
}

void IVVertexContainerTexturedPlane::SetParams(const MMTransformMatrix& planeMatrix_, float uMax_, float vMax_,
                                               float width_, float height_, bool scaleByIE_) {
  planeMatrix = planeMatrix_;
  uMax = uMax_;
  vMax = vMax_;
  width = width_;
  height = height_;
  scaleByIE = scaleByIE_;
  DestroyRenderOptimisations();
}

void IVVertexContainerTexturedPlane::_Optimise(IIVVertexStream<IVVertexPNT>& stream) { _OptimiseFlatShading(stream); }

void IVVertexContainerTexturedPlane::_OptimiseFlatShading(IIVVertexStream<IVVertexPNT>& stream) {
  if (!m_stl) return;
  stream.BeginTriangles();
  PlaneProjector projector(planeMatrix, uMax, vMax, width, height, scaleByIE);

  ForEachTriangle(*m_stl, [&](const MStlTriangle& t) {
    if (!t.IsMarked()) return;
    IVVertexPNT v[3];
    for (int k = 0; k < 3; ++k) {
      const MStlPoint& p = *t.points[k];
      v[k] = projector.Vertex(p.x, p.y, p.z, t.normal);
    }
    stream.AddTriangle(v[0], v[1], v[2]);
  });

  const MStlCompactTriangleArray& compact = m_stl->GetCompactTriangleArray();
  const std::uint32_t count = compact.GetCount();
  for (std::uint32_t i = 0; i < count; ++i) {
    const MStlCompactTriangle& r = compact.At(i);
    const float normal[3] = {float(r.normal[0] / 127.0), float(r.normal[1] / 127.0), float(r.normal[2] / 127.0)};
    IVVertexPNT v[3];
    for (int k = 0; k < 3; ++k) {
      const std::int32_t* xyz = r.corners[k];  // x, then y and z behind it
      v[k] = projector.Vertex(xyz[0], xyz[1], xyz[2], normal);
    }
    stream.AddTriangle(v[0], v[1], v[2]);
  }
  stream.End();
}
