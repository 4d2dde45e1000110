#include "vistal/preview/MCtrl3DPreview.h"

#include "host/core/CQNPreferences.h"
#include "host/core/UIObjectMedical.h"
#include "host/gdi/CGdiObject.h"
#include "host/view/MOperationView.h"
#include "host/wnd/CCmdUI.h"
#include "host/wnd/CClientDC.h"
#include "host/wnd/WndFunctions.h"
#include "vistal/preview/Implementation/PreviewBoxes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

BEGIN_MESSAGE_MAP(MCtrl3DPreview, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_SIZE()
  ON_WM_TIMER()
  ON_COMMAND_RANGE(MCtrl3DPreview::kCommandPan, MCtrl3DPreview::kCommandPan, &MCtrl3DPreview::OnToolbar)
  ON_UPDATE_COMMAND_UI(MCtrl3DPreview::kCommandPan, &MCtrl3DPreview::OnUpdateToolbar)
  ON_COMMAND_RANGE(MCtrl3DPreview::kCommandRotate, MCtrl3DPreview::kCommandRotate, &MCtrl3DPreview::OnToolbar)
  ON_UPDATE_COMMAND_UI(MCtrl3DPreview::kCommandRotate, &MCtrl3DPreview::OnUpdateToolbar)
  ON_COMMAND_RANGE(MCtrl3DPreview::kCommandZoomRect, MCtrl3DPreview::kCommandZoomRect, &MCtrl3DPreview::OnToolbar)
  ON_UPDATE_COMMAND_UI(MCtrl3DPreview::kCommandZoomRect, &MCtrl3DPreview::OnUpdateToolbar)
  ON_COMMAND_RANGE(MCtrl3DPreview::kCommandUnzoom, MCtrl3DPreview::kCommandUnzoom, &MCtrl3DPreview::OnToolbar)
  ON_UPDATE_COMMAND_UI(MCtrl3DPreview::kCommandUnzoom, &MCtrl3DPreview::OnUpdateToolbar)
END_MESSAGE_MAP()

namespace {

constexpr unsigned kNoScene = 0xFFFFFFFF;

// Updates a toolbar button (the toolbar in m_pOther, the button at m_nIndex) by its style
// bits, which is all the control's buttons need.
class CSimpleCmdUI : public CCmdUI {
public:
  void Enable(BOOL on) override {
    m_bEnableChanged = TRUE;
    auto* toolbar = static_cast<CToolBar*>(m_pOther);
    UINT style = toolbar->GetButtonStyle(int(m_nIndex)) & ~UINT(TBBS_DISABLED);
    if (!on) style = (style & ~UINT(TBBS_PRESSED)) | TBBS_DISABLED;
    toolbar->SetButtonStyle(int(m_nIndex), style);
  }
  void SetCheck(int check) override {
    auto* toolbar = static_cast<CToolBar*>(m_pOther);
    UINT style = toolbar->GetButtonStyle(int(m_nIndex)) & ~UINT(TBBS_CHECKED | TBBS_INDETERMINATE);
    if (check == 1) style |= TBBS_CHECKED;
    else if (check == 2) style |= TBBS_INDETERMINATE;
    toolbar->SetButtonStyle(int(m_nIndex), style | TBBS_CHECKBOX);
  }
};

// A cursor of the host's resources, found through the module's resource chain.
void SetResourceCursor(unsigned id) {
  HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(id), RT_GROUP_CURSOR);
  ::SetCursor(::LoadCursorW(module, MAKEINTRESOURCEW(id)));
}

void SetSizeAllCursor() { ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL)); }

// Toward zero, kept inside the 32-bit range.
LONG TruncateToPixel(float value) {
  const double limit = double(std::numeric_limits<LONG>::max());
  return LONG(std::fmax(-limit - 1.0, std::fmin(limit, std::trunc(double(value)))));
}

}  // namespace

