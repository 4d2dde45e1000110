#include "host/wnd/Implementation/WndState.h"

#include "host/wnd/Implementation/WndAccess.h"
#include "host/wnd/WndFunctions.h"

#include <algorithm>

namespace wnd_impl {

State& GetState() {
  // Never destroyed: window objects of static lifetime may end after it and still ask.
  static State& state = *new State;
  return state;
}

Window* Lookup(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto& windows = GetState().windows;
  auto it = windows.find(hwnd);
  return it == windows.end() ? nullptr : it->second.get();
}

Window* TopLevelOf(Window* w) {
  while (w && w->parent) w = Lookup(w->parent);
  return w;
}

Window* TopLevelByNative(WndNativeId native) {
  if (!native) return nullptr;
  for (HWND h : GetState().topLevels) {
    Window* w = Lookup(h);
    if (w && w->native == native) return w;
  }
  return nullptr;
}

POINT ClientOrigin(const Window* w) {
  POINT origin{0, 0};
  for (; w; w = Lookup(w->parent)) {
    origin.x += w->client.left;
    origin.y += w->client.top;
  }
  return origin;
}

bool IsShown(const Window* w) {
  for (; w; w = Lookup(w->parent)) {
    if (!(w->style & WS_VISIBLE)) return false;
  }
  return true;
}

void MarkChanged(Window* w) {
  if (Window* top = TopLevelOf(w)) top->changed = true;
}

namespace {
thread_local MSG t_current{};
}

const MSG& CurrentMessage() { return t_current; }

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Lookup(hwnd);
  if (!w) return 0;
  const MSG saved = t_current;
  t_current = MSG{hwnd, message, wParam, lParam, 0, {0, 0}};
  const LRESULT result = w->wnd ? Access::WindowProc(w->wnd, message, wParam, lParam)
                                : DefWindowProcW(hwnd, message, wParam, lParam);
  t_current = saved;
  return result;
}

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return IsEmpty(r) ? RECT{0, 0, 0, 0} : r;
}

RECT Union(const RECT& a, const RECT& b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace wnd_impl
