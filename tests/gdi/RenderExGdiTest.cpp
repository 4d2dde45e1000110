// The GDI helpers of IVRenderEx against the recording device: the calls they make, the
// state each is drawn with, what they put back, and their rounding.
#include "host/core/QNGlobals.h"
#include "host/gdi/CDeviceDC.h"
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinUser.h"
#include "testing/RecordingDC.h"
#include "tests/gdi/GdiTestSupport.h"
#include "vistal/render/IVRenderEx.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, int>> Points(const GdiCall& call) {
  std::vector<std::pair<int, int>> out;
  for (const POINT& p : call.points) out.push_back({p.x, p.y});
  return out;
}

TEST(DrawTextDisabled, EmbossesWithHighlightThenShadowAndRestoresAndPlainDrawsOnce) {
  TenPixelFontDC f;
  f.dc.SetTextColor(0x112233);
  EXPECT_EQ(IVRenderEx::DrawTextDisabled(f.dc, nullptr, -1, CRect(0, 0, 10, 10), 0, 0), 0);
  EXPECT_TRUE(f.device.Calls().empty());
  const int bottom =
      IVRenderEx::DrawTextDisabled(f.dc, L"abcdef", 3, CRect(10, 20, 110, 60), DT_SINGLELINE | DT_VCENTER, 0);
  EXPECT_EQ(bottom, 25);  // the last DrawTextW's answer: offset from the top to the text's bottom
  const auto texts = f.device.CallsOf(EGdiCall::TextOut);
  ASSERT_EQ(texts.size(), 2u);
  // The highlight copy one pixel down and right, in the caller's background mode.
  EXPECT_EQ(std::make_pair(texts[0].x, texts[0].y), std::make_pair(11, 36));
  EXPECT_EQ(texts[0].state.textColour, GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(texts[0].state.bkMode, OPAQUE);
  EXPECT_EQ(texts[0].text, L"abc");
  EXPECT_EQ(std::make_pair(texts[1].x, texts[1].y), std::make_pair(10, 35));
  EXPECT_EQ(texts[1].state.textColour, GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(texts[1].state.bkMode, TRANSPARENT);
  EXPECT_EQ(f.dc.GetTextColor(), 0x112233u);
  EXPECT_EQ(f.dc.GetBkMode(), OPAQUE);

  f.device.Clear();
  EXPECT_EQ(IVRenderEx::DrawTextDisabled(f.dc, L"abc", -1, CRect(0, 0, 100, 30), DT_SINGLELINE, 1), 10);
  const auto plain = f.device.CallsOf(EGdiCall::TextOut);
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(std::make_tuple(plain[0].text, plain[0].state.textColour, plain[0].state.bkMode),
            std::make_tuple(std::wstring(L"abc"), COLORREF(0x112233), OPAQUE));
}

TEST(DrawTextOutlined, RingsTheTextInTheBackgroundColourAndRestores) {
  struct Case {
    UINT width;
    std::size_t outlineCopies;
  };
  for (const Case c : {Case{0, 0}, Case{1, 8}, Case{2, 24}}) {
    TenPixelFontDC f;
    f.dc.SetTextColor(0x0000FF);
    f.dc.SetBkColor(0x00FF00);
    IVRenderEx::DrawTextOutlined(f.dc, c.width, L"ab", CRect(10, 10, 60, 30), 0);
    const auto texts = f.device.CallsOf(EGdiCall::TextOut);
    ASSERT_EQ(texts.size(), c.outlineCopies + 1) << "width " << c.width;
    std::vector<std::pair<int, int>> walk;
    for (std::size_t i = 0; i < c.outlineCopies; ++i) {
      EXPECT_EQ(texts[i].state.textColour, 0x00FF00u);
      EXPECT_EQ(texts[i].state.bkMode, TRANSPARENT);
      walk.push_back({texts[i].x - 10, texts[i].y - 10});
    }
    const std::set<std::pair<int, int>> offsets(walk.begin(), walk.end());
    EXPECT_EQ(offsets.size(), c.outlineCopies);  // each pixel of the rings once
    if (c.width == 1) {  // the first ring walks clockwise from the top
      EXPECT_EQ(walk,
                (std::vector<std::pair<int, int>>{{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}}));
    }
    for (const auto& [dx, dy] : offsets) EXPECT_LE(std::max(std::abs(dx), std::abs(dy)), int(c.width));
    EXPECT_EQ(std::make_pair(texts.back().x, texts.back().y), std::make_pair(10, 10));
    EXPECT_EQ(texts.back().state.textColour, 0x0000FFu);
    EXPECT_EQ(texts.back().state.bkMode, TRANSPARENT);
    EXPECT_EQ(f.dc.GetTextColor(), 0x0000FFu);
    EXPECT_EQ(f.dc.GetBkMode(), OPAQUE);
  }
}

TEST(CreateGdiFont, SizesTheFontInMillimetresAsACellHeight) {
  struct Case {
    int dpi;
    LONG descriptionHeight;
    float heightMm;
    LONG pixels;
  };
  const Case cases[] = {
      {96, 4, 0.0f, 15},          // InitLOGFONT's 4 mm: 15.12
      {96, 4, -3.0f, 15},         // no height given: the description's
      {96, 4, 0.0003f, 15},       // below the threshold counts as none
      {96, -4, 0.0f, 15},         // the magnitude of the millimetres
      {96, 4, 25.4f, 96},
      {300, 4, 0.0f, 47},         // 47.24
      {96, 4, 0.13229167f, 1},    // half a pixel rounds up
  };
  for (const Case& c : cases) {
    RecordingDC device;
    device.SetResolution(c.dpi, c.dpi);
    CDeviceDC dc(device);
    LOGFONTW description;
    IVRenderEx::InitLOGFONT(description, nullptr);
    description.lfHeight = c.descriptionHeight;
    description.lfWidth = 7;
    CFont font;
    font.CreateStockObject(ANSI_VAR_FONT);  // replaced, never deleted: it is a stock object
    IVRenderEx::CreateGdiFont(font, dc, description, c.heightMm);
    LOGFONTW made{};
    ASSERT_EQ(font.GetLogFont(&made), int(sizeof(LOGFONTW)));
    EXPECT_EQ(made.lfHeight, c.pixels) << c.dpi << " dpi, " << c.heightMm << " mm";
    EXPECT_EQ(made.lfWidth, 0);
    EXPECT_EQ(GetObjectType(GetStockObject(ANSI_VAR_FONT)), OBJ_FONT);
  }
  // A font held before is deleted. (Its handle value may come back for the new font, so
  // the test looks for the old description behind it.)
  RecordingDC device;
  CDeviceDC dc(device);
  LOGFONTW description;
  IVRenderEx::InitLOGFONT(description, L"DejaVu Sans");
  description.lfHeight = 77;
  CFont font;
  font.CreateFontIndirect(&description);
  HGDIOBJ before = font.m_hObject;
  IVRenderEx::CreateGdiFont(font, dc, description, 2.0f);
  EXPECT_NE(font.m_hObject, nullptr);
  LOGFONTW behind{};
  GetObjectW(before, sizeof(behind), &behind);
  EXPECT_NE(behind.lfHeight, 77);
}

TEST(InitLOGFONT, DescribesTheGuiFontWithTheGivenFace) {
  LOGFONTW description;
  std::memset(&description, 0xAB, sizeof(description));
  IVRenderEx::InitLOGFONT(description, L"A face name that is far longer than thirty-one characters");
  EXPECT_EQ(std::wstring(description.lfFaceName), L"A face name that is far longer ");
  // Every field but the face, as one value: the GUI font's description at 4 (mm).
  LOGFONTW expected{};
  expected.lfHeight = 4, expected.lfWeight = 400, expected.lfOutPrecision = 7, expected.lfPitchAndFamily = 0x20;
  std::memcpy(expected.lfFaceName, description.lfFaceName, sizeof expected.lfFaceName);
  EXPECT_EQ(std::memcmp(&description, &expected, sizeof expected), 0);
  IVRenderEx::InitLOGFONT(description, nullptr);
  EXPECT_EQ(std::wstring(description.lfFaceName), L"DejaVu Sans");
}

TEST(Conversions, MillimetresAndPixelsPerAxis) {
  RecordingDC device;
  device.SetResolution(96, 300);
  CDeviceDC dc(device);
  EXPECT_EQ(IVRenderEx::ConvertMmToPointsInX(dc, 25.4f), 96);
  EXPECT_EQ(IVRenderEx::ConvertMmToPointsInX(dc, 1.0f), 4);    // 3.78
  EXPECT_EQ(IVRenderEx::ConvertMmToPointsInX(dc, -1.0f), -4);  // halves and more away from zero
  EXPECT_EQ(IVRenderEx::ConvertMmToPointsInY(dc, 1.0f), 12);   // 11.81 at 300 dpi
  EXPECT_EQ(IVRenderEx::ConvertPointsToMmInX(dc, 96), 25.4f);
  EXPECT_EQ(IVRenderEx::ConvertPointsToMmInX(dc, 4), float(4.0 / 96.0 * double(25.4f)));
  EXPECT_EQ(IVRenderEx::ConvertPointsToMmInY(dc, 300), 25.4f);
  EXPECT_EQ(IVRenderEx::ConvertPointsToMmInY(nullptr, 300), 0.0f);  // no device, no resolution
  EXPECT_EQ(IVRenderEx::ConvertMmToPointsInY(nullptr, 5.0f), 0);
}

TEST(DrawBoldArrow, PlacesTheSevenPointsAndWipesUnderThem) {
  struct Case {
    CPoint from, to;
    std::vector<std::pair<int, int>> points;
    CRect wiped;  // as passed to Rectangle: right and bottom one past the box
  };
  const Case cases[] = {
      {{0, 0}, {70, 0}, {{70, 0}, {40, -30}, {40, -10}, {0, -10}, {0, 10}, {40, 10}, {40, 30}}, {-1, -31, 72, 32}},
      {{0, 0}, {0, 70}, {{0, 70}, {30, 40}, {10, 40}, {10, 0}, {-10, 0}, {-10, 40}, {-30, 40}}, {-31, -1, 32, 72}},
      {{70, 0}, {0, 0}, {{0, 0}, {30, 30}, {30, 10}, {70, 10}, {70, -10}, {30, -10}, {30, -30}}, {-1, -31, 72, 32}},
      // A zero-length arrow: every point on the target, a 0.3 mm square wiped around it.
      {{5, 5}, {5, 5}, {{5, 5}, {5, 5}, {5, 5}, {5, 5}, {5, 5}, {5, 5}, {5, 5}}, {4, 4, 7, 7}},
  };
  for (const Case& c : cases) {
    RecordingDC device;
    CDeviceDC dc(device);
    dc.SetTextColor(0x0000FF);
    dc.SetBkColor(0x00FF00);
    IVRenderEx::DrawBoldArrow(dc, c.from, c.to, nullptr);
    ASSERT_EQ(device.Kinds(), (std::vector<EGdiCall>{EGdiCall::Rectangle, EGdiCall::Polygon}));
    const GdiCall& wipe = device.Calls()[0];
    const GdiCall& arrow = device.Calls()[1];
    EXPECT_EQ(CRect(wipe.rect), c.wiped);
    EXPECT_EQ(Points(arrow), c.points) << "to (" << c.to.x << "," << c.to.y << ")";
    EXPECT_EQ(wipe.state.pen, (GdiPenDesc{PS_SOLID, 0, 0x00FF00}));
    EXPECT_EQ(wipe.state.brush, (GdiBrushDesc{BS_SOLID, 0x00FF00, {}}));
    EXPECT_EQ(arrow.state.pen, (GdiPenDesc{PS_SOLID, 0, 0x0000FF}));
    EXPECT_EQ(arrow.state.brush, (GdiBrushDesc{BS_SOLID, 0x0000FF, {}}));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  }
}

TEST(DrawBoldArrow, IsMovedIntoTheKeepInsideRectangle) {
  struct Case {
    CRect keepInside;
    std::pair<int, int> tip;
  };
  const Case cases[] = {
      {{0, 0, 100, 100}, {70, 30}},  // pushed down by the head's upper corner
      {{-50, -50, 100, 100}, {70, 0}},
      // Smaller than the arrow: walking from the last point to the first, the later test
      // decides each shift (the tip's right overflow, the upper head corner's top one).
      {{10, 10, 20, 20}, {20, 40}},
  };
  for (const Case& c : cases) {
    RecordingDC device;
    CDeviceDC dc(device);
    IVRenderEx::DrawBoldArrow(dc, {0, 0}, {70, 0}, &c.keepInside);
    const auto polygons = device.CallsOf(EGdiCall::Polygon);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(Points(polygons[0])[0], c.tip) << c.keepInside;
  }
}

TEST(MoveRectToBeInBaseRect, PushesTheRectangleBackIn) {
  struct Case {
    CRect rect, base;
    bool withDirection;
    CSize direction;
    CRect result;
    bool moved;
  };
  const CRect base(0, 0, 100, 100);
  const Case cases[] = {
      {{-10, 0, 10, 10}, base, false, {}, {0, 0, 20, 10}, true},
      {{20, 20, 30, 30}, base, false, {}, {20, 20, 30, 30}, false},
      {{90, 95, 110, 105}, base, false, {}, {80, 90, 100, 100}, true},
      {{-10, 0, 200, 10}, base, false, {}, {0, 0, 100, 10}, true},  // as wide as the base
      {{-10, -20, 10, 0}, base, true, {1, 1}, {10, 0, 30, 20}, true},
      {{-20, 10, 0, 20}, base, true, {2, 1}, {0, 20, 20, 30}, true},  // the vertical shift follows
      {{0, -10, 10, 0}, base, true, {1, 4}, {3, 0, 13, 10}, true},    // 2.5 rounds to 3
      {{0, -10, 10, 0}, {-100, 0, 100, 100}, true, {-1, 4}, {-3, 0, 7, 10}, true},  // -2.5 to -3
      // Along the direction it would leave the base: the second pass brings it back.
      {{-10, -20, 10, 0}, base, true, {-1, 1}, {0, 0, 20, 20}, true},
      {{-10, 0, 10, 10}, base, true, {0, 0}, {0, 0, 20, 10}, true},  // no direction to follow
  };
  for (const Case& c : cases) {
    CRect rect = c.rect;
    const bool moved = IVRenderEx::MoveRectToBeInBaseRect(rect, c.base, c.withDirection ? &c.direction : nullptr);
    EXPECT_EQ(moved, c.moved) << c.rect;
    EXPECT_EQ(rect, c.result) << c.rect;
  }
}

TEST(FillSolidRectPrintable, FillsForTheScreenAndDrawsARectangleForPrint) {
  struct Case {
    std::uint32_t flags;
    COLORREF brushColour;  // for print
  };
  const std::uint32_t saved = QNGlobals::mg_statesflags;
  const CRect rect(2, 3, 12, 9);
  for (const Case c : {Case{0, 0}, Case{QNGlobals::eStatePrintableOutput, 0x939393},
                       Case{QNGlobals::eStatePrintableOutput | QNGlobals::eStatePrintInColour, 0x0000FF}}) {
    QNGlobals::mg_statesflags = c.flags;
    RecordingDC device;
    CDeviceDC dc(device);
    dc.SetBkColor(0x00FF00);
    IVRenderEx::FillSolidRectPrintable(dc, &rect, 0x0000FF);
    IVRenderEx::FillSolidRectPrintable(dc, nullptr, 0x0000FF);  // nothing to fill
    ASSERT_EQ(device.Calls().size(), 1u);
    const GdiCall& call = device.Calls()[0];
    if (c.flags == 0) {
      EXPECT_EQ(call.kind, EGdiCall::TextOut);
      EXPECT_EQ(call.options, UINT(ETO_OPAQUE | ETO_CLIPPED));
      EXPECT_EQ(CRect(call.rect), rect);
      EXPECT_EQ(call.state.bkColour, 0x0000FFu);
      EXPECT_TRUE(call.text.empty());
    } else {
      EXPECT_EQ(call.kind, EGdiCall::Rectangle);
      EXPECT_EQ(CRect(call.rect), CRect(2, 3, 13, 10));
      EXPECT_EQ(call.state.pen.style, PS_NULL);
      EXPECT_EQ(call.state.brush.colour, c.brushColour);
    }
    EXPECT_EQ(dc.GetBkColor(), 0x00FF00u);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  }
  QNGlobals::mg_statesflags = saved;
}

TEST(DrawFocusRectNormalized, OrdersTheCornersAndWidensEmptyRectangles) {
  struct Case {
    CRect given;
    std::vector<CRect> drawn;  // what reaches the device (an empty rectangle draws nothing)
  };
  const Case cases[] = {
      {{10, 10, 10, 20}, {{10, 10, 11, 20}}},
      {{20, 20, 10, 10}, {{10, 10, 20, 20}}},
      {{10, 10, 20, 10}, {{10, 10, 20, 11}}},
      {{20, 10, 10, 10}, {{10, 10, 20, 11}}},
      {{10, 10, 10, 10}, {}},  // only the column is added: still no height
  };
  for (const Case& c : cases) {
    RecordingDC device;
    CDeviceDC dc(device);
    IVRenderEx::DrawFocusRectNormalized(dc, c.given);
    std::vector<CRect> drawn;
    for (const GdiCall& call : device.CallsOf(EGdiCall::DrawFocusRect)) drawn.push_back(call.rect);
    EXPECT_EQ(drawn, c.drawn) << c.given;
  }
}

}  // namespace
