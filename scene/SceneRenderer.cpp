#include "scene/SceneRenderer.h"

#include "scene/ClippedMeshObject.h"
#include "backends/gl/IVRenderGL.h"
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

#include <cmath>
#include <stdexcept>
#include <string>

namespace {

using P = MMPoint3d<float>;

P Normalised(P v) {
  const float l = v.Length();
  return l > 0 ? v / l : v;
}

bool Finite(P v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

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

void ValidateView(const SceneView& v) {
  if (!Finite(v.direction) || v.direction.Length() < kMinDirectionLength)
    throw std::invalid_argument("the view direction must be a finite, non-zero vector");
  if (!Finite(v.up) || v.up.Length() < kMinDirectionLength)
    throw std::invalid_argument("the up vector must be a finite, non-zero vector");
  if (v.width == 0 || v.height == 0 || v.width > kMaxImageSide || v.height > kMaxImageSide)
    throw std::invalid_argument("the image size must be between 1 and " + std::to_string(kMaxImageSide) +
                                " pixels each way");
}

void ValidatePlanes(const std::vector<ScenePlane>& planes) {
  for (std::size_t i = 0; i < planes.size(); ++i) {
    const ScenePlane& p = planes[i];
    const std::string name = "plane " + std::to_string(i + 1);
    if (!Finite(p.origin) || !Finite(p.normal)) throw std::invalid_argument(name + " has a non-finite value");
    if (p.normal.Length() < kMinDirectionLength)
      throw std::invalid_argument(name + " has a zero normal (shorter than 1e-6)");
  }
}

void ValidatePlaneCount(std::size_t numPlanes, unsigned numClipPlanes) {
  if (numPlanes > numClipPlanes)
    throw std::invalid_argument(std::to_string(numPlanes) + " clip planes, but the renderer clips with at most " +
                                std::to_string(numClipPlanes));
}

std::uint32_t CountDrawableTriangles(const MStlBase& mesh) {
  std::uint32_t count = 0;
  ForEachTriangle(mesh, [&](const MStlTriangle& t) {
    if (t.normal[0] != 0.0f || t.normal[1] != 0.0f || t.normal[2] != 0.0f) ++count;
  });
  return count;
}

std::string DescribeUndrawableMesh(const SceneMesh& m) {
  if (!m.mesh || CountDrawableTriangles(*m.mesh) > 0) return {};
  const std::uint32_t all = m.mesh->GetNumTriangles();
  if (all == 0) return "mesh '" + m.name + "' has no triangles";
  return "mesh '" + m.name + "' has only degenerate triangles (" + std::to_string(all) + ", none with an area)";
}

void ValidateScene(const Scene& scene) {
  if (scene.meshes.empty()) throw std::invalid_argument("the scene has no mesh");
  for (const SceneMesh& m : scene.meshes) {
    if (!m.mesh) throw std::invalid_argument("mesh '" + m.name + "' is missing");
    if (!(m.alpha >= 0.0f && m.alpha <= 1.0f))
      throw std::invalid_argument("mesh '" + m.name + "': alpha must lie between 0 and 1");
  }
  std::string undrawable;
  for (const SceneMesh& m : scene.meshes) {
    const std::string why = DescribeUndrawableMesh(m);
    if (why.empty()) {
      undrawable.clear();
      break;
    }
    undrawable += (undrawable.empty() ? "" : "; ") + why;
  }
  if (!undrawable.empty()) throw std::invalid_argument("nothing to draw: " + undrawable);
  ValidatePlanes(scene.planes);
  if (!(scene.displacement >= 0.0f && scene.displacement <= 1000.0f))
    throw std::invalid_argument("the displacement must lie between 0 and 1000 millimetres");
  ValidateView(scene.view);
}

SceneCamera FrameScene(const Scene& scene) {
  M3DBoundingBox<float> box;
  for (const SceneMesh& m : scene.meshes)
    if (m.mesh && m.mesh->GetNumPoints() > 0) box.Add(m.mesh->GetBoundingBox());
  if (!box.IsValid()) box = M3DBoundingBox<float>(-1, 1, -1, 1, -1, 1);
  const P centre = box.Center();

  const P d = Normalised(scene.view.direction);
  P right = d.Cross(scene.view.up);
  if (right.Length() < 1e-4f * scene.view.up.Length()) right = d.Cross(std::fabs(d.z) < 0.9f ? P(0, 0, 1) : P(0, 1, 0));
  right = Normalised(right);
  const P up = right.Cross(d);

  // The distance at which the box, seen along the view, just fits the picture.
  const float aspect = float(scene.view.width) / float(scene.view.height);
  const float tanHalfY = std::tan(30.0f * 3.14159265f / 360.0f);
  const float tanHalfX = tanHalfY * aspect;
  float distance = 0.0f, depth = 0.0f;
  for (int i = 0; i < 8; ++i) {
    const P corner = box.Corner(i) - centre;
    const float z = corner.Dot(d);
    depth = std::max(depth, std::fabs(z));
    distance = std::max(distance, -z + std::max(std::fabs(corner.Dot(right)) / tanHalfX,
                                                  std::fabs(corner.Dot(up)) / tanHalfY) * 1.08f);
  }
  const P eye = centre - d * distance;
  const float nearZ = std::max(distance - depth * 1.05f, distance * 0.01f);
  const float farZ = distance + depth * 1.05f;

  SceneCamera c{};
  const P back = -d;
  const P rows[3] = {right, up, back};
  for (int r = 0; r < 3; ++r) {
    c.worldToEye[4 * r + 0] = rows[r].x;
    c.worldToEye[4 * r + 1] = rows[r].y;
    c.worldToEye[4 * r + 2] = rows[r].z;
    c.worldToEye[4 * r + 3] = -rows[r].Dot(eye);
  }
  c.worldToEye[15] = 1.0f;
  const float f = 1.0f / tanHalfY;
  c.eyeToClip[0] = f / aspect;
  c.eyeToClip[5] = f;
  c.eyeToClip[10] = (farZ + nearZ) / (nearZ - farZ);
  c.eyeToClip[11] = 2.0f * farZ * nearZ / (nearZ - farZ);
  c.eyeToClip[14] = -1.0f;
  c.eye = eye;
  c.direction = d;
  return c;
}

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
    if (m.alpha < 1.0f) continue;
    auto object = std::make_unique<ClippedMeshObject>(m.mesh);
    MMaterial material;
    material.SetDiffuse(m.colour | 0xFF000000u);
    object->SetMaterial(material);
    object->SetTwoSided(!IsClosedMesh(*m.mesh));
    object->DoOperation(add);
    m_opaque.push_back(std::move(object));
  }

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
void SceneRenderer::_RenderBoundingBox(IVRender& render, const SceneCamera& camera) {
  double m[16];
  for (int i = 0; i < 16; ++i) m[i] = camera.worldToEye[i];
  const MMTransformMatrix toEye(m);
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

void SceneRenderer::SetViewDirection(const MMPoint3d<float>& direction) {
  SceneView view = m_scene.view;
  view.direction = direction;
  ValidateView(view);
  m_scene.view.direction = direction;
}

void SceneRenderer::SetDisplacementScale(float scale) {
  if (m_opaque.empty() || !(m_scene.displacement > 0.0f)) return;
  m_opaque.front()->SetDisplacementScale(scale);
  // The outlines follow the moved wall, as the caps do.
  if (m_scene.showSections) _MakeSections();
}

bool SceneRenderer::Render(IVRender& render, IVDisplaySurface& surface) {
  ValidatePlaneCount(m_planes.size(), render.GetNumClipPlanes());
  const SceneCamera camera = FrameScene(m_scene);
  if (!render.StartFrame(&surface, nullptr, false)) return false;
  surface.SetBackground(m_scene.view.background, true, true);
  render.LoadWorldToEyeMatrix(camera.worldToEye);
  render.LoadEyeToWindowMatrix(camera.eyeToClip);
  const MCoordinateSystem world;
  SurfaceCreatorScope hook;

  // Opaque meshes first, clipped and capped, then the overlays.
  for (auto& object : m_opaque) object->Render(render, world);
  if (!m_section_lines.empty()) _RenderSections(render);
  if (m_far_edges) _RenderBoundingBox(render, camera);

  // Transparent meshes: all triangles sorted together. Their vertices are in the mesh's
  // integer units, so the state captured for them scales units to scene units, and the
  // eye is given in units too.
  if (!m_cache || m_render != &render) {
    m_cache = std::make_unique<IVTransparencyCache>(&render);
    m_render = &render;
  }
  float unitsToEye[16];
  MeshUnitsToEye(camera.worldToEye, unitsToEye);
  render.LoadWorldToEyeMatrix(unitsToEye);
  for (const SceneMesh& m : m_scene.meshes) {
    if (m.alpha >= 1.0f) continue;
    MMaterial material;
    material.SetDiffuse((m.colour & 0xFFFFFFu) | (COLORREF(std::lround(m.alpha * 255.0f)) << 24));
    render.SetMaterial(material);
    float eye[3] = {camera.eye.x * float(IE), camera.eye.y * float(IE), camera.eye.z * float(IE)};
    float direction[3] = {camera.direction.x, camera.direction.y, camera.direction.z};
    m_cache->AddSTL(m.mesh.get(), eye, direction);
  }
  m_cache->RenderStlTransparentPN(&render);
  render.LoadWorldToEyeMatrix(camera.worldToEye);
  render.StopFrame();
  return true;
}

MImageRGBA RenderSceneToImage(const Scene& scene, IVRenderGL& render) {
  if (render.Width() != scene.view.width || render.Height() != scene.view.height)
    throw std::invalid_argument("the renderer's frame is not the scene's picture size");
  MImageRGBA image;
  SceneRenderer renderer(scene);
  if (!renderer.Render(render, render.GetSurface()) || !render.GetSurface().ReadFrame(image))
    throw std::runtime_error("the renderer opened no frame");
  return image;
}

MImageRGBA RenderSceneToImage(const Scene& scene) {
  ValidateScene(scene);
  IVRenderGL render(scene.view.width, scene.view.height);
  return RenderSceneToImage(scene, render);
}
