// Windows: creation and destruction, the default procedure, placement, styles, capture,
// focus, timers and messages.
#include "host/gdi/WinUser.h"
#include "host/wnd/Implementation/WndAccess.h"
#include "host/wnd/Implementation/WndState.h"
#include "host/wnd/WndFunctions.h"

#include <algorithm>

using namespace wnd_impl;

namespace {

void Unlink(Window* w) {
  State& s = GetState();
  if (Window* parent = Lookup(w->parent)) {
    auto& c = parent->children;
    c.erase(std::remove(c.begin(), c.end(), w->hwnd), c.end());
    MarkChanged(parent);
  } else {
    auto& t = s.topLevels;
    t.erase(std::remove(t.begin(), t.end(), w->hwnd), t.end());
  }
}

bool Destroy(HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w || w->destroying) return false;
  w->destroying = true;
  State& s = GetState();
  if (s.capture == hwnd) ReleaseCapture();
  Send(hwnd, WM_DESTROY, 0, 0);
  // Children go after their parent's WM_DESTROY and before its WM_NCDESTROY.
  for (;;) {
    w = Lookup(hwnd);
    if (!w) return true;
    auto it = std::find_if(w->children.begin(), w->children.end(), [](HWND c) { return !Lookup(c)->destroying; });
    if (it == w->children.end()) break;
    Destroy(*it);
  }
  if (s.capture == hwnd) ReleaseCapture();
  if (s.focus == hwnd) s.focus = nullptr;
  w->timers.clear();
  CloseDevice(w);
  Send(hwnd, WM_NCDESTROY, 0, 0);
  w = Lookup(hwnd);
  if (!w) return true;
  Unlink(w);
  if (w->native) {
    if (IWndDesktop* desktop = GetWndDesktop()) desktop->DestroyNativeWindow(w->native);
  }
  CWnd* wnd = w->wnd;
  s.windows.erase(hwnd);  // w is gone
  if (wnd) {
    wnd->m_hWnd = nullptr;
    Access::PostNcDestroy(wnd);
  }
  return true;
}

