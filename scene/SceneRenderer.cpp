#include "scene/SceneRenderer.h"

#include "scene/ClippedMeshObject.h"
#include "backends/gl/IVRenderGL.h"
#include "host/framework/MClipRegion.h"
#include "host/framework/MCoordinateSystem.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlOrientation.h"
#include "host/mesh/MStlTraversal.h"
#include "host/mesh/MStlUnits.h"
#include "host/meshops/UISurfaceSection.h"
#include "vistal/clipping/MClippingData.h"
#include "vistal/clipping/MClippingPlane.h"
#include "vistal/clipping/UIOperationClipping.h"
#include "host/framework/MMTransformMatrix.h"
#include "vistal/containers/IVTransparencyCache.h"
#include "vistal/containers/IVVertexContainerBoundingBox.h"
#include "vistal/containers/IVVertexContainerM3dBorder.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

using P = MMPoint3d<float>;

P Normalised(P v) {
  const float l = v.Length();
  return l > 0 ? v / l : v;
}

// An in-plane basis for a plane's frame: the frame's rectangle spans `size` each way.
MFrame<float> PlaneFrame(const ScenePlane& plane, float size) {
  const P n = Normalised(plane.normal);
  const P helper = std::fabs(n.z) < 0.9f ? P(0, 0, 1) : P(1, 0, 0);
  const P u = Normalised(n.Cross(helper));
  const P v = n.Cross(u);
  return MFrame<float>(plane.origin - u * size - v * size, u * (2 * size), v * (2 * size), plane.normal);
}

// Restores the hook on every way out, so a failed render leaves the process as it was.
struct SurfaceCreatorScope {
  MClippingData::SurfaceCreator previous = MClippingData::mp_surface_creator;
  SurfaceCreatorScope() { MClippingData::mp_surface_creator = &UISurfaceSection::Create; }
  ~SurfaceCreatorScope() { MClippingData::mp_surface_creator = previous; }
};

}  // namespace

SceneRenderer::SceneRenderer(Scene scene) : m_scene(std::move(scene)) {
  ValidateScene(m_scene);
  // Planes big enough to cross every mesh.
  float size = 1.0f;
  for (const SceneMesh& m : m_scene.meshes) {
    const M3DBoundingBox<float> b = m.mesh->GetBoundingBox();
    if (b.IsValid()) size = std::max(size, (b.Max() - b.Min()).Length());
  }
  UIOperationClipping add;
  add.SetAction(eClippingAddPlanes);
  for (const ScenePlane& p : m_scene.planes) {
    auto plane = std::make_unique<MClippingPlane>();
    plane->SetClippingPlane(PlaneFrame(p, size));
    if (p.cutsNormalSide) plane->SetClippedSide(MClippingPlane::eClippedSideReversed);
    add.AddClippingPlane(plane.get());
    m_planes.push_back(std::move(plane));
  }
  for (const SceneMesh& m : m_scene.meshes) {
    auto object = std::make_unique<ClippedMeshObject>(m.mesh);
    object->SetName(m.name);
    if (m.alpha < 1.0f) {
      if (m_scene.clipTransparent) object->DoOperation(add);
      m_transparent.push_back(std::move(object));
      continue;
    }
    MMaterial material;
    material.SetDiffuse(m.colour | 0xFF000000u);
    object->SetMaterial(material);
    object->SetTwoSided(!IsClosedMesh(*m.mesh));
    object->DoOperation(add);
    m_opaque.push_back(std::move(object));
  }
  _SetUpCamera();

  if (m_scene.displacement > 0.0f && !m_opaque.empty()) {
    m_opaque.front()->SetDisplacement(m_scene.displacement);
    m_opaque.front()->SetDisplacementScale(1.0f);
  }

  m_plane_size = size;
  if (m_scene.showSections) _MakeSections();

  if (m_scene.showBoundingBox && !m_opaque.empty()) {
    M3DBoundingBox<float> box;
    m_opaque.front()->GetBoundingBox(box, 0xFFFFFFFF);
    // The twelve edges as pairs of corners that differ in one axis.
    for (int i = 0; i < 8; ++i)
      for (int axis = 1; axis < 8; axis <<= 1)
        if (!(i & axis)) {
          const P a = box.Corner(i), b = box.Corner(i | axis);
          m_box_edges.push_back({a.x, a.y, a.z});
          m_box_edges.push_back({b.x, b.y, b.z});
        }
    m_far_edges = std::make_unique<IVVertexContainerBoundingBox>();
    m_near_edges = std::make_unique<IVVertexContainerBoundingBox>();
  }
}

