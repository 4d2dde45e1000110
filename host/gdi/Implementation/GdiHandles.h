#pragma once
// What the GDI handles point at: the objects (pens, brushes, fonts, bitmaps) and the device
// contexts, with the tables that tell a live handle from a stale one.
#include "host/gdi/GdiTypes.h"
#include "host/gdi/IGdiDevice.h"

#include <cstdint>
#include <vector>

namespace gdi_impl {

struct GdiObject {
  DWORD type = 0;      // OBJ_PEN, OBJ_BRUSH, OBJ_FONT or OBJ_BITMAP
  bool stock = false;  // never deleted
  LOGPEN logPen{};
  LOGBRUSH logBrush{};
  GdiBrushDesc brush;  // the brush as devices draw it
  LOGFONTW font{};
  // Bitmaps: rows top first, each padded to 16 bits.
  LONG width = 0;
  LONG height = 0;
  WORD bitsPerPixel = 0;
  LONG widthBytes = 0;
  std::vector<std::uint8_t> bits;
  bool selected = false;  // held by a memory context

  GdiPenDesc PenDesc() const {
    return {logPen.lopnStyle, int(logPen.lopnWidth.x), logPen.lopnColor};
  }
};

// One level of a device context's state.
struct GdiDCLevel {
  GdiDrawState draw;
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  POINT position{0, 0};
};

}  // namespace gdi_impl

struct HDC__ {
  IGdiDevice* device = nullptr;  // null for a memory context
  gdi_impl::GdiObject* bitmap = nullptr;  // a memory context's bitmap
  gdi_impl::GdiDCLevel current;
  std::vector<gdi_impl::GdiDCLevel> saved;
};

namespace gdi_impl {

// The live object behind a handle, or null for a null, deleted or foreign handle.
GdiObject* LookupObject(HGDIOBJ handle);
// The live device context behind a handle, or null.
HDC__* LookupDC(HDC hdc);
// The same for a context that draws figures and text: one with a device.
inline HDC__* LookupDeviceDC(HDC hdc) {
  HDC__* dc = LookupDC(hdc);
  return dc && dc->device ? dc : nullptr;
}
// The 1 by 1 monochrome bitmap that a new memory context holds.
GdiObject* DefaultBitmap();
// Registers a new object and answers its handle.
HGDIOBJ RegisterObject(GdiObject* object);
void RegisterDC(HDC__* dc);
void UnregisterDC(HDC__* dc);

}  // namespace gdi_impl
