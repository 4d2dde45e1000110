// GDI objects: the handle tables, the stock objects and the object functions of GDI32.
#include "host/gdi/Implementation/GdiHandles.h"
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinUser.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_set>

using gdi_impl::GdiObject;

namespace {

// Bitmaps beyond this many bytes are refused rather than allocated.
constexpr std::size_t kMaxBitmapBytes = std::size_t(1) << 30;

struct Tables {
  std::mutex mutex;
  std::unordered_set<GdiObject*> objects;
  std::unordered_set<HDC__*> dcs;
};

Tables& GetTables() {
  static Tables tables;
  return tables;
}

LOGFONTW MakeFont(const wchar_t* face, LONG height, LONG weight, BYTE pitchAndFamily) {
  LOGFONTW font{};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfCharSet = ANSI_CHARSET;
  font.lfPitchAndFamily = pitchAndFamily;
  for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) font.lfFaceName[i] = face[i];
  return font;
}

GdiObject MakePen(UINT style, int width, COLORREF colour) {
  GdiObject pen;
  pen.type = OBJ_PEN;
  pen.logPen = {style, {width, 0}, colour};
  return pen;
}

GdiObject MakeBrush(UINT style, COLORREF colour) {
  GdiObject brush;
  brush.type = OBJ_BRUSH;
  brush.logBrush = {style, colour, 0};
  brush.brush.style = style;
  brush.brush.colour = colour;
  return brush;
}

GdiObject MakeFontObject(const LOGFONTW& font) {
  GdiObject object;
  object.type = OBJ_FONT;
  object.font = font;
  object.font.lfFaceName[LF_FACESIZE - 1] = 0;
  return object;
}

// Indexed by GetStockObject's index; null where Windows has no object of ours.
struct StockObjects {
  std::array<std::unique_ptr<GdiObject>, DEFAULT_GUI_FONT + 1> objects;
  StockObjects() {
    auto put = [&](int index, GdiObject object) {
      object.stock = true;
      objects[index] = std::make_unique<GdiObject>(std::move(object));
    };
    put(WHITE_BRUSH, MakeBrush(BS_SOLID, 0xFFFFFF));
    put(LTGRAY_BRUSH, MakeBrush(BS_SOLID, 0xC0C0C0));
    put(GRAY_BRUSH, MakeBrush(BS_SOLID, 0x808080));
    put(DKGRAY_BRUSH, MakeBrush(BS_SOLID, 0x404040));
    put(BLACK_BRUSH, MakeBrush(BS_SOLID, 0x000000));
    put(NULL_BRUSH, MakeBrush(BS_NULL, 0x000000));
    put(WHITE_PEN, MakePen(PS_SOLID, 1, 0xFFFFFF));
    put(BLACK_PEN, MakePen(PS_SOLID, 1, 0x000000));
    put(NULL_PEN, MakePen(PS_NULL, 1, 0x000000));
    // DejaVu stands in for the Windows faces: the sans face for the proportional fonts,
    // the mono face for the fixed ones. The system font is bold, with a 16-pixel cell.
    const BYTE fixed = FIXED_PITCH | FF_MODERN;
    const BYTE variable = VARIABLE_PITCH | FF_SWISS;
    put(OEM_FIXED_FONT, MakeFontObject(MakeFont(L"DejaVu Sans Mono", 12, FW_NORMAL, fixed)));
    put(ANSI_FIXED_FONT, MakeFontObject(MakeFont(L"DejaVu Sans Mono", 13, FW_NORMAL, fixed)));
    put(ANSI_VAR_FONT, MakeFontObject(MakeFont(L"DejaVu Sans", 13, FW_NORMAL, variable)));
    put(SYSTEM_FONT, MakeFontObject(MakeFont(L"DejaVu Sans", 16, FW_BOLD, variable)));
    put(DEVICE_DEFAULT_FONT, MakeFontObject(MakeFont(L"DejaVu Sans", 16, FW_BOLD, variable)));
    put(SYSTEM_FIXED_FONT, MakeFontObject(MakeFont(L"DejaVu Sans Mono", 15, FW_NORMAL, fixed)));
    // The dialog font of the host's windows: 8 points at 96 dpi (an 11-pixel em).
    put(DEFAULT_GUI_FONT, MakeFontObject(MakeFont(L"DejaVu Sans", -11, FW_NORMAL, DEFAULT_PITCH)));
    defaultBitmap->type = OBJ_BITMAP;
    defaultBitmap->stock = true;
    defaultBitmap->width = defaultBitmap->height = 1;
    defaultBitmap->bitsPerPixel = 1;
    defaultBitmap->widthBytes = 2;
    defaultBitmap->bits.assign(2, 0);
  }
  bool Holds(const GdiObject* object) const {
    return object == defaultBitmap.get() ||
           std::any_of(objects.begin(), objects.end(), [&](const auto& o) { return o.get() == object; });
  }
  // Several memory contexts may hold it at once: it is never drawn into.
  std::unique_ptr<GdiObject> defaultBitmap = std::make_unique<GdiObject>();
};

