// Pixels onto device contexts: DIBs and the bitmaps of memory contexts, copied or blended
// onto a context's device or into another memory context's bitmap.
#include "host/gdi/IGdiDevice.h"
#include "host/gdi/Implementation/GdiHandles.h"
#include "host/gdi/WinGdi.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

using gdi_impl::GdiObject;

namespace {

// A rectangle of pixels in GDI's byte order, rows `stride` bytes apart.
struct Pixels {
  const std::uint8_t* first = nullptr;  // the top-left pixel
  std::ptrdiff_t stride = 0;
};

// Narrows a blit of width by height from (sx, sy) to (dx, dy) to the source's extent
// (0, 0, limitX, limitY); false when nothing is left.
bool ClipSource(int& sx, int& sy, int& dx, int& dy, int& width, int& height, long long limitX, long long limitY) {
  auto clip = [](int& s, int& d, int& extent, long long limit) {
    if (s < 0) d -= s, extent += s, s = 0;
    extent = int(std::min<long long>(extent, limit - s));
    return extent > 0;
  };
  return clip(sx, dx, width, limitX) && clip(sy, dy, height, limitY);
}

// Puts pixels on a context: on its device, or into its bitmap of 24 or 32 bits (there all
// four bytes are kept, as a 32-bit copy does on Windows).
bool PutPixels(HDC__& dc, int x, int y, int width, int height, Pixels pixels, bool blend) {
  if (dc.device) {
    dc.device->DrawPixels(x, y, width, height, pixels.first, pixels.stride, blend);
    return true;
  }
  GdiObject& bitmap = *dc.bitmap;
  const int bytes = bitmap.bitsPerPixel / 8;
  if (bytes != 3 && bytes != 4) return false;
  int sx = 0, sy = 0;
  // The bitmap is the clip: the same narrowing with the roles turned round.
  int dx = x, dy = y;
  if (!ClipSource(dx, dy, sx, sy, width, height, bitmap.width, bitmap.height)) return true;
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* source = pixels.first + std::ptrdiff_t(sy + row) * pixels.stride + std::ptrdiff_t(sx) * 4;
    std::uint8_t* target = bitmap.bits.data() + std::size_t(dy + row) * std::size_t(bitmap.widthBytes) +
                           std::size_t(dx) * std::size_t(bytes);
    for (int column = 0; column < width; ++column, source += 4, target += bytes) {
      if (!blend) {
        std::copy(source, source + bytes, target);
        continue;
      }
      const unsigned keep = 255u - source[3];
      for (int c = 0; c < bytes; ++c)
        target[c] = std::uint8_t(std::min(255u, source[c] + (target[c] * keep + 127) / 255));
    }
  }
  return true;
}

// The pixels of a memory context's bitmap in GDI's 32-bit order: a monochrome bitmap takes
// the destination's text colour for 0 bits and its background colour for 1 bits. The
// rectangle lies within the bitmap.
std::vector<std::uint8_t> ReadBitmap(const GdiObject& bitmap, int x, int y, int width, int height,
                                     const GdiDrawState& destination) {
  std::vector<std::uint8_t> out(std::size_t(width) * std::size_t(height) * 4);
  auto put = [](std::uint8_t* p, COLORREF colour) {
    p[0] = GetBValue(colour), p[1] = GetGValue(colour), p[2] = GetRValue(colour), p[3] = 0;
  };
  std::uint8_t* p = out.data();
  for (int row = y; row < y + height; ++row) {
    const std::uint8_t* line = bitmap.bits.data() + std::size_t(row) * std::size_t(bitmap.widthBytes);
    for (int column = x; column < x + width; ++column, p += 4) {
      switch (bitmap.bitsPerPixel) {
        case 1: {
          const bool set = line[column / 8] & (0x80 >> (column % 8));
          put(p, set ? destination.bkColour : destination.textColour);
          break;
        }
        case 24: std::copy_n(line + column * 3, 3, p), p[3] = 0; break;
        default: std::copy_n(line + column * 4, 4, p); break;
      }
    }
  }
  return out;
}

bool IsPatternRop(DWORD rop) {
  return rop == PATCOPY || rop == PATINVERT || rop == DSTINVERT || rop == BLACKNESS || rop == WHITENESS;
}

}  // namespace

BOOL BitBlt(HDC hdc, int x, int y, int width, int height, HDC source, int xSource, int ySource, DWORD rop) {
  HDC__* dc = gdi_impl::LookupDC(hdc);
  if (!dc) return 0;
  if (IsPatternRop(rop)) return PatBlt(hdc, x, y, width, height, rop);
  HDC__* from = gdi_impl::LookupDC(source);
  if (rop != SRCCOPY || !from || from->device) return 0;
  if (width < 0 || height < 0) return 0;
  const GdiObject& bitmap = *from->bitmap;
  if (!ClipSource(xSource, ySource, x, y, width, height, bitmap.width, bitmap.height)) return 1;
  const std::vector<std::uint8_t> pixels = ReadBitmap(bitmap, xSource, ySource, width, height, dc->current.draw);
  return PutPixels(*dc, x, y, width, height, {pixels.data(), std::ptrdiff_t(width) * 4}, false);
}

