#pragma once
// The window manager's way into CWnd's protected procedure and clean-up.
#include "host/wnd/CWnd.h"

namespace wnd_impl {

struct Access {
  static LRESULT WindowProc(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return wnd->WindowProc(message, wParam, lParam);
  }
  static void PostNcDestroy(CWnd* wnd) { wnd->PostNcDestroy(); }
};

}  // namespace wnd_impl
