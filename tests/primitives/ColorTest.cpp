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

TEST(Color, InvertClearsOrKeepsAlpha) {
  EXPECT_EQ(IVRenderEx::InvertColorRGB(0x80FF0000), 0x0000FFFFu);
  EXPECT_EQ(IVRenderEx::InvertColorRGBA(0x80FF0000), 0x8000FFFFu);
  EXPECT_EQ(IVRenderEx::InvertColorRGB(0x00123456), 0x00EDCBA9u);
  EXPECT_EQ(IVRenderEx::InvertColorRGBA(0xFF123456), 0xFFEDCBA9u);
}

TEST(Color, MixClampsTheFactorAndTreatsNaNAsZero) {
  const COLORREF c1 = 0x11223344, c2 = 0xAABBCCDD;
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(c1, c2, 1.0f), c1);
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(c1, c2, 0.0f), c2);
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(c1, c2, 2.0f), c1);
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(c1, c2, 2.5f), c1);
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(c1, c2, kInf), c1);
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(c1, c2, -1.0f), c2);
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(c1, c2, -2.5f), c2);
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(c1, c2, -kInf), c2);
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(c1, c2, kNaN), c2);
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(c1, c2, -kNaN), c2);
}

TEST(Color, MixWeighsEveryByteAndTruncates) {
  // w = 16383.75 rounded = 16384; red: (0x44*16384 + 0xDD*49151) / 65535 = 182.75 -> 0xB6.
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(0x11223344, 0xAABBCCDD, 0.25f), 0x8394A5B6u);
  // Weights 32768 and 32767 (0.5 * 65535 = 32767.5 rounds up): both truncate to 0x7F.
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(0xFFFFFFFF, 0x00000000, 0.5f), 0x7F7F7F7Fu);
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(0x00000000, 0xFFFFFFFF, 0.5f), 0x7F7F7F7Fu);
}

TEST(Color, MixRoundsAHalfWeightAwayFromZero) {
  // This factor times 65535 is 32638.5 in float. Rounded up, w = 32639 = 127 * 257 and
  // each byte is 255 * w / 65535 = 127 exactly; rounding to even or truncating would
  // give w = 32638 and 126.
  const float f = 0.4980315864086151f;
  ASSERT_EQ(f * 65535.0f, 32638.5f);
  EXPECT_EQ(IVRenderEx::MixColorsRGBA(0xFFFFFFFF, 0x00000000, f), 0x7F7F7F7Fu);
}

TEST(Color, BrightenScalesTruncatesAndCapsKeepingAlpha) {
  EXPECT_EQ(IVRenderEx::BrightenColorRBGA(0x80102030, 2.0f), 0x80204060u);
  EXPECT_EQ(IVRenderEx::BrightenColorRBGA(0x12808080, 2.0f), 0x12FFFFFFu);  // 256 caps
  EXPECT_EQ(IVRenderEx::BrightenColorRBGA(0x00FF0101, 0.5f), 0x007F0000u);  // 127.5, 0.5
  EXPECT_EQ(IVRenderEx::BrightenColorRBGA(0x80102030, 2.5f), 0x80285078u);
  EXPECT_EQ(IVRenderEx::BrightenColorRBGA(0xC0345678, 1.0f), 0xC0345678u);
  // 2.5 and 3.5 truncate to 2 and 3: no rounding to nearest or to even.
  EXPECT_EQ(IVRenderEx::BrightenColorRBGA(0x00000705, 0.5f), 0x00000302u);
}

TEST(Color, BrightenRoundsTheProductToFloatBeforeTruncating) {
  // 3 * 1.66666663 = 4.99999988, which rounds to 5.0 in float before it is truncated.
  EXPECT_EQ(IVRenderEx::BrightenColorRBGA(0x00000003, 0x1.aaaaaap+0f), 0x00000005u);
}

TEST(Color, BrightenClampsNegativeAndNaNProductsAtZero) {
  EXPECT_EQ(IVRenderEx::BrightenColorRBGA(0x80102030, -2.5f), 0x80000000u);
  EXPECT_EQ(IVRenderEx::BrightenColorRBGA(0x00000705, -0.5f), 0x00000000u);  // -2.5, -3.5
  EXPECT_EQ(IVRenderEx::BrightenColorRBGA(0x80102030, -kInf), 0x80000000u);
  EXPECT_EQ(IVRenderEx::BrightenColorRBGA(0x80102030, kNaN), 0x80000000u);
  // 0 * inf is NaN: a black channel stays black.
  EXPECT_EQ(IVRenderEx::BrightenColorRBGA(0x80100030, kInf), 0x80FF00FFu);
}

