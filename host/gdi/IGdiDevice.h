#pragma once
// The drawing surface behind a device context. A device context (HDC) keeps the GDI state
// and turns the Win32 calls into the few primitives below, handing each the state it is to
// be drawn with; a device puts them into pixels (the Cairo backend) or records them (the
// test double). Coordinates are device pixels, x to the right and y down.
#include "host/HostApi.h"
#include "host/gdi/GdiTypes.h"

#include <cstddef>
#include <cstdint>

// A brush as a device draws with it. A pattern brush repeats an 8 by 8 monochrome pattern
// from the device origin: pattern[row] bit (7 - column) set takes the background colour,
// a clear bit the text colour, as a monochrome pattern brush does on Windows.
struct GdiBrushDesc {
  UINT style = BS_SOLID;  // BS_SOLID, BS_NULL or BS_PATTERN
  COLORREF colour = 0xFFFFFF;
  std::uint8_t pattern[8] = {};

  bool operator==(const GdiBrushDesc&) const = default;
};

// A pen as a device draws with it. A width of 0 or 1 is the one-pixel cosmetic pen.
struct GdiPenDesc {
  UINT style = PS_SOLID;
  int width = 0;
  COLORREF colour = 0;

  bool operator==(const GdiPenDesc&) const = default;
};

// The part of a device context's state that drawing uses. Colours are COLORREF words;
// their top byte is ignored.
struct GdiDrawState {
  GdiPenDesc pen;
  GdiBrushDesc brush;
  LOGFONTW font{};
  COLORREF textColour = 0x000000;
  COLORREF bkColour = 0xFFFFFF;
  int bkMode = OPAQUE;
  int polyFillMode = ALTERNATE;
};

// The device under a device context. Primitives follow GDI's pixel rules; the device
// context has already dropped what GDI draws nothing for (empty rectangles, too few
// points) and ordered rectangles that GDI orders itself. Besides the primitives a device
// has a resolution (pixels per logical inch, 96 by 96 unless set) that GetDeviceCaps
// reports.
class VISTAL_HOST_API IGdiDevice {
public:
  virtual ~IGdiDevice();

  // Width and height of the surface in pixels.
  virtual SIZE GetSurfaceSize() const = 0;

  // Rectangle: a pen outline on the pixels of the rectangle's edge (right and bottom
  // exclusive) and the brush inside; without a pen the brush covers left..right-2 and
  // top..bottom-2, one pixel less than the outline would. The rectangle is ordered and
  // neither width nor height is zero.
  virtual void Rectangle(const GdiDrawState& state, const RECT& rect) = 0;
  // Ellipse inscribed in the rectangle, with the same pixel rules as Rectangle.
  virtual void Ellipse(const GdiDrawState& state, const RECT& rect) = 0;
  // Closed polygon of at least two points: the brush fills the interior by the fill mode,
  // the pen outlines it through the points.
  virtual void Polygon(const GdiDrawState& state, const POINT* points, int count) = 0;
  // Open polyline of at least two points with the pen; the last point itself is not drawn.
  virtual void Polyline(const GdiDrawState& state, const POINT* points, int count) = 0;
  // Combines the rectangle with the brush by a raster operation (PATCOPY, PATINVERT,
  // DSTINVERT, BLACKNESS, WHITENESS). The rectangle is ordered and not empty.
  virtual void PatBlt(const GdiDrawState& state, const RECT& rect, DWORD rop) = 0;
  // Windows' focus rectangle: every other pixel of the one-pixel frame inverted, so that a
  // second call with the same rectangle restores the pixels. Ordered, not empty.
  virtual void DrawFocusRect(const RECT& rect) = 0;
  // Text with its top-left cell corner at (x, y): ETO_OPAQUE fills `rect` with the
  // background colour first, ETO_CLIPPED clips the text to it; an opaque background mode
  // fills the text cells too. `advances` (may be null) gives each character's advance.
  // `text` holds `count` characters, count >= 0.
  virtual void TextOut(const GdiDrawState& state, int x, int y, UINT options, const RECT* rect,
                       const wchar_t* text, int count, const int* advances) = 0;

  // Pixels in GDI's byte order (blue, green, red, alpha), `width` by `height` with their
  // top-left at (x, y), clipped to the surface. Row r starts at bgra + r * stride (a
  // negative stride walks a bottom-up image). Without `blend` the colours replace the
  // surface's pixels, which become opaque: the fourth byte is unused, as in a DIB. With
  // `blend` the pixels are alpha-premultiplied and go over the surface: alpha 0 leaves a
  // pixel as it is (a masked image's transparent pixels), 255 replaces it.
  // This fallback, for devices without a pixel path of their own, fills runs of equal
  // colour with PatBlt; it cannot read the surface, so a blended pixel shows when its
  // alpha is at least 128 (in its straight colour) and not otherwise.
  virtual void DrawPixels(int x, int y, int width, int height, const std::uint8_t* bgra, std::ptrdiff_t stride,
                          bool blend);

  // Metrics of a font on this device; false when the device cannot measure it.
  virtual bool GetTextMetrics(const LOGFONTW& font, TEXTMETRICW& metrics) = 0;
  // The advance width of `count` characters and the cell height; false on failure.
  virtual bool GetTextExtent(const LOGFONTW& font, const wchar_t* text, int count, SIZE& extent) = 0;

  // Pixels per logical inch, horizontally and vertically (LOGPIXELSX, LOGPIXELSY).
  SIZE GetResolution() const { return m_resolution; }
  // Values below 1 are ignored.
  void SetResolution(int dpiX, int dpiY);

private:
  SIZE m_resolution{96, 96};
};