BOOL AlphaBlend(HDC hdc, int x, int y, int width, int height, HDC source, int xSource, int ySource, int widthSource,
                int heightSource, BLENDFUNCTION blend) {
  HDC__* dc = gdi_impl::LookupDC(hdc);
  HDC__* from = gdi_impl::LookupDC(source);
  if (!dc || !from || from->device || blend.BlendOp != AC_SRC_OVER) return 0;
  if (width < 0 || height < 0 || width != widthSource || height != heightSource) return 0;
  const GdiObject& bitmap = *from->bitmap;
  if (!ClipSource(xSource, ySource, x, y, width, height, bitmap.width, bitmap.height)) return 1;
  std::vector<std::uint8_t> pixels = ReadBitmap(bitmap, xSource, ySource, width, height, dc->current.draw);
  // Without AC_SRC_ALPHA the source is opaque; the constant alpha scales every channel,
  // which keeps the colours premultiplied.
  const unsigned constant = blend.SourceConstantAlpha;
  const bool ownAlpha = (blend.AlphaFormat & AC_SRC_ALPHA) && bitmap.bitsPerPixel == 32;
  for (std::size_t i = 0; i < pixels.size(); i += 4) {
    if (!ownAlpha) pixels[i + 3] = 255;
    if (constant != 255)
      for (std::size_t c = 0; c < 4; ++c) pixels[i + c] = std::uint8_t((pixels[i + c] * constant + 127) / 255);
  }
  return PutPixels(*dc, x, y, width, height, {pixels.data(), std::ptrdiff_t(width) * 4}, true);
}

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSource, int ySource,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info, UINT colourUse) {
  HDC__* dc = gdi_impl::LookupDC(hdc);
  if (!dc || !bits || !info || (colourUse != DIB_RGB_COLORS && colourUse != DIB_PAL_COLORS)) return 0;
  const BITMAPINFOHEADER& header = info->bmiHeader;
  const int bytes = header.biBitCount / 8;
  if ((header.biBitCount != 24 && header.biBitCount != 32) || header.biCompression != BI_RGB || header.biWidth <= 0 ||
      header.biHeight == 0 || header.biHeight == LONG(0x80000000))
    return 0;
  if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) return 0;
  const bool topDown = header.biHeight < 0;
  const long long dibHeight = std::llabs(header.biHeight);
  const std::ptrdiff_t stride = ((std::ptrdiff_t(header.biWidth) * header.biBitCount + 31) / 32) * 4;

  // Scan lines, in memory order, that are both in the source rectangle and in `bits`.
  const long long first = std::max<long long>({ySource, startScan, 0});
  const long long last = std::min<long long>({static_cast<long long>(ySource) + height,
                                              static_cast<long long>(startScan) + lines, dibHeight});
  // And the columns within the DIB's width.
  long long sx = xSource, dx = xDest;
  const long long right = std::min<long long>(static_cast<long long>(xSource) + width, header.biWidth);
  if (sx < 0) dx -= sx, sx = 0;
  if (last <= first || right <= sx) return 0;
  const int w = int(right - sx);
  if (dx > 0x7FFFFFFF) return 0;
  const int count = int(last - first);
  const auto* base = static_cast<const std::uint8_t*>(bits);
  auto scan = [&](long long s) { return base + std::ptrdiff_t(s - startScan) * stride + std::ptrdiff_t(sx) * bytes; };

  // A top-down DIB goes down the destination with its scan lines, a bottom-up one up:
  // the top destination row is then the last scan line.
  const long long topScan = topDown ? first : last - 1;
  const int top = int(topDown ? yDest + (first - ySource) : yDest + (static_cast<long long>(ySource) + height - last));
  Pixels pixels{scan(topScan), topDown ? stride : -stride};
  std::vector<std::uint8_t> wide;
  if (bytes == 3) {
    wide.resize(std::size_t(w) * std::size_t(count) * 4);
    for (int row = 0; row < count; ++row) {
      const std::uint8_t* from = pixels.first + row * pixels.stride;
      std::uint8_t* to = wide.data() + std::size_t(row) * std::size_t(w) * 4;
      for (int column = 0; column < w; ++column) std::copy_n(from + column * 3, 3, to + column * 4), to[column * 4 + 3] = 0;
    }
    pixels = {wide.data(), std::ptrdiff_t(w) * 4};
  }
  return PutPixels(*dc, int(dx), top, w, count, pixels, false) ? count : 0;
}
