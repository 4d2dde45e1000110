// The colour utilities of IVRenderEx and the GUI library's distance from black they use.
// Expected words are worked out by hand from the byte layout: red is the low byte,
// then green, blue and alpha.
#include "host/gui/Gdi.h"
#include "vistal/render/IVRenderEx.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(Color, DistanceFromBlackSumsSquaredChannelsIgnoringAlpha) {
  EXPECT_EQ(gdi::GetColorDistanceFromBlack(0x000000), 0u);
  EXPECT_EQ(gdi::GetColorDistanceFromBlack(0xFF000000), 0u);
  EXPECT_EQ(gdi::GetColorDistanceFromBlack(0x030201), 1u + 4u + 9u);
  EXPECT_EQ(gdi::GetColorDistanceFromBlack(0xFFFFFF), 195075u);
}

// Every utility, one case a row: the colour, the factor where there is one, the result.
struct Case {
  const char* what;
  COLORREF (*apply)(COLORREF, float);
  COLORREF colour;
  float factor;
  COLORREF expected;
};

COLORREF InvertRGB(COLORREF c, float) { return IVRenderEx::InvertColorRGB(c); }
COLORREF InvertRGBA(COLORREF c, float) { return IVRenderEx::InvertColorRGBA(c); }
COLORREF Grey(COLORREF c, float) { return IVRenderEx::MakeGreyEquivalent(c); }
COLORREF MixWith0xAABBCCDD(COLORREF c, float f) { return IVRenderEx::MixColorsRGBA(c, 0xAABBCCDD, f); }
COLORREF MixWithBlack(COLORREF c, float f) { return IVRenderEx::MixColorsRGBA(c, 0x00000000, f); }
COLORREF WhiteMixedInto(COLORREF c, float f) { return IVRenderEx::MixColorsRGBA(0xFFFFFFFF, c, f); }
const auto Brighten = &IVRenderEx::BrightenColorRBGA;
const auto Highlight = &IVRenderEx::HighlightColorRBGA;

