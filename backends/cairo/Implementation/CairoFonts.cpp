#include "backends/cairo/Implementation/CairoFonts.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace cairo_gdi {

namespace {

// The face for a description without one; fonts-dejavu-core is part of the build's
// dependencies, so fontconfig finds it on every machine the package is built for.
constexpr const char* kDefaultFace = "DejaVu Sans";
// GDI's height for lfHeight 0: the cell of the system font.
constexpr double kDefaultCellHeight = 16.0;

std::wstring FaceName(const LOGFONTW& font) {
  const std::size_t n = std::find(font.lfFaceName, font.lfFaceName + LF_FACESIZE, L'\0') - font.lfFaceName;
  return std::wstring(font.lfFaceName, n);
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// A scaled font of the face with an em of `em` pixels, `xScale` times as wide.
cairo_scaled_font_t* MakeScaled(cairo_font_face_t* face, double em, double xScale, const cairo_font_options_t* options) {
  cairo_matrix_t fontMatrix, identity;
  cairo_matrix_init_scale(&fontMatrix, em * xScale, em);
  cairo_matrix_init_identity(&identity);
  cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &fontMatrix, &identity, options);
  if (cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS) {
    cairo_scaled_font_destroy(scaled);
    return nullptr;
  }
  return scaled;
}

double AverageLowercaseAdvance(cairo_scaled_font_t* scaled) {
  cairo_text_extents_t extents;
  cairo_scaled_font_text_extents(scaled, "abcdefghijklmnopqrstuvwxyz", &extents);
  return extents.x_advance / 26.0;
}

}  // namespace

std::string ToUtf8(const wchar_t* text, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) AppendUtf8(out, char32_t(std::uint32_t(text[i])));
  return out;
}

CairoFont::CairoFont(const LOGFONTW& font) {
  std::wstring face = FaceName(font);
  const std::string family = face.empty() ? kDefaultFace : ToUtf8(face.data(), int(face.size()));
  m_face = cairo_toy_font_face_create(family.c_str(),
                                      font.lfItalic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                      font.lfWeight >= FW_SEMIBOLD ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  if (cairo_font_face_status(m_face) != CAIRO_STATUS_SUCCESS) return;

  // The face's own proportions, unhinted, turn GDI's heights into an em size: a negative
  // height is the em, a positive one the cell (ascent + descent).
  cairo_font_options_t* plain = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(plain, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(plain, CAIRO_HINT_STYLE_NONE);
  cairo_scaled_font_t* unit = MakeScaled(m_face, 100.0, 1.0, plain);
  if (!unit) {
    cairo_font_options_destroy(plain);
    return;
  }
  cairo_font_extents_t unitExtents;
  cairo_scaled_font_extents(unit, &unitExtents);
  const double cellPerEm = std::max((unitExtents.ascent + unitExtents.descent) / 100.0, 0.01);
  const double cell = font.lfHeight > 0 ? font.lfHeight : font.lfHeight == 0 ? kDefaultCellHeight : 0.0;
  m_em = font.lfHeight < 0 ? -double(font.lfHeight) : cell / cellPerEm;
  // A width asks for that average character width.
  const double naturalWidth = AverageLowercaseAdvance(unit) / 100.0 * m_em;
  // GDI's cell is exactly a positive lfHeight; the hinted extents could round it up.
  const LONG ascent = LONG(std::lround(unitExtents.ascent / 100.0 * m_em));
  const LONG descent =
      font.lfHeight > 0 ? font.lfHeight - ascent : LONG(std::lround(unitExtents.descent / 100.0 * m_em));
  const double xScale = font.lfWidth > 0 && naturalWidth > 0.0 ? font.lfWidth / naturalWidth : 1.0;
  cairo_scaled_font_destroy(unit);
  cairo_font_options_destroy(plain);

  // Hinted outlines and whole-pixel metrics, grey antialiasing unless asked for none.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_antialias(options, font.lfQuality == NONANTIALIASED_QUALITY ? CAIRO_ANTIALIAS_NONE
                                                                                     : CAIRO_ANTIALIAS_GRAY);
  m_scaled = MakeScaled(m_face, m_em, xScale, options);
  cairo_font_options_destroy(options);
  if (!m_scaled) return;

  cairo_font_extents_t extents;
  cairo_scaled_font_extents(m_scaled, &extents);
  TEXTMETRICW& tm = m_metrics;
  tm.tmAscent = ascent;
  tm.tmDescent = descent;
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - LONG(std::lround(m_em)));
  tm.tmExternalLeading = std::max<LONG>(0, LONG(std::lround(extents.height - extents.ascent - extents.descent)));
  tm.tmAveCharWidth = std::max<LONG>(1, LONG(std::lround(AverageLowercaseAdvance(m_scaled))));
  tm.tmMaxCharWidth = LONG(std::lround(extents.max_x_advance));
  tm.tmWeight = font.lfWeight == 0 ? FW_NORMAL : font.lfWeight;
  tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = L' ';
  tm.tmLastChar = 0xFFFC;
  tm.tmDefaultChar = 0xFFFD;
  tm.tmBreakChar = L' ';
  tm.tmItalic = font.lfItalic;
  tm.tmUnderlined = font.lfUnderline;
  tm.tmStruckOut = font.lfStrikeOut;
  tm.tmPitchAndFamily = BYTE((font.lfPitchAndFamily & 0xF0) | TMPF_VECTOR | TMPF_TRUETYPE |
                             ((font.lfPitchAndFamily & 0x3) == FIXED_PITCH ? 0 : TMPF_FIXED_PITCH));
  tm.tmCharSet = font.lfCharSet;
}

CairoFont::~CairoFont() {
  if (m_scaled) cairo_scaled_font_destroy(m_scaled);
  if (m_face) cairo_font_face_destroy(m_face);
}

const CairoFont::Glyph& CairoFont::GlyphOf(wchar_t c) {
  auto found = m_glyphs.find(c);
  if (found != m_glyphs.end()) return found->second;
  Glyph glyph;
  const std::string utf8 = ToUtf8(&c, 1);
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  if (cairo_scaled_font_text_to_glyphs(m_scaled, 0, 0, utf8.data(), int(utf8.size()), &glyphs, &count, nullptr,
                                       nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
      count > 0) {
    glyph.index = glyphs[0].index;
    cairo_text_extents_t extents;
    cairo_scaled_font_glyph_extents(m_scaled, glyphs, 1, &extents);
    glyph.advance = int(std::lround(extents.x_advance));
  }
  cairo_glyph_free(glyphs);
  return m_glyphs.emplace(c, glyph).first->second;
}

CairoFont* CairoFontCache::Get(const LOGFONTW& font) {
  const Key key{FaceName(font), font.lfHeight,  font.lfWidth, font.lfWeight >= FW_SEMIBOLD,
                font.lfItalic != 0,  font.lfQuality != NONANTIALIASED_QUALITY};
  auto& slot = m_fonts[key];
  if (!slot) slot = std::make_unique<CairoFont>(font);
  return slot->IsValid() ? slot.get() : nullptr;
}

}  // namespace cairo_gdi