StockObjects& Stock() {
  static StockObjects stock;
  return stock;
}

template <typename Handle>
Handle ToHandle(GdiObject* object) {
  return reinterpret_cast<Handle>(object);
}

GdiObject* NewObject(GdiObject object) {
  auto* created = new GdiObject(std::move(object));
  gdi_impl::RegisterObject(created);
  return created;
}

std::size_t RowBytes(LONG width, WORD bitsPerPixel) {
  return ((std::size_t(width) * bitsPerPixel + 15) / 16) * 2;
}

HBITMAP NewBitmap(LONG width, LONG height, WORD bitsPerPixel, const void* bits) {
  if (width < 0 || height < 0) return nullptr;
  if (width == 0 || height == 0) width = height = 1, bitsPerPixel = 1;  // as Windows does
  if (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32) return nullptr;
  const std::size_t rowBytes = RowBytes(width, bitsPerPixel);
  if (rowBytes > kMaxBitmapBytes / std::size_t(height)) return nullptr;
  GdiObject bitmap;
  bitmap.type = OBJ_BITMAP;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.bitsPerPixel = bitsPerPixel;
  bitmap.widthBytes = LONG(rowBytes);
  bitmap.bits.assign(rowBytes * std::size_t(height), 0);
  if (bits) std::memcpy(bitmap.bits.data(), bits, bitmap.bits.size());
  return ToHandle<HBITMAP>(NewObject(std::move(bitmap)));
}

}  // namespace

namespace gdi_impl {

GdiObject* LookupObject(HGDIOBJ handle) {
  if (!handle) return nullptr;
  auto* object = static_cast<GdiObject*>(handle);
  if (Stock().Holds(object)) return object;
  Tables& tables = GetTables();
  std::lock_guard lock(tables.mutex);
  return tables.objects.count(object) ? object : nullptr;
}

GdiObject* DefaultBitmap() { return Stock().defaultBitmap.get(); }

HGDIOBJ RegisterObject(GdiObject* object) {
  Tables& tables = GetTables();
  std::lock_guard lock(tables.mutex);
  tables.objects.insert(object);
  return object;
}

HDC__* LookupDC(HDC hdc) {
  if (!hdc) return nullptr;
  Tables& tables = GetTables();
  std::lock_guard lock(tables.mutex);
  return tables.dcs.count(hdc) ? hdc : nullptr;
}

void RegisterDC(HDC__* dc) {
  Tables& tables = GetTables();
  std::lock_guard lock(tables.mutex);
  tables.dcs.insert(dc);
}

void UnregisterDC(HDC__* dc) {
  Tables& tables = GetTables();
  std::lock_guard lock(tables.mutex);
  tables.dcs.erase(dc);
}

}  // namespace gdi_impl

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index > DEFAULT_GUI_FONT) return nullptr;
  return Stock().objects[std::size_t(index)].get();
}

BOOL DeleteObject(HGDIOBJ handle) {
  GdiObject* object = gdi_impl::LookupObject(handle);
  if (!object) return 0;
  if (object->stock) return 1;
  if (object->selected) return 0;  // a memory context draws into it
  {
    Tables& tables = GetTables();
    std::lock_guard lock(tables.mutex);
    tables.objects.erase(object);
  }
  delete object;
  return 1;
}

DWORD GetObjectType(HGDIOBJ handle) {
  if (const HDC__* dc = gdi_impl::LookupDC(static_cast<HDC>(handle))) return dc->device ? OBJ_DC : OBJ_MEMDC;
  const GdiObject* object = gdi_impl::LookupObject(handle);
  return object ? object->type : 0;
}

