// Device contexts: their state, the objects selected into them, and the figure and text
// calls, which are checked and ordered here and drawn by the context's device.
#include "host/gdi/IGdiDevice.h"
#include "host/gdi/Implementation/GdiHandles.h"
#include "host/gdi/WinGdi.h"
#include "host/win/MulDiv.h"

#include <algorithm>
#include <utility>

using gdi_impl::GdiObject;
using gdi_impl::LookupDC;

IGdiDevice::~IGdiDevice() = default;

void IGdiDevice::SetResolution(int dpiX, int dpiY) {
  if (dpiX >= 1 && dpiY >= 1) m_resolution = {dpiX, dpiY};
}

void IGdiDevice::DrawPixels(int x, int y, int width, int height, const std::uint8_t* bgra, std::ptrdiff_t stride,
                            bool blend) {
  if (!bgra) return;
  GdiDrawState state;
  auto colourAt = [&](int column, int row, bool& shows) {
    const std::uint8_t* p = bgra + std::ptrdiff_t(row) * stride + std::ptrdiff_t(column) * 4;
    shows = !blend || p[3] >= 128;
    if (!blend || p[3] == 255) return RGB(p[2], p[1], p[0]);
    if (p[3] == 0) return COLORREF(0);
    auto straight = [&](std::uint8_t c) { return BYTE(std::min(255, (c * 255 + p[3] / 2) / p[3])); };
    return RGB(straight(p[2]), straight(p[1]), straight(p[0]));
  };
  for (int row = 0; row < height; ++row)
    for (int column = 0; column < width;) {
      bool shows = false;
      const COLORREF colour = colourAt(column, row, shows);
      int end = column + 1;
      for (bool next = false; end < width && colourAt(end, row, next) == colour && next == shows;) ++end;
      if (shows) {
        state.brush.colour = colour;
        PatBlt(state, {x + column, y + row, x + end, y + row + 1}, PATCOPY);
      }
      column = end;
    }
}

namespace {

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Ordered(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  return {left, top, right, bottom};
}

}  // namespace

namespace {

HDC NewDC(IGdiDevice* device) {
  auto* dc = new HDC__;
  dc->device = device;
  if (!device) dc->bitmap = gdi_impl::DefaultBitmap();
  gdi_impl::GdiDCLevel& level = dc->current;
  level.pen = GetStockObject(BLACK_PEN);
  level.brush = GetStockObject(WHITE_BRUSH);
  level.font = GetStockObject(SYSTEM_FONT);
  level.draw.pen = gdi_impl::LookupObject(level.pen)->PenDesc();
  level.draw.brush = gdi_impl::LookupObject(level.brush)->brush;
  level.draw.font = gdi_impl::LookupObject(level.font)->font;
  gdi_impl::RegisterDC(dc);
  return dc;
}

}  // namespace

HDC CreateDeviceDC(IGdiDevice& device) { return NewDC(&device); }

HDC CreateCompatibleDC(HDC hdc) {
  if (hdc && !LookupDC(hdc)) return nullptr;
  return NewDC(nullptr);
}

BOOL DeleteDC(HDC hdc) {
  HDC__* dc = LookupDC(hdc);
  if (!dc) return 0;
  gdi_impl::UnregisterDC(dc);
  if (dc->bitmap) dc->bitmap->selected = false;
  delete dc;
  return 1;
}