MCtrl3DPreview::MCtrl3DPreview() {
  // The framework's wheel, arrow-key and Ctrl+arrow steps of the embedded view.
  m_wnd_3d.SetNavigationSteps(0.2f, 0.1f, 20.0f);
  m_rotation_type = CQNPreferences::mg_use_world_axis_rotation ? ROTATION_STANDARD : ROTATION_AROUND_OBJECT_Z;
}

MCtrl3DPreview::~MCtrl3DPreview() = default;

bool MCtrl3DPreview::Create(unsigned long style, const RECT& rect, CWnd* parent, unsigned int id) {
  WNDCLASSW existing{};
  if (!::GetClassInfoW(AfxGetInstanceHandle(), kClassName, &existing)) {
    WNDCLASSW wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(std::intptr_t(COLOR_BTNFACE + 1));
    wc.lpszClassName = kClassName;
    if (!AfxRegisterClass(&wc)) return false;
  }
  return CreateEx(0, kClassName, nullptr, DWORD(style) | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                  rect, parent, id, nullptr) != FALSE;
}

int MCtrl3DPreview::OnCreate(LPCREATESTRUCT) {
  if (Default() == -1) return -1;

  if (m_toolbar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_TOOLTIPS | CBRS_FLYBY,
                         CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) &&
      m_toolbar.LoadToolBar(kToolBarResource)) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(kButtonsBitmap), RT_BITMAP);
    CBitmap bitmap;
    bitmap.Attach(::LoadBitmapW(module, MAKEINTRESOURCEW(kButtonsBitmap)));
    m_image_list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 0);
    ImageList_AddMasked(m_image_list.m_hImageList, static_cast<HBITMAP>(bitmap.GetSafeHandle()), kButtonsMask);
    bitmap.DeleteObject();
    CImageList::FromHandle(HIMAGELIST(
        m_toolbar.SendMessage(TB_SETIMAGELIST, 0, LPARAM(CImageList::FromHandle(m_image_list.m_hImageList)->m_hImageList))));
  }
  _TrimToolbar(m_toolbar);

  if (m_wnd_3d.Create(0, CRect(0, 0, 32, 32), this, kViewId)) {
    // Mouse input over the disabled view reaches the control.
    m_wnd_3d.EnableWindow(FALSE);
    m_wnd_3d.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
    MCameraInteraction& interaction = m_wnd_3d.GetCameraInteraction();
    interaction.SetState(MCameraInteraction::eIdle);
    interaction.SetZoomSensitivity(4);
  }

  m_timer_id = SetTimer(reinterpret_cast<UINT_PTR>(this), 500, nullptr);
  return 0;
}

void MCtrl3DPreview::OnDestroy() {
  KillTimer(m_timer_id);
  _SetObjectsVisibility(false);
  if (::IsWindow(m_toolbar.m_hWnd)) m_toolbar.DestroyWindow();
  if (::IsWindow(m_wnd_3d.m_hWnd)) m_wnd_3d.DestroyWindow();
}

void MCtrl3DPreview::OnSize(UINT, int, int) {
  Default();
  CRect client;
  GetClientRect(&client);
  int toolbarHeight = 0;
  if (m_toolbar.GetSafeHwnd()) {
    CRect button;
    m_toolbar.GetItemRect(0, &button);
    toolbarHeight = button.Height() + 2;
    m_toolbar.MoveWindow(0, 0, client.Width(), toolbarHeight, TRUE);
  }
  // A control lower than its toolbar leaves the view no height rather than a negative one.
  if (m_wnd_3d.GetSafeHwnd())
    m_wnd_3d.MoveWindow(0, toolbarHeight, client.Width(), std::max(0, client.Height() - toolbarHeight), TRUE);
}