const Case kCases[] = {
    {"invert clears alpha", InvertRGB, 0x80FF0000, 0, 0x0000FFFF},
    {"invert keeps alpha", InvertRGBA, 0x80FF0000, 0, 0x8000FFFF},
    {"invert", InvertRGB, 0x00123456, 0, 0x00EDCBA9},

    // Factors clamp to 0..1, NaN counts as 0.
    {"mix 1", MixWith0xAABBCCDD, 0x11223344, 1.0f, 0x11223344},
    {"mix 0", MixWith0xAABBCCDD, 0x11223344, 0.0f, 0xAABBCCDD},
    {"mix 2", MixWith0xAABBCCDD, 0x11223344, 2.0f, 0x11223344},
    {"mix inf", MixWith0xAABBCCDD, 0x11223344, kInf, 0x11223344},
    {"mix -1", MixWith0xAABBCCDD, 0x11223344, -1.0f, 0xAABBCCDD},
    {"mix -inf", MixWith0xAABBCCDD, 0x11223344, -kInf, 0xAABBCCDD},
    {"mix NaN", MixWith0xAABBCCDD, 0x11223344, kNaN, 0xAABBCCDD},
    {"mix -NaN", MixWith0xAABBCCDD, 0x11223344, -kNaN, 0xAABBCCDD},
    // w = 16383.75 rounded = 16384; red: (0x44*16384 + 0xDD*49151) / 65535 = 182.75 -> 0xB6.
    {"mix weighs every byte and truncates", MixWith0xAABBCCDD, 0x11223344, 0.25f, 0x8394A5B6},
    // Weights 32768 and 32767 (0.5 * 65535 = 32767.5 rounds up): both truncate to 0x7F.
    {"mix half", MixWithBlack, 0xFFFFFFFF, 0.5f, 0x7F7F7F7F},
    {"mix half", WhiteMixedInto, 0x00000000, 0.5f, 0x7F7F7F7F},
    // This factor times 65535 is 32638.5 in float. Rounded up, w = 32639 = 127 * 257 and
    // each byte is 255 * w / 65535 = 127 exactly; rounding to even or truncating would
    // give w = 32638 and 126.
    {"mix rounds a half weight away from zero", MixWithBlack, 0xFFFFFFFF, 0.4980315864086151f, 0x7F7F7F7F},

    {"brighten", Brighten, 0x80102030, 2.0f, 0x80204060},
    {"brighten caps at 255", Brighten, 0x12808080, 2.0f, 0x12FFFFFF},
    {"brighten truncates 127.5 and 0.5", Brighten, 0x00FF0101, 0.5f, 0x007F0000},
    {"brighten by 1", Brighten, 0xC0345678, 1.0f, 0xC0345678},
    // 2.5 and 3.5 truncate to 2 and 3: no rounding to nearest or to even.
    {"brighten truncates", Brighten, 0x00000705, 0.5f, 0x00000302},
    // 3 * 1.66666663 = 4.99999988, which rounds to 5.0 in float before it is truncated.
    {"brighten rounds the product to float first", Brighten, 0x00000003, 0x1.aaaaaap+0f, 0x00000005},
    {"brighten clamps at 0", Brighten, 0x80102030, -2.5f, 0x80000000},
    {"brighten -inf", Brighten, 0x80102030, -kInf, 0x80000000},
    {"brighten NaN", Brighten, 0x80102030, kNaN, 0x80000000},
    // 0 * inf is NaN: a black channel stays black.
    {"brighten inf", Brighten, 0x80100030, kInf, 0x80FF00FF},

    // Black mixes to 0x666666 (w = 39321 for 0.6, 255 * 26214 / 65535 = 102), then
    // 102 * 1.2 = 122.4 -> 0x7A.
    {"highlight lifts black", Highlight, 0x00000000, 1.2f, 0x007A7A7A},
    {"highlight lifts black, keeping alpha", Highlight, 0x80000000, 1.2f, 0x807A7A7A},
    // White with 1.2 darkens by (1.2 - 1) + 0.1 = 0.30000005: 255 * that = 76.50001 -> 0x4C.
    {"highlight darkens white", Highlight, 0x00FFFFFF, 1.2f, 0x004C4C4C},
    {"highlight by exactly 1 is not brightening", Highlight, 0x00FFFFFF, 1.0f, 0x00FFFFFF},
    // (136, 200, 248): d = 120000, light but not very light. 1.2: 163.2, 240, 297.6; 1.6
    // becomes 0.70000005: 95.2, 140.00001, 173.6.
    {"highlight of a light colour", Highlight, 0x00F8C888, 1.2f, 0x00FFF0A3},
    {"highlight of a light colour darkens large factors", Highlight, 0x00F8C888, 1.6f, 0x00AD8C5F},
    // d = 9752 is very dark and mixes with white first; d = 9753 does not.
    {"highlight of a very dark colour", Highlight, 0x00620C02, 1.2f, 0x00C0827B},
    {"highlight of a dark colour", Highlight, 0x00523702, 1.2f, 0x00624202},
    // Dark colours mirror a factor below 0.9 to 2 - f; 0.9 itself is used as it is.
    {"highlight, dark, 0.9", Highlight, 0x00523702, 0.9f, 0x00493101},
    {"highlight, dark, just below 0.9", Highlight, 0x00523702, 0.89999992f, 0x005A3C02},
    // d = 97536 is still dark (0.5 mirrors to 1.5); d = 97537 is light (0.5 darkens).
    {"highlight, last dark", Highlight, 0x00E0D040, 0.5f, 0x00FFFF60},
    {"highlight, first light", Highlight, 0x00ECCC0F, 0.5f, 0x00766607},
    // Light colours brighten with 1.5 and darken with anything above it.
    {"highlight, light, 1.5", Highlight, 0x00ECCC0F, 1.5f, 0x00FFFF16},
    {"highlight, light, just above 1.5", Highlight, 0x00ECCC0F, 1.50000012f, 0x008D7A09},
    // Above 156060 (no colour has exactly that distance) any factor above 1 darkens.
    {"highlight, d = 156059", Highlight, 0x00F7DBD9, 1.2f, 0x00FFFFFF},
    {"highlight, d = 156061", Highlight, 0x00FCF6B3, 1.2f, 0x004B4935},
    {"highlight NaN", Highlight, 0x80FFFFFF, kNaN, 0x80000000},
    {"highlight inf", Highlight, 0x80FFFFFF, kInf, 0x80FFFFFF},
    // -1 on a dark colour mirrors to 3; on a light one it clamps every channel at 0.
    {"highlight -1, dark", Highlight, 0x00523702, -1.0f, 0x00F6A506},
    {"highlight -1, light", Highlight, 0x00FFFFFF, -1.0f, 0x00000000},

    {"grey of white", Grey, 0x00FFFFFF, 0, 0x00FFFFFF},
    {"grey of red", Grey, 0x000000FF, 0, 0x00939393},  // sqrt(21675) = 147.2
    {"grey of grey", Grey, 0x00808080, 0, 0x00808080},
    {"grey drops alpha", Grey, 0xFF808080, 0, 0x00808080},
    {"grey of black", Grey, 0x00000000, 0, 0x00000000},
    // Truncation just below perfect squares: q = 16383 -> 127, q = 64855 -> 254.
    {"grey, d = 49150", Grey, 0x00D73603, 0, 0x007F7F7F},
    {"grey", Grey, 0x00FEFFFF, 0, 0x00FEFEFE},
};

TEST(Color, UtilitiesRoundTruncateAndClampAsWorkedOutByHand) {
  // The distances the highlight rows are chosen at.
  const std::pair<COLORREF, unsigned> distances[] = {{0x00F8C888, 120000}, {0x00620C02, 9752},   {0x00523702, 9753},
                                                     {0x00E0D040, 97536},  {0x00ECCC0F, 97537},  {0x00F7DBD9, 156059},
                                                     {0x00FCF6B3, 156061}};
  for (auto [colour, d] : distances) ASSERT_EQ(gdi::GetColorDistanceFromBlack(colour), d) << std::hex << colour;
  ASSERT_EQ(0.4980315864086151f * 65535.0f, 32638.5f);

  for (const Case& c : kCases)
    EXPECT_EQ(c.apply(c.colour, c.factor), c.expected) << c.what << ", 0x" << std::hex << c.colour << ", " << c.factor;
}

}  // namespace
