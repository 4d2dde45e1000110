#include "host/view/UIWnd3D.h"

#include "host/core/CQNPreferences.h"
#include "host/framework/M3DBoundingBox.h"
#include "host/framework/MScene.h"
#include "host/framework/MTransformRepository.h"
#include "host/framework/UIObject.h"
#include "host/gdi/CDC.h"
#include "host/render/IVDisplaySurface.h"
#include "host/render/IVRender.h"
#include "host/view/MPickerBase.h"
#include "host/wnd/CPaintDC.h"
#include "host/wnd/WndFunctions.h"

#include <cmath>

BEGIN_MESSAGE_MAP(UIWnd3D, UIWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_MOUSEWHEEL()
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
  ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
// Virtual-key codes of the keys the view navigates with.
// The timer that redraws a view in full quality once a drag has ended, and how soon.
constexpr UINT_PTR kRefineTimer = 0x3D3D;
constexpr UINT kRefineDelay = 100;
constexpr UINT kKeyControl = 0x11, kKeyLeft = 0x25, kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28;
}  // namespace

UIWnd3D::UIWnd3D(bool render3D) : m_render_3d(render3D) {}
UIWnd3D::~UIWnd3D() = default;

void UIWnd3D::SetNavigationSteps(float wheelZoom, float keyPan, float keyRotateDegrees) {
  m_wheel_zoom_step = wheelZoom;
  m_key_pan_step = keyPan;
  m_key_rotate_step = keyRotateDegrees;
}

int UIWnd3D::OnCreate(LPCREATESTRUCT create) {
  if (UIWnd::OnCreate(create) == -1) return -1;
  m_background = CQNPreferences::mg_color_3d_background;
  CRect client;
  GetClientRect(&client);
  if (client.Width() > 0 && client.Height() > 0) m_camera.SetWindowSize(unsigned(client.Width()), unsigned(client.Height()));
  return 0;
}

void UIWnd3D::OnSize(UINT type, int cx, int cy) {
  UIWnd::OnSize(type, cx, cy);
  if (cx > 0 && cy > 0) m_camera.SetWindowSize(unsigned(cx), unsigned(cy));
  Invalidate(FALSE);
}

BOOL UIWnd3D::OnEraseBkgnd(CDC*) { return TRUE; }  // every paint covers the client area

bool UIWnd3D::_EnsureRender(int width, int height) {
  if (m_render.render && width == m_render_width && height == m_render_height) return true;
  IWndDesktop* desktop = GetWndDesktop();
  m_render = desktop ? desktop->CreateViewRender(width, height) : WndViewRender{};
  m_render_width = width;
  m_render_height = height;
  return m_render.render && m_render.surface;
}

void UIWnd3D::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  if (client.Width() <= 0 || client.Height() <= 0) return;
  if (!_EnsureRender(client.Width(), client.Height())) {
    _OnDraw(dc, nullptr, nullptr);
    return;
  }
  // While the mouse turns the camera, frames are drafts, which keeps the view following
  // the mouse; the finished frame follows once the drag has ended.
  const bool draft = m_camera_interaction.GetState() != MCameraInteraction::eIdle;
  m_render.render->SetDraftFrames(draft);
  if (draft && !m_draft_shown) SetTimer(kRefineTimer, kRefineDelay, nullptr);
  m_draft_shown = draft;
  _OnDraw(dc, m_render.render.get(), m_render.surface);
}

void UIWnd3D::OnTimer(UINT_PTR id) {
  if (id != kRefineTimer) {
    UIWnd::OnTimer(id);
    return;
  }
  if (m_camera_interaction.GetState() != MCameraInteraction::eIdle) return;
  KillTimer(kRefineTimer);
  if (m_draft_shown) Invalidate(FALSE);
}

