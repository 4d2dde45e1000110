// The Cairo drawing device: GDI's pixel rules checked pixel by pixel, and the overlay
// helpers of IVRenderEx drawn onto a frame and compared with reference pictures.
#include "backends/cairo/CGdiDeviceCairo.h"
#include "backends/cairo/Implementation/ArgbPixels.h"
#include "host/core/QNGlobals.h"
#include "host/gdi/CDeviceDC.h"
#include "host/gdi/WinUser.h"
#include "tests/gl/CompareImage.h"
#include "vistal/render/IVRenderEx.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>
#include <vector>

namespace {

// Cairo and fontconfig keep process-wide caches of the font faces they resolved, which the
// leak checker would report. Emptying them after the last test (every device is gone by
// then) leaves it what the device itself failed to release: surfaces, contexts, patterns.
// (Scaled fonts stay Cairo's to cache, so a font the device kept would not show.)
class ReleaseFontCaches : public ::testing::Environment {
public:
  void TearDown() override {
    cairo_debug_reset_static_data();
    FcFini();
  }
};
[[maybe_unused]] ::testing::Environment* const g_release_font_caches =
    ::testing::AddGlobalTestEnvironment(new ReleaseFontCaches);

// Shapes are drawn without antialiasing by rules of our own: any changed pixel is a change
// of those rules and must be looked at.
constexpr ImageTolerance kShapeTolerance{0, 0.0};
// Text goes through FreeType's hinting and antialiasing, which may move a few grey levels
// after a library update; a glyph in the wrong place or colour moves far more.
constexpr ImageTolerance kTextTolerance{48, 0.6};

// A stand-in for a rendered 3D frame: an opaque gradient, so that drawing over it and
// inverting it are both visible.
MImageRGBA Frame(unsigned width, unsigned height) {
  MImageRGBA image(width, height);
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x) {
      std::uint8_t* p = image.Pixel(x, y);
      p[0] = std::uint8_t(40 + 150 * x / width);
      p[1] = std::uint8_t(60 + 120 * y / height);
      p[2] = 110;
      p[3] = 255;
    }
  return image;
}

MImageRGBA Plain(unsigned width, unsigned height, COLORREF colour) {
  MImageRGBA image(width, height);
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x) {
      std::uint8_t* p = image.Pixel(x, y);
      p[0] = GetRValue(colour), p[1] = GetGValue(colour), p[2] = GetBValue(colour), p[3] = 255;
    }
  return image;
}

COLORREF At(const MImageRGBA& image, unsigned x, unsigned y) {
  const std::uint8_t* p = image.Pixel(x, y);
  return RGB(p[0], p[1], p[2]);
}

// The pixels of the given colour.
std::set<std::pair<int, int>> PixelsOf(const MImageRGBA& image, COLORREF colour) {
  std::set<std::pair<int, int>> out;
  for (unsigned y = 0; y < image.Height(); ++y)
    for (unsigned x = 0; x < image.Width(); ++x)
      if (At(image, x, y) == colour) out.insert({int(x), int(y)});
  return out;
}

std::set<std::pair<int, int>> Box(int left, int top, int right, int bottom) {
  std::set<std::pair<int, int>> out;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) out.insert({x, y});
  return out;
}

bool SamePixels(const MImageRGBA& a, const MImageRGBA& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::memcmp(a.Data(), b.Data(), std::size_t(a.Width()) * a.Height() * 4) == 0;
}

constexpr COLORREF kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

