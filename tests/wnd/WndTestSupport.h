#pragma once
// Windows for the window tests: a registered class, and a window that logs every message
// that reaches it before handling it as a plain CWnd.
#include "host/wnd/CWnd.h"
#include "host/wnd/WndFunctions.h"

#include <algorithm>
#include <vector>

// "WndTest": button-face background, arrow cursor, redrawn whole on resizing.
inline LPCWSTR TestClass() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_BTNFACE + 1));
    wc.lpszClassName = L"WndTest";
    return AfxRegisterClass(&wc) != FALSE;
  }();
  return registered ? L"WndTest" : nullptr;
}

class CLogWnd : public CWnd {
public:
  MSG Last(UINT message) const {
    auto it = std::find_if(m_log.rbegin(), m_log.rend(), [&](const MSG& m) { return m.message == message; });
    return it == m_log.rend() ? MSG{} : *it;
  }
  int Count(UINT message) const {
    return int(std::count_if(m_log.begin(), m_log.end(), [&](const MSG& m) { return m.message == message; }));
  }
  // The messages of the given kinds, in order.
  std::vector<UINT> Messages(std::initializer_list<UINT> kinds) const {
    std::vector<UINT> out;
    for (const MSG& m : m_log)
      if (std::find(kinds.begin(), kinds.end(), m.message) != kinds.end()) out.push_back(m.message);
    return out;
  }
  void Clear() { m_log.clear(); }

  BOOL CreateChild(CWnd* parent, const RECT& rect, DWORD exStyle = 0, DWORD style = WS_VISIBLE, UINT id = 1) {
    return CreateEx(exStyle, TestClass(), L"", style | WS_CHILD, rect, parent, id);
  }
  BOOL CreateTop(int width, int height) {
    return CreateEx(0, TestClass(), L"test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0);
  }

  std::vector<MSG> m_log;
  // When set, also a log shared with other windows, for the order between them.
  std::vector<std::pair<const CLogWnd*, UINT>>* m_shared = nullptr;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    m_log.push_back(MSG{m_hWnd, message, wParam, lParam, 0, {0, 0}});
    if (m_shared) m_shared->push_back({this, message});
    return CWnd::WindowProc(message, wParam, lParam);
  }
};