// The outlines of the planes' cuts on the opaque meshes as they are now.
void SceneRenderer::_MakeSections() {
  m_section_lines.clear();
  m_sections.clear();
  // The outlines sit a hair in front of the caps (which face -N) so that they are not
  // lost in the cap's depth.
  const float lift = 0.002f * m_plane_size;
  for (auto& plane : m_planes) {
    const MMPlaneEq<float> eq = plane->GetPlaneEquation();
    const MMPlaneEq<double> inUnits(eq.a, eq.b, eq.c, double(eq.d) * double(IE));
    M3dBorder<float, float>& section = m_sections.emplace_back();
    for (auto& object : m_opaque) {
      const auto border = object->GetSlicedBorder(inUnits);
      for (std::size_t c = 0; c < border.GetNumContours(); ++c) {
        auto& contour = section.AddContour();
        contour.SetClosed(border.GetContour(c).IsClosed());
        for (const auto& p : border.GetContour(c).GetPoints()) {
          const P q = P(float(p.data.point.x), float(p.data.point.y), float(p.data.point.z)) / float(IE) -
                      P(eq.a, eq.b, eq.c) * lift;
          contour.AddPoint(q.x, q.y, q.z);
        }
      }
    }
  }
  for (const auto& section : m_sections) {
    m_section_lines.push_back(std::make_unique<IVVertexContainerM3dBorder>());
    m_section_lines.back()->SetBorder(&section);
  }
}

// Each outline is clipped by the other planes, as its cap is.
void SceneRenderer::_RenderSections(IVRender& render) {
  const MMaterial saved = render.GetMaterial();
  MMaterial line;
  line.SetDiffuse(0xFF30E0FF);  // yellow
  render.SetMaterial(line);
  for (std::size_t i = 0; i < m_section_lines.size(); ++i) {
    unsigned slot = 0;
    for (std::size_t j = 0; j < m_planes.size() && slot < render.GetNumClipPlanes(); ++j) {
      if (j == i) continue;
      const MMPlaneEq<float> eq = m_planes[j]->GetPlaneEquation();
      render.SetClipPlane(slot, eq.a, eq.b, eq.c, eq.d);
      render.EnableClipPlane(slot++, true);
    }
    m_section_lines[i]->RenderTriangles(render, false, false, 0);
    while (slot > 0) render.EnableClipPlane(--slot, false);
  }
  render.SetMaterial(saved);
}

// The far edges (those meeting at the corner farthest from the eye) dim, the near ones bright.
void SceneRenderer::_RenderBoundingBox(IVRender& render) {
  const auto& m = render.GetState().worldToEye;
  double rowMajor[16];
  std::copy(m.begin(), m.end(), rowMajor);
  const MMTransformMatrix toEye(rowMajor);
  const MMaterial saved = render.GetMaterial();
  MMaterial far, near;
  far.SetDiffuse(0xFF806040);
  near.SetDiffuse(0xFFFFD080);
  m_far_edges->SetParams(&m_box_edges, &toEye, false);
  m_near_edges->SetParams(&m_box_edges, &toEye, true);
  render.SetMaterial(far);
  m_far_edges->RenderTriangles(render, false, false, 0);
  render.SetMaterial(near);
  m_near_edges->RenderTriangles(render, false, false, 0);
  m_far_edges->SetParams(nullptr, nullptr, false);
  m_near_edges->SetParams(nullptr, nullptr, false);
  render.SetMaterial(saved);
}

SceneRenderer::~SceneRenderer() = default;

UIObject* SceneRenderer::GetManipulatedObject() { return m_opaque.empty() ? nullptr : m_opaque.front().get(); }

