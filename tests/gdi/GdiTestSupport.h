#pragma once
// Shared by the GDI tests: readable failure messages for the Win32 geometry types, and a
// recording device with a 10-pixel font selected (5 pixels a character, ascent 8).
#include "host/gdi/CDeviceDC.h"
#include "host/win/CRect.h"
#include "testing/RecordingDC.h"

#include <ostream>

inline std::ostream& operator<<(std::ostream& os, const CRect& r) {
  return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

inline std::ostream& operator<<(std::ostream& os, const CPoint& p) { return os << "(" << p.x << "," << p.y << ")"; }

struct TenPixelFontDC {
  RecordingDC device;
  CDeviceDC dc{device};
  CFont font;
  TenPixelFontDC() {
    LOGFONTW description{};
    description.lfHeight = 10;
    font.CreateFontIndirect(&description);
    dc.SelectObject(&font);
  }
  ~TenPixelFontDC() { dc.SelectStockObject(SYSTEM_FONT); }
};
