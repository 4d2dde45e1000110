// USER32 drawing helpers and the system colours and metrics.
#include "host/gdi/WinUser.h"

#include "host/gdi/IGdiDevice.h"
#include "host/gdi/Implementation/GdiHandles.h"
#include "host/gdi/WinGdi.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace {

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

std::atomic<int> g_screen_width{1920};
std::atomic<int> g_screen_height{1080};

}  // namespace

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc || !rect) return 0;
  if (!IsEmpty(*rect)) dc->device->DrawFocusRect(*rect);
  return 1;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc || !rect) return 0;
  // Small values stand for the system colour of index value - 1.
  const auto value = reinterpret_cast<std::uintptr_t>(brush);
  if (value >= 1 && value <= std::uintptr_t(COLOR_MENUBAR) + 1) brush = GetSysColorBrush(int(value) - 1);
  const gdi_impl::GdiObject* object = gdi_impl::LookupObject(brush);
  if (!object || object->type != OBJ_BRUSH) return 0;
  if (!IsEmpty(*rect)) {
    GdiDrawState state = dc->current.draw;
    state.brush = object->brush;
    dc->device->PatBlt(state, *rect, PATCOPY);
  }
  return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc || !rect) return 0;
  if (!IsEmpty(*rect)) dc->device->PatBlt(dc->current.draw, *rect, DSTINVERT);
  return 1;
}

COLORREF GetSysColor(int index) {
  // The "Windows Classic" scheme.
  static constexpr std::array<COLORREF, COLOR_MENUBAR + 1> kColours = {
      RGB(212, 208, 200),  // COLOR_SCROLLBAR
      RGB(58, 110, 165),   // COLOR_BACKGROUND
      RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
      RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
      RGB(212, 208, 200),  // COLOR_MENU
      RGB(255, 255, 255),  // COLOR_WINDOW
      RGB(0, 0, 0),        // COLOR_WINDOWFRAME
      RGB(0, 0, 0),        // COLOR_MENUTEXT
      RGB(0, 0, 0),        // COLOR_WINDOWTEXT
      RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
      RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
      RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
      RGB(128, 128, 128),  // COLOR_APPWORKSPACE
      RGB(10, 36, 106),    // COLOR_HIGHLIGHT
      RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
      RGB(212, 208, 200),  // COLOR_BTNFACE
      RGB(128, 128, 128),  // COLOR_BTNSHADOW
      RGB(128, 128, 128),  // COLOR_GRAYTEXT
      RGB(0, 0, 0),        // COLOR_BTNTEXT
      RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
      RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
      RGB(64, 64, 64),     // COLOR_3DDKSHADOW
      RGB(212, 208, 200),  // COLOR_3DLIGHT
      RGB(0, 0, 0),        // COLOR_INFOTEXT
      RGB(255, 255, 225),  // COLOR_INFOBK
      RGB(0, 0, 0),        // 25: not used
      RGB(0, 0, 128),      // COLOR_HOTLIGHT
      RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
      RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
      RGB(10, 36, 106),    // COLOR_MENUHILIGHT
      RGB(212, 208, 200),  // COLOR_MENUBAR
  };
  if (index < 0 || index > COLOR_MENUBAR) return 0;
  return kColours[std::size_t(index)];
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return g_screen_width.load();
    case SM_CYSCREEN: return g_screen_height.load();
    case SM_CXVSCROLL: case SM_CYHSCROLL: return 17;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXICON: case SM_CYICON: return 32;
    case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXFOCUSBORDER: case SM_CYFOCUSBORDER: return 1;
    default: return 0;
  }
}

void SetSystemScreenSize(int width, int height) {
  if (width < 1 || height < 1) return;
  g_screen_width = width;
  g_screen_height = height;
}
