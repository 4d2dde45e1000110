// The colour utilities of IVRenderEx. Each rounding step below is part of the result that
// hosts and stored pictures depend on, so the steps are kept as they are, including which
// values are rounded to float and where whole numbers are truncated.
#include "vistal/render/IVRenderEx.h"

#include "host/gui/Gdi.h"

#include <cmath>

namespace {

// Fractions of white's distance from black, 3 * 255 * 255 = 195075.
constexpr DWORD kVeryDarkDistance = 9753;    // one twentieth
constexpr DWORD kDarkDistance = 97537;       // one half
constexpr DWORD kVeryLightDistance = 156060; // four fifths

constexpr DWORD kFullWeight = 65535;

COLORREF Channel(COLORREF c, int shift) { return (c >> shift) & 0xFF; }

// Scales one 8-bit channel. The product is rounded to float first, then truncated.
// A negative or NaN product leaves the channel at 0: the float-to-integer conversion
// of such a value has no defined result, and darkening cannot go below black.
COLORREF ScaleChannel(COLORREF channel, float f) {
  const float p = float(channel) * f;
  if (p > 255.0f) return 255;
  if (!(p > 0.0f)) return 0;
  return COLORREF(p);
}

}  // namespace

COLORREF IVRenderEx::InvertColorRGB(COLORREF c) {
  return ~c & 0xFFFFFF;
}

COLORREF IVRenderEx::InvertColorRGBA(COLORREF c) {
  return c ^ 0xFFFFFF;
}

COLORREF IVRenderEx::MixColorsRGBA(COLORREF c1, COLORREF c2, float f) {
  // The negated test also sends NaN to 0, so a NaN factor yields c2.
  if (!(f >= 0.0f)) f = 0.0f;
  if (f > 1.0f) f = 1.0f;
  // f * 65535 is rounded to float, then to the nearest whole number with halves up; the
  // half is added in double so that the addition itself cannot round.
  const float scaled = f * float(kFullWeight);
  const DWORD w1 = DWORD(double(scaled) + 0.5);
  const DWORD w2 = kFullWeight - w1;
  COLORREF result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    // At most 255 * 65535, so the sum fits and the quotient is a byte.
    const DWORD mixed = (Channel(c1, shift) * w1 + Channel(c2, shift) * w2) / kFullWeight;
    result |= mixed << shift;
  }
  return result;
}

COLORREF IVRenderEx::BrightenColorRBGA(COLORREF c, float f) {
  return (c & 0xFF000000) | ScaleChannel(Channel(c, 0), f) | (ScaleChannel(Channel(c, 8), f) << 8) |
         (ScaleChannel(Channel(c, 16), f) << 16);
}

COLORREF IVRenderEx::HighlightColorRBGA(COLORREF c, float f) {
  const DWORD d = gdi::GetColorDistanceFromBlack(c);
  if (d < kDarkDistance) {
    // Near-black has nothing to brighten: lift it to 60 % colour, 40 % white first
    // (black becomes 0x666666), keeping its alpha.
    if (d < kVeryDarkDistance) c = MixColorsRGBA(c, c | 0xFFFFFF, 0.6f);
    const float factor = f < 0.9f ? 2.0f - f : f;
    return BrightenColorRBGA(c, factor);
  }
  // Light colours: a brightening factor would be invisible on them, so it is turned into
  // a darkening one, (f - 1) + 0.1 formed in double and rounded to float once (1.2 -> 0.3).
  const bool darken = (d > kVeryLightDistance && f > 1.0f) || f > 1.5f;
  const float factor = darken ? float((double(f) - 1.0) + double(0.1f)) : f;
  return BrightenColorRBGA(c, factor);
}

COLORREF IVRenderEx::MakeGreyEquivalent(COLORREF c) {
  const DWORD q = gdi::GetColorDistanceFromBlack(c) / 3;
  // q <= 65025, so the double square root is within one of the integer root; the loops
  // settle the truncated root exactly.
  DWORD g = DWORD(std::sqrt(double(q)));
  while (g * g > q) --g;
  while ((g + 1) * (g + 1) <= q) ++g;
  return (g & 0xFF) * 0x010101;
}
