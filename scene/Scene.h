#pragma once
// What vistal-render draws: meshes with their colours, clip planes and a view. Opaque
// meshes are clipped by the planes and capped; transparent ones are sorted together
// back to front. Several planes keep the intersection of their kept sides.
#include "host/render/MImageRGBA.h"
#include "host/framework/MMPoint3d.h"
#include "host/win/WinTypes.h"
#include "scene/SceneApi.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class MStlBase;

struct SceneMesh {
  std::string name;
  std::shared_ptr<MStlBase> mesh;
  COLORREF colour = 0xFFC0C0C0;  // red in bits 0-7
  float alpha = 1.0f;            // below 1: drawn in the sorted transparent pass
};

struct ScenePlane {
  MMPoint3d<float> origin;
  MMPoint3d<float> normal{0, 0, 1};
  // Off: the side the normal points to is kept. On: that side is cut away.
  bool cutsNormalSide = false;
};

// The camera looks along the direction with the up vector up in the picture, then turns
// about the centre of what is drawn by the azimuth (round the up vector, counter-clockwise
// seen from above) and the elevation (upwards, the view tilting down), and is framed so
// that what is drawn, as the planes leave it, fills the picture up to a small margin.
// The zoom then enlarges the picture about its centre.
struct SceneView {
  MMPoint3d<float> direction{-1.0f, -1.2f, -0.8f};  // from the eye into the scene
  MMPoint3d<float> up{0.0f, 0.0f, 1.0f};
  float azimuth = 0.0f;    // degrees
  float elevation = 0.0f;  // degrees, -90 to 90
  float zoom = 1.0f;       // kMinZoom to kMaxZoom; 2 shows everything twice as large
  bool parallel = false;   // parallel projection instead of perspective
  unsigned width = 800;
  unsigned height = 600;
  COLORREF background = 0x302820;  // dark slate
};

struct Scene {
  std::vector<SceneMesh> meshes;
  std::vector<ScenePlane> planes;
  SceneView view;
  // Overlays: each plane's section outline on the opaque meshes, and the edges of the
  // first opaque mesh's box (the far ones dimmer than the near ones).
  bool showSections = false;
  bool showBoundingBox = false;
  // Over the picture: the box manipulator of the first opaque mesh (handles and centre
  // spot) and a label with an arrow pointing at each plane's cut.
  bool showManipulator = false;
  // Above 0: the first opaque mesh is drawn displaced, each point by up to this many
  // millimetres along its direction from the mesh's centre, times the animation scale.
  float displacement = 0.0f;
  // Transparent meshes clipped by the planes as well (without cut faces), and drawn with
  // their back faces too, sorted together with the front faces, so that nested
  // structures show both their near and their far walls.
  bool clipTransparent = false;
  bool twoSidedTransparent = false;
};

// The built-in scene: a head phantom of nested ellipsoids, its skull cut open by two
// planes, the inner structures transparent.
VISTAL_SCENE_API Scene MakePhantomScene();

// The largest side of a picture. The OpenGL backend's four-sample framebuffer is limited
// in area as well as per side (llvmpipe refuses 16384 x 16384 and 16384 x 8193), so
// the limit is the side of the largest square it makes, which every shape within it fits.
inline constexpr unsigned kMaxImageSide = 8192;
// The shortest plane normal or view vector taken for a direction.
inline constexpr float kMinDirectionLength = 1e-6f;
// The range of the view's zoom factor.
inline constexpr float kMinZoom = 0.001f;
inline constexpr float kMaxZoom = 1000.0f;

// The checks of ValidateScene, one part at a time, for callers that check the cheap parts
// before reading meshes. Each throws std::invalid_argument with one line saying what is
// wrong; planes are named by their position in the list, counting from 1 ("plane 2").
VISTAL_SCENE_API void ValidateView(const SceneView& view);
VISTAL_SCENE_API void ValidatePlanes(const std::vector<ScenePlane>& planes);
// More planes than the renderer's clip slots would not all be applied (the clipping data
// loads the first ones and ignores the rest), so such a scene is refused.
VISTAL_SCENE_API void ValidatePlaneCount(std::size_t numPlanes, unsigned numClipPlanes);
// The triangles of the mesh that have an area; degenerate ones draw nothing.
VISTAL_SCENE_API std::uint32_t CountDrawableTriangles(const MStlBase& mesh);
// Empty when the mesh draws something; otherwise why it draws nothing, naming it.
VISTAL_SCENE_API std::string DescribeUndrawableMesh(const SceneMesh& mesh);
// Checks the whole scene, throwing std::invalid_argument with one line saying what is
// wrong; a scene whose meshes would draw nothing at all is refused too.
VISTAL_SCENE_API void ValidateScene(const Scene& scene);
