#pragma once
#include "scene/Scene.h"
#include "host/framework/MCamera.h"
#include "host/meshops/M3dBorder.h"
#include "host/render/IVVertex.h"
#include "vistal/render/IVRenderExBoundingBox.h"

#include <list>
#include <memory>
#include <string>
#include <vector>

class IVRender;
class IVRenderGL;
class IVDisplaySurface;
class IVTransparencyCache;
class MClippingPlane;
class ClippedMeshObject;
class IVVertexContainerBoundingBox;
class IVVertexContainerM3dBorder;
class IRender;
class CDC;
class UIObject;
class UIWnd3D;

// Draws a Scene with any IVRender: frames what is drawn with the view's camera, draws the
// opaque meshes clipped and capped (open ones lit from both sides), then hands every
// transparent mesh to the transparency cache, which sorts all their triangles together.
// The objects, their cut
// faces, their recorded vertices and the sorted table live as long as the renderer of the
// scene, so that frames after the first only draw.
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

  // The camera the frames are drawn with. The first frame frames it (FrameView) unless
  // the caller has; after that it is left to the caller.
  MCamera& GetCamera() { return m_camera; }
  // Frames the camera as the scene's view says: its direction and up vector, turned by
  // the azimuth and elevation, what is drawn (as the planes leave it) filling the picture
  // up to a small margin, then the zoom.
  void FrameView();
  // The same, framed so that what is drawn stays in the picture while the camera turns
  // once around the up vector (TurnAroundUp) through the centre of what is drawn.
  void FrameTurntable();
  // Moves the camera round the up vector through the rotation centre, counter-clockwise
  // seen from above.
  void TurnAroundUp(double degrees);
  // How far along its displacement the displaced mesh is drawn (0 at rest, 1 full).
  void SetDisplacementScale(float scale);

  // Draws one frame onto the surface; answers false when the renderer opened no frame.
  // A renderer is the scene renderer's for good once it has drawn with it. Throws
  // std::invalid_argument when the scene has more planes than the renderer has clip slots.
  bool Render(IVRender& render, IVDisplaySurface& surface);
  // Draws what the scene holds into a frame that the caller has opened, with the
  // renderer's matrices as loaded; the eye point and view direction (world) order the
  // transparent triangles. For a view that draws the scene as one of its objects.
  void DrawContents(IVRender& render, const MMPoint3d<double>& eyePoint, const MMPoint3d<double>& viewDirection);
  // Draws the 2D overlays that the scene asks for onto the picture of the last frame, as
  // read back from the renderer. Nothing for an empty picture or one of another size than
  // the camera's.
  void DrawOverlays(MImageRGBA& image);
  // What the frames drawn so far found worth telling the user (a mesh open where a cap
  // had to close it, say), each different line once, in the order they came up.
  const std::vector<std::string>& GetWarnings() const { return m_warnings; }
  // Points whose convex hull holds what is drawn, at rest and at full displacement.
  const std::vector<MMPoint3d<double>>& KeptPoints();
  // The object the box manipulator belongs to: the first opaque mesh (null: none).
  UIObject* GetManipulatedObject();

private:
  void _MakeSections();
  void _RenderSections(IVRender& render);
  void _RenderBoundingBox(IVRender& render);
  void _SetUpCamera();

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
  // The transparent meshes as objects, for framing (they are drawn through the cache);
  // with the planes when they are clipped.
  std::vector<std::unique_ptr<ClippedMeshObject>> m_transparent;
  std::vector<MMPoint3d<double>> m_kept_points;
  MCamera m_camera;
  bool m_framed = false;
  std::unique_ptr<IVTransparencyCache> m_cache;
  IVRender* m_render = nullptr;
  std::vector<std::string> m_warnings;
};

// The box manipulator of an object as the view shows it: far handles, near handles and the
// centre spot, with what `hover` names lit up.
VISTAL_SCENE_API void DrawBoxManipulator(CDC& dc, UIObject& object, UIWnd3D& window, COLORREF background,
                                         IVRenderEx::CBoundingBox::EMouseType hover =
                                             IVRenderEx::CBoundingBox::eMouseOutside);
// What of the object's box manipulator lies under the point (window pixels).
VISTAL_SCENE_API IVRenderEx::CBoundingBox::EMouseType HitBoxManipulator(UIObject& object, UIWnd3D& window,
                                                                        CPoint point);

// Renders the scene offscreen with OpenGL and reads the picture back.
VISTAL_SCENE_API MImageRGBA RenderSceneToImage(const Scene& scene);
// The same with a renderer of the scene's size made beforehand (to ask it for its clip
// slots before the meshes are read, say), and the renderer's warnings when asked for.
VISTAL_SCENE_API MImageRGBA RenderSceneToImage(const Scene& scene, IVRenderGL& render,
                                               std::vector<std::string>* warnings = nullptr);
