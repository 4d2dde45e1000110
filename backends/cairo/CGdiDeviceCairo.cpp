#include "backends/cairo/CGdiDeviceCairo.h"

#include "backends/cairo/Implementation/ArgbPixels.h"
#include "backends/cairo/Implementation/CairoFonts.h"
#include "backends/cairo/Implementation/GdiRaster.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

using cairo_gdi::PixelRun;

namespace {

constexpr double kPi = 3.14159265358979323846;

void SetSource(cairo_t* cr, COLORREF colour) {
  cairo_set_source_rgb(cr, GetRValue(colour) / 255.0, GetGValue(colour) / 255.0, GetBValue(colour) / 255.0);
}

// The colour bits of a COLORREF in Cairo's pixel word.
std::uint32_t PixelBits(COLORREF colour) {
  return (std::uint32_t(GetRValue(colour)) << 16) | (std::uint32_t(GetGValue(colour)) << 8) | GetBValue(colour);
}

void AddRect(cairo_t* cr, int left, int top, int right, int bottom) {
  if (right > left && bottom > top) cairo_rectangle(cr, left, top, double(right) - left, double(bottom) - top);
}

void AddRuns(cairo_t* cr, const std::vector<PixelRun>& runs) {
  for (const PixelRun& run : runs) AddRect(cr, run.x0, run.y, run.x1, run.y + 1);
}

void AddPixels(cairo_t* cr, const std::vector<POINT>& pixels) {
  for (const POINT& p : pixels) cairo_rectangle(cr, p.x, p.y, 1, 1);
}

// Fills the current path with a solid colour; the pixel rectangles of one figure may
// overlap, and the non-zero rule covers their union.
void FillColour(cairo_t* cr, COLORREF colour) {
  SetSource(cr, colour);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_fill(cr);
}

// Fills the current path with the state's brush, by the given rule; a null brush only
// drops the path. A pattern repeats from the device origin in the text and background
// colours.
void FillBrush(cairo_t* cr, const GdiDrawState& state, cairo_fill_rule_t rule = CAIRO_FILL_RULE_WINDING) {
  const GdiBrushDesc& brush = state.brush;
  cairo_set_fill_rule(cr, rule);
  if (brush.style == BS_NULL) {
    cairo_new_path(cr);
    return;
  }
  if (brush.style != BS_PATTERN) {
    SetSource(cr, brush.colour);
    cairo_fill(cr);
    return;
  }
  cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 8, 8);
  cairo_surface_flush(tile);
  unsigned char* data = cairo_image_surface_get_data(tile);
  const int stride = cairo_image_surface_get_stride(tile);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool background = brush.pattern[y] & (0x80 >> x);
      const std::uint32_t word = PixelBits(background ? state.bkColour : state.textColour);
      std::memcpy(data + y * stride + x * 4, &word, 4);
    }
  cairo_surface_mark_dirty(tile);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  cairo_set_source(cr, pattern);
  cairo_fill(cr);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(tile);
}

// One-pixel pen along points, the last one left out.
// A styled pen's pixels: dashes in the pen colour, gaps in the background colour when the
// background mode is opaque.
void FillPixels(cairo_t* cr, const GdiDrawState& state, const std::vector<POINT>& dashes,
                const std::vector<POINT>& gaps) {
  AddPixels(cr, dashes);
  FillColour(cr, state.pen.colour);
  if (!gaps.empty() && state.bkMode == OPAQUE) {
    AddPixels(cr, gaps);
    FillColour(cr, state.bkColour);
  }
}

void StrokeCosmetic(cairo_t* cr, const GdiDrawState& state, const POINT* points, int count) {
  std::vector<POINT> dashes, gaps;
  cairo_gdi::CosmeticPolyline(points, count, state.pen.style, dashes, gaps);
  FillPixels(cr, state, dashes, gaps);
}

// A wide pen along the current path: round ends and joins, as GDI's geometric pens.
void StrokeWide(cairo_t* cr, const GdiDrawState& state) {
  cairo_set_line_width(cr, state.pen.width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetSource(cr, state.pen.colour);
  cairo_stroke(cr);
}

void AddPixelCentrePath(cairo_t* cr, const POINT* points, int count, bool closed) {
  cairo_move_to(cr, points[0].x + 0.5, points[0].y + 0.5);
  for (int i = 1; i < count; ++i) cairo_line_to(cr, points[i].x + 0.5, points[i].y + 0.5);
  if (closed) cairo_close_path(cr);
}

}  // namespace

struct CGdiDeviceCairo::Surface {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;  // null when there is nothing to draw on
  int width = 0;
  int height = 0;
  cairo_gdi::CairoFontCache fonts;

  ~Surface() {
    if (cr) cairo_destroy(cr);
    if (surface) cairo_surface_destroy(surface);
  }

