#pragma once
// What vistal-render draws: meshes with their colours, clip planes and a view. Opaque
// meshes are clipped by the planes and capped; transparent ones are sorted together
// back to front.
#include "host/render/MImageRGBA.h"
#include "host/framework/MMPoint3d.h"
#include "host/win/WinTypes.h"

#include <memory>
#include <string>
#include <vector>

class MStlBase;

struct SceneMesh {
  std::string name;
  std::shared_ptr<MStlBase> mesh;
  COLORREF colour = 0xFFC0C0C0;  // red in bits 0-7
  float alpha = 1.0f;            // below 1: drawn in the sorted transparent pass, unclipped
};

struct ScenePlane {
  MMPoint3d<float> origin;
  MMPoint3d<float> normal{0, 0, 1};
  // Off: the side the normal points to is kept. On: that side is cut away.
  bool cutsNormalSide = false;
};

struct SceneView {
  MMPoint3d<float> direction{-1.0f, -1.2f, -0.8f};  // from the eye into the scene
  MMPoint3d<float> up{0.0f, 0.0f, 1.0f};
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
  // Above 0: the first opaque mesh is drawn displaced, each point by up to this many
  // millimetres along its direction from the mesh's centre, times the animation scale.
  float displacement = 0.0f;
};

// The built-in scene: a head phantom of nested ellipsoids, its skull cut open by two
// planes, the inner structures transparent.
Scene MakePhantomScene();

// Checks the scene, throwing std::invalid_argument with one line saying what is wrong.
void ValidateScene(const Scene& scene);
