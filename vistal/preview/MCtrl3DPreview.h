#pragma once
#include "vistal/Api.h"
#include "vistal/preview/UIWnd3DPreview.h"
#include "host/wnd/CImageList.h"
#include "host/wnd/CToolBar.h"
#include "host/wnd/CWnd.h"

#include <cstdint>
#include <list>
#include <vector>

class CCmdUI;
class IRender;
class UIObject;

// The preview control: a child window with a four-button toolbar over a preview view,
// which turns the mouse into camera operations of the view and shows the host's objects
// in the view's scene without copying them.
class VISTAL_API MCtrl3DPreview : public CWnd {
public:
  enum MODE : std::int32_t { MODE_NONE = 0, MODE_PAN = 1, MODE_ROTATE = 2, MODE_ZOOM_RECT = 3 };
  enum E_ROTATION_TYPE : std::int32_t { ROTATION_AROUND_OBJECT_Z = 0, ROTATION_STANDARD = 1 };

  // Toolbar commands and resources the host supplies.
  static constexpr unsigned kCommandPan = 33355;
  static constexpr unsigned kCommandRotate = 33359;
  static constexpr unsigned kCommandUnzoom = 33361;
  static constexpr unsigned kCommandZoomRect = 33362;
  static constexpr unsigned kToolBarResource = 4246;
  static constexpr unsigned kButtonsBitmap = 285;
  static constexpr COLORREF kButtonsMask = 0xC0C0C0;
  static constexpr unsigned kCursorRotateAboutViewAxis = 2462;
  static constexpr unsigned kCursorRotate = 2465;
  static constexpr unsigned kCursorZoom = 3457;
  static constexpr unsigned kViewId = 33647;
  static constexpr const wchar_t* kClassName = L"MCtrl3DPreview";
  // The largest signed 32-bit value marks a point that is not there.
  static constexpr LONG kNoPoint = 0x7FFFFFFF;

  MCtrl3DPreview();
  ~MCtrl3DPreview() override;
  MCtrl3DPreview(const MCtrl3DPreview&) = delete;
  MCtrl3DPreview& operator=(const MCtrl3DPreview&) = delete;

  using CWnd::Create;
  // A visible child of `parent`; false when the window class cannot be registered or the
  // window cannot be made.
  bool Create(unsigned long style, const RECT& rect, CWnd* parent, unsigned int id);

  void SetActiveScene(unsigned int scene);
  // Shows the objects (never owned by the control; owned by the view when `ownsObjects`).
  void SetObjectToPreview(const std::vector<UIObject*>& objects, unsigned int textId, bool keepView,
                          bool ownsObjects);
  void ClearPreview(unsigned int textId);
  void SetRotationType(E_ROTATION_TYPE type) { m_rotation_type = type; }
  E_ROTATION_TYPE GetRotationType() const { return m_rotation_type; }
  void ShowObjectsUpsideDown(bool upsideDown) { m_wnd_3d.ShowObjectsUpsideDown(upsideDown); }

  // What a host or a test reads of the control's state.
  UIWnd3DPreview& GetView() { return m_wnd_3d; }
  CToolBar& GetToolBar() { return m_toolbar; }
  MODE GetMode() const { return m_mode; }
  bool IsZoomed() const { return m_zoomed; }
  const CRect& GetZoomRect() const { return m_zoom_rect; }

protected:
  DECLARE_MESSAGE_MAP()

  std::list<IRender*> GetTargetObjects();

  int OnCreate(LPCREATESTRUCT create);
  void OnDestroy();
  void OnSize(UINT type, int cx, int cy);
  void OnTimer(UINT_PTR id);
  void OnToolbar(UINT id);
  void OnUpdateToolbar(CCmdUI* cmdUI);
  void OnLButtonDown(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnRButtonDown(UINT flags, CPoint point);
  void OnRButtonUp(UINT flags, CPoint point);
  void OnMouseMove(UINT flags, CPoint point);

  void _MouseMovePan(const CPoint& point);
  void _MouseMoveRotate(const CPoint& point);
  void _MouseMoveZoom(const CPoint& point);
  void _MouseMoveZoomRect(const CPoint& point);
  void _DrawFocusRect(const CRect& rect);
  void _ZoomRect(const CRect& rect);
  void _Unzoom();

private:
  void _SetObjectsVisibility(bool visible);
  static MODE _ID2MODE(unsigned int id);
  static void _TrimToolbar(CToolBar& toolbar);
  void _SetMouseCapture();
  void _ReleaseMouseCapture();
  void _HandToView(MOperationView& operation);

  CImageList m_image_list;
  CToolBar m_toolbar;
  UIWnd3DPreview m_wnd_3d;
  std::vector<UIObject*> m_objects;
  // The timer's identifier is the control's address, which needs all 64 bits here: a
  // 32-bit copy could not stop the timer again.
  UINT_PTR m_timer_id = 0;
  MODE m_mode = MODE_NONE;
  E_ROTATION_TYPE m_rotation_type = ROTATION_AROUND_OBJECT_Z;
  bool m_zoomed = false;
  bool m_left_down = false;
  bool m_right_down = false;
  CPoint m_right_point{kNoPoint, kNoPoint};
  CRect m_zoom_rect{kNoPoint, kNoPoint, kNoPoint, kNoPoint};
};
