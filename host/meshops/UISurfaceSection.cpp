#include "host/meshops/UISurfaceSection.h"

#include "host/core/UIStlObject.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlUnits.h"
#include "host/meshops/MNewSlicer.h"
#include "host/render/IVRenderPlacement.h"
#include "host/render/IVVertexContainer.h"

#include <GL/glu.h>

#include <array>
#include <cmath>
#include <deque>
#include <utility>

namespace {

// What the tessellator callbacks fill: the corners of its triangles, in order.
struct Tessellation {
  std::deque<std::array<double, 3>> vertices;  // inputs and combined points; never move
  std::vector<const double*> corners;
  bool failed = false;
};

void GLAPIENTRY OnVertex(void* vertex, void* data) {
  static_cast<Tessellation*>(data)->corners.push_back(static_cast<const double*>(vertex));
}

// Where contours cross or touch the tessellator needs a new vertex: the point it found.
void GLAPIENTRY OnCombine(GLdouble coords[3], void* /*neighbours*/[4], GLfloat /*weights*/[4], void** out,
                          void* data) {
  auto* t = static_cast<Tessellation*>(data);
  t->vertices.push_back({coords[0], coords[1], coords[2]});
  *out = t->vertices.back().data();
}

void GLAPIENTRY OnError(GLenum, void* data) { static_cast<Tessellation*>(data)->failed = true; }

// With an edge-flag callback the tessellator hands out separate triangles only, never fans
// or strips; the flags themselves are of no use here.
void GLAPIENTRY OnEdgeFlag(GLboolean, void*) {}
void GLAPIENTRY OnBegin(GLenum, void*) {}
void GLAPIENTRY OnEnd(void*) {}

template <typename F>
_GLUfuncptr Callback(F* f) {
  return reinterpret_cast<_GLUfuncptr>(f);
}

}  // namespace

// The face's triangles, emitted as one batch.
class UISurfaceSection::FaceContainer final : public IVVertexContainer<IVVertexPN> {
public:
  explicit FaceContainer(const std::vector<IVVertexPN>& triangles) : m_triangles(triangles) {}

protected:
  void _Optimise(IIVVertexStream<IVVertexPN>& stream) override {
    stream.BeginTriangles();
    stream.AddTriangles(m_triangles.data(), m_triangles.size() / 3);
    stream.End();
  }

private:
  const std::vector<IVVertexPN>& m_triangles;
};

UISurfaceSection::UISurfaceSection() : m_container(std::make_unique<FaceContainer>(m_triangles)) {}

UISurfaceSection::UISurfaceSection(const UISurfaceSection& o)
    : UISurface(o),
      mp_stl_object(o.mp_stl_object),
      m_normal(o.m_normal),
      m_origin(o.m_origin),
      m_cut_mesh(o.m_cut_mesh),
      m_cut_validity(o.m_cut_validity),
      m_triangles(o.m_triangles),
      m_box(o.m_box),
      m_container(std::make_unique<FaceContainer>(m_triangles)) {
  if (m_cut_mesh) m_cut_mesh->GetValidity().AddDependant(m_cut_validity);
}

UISurfaceSection& UISurfaceSection::operator=(const UISurfaceSection& o) {
  if (this == &o) return *this;
  UISurface::operator=(o);
  _Follow(o.m_cut_mesh);
  m_cut_validity = o.m_cut_validity;
  mp_stl_object = o.mp_stl_object;
  m_normal = o.m_normal;
  m_origin = o.m_origin;
  m_triangles = o.m_triangles;
  m_box = o.m_box;
  m_container->DestroyRenderOptimisations();
  return *this;
}

UISurfaceSection::~UISurfaceSection() { _Follow(nullptr); }

UISurface* UISurfaceSection::Create() { return new UISurfaceSection; }

bool UISurfaceSection::Setup(UIObjectMedical* parent, MFrame<float>& frame, int textureMappingMode) {
  _Follow(nullptr);
  _ClearFace();
  mp_stl_object = nullptr;

  const auto* object = textureMappingMode == 2 ? nullptr : dynamic_cast<const UIStlObject*>(parent);
  MMPoint3d<double> n(frame.N);
  if (n.SquaredLength() == 0.0) n = MMPoint3d<double>(frame.U).Cross(MMPoint3d<double>(frame.V));
  const double length = n.Length();
  const MMPoint3d<double> origin(frame.O);
  const bool plane = std::isfinite(length) && length != 0.0 && std::isfinite(origin.Dot(origin));
  // The base keeps the arguments; told of no parent when the section follows none.
  if (!object || !plane || !UISurface::Setup(parent, frame, textureMappingMode)) {
    UISurface::Setup(nullptr, frame, textureMappingMode);
    return false;
  }
  mp_stl_object = object;
  m_normal = n / length;
  m_origin = origin;
  _Update();
  return !m_triangles.empty();
}

void UISurfaceSection::_Follow(std::shared_ptr<MStlBase> mesh) const {
  if (m_cut_mesh) m_cut_mesh->GetValidity().RemoveDependant(m_cut_validity);
  m_cut_mesh = std::move(mesh);
  m_cut_validity.SetInvalid();
  if (m_cut_mesh) m_cut_mesh->GetValidity().AddDependant(m_cut_validity);
}