  // XOR of the pixels of a rectangle (clipped to the surface) with a mask per pixel.
  void Xor(const RECT& rect, const std::function<std::uint32_t(int, int)>& mask) {
    if (!cr) return;
    const int x0 = std::max<int>(rect.left, 0), x1 = std::min<int>(rect.right, width);
    const int y0 = std::max<int>(rect.top, 0), y1 = std::min<int>(rect.bottom, height);
    if (x1 <= x0 || y1 <= y0) return;
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = y0; y < y1; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(data + std::size_t(y) * std::size_t(stride));
      for (int x = x0; x < x1; ++x) row[x] ^= mask(x, y);
    }
    cairo_surface_mark_dirty_rectangle(surface, x0, y0, x1 - x0, y1 - y0);
  }
};

CGdiDeviceCairo::CGdiDeviceCairo(MImageRGBA& image) : m_image(image), m_surface(std::make_unique<Surface>()) {
  Surface& s = *m_surface;
  if (image.Empty()) return;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(image.Width()), int(image.Height()));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);  // too large for Cairo: the device draws nothing
    return;
  }
  s.surface = surface;
  s.width = int(image.Width());
  s.height = int(image.Height());
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < s.height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + std::size_t(y) * std::size_t(stride));
    const std::uint8_t* in = image.Pixel(0, unsigned(y));
    for (int x = 0; x < s.width; ++x, in += 4) row[x] = cairo_gdi::RgbaToArgb32(in);
  }
  cairo_surface_mark_dirty(surface);
  s.cr = cairo_create(surface);
  // Shapes keep GDI's hard pixel edges; text brings its own antialiasing.
  cairo_set_antialias(s.cr, CAIRO_ANTIALIAS_NONE);
}

CGdiDeviceCairo::~CGdiDeviceCairo() { Flush(); }

void CGdiDeviceCairo::Flush() {
  Surface& s = *m_surface;
  if (!s.cr || m_image.Width() != unsigned(s.width) || m_image.Height() != unsigned(s.height)) return;
  cairo_surface_flush(s.surface);
  const unsigned char* data = cairo_image_surface_get_data(s.surface);
  const int stride = cairo_image_surface_get_stride(s.surface);
  for (int y = 0; y < s.height; ++y) {
    auto* row = reinterpret_cast<const std::uint32_t*>(data + std::size_t(y) * std::size_t(stride));
    std::uint8_t* out = m_image.Pixel(0, unsigned(y));
    for (int x = 0; x < s.width; ++x, out += 4) cairo_gdi::Argb32ToRgba(row[x], out);
  }
}

SIZE CGdiDeviceCairo::GetSurfaceSize() const {
  return {LONG(m_image.Width()), LONG(m_image.Height())};
}

void CGdiDeviceCairo::Rectangle(const GdiDrawState& state, const RECT& r) {
  cairo_t* cr = m_surface->cr;
  if (!cr) return;
  const GdiPenDesc& pen = state.pen;
  if (pen.style == PS_NULL) {
    // Without an outline GDI leaves out the last column and row.
    AddRect(cr, r.left, r.top, r.right - 1, r.bottom - 1);
    FillBrush(cr, state);
    return;
  }
  AddRect(cr, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
  FillBrush(cr, state);
  if (pen.width <= 1) {
    const POINT loop[5] = {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1},
                           {r.left, r.top}};
    StrokeCosmetic(cr, state, loop, 5);
    return;
  }
  // A wide pen is centred on the edge pixels, or kept inside the rectangle.
  const double inset = pen.style == PS_INSIDEFRAME ? pen.width / 2.0 : 0.5;
  const double w = r.right - r.left - 2 * inset, h = r.bottom - r.top - 2 * inset;
  if (w <= 0 || h <= 0) {
    AddRect(cr, r.left, r.top, r.right, r.bottom);
    FillColour(cr, pen.colour);
    return;
  }
  cairo_rectangle(cr, r.left + inset, r.top + inset, w, h);
  StrokeWide(cr, state);
}