LRESULT DefSetCursor(Window* w, WPARAM wParam, LPARAM lParam) {
  // The parent has the first say.
  if ((w->style & WS_CHILD) && w->parent && Send(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
  if (short(LOWORD(std::uintptr_t(lParam))) != HTCLIENT) return FALSE;
  Window* under = Lookup(reinterpret_cast<HWND>(wParam));
  if (!under || !under->cls || !under->cls->cls.hCursor) return FALSE;
  SetCursor(under->cls->cls.hCursor);
  return TRUE;
}

}  // namespace

namespace wnd_impl {

RECT FrameInsets(DWORD style, DWORD exStyle) {
  LONG inset = 0;
  if (style & WS_BORDER) inset += 1;
  if (exStyle & WS_EX_STATICEDGE) inset += 1;
  if (exStyle & WS_EX_CLIENTEDGE) inset += 2;
  return {inset, inset, inset, inset};
}

void RecalcFrame(Window* w, bool repaint) {
  const HWND hwnd = w->hwnd;
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = w->window;
  Send(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&params));
  w = Lookup(hwnd);
  if (!w) return;
  RECT client = params.rgrc[0];
  client.right = std::max(client.right, client.left);
  client.bottom = std::max(client.bottom, client.top);
  const bool moved = client.left != w->client.left || client.top != w->client.top;
  const bool resized = Width(client) != Width(w->client) || Height(client) != Height(w->client);
  w->client = client;
  w->ncPaint = true;
  MarkChanged(w);
  if (resized) ResizeImage(w, repaint);
  if (moved) Send(hwnd, WM_MOVE, 0, MAKELPARAM(WORD(client.left), WORD(client.top)));
  if (resized && Lookup(hwnd))
    Send(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(WORD(Width(client)), WORD(Height(client))));
}

HWND CreateWindowFor(CWnd* wnd, CREATESTRUCTW& cs) {
  State& s = GetState();
  // A window that never came to be still ends with PostNcDestroy, as MFC's do.
  auto fail = [wnd]() -> HWND {
    Access::PostNcDestroy(wnd);
    return nullptr;
  };
  auto cls = FindClass(cs.hInstance, cs.lpszClass);
  if (!cls) return fail();
  const DWORD style = DWORD(cs.style);
  Window* parent = nullptr;
  WndNativeId native = 0;
  const int width = std::max(cs.cx, 0);
  const int height = std::max(cs.cy, 0);
  if (style & WS_CHILD) {
    parent = Lookup(cs.hwndParent);
    if (!parent || parent->destroying) return fail();
  } else {
    IWndDesktop* desktop = GetWndDesktop();
    if (!desktop) return fail();
    native = desktop->CreateNativeWindow(cs.lpszName ? cs.lpszName : L"", width, height);
    if (!native) return fail();
  }

  auto record = std::make_unique<Window>();
  Window* w = record.get();
  w->hwnd = reinterpret_cast<HWND>(s.nextHandle);
  s.nextHandle += 0x10;  // handles are never used again
  w->wnd = wnd;
  w->cls = cls;
  w->title = cs.lpszName ? cs.lpszName : L"";
  w->style = style;
  w->exStyle = cs.dwExStyle;
  w->window = {cs.x, cs.y, cs.x + width, cs.y + height};
  w->client = {cs.x, cs.y, cs.x, cs.y};
  w->native = native;
  if (parent) {
    w->parent = parent->hwnd;
    w->id = UINT(reinterpret_cast<std::uintptr_t>(cs.hMenu));
    parent->children.push_back(w->hwnd);
  } else {
    w->owner = cs.hwndParent;
    s.topLevels.push_back(w->hwnd);
  }
  const HWND hwnd = w->hwnd;
  s.windows[hwnd] = std::move(record);
  wnd->m_hWnd = hwnd;

  if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    Destroy(hwnd);
    return nullptr;
  }
  if (!(w = Lookup(hwnd))) return nullptr;
  // The first frame: the client size comes from nothing, so WM_SIZE waits for WM_CREATE.
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = w->window;
  Send(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&params));
  if (!(w = Lookup(hwnd))) return nullptr;
  w->client = params.rgrc[0];
  w->client.right = std::max(w->client.right, w->client.left);
  w->client.bottom = std::max(w->client.bottom, w->client.top);
  ResizeImage(w, true);
  Invalidate(w, nullptr, true);
  if (Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    Destroy(hwnd);
    return nullptr;
  }
  if (!(w = Lookup(hwnd))) return nullptr;
  Send(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(WORD(Width(w->client)), WORD(Height(w->client))));
  if ((w = Lookup(hwnd))) Send(hwnd, WM_MOVE, 0, MAKELPARAM(WORD(w->client.left), WORD(w->client.top)));
  if ((w = Lookup(hwnd))) MarkChanged(w);
  return Lookup(hwnd) ? hwnd : nullptr;
}

}  // namespace wnd_impl

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Lookup(hwnd);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE: return TRUE;
    case WM_NCCALCSIZE: {
      // Top-level windows get their frame from the desktop.
      auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
      if (!params || !(w->style & WS_CHILD)) return 0;
      const RECT in = FrameInsets(w->style, w->exStyle);
      RECT& r = params->rgrc[0];
      r = {r.left + in.left, r.top + in.top, r.right - in.right, r.bottom - in.bottom};
      return 0;
    }
    case WM_NCPAINT:
      w->frameDrawn = true;
      MarkChanged(w);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      const HBRUSH brush = w->cls ? w->cls->cls.hbrBackground : nullptr;
      if (!brush) return 0;
      const RECT area = w->painting ? w->paintRect : RECT{0, 0, Width(w->client), Height(w->client)};
      FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
      return 1;
    }
    case WM_SETCURSOR: return DefSetCursor(w, wParam, lParam);
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_CANCELMODE:
      if (GetState().capture == hwnd) ReleaseCapture();
      return 0;
    case WM_TIMER:
      // A timer with a procedure that reached the window procedure anyway.
      if (lParam) reinterpret_cast<TIMERPROC>(lParam)(hwnd, WM_TIMER, UINT_PTR(wParam), 0);
      return 0;
    default: return 0;
  }
}

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Send(hwnd, message, wParam, lParam);
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUIT) {
    PostQuitMessage(int(wParam));
    return TRUE;
  }
  if (!hwnd) return FALSE;
  State& s = GetState();
  std::lock_guard lock(s.postedMutex);
  s.posted.push_back(MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  State& s = GetState();
  s.quitCode = exitCode;
  s.quit = true;
}

BOOL IsWindow(HWND hwnd) { return Lookup(hwnd) ? TRUE : FALSE; }

BOOL DestroyWindow(HWND hwnd) { return Destroy(hwnd) ? TRUE : FALSE; }

