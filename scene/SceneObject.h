#pragma once
// A whole Scene as one object of a 3D view, so that a view of the application framework
// (the preview, say) shows the meshes clipped, capped and sorted exactly as the pictures
// of vistal-render show them, with the view's own camera.
#include "host/core/UIObjectMedical.h"
#include "scene/SceneApi.h"
#include "scene/SceneRenderer.h"

#include <string>
#include <vector>

class VISTAL_SCENE_API SceneObject : public UIObjectMedical {
public:
  // Throws std::invalid_argument with one line saying what is wrong with the scene.
  explicit SceneObject(Scene scene);
  ~SceneObject() override;
  SceneObject(const SceneObject&) = delete;
  SceneObject& operator=(const SceneObject&) = delete;

  // The box of what the planes leave of the meshes (what the object draws), scene units.
  void GetBoundingBox(M3DBoundingBox<float>& box, unsigned scene) const override;
  // What the planes leave of the meshes.
  void GetKeptPoints(std::vector<MMPoint3d<double>>& points, unsigned scene, const MClipRegion& region) const override;
  // Draws into the renderer's open frame with the matrices it has loaded.
  void Render(IVRender& render, const MCoordinateSystem& system) override;
  // The box manipulator of the first opaque mesh, when shown.
  void RenderGDI(CDC& dc, const MCoordinateSystem& system) override;

  // Shows the box manipulator as `view` sees it (null hides it); the view must outlive
  // the object or hide it again.
  void ShowManipulator(UIWnd3D* view) { mp_manipulator_view = view; }
  // Lights up what of the manipulator lies under the point of the view; answers whether
  // that changed, so that the caller knows to repaint.
  bool TrackMouse(CPoint point);

  const Scene& GetScene() const { return m_renderer.GetScene(); }
  // See SceneRenderer::GetWarnings.
  const std::vector<std::string>& GetWarnings() const { return m_renderer.GetWarnings(); }

private:
  mutable SceneRenderer m_renderer;
  M3DBoundingBox<float> m_box;
  UIWnd3D* mp_manipulator_view = nullptr;
  IVRenderEx::CBoundingBox::EMouseType m_hover = IVRenderEx::CBoundingBox::eMouseOutside;
};
