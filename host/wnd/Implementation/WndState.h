#pragma once
// The window manager's own records: the windows behind the handles, the registered
// classes, capture, focus, cursor and the posted-message queue. GUI thread only, except the
// queue and the quit flag.
#include "host/gdi/IGdiDevice.h"
#include "host/render/MImageRGBA.h"
#include "host/wnd/IWndDesktop.h"
#include "host/wnd/WndTypes.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class CDC;
class CWnd;

namespace wnd_impl {

using Clock = std::chrono::steady_clock;

struct WndClassRecord {
  WNDCLASSW cls{};  // its strings point into the members below
  std::wstring name;
  std::wstring menuName;
  ATOM atom = 0;
};

struct Timer {
  UINT elapse = 0;
  TIMERPROC proc = nullptr;
  Clock::time_point due;
};

struct Window {
  HWND hwnd = nullptr;
  CWnd* wnd = nullptr;
  std::shared_ptr<const WndClassRecord> cls;
  std::wstring title;
  DWORD style = 0;
  DWORD exStyle = 0;
  UINT id = 0;
  HWND parent = nullptr;
  HWND owner = nullptr;
  std::vector<HWND> children;  // bottom to top
  // A child's rectangles are in its parent's client coordinates, a top-level window's in
  // screen coordinates (where it has no frame: both are the same).
  RECT window{};
  RECT client{};
  WndNativeId native = 0;  // top-level windows

  // Pixels of the client area, and the drawing device that the open contexts share. An
  // image replaced while the device is open stays alive, in `retired`, until it closes.
  std::unique_ptr<MImageRGBA> image = std::make_unique<MImageRGBA>();
  std::unique_ptr<MImageRGBA> retired;
  std::unique_ptr<IGdiDevice> device;
  std::vector<HDC> dcs;
  std::vector<std::unique_ptr<CDC>> ownedDCs;  // handed out by CWnd::GetDC

  bool invalid = false;  // the update region (its bounding rectangle) needs WM_PAINT
  RECT update{};
  bool erase = false;
  bool painting = false;  // between BeginPaint and EndPaint
  RECT paintRect{};
  bool ncPaint = true;       // the frame needs WM_NCPAINT
  bool frameDrawn = false;   // the default WM_NCPAINT ran: composition draws the frame
  bool changed = true;       // top-level windows: present again
  bool destroying = false;

  std::map<UINT_PTR, Timer> timers;
};

struct State {
  std::unordered_map<HWND, std::unique_ptr<Window>> windows;
  std::vector<HWND> topLevels;  // in creation order
  std::uintptr_t nextHandle = 0x10;
  HWND capture = nullptr;
  HWND focus = nullptr;
  UINT buttons = 0;  // MK_ bits of the mouse buttons held

  std::mutex postedMutex;
  std::deque<MSG> posted;
  std::atomic<bool> quit{false};
  std::atomic<int> quitCode{0};
};

State& GetState();
Window* Lookup(HWND hwnd);
// The top-level window of a window (itself when it is one).
Window* TopLevelOf(Window* w);
Window* TopLevelByNative(WndNativeId native);
// Where the window's client area starts on the screen.
POINT ClientOrigin(const Window* w);
// Visible itself and all its ancestors.
bool IsShown(const Window* w);
// Marks the top-level window of w for presenting again.
void MarkChanged(Window* w);

// Delivers a message through the window's CWnd (DefWindowProcW when it has none), with the
// message noted for CWnd::Default.
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
const MSG& CurrentMessage();

// The class of a window's class name for an instance, or null.
std::shared_ptr<const WndClassRecord> FindClass(HINSTANCE instance, LPCWSTR name);

// Creates the window for a CWnd; the CWnd's m_hWnd is set before the first message.
HWND CreateWindowFor(CWnd* wnd, CREATESTRUCTW& cs);
// Frame widths that the default WM_NCCALCSIZE takes off a child's window rectangle.
RECT FrameInsets(DWORD style, DWORD exStyle);
// Sends WM_NCCALCSIZE and takes the client rectangle; when the client size changed, resizes
// the image (invalidating by the class's redraw styles when `repaint`) and sends WM_SIZE.
void RecalcFrame(Window* w, bool repaint);
// Resizes the image to the client size, keeping what fits and invalidating the rest (all of
// it with CS_HREDRAW or CS_VREDRAW for a change of that side).
void ResizeImage(Window* w, bool repaint);
void Invalidate(Window* w, const RECT* rect, bool erase);
// Closes the window's contexts and drawing device (when it is destroyed).
void CloseDevice(Window* w);

// The loop's parts.
void PaintWindows();
void PresentWindows();
bool ComposeWindow(Window* w, MImageRGBA& pixels);
void FireTimers(Clock::time_point now);
// Milliseconds until the next timer is due; -1 when there is none.
int MillisecondsToNextTimer(Clock::time_point now);

// RECT arithmetic.
inline bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
RECT Intersect(const RECT& a, const RECT& b);
RECT Union(const RECT& a, const RECT& b);
inline RECT Offset(RECT r, LONG dx, LONG dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }
inline LONG Width(const RECT& r) { return r.right - r.left; }
inline LONG Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace wnd_impl