void MCtrl3DPreview::OnTimer(UINT_PTR id) {
  if (id != reinterpret_cast<UINT_PTR>(this) || !m_toolbar.GetSafeHwnd()) return;
  CSimpleCmdUI cmdUI;
  cmdUI.m_pOther = &m_toolbar;
  const UINT count = UINT(m_toolbar.SendMessage(TB_BUTTONCOUNT));
  cmdUI.m_nIndexMax = count;
  for (cmdUI.m_nIndex = 0; cmdUI.m_nIndex < count; ++cmdUI.m_nIndex) {
    cmdUI.m_nID = m_toolbar.GetItemID(int(cmdUI.m_nIndex));
    if (cmdUI.m_nID == 0) continue;  // separator
    if (!m_toolbar.OnCmdMsg(cmdUI.m_nID, CN_UPDATE_COMMAND_UI, &cmdUI, nullptr)) cmdUI.DoUpdate(this, FALSE);
  }
}

MCtrl3DPreview::MODE MCtrl3DPreview::_ID2MODE(unsigned int id) {
  switch (id) {
    case kCommandPan: return MODE_PAN;
    case kCommandRotate: return MODE_ROTATE;
    case kCommandZoomRect: return MODE_ZOOM_RECT;
    default: return MODE_NONE;
  }
}

void MCtrl3DPreview::_TrimToolbar(CToolBar& toolbar) {
  if (!toolbar.GetSafeHwnd()) return;
  for (int index = 0; index < int(toolbar.SendMessage(TB_BUTTONCOUNT));) {
    const UINT id = toolbar.GetItemID(index);
    if (id == kCommandRotate || id == kCommandPan || id == kCommandZoomRect || id == kCommandUnzoom)
      ++index;
    else
      toolbar.SendMessage(TB_DELETEBUTTON, WPARAM(index));
  }
}

void MCtrl3DPreview::OnToolbar(UINT id) {
  if (id == kCommandUnzoom) {
    _Unzoom();
    return;
  }
  const MODE mode = _ID2MODE(id);
  m_mode = mode == m_mode ? MODE_NONE : mode;  // a second click lets the tool go
  if (m_mode == MODE_ZOOM_RECT) m_zoom_rect = CRect(kNoPoint, kNoPoint, kNoPoint, kNoPoint);
}

void MCtrl3DPreview::OnUpdateToolbar(CCmdUI* cmdUI) {
  if (cmdUI->m_nID == kCommandUnzoom) {
    cmdUI->Enable(!m_objects.empty() && m_zoomed);
    return;
  }
  cmdUI->SetCheck(_ID2MODE(cmdUI->m_nID) == m_mode ? 1 : 0);
  cmdUI->Enable(!m_objects.empty());
}

void MCtrl3DPreview::_SetObjectsVisibility(bool visible) {
  const unsigned scene = m_wnd_3d.GetActiveScene();
  if (scene == kNoScene) return;
  for (UIObject* object : m_objects) {
    if (!object) continue;
    object->SetVisible(visible, scene);
    if (auto* medical = dynamic_cast<UIObjectMedical*>(object)) medical->SetPresentInScene(scene, visible);
  }
}

void MCtrl3DPreview::SetActiveScene(unsigned int scene) {
  if (scene == m_wnd_3d.GetActiveScene()) return;
  _SetObjectsVisibility(false);
  m_wnd_3d.SetActiveScene(scene);
  _SetObjectsVisibility(true);
}

void MCtrl3DPreview::SetObjectToPreview(const std::vector<UIObject*>& objects, unsigned int textId, bool keepView,
                                        bool ownsObjects) {
  if (objects != m_objects) {
    _SetObjectsVisibility(false);
    const MCamera::Point before = m_wnd_3d.GetCamera().GetRotationCenter();
    m_objects = objects;
    if (!keepView) {
      m_zoomed = false;
    } else {
      const MCamera::Point after = m_wnd_3d.GetCamera().GetRotationCenter();
      // Exact comparison: a coordinate that is not a number differs.
      if (!(after.x == before.x) || !(after.y == before.y) || !(after.z == before.z)) m_zoomed = false;
    }
    _SetObjectsVisibility(true);
  }
  m_wnd_3d.SetObjectToPreview(objects, textId, keepView, ownsObjects, MOperationView::eViewOblique);
}

