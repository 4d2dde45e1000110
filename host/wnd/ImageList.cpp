// Image lists: images of one size kept as premultiplied 32-bit pixels (transparent ones
// all zero), drawn through a memory context with AlphaBlend.
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinUser.h"
#include "host/wnd/CommCtrl.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <unordered_set>
#include <vector>

struct _IMAGELIST {
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
  COLORREF bkColour = CLR_NONE;
  // The images one after the other, each cx by cy pixels of blue, green, red, alpha, top
  // row first. Alpha is 255 where the image shows and 0 (with a black colour) where masked.
  std::vector<std::uint8_t> pixels;

  std::size_t ImageBytes() const { return std::size_t(cx) * std::size_t(cy) * 4; }
  int Count() const { return int(pixels.size() / ImageBytes()); }
};

namespace {

struct Lists {
  std::mutex mutex;
  std::unordered_set<_IMAGELIST*> live;
};

Lists& GetLists() {
  static Lists lists;
  return lists;
}

_IMAGELIST* Lookup(HIMAGELIST list) {
  Lists& lists = GetLists();
  std::lock_guard lock(lists.mutex);
  return lists.live.count(list) ? list : nullptr;
}

// The bitmap's pixels in 32-bit order, or empty for a bitmap that is not of 1, 24 or 32
// bits. A monochrome bitmap is black for 0 and white for 1.
std::vector<std::uint8_t> ReadPixels(HBITMAP handle, BITMAP& info) {
  if (GetObjectW(handle, sizeof(BITMAP), &info) != int(sizeof(BITMAP))) return {};
  const int bits = info.bmBitsPixel;
  if (bits != 1 && bits != 24 && bits != 32) return {};
  std::vector<std::uint8_t> raw(std::size_t(info.bmWidthBytes) * std::size_t(info.bmHeight));
  GetBitmapBits(handle, LONG(raw.size()), raw.data());
  std::vector<std::uint8_t> out(std::size_t(info.bmWidth) * std::size_t(info.bmHeight) * 4);
  std::uint8_t* p = out.data();
  for (LONG y = 0; y < info.bmHeight; ++y) {
    const std::uint8_t* row = raw.data() + std::size_t(y) * std::size_t(info.bmWidthBytes);
    for (LONG x = 0; x < info.bmWidth; ++x, p += 4) {
      if (bits == 1) {
        const std::uint8_t level = (row[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
        p[0] = p[1] = p[2] = level;
      } else {
        std::copy_n(row + x * (bits / 8), 3, p);
      }
    }
  }
  return out;
}

COLORREF ColourOf(const std::uint8_t* bgra) { return RGB(bgra[2], bgra[1], bgra[0]); }

void Mix(std::uint8_t* bgra, COLORREF colour, unsigned share) {  // share of 255
  const std::uint8_t target[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
  for (int c = 0; c < 3; ++c) bgra[c] = std::uint8_t((bgra[c] * (255 - share) + target[c] * share + 127) / 255);
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (cx < 1 || cy < 1 || cx > 0x4000 || cy > 0x4000) return nullptr;
  auto* list = new _IMAGELIST;
  list->cx = cx;
  list->cy = cy;
  list->flags = flags;
  Lists& lists = GetLists();
  std::lock_guard lock(lists.mutex);
  lists.live.insert(list);
  return list;
}

BOOL ImageList_Destroy(HIMAGELIST handle) {
  _IMAGELIST* list = Lookup(handle);
  if (!list) return FALSE;
  {
    Lists& lists = GetLists();
    std::lock_guard lock(lists.mutex);
    lists.live.erase(list);
  }
  delete list;
  return TRUE;
}

int ImageList_AddMasked(HIMAGELIST handle, HBITMAP bitmap, COLORREF mask) {
  _IMAGELIST* list = Lookup(handle);
  BITMAP info{};
  const std::vector<std::uint8_t> source = list ? ReadPixels(bitmap, info) : std::vector<std::uint8_t>{};
  if (source.empty()) return -1;
  const int added = info.bmWidth / list->cx;
  const int first = list->Count();
  if (added == 0) return first;
  const bool masked = list->flags & ILC_MASK;
  const int rows = std::min<int>(list->cy, info.bmHeight);  // a shorter bitmap leaves the rest masked
  list->pixels.resize(list->pixels.size() + list->ImageBytes() * std::size_t(added), 0);
  for (int image = 0; image < added; ++image) {
    std::uint8_t* target = list->pixels.data() + list->ImageBytes() * std::size_t(first + image);
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < list->cx; ++x) {
        const std::uint8_t* p = source.data() + (std::size_t(y) * std::size_t(info.bmWidth) +
                                                 std::size_t(image * list->cx + x)) * 4;
        std::uint8_t* q = target + (std::size_t(y) * std::size_t(list->cx) + std::size_t(x)) * 4;
        if (masked && ColourOf(p) == (mask & 0xFFFFFF)) continue;  // stays transparent black
        std::copy_n(p, 3, q);
        q[3] = 255;
      }
  }
  return first;
}

BOOL ImageList_Remove(HIMAGELIST handle, int image) {
  _IMAGELIST* list = Lookup(handle);
  if (!list || image < -1 || image >= list->Count()) return FALSE;
  if (image == -1) {
    list->pixels.clear();
    return TRUE;
  }
  const auto start = list->pixels.begin() + std::ptrdiff_t(list->ImageBytes() * std::size_t(image));
  list->pixels.erase(start, start + std::ptrdiff_t(list->ImageBytes()));
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST handle) {
  const _IMAGELIST* list = Lookup(handle);
  return list ? list->Count() : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST handle, int* cx, int* cy) {
  const _IMAGELIST* list = Lookup(handle);
  if (!list || !cx || !cy) return FALSE;
  *cx = list->cx;
  *cy = list->cy;
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST handle, COLORREF colour) {
  _IMAGELIST* list = Lookup(handle);
  if (!list) return CLR_NONE;
  const COLORREF before = list->bkColour;
  list->bkColour = colour == CLR_NONE ? CLR_NONE : colour & 0xFFFFFF;
  return before;
}

COLORREF ImageList_GetBkColor(HIMAGELIST handle) {
  const _IMAGELIST* list = Lookup(handle);
  return list ? list->bkColour : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST list, int image, HDC hdc, int x, int y, UINT style) {
  IMAGELISTDRAWPARAMS params{};
  params.cbSize = sizeof(params);
  params.himl = list;
  params.i = image;
  params.hdcDst = hdc;
  params.x = x;
  params.y = y;
  params.rgbBk = CLR_DEFAULT;
  params.rgbFg = CLR_DEFAULT;
  params.fStyle = style;
  return ImageList_DrawIndirect(&params);
}

BOOL ImageList_DrawIndirect(IMAGELISTDRAWPARAMS* params) {
  if (!params) return FALSE;
  const _IMAGELIST* list = Lookup(params->himl);
  if (!list || params->i < 0 || params->i >= list->Count() || GetObjectType(params->hdcDst) == 0) return FALSE;
  // The part of the image to draw.
  const int left = std::clamp(params->xBitmap, 0, list->cx), top = std::clamp(params->yBitmap, 0, list->cy);
  const int width = std::min(params->cx > 0 ? params->cx : list->cx, list->cx - left);
  const int height = std::min(params->cy > 0 ? params->cy : list->cy, list->cy - top);
  if (width <= 0 || height <= 0) return TRUE;

  const UINT style = params->fStyle;
  const COLORREF background = params->rgbBk == CLR_DEFAULT ? list->bkColour : params->rgbBk;
  const bool fillMasked = !(style & ILD_TRANSPARENT) && background != CLR_NONE;
  const bool opaque = (style & ILD_IMAGE) || !(list->flags & ILC_MASK);
  const unsigned blendShare = (style & ILD_BLEND50) ? 128 : (style & ILD_BLEND25) ? 64 : 0;
  const COLORREF blendColour = params->rgbFg == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : params->rgbFg;
  unsigned alpha = (params->fState & ILS_ALPHA) ? std::min<DWORD>(params->Frame, 255) : 255;
  // Blending with no colour lets the background show through instead.
  if (blendShare && blendColour == CLR_NONE) alpha = alpha * (255 - blendShare) / 255;

  std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height) * 4);
  const std::uint8_t* image = list->pixels.data() + list->ImageBytes() * std::size_t(params->i);
  std::uint8_t* p = pixels.data();
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x, p += 4) {
      std::copy_n(image + (std::size_t(y) * std::size_t(list->cx) + std::size_t(x)) * 4, 4, p);
      const bool shows = p[3] != 0;
      if (style & ILD_MASK) {
        const std::uint8_t level = shows ? 0 : 255;
        p[0] = p[1] = p[2] = level, p[3] = 255;
      } else {
        if (!shows && fillMasked) {
          p[0] = GetBValue(background), p[1] = GetGValue(background), p[2] = GetRValue(background);
        }
        if (opaque || fillMasked) p[3] = 255;
        if (p[3] != 0 && blendShare && blendColour != CLR_NONE) Mix(p, blendColour, blendShare);
        if (params->fState & ILS_SATURATE) {
          const std::uint8_t grey = std::uint8_t((p[2] * 77 + p[1] * 150 + p[0] * 29 + 128) >> 8);
          p[0] = p[1] = p[2] = grey;
        }
      }
      if (alpha != 255)
        for (int c = 0; c < 4; ++c) p[c] = std::uint8_t((p[c] * alpha + 127) / 255);
    }

  // Through a memory context; AlphaBlend keeps the colours of opaque pixels exactly.
  HBITMAP bitmap = CreateBitmap(width, height, 1, 32, pixels.data());
  HDC memory = CreateCompatibleDC(params->hdcDst);
  HGDIOBJ before = SelectObject(memory, bitmap);
  const BOOL done = AlphaBlend(params->hdcDst, params->x, params->y, width, height, memory, 0, 0, width, height,
                               {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
  SelectObject(memory, before);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return done;
}
