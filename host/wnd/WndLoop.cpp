// The message loop: desktop input, posted messages, timers, painting and presentation.
#include "host/wnd/WndLoop.h"

#include "host/gdi/CDC.h"
#include "host/gdi/CGdiObject.h"
#include "host/wnd/CWnd.h"
#include "host/wnd/Implementation/WndState.h"
#include "host/wnd/WndFunctions.h"

#include <thread>

using namespace wnd_impl;

namespace {

// How long the loop that runs by itself waits for input when no timer is due sooner, so
// that messages posted by other threads are seen.
constexpr int kIdleWaitMs = 50;
// Input events taken in one round before the round goes on to paint.
constexpr int kEventsPerRound = 256;

// The deepest visible child under the point (client coordinates of w); a disabled child
// leaves the input to the window that holds it. Null on a child's frame.
Window* WindowAt(Window* w, POINT& point) {
  for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
    Window* child = Lookup(*it);
    if (!child || !(child->style & WS_VISIBLE) || !PtInRect(&child->window, point)) continue;
    if (child->style & WS_DISABLED) return w;
    if (!PtInRect(&child->client, point)) return nullptr;
    point.x -= child->client.left;
    point.y -= child->client.top;
    return WindowAt(child, point);
  }
  return w;
}

UINT ButtonBit(int button) {
  switch (button) {
    case 1: return MK_LBUTTON;
    case 2: return MK_MBUTTON;
    case 3: return MK_RBUTTON;
    default: return 0;
  }
}

UINT ButtonMessage(int button, bool down) {
  switch (button) {
    case 1: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case 2: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    case 3: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    default: return 0;
  }
}

void DispatchMouse(const WndDesktopEvent& event) {
  State& s = GetState();
  UINT message = WM_MOUSEMOVE;
  if (event.type == WndDesktopEvent::eButtonDown || event.type == WndDesktopEvent::eButtonUp) {
    const bool down = event.type == WndDesktopEvent::eButtonDown;
    message = ButtonMessage(event.button, down);
    if (!message) return;
    if (down) s.buttons |= ButtonBit(event.button);
    else s.buttons &= ~ButtonBit(event.button);
  } else if (event.type == WndDesktopEvent::eWheel) {
    message = WM_MOUSEWHEEL;
  }
  const UINT flags = s.buttons | (event.control ? MK_CONTROL : 0) | (event.shift ? MK_SHIFT : 0);

  Window* top = TopLevelByNative(event.window);
  POINT screen{event.x, event.y};
  if (top) screen = {top->client.left + event.x, top->client.top + event.y};
  Window* target = nullptr;
  POINT point{};
  if (Window* capture = Lookup(s.capture)) {
    target = capture;
    const POINT origin = ClientOrigin(capture);
    point = {screen.x - origin.x, screen.y - origin.y};
  } else {
    if (!top || (top->style & WS_DISABLED)) return;
    point = {event.x, event.y};
    target = WindowAt(top, point);
    if (!target) return;
    const HWND hwnd = target->hwnd;
    Send(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(WORD(HTCLIENT), WORD(message)));
    if (!(target = Lookup(hwnd))) return;
  }
  if (message == WM_MOUSEWHEEL) {
    const WORD delta = WORD(short(event.wheel * WHEEL_DELTA));
    Send(target->hwnd, message, MAKEWPARAM(WORD(flags), delta), MAKELPARAM(WORD(screen.x), WORD(screen.y)));
  } else {
    Send(target->hwnd, message, flags, MAKELPARAM(WORD(point.x), WORD(point.y)));
  }
}

void DispatchKey(const WndDesktopEvent& event) {
  Window* top = TopLevelByNative(event.window);
  Window* target = Lookup(GetState().focus);
  if (!target || TopLevelOf(target) != top) target = top;
  if (!target || (target->style & WS_DISABLED)) return;
  const bool down = event.type == WndDesktopEvent::eKeyDown;
  // Repeat count 1; a release also has the previous-state and transition bits.
  const LPARAM lParam = down ? 1 : LPARAM(0xC0000001u);
  Send(target->hwnd, down ? WM_KEYDOWN : WM_KEYUP, WPARAM(event.key), lParam);
}