void MCtrl3DPreview::ClearPreview(unsigned int textId) {
  _SetObjectsVisibility(false);
  m_objects.clear();
  m_wnd_3d.ClearPreview(textId);
}

std::list<IRender*> MCtrl3DPreview::GetTargetObjects() { return vistal_preview::TargetsOf(m_objects); }

void MCtrl3DPreview::_SetMouseCapture() { SetCapture(); }
void MCtrl3DPreview::_ReleaseMouseCapture() { ::ReleaseCapture(); }

// ---- Navigation -----------------------------------------------------------------------

void MCtrl3DPreview::OnLButtonDown(UINT, CPoint point) {
  m_left_down = true;
  if (m_mode == MODE_ZOOM_RECT) m_zoom_rect = CRect(point.x, point.y, point.x, point.y);
  _SetMouseCapture();
}

void MCtrl3DPreview::OnLButtonUp(UINT, CPoint) {
  _ReleaseMouseCapture();
  if (m_mode == MODE_ZOOM_RECT && (m_zoom_rect.Width() != 0 || m_zoom_rect.Height() != 0)) {
    _DrawFocusRect(m_zoom_rect);  // inverting again takes the band away
    _ZoomRect(m_zoom_rect);
  }
  m_left_down = false;
  m_wnd_3d.GetCameraInteraction().SetState(MCameraInteraction::eIdle);
  m_mode = MODE_NONE;  // a tool serves one drag
}

void MCtrl3DPreview::OnRButtonDown(UINT, CPoint point) {
  m_right_point = point;
  m_right_down = true;
  _SetMouseCapture();
}

void MCtrl3DPreview::OnRButtonUp(UINT, CPoint) {
  _ReleaseMouseCapture();
  m_right_down = false;
  m_right_point = CPoint(kNoPoint, kNoPoint);
  m_wnd_3d.GetCameraInteraction().SetState(MCameraInteraction::eIdle);
}

void MCtrl3DPreview::OnMouseMove(UINT flags, CPoint point) {
  if (m_objects.empty()) return;

  switch (m_mode) {
    case MODE_PAN:
      SetSizeAllCursor();
      if (m_left_down) _MouseMovePan(point);
      break;
    case MODE_ROTATE:
      SetResourceCursor(kCursorRotate);
      if (m_left_down) _MouseMoveRotate(point);
      break;
    case MODE_ZOOM_RECT:
      SetResourceCursor(kCursorZoom);
      if (m_left_down) _MouseMoveZoomRect(point);
      break;
    default:
      break;
  }

  if (m_right_down && point != m_right_point) {
    const bool control = (flags & MK_CONTROL) != 0, shift = (flags & MK_SHIFT) != 0;
    if (control && !shift) _MouseMoveZoom(point);
    else if (shift && !control) _MouseMovePan(point);
    else if (!control && !shift) _MouseMoveRotate(point);
  }

  switch (m_wnd_3d.GetCameraInteraction().GetState()) {
    case MCameraInteraction::eRotatingAboutViewAxis: SetResourceCursor(kCursorRotateAboutViewAxis); break;
    case MCameraInteraction::eRotating: SetResourceCursor(kCursorRotate); break;
    case MCameraInteraction::ePanning: SetSizeAllCursor(); break;
    case MCameraInteraction::eZooming: SetResourceCursor(kCursorZoom); break;
    default: break;
  }
}

void MCtrl3DPreview::_HandToView(MOperationView& operation) {
  m_wnd_3d.DoOperation(operation);
  if (m_wnd_3d.GetSafeHwnd()) m_wnd_3d.InvalidateRect(nullptr, FALSE);
}

void MCtrl3DPreview::_MouseMovePan(const CPoint& point) {
  MCameraInteraction& interaction = m_wnd_3d.GetCameraInteraction();
  if (interaction.GetState() != MCameraInteraction::ePanning) {
    interaction.StartPan(point);  // the first move only anchors the drag
    return;
  }
  interaction.Pan(point);
  MOperationView operation;
  operation.SetWindow(this);
  operation.SetAction(MOperationView::eActionPan);
  operation.SetDeltas(interaction.GetValue(0), interaction.GetValue(1), interaction.GetValue(2));
  _HandToView(operation);
}

