#include "host/meshops/UISurfaceSection.h"

#include "host/core/UIStlObject.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlUnits.h"
#include "host/meshops/ICutFaceParent.h"
#include "host/meshops/MNewSlicer.h"
#include "host/render/IVRenderPlacement.h"
#include "host/meshops/MSectionCap.h"
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

// The unit normal of a face's frame: N, or the edges' normal when N has no length.
// False for a frame that has neither.
bool FaceNormal(const MFrame<float>& frame, MMPoint3d<double>& normal) {
  MMPoint3d<double> n(frame.N);
  if (n.SquaredLength() == 0.0) n = MMPoint3d<double>(frame.U).Cross(MMPoint3d<double>(frame.V));
  const double length = n.Length();
  if (!std::isfinite(length) || length == 0.0) return false;
  normal = n / length;
  return true;
}

// The plane n.(p - o) = 0 in scene units is n.q - IE n.o = 0 for q in integer units.
MMPlaneEq<double> PlaneInUnits(const MMPoint3d<double>& normal, const MMPoint3d<double>& origin) {
  return {normal.x, normal.y, normal.z, -static_cast<double>(IE) * normal.Dot(origin)};
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
      mp_cut_face_parent(o.mp_cut_face_parent),
      m_normal(o.m_normal),
      m_origin(o.m_origin),
      m_cut_mesh(o.m_cut_mesh),
      m_cut_validity(o.m_cut_validity),
      m_section(o.m_section),
      m_clip_frames(o.m_clip_frames),
      m_warning(o.m_warning),
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
  mp_cut_face_parent = o.mp_cut_face_parent;
  m_normal = o.m_normal;
  m_origin = o.m_origin;
  m_section = o.m_section;
  m_clip_frames = o.m_clip_frames;
  m_warning = o.m_warning;
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
  mp_cut_face_parent = nullptr;

  const auto* object = textureMappingMode == 2 ? nullptr : dynamic_cast<const UIStlObject*>(parent);
  MMPoint3d<double> normal;
  const MMPoint3d<double> origin(frame.O);
  const bool plane = FaceNormal(frame, normal) && std::isfinite(origin.Dot(origin));
  // The base keeps the arguments; told of no parent when the section follows none.
  if (!object || !plane || !UISurface::Setup(parent, frame, textureMappingMode)) {
    UISurface::Setup(nullptr, frame, textureMappingMode);
    return false;
  }
  mp_stl_object = object;
  mp_cut_face_parent = dynamic_cast<const ICutFaceParent*>(parent);
  m_normal = normal;
  m_origin = origin;
  _Update();
  return !m_triangles.empty();
}

void UISurfaceSection::_Follow(std::shared_ptr<MStlBase> mesh) const {
  if (m_cut_mesh) m_cut_mesh->GetValidity().RemoveDependant(m_cut_validity);
  m_cut_mesh = std::move(mesh);
  m_cut_validity.SetInvalid();
  m_section.Clear();
  if (!m_cut_mesh) return;
  // Edits made before now are news to other followers only; delivered later, they would
  // make this face again for nothing.
  m_cut_mesh->_SpreadInvalidity();
  m_cut_mesh->GetValidity().AddDependant(m_cut_validity);
}

void UISurfaceSection::_ClearFace() const {
  m_triangles.clear();
  m_box.SetEmpty();
  m_warning.clear();
  m_container->DestroyRenderOptimisations();
}

void UISurfaceSection::_Update() const {
  if (!mp_stl_object) return;
  const std::shared_ptr<MStlBase>& mesh = mp_stl_object->GetStlShared();
  if (mesh != m_cut_mesh)
    _Follow(mesh);
  else if (mesh)
    mesh->_SpreadInvalidity();  // delivers edits made since it was last asked
  std::vector<MFrame<float>> clipFrames;
  if (mp_cut_face_parent) mp_cut_face_parent->GetCutFaceClipFrames(GetFrame(), clipFrames);
  if (m_cut_validity.IsValid() && clipFrames == m_clip_frames) return;
  if (!m_cut_validity.IsValid()) _Cut(clipFrames);
  m_cut_validity.SetValid();
  m_clip_frames = std::move(clipFrames);
  _ClearFace();
  _BuildFace();
}

void UISurfaceSection::_Cut(const std::vector<MFrame<float>>& clipFrames) const {
  m_section.Clear();
  if (!m_cut_mesh) return;
  const MMPlaneEq<double> plane = PlaneInUnits(m_normal, m_origin);
  if (!mp_cut_face_parent) {
    MNewSlicer slicer;
    slicer.SetSliceStl(m_cut_mesh.get());
    slicer.SetPlaneSliceMode(plane, false);
    slicer.Operate();
    m_section = slicer.GetBorder();
    return;
  }
  // The other planes have faces of their own, each cut from the same mesh: naming their
  // planes as the other faces do lets the cache cut all of them in one pass.
  std::vector<MMPlaneEq<double>> siblings;
  for (const MFrame<float>& f : clipFrames) {
    MMPoint3d<double> n;
    if (FaceNormal(f, n)) siblings.push_back(PlaneInUnits(n, MMPoint3d<double>(f.O)));
  }
  m_section = mp_cut_face_parent->GetSectionCache().GetSection(m_cut_mesh, plane, siblings);
}

void UISurfaceSection::_BuildFace() const {
  if (m_section.IsEmpty()) return;
  // The renderer keeps N.(p - O) >= 0 of each other plane, and keeps everything for one
  // whose normal is zero.
  std::vector<MMPlaneEq<double>> keep;
  for (const MFrame<float>& f : m_clip_frames) {
    const MMPoint3d<double> n(f.N);
    if (n.SquaredLength() > 0.0) keep.push_back(PlaneInUnits(n, MMPoint3d<double>(f.O)));
  }
  const MSectionCap cap(m_section, PlaneInUnits(m_normal, m_origin), keep);
  if (cap.GetNumJoins() > 0) {
    const std::string& name = mp_stl_object->GetName();
    m_warning = (name.empty() ? std::string("a mesh") : "mesh '" + name + "'") +
                " is open where a clip plane cuts it on the kept side; its cut face there is closed by a straight edge";
  }

  const MMPoint3d<double>& n = m_normal;
  const double ie = static_cast<double>(IE);
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
  for (const MSectionCap::Loop& loop : cap.GetLoops()) {
    gluTessBeginContour(glu);
    for (const MMPoint3d<double>& q : loop) {
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

const std::string& UISurfaceSection::GetWarning() const {
  _Update();
  return m_warning;
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
