#pragma once
// The USER32 window functions and MFC's global functions of the host's window manager, with
// Win32 semantics. A handle that names no window makes a function answer its failure value
// (0, NULL or FALSE) and do nothing. Everything runs on the GUI thread, except PostMessageW
// and PostQuitMessage, which any thread may call.
#include "host/HostApi.h"
#include "host/wnd/WndTypes.h"

// Window classes, registered by name (case-insensitive) for a module instance.
VISTAL_HOST_API ATOM RegisterClassW(const WNDCLASSW* wndClass);
VISTAL_HOST_API BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
VISTAL_HOST_API BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wndClass);
// Registers the class unless one of its name is registered for its instance already;
// FALSE without a class name.
VISTAL_HOST_API BOOL AfxRegisterClass(WNDCLASSW* wndClass);
// The name of a class of the program's instance with these settings and DefWindowProcW,
// registered on first use. The name stays valid for the life of the process.
VISTAL_HOST_API LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                            HICON icon = nullptr);

// The program's module, which also holds the resources the program registers
// (host/wnd/WndResources.h).
VISTAL_HOST_API HINSTANCE AfxGetInstanceHandle();
VISTAL_HOST_API HINSTANCE AfxGetResourceHandle();
// The module that holds the resource; the program's resource module when none does.
VISTAL_HOST_API HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type);

// The default window procedure: WM_ERASEBKGND fills with the class background brush,
// WM_PAINT validates, WM_NCCALCSIZE takes the frame off (WS_BORDER 1 pixel and
// WS_EX_CLIENTEDGE 2 pixels a side), WM_CLOSE destroys the window, WM_SETCURSOR asks the
// parent and then shows the class cursor in the client area; other messages answer 0.
VISTAL_HOST_API LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
VISTAL_HOST_API LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
VISTAL_HOST_API BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Ends the message loop with the exit code once the queued messages are done.
VISTAL_HOST_API void PostQuitMessage(int exitCode);

VISTAL_HOST_API BOOL IsWindow(HWND hwnd);
VISTAL_HOST_API BOOL DestroyWindow(HWND hwnd);
VISTAL_HOST_API HWND GetParent(HWND hwnd);
VISTAL_HOST_API BOOL IsWindowEnabled(HWND hwnd);
VISTAL_HOST_API BOOL EnableWindow(HWND hwnd, BOOL enable);
VISTAL_HOST_API BOOL IsWindowVisible(HWND hwnd);
VISTAL_HOST_API BOOL ShowWindow(HWND hwnd, int cmdShow);
VISTAL_HOST_API BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
VISTAL_HOST_API BOOL GetClientRect(HWND hwnd, LPRECT rect);
VISTAL_HOST_API BOOL GetWindowRect(HWND hwnd, LPRECT rect);
VISTAL_HOST_API BOOL ClientToScreen(HWND hwnd, LPPOINT point);
VISTAL_HOST_API BOOL ScreenToClient(HWND hwnd, LPPOINT point);
// From one window's client coordinates to another's (a null handle is the screen); answers
// the horizontal offset in the low word and the vertical in the high word.
VISTAL_HOST_API int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);

VISTAL_HOST_API BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
VISTAL_HOST_API BOOL ValidateRect(HWND hwnd, const RECT* rect);
VISTAL_HOST_API BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
VISTAL_HOST_API BOOL UpdateWindow(HWND hwnd);
// Device contexts on a window's client area. While a window has contexts out, they share
// one drawing device on its image, made by the desktop; the last release gives it back.
VISTAL_HOST_API HDC GetDC(HWND hwnd);
VISTAL_HOST_API int ReleaseDC(HWND hwnd, HDC hdc);
VISTAL_HOST_API HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
VISTAL_HOST_API BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);

VISTAL_HOST_API HWND SetCapture(HWND hwnd);
VISTAL_HOST_API HWND GetCapture();
VISTAL_HOST_API BOOL ReleaseCapture();
VISTAL_HOST_API HWND SetFocus(HWND hwnd);
VISTAL_HOST_API HWND GetFocus();

VISTAL_HOST_API UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
VISTAL_HOST_API BOOL KillTimer(HWND hwnd, UINT_PTR id);

// Cursors: a system cursor (IDC_...) with a null instance, else a cursor resource of the
// instance. The handle stays valid for the life of the process.
VISTAL_HOST_API HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
// Shows the cursor through the desktop (a null cursor hides it); answers the one before.
VISTAL_HOST_API HCURSOR SetCursor(HCURSOR cursor);
VISTAL_HOST_API HCURSOR GetCursor();
// A new 32-bit bitmap of a bitmap resource (bytes blue, green, red, alpha per pixel, as
// a Windows 32-bit bitmap); null when the instance holds no such bitmap. The caller
// deletes it.
VISTAL_HOST_API HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