void DispatchResize(const WndDesktopEvent& event) {
  Window* top = TopLevelByNative(event.window);
  if (!top) return;
  const LONG width = std::max(event.x, 0);
  const LONG height = std::max(event.y, 0);
  top->window = {top->window.left, top->window.top, top->window.left + width, top->window.top + height};
  RecalcFrame(top, true);
}

// Posted messages that were queued when the round started.
void DispatchPosted() {
  State& s = GetState();
  std::size_t count;
  {
    std::lock_guard lock(s.postedMutex);
    count = s.posted.size();
  }
  for (; count > 0; --count) {
    MSG msg;
    {
      std::lock_guard lock(s.postedMutex);
      if (s.posted.empty()) return;
      msg = s.posted.front();
      s.posted.pop_front();
    }
    if (IsWindow(msg.hwnd)) Send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
  }
}

bool HasWork() {
  State& s = GetState();
  {
    std::lock_guard lock(s.postedMutex);
    if (!s.posted.empty()) return true;
  }
  for (const auto& [hwnd, w] : s.windows) {
    if ((w->invalid || w->ncPaint || (w->changed && w->native)) && IsShown(w.get())) return true;
  }
  return false;
}

bool TakeQuit() { return GetState().quit.exchange(false); }

}  // namespace

void AfxDispatchDesktopEvent(const WndDesktopEvent& event) {
  switch (event.type) {
    case WndDesktopEvent::eMouseMove:
    case WndDesktopEvent::eButtonDown:
    case WndDesktopEvent::eButtonUp:
    case WndDesktopEvent::eWheel: DispatchMouse(event); break;
    case WndDesktopEvent::eKeyDown:
    case WndDesktopEvent::eKeyUp: DispatchKey(event); break;
    case WndDesktopEvent::eResize: DispatchResize(event); break;
    case WndDesktopEvent::eExpose:
      if (Window* top = TopLevelByNative(event.window)) top->changed = true;
      break;
    case WndDesktopEvent::eClose:
      if (Window* top = TopLevelByNative(event.window)) Send(top->hwnd, WM_CLOSE, 0, 0);
      break;
    case WndDesktopEvent::eQuit: PostQuitMessage(0); break;
    case WndDesktopEvent::eNone: break;
  }
}

bool AfxPumpMessages(int timeoutMs) {
  if (TakeQuit()) return false;
  auto now = Clock::now();
  int wait = HasWork() ? 0 : std::max(timeoutMs, 0);
  const int toTimer = MillisecondsToNextTimer(now);
  if (toTimer >= 0 && toTimer < wait) wait = toTimer;

  if (IWndDesktop* desktop = GetWndDesktop()) {
    WndDesktopEvent event;
    for (int n = 0; n < kEventsPerRound && desktop->NextEvent(event, n == 0 ? wait : 0); ++n) {
      AfxDispatchDesktopEvent(event);
      if (GetWndDesktop() != desktop) break;
    }
  } else if (wait > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(wait));
  }
  DispatchPosted();
  FireTimers(Clock::now());
  PaintWindows();
  PresentWindows();
  // Temporary wrappers live until the loop is idle, as MFC's do.
  CDC::DeleteTempMap();
  CGdiObject::DeleteTempMap();
  return !TakeQuit();
}

int AfxRunMessageLoop() {
  State& s = GetState();
  for (;;) {
    if (TakeQuit()) return s.quitCode;
    if (s.topLevels.empty()) return 0;
    if (!AfxPumpMessages(kIdleWaitMs)) return s.quitCode;
  }
}

bool AfxGetWindowPixels(CWnd* wnd, MImageRGBA& pixels) {
  return wnd && ComposeWindow(Lookup(wnd->GetSafeHwnd()), pixels);
}

WndNativeId AfxGetNativeWindow(CWnd* wnd) {
  Window* w = wnd ? Lookup(wnd->GetSafeHwnd()) : nullptr;
  return w ? w->native : 0;
}
