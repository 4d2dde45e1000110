#pragma once
// Fonts for the Cairo device: a LOGFONTW becomes a Cairo scaled font found through
// fontconfig and drawn by FreeType, with GDI's size rules and whole-pixel advances, so that
// measures and drawing agree to the pixel.
#include "host/gdi/GdiTypes.h"

#include <cairo.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>

namespace cairo_gdi {

// Text as UTF-8 for Cairo; characters that are not Unicode scalar values become U+FFFD.
std::string ToUtf8(const wchar_t* text, int count);

class CairoFont {
public:
  CairoFont(const LOGFONTW& font);
  ~CairoFont();
  CairoFont(const CairoFont&) = delete;
  CairoFont& operator=(const CairoFont&) = delete;

  bool IsValid() const { return m_scaled != nullptr; }
  cairo_scaled_font_t* Scaled() const { return m_scaled; }
  const TEXTMETRICW& Metrics() const { return m_metrics; }
  double EmSize() const { return m_em; }

  struct Glyph {
    unsigned long index = 0;
    int advance = 0;  // whole pixels: GDI advances by whole pixels, without kerning
  };
  const Glyph& GlyphOf(wchar_t c);

private:
  cairo_font_face_t* m_face = nullptr;
  cairo_scaled_font_t* m_scaled = nullptr;
  TEXTMETRICW m_metrics{};
  double m_em = 0.0;
  std::unordered_map<wchar_t, Glyph> m_glyphs;
};

// The fonts used so far, one per distinct description.
class CairoFontCache {
public:
  // Null when Cairo cannot make the font.
  CairoFont* Get(const LOGFONTW& font);

private:
  // Face, height, width, bold, italic, antialiased: what makes two fonts differ here.
  using Key = std::tuple<std::wstring, LONG, LONG, bool, bool, bool>;
  std::map<Key, std::unique_ptr<CairoFont>> m_fonts;
};

}  // namespace cairo_gdi
