#pragma once
// The message loop of the host's windows: desktop input, posted messages, timers, painting
// and the presentation of top-level windows, all on the GUI thread.
#include "host/HostApi.h"
#include "host/render/MImageRGBA.h"
#include "host/wnd/IWndDesktop.h"

class CWnd;

// Runs rounds until PostQuitMessage (answering its exit code) or until no top-level window
// is left (answering 0; at once when there is none).
VISTAL_HOST_API int AfxRunMessageLoop();
// One round: the desktop's input events (waiting up to timeoutMs for the first when there
// is nothing else to do, but not past the next timer), the posted messages, the due timers
// (WM_TIMER with their id), WM_PAINT to each invalid window, and Present of every
// top-level window whose pixels changed. False once PostQuitMessage was called (the quit
// is taken, so a later round runs normally).
VISTAL_HOST_API bool AfxPumpMessages(int timeoutMs);
// What the loop does with one input event: mouse events go to the window under the point
// (the deepest visible, enabled child; a disabled child passes them to its parent) or to
// the window with the capture, in its client coordinates, with WM_SETCURSOR before moves
// and presses of windows without the capture; key events to the focus window; a resize
// resizes the top-level window (WM_SIZE); close sends WM_CLOSE; quit posts a quit.
VISTAL_HOST_API void AfxDispatchDesktopEvent(const WndDesktopEvent& event);
// The composed client pixels of a window with its visible children, as the loop presents
// them (a top-level window) or as they are placed in it (a child). False when the window
// has none.
VISTAL_HOST_API bool AfxGetWindowPixels(CWnd* wnd, MImageRGBA& pixels);
// The desktop's window that shows a top-level window; 0 for a child or no window.
VISTAL_HOST_API WndNativeId AfxGetNativeWindow(CWnd* wnd);