int SaveDC(HDC hdc) {
  HDC__* dc = LookupDC(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->current);
  return int(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int savedDC) {
  HDC__* dc = LookupDC(hdc);
  if (!dc) return 0;
  const int count = int(dc->saved.size());
  const int level = savedDC < 0 ? count + 1 + savedDC : savedDC;  // negative: counted back
  if (level < 1 || level > count) return 0;
  dc->current = dc->saved[std::size_t(level - 1)];
  dc->saved.resize(std::size_t(level - 1));
  return 1;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ handle) {
  HDC__* dc = LookupDC(hdc);
  const GdiObject* object = gdi_impl::LookupObject(handle);
  if (!dc || !object) return nullptr;
  gdi_impl::GdiDCLevel& level = dc->current;
  switch (object->type) {
    case OBJ_PEN:
      level.draw.pen = object->PenDesc();
      return std::exchange(level.pen, handle);
    case OBJ_BRUSH:
      level.draw.brush = object->brush;
      return std::exchange(level.brush, handle);
    case OBJ_FONT:
      level.draw.font = object->font;
      return std::exchange(level.font, handle);
    case OBJ_BITMAP: {
      // Only into a memory context, and into one at a time.
      GdiObject* bitmap = gdi_impl::LookupObject(handle);
      if (dc->device || (bitmap->selected && bitmap != dc->bitmap)) return nullptr;
      if (dc->bitmap) dc->bitmap->selected = false;
      if (!bitmap->stock) bitmap->selected = true;
      return std::exchange(dc->bitmap, bitmap);
    }
    default:
      return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  HDC__* dc = LookupDC(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->current.pen;
    case OBJ_BRUSH: return dc->current.brush;
    case OBJ_FONT: return dc->current.font;
    case OBJ_BITMAP: return dc->bitmap;
    default: return nullptr;
  }
}

COLORREF SetTextColor(HDC hdc, COLORREF colour) {
  HDC__* dc = LookupDC(hdc);
  return dc ? std::exchange(dc->current.draw.textColour, colour) : CLR_INVALID;
}

COLORREF GetTextColor(HDC hdc) {
  HDC__* dc = LookupDC(hdc);
  return dc ? dc->current.draw.textColour : CLR_INVALID;
}

COLORREF SetBkColor(HDC hdc, COLORREF colour) {
  HDC__* dc = LookupDC(hdc);
  return dc ? std::exchange(dc->current.draw.bkColour, colour) : CLR_INVALID;
}

COLORREF GetBkColor(HDC hdc) {
  HDC__* dc = LookupDC(hdc);
  return dc ? dc->current.draw.bkColour : CLR_INVALID;
}

int SetBkMode(HDC hdc, int mode) {
  HDC__* dc = LookupDC(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(dc->current.draw.bkMode, mode);
}

int GetBkMode(HDC hdc) {
  HDC__* dc = LookupDC(hdc);
  return dc ? dc->current.draw.bkMode : 0;
}

int SetPolyFillMode(HDC hdc, int mode) {
  HDC__* dc = LookupDC(hdc);
  if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
  return std::exchange(dc->current.draw.polyFillMode, mode);
}

int GetPolyFillMode(HDC hdc) {
  HDC__* dc = LookupDC(hdc);
  return dc ? dc->current.draw.polyFillMode : 0;
}

int GetDeviceCaps(HDC hdc, int index) {
  HDC__* dc = LookupDC(hdc);
  if (!dc) return 0;
  // A memory context answers for a 96 dpi display the size of its bitmap.
  const SIZE dpi = dc->device ? dc->device->GetResolution() : SIZE{96, 96};
  const SIZE size = dc->device ? dc->device->GetSurfaceSize() : SIZE{dc->bitmap->width, dc->bitmap->height};
  switch (index) {
    case LOGPIXELSX: return dpi.cx;
    case LOGPIXELSY: return dpi.cy;
    case HORZRES: return size.cx;
    case VERTRES: return size.cy;
    case HORZSIZE: return MulDiv(size.cx, 254, dpi.cx * 10);  // millimetres
    case VERTSIZE: return MulDiv(size.cy, 254, dpi.cy * 10);
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;  // more than 256 colours
    case TECHNOLOGY: return DT_RASDISPLAY;
    default: return 0;
  }
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
  HDC__* dc = LookupDC(hdc);
  if (!dc) return 0;
  if (previous) *previous = dc->current.position;
  dc->current.position = {x, y};
  return 1;
}

BOOL GetCurrentPositionEx(HDC hdc, POINT* position) {
  HDC__* dc = LookupDC(hdc);
  if (!dc || !position) return 0;
  *position = dc->current.position;
  return 1;
}

BOOL LineTo(HDC hdc, int x, int y) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc) return 0;
  const POINT line[2] = {dc->current.position, {x, y}};
  dc->current.position = {x, y};
  // A line to where it starts has no pixels: its only one is the end point, left out.
  if (line[0].x != x || line[0].y != y) dc->device->Polyline(dc->current.draw, line, 2);
  return 1;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc || !points || count < 2) return 0;
  dc->device->Polyline(dc->current.draw, points, count);
  return 1;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc || !points || count < 2) return 0;
  dc->device->Polygon(dc->current.draw, points, count);
  return 1;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc) return 0;
  // GDI orders the corners; a rectangle without width or height has no pixels.
  const RECT rect = Ordered(left, top, right, bottom);
  if (!IsEmpty(rect)) dc->device->Rectangle(dc->current.draw, rect);
  return 1;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc) return 0;
  const RECT rect = Ordered(left, top, right, bottom);
  if (!IsEmpty(rect)) dc->device->Ellipse(dc->current.draw, rect);
  return 1;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc) return 0;
  if (rop != PATCOPY && rop != PATINVERT && rop != DSTINVERT && rop != BLACKNESS && rop != WHITENESS) return 0;
  // A negative width or height extends the rectangle to the left or upwards.
  const RECT rect = Ordered(x, y, x + width, y + height);
  if (!IsEmpty(rect)) dc->device->PatBlt(dc->current.draw, rect, rop);
  return 1;
}

BOOL TextOutW(HDC hdc, int x, int y, const wchar_t* text, int count) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc || count < 0 || (!text && count > 0)) return 0;
  if (count > 0) dc->device->TextOut(dc->current.draw, x, y, 0, nullptr, text, count, nullptr);
  return 1;
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, const wchar_t* text, UINT count,
                 const int* dx) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc || (!text && count > 0) || count > 0x7FFFFFFF) return 0;
  options &= ETO_OPAQUE | ETO_CLIPPED;
  if (!rect) options = 0;
  if (rect && IsEmpty(*rect)) {
    // Nothing to fill, and text clipped to nothing is not drawn at all.
    if (options & ETO_CLIPPED) return 1;
    options = 0;
  }
  if (options == 0) rect = nullptr;
  if (count > 0 || (options & ETO_OPAQUE))
    dc->device->TextOut(dc->current.draw, x, y, options, rect, text, int(count), dx);
  return 1;
}

BOOL GetTextExtentPoint32W(HDC hdc, const wchar_t* text, int count, SIZE* size) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc || !size || count < 0 || (!text && count > 0)) return 0;
  return dc->device->GetTextExtent(dc->current.draw.font, text, count, *size) ? 1 : 0;
}

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* metrics) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc || !metrics) return 0;
  return dc->device->GetTextMetrics(dc->current.draw.font, *metrics) ? 1 : 0;
}