void SceneRenderer::SetViewDirection(const MMPoint3d<float>& direction) {
  SceneView view = m_scene.view;
  view.direction = direction;
  ValidateView(view);
  m_scene.view.direction = direction;
  m_framed = false;
}

void SceneRenderer::SetDisplacementScale(float scale) {
  if (m_opaque.empty() || !(m_scene.displacement > 0.0f)) return;
  m_opaque.front()->SetDisplacementScale(scale);
  // The outlines follow the moved wall, as the caps do.
  if (m_scene.showSections) _MakeSections();
}

void SceneRenderer::_SetUpCamera() {
  const SceneView& v = m_scene.view;
  m_camera.SetWindowSize(v.width, v.height);
  m_camera.SetProjection(v.parallel ? MCamera::eParallel : MCamera::ePerspective);
  m_camera.SetUpAxis(MMPoint3d<double>(v.up));
}

const std::vector<MMPoint3d<double>>& SceneRenderer::KeptPoints() {
  if (!m_kept_points.empty()) return m_kept_points;
  std::list<IRender*> objects;
  for (auto& o : m_opaque) objects.push_back(o.get());
  for (auto& o : m_transparent) objects.push_back(o.get());
  m_camera.CollectKeptPoints(objects, 0xFFFFFFFF, m_kept_points);
  // A displaced mesh moves each point along a line from rest to full displacement: the
  // two ends hold every pose of the animation.
  if (m_scene.displacement > 0.0f && !m_opaque.empty()) {
    ClippedMeshObject& displaced = *m_opaque.front();
    const float scale = displaced.GetDisplacementScale();
    for (float end : {0.0f, 1.0f}) {
      displaced.SetDisplacementScale(end);
      m_camera.CollectKeptPoints({&displaced}, 0xFFFFFFFF, m_kept_points);
    }
    displaced.SetDisplacementScale(scale);
  }
  return m_kept_points;
}

// Frames the view with the points the framing takes; a scene that keeps nothing (every
// mesh cut away) is framed as a whole, so that the picture shows where it is.
template <typename Frame>
static void FrameWith(MCamera& camera, const SceneView& view, const std::vector<MMPoint3d<double>>& kept,
                      const std::vector<std::unique_ptr<ClippedMeshObject>>& opaque,
                      const std::vector<std::unique_ptr<ClippedMeshObject>>& transparent, Frame frame) {
  camera.SetViewDirection(MMPoint3d<double>(view.direction));
  camera.RotateAroundUp(camera.GetRotationCenter(), view.azimuth, view.elevation);
  if (!frame(kept)) {
    std::vector<MMPoint3d<double>> whole;
    for (const auto* list : {&opaque, &transparent})
      for (const auto& o : *list) o->UIStlObject::GetKeptPoints(whole, 0xFFFFFFFF, MClipRegion());
    if (!frame(whole)) frame(std::vector<MMPoint3d<double>>{{-1, -1, -1}, {1, 1, 1}});
  }
  if (view.zoom != 1.0f) camera.Zoom(view.zoom);
}

void SceneRenderer::FrameView() {
  _SetUpCamera();
  FrameWith(m_camera, m_scene.view, KeptPoints(), m_opaque, m_transparent,
            [this](const std::vector<MMPoint3d<double>>& p) { return m_camera.Unzoom(p); });
  m_framed = true;
}

void SceneRenderer::FrameTurntable() {
  _SetUpCamera();
  FrameWith(m_camera, m_scene.view, KeptPoints(), m_opaque, m_transparent,
            [this](const std::vector<MMPoint3d<double>>& p) { return m_camera.UnzoomAroundUp(p); });
  m_framed = true;
}

void SceneRenderer::TurnAroundUp(double degrees) {
  if (!m_framed) FrameView();
  m_camera.RotateAroundUp(m_camera.GetRotationCenter(), degrees, 0.0);
}