void CGdiDeviceCairo::Ellipse(const GdiDrawState& state, const RECT& r) {
  cairo_t* cr = m_surface->cr;
  if (!cr) return;
  const GdiPenDesc& pen = state.pen;
  if (pen.style == PS_NULL) {
    AddRuns(cr, cairo_gdi::EllipseRows({r.left, r.top, r.right - 1, r.bottom - 1}));
    FillBrush(cr, state);
    return;
  }
  if (pen.width <= 1) {
    std::vector<PixelRun> outline, inside;
    cairo_gdi::SplitOutline(cairo_gdi::EllipseRows(r), outline, inside);
    AddRuns(cr, inside);
    FillBrush(cr, state);
    if (pen.style == PS_SOLID || pen.style == PS_INSIDEFRAME) {
      AddRuns(cr, outline);
      FillColour(cr, pen.colour);
      return;
    }
    std::vector<POINT> dashes, gaps;
    cairo_gdi::StyledOutline(outline, r, pen.style, dashes, gaps);
    FillPixels(cr, state, dashes, gaps);
    return;
  }
  const double inset = pen.style == PS_INSIDEFRAME ? pen.width / 2.0 : 0.5;
  const double rx = (r.right - r.left) / 2.0 - inset, ry = (r.bottom - r.top) / 2.0 - inset;
  if (rx <= 0 || ry <= 0) {
    AddRuns(cr, cairo_gdi::EllipseRows(r));
    FillColour(cr, pen.colour);
    return;
  }
  cairo_save(cr);
  cairo_translate(cr, (r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
  cairo_scale(cr, rx, ry);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
  cairo_path_t* path = cairo_copy_path(cr);
  FillBrush(cr, state);
  cairo_append_path(cr, path);
  cairo_path_destroy(path);
  StrokeWide(cr, state);
}

void CGdiDeviceCairo::Polygon(const GdiDrawState& state, const POINT* points, int count) {
  cairo_t* cr = m_surface->cr;
  if (!cr || count < 2) return;
  // The inside through the pixel centres of the points: the pen's own pixels.
  AddPixelCentrePath(cr, points, count, true);
  FillBrush(cr, state, state.polyFillMode == WINDING ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
  if (state.pen.style == PS_NULL) return;
  if (state.pen.width <= 1) {
    std::vector<POINT> loop(points, points + count);
    loop.push_back(points[0]);
    StrokeCosmetic(cr, state, loop.data(), int(loop.size()));
    return;
  }
  AddPixelCentrePath(cr, points, count, true);
  StrokeWide(cr, state);
}

void CGdiDeviceCairo::Polyline(const GdiDrawState& state, const POINT* points, int count) {
  cairo_t* cr = m_surface->cr;
  if (!cr || count < 2 || state.pen.style == PS_NULL) return;
  if (state.pen.width <= 1) {
    StrokeCosmetic(cr, state, points, count);
    return;
  }
  AddPixelCentrePath(cr, points, count, false);
  StrokeWide(cr, state);
}

void CGdiDeviceCairo::PatBlt(const GdiDrawState& state, const RECT& r, DWORD rop) {
  cairo_t* cr = m_surface->cr;
  if (!cr) return;
  switch (rop) {
    case PATCOPY:
      AddRect(cr, r.left, r.top, r.right, r.bottom);
      FillBrush(cr, state);
      break;
    case BLACKNESS:
    case WHITENESS:
      AddRect(cr, r.left, r.top, r.right, r.bottom);
      FillColour(cr, rop == WHITENESS ? 0xFFFFFF : 0x000000);
      break;
    case DSTINVERT: m_surface->Xor(r, [](int, int) { return 0xFFFFFFu; }); break;
    case PATINVERT: {
      const GdiBrushDesc& brush = state.brush;
      if (brush.style == BS_NULL) break;
      const std::uint32_t solid = PixelBits(brush.colour);
      const std::uint32_t fore = PixelBits(state.textColour), back = PixelBits(state.bkColour);
      if (brush.style == BS_PATTERN)
        m_surface->Xor(r, [&](int x, int y) { return (brush.pattern[y & 7] & (0x80 >> (x & 7))) ? back : fore; });
      else
        m_surface->Xor(r, [solid](int, int) { return solid; });
      break;
    }
    default: break;
  }
}

void CGdiDeviceCairo::DrawFocusRect(const RECT& r) {
  // The pixels of the frame, each once, every other one inverted.
  auto dotted = [](int x, int y) { return ((x + y) & 1) ? 0u : 0xFFFFFFu; };
  m_surface->Xor({r.left, r.top, r.right, r.top + 1}, dotted);
  if (r.bottom - 1 > r.top) m_surface->Xor({r.left, r.bottom - 1, r.right, r.bottom}, dotted);
  m_surface->Xor({r.left, r.top + 1, r.left + 1, r.bottom - 1}, dotted);
  if (r.right - 1 > r.left) m_surface->Xor({r.right - 1, r.top + 1, r.right, r.bottom - 1}, dotted);
}

void CGdiDeviceCairo::DrawPixels(int x, int y, int width, int height, const std::uint8_t* bgra,
                                 std::ptrdiff_t stride, bool blend) {
  Surface& s = *m_surface;
  if (!s.cr || !bgra) return;
  const int x0 = std::max(x, 0), x1 = int(std::min<long long>(static_cast<long long>(x) + width, s.width));
  const int y0 = std::max(y, 0), y1 = int(std::min<long long>(static_cast<long long>(y) + height, s.height));
  if (x1 <= x0 || y1 <= y0) return;
  // Straight into the surface's words: Cairo's ARGB32 is premultiplied like the blended
  // pixels, and copied pixels are opaque, so both keep their colours exactly.
  cairo_surface_flush(s.surface);
  unsigned char* data = cairo_image_surface_get_data(s.surface);
  const int surfaceStride = cairo_image_surface_get_stride(s.surface);
  for (int py = y0; py < y1; ++py) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + std::size_t(py) * std::size_t(surfaceStride));
    const std::uint8_t* source = bgra + std::ptrdiff_t(py - y) * stride + std::ptrdiff_t(x0 - x) * 4;
    for (int px = x0; px < x1; ++px, source += 4) {
      const std::uint32_t b = source[0], g = source[1], r = source[2], a = source[3];
      if (!blend) {
        row[px] = 0xFF000000u | (r << 16) | (g << 8) | b;
        continue;
      }
      if (a == 0) continue;
      // Source over: each channel of the surface keeps (255 - alpha) / 255 of itself.
      const std::uint32_t keep = 255 - a, word = row[px];
      auto over = [keep](std::uint32_t src, std::uint32_t dst) {
        return std::min<std::uint32_t>(255, src + (dst * keep + 127) / 255);
      };
      row[px] = (over(a, word >> 24) << 24) | (over(r, (word >> 16) & 0xFF) << 16) |
                (over(g, (word >> 8) & 0xFF) << 8) | over(b, word & 0xFF);
    }
  }
  cairo_surface_mark_dirty_rectangle(s.surface, x0, y0, x1 - x0, y1 - y0);
}

void CGdiDeviceCairo::TextOut(const GdiDrawState& state, int x, int y, UINT options, const RECT* rect,
                              const wchar_t* text, int count, const int* advances) {
  cairo_t* cr = m_surface->cr;
  if (!cr) return;
  cairo_save(cr);
  if (rect && (options & ETO_OPAQUE)) {
    AddRect(cr, rect->left, rect->top, rect->right, rect->bottom);
    FillColour(cr, state.bkColour);
  }
  cairo_gdi::CairoFont* font = count > 0 ? m_surface->fonts.Get(state.font) : nullptr;
  if (!font) {
    cairo_restore(cr);
    return;
  }
  if (rect && (options & ETO_CLIPPED)) {
    AddRect(cr, rect->left, rect->top, rect->right, rect->bottom);
    cairo_clip(cr);
  }
  // A slanted baseline turns about the reference point, counter-clockwise on screen.
  if (state.font.lfEscapement != 0) {
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -state.font.lfEscapement * kPi / 1800.0);
    cairo_translate(cr, -x, -y);
  }
  const TEXTMETRICW& metrics = font->Metrics();
  std::vector<cairo_glyph_t> glyphs(static_cast<std::size_t>(count));
  double pen = 0.0;
  for (int i = 0; i < count; ++i) {
    const cairo_gdi::CairoFont::Glyph& glyph = font->GlyphOf(text[i]);
    glyphs[std::size_t(i)] = {glyph.index, x + pen, double(y) + metrics.tmAscent};
    pen += advances ? advances[i] : glyph.advance;
  }
  const int width = int(pen);
  if (state.bkMode == OPAQUE) {
    AddRect(cr, x, y, x + width, y + metrics.tmHeight);
    FillColour(cr, state.bkColour);
  }
  SetSource(cr, state.textColour);
  cairo_set_scaled_font(cr, font->Scaled());
  cairo_show_glyphs(cr, glyphs.data(), count);
  // Underline and strike-out as whole-pixel bars in the text colour.
  const int thickness = std::max(1, int(std::lround(font->EmSize() * 0.045)));
  const int baseline = y + metrics.tmAscent;
  if (state.font.lfUnderline) {
    const int top = baseline + std::max(1, int(std::lround(font->EmSize() * 0.09)));
    AddRect(cr, x, top, x + width, top + thickness);
  }
  if (state.font.lfStrikeOut) {
    const int top = baseline - int(std::lround(font->EmSize() * 0.3));
    AddRect(cr, x, top, x + width, top + thickness);
  }
  FillColour(cr, state.textColour);
  cairo_restore(cr);
}

bool CGdiDeviceCairo::GetTextMetrics(const LOGFONTW& font, TEXTMETRICW& metrics) {
  const cairo_gdi::CairoFont* found = m_surface->fonts.Get(font);
  if (!found) return false;
  metrics = found->Metrics();
  return true;
}

bool CGdiDeviceCairo::GetTextExtent(const LOGFONTW& font, const wchar_t* text, int count, SIZE& extent) {
  cairo_gdi::CairoFont* found = m_surface->fonts.Get(font);
  if (!found) return false;
  LONG width = 0;
  for (int i = 0; i < count; ++i) width += found->GlyphOf(text[i]).advance;
  extent = {width, found->Metrics().tmHeight};
  return true;
}
