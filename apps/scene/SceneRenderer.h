#pragma once
// Draws a Scene with any IVRender: frames the scene with a perspective camera, draws the
// opaque meshes clipped and capped, then hands every transparent mesh to the
// transparency cache, which sorts all their triangles together.
#include "apps/scene/Scene.h"

class IVRender;
class IVDisplaySurface;

struct SceneCamera {
  float worldToEye[16];
  float eyeToClip[16];
  MMPoint3d<float> eye;        // scene units
  MMPoint3d<float> direction;  // unit
};

// A camera that shows the whole box of the scene's meshes from the view's direction.
SceneCamera FrameScene(const Scene& scene);

// Draws one frame onto the surface; answers false when the renderer opened no frame.
bool RenderScene(const Scene& scene, IVRender& render, IVDisplaySurface& surface);

// Renders the scene offscreen with OpenGL and reads the picture back.
MImageRGBA RenderSceneToImage(const Scene& scene);