bool SceneRenderer::Render(IVRender& render, IVDisplaySurface& surface) {
  ValidatePlaneCount(m_planes.size(), render.GetNumClipPlanes());
  if (!m_framed) FrameView();
  float worldToEye[16], eyeToClip[16];
  m_camera.GetWorldToEyeMatrix(worldToEye);
  m_camera.GetEyeToClipMatrix(eyeToClip);
  if (!render.StartFrame(&surface, nullptr, false)) return false;
  surface.SetBackground(m_scene.view.background, true, true);
  render.LoadWorldToEyeMatrix(worldToEye);
  render.LoadEyeToWindowMatrix(eyeToClip);
  DrawContents(render, m_camera.GetEyePosition(), m_camera.GetViewDirection());
  render.StopFrame();
  return true;
}

void SceneRenderer::DrawContents(IVRender& render, const MMPoint3d<double>& eyePoint,
                                 const MMPoint3d<double>& view) {
  ValidatePlaneCount(m_planes.size(), render.GetNumClipPlanes());
  float worldToEye[16];
  std::copy(render.GetState().worldToEye.begin(), render.GetState().worldToEye.end(), worldToEye);
  const MCoordinateSystem world;
  SurfaceCreatorScope hook;

  // Opaque meshes first, clipped and capped, then the overlays.
  for (auto& object : m_opaque) {
    object->Render(render, world);
    for (std::string& warning : object->GetCutFaceWarnings())
      if (std::find(m_warnings.begin(), m_warnings.end(), warning) == m_warnings.end())
        m_warnings.push_back(std::move(warning));
  }
  if (!m_section_lines.empty()) _RenderSections(render);
  if (m_far_edges) _RenderBoundingBox(render);

  // Transparent meshes: all triangles sorted together. Their vertices are in the mesh's
  // integer units, so the state captured for them scales units to scene units, and the
  // eye is given in units too. The state captured with each mesh carries the clip planes
  // and the back faces, which the cache restores as it streams the mesh's triangles.
  if (!m_cache || m_render != &render) {
    m_cache = std::make_unique<IVTransparencyCache>(&render);
    m_render = &render;
  }
  unsigned slots = 0;
  if (m_scene.clipTransparent)
    for (auto& plane : m_planes) {
      // Taken in scene units: the planes are set before the units matrix is loaded.
      const MMPlaneEq<float> eq = plane->GetPlaneEquation();
      render.SetClipPlane(slots, eq.a, eq.b, eq.c, eq.d);
      render.EnableClipPlane(slots++, true);
    }
  if (m_scene.twoSidedTransparent) render.SetBackfaceVisible(true, true);
  float unitsToEye[16];
  MeshUnitsToEye(worldToEye, unitsToEye);
  render.LoadWorldToEyeMatrix(unitsToEye);
  for (const SceneMesh& m : m_scene.meshes) {
    if (m.alpha >= 1.0f) continue;
    MMaterial material;
    material.SetDiffuse((m.colour & 0xFFFFFFu) | (COLORREF(std::lround(m.alpha * 255.0f)) << 24));
    render.SetMaterial(material);
    float eye[3] = {float(eyePoint.x * IE), float(eyePoint.y * IE), float(eyePoint.z * IE)};
    float direction[3] = {float(view.x), float(view.y), float(view.z)};
    m_cache->AddSTL(m.mesh.get(), eye, direction);
  }
  m_cache->RenderStlTransparentPN(&render);
  while (slots > 0) render.EnableClipPlane(--slots, false);
  if (m_scene.twoSidedTransparent) render.SetBackfaceVisible(false, false);
  render.LoadWorldToEyeMatrix(worldToEye);
}


MImageRGBA RenderSceneToImage(const Scene& scene, IVRenderGL& render, std::vector<std::string>* warnings) {
  if (render.Width() != scene.view.width || render.Height() != scene.view.height)
    throw std::invalid_argument("the renderer's frame is not the scene's picture size");
  MImageRGBA image;
  SceneRenderer renderer(scene);
  if (!renderer.Render(render, render.GetSurface()) || !render.GetSurface().ReadFrame(image))
    throw std::runtime_error("the renderer opened no frame");
  renderer.DrawOverlays(image);
  if (warnings) *warnings = renderer.GetWarnings();
  return image;
}

MImageRGBA RenderSceneToImage(const Scene& scene) {
  ValidateScene(scene);
  IVRenderGL render(scene.view.width, scene.view.height);
  return RenderSceneToImage(scene, render);
}