void UIWnd3D::_LoadMatrices(IVRender& render) {
  MTransformRepository& repository = *MTransformRepository::mgp_instance;
  const MCoordinateSystem eye = GetCoordinateSystemEye(), window = GetCoordinateSystemWindow();
  float worldToEye[16];
  repository.GetTransform(m_view_system, eye).GetMatrixFloat(worldToEye);
  render.LoadWorldToEyeMatrix(worldToEye);
  // Renderers take the eye-to-window matrix in the device's clip coordinates (-1 to 1
  // across the picture, y up, depth -1 near to 1 far); the window system is in pixels
  // with y down and depth 0 to 1, so the pixel matrix is followed by that fixed map.
  double pixels[16];
  repository.GetTransform(eye, window).GetMatrixDouble(pixels);
  const double w = m_camera.GetWindowWidth(), h = m_camera.GetWindowHeight();
  const double toClip[4][4] = {{2.0 / w, 0, 0, -1}, {0, -2.0 / h, 0, 1}, {0, 0, 2, -1}, {0, 0, 0, 1}};
  float eyeToClip[16];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += toClip[r][k] * pixels[k * 4 + c];
      eyeToClip[r * 4 + c] = float(sum);
    }
  render.LoadEyeToWindowMatrix(eyeToClip);
}

bool UIWnd3D::_StartFrame(CDC& dc, IVRender* render, IVDisplaySurface* surface) {
  if (render && surface && render->StartFrame(surface, &dc, false)) {
    surface->SetBackground(m_background, true, true);
    _LoadMatrices(*render);
    return true;
  }
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, m_background);
  return false;
}

void UIWnd3D::_FinishFrame(CDC& dc, IVRender& render, IVDisplaySurface& surface) {
  render.StopFrame();
  surface.DrawFrame(dc);
}

void UIWnd3D::_OnDraw(CDC& dc, IVRender* render, IVDisplaySurface* surface) {
  std::list<IRender*> objects = _GetTargetObjectsClipping();
  if (_StartFrame(dc, render, surface)) {
    if (m_render_3d)
      for (IRender* object : objects)
        if (object && object->IsVisible(m_active_scene)) object->Render(*render, m_view_system);
    _FinishFrame(dc, *render, *surface);
  }
  for (IRender* object : objects)
    if (object && object->IsVisible(m_active_scene)) object->RenderGDI(dc, m_view_system);
}

std::list<IRender*> UIWnd3D::_GetTargetObjectsClipping() {
  std::list<IRender*> objects;
  if (mp_scene)
    for (UIObject* object : mp_scene->GetObjects()) objects.push_back(object);
  return objects;
}

std::list<IRender*> UIWnd3D::_GetTargetObjectsInteraction() { return _GetTargetObjectsClipping(); }

void UIWnd3D::_SetDefaultView(MOperationView::MDefaultView view, MScene*) {
  static const MCamera::Point kDirections[] = {
      {0, 1, 0}, {0, -1, 0}, {-1, 0, 0}, {1, 0, 0}, {0, 0, -1}, {0, 0, 1}, {-1, 1, -1},
  };
  const int index = int(view);
  if (index >= 0 && index < int(std::size(kDirections))) m_camera.SetViewDirection(kDirections[index]);
}

void UIWnd3D::_UnzoomView(MScene* scene) {
  std::list<IRender*> objects = _GetTargetObjectsClipping();
  m_camera.Unzoom(objects, scene ? scene->GetID() : kNoScene);
}

CPoint UIWnd3D::_ToClient(const MOperationView& operation, CPoint point) const {
  if (CWnd* from = operation.GetWindow(); from && from != this && from->GetSafeHwnd() && GetSafeHwnd())
    from->MapWindowPoints(const_cast<UIWnd3D*>(this), &point, 1);
  return point;
}

// A turn brings other parts of the objects to the front: the depth range is fitted again.
void UIWnd3D::_FitDepthRange() {
  std::list<IRender*> objects = _GetTargetObjectsInteraction();
  m_camera.SetClippingPlanes(objects, kNoScene);
}