TEST(CairoDevice, LineLeavesOutItsEndPixel) {
  struct Case {
    POINT from, to;
    std::set<std::pair<int, int>> pixels;
  };
  const Case cases[] = {
      {{2, 3}, {7, 3}, {{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}}},
      {{7, 3}, {2, 3}, {{7, 3}, {6, 3}, {5, 3}, {4, 3}, {3, 3}}},
      {{1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}}},
      {{5, 6}, {5, 2}, {{5, 6}, {5, 5}, {5, 4}, {5, 3}}},
      // A shallow slope: one pixel per column, the end column left out.
      {{0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
  };
  for (const Case& c : cases) {
    MImageRGBA image = Plain(10, 8, kWhite);
    {
      CGdiDeviceCairo device(image);
      CDeviceDC dc(device);
      CPen pen(PS_SOLID, 0, kRed);
      dc.SelectObject(&pen);
      dc.MoveTo(c.from);
      dc.LineTo(c.to);
    }
    EXPECT_EQ(PixelsOf(image, kRed), c.pixels) << "line (" << c.from.x << "," << c.from.y << ") to (" << c.to.x << ","
                                               << c.to.y << ")";
  }
}

TEST(CairoDevice, WithoutAPenRectangleAndEllipseLoseTheLastRowAndColumn) {
  for (bool ellipse : {false, true}) {
    MImageRGBA image = Plain(12, 10, kWhite);
    {
      CGdiDeviceCairo device(image);
      CDeviceDC dc(device);
      CBrush brush(kBlue);
      dc.SelectObject(&brush);
      dc.SelectStockObject(NULL_PEN);
      ellipse ? dc.Ellipse(2, 1, 6, 5) : dc.Rectangle(2, 1, 6, 5);
    }
    const auto blue = PixelsOf(image, kBlue);
    EXPECT_FALSE(blue.empty());
    for (const auto& p : blue) EXPECT_TRUE(Box(2, 1, 5, 4).count(p)) << "pixel (" << p.first << "," << p.second << ")";
    if (!ellipse) {
      EXPECT_EQ(blue, Box(2, 1, 5, 4));
    }
  }
}

TEST(CairoDevice, ScreenAndPrintableFillsCoverTheSamePixels) {
  const std::uint32_t saved = QNGlobals::mg_statesflags;
  const CRect rect(3, 2, 9, 7);
  std::set<std::pair<int, int>> covered[2];
  for (int printable = 0; printable < 2; ++printable) {
    QNGlobals::mg_statesflags = printable ? (QNGlobals::eStatePrintableOutput | QNGlobals::eStatePrintInColour) : 0;
    MImageRGBA image = Plain(12, 10, kWhite);
    {
      CGdiDeviceCairo device(image);
      CDeviceDC dc(device);
      IVRenderEx::FillSolidRectPrintable(dc, &rect, kRed);
    }
    covered[printable] = PixelsOf(image, kRed);
  }
  QNGlobals::mg_statesflags = saved;
  EXPECT_EQ(covered[0], Box(3, 2, 9, 7));
  EXPECT_EQ(covered[1], covered[0]);
}

TEST(CairoDevice, InvertingTwiceRestoresEveryPixel) {
  const MImageRGBA original = Frame(40, 30);
  MImageRGBA image = original;
  MImageRGBA once;
  {
    CGdiDeviceCairo device(image);
    CDeviceDC dc(device);
    const CRect focus(30, 25, 5, 4);  // reversed corners
    IVRenderEx::DrawFocusRectNormalized(dc, focus);
    const RECT drag{8, 6, 33, 24};
    dc.DrawDragRect(&drag, {3, 2}, nullptr, {0, 0});
    dc.InvertRect(&drag);
    device.Flush();
    once = image;
    IVRenderEx::DrawFocusRectNormalized(dc, focus);
    dc.DrawDragRect(&drag, {3, 2}, nullptr, {0, 0});
    dc.InvertRect(&drag);
  }
  EXPECT_FALSE(SamePixels(once, original));
  EXPECT_TRUE(SamePixels(image, original));
}

TEST(CairoDevice, PixelsPassBetweenImageAndCairoUnchangedWhenOpaque) {
  for (unsigned v = 0; v < 256; v += 15) {
    const std::uint8_t rgba[4] = {std::uint8_t(v), std::uint8_t(255 - v), std::uint8_t(v / 2), 255};
    std::uint8_t back[4];
    cairo_gdi::Argb32ToRgba(cairo_gdi::RgbaToArgb32(rgba), back);
    EXPECT_EQ(0, std::memcmp(rgba, back, 4)) << v;
  }
  // Translucent: red sits in bits 16-23 premultiplied, and a second trip changes nothing.
  const std::uint8_t half[4] = {200, 100, 50, 128};
  const std::uint32_t word = cairo_gdi::RgbaToArgb32(half);
  EXPECT_EQ(word >> 24, 128u);
  EXPECT_EQ((word >> 16) & 0xFF, (200u * 128 + 127) / 255);
  std::uint8_t back[4];
  cairo_gdi::Argb32ToRgba(word, back);
  EXPECT_EQ(cairo_gdi::RgbaToArgb32(back), word);
}

// A 3 by 2 DIB, its pixels named by where they show, top row first.
constexpr COLORREF kDibShown[2][3] = {{RGB(16, 32, 48), RGB(64, 80, 96), RGB(112, 128, 144)},
                                      {RGB(160, 176, 192), RGB(208, 224, 240), RGB(10, 11, 12)}};

// The DIB's bytes in its own row order and bit depth, rows padded to 32 bits; the fourth
// byte of a 32-bit pixel is left at 0, which the device ignores.
std::vector<std::uint8_t> DibBytes(bool topDown, int bits) {
  const int bytes = bits / 8, stride = (3 * bytes + 3) / 4 * 4;
  std::vector<std::uint8_t> out(std::size_t(stride) * 2);
  for (int row = 0; row < 2; ++row)
    for (int x = 0; x < 3; ++x) {
      const COLORREF shown = kDibShown[topDown ? row : 1 - row][x];
      std::uint8_t* p = &out[std::size_t(row * stride + x * bytes)];
      p[0] = GetBValue(shown), p[1] = GetGValue(shown), p[2] = GetRValue(shown);
    }
  return out;
}

TEST(CairoDevice, DibPixelsLandExactlyInEitherRowOrder) {
  struct Case {
    bool topDown;
    int bits;
    int x, y;             // where the DIB goes
    UINT start, lines;    // the band of scan lines passed
    int shownRows;        // rows of kDibShown that land: 1 top, 2 bottom, 3 both
  };
  const Case cases[] = {
      {true, 32, 2, 1, 0, 2, 3},  {false, 32, 2, 1, 0, 2, 3}, {true, 24, 2, 1, 0, 2, 3},
      {false, 24, -1, 1, 0, 2, 3},  // clipped at the left edge
      {false, 32, 2, 1, 1, 1, 1},   // bottom-up: scan line 1 is the top row
      {true, 32, 2, 1, 1, 1, 2},    // top-down: scan line 1 is the bottom row
  };
  for (const Case& c : cases) {
    MImageRGBA image = Plain(8, 4, kWhite);
    {
      CGdiDeviceCairo device(image);
      CDeviceDC dc(device);
      BITMAPINFO info{};
      info.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, c.topDown ? -2 : 2, 1, WORD(c.bits), BI_RGB, 0, 0, 0, 0, 0};
      const std::vector<std::uint8_t> all = DibBytes(c.topDown, c.bits);
      const std::size_t stride = all.size() / 2;
      EXPECT_EQ(SetDIBitsToDevice(dc, c.x, c.y, 3, 2, 0, 0, c.start, c.lines, all.data() + c.start * stride, &info,
                                  DIB_RGB_COLORS),
                int(c.lines));
    }
    for (unsigned y = 0; y < image.Height(); ++y)
      for (unsigned x = 0; x < image.Width(); ++x) {
        const int column = int(x) - c.x, row = int(y) - c.y;
        const bool inside = column >= 0 && column < 3 && row >= 0 && row < 2 && (c.shownRows & (1 << row));
        EXPECT_EQ(At(image, x, y), inside ? kDibShown[row][column] : kWhite)
            << "top-down " << c.topDown << " bits " << c.bits << " band " << c.start << " at " << x << "," << y;
        EXPECT_EQ(image.Pixel(x, y)[3], 255);
      }
  }
}