int GetObjectW(HGDIOBJ handle, int size, void* buffer) {
  const GdiObject* object = gdi_impl::LookupObject(handle);
  if (!object) return 0;
  BITMAP bitmap{};
  const void* source = nullptr;
  int full = 0;
  switch (object->type) {
    case OBJ_PEN: source = &object->logPen, full = sizeof(LOGPEN); break;
    case OBJ_BRUSH: source = &object->logBrush, full = sizeof(LOGBRUSH); break;
    case OBJ_FONT: source = &object->font, full = sizeof(LOGFONTW); break;
    case OBJ_BITMAP:
      bitmap = {0, object->width, object->height, object->widthBytes, 1, object->bitsPerPixel, nullptr};
      source = &bitmap, full = sizeof(BITMAP);
      break;
    default: return 0;
  }
  if (!buffer) return full;
  if (size <= 0) return 0;
  const int copied = std::min(size, full);
  std::memcpy(buffer, source, std::size_t(copied));
  return copied;
}

HPEN CreatePen(int style, int width, COLORREF colour) {
  UINT kind = UINT(style) & PS_STYLE_MASK;
  if (kind > PS_INSIDEFRAME) return nullptr;
  width = std::max(width, 0);
  // Only one-pixel pens are styled; a wider dashed or dotted pen draws solid.
  if (width > 1 && kind >= PS_DASH && kind <= PS_DASHDOTDOT) kind = PS_SOLID;
  return ToHandle<HPEN>(NewObject(MakePen(kind, width, colour)));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  return pen ? CreatePen(int(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor) : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF colour) {
  return ToHandle<HBRUSH>(NewObject(MakeBrush(BS_SOLID, colour)));
}

HBRUSH CreatePatternBrush(HBITMAP handle) {
  const GdiObject* bitmap = gdi_impl::LookupObject(handle);
  if (!bitmap || bitmap->type != OBJ_BITMAP || bitmap->bitsPerPixel != 1) return nullptr;
  GdiObject brush = MakeBrush(BS_PATTERN, 0);
  brush.logBrush.lbHatch = reinterpret_cast<std::uintptr_t>(handle);
  // A smaller bitmap repeats; a larger one gives its top-left 8 by 8 pixels.
  for (int y = 0; y < 8; ++y) {
    std::uint8_t row = 0;
    for (int x = 0; x < 8; ++x) {
      const std::size_t bx = std::size_t(x % bitmap->width), by = std::size_t(y % bitmap->height);
      const bool set = bitmap->bits[by * std::size_t(bitmap->widthBytes) + bx / 8] & (0x80 >> (bx % 8));
      if (set) row |= std::uint8_t(0x80 >> x);
    }
    brush.brush.pattern[y] = row;
  }
  return ToHandle<HBRUSH>(NewObject(std::move(brush)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  switch (brush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(brush->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    default: return nullptr;  // hatch brushes are not offered
  }
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
  return font ? ToHandle<HFONT>(NewObject(MakeFontObject(*font))) : nullptr;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (planes != 1 || bitsPerPixel > 32) return nullptr;
  return NewBitmap(width, height, WORD(bitsPerPixel), bits);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  if (!gdi_impl::LookupDC(hdc)) return nullptr;
  return NewBitmap(width, height, 32, nullptr);
}

LONG GetBitmapBits(HBITMAP handle, LONG size, void* bits) {
  const GdiObject* bitmap = gdi_impl::LookupObject(handle);
  if (!bitmap || bitmap->type != OBJ_BITMAP) return 0;
  if (!bits) return LONG(bitmap->bits.size());
  const std::size_t copied = std::min(std::size_t(std::max<LONG>(size, 0)), bitmap->bits.size());
  std::memcpy(bits, bitmap->bits.data(), copied);
  return LONG(copied);
}

LONG SetBitmapBits(HBITMAP handle, DWORD size, const void* bits) {
  GdiObject* bitmap = gdi_impl::LookupObject(handle);
  if (!bitmap || bitmap->type != OBJ_BITMAP || !bits) return 0;
  const std::size_t copied = std::min(std::size_t(size), bitmap->bits.size());
  std::memcpy(bitmap->bits.data(), bits, copied);
  return LONG(copied);
}

HBRUSH GetSysColorBrush(int index) {
  // One stock brush per system colour, made on first use and kept for the process.
  static const auto brushes = [] {
    std::array<GdiObject*, COLOR_MENUBAR + 1> made{};
    for (int i = 0; i <= COLOR_MENUBAR; ++i) {
      GdiObject brush = MakeBrush(BS_SOLID, GetSysColor(i));
      brush.stock = true;
      made[std::size_t(i)] = NewObject(std::move(brush));
    }
    return made;
  }();
  if (index < 0 || index > COLOR_MENUBAR) return nullptr;
  return ToHandle<HBRUSH>(brushes[std::size_t(index)]);
}