HWND GetParent(HWND hwnd) {
  Window* w = Lookup(hwnd);
  return w ? (w->parent ? w->parent : w->owner) : nullptr;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = Lookup(hwnd);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = Lookup(hwnd);
  if (!w) return FALSE;
  const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (bool(enable) == !wasDisabled) return wasDisabled;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    Send(hwnd, WM_CANCELMODE, 0, 0);
    State& s = GetState();
    if (s.focus == hwnd) s.focus = nullptr;
  }
  Send(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = Lookup(hwnd);
  return w && IsShown(w) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
  Window* w = Lookup(hwnd);
  if (!w) return FALSE;
  const bool wasVisible = (w->style & WS_VISIBLE) != 0;
  const bool show = cmdShow != SW_HIDE;
  if (show == wasVisible) return wasVisible ? TRUE : FALSE;
  Send(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  if (!(w = Lookup(hwnd))) return wasVisible ? TRUE : FALSE;
  if (show) {
    w->style |= WS_VISIBLE;
    w->ncPaint = true;
    Invalidate(w, nullptr, true);
  } else {
    w->style &= ~WS_VISIBLE;
  }
  MarkChanged(w);
  return wasVisible ? TRUE : FALSE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  Window* w = Lookup(hwnd);
  if (!w) return FALSE;
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (w->native && (width != Width(w->window) || height != Height(w->window))) {
    if (IWndDesktop* desktop = GetWndDesktop()) desktop->ResizeNativeWindow(w->native, width, height);
  }
  w->window = {x, y, x + width, y + height};
  RecalcFrame(w, repaint != FALSE);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = Lookup(hwnd);
  if (!w || !rect) return FALSE;
  *rect = {0, 0, Width(w->client), Height(w->client)};
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = Lookup(hwnd);
  if (!w || !rect) return FALSE;
  const Window* parent = Lookup(w->parent);
  const POINT origin = parent ? ClientOrigin(parent) : POINT{0, 0};
  *rect = Offset(w->window, origin.x, origin.y);
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  Window* w = Lookup(hwnd);
  if (!w || !point) return FALSE;
  const POINT origin = ClientOrigin(w);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  Window* w = Lookup(hwnd);
  if (!w || !point) return FALSE;
  const POINT origin = ClientOrigin(w);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  Window* a = Lookup(from);
  Window* b = Lookup(to);
  if ((from && !a) || (to && !b)) return 0;
  const POINT pa = a ? ClientOrigin(a) : POINT{0, 0};
  const POINT pb = b ? ClientOrigin(b) : POINT{0, 0};
  const LONG dx = pa.x - pb.x;
  const LONG dy = pa.y - pb.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return int(MAKELONG(WORD(dx), WORD(dy)));
}

HWND SetCapture(HWND hwnd) {
  State& s = GetState();
  Window* w = Lookup(hwnd);
  const HWND previous = Lookup(s.capture) ? s.capture : nullptr;
  if (!w || previous == hwnd) return previous;
  IWndDesktop* desktop = GetWndDesktop();
  Window* oldTop = TopLevelOf(Lookup(previous));
  Window* newTop = TopLevelOf(w);
  if (desktop && oldTop && oldTop != newTop) desktop->CaptureMouse(oldTop->native, false);
  s.capture = hwnd;
  if (desktop && newTop) desktop->CaptureMouse(newTop->native, true);
  if (previous) Send(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return previous;
}

HWND GetCapture() {
  State& s = GetState();
  return Lookup(s.capture) ? s.capture : nullptr;
}

BOOL ReleaseCapture() {
  State& s = GetState();
  const HWND previous = s.capture;
  s.capture = nullptr;
  Window* w = Lookup(previous);
  if (!w) return TRUE;
  if (IWndDesktop* desktop = GetWndDesktop()) {
    if (Window* top = TopLevelOf(w)) desktop->CaptureMouse(top->native, false);
  }
  Send(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND SetFocus(HWND hwnd) {
  State& s = GetState();
  const HWND previous = Lookup(s.focus) ? s.focus : nullptr;
  Window* w = Lookup(hwnd);
  if (hwnd && (!w || (w->style & WS_DISABLED))) return nullptr;
  if (previous == hwnd) return previous;
  s.focus = hwnd;
  if (previous) Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd) Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return previous;
}

HWND GetFocus() {
  State& s = GetState();
  return Lookup(s.focus) ? s.focus : nullptr;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  Window* w = Lookup(hwnd);
  if (!w) return 0;
  elapse = std::clamp(elapse, USER_TIMER_MINIMUM, 0x7FFFFFFFu);
  w->timers[id] = Timer{elapse, proc, Clock::now() + std::chrono::milliseconds(elapse)};
  return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  Window* w = Lookup(hwnd);
  return w && w->timers.erase(id) ? TRUE : FALSE;
}

namespace wnd_impl {

void FireTimers(Clock::time_point now) {
  // Due timers in the order they fell due; each fires once a round however late it is.
  std::vector<std::pair<Clock::time_point, std::pair<HWND, UINT_PTR>>> due;
  for (const auto& [hwnd, w] : GetState().windows) {
    for (const auto& [id, timer] : w->timers) {
      if (timer.due <= now) due.push_back({timer.due, {hwnd, id}});
    }
  }
  std::sort(due.begin(), due.end());
  for (const auto& [when, key] : due) {
    Window* w = Lookup(key.first);
    if (!w) continue;
    auto it = w->timers.find(key.second);
    if (it == w->timers.end() || it->second.due > now) continue;  // killed or set again meanwhile
    it->second.due = now + std::chrono::milliseconds(it->second.elapse);
    if (TIMERPROC proc = it->second.proc) proc(key.first, WM_TIMER, key.second, 0);
    else Send(key.first, WM_TIMER, key.second, 0);
  }
}

int MillisecondsToNextTimer(Clock::time_point now) {
  int best = -1;
  for (const auto& [hwnd, w] : GetState().windows) {
    for (const auto& [id, timer] : w->timers) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(timer.due - now).count();
      const int ms = int(std::clamp<long long>(left, 0, 0x7FFFFFFF));
      if (best < 0 || ms < best) best = ms;
    }
  }
  return best;
}

}  // namespace wnd_impl
