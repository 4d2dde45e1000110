#pragma once
// MFC's device context of a WM_PAINT handler.
#include "host/HostApi.h"
#include "host/gdi/CDC.h"
#include "host/wnd/WndTypes.h"

class CWnd;

// BeginPaint on construction (which erases the background first when the invalidation
// asked for it and validates the window), EndPaint on destruction.
class VISTAL_HOST_API CPaintDC : public CDC {
public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC() override;

  PAINTSTRUCT m_ps{};

protected:
  HWND m_hWnd = nullptr;
};