TEST(CairoDevice, AlphaBlendKeepsTransparentPixelsAndBitBltCopies) {
  // Premultiplied blue, green, red, alpha: transparent, opaque red, half-covering blue.
  const std::uint8_t bits[3][4] = {{0, 0, 0, 0}, {0, 0, 255, 255}, {128, 0, 0, 128}};
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateBitmap(3, 1, 1, 32, bits));
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
  memory.SelectObject(&bitmap);
  MImageRGBA image = Plain(3, 2, kWhite);
  {
    CGdiDeviceCairo device(image);
    CDeviceDC dc(device);
    EXPECT_TRUE(dc.AlphaBlend(0, 0, 3, 1, &memory, 0, 0, 3, 1, {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
    EXPECT_TRUE(dc.BitBlt(0, 1, 3, 1, &memory, 0, 0, SRCCOPY));
  }
  EXPECT_EQ(At(image, 0, 0), kWhite);
  EXPECT_EQ(At(image, 1, 0), kRed);
  EXPECT_EQ(At(image, 2, 0), RGB(127, 127, 255));  // half white, half blue
  EXPECT_EQ(At(image, 0, 1), RGB(0, 0, 0));        // a copy ignores alpha
  EXPECT_EQ(At(image, 2, 1), RGB(0, 0, 128));
  EXPECT_EQ(image.Pixel(0, 1)[3], 255);
}

TEST(CairoDevice, EmptyImageMeasuresButDrawsNothing) {
  MImageRGBA empty;
  CGdiDeviceCairo device(empty);
  CDeviceDC dc(device);
  EXPECT_TRUE(dc.Rectangle(0, 0, 10, 10));
  EXPECT_TRUE(dc.TextOut(0, 0, L"text", 4));
  EXPECT_GT(dc.GetTextExtent(L"text", 4).cx, 0);
  EXPECT_TRUE(empty.Empty());
}

TEST(CairoDevice, DefaultGuiFontMeasuresAsElevenPixelDejaVu) {
  MImageRGBA image(8, 8);
  CGdiDeviceCairo device(image);
  CDeviceDC dc(device);
  dc.SelectStockObject(DEFAULT_GUI_FONT);
  TEXTMETRICW metrics{};
  ASSERT_TRUE(dc.GetTextMetrics(&metrics));
  EXPECT_EQ(metrics.tmHeight, metrics.tmAscent + metrics.tmDescent);
  EXPECT_GE(metrics.tmHeight, 12);
  EXPECT_LE(metrics.tmHeight, 14);
  // Whole-pixel advances: a run measures as the sum of its characters.
  const CSize ab = dc.GetTextExtent(L"ab", 2), a = dc.GetTextExtent(L"a", 1), b = dc.GetTextExtent(L"b", 1);
  EXPECT_EQ(ab.cx, a.cx + b.cx);
  EXPECT_EQ(ab.cy, metrics.tmHeight);
  // A positive height is the cell height.
  LOGFONTW description{};
  description.lfHeight = 15;
  CFont font;
  font.CreateFontIndirect(&description);
  dc.SelectObject(&font);
  ASSERT_TRUE(dc.GetTextMetrics(&metrics));
  EXPECT_EQ(metrics.tmHeight, 15);
  dc.SelectStockObject(SYSTEM_FONT);
}

// The overlay helpers onto a frame, with the reference pictures in tests/gdi/reference.

MImageRGBA ArrowPicture(CPoint from, CPoint to) {
  MImageRGBA image = Frame(64, 48);
  CGdiDeviceCairo device(image);
  {
    CDeviceDC dc(device);
    dc.SetTextColor(RGB(255, 220, 0));
    dc.SetBkColor(RGB(20, 20, 60));
    const CRect keepInside(0, 0, 64, 48);
    IVRenderEx::DrawBoldArrow(dc, from, to, &keepInside);
  }
  device.Flush();
  return image;
}

TEST(Picture, BoldArrowPointsAtItsTarget) {
  const MImageRGBA image = ArrowPicture({6, 40}, {54, 12});
  EXPECT_EQ(At(image, 54, 12), RGB(255, 220, 0));  // the tip is drawn
  EXPECT_TRUE(CompareWithReference(image, "bold_arrow", kShapeTolerance));
}

TEST(Picture, OutlinedAndDisabledText) {
  MImageRGBA image = Frame(112, 40);
  {
    CGdiDeviceCairo device(image);
    CDeviceDC dc(device);
    LOGFONTW description;
    IVRenderEx::InitLOGFONT(description, L"DejaVu Sans");
    CFont font;
    IVRenderEx::CreateGdiFont(font, dc, description, 0.0f);  // 4 mm: a 15-pixel cell
    dc.SelectObject(&font);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetBkColor(RGB(0, 0, 0));
    const CRect top(0, 0, 112, 20), bottom(0, 20, 112, 40);
    IVRenderEx::DrawTextOutlined(dc, 1, L"Outline", top, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SetBkMode(TRANSPARENT);
    IVRenderEx::DrawTextDisabled(dc, L"Disabled", -1, bottom, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0);
    dc.SelectStockObject(SYSTEM_FONT);
  }
  EXPECT_TRUE(CompareWithReference(image, "outlined_text", kTextTolerance));
}

TEST(Picture, RectangleAndEllipseWithPenAndBrush) {
  MImageRGBA image = Frame(64, 48);
  {
    CGdiDeviceCairo device(image);
    CDeviceDC dc(device);
    CPen thin(PS_SOLID, 0, RGB(255, 255, 255));
    CBrush blue(RGB(30, 60, 200));
    dc.SelectObject(&thin);
    dc.SelectObject(&blue);
    dc.Rectangle(4, 4, 28, 22);
    CPen thick(PS_SOLID, 3, RGB(250, 200, 0));
    CBrush green(RGB(40, 170, 60));
    dc.SelectObject(&thick);
    dc.SelectObject(&green);
    dc.Ellipse(32, 6, 60, 30);
    CPen dotted(PS_DOT, 0, RGB(0, 0, 0));
    dc.SelectObject(&dotted);
    dc.SetBkMode(TRANSPARENT);
    CBrush red(RGB(220, 40, 40));
    dc.SelectObject(&red);
    dc.Ellipse(8, 26, 24, 42);
    dc.Rectangle(32, 34, 60, 44);
    dc.SelectStockObject(BLACK_PEN);
    dc.SelectStockObject(WHITE_BRUSH);
  }
  EXPECT_TRUE(CompareWithReference(image, "pen_and_brush", kShapeTolerance));
}

TEST(Picture, FocusAndDragFrames) {
  MImageRGBA image = Frame(48, 32);
  {
    CGdiDeviceCairo device(image);
    CDeviceDC dc(device);
    IVRenderEx::DrawFocusRectNormalized(dc, CRect(40, 26, 6, 4));
    const RECT drag{12, 9, 34, 21};
    CBrush white(RGB(255, 255, 255));
    dc.DrawDragRect(&drag, {2, 2}, nullptr, {1, 1}, &white, &white);
  }
  EXPECT_TRUE(CompareWithReference(image, "focus_frames", kShapeTolerance));
}

}  // namespace
