#pragma once
// MFC's device context on a window's client area.
#include "host/HostApi.h"
#include "host/gdi/CDC.h"
#include "host/wnd/WndTypes.h"

class CWnd;

// GetDC on construction, ReleaseDC on destruction. Holds no context (drawing does nothing)
// when the window has none.
class VISTAL_HOST_API CClientDC : public CDC {
public:
  explicit CClientDC(CWnd* wnd);
  ~CClientDC() override;

protected:
  HWND m_hWnd = nullptr;
};
