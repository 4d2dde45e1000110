#include "host/wnd/CWnd.h"

#include "host/wnd/Implementation/WndState.h"
#include "host/wnd/WndFunctions.h"

#include <algorithm>

using namespace wnd_impl;

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
  // The derived parts are gone: the window's last messages reach CWnd's own handlers.
  if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::FromHandle(HWND hwnd) { return FromHandlePermanent(hwnd); }

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  Window* w = Lookup(hwnd);
  return w ? w->wnd : nullptr;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext* context) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr,
                  reinterpret_cast<HMENU>(std::uintptr_t(id)), context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param) {
  // A top-level window's "id" is a menu; it has none here.
  const std::uintptr_t menu = (style & WS_CHILD) ? id : 0;
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr, reinterpret_cast<HMENU>(menu),
                  param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
  if (::IsWindow(m_hWnd)) return FALSE;  // one window per object
  m_hWnd = nullptr;
  CREATESTRUCTW cs{param,  AfxGetInstanceHandle(), idOrMenu,  parent,         height, width,
                   y,      x,                      LONG(style), windowName, className, exStyle};
  // As MFC: a creation that fails before the window exists still ends with PostNcDestroy.
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  return CreateWindowFor(this, cs) ? TRUE : FALSE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs) {
  if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursorW(nullptr, IDC_ARROW));
  return TRUE;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::GetOwner() const {
  Window* w = Lookup(m_hWnd);
  if (!w) return nullptr;
  return FromHandle(w->owner ? w->owner : w->parent);
}

void CWnd::SetOwner(CWnd* owner) {
  if (Window* w = Lookup(m_hWnd)) w->owner = owner ? owner->GetSafeHwnd() : nullptr;
}

CWnd* CWnd::GetDlgItem(int id) const {
  Window* w = Lookup(m_hWnd);
  if (!w) return nullptr;
  for (HWND child : w->children) {
    if (Lookup(child)->id == UINT(id)) return FromHandle(child);
  }
  return nullptr;
}

int CWnd::GetDlgCtrlID() const {
  Window* w = Lookup(m_hWnd);
  return w ? int(w->id) : 0;
}

BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }

namespace {

BOOL Modify(HWND hwnd, DWORD Window::*field, DWORD remove, DWORD add) {
  Window* w = Lookup(hwnd);
  if (!w) return FALSE;
  const DWORD style = (w->*field & ~remove) | add;
  if (style == w->*field) return FALSE;
  const bool visibility = ((style ^ w->*field) & WS_VISIBLE) && field == &Window::style;
  w->*field = style;
  if (visibility && (style & WS_VISIBLE)) Invalidate(w, nullptr, true);
  // No frame is kept from before: the new one counts at once.
  RecalcFrame(w, true);
  return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) { return Modify(m_hWnd, &Window::style, remove, add); }
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
  return Modify(m_hWnd, &Window::exStyle, remove, add);
}

DWORD CWnd::GetStyle() const {
  Window* w = Lookup(m_hWnd);
  return w ? w->style : 0;
}

DWORD CWnd::GetExStyle() const {
  Window* w = Lookup(m_hWnd);
  return w ? w->exStyle : 0;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  if (rect) ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }

void CWnd::ClientToScreen(LPRECT rect) const {
  if (rect) ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::ScreenToClient(LPRECT rect) const {
  if (rect) ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const {
  ::MapWindowPoints(m_hWnd, to ? to->GetSafeHwnd() : nullptr, points, count);
}

void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const {
  if (rect) ::MapWindowPoints(m_hWnd, to ? to->GetSafeHwnd() : nullptr, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
BOOL CWnd::GetUpdateRect(LPRECT rect, BOOL erase) { return ::GetUpdateRect(m_hWnd, rect, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

CDC* CWnd::GetDC() {
  Window* w = Lookup(m_hWnd);
  HDC hdc = w ? ::GetDC(m_hWnd) : nullptr;
  if (!hdc) return nullptr;
  auto dc = std::make_unique<CDC>();
  dc->Attach(hdc);
  w->ownedDCs.push_back(std::move(dc));
  return w->ownedDCs.back().get();
}

int CWnd::ReleaseDC(CDC* dc) {
  if (!dc) return 0;
  if (Window* w = Lookup(m_hWnd)) {
    auto it = std::find_if(w->ownedDCs.begin(), w->ownedDCs.end(), [dc](const auto& owned) { return owned.get() == dc; });
    if (it != w->ownedDCs.end()) {
      HDC hdc = dc->Detach();
      w->ownedDCs.erase(it);
      return ::ReleaseDC(m_hWnd, hdc);
    }
  }
  return ::ReleaseDC(m_hWnd, dc->m_hDC);
}

CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, elapse, proc); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& msg = CurrentMessage();
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Lookup(m_hWnd);
  if (!w) return 0;
  const WNDPROC proc = w->cls ? w->cls->cls.lpfnWndProc : nullptr;
  return proc ? proc(m_hWnd, message, wParam, lParam) : ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT value = 0;
  BOOL handled = FALSE;
  if (message == WM_COMMAND) {
    if (OnCommand(wParam, lParam)) {
      value = 1;
      handled = TRUE;
    }
  } else if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), message, 0, 0);
             entry && entry->nSig == AfxSig_msg) {
    value = entry->pfn(this, wParam, lParam);
    handled = TRUE;
  }
  if (result) *result = value;
  return handled;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (id == 0) return FALSE;
  // Menus and accelerators (no control) send commands; a control's code is its notification.
  const int code = lParam ? int(HIWORD(wParam)) : CN_COMMAND;
  return OnCmdMsg(id, code, nullptr, nullptr);
}

void CWnd::PostNcDestroy() {}

int CWnd::OnCreate(LPCREATESTRUCT) { return int(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return BOOL(Default()); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
void CWnd::OnNcPaint() { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return BOOL(Default()); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return BOOL(Default()); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
