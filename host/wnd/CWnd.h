#pragma once
// MFC's window class over the host's window manager.
#include "host/HostApi.h"
#include "host/gdi/CDC.h"
#include "host/win/CPoint.h"
#include "host/win/CRect.h"
#include "host/wnd/CCmdTarget.h"
#include "host/wnd/WndTypes.h"

class CCreateContext;

namespace wnd_impl {
struct Access;
}

// A window: a child inside its parent's client area, or a top-level window that the
// desktop (GetWndDesktop) shows. Messages reach the window through WindowProc, which
// looks them up in the message maps and passes what no entry takes to DefWindowProc, the
// default procedure of the window's class. Every window paints into an image of its own
// client size; the message loop composes a top-level window from its image and its
// children's and presents it.
//
// The CWnd object and its window: Create attaches them (m_hWnd), the window's end
// (DestroyWindow, WM_CLOSE, or the parent's end) detaches them after WM_NCDESTROY and calls
// PostNcDestroy; destroying the object destroys a window still attached.
class VISTAL_HOST_API CWnd : public CCmdTarget {
  DECLARE_MESSAGE_MAP()

public:
  CWnd() = default;
  ~CWnd() override;

  HWND m_hWnd = nullptr;

  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const { return m_hWnd; }
  // The object attached to a window; null for a handle that names no window.
  static CWnd* FromHandle(HWND hwnd);
  static CWnd* FromHandlePermanent(HWND hwnd);

  // A child window (WS_CHILD is added) of a registered class; FALSE when the class is not
  // registered, the parent has no window, or OnCreate answers -1. The context reaches
  // OnCreate as the creation parameter.
  virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                      CCreateContext* context = nullptr);
  // A window of a registered class (a null class name takes the framework's plain class).
  // Without WS_CHILD it is a top-level window of the desktop, placed at rect's position in
  // screen coordinates with rect's size as its client area; without a desktop, or when the
  // desktop cannot make the window, the answer is FALSE. With WS_CHILD, rect is in the
  // parent's client coordinates and id becomes the control identifier.
  virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, LPVOID param = nullptr);
  virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                        int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
  // Lets a derived class change the creation parameters; FALSE stops the creation.
  virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
  // Destroys the window and its children (WM_DESTROY to the window, then to each child,
  // WM_NCDESTROY children first). FALSE when there is no window.
  virtual BOOL DestroyWindow();

  CWnd* GetParent() const;
  // The window that receives this window's notifications: the owner set, else the parent.
  CWnd* GetOwner() const;
  void SetOwner(CWnd* owner);
  CWnd* GetDlgItem(int id) const;
  int GetDlgCtrlID() const;

  // Answers TRUE when the window was disabled before. A disabled window gets no mouse or
  // key input: a disabled child passes mouse input to its parent.
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  // SW_HIDE hides, the SW_SHOW... commands show. Answers TRUE when it was visible before.
  BOOL ShowWindow(int cmdShow);
  BOOL IsWindowVisible() const;
  // Changes styles and recomputes the frame at once (WM_NCCALCSIZE; WM_SIZE when the client
  // size changes). FALSE when nothing changed or there is no window.
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
  DWORD GetStyle() const;
  DWORD GetExStyle() const;

  // Places the window (a child in its parent's client coordinates, a top-level window in
  // screen coordinates, where the size is its client size). WM_MOVE and WM_SIZE follow
  // when the position or the client size changes.
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  // (0, 0, client width, client height).
  void GetClientRect(LPRECT rect) const;
  // The window's rectangle, frame included, in screen coordinates.
  void GetWindowRect(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  // From this window's client coordinates to those of `to` (the screen when null).
  void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
  void MapWindowPoints(CWnd* to, LPRECT rect) const;

  // Adds the rectangle (the whole client area when null) to the update region; the loop
  // then sends WM_PAINT, erasing first (WM_ERASEBKGND) when any invalidation asked for it.
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void Invalidate(BOOL erase = TRUE);
  void ValidateRect(LPCRECT rect);
  // The update region's bounding rectangle; FALSE when nothing is invalid.
  BOOL GetUpdateRect(LPRECT rect, BOOL erase = FALSE);
  // Sends WM_PAINT now when the update region is not empty.
  void UpdateWindow();

  // A device context on the client area, drawing into the window's image; give it back
  // with ReleaseDC. Null when there is no window.
  CDC* GetDC();
  int ReleaseDC(CDC* dc);

  // Sends all mouse input to this window; answers the window that had the capture.
  CWnd* SetCapture();
  static CWnd* GetCapture();
  // Key input goes to the focus window (else to the top-level window of the event).
  CWnd* SetFocus();
  static CWnd* GetFocus();

  // A timer that the message loop delivers every `elapse` milliseconds: WM_TIMER with the
  // id, or a call of proc when given. Setting an existing id restarts it. Answers the id
  // (1 for id 0), or 0 when there is no window.
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc);
  BOOL KillTimer(UINT_PTR id);

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Queues the message for the message loop.
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
  // The default procedure with the message being handled.
  LRESULT Default();
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The window class's procedure (DefWindowProcW for the usual classes).
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The message-map lookup of WindowProc; FALSE when no entry takes the message.
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // WM_COMMAND: routes the command (LOWORD(wParam)) through OnCmdMsg.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // After WM_NCDESTROY, when the window is gone; a window object that lives on the heap
  // may delete itself here.
  virtual void PostNcDestroy();

  // The default handlers pass the message to Default().
  int OnCreate(LPCREATESTRUCT cs);
  void OnDestroy();
  void OnNcDestroy();
  void OnClose();
  void OnSize(UINT type, int cx, int cy);
  void OnTimer(UINT_PTR id);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
  void OnNcPaint();
  void OnMouseMove(UINT flags, CPoint point);
  void OnLButtonDown(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnRButtonDown(UINT flags, CPoint point);
  void OnRButtonUp(UINT flags, CPoint point);
  void OnMButtonDown(UINT flags, CPoint point);
  void OnMButtonUp(UINT flags, CPoint point);
  BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  void OnKeyUp(UINT key, UINT repeat, UINT flags);
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  void OnCaptureChanged(CWnd* wnd);

private:
  friend struct wnd_impl::Access;
};
