#pragma once
// Draws a Scene with any IVRender: frames the scene with a perspective camera, draws the
// opaque meshes clipped and capped (open ones from both sides), then hands every transparent mesh to the
// transparency cache, which sorts all their triangles together. The objects, their cut
// faces, their recorded vertices and the sorted table live as long as the renderer of the
// scene, so that frames after the first only draw.
#include "scene/Scene.h"
#include "host/meshops/M3dBorder.h"
#include "host/render/IVVertex.h"

#include <memory>

class IVRender;
class IVRenderGL;
class IVDisplaySurface;
class IVTransparencyCache;
class MClippingPlane;
class ClippedMeshObject;
class IVVertexContainerBoundingBox;
class IVVertexContainerM3dBorder;

struct SceneCamera {
  float worldToEye[16];
  float eyeToClip[16];
  MMPoint3d<float> eye;        // scene units
  MMPoint3d<float> direction;  // unit
};

// A camera that shows the whole box of the scene's meshes from the view's direction.
VISTAL_SCENE_API SceneCamera FrameScene(const Scene& scene);

class VISTAL_SCENE_API SceneRenderer {
public:
  // Throws std::invalid_argument with one line saying what is wrong with the scene.
  explicit SceneRenderer(Scene scene);
  ~SceneRenderer();
  SceneRenderer(const SceneRenderer&) = delete;
  SceneRenderer& operator=(const SceneRenderer&) = delete;

  const Scene& GetScene() const { return m_scene; }
  // Turns the view; the next frame is framed anew.
  void SetViewDirection(const MMPoint3d<float>& direction);
  // How far along its displacement the displaced mesh is drawn (0 at rest, 1 full).
  void SetDisplacementScale(float scale);

  // Draws one frame onto the surface; answers false when the renderer opened no frame.
  // A renderer is the scene renderer's for good once it has drawn with it. Throws
  // std::invalid_argument when the scene has more planes than the renderer has clip slots.
  bool Render(IVRender& render, IVDisplaySurface& surface);

private:
  void _MakeSections();
  void _RenderSections(IVRender& render);
  void _RenderBoundingBox(IVRender& render, const SceneCamera& camera);

  Scene m_scene;
  // How far each plane's frame reaches: enough to cross every mesh.
  float m_plane_size = 1.0f;
  // Per plane: the outline of its cut on the opaque meshes, scene units.
  std::vector<M3dBorder<float, float>> m_sections;
  std::vector<std::unique_ptr<IVVertexContainerM3dBorder>> m_section_lines;
  std::vector<IVVertexP> m_box_edges;
  std::unique_ptr<IVVertexContainerBoundingBox> m_far_edges, m_near_edges;
  std::vector<std::unique_ptr<MClippingPlane>> m_planes;
  std::vector<std::unique_ptr<ClippedMeshObject>> m_opaque;
  std::unique_ptr<IVTransparencyCache> m_cache;
  IVRender* m_render = nullptr;
};

// Renders the scene offscreen with OpenGL and reads the picture back.
VISTAL_SCENE_API MImageRGBA RenderSceneToImage(const Scene& scene);
// The same with a renderer of the scene's size made beforehand (to ask it for its clip
// slots before the meshes are read, say).
VISTAL_SCENE_API MImageRGBA RenderSceneToImage(const Scene& scene, IVRenderGL& render);