void MCtrl3DPreview::_MouseMoveRotate(const CPoint& point) {
  MCameraInteraction& interaction = m_wnd_3d.GetCameraInteraction();
  const MCameraInteraction::EState state = interaction.GetState();
  if (state != MCameraInteraction::eRotatingAboutViewAxis && state != MCameraInteraction::eRotating) {
    CRect client;
    m_wnd_3d.GetClientRect(&client);
    interaction.StartRotation(client, point);
    return;
  }
  interaction.Rotate(point);
  MOperationView operation;
  operation.SetWindow(this);
  const float x = interaction.GetValue(0), y = interaction.GetValue(1), z = interaction.GetValue(2);
  if (m_rotation_type == ROTATION_AROUND_OBJECT_Z) operation.SetActionRotateAroundObjectZ(this, x, y, z);
  else if (m_rotation_type == ROTATION_STANDARD) operation.SetActionRotateStandard(this, x, y, z);
  _HandToView(operation);
}

void MCtrl3DPreview::_MouseMoveZoom(const CPoint& point) {
  MCameraInteraction& interaction = m_wnd_3d.GetCameraInteraction();
  if (interaction.GetState() == MCameraInteraction::eZooming) {
    interaction.Zoom(point);
  } else {
    CRect client;
    m_wnd_3d.GetClientRect(&client);
    interaction.StartZoom(client, point);
  }
  MOperationView operation;
  operation.SetWindow(this);
  operation.SetAction(MOperationView::eActionZoom);
  operation.SetZoom(interaction.GetZoomValue(), interaction.GetZoomPoint());
  _HandToView(operation);
  m_zoomed = true;
}

void MCtrl3DPreview::_MouseMoveZoomRect(const CPoint& point) {
  if (point.x == m_zoom_rect.right && point.y == m_zoom_rect.bottom) return;
  CDC* dc = GetDC();
  if (!dc) return;
  _DrawFocusRect(m_zoom_rect);
  m_zoom_rect.right = point.x;
  m_zoom_rect.bottom = point.y;
  _DrawFocusRect(m_zoom_rect);
  ReleaseDC(dc);
}

void MCtrl3DPreview::_DrawFocusRect(const CRect& rect) {
  if (rect.Width() == 0 && rect.Height() == 0) return;
  if (!m_wnd_3d.GetSafeHwnd()) return;
  CRect band = rect;
  MapWindowPoints(&m_wnd_3d, reinterpret_cast<LPPOINT>(&band), 2);
  if (band.left > band.right) std::swap(band.left, band.right);
  if (band.top > band.bottom) std::swap(band.top, band.bottom);
  CClientDC dc(&m_wnd_3d);
  CBrush white(RGB(255, 255, 255));
  dc.DrawDragRect(&band, SIZE{1, 1}, nullptr, SIZE{1, 1}, &white, &white);
}

void MCtrl3DPreview::_ZoomRect(const CRect& rect) {
  if (rect.Width() == 0 && rect.Height() == 0) return;
  MOperationView operation;
  operation.SetWindow(this);
  operation.SetAction(MOperationView::eActionZoomRect);
  CRect zoom = rect;
  operation.SetZoomRect(zoom);
  _HandToView(operation);
  m_zoomed = true;
}

void MCtrl3DPreview::_Unzoom() {
  const M3DBoundingBox<float> all = vistal_preview::UnionOfWindowBoxes(m_objects, m_wnd_3d);
  // Without any box the rectangle would mean nothing: the camera stays.
  if (all.IsValid())
    _ZoomRect(CRect(TruncateToPixel(all.xmin) - 5, TruncateToPixel(all.ymin) - 5, TruncateToPixel(all.xmax) + 5,
                    TruncateToPixel(all.ymax) + 5));
  m_zoomed = false;
}
