#pragma once
// The framework's 3D view: a window that shows its scene's objects through a camera,
// drawn by a renderer that the desktop makes for the view's size, with the objects' 2D
// overlays over the frame. Mouse and keys navigate the camera.
#include "host/HostApi.h"
#include "host/framework/M3DBoundingBox.h"
#include "host/framework/MCamera.h"
#include "host/framework/MCoordinateSystem.h"
#include "host/view/MCameraInteraction.h"
#include "host/view/MOperationView.h"
#include "host/view/UIWnd.h"
#include "host/wnd/IWndDesktop.h"

#include <list>

class CDC;
class IRender;
class IVDisplaySurface;
class IVRender;
class MPickerBase;
class MScene;
class UIObject;

// Objects map to the view's pixels through the transform repository, from their own
// coordinate system to the view's window system (GetCoordinateSystemWindow), which the
// camera keeps placed. A view without a window (never created) still has its camera, of
// the size SetClientSize gives, so that projections can be worked out offscreen.
class VISTAL_HOST_API UIWnd3D : public UIWnd {
public:
  // `render3D` starts the view drawing its objects in 3D; without it only their 2D
  // overlays are drawn (a view that shows text or annotations alone).
  explicit UIWnd3D(bool render3D = true);
  ~UIWnd3D() override;

  MCamera& GetCamera() { return m_camera; }
  const MCamera& GetCamera() const { return m_camera; }
  MCameraInteraction& GetCameraInteraction() { return m_camera_interaction; }
  // The client area in pixels; false (unchanged) for a zero size. A window sets it itself.
  bool SetClientSize(unsigned width, unsigned height) { return m_camera.SetWindowSize(width, height); }

  // Window coordinates: pixels from the client area's top left (y down), depth 0 (near)
  // to 1 (far).
  MCoordinateSystem GetCoordinateSystemWindow() const { return m_camera.GetCoordinateSystemWindow(); }
  // Eye coordinates: x right, y up, z towards the viewer, in scene units.
  MCoordinateSystem GetCoordinateSystemEye() const { return m_camera.GetCoordinateSystemEye(); }
  // The system the view draws its scene in (the world).
  const MCoordinateSystem& GetCoordinateSystemView() const { return m_view_system; }

  // The scene whose objects the view draws and frames; not owned (null: none).
  void SetScene(MScene* scene) { mp_scene = scene; }
  MScene* GetScene() const { return mp_scene; }

  // Whether the objects are drawn in 3D (the 2D overlays always are).
  bool Is3DEnabled() const { return m_render_3d; }
  void Enable3D(bool on) { m_render_3d = on; }
  COLORREF GetBackgroundColor() const { return m_background; }
  void SetBackgroundColor(COLORREF colour) { m_background = colour; }

  // Navigation by the wheel and the keys: the share one wheel notch zooms by, the share
  // of the view an arrow key pans by, and the degrees Ctrl with an arrow key turns by.
  void SetNavigationSteps(float wheelZoom, float keyPan, float keyRotateDegrees);

  // Carries out camera operations (MOperationView) with the view's camera, the points and
  // rectangles mapped from the operation's window into the view; other operations are
  // performed on their objects.
  bool DoOperation(MOperation& operation) override;
  // The frontmost object whose window box holds the point; false when none.
  virtual bool Pick(MPickerBase& picker);
  // The object's box (all scenes) in window coordinates: the eight corners (x fastest,
  // then y, then z) mapped in double precision, narrowed to float, and boxed. False for an
  // invalid box or a corner that does not map.
  bool MapBoxToWindow(const UIObject& object, M3DBoundingBox<float>& mapped) const;

protected:
  DECLARE_MESSAGE_MAP()

  int OnCreate(LPCREATESTRUCT create);
  void OnSize(UINT type, int cx, int cy);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  void OnKeyUp(UINT key, UINT repeat, UINT flags);
  void OnTimer(UINT_PTR id);

  // Looks from a standard direction (the camera's rotation centre stays in the picture).
  virtual void _SetDefaultView(MOperationView::MDefaultView view, MScene* scene);
  // Frames the objects of the scene (all the view's targets when null).
  virtual void _UnzoomView(MScene* scene);
  // The objects that framing and clipping planes take into account: the scene's.
  virtual std::list<IRender*> _GetTargetObjectsClipping();
  // The objects that navigation turns about: those of _GetTargetObjectsClipping.
  virtual std::list<IRender*> _GetTargetObjectsInteraction();
  // Draws one frame: the objects visible in the active scene in 3D, the frame onto the
  // device context, then their 2D overlays.
  virtual void _OnDraw(CDC& dc, IVRender* render, IVDisplaySurface* surface);
  // Opens a frame with the view's background and the camera's matrices; false, with the
  // client area filled with the background instead, when there is no renderer or frame.
  bool _StartFrame(CDC& dc, IVRender* render, IVDisplaySurface* surface);
  // Closes the frame and puts it onto the device context.
  void _FinishFrame(CDC& dc, IVRender& render, IVDisplaySurface& surface);
  // Loads the camera's world-to-eye and eye-to-window matrices into the renderer.
  void _LoadMatrices(IVRender& render);

  MCamera m_camera;
  MCameraInteraction m_camera_interaction;
  MCoordinateSystem m_view_system;
  MScene* mp_scene = nullptr;
  bool m_render_3d = true;
  COLORREF m_background = 0;
  float m_wheel_zoom_step = 0.2f;
  float m_key_pan_step = 0.1f;
  float m_key_rotate_step = 20.0f;

private:
  // The renderer of the client size, made when first needed and again after a resize.
  bool _EnsureRender(int width, int height);
  bool _DoViewOperation(MOperationView& operation);
  void _FitDepthRange();
  CPoint _ToClient(const MOperationView& operation, CPoint point) const;

  WndViewRender m_render;
  bool m_control_held = false;  // the view sees Ctrl go down and up itself
  bool m_draft_shown = false;   // the picture on screen is a draft frame
  int m_render_width = 0, m_render_height = 0;
};