TEST(Color, HighlightLiftsBlackAndDarkensWhite) {
  // Black mixes to 0x666666 (w = 39321 for 0.6, 255 * 26214 / 65535 = 102), then
  // 102 * 1.2 = 122.4 -> 0x7A.
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(0x00000000, 1.2f), 0x007A7A7Au);
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(0x80000000, 1.2f), 0x807A7A7Au);
  // White with 1.2 darkens by (1.2 - 1) + 0.1 = 0.30000005: 255 * that = 76.50001 -> 0x4C.
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(0x00FFFFFF, 1.2f), 0x004C4C4Cu);
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(0x40FFFFFF, 1.2f), 0x404C4C4Cu);
  // Factor exactly 1 is not a brightening one: white stays white.
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(0x00FFFFFF, 1.0f), 0x00FFFFFFu);
}

TEST(Color, HighlightOfALightColourTurnsLargeFactorsIntoDarkening) {
  // (136, 200, 248): d = 120000, light but not very light.
  const COLORREF c = 0x00F8C888;
  ASSERT_EQ(gdi::GetColorDistanceFromBlack(c), 120000u);
  // 1.2: 163.2, 240, 297.6 -> A3 F0 FF.
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(c, 1.2f), 0x00FFF0A3u);
  // 1.6 -> 0.70000005: 95.2, 140.00001, 173.6 -> 5F 8C AD.
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(c, 1.6f), 0x00AD8C5Fu);
}

TEST(Color, HighlightThresholdsSplitAtTheirExactDistances) {
  // d = 9752 is very dark and mixes with white first; d = 9753 does not.
  const COLORREF veryDark = 0x00620C02, dark = 0x00523702;
  ASSERT_EQ(gdi::GetColorDistanceFromBlack(veryDark), 9752u);
  ASSERT_EQ(gdi::GetColorDistanceFromBlack(dark), 9753u);
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(veryDark, 1.2f), 0x00C0827Bu);
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(dark, 1.2f), 0x00624202u);

  // Dark colours mirror a factor below 0.9 to 2 - f; 0.9 itself is used as it is.
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(dark, 0.9f), 0x00493101u);
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(dark, 0.89999992f), 0x005A3C02u);

  // d = 97536 is still dark (0.5 mirrors to 1.5); d = 97537 is light (0.5 darkens).
  const COLORREF lastDark = 0x00E0D040, firstLight = 0x00ECCC0F;
  ASSERT_EQ(gdi::GetColorDistanceFromBlack(lastDark), 97536u);
  ASSERT_EQ(gdi::GetColorDistanceFromBlack(firstLight), 97537u);
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(lastDark, 0.5f), 0x00FFFF60u);
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(firstLight, 0.5f), 0x00766607u);

  // Light colours brighten with 1.5 and darken with anything above it.
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(firstLight, 1.5f), 0x00FFFF16u);
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(firstLight, 1.50000012f), 0x008D7A09u);

  // Above 156060 (no colour has exactly that distance) any factor above 1 darkens.
  const COLORREF light = 0x00F7DBD9, veryLight = 0x00FCF6B3;
  ASSERT_EQ(gdi::GetColorDistanceFromBlack(light), 156059u);
  ASSERT_EQ(gdi::GetColorDistanceFromBlack(veryLight), 156061u);
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(light, 1.2f), 0x00FFFFFFu);
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(veryLight, 1.2f), 0x004B4935u);
}

TEST(Color, HighlightWithOutOfRangeFactorsStaysDefined) {
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(0x80FFFFFF, kNaN), 0x80000000u);
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(0x80FFFFFF, kInf), 0x80FFFFFFu);
  // -1 on a dark colour mirrors to 3; on a light one it clamps every channel at 0.
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(0x00523702, -1.0f), 0x00F6A506u);
  EXPECT_EQ(IVRenderEx::HighlightColorRBGA(0x00FFFFFF, -1.0f), 0x00000000u);
}

TEST(Color, GreyEquivalentKeepsRootMeanSquareStrength) {
  EXPECT_EQ(IVRenderEx::MakeGreyEquivalent(0x00FFFFFF), 0x00FFFFFFu);
  EXPECT_EQ(IVRenderEx::MakeGreyEquivalent(0x000000FF), 0x00939393u);  // sqrt(21675) = 147.2
  EXPECT_EQ(IVRenderEx::MakeGreyEquivalent(0x00808080), 0x00808080u);
  EXPECT_EQ(IVRenderEx::MakeGreyEquivalent(0xFF808080), 0x00808080u);
  EXPECT_EQ(IVRenderEx::MakeGreyEquivalent(0x00000000), 0x00000000u);
  // Truncation just below perfect squares: q = 16383 -> 127, q = 64855 -> 254.
  EXPECT_EQ(IVRenderEx::MakeGreyEquivalent(0x00D73603), 0x007F7F7Fu);  // d = 49150
  EXPECT_EQ(IVRenderEx::MakeGreyEquivalent(0x00FEFFFF), 0x00FEFEFEu);
}

}  // namespace