bool UIWnd3D::_DoViewOperation(MOperationView& operation) {
  const MCamera::Point pivot = m_camera.GetRotationCenter();
  switch (operation.GetAction()) {
    case MOperationView::eActionZoomRect: {
      const CRect rect = operation.GetZoomRect();
      const CPoint a = _ToClient(operation, rect.TopLeft()), b = _ToClient(operation, rect.BottomRight());
      return m_camera.Zoom(CRect(a.x, a.y, b.x, b.y));
    }
    case MOperationView::eActionZoom: {
      const CPoint at = _ToClient(operation, operation.GetZoomPoint());
      return m_camera.Zoom(operation.GetZoomValue(), MCamera::Point(at.x, at.y, 0.0));
    }
    case MOperationView::eActionPan:
      m_camera.Pan(operation.GetDelta(0), operation.GetDelta(1));
      return true;
    case MOperationView::eActionRotateStandard:
      m_camera.Rotate(pivot, operation.GetDelta(0), operation.GetDelta(1), operation.GetDelta(2));
      break;
    case MOperationView::eActionRotateAroundObjectZ:
      // Turning the scene's near side to the right moves the eye the other way round the
      // up axis; turning it down lifts the eye.
      m_camera.RotateAroundUp(pivot, -operation.GetDelta(1), operation.GetDelta(0));
      if (operation.GetDelta(2) != 0.0f) m_camera.Rotate(pivot, 0.0, 0.0, operation.GetDelta(2));
      break;
    default:
      return false;
  }
  _FitDepthRange();
  return true;
}

bool UIWnd3D::DoOperation(MOperation& operation) {
  if (auto* view = dynamic_cast<MOperationView*>(&operation)) {
    const bool done = _DoViewOperation(*view);
    if (done && GetSafeHwnd()) Invalidate(FALSE);
    return done;
  }
  return UIWnd::DoOperation(operation);
}

BOOL UIWnd3D::OnMouseWheel(UINT, short delta, CPoint point) {
  ScreenToClient(&point);
  const double notches = delta / 120.0;
  m_camera.Zoom(std::pow(1.0 + m_wheel_zoom_step, notches), MCamera::Point(point.x, point.y, 0.0));
  Invalidate(FALSE);
  return TRUE;
}

void UIWnd3D::OnKeyUp(UINT key, UINT, UINT) {
  if (key == kKeyControl) m_control_held = false;
}

void UIWnd3D::OnKeyDown(UINT key, UINT, UINT) {
  double x = 0, y = 0;
  switch (key) {
    case kKeyControl: m_control_held = true; return;
    case kKeyLeft: x = -1; break;
    case kKeyRight: x = 1; break;
    case kKeyUp: y = -1; break;
    case kKeyDown: y = 1; break;
    default: return;
  }
  if (m_control_held) {
    // Ctrl turns the near side of the scene the way the arrow points.
    m_camera.Rotate(m_camera.GetRotationCenter(), y * m_key_rotate_step, x * m_key_rotate_step, 0.0);
    _FitDepthRange();
  } else {
    m_camera.Pan(x * m_key_pan_step * m_camera.GetWindowWidth(), y * m_key_pan_step * m_camera.GetWindowHeight());
  }
  Invalidate(FALSE);
}

bool UIWnd3D::MapBoxToWindow(const UIObject& object, M3DBoundingBox<float>& mapped) const {
  M3DBoundingBox<float> box;
  object.GetBoundingBox(box, kNoScene);
  mapped.SetEmpty();
  if (!box.IsValid()) return false;
  const MMTransform& toWindow =
      MTransformRepository::mgp_instance->GetTransform(object.GetCoordinateSystem(), GetCoordinateSystemWindow());
  for (int corner = 0; corner < 8; ++corner) {
    const MMPoint3d<double> in(corner & 1 ? box.xmax : box.xmin, corner & 2 ? box.ymax : box.ymin,
                               corner & 4 ? box.zmax : box.zmin);
    MMPoint3d<double> out;
    if (!toWindow.TransformPoint(out, in, false)) return false;
    mapped.Add(MMPoint3d<float>(float(out.x), float(out.y), float(out.z)));
  }
  return true;
}

bool UIWnd3D::Pick(MPickerBase& picker) {
  bool found = false;
  for (IRender* target : _GetTargetObjectsInteraction()) {
    auto* object = dynamic_cast<UIObject*>(target);
    M3DBoundingBox<float> onScreen;
    if (!object || !object->IsVisible(m_active_scene) || !MapBoxToWindow(*object, onScreen)) continue;
    const CPoint& at = picker.GetPoint();
    if (at.x < onScreen.xmin || at.x >= onScreen.xmax || at.y < onScreen.ymin || at.y >= onScreen.ymax) continue;
    if (!found || onScreen.zmin < picker.GetDepth()) picker.SetPicked(object, onScreen.zmin);
    found = true;
  }
  return found;
}