void UISurfaceSection::_ClearFace() const {
  m_triangles.clear();
  m_box.SetEmpty();
  m_container->DestroyRenderOptimisations();
}

void UISurfaceSection::_Update() const {
  if (!mp_stl_object) return;
  const std::shared_ptr<MStlBase>& mesh = mp_stl_object->GetStlShared();
  if (mesh != m_cut_mesh)
    _Follow(mesh);
  else if (mesh)
    mesh->_SpreadInvalidity();  // delivers edits made since it was last asked
  if (m_cut_validity.IsValid()) return;
  _ClearFace();
  if (m_cut_mesh) _BuildFace(*m_cut_mesh);
  m_cut_validity.SetValid();
}

void UISurfaceSection::_BuildFace(MStlBase& mesh) const {
  const MMPoint3d<double>& n = m_normal;
  // The plane n.(p - O) = 0 in scene units is n.q - IE n.O = 0 for q in integer units.
  const double ie = static_cast<double>(IE);
  MNewSlicer slicer;
  slicer.SetSliceStl(&mesh);
  slicer.SetPlaneSliceMode(MMPlaneEq<double>(n.x, n.y, n.z, -ie * n.Dot(m_origin)), false);
  if (!slicer.Operate()) return;

  Tessellation tess;
  GLUtesselator* glu = gluNewTess();
  if (!glu) return;
  gluTessCallback(glu, GLU_TESS_BEGIN_DATA, Callback(&OnBegin));
  gluTessCallback(glu, GLU_TESS_VERTEX_DATA, Callback(&OnVertex));
  gluTessCallback(glu, GLU_TESS_END_DATA, Callback(&OnEnd));
  gluTessCallback(glu, GLU_TESS_COMBINE_DATA, Callback(&OnCombine));
  gluTessCallback(glu, GLU_TESS_ERROR_DATA, Callback(&OnError));
  gluTessCallback(glu, GLU_TESS_EDGE_FLAG_DATA, Callback(&OnEdgeFlag));
  // Odd winding: a contour inside another is a hole, one inside that is solid again,
  // whichever way each runs.
  gluTessProperty(glu, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
  gluTessNormal(glu, -n.x, -n.y, -n.z);
  gluTessBeginPolygon(glu, &tess);
  const MNewSlicer::Border& border = slicer.GetBorder();
  for (std::size_t i = 0; i < border.GetNumContours(); ++i) {
    // An open contour, where the plane leaves the mesh through a hole in it, bounds
    // nothing: it gets no face.
    const MNewSlicer::Contour& contour = border.GetContour(i);
    if (!contour.IsClosed() || contour.GetNumPoints() < 3) continue;
    gluTessBeginContour(glu);
    for (const auto& p : contour.GetPoints()) {
      const MMPoint3d<double>& q = p.data.point;
      tess.vertices.push_back({q.x / ie, q.y / ie, q.z / ie});
      gluTessVertex(glu, tess.vertices.back().data(), tess.vertices.back().data());
    }
    gluTessEndContour(glu);
  }
  gluTessEndPolygon(glu);
  gluDeleteTess(glu);
  if (tess.failed || tess.corners.size() < 3) return;

  // Facing -n, whatever order the tessellator chose.
  const MMPoint3d<float> face(float(-n.x), float(-n.y), float(-n.z));
  m_triangles.reserve(tess.corners.size() - tess.corners.size() % 3);
  for (std::size_t i = 0; i + 3 <= tess.corners.size(); i += 3) {
    const double* a = tess.corners[i];
    const double* b = tess.corners[i + 1];
    const double* c = tess.corners[i + 2];
    const MMPoint3d<double> ab(b[0] - a[0], b[1] - a[1], b[2] - a[2]), ac(c[0] - a[0], c[1] - a[1], c[2] - a[2]);
    if (ab.Cross(ac).Dot(n) > 0.0) std::swap(b, c);
    for (const double* p : {a, b, c}) {
      m_triangles.push_back({float(p[0]), float(p[1]), float(p[2]), face.x, face.y, face.z});
      m_box.Add({float(p[0]), float(p[1]), float(p[2])});
    }
  }
}

const std::vector<IVVertexPN>& UISurfaceSection::GetTriangles() const {
  _Update();
  return m_triangles;
}

void UISurfaceSection::GetBoundingBox(M3DBoundingBox<float>& box, unsigned) const {
  _Update();
  box.Add(m_box);
}

void UISurfaceSection::Render(IVRender& render, const MCoordinateSystem& system) {
  _Update();
  if (m_triangles.empty() || !mp_stl_object) return;
  const IVRenderPlacement placed(render, GetCoordinateSystem(), system);
  IVRender::Memento saved;
  render.SaveState(saved);
  render.SetMaterial(mp_stl_object->GetRenderMaterial());
  m_container->Render(render);
  render.RestoreState(saved, IVRender::eMemoMaterial);
}

const wchar_t* UISurfaceSection::GetUserInterfaceTypeName() const { return L"Section"; }
