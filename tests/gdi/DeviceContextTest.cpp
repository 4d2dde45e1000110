// The host's device contexts over the recording device: Win32 semantics of the GDI32 and
// USER32 calls, MFC's CDC with its two handles, GDI objects, system settings and MulDiv.
#include "host/core/MStrNCpy.h"
#include "host/gdi/CDeviceDC.h"
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinUser.h"
#include "host/win/MulDiv.h"
#include "testing/RecordingDC.h"
#include "tests/gdi/PrintGdi.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <ostream>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::vector<CPoint> Points(const GdiCall& call) { return {call.points.begin(), call.points.end()}; }

// The recording device measures a 10-pixel font as 5 pixels a character, ascent 8.
HFONT TenPixelFont() {
  LOGFONTW font{};
  font.lfHeight = 10;
  return CreateFontIndirectW(&font);
}

struct PlacedText {
  int x, y;
  std::wstring text;
  bool operator==(const PlacedText&) const = default;
};

std::ostream& operator<<(std::ostream& os, const PlacedText& t) {
  return os << "(" << t.x << "," << t.y << " \"" << std::string(t.text.begin(), t.text.end()) << "\")";
}

std::vector<PlacedText> Texts(const RecordingDC& device) {
  std::vector<PlacedText> out;
  for (const GdiCall& call : device.CallsOf(EGdiCall::TextOut)) out.push_back({call.x, call.y, call.text});
  return out;
}

TEST(DrawText, PlacesLinesByTheFormatAndAnswersTheHeight) {
  struct Case {
    const wchar_t* text;
    UINT format;
    std::vector<PlacedText> placed;
    int result;
  };
  const Case cases[] = {
      {L"abc", DT_LEFT | DT_TOP | DT_SINGLELINE, {{0, 0, L"abc"}}, 10},
      {L"abc", DT_CENTER | DT_SINGLELINE, {{42, 0, L"abc"}}, 10},
      {L"abc", DT_RIGHT | DT_SINGLELINE, {{85, 0, L"abc"}}, 10},
      // Vertical placement needs a single line; the answer is then the text's bottom.
      {L"abc", DT_VCENTER | DT_SINGLELINE, {{0, 15, L"abc"}}, 25},
      {L"abc", DT_BOTTOM | DT_SINGLELINE, {{0, 30, L"abc"}}, 40},
      {L"abc", DT_VCENTER, {{0, 0, L"abc"}}, 10},
      {L"ab\ncd\r\nef", DT_LEFT, {{0, 0, L"ab"}, {0, 10, L"cd"}, {0, 20, L"ef"}}, 30},
      {L"ab\ncd", DT_SINGLELINE, {{0, 0, L"ab\ncd"}}, 10},
      {L"aa bb cc", DT_WORDBREAK | DT_RIGHT, {{5, 0, L"aa bb"}, {20, 10, L"cc"}}, 20},
      {L"a&&b &x", DT_SINGLELINE, {{0, 0, L"a&b x"}}, 10},
      {L"a&&b &x", DT_SINGLELINE | DT_NOPREFIX, {{0, 0, L"a&&b &x"}}, 10},
  };
  for (const Case& c : cases) {
    RecordingDC device;
    CDeviceDC dc(device);
    CFont font;
    font.Attach(TenPixelFont());
    dc.SelectObject(&font);
    RECT rect{0, 0, 100, 40};
    if (c.format & DT_WORDBREAK) rect.right = 30;  // room for five characters
    EXPECT_EQ(DrawTextW(dc, c.text, -1, &rect, c.format), c.result) << std::string(c.text, c.text + wcslen(c.text));
    EXPECT_EQ(Texts(device), c.placed);
    dc.SelectStockObject(SYSTEM_FONT);
  }
}

TEST(DrawText, ClipsToTheRectangleUnlessToldNotToAndUnderlinesPrefixes) {
  RecordingDC device;
  CDeviceDC dc(device);
  CFont font;
  font.Attach(TenPixelFont());
  dc.SelectObject(&font);
  RECT rect{10, 20, 110, 60};
  dc.SetTextColor(0x123456);
  DrawTextW(dc, L"x&File", -1, &rect, DT_SINGLELINE);
  DrawTextW(dc, L"plain", -1, &rect, DT_SINGLELINE | DT_NOCLIP);
  const auto texts = device.CallsOf(EGdiCall::TextOut);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(std::make_tuple(texts[0].options, texts[0].hasRect, CRect(texts[0].rect)),
            std::make_tuple(UINT(ETO_CLIPPED), true, CRect(10, 20, 110, 60)));
  EXPECT_EQ(std::make_pair(texts[1].options, texts[1].hasRect), std::make_pair(UINT(0), false));
  // The F (second character) underlined one pixel below the baseline, in the text colour.
  const auto lines = device.CallsOf(EGdiCall::Polyline);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(Points(lines[0]), (std::vector<CPoint>{{15, 20 + 8 + 1}, {20, 20 + 8 + 1}}));
  EXPECT_EQ(lines[0].state.pen.colour, 0x123456u);
  dc.SelectStockObject(SYSTEM_FONT);
}

TEST(DrawText, MeasuresWithCalcRectAndToleratesBadInput) {
  RecordingDC device;
  CDeviceDC dc(device);
  CFont font;
  font.Attach(TenPixelFont());
  dc.SelectObject(&font);
  RECT rect{10, 20, 10, 20};
  EXPECT_EQ(DrawTextW(dc, L"abcd\nef", -1, &rect, DT_CALCRECT), 20);
  EXPECT_EQ(CRect(rect), CRect(10, 20, 30, 40));
  rect = {10, 20, 50, 50};
  EXPECT_EQ(DrawTextW(dc, L"", 0, &rect, DT_CALCRECT | DT_SINGLELINE), 10);
  EXPECT_EQ(CRect(rect), CRect(10, 20, 10, 30));
  EXPECT_EQ(DrawTextW(dc, nullptr, -1, &rect, 0), 0);
  EXPECT_EQ(DrawTextW(dc, L"a", -1, nullptr, 0), 0);
  EXPECT_EQ(DrawTextW(nullptr, L"a", -1, &rect, 0), 0);
  EXPECT_EQ(DrawTextW(dc, L"a", -2, &rect, 0), 0);
  EXPECT_EQ(device.Calls().size(), 0u);
  dc.SelectStockObject(SYSTEM_FONT);
}

TEST(DeviceContext, StartsInTheWin32DefaultStateAndDrawsWithWhatIsSelected) {
  RecordingDC device;
  CDeviceDC dc(device);
  EXPECT_EQ(dc.GetTextColor(), 0x000000u);
  EXPECT_EQ(dc.GetBkColor(), 0xFFFFFFu);
  EXPECT_EQ(dc.GetBkMode(), OPAQUE);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));

  CPen pen(PS_DASH, 0, 0x0000FF);
  CBrush brush(0x00FF00);
  CPen* oldPen = dc.SelectObject(&pen);
  CBrush* oldBrush = dc.SelectObject(&brush);
  ASSERT_NE(oldPen, nullptr);
  EXPECT_EQ(oldPen->m_hObject, GetStockObject(BLACK_PEN));
  EXPECT_NE(dynamic_cast<CBrush*>(oldBrush), nullptr);  // a wrapper of the right class
  dc.Rectangle(10, 10, 0, 0);                             // ordered, as GDI does
  dc.Rectangle(5, 5, 5, 10);                              // no width: nothing
  dc.Ellipse(0, 0, 4, 4);
  EXPECT_EQ(dc.SelectObject(oldPen), &pen);  // the object that owns the handle
  dc.SelectObject(oldBrush);
  dc.Rectangle(0, 0, 1, 1);

  ASSERT_EQ(device.Kinds(), (std::vector<EGdiCall>{EGdiCall::Rectangle, EGdiCall::Ellipse, EGdiCall::Rectangle}));
  const GdiCall& first = device.Calls()[0];
  EXPECT_EQ(CRect(first.rect), CRect(0, 0, 10, 10));
  EXPECT_EQ(first.state.pen, (GdiPenDesc{PS_DASH, 0, 0x0000FF}));
  EXPECT_EQ(first.state.brush.colour, 0x00FF00u);
  EXPECT_EQ(device.Calls()[2].state.pen.colour, 0x000000u);
  EXPECT_EQ(device.Calls()[2].state.brush.colour, 0xFFFFFFu);
}

TEST(DeviceContext, LinesMoveTheCurrentPositionAndSkipEmptyFigures) {
  RecordingDC device;
  CDeviceDC dc(device);
  dc.MoveTo(1, 2);
  EXPECT_TRUE(dc.LineTo(5, 2));
  EXPECT_TRUE(dc.LineTo(5, 2));  // to where it is: no pixel
  EXPECT_EQ(dc.MoveTo(7, 7), CPoint(5, 2));
  const POINT one[] = {{0, 0}};
  EXPECT_FALSE(dc.Polygon(one, 1));
  EXPECT_FALSE(dc.Polyline(nullptr, 3));
  EXPECT_FALSE(dc.PatBlt(0, 0, 5, 5, 0x12345678));
  EXPECT_TRUE(dc.PatBlt(10, 10, -5, -5, DSTINVERT));
  const RECT inverted{10, 10, 0, 0};
  EXPECT_TRUE(DrawFocusRect(dc, &inverted));  // empty as given: nothing drawn
  ASSERT_EQ(device.Kinds(), (std::vector<EGdiCall>{EGdiCall::Polyline, EGdiCall::PatBlt}));
  EXPECT_EQ(Points(device.Calls()[0]), (std::vector<CPoint>{{1, 2}, {5, 2}}));
  EXPECT_EQ(CRect(device.Calls()[1].rect), CRect(5, 5, 10, 10));
}

TEST(DeviceContext, SaveAndRestorePutTheStateBack) {
  RecordingDC device;
  CDeviceDC dc(device);
  const int level = dc.SaveDC();
  EXPECT_EQ(level, 1);
  dc.SetTextColor(0x0000FF);
  dc.SetBkMode(TRANSPARENT);
  dc.SelectStockObject(NULL_PEN);
  EXPECT_EQ(dc.SaveDC(), 2);
  EXPECT_TRUE(dc.RestoreDC(level));
  EXPECT_EQ(dc.GetTextColor(), 0u);
  EXPECT_EQ(dc.GetBkMode(), OPAQUE);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_FALSE(dc.RestoreDC(1));  // dropped with the level restored
  EXPECT_EQ(dc.SetBkMode(3), 0);  // not a mode
}

TEST(CDC, DrawsToTheOutputHandleAndReadsTheAttributeHandle) {
  RecordingDC output, attributes;
  HDC out = CreateDeviceDC(output), attr = CreateDeviceDC(attributes);
  {
    CDC dc;
    dc.SetOutputDC(out);
    dc.SetAttribDC(attr);
    EXPECT_EQ(dc.SetTextColor(0x0000FF), 0u);
    EXPECT_EQ(GetTextColor(out), 0x0000FFu);  // changes go to both
    SetTextColor(attr, 0xFF0000);
    EXPECT_EQ(dc.GetTextColor(), 0xFF0000u);  // reads come from the attribute handle
    SetBkColor(attr, 0x00FF00);
    EXPECT_EQ(dc.GetBkColor(), 0x00FF00u);
    dc.MoveTo(1, 1);
    dc.LineTo(4, 4);
    dc.TextOut(0, 0, L"t", 1);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(4, 4));  // the attribute handle follows lines
    ASSERT_EQ(output.Kinds(), (std::vector<EGdiCall>{EGdiCall::Polyline, EGdiCall::TextOut}));
    EXPECT_EQ(output.Calls()[1].state.textColour, 0x0000FFu);
    EXPECT_TRUE(attributes.Calls().empty());
    // A context the CDC does not own is not deleted with it.
    dc.ReleaseOutputDC();
    dc.ReleaseAttribDC();
  }
  EXPECT_TRUE(DeleteDC(out));
  EXPECT_TRUE(DeleteDC(attr));
  EXPECT_FALSE(DeleteDC(out));
}

TEST(CDC, DragRectangleInvertsTheOldFrameThenTheNewOne) {
  RecordingDC device;
  CDeviceDC dc(device);
  const RECT now{0, 0, 10, 8}, last{2, 2, 4, 4};
  dc.DrawDragRect(&now, {2, 1}, &last, {1, 1});
  const auto blits = device.CallsOf(EGdiCall::PatBlt);
  // The last frame is 2x2, all frame; the new one four bands around its inside.
  ASSERT_EQ(blits.size(), 5u);
  EXPECT_EQ(CRect(blits[0].rect), CRect(2, 2, 4, 4));
  EXPECT_EQ(CRect(blits[1].rect), CRect(0, 0, 10, 1));
  EXPECT_EQ(CRect(blits[2].rect), CRect(0, 7, 10, 8));
  EXPECT_EQ(CRect(blits[3].rect), CRect(0, 1, 2, 7));
  EXPECT_EQ(CRect(blits[4].rect), CRect(8, 1, 10, 7));
  for (const GdiCall& blit : blits) {
    EXPECT_EQ(blit.rop, PATINVERT);
    EXPECT_EQ(blit.state.brush.style, BS_PATTERN);  // the halftone brush
    EXPECT_EQ(blit.state.brush.pattern[0], 0x55);
    EXPECT_EQ(blit.state.brush.pattern[1], 0xAA);
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
}

TEST(GdiObjects, DescribeThemselvesAndSurviveMisuse) {
  LOGFONTW gui{};
  EXPECT_EQ(GetObjectW(GetStockObject(DEFAULT_GUI_FONT), 0, nullptr), int(sizeof(LOGFONTW)));
  EXPECT_EQ(GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui), int(sizeof(LOGFONTW)));
  EXPECT_EQ(std::wstring(gui.lfFaceName), L"DejaVu Sans");
  EXPECT_EQ(gui.lfHeight, -11);
  EXPECT_EQ(gui.lfWeight, FW_NORMAL);
  EXPECT_EQ(gui.lfCharSet, 0);

  LOGPEN pen{};
  HPEN wide = CreatePen(PS_DOT, 3, 0x123456);  // styles are for one-pixel pens only
  EXPECT_EQ(GetObjectW(wide, sizeof(pen), &pen), int(sizeof(LOGPEN)));
  EXPECT_EQ(pen.lopnStyle, PS_SOLID);
  EXPECT_EQ(pen.lopnWidth.x, 3);
  EXPECT_EQ(CreatePen(9, 1, 0), nullptr);

  // A deleted object is gone as a handle; a context keeps drawing with its description.
  RecordingDC device;
  CDeviceDC dc(device);
  SelectObject(dc, wide);
  EXPECT_TRUE(DeleteObject(wide));
  EXPECT_FALSE(DeleteObject(wide));
  EXPECT_EQ(GetObjectType(wide), 0u);
  EXPECT_EQ(SelectObject(dc, wide), nullptr);
  dc.LineTo(3, 3);
  EXPECT_EQ(device.Calls().back().state.pen.width, 3);
  // Stock objects stay whatever is done to them.
  EXPECT_TRUE(DeleteObject(GetStockObject(NULL_PEN)));
  EXPECT_EQ(GetObjectType(GetStockObject(NULL_PEN)), OBJ_PEN);
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(GetObjectW(nullptr, sizeof(pen), &pen), 0);

  CFont font;
  EXPECT_TRUE(font.CreateFontIndirect(&gui));
  EXPECT_FALSE(font.Attach(GetStockObject(SYSTEM_FONT)));  // one handle at a time
  EXPECT_EQ(CGdiObject::FromHandle(font.m_hObject), &font);
  HGDIOBJ handle = font.m_hObject;
  EXPECT_TRUE(font.DeleteObject());
  EXPECT_EQ(GetObjectType(handle), 0u);
}

TEST(GdiObjects, BitmapsKeepTheirBitsAndMakePatternBrushes) {
  const WORD rows[8] = {0x00F0, 0x000F, 0x00F0, 0x000F, 0x00F0, 0x000F, 0x00F0, 0x000F};
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateBitmap(8, 8, 1, 1, rows));
  BITMAP info{};
  EXPECT_EQ(bitmap.GetBitmap(&info), int(sizeof(BITMAP)));
  EXPECT_EQ(info.bmWidthBytes, 2);  // rows padded to 16 bits
  EXPECT_EQ(info.bmBitsPixel, 1);
  WORD back[8] = {};
  EXPECT_EQ(bitmap.GetBitmapBits(sizeof(back), back), sizeof(back));
  EXPECT_EQ(0, std::memcmp(rows, back, sizeof(rows)));
  CBrush brush(&bitmap);
  RecordingDC device;
  CDeviceDC dc(device);
  const RECT rect{0, 0, 4, 4};
  dc.FillRect(&rect, &brush);
  FillRect(dc, &rect, reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_BTNSHADOW + 1)));
  ASSERT_EQ(device.CountOf(EGdiCall::PatBlt), 2u);
  EXPECT_EQ(device.Calls()[0].state.brush.pattern[0], 0xF0);
  EXPECT_EQ(device.Calls()[0].state.brush.pattern[1], 0x0F);
  EXPECT_EQ(device.Calls()[1].state.brush.colour, 0x808080u);
  EXPECT_EQ(CreateBitmap(-1, 4, 1, 1, nullptr), nullptr);
  EXPECT_EQ(SelectObject(dc, bitmap.m_hObject), nullptr);  // only memory contexts take bitmaps
}

TEST(MemoryDC, HoldsOneBitmapAtATimeAndCopiesItsPixels) {
  // A 2 by 2 bitmap of 32 bits: blue, green, red, alpha per pixel.
  const std::uint8_t bits[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateBitmap(2, 2, 1, 32, bits));
  CDC memory, other;
  ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
  ASSERT_TRUE(other.CreateCompatibleDC(&memory));
  EXPECT_EQ(GetObjectType(memory), OBJ_MEMDC);
  CBitmap* original = memory.SelectObject(&bitmap);
  ASSERT_NE(original, nullptr);  // the 1 by 1 monochrome bitmap every memory context starts with
  EXPECT_EQ(memory.GetCurrentBitmap(), &bitmap);
  EXPECT_EQ(other.SelectObject(&bitmap), nullptr);  // already in a context
  EXPECT_FALSE(DeleteObject(bitmap.m_hObject));     // selected bitmaps stay
  EXPECT_FALSE(memory.Rectangle(0, 0, 2, 2));       // no device to draw figures on
  EXPECT_EQ(GetDeviceCaps(memory, HORZRES), 2);

  RecordingDC device({4, 4});
  CDeviceDC dc(device);
  EXPECT_FALSE(dc.BitBlt(0, 0, 2, 2, &dc, 0, 0, SRCCOPY));         // a device is no source
  EXPECT_FALSE(dc.BitBlt(0, 0, 2, 2, &memory, 0, 0, 0x00EE0086));  // SRCPAINT is not offered
  // The source rectangle is cut to the bitmap: one column from x 1, landing at x 3.
  EXPECT_TRUE(dc.BitBlt(2, 1, 4, 1, &memory, -1, 1, SRCCOPY));
  ASSERT_EQ(device.CountOf(EGdiCall::DrawPixels), 1u);
  const GdiCall& copied = device.Calls()[0];
  EXPECT_EQ(CRect(copied.rect), CRect(3, 1, 5, 2));
  EXPECT_FALSE(copied.blend);
  EXPECT_EQ(copied.pixels, std::vector<std::uint8_t>(bits + 8, bits + 16));

  // A monochrome source takes the destination's text colour for 0 and background for 1.
  const std::uint8_t mono[2] = {0x40, 0};  // pixels 0 and 1, row padded to 16 bits
  CBitmap mask;
  ASSERT_TRUE(mask.CreateBitmap(2, 1, 1, 1, mono));
  other.SelectObject(&mask);
  dc.SetTextColor(RGB(1, 2, 3));
  dc.SetBkColor(RGB(4, 5, 6));
  device.Clear();
  EXPECT_TRUE(dc.BitBlt(0, 0, 2, 1, &other, 0, 0, SRCCOPY));
  EXPECT_EQ(device.Calls().at(0).pixels, (std::vector<std::uint8_t>{3, 2, 1, 0, 6, 5, 4, 0}));

  // Into a memory context's bitmap: a DIB and a copy from another memory context.
  const std::uint8_t dib[4] = {200, 201, 202, 203};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  EXPECT_EQ(SetDIBitsToDevice(memory, 1, 0, 1, 1, 0, 0, 0, 1, dib, &info, DIB_RGB_COLORS), 1);
  EXPECT_TRUE(memory.BitBlt(0, 1, 2, 1, &other, 0, 0, SRCCOPY));
  std::uint8_t back[16];
  bitmap.GetBitmapBits(sizeof(back), back);
  const std::uint8_t expected[16] = {1, 2, 3, 4, 200, 201, 202, 203, 0, 0, 0, 0, 255, 255, 255, 0};
  EXPECT_EQ(std::vector<std::uint8_t>(back, back + 16), std::vector<std::uint8_t>(expected, expected + 16));

  // Bad DIBs set nothing.
  info.bmiHeader.biBitCount = 16;
  EXPECT_EQ(SetDIBitsToDevice(dc, 0, 0, 1, 1, 0, 0, 0, 1, dib, &info, DIB_RGB_COLORS), 0);
  info.bmiHeader.biBitCount = 32;
  EXPECT_EQ(SetDIBitsToDevice(dc, 0, 0, 1, 1, 0, 0, 0, 1, nullptr, &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBitsToDevice(dc, 0, 0, 1, 1, 0, 5, 0, 1, dib, &info, DIB_RGB_COLORS), 0);  // outside

  memory.SelectObject(original);
  EXPECT_TRUE(bitmap.DeleteObject());
  EXPECT_TRUE(other.DeleteDC());
  EXPECT_TRUE(mask.DeleteObject());
}

// A device without a pixel path of its own.
class FallbackDevice : public RecordingDC {
public:
  void DrawPixels(int x, int y, int width, int height, const std::uint8_t* bgra, std::ptrdiff_t stride,
                  bool blend) override {
    IGdiDevice::DrawPixels(x, y, width, height, bgra, stride, blend);
  }
};

TEST(IGdiDevice, PixelsWithoutAPixelPathBecomeRunsOfPatBlt) {
  // One row, blue green red alpha: two equal opaque pixels, a transparent one, a half one.
  const std::uint8_t row[16] = {0, 0, 255, 255, 0, 0, 255, 255, 9, 9, 9, 0, 0, 0, 128, 128};
  for (const bool blend : {false, true}) {
    FallbackDevice device;
    device.DrawPixels(10, 5, 4, 1, row, 16, blend);
    std::vector<std::pair<CRect, COLORREF>> fills;
    for (const GdiCall& call : device.CallsOf(EGdiCall::PatBlt)) fills.push_back({call.rect, call.state.brush.colour});
    const std::vector<std::pair<CRect, COLORREF>> expected =
        blend ? std::vector<std::pair<CRect, COLORREF>>{{{10, 5, 12, 6}, RGB(255, 0, 0)}, {{13, 5, 14, 6}, RGB(255, 0, 0)}}
              : std::vector<std::pair<CRect, COLORREF>>{{{10, 5, 12, 6}, RGB(255, 0, 0)},
                                                        {{12, 5, 13, 6}, RGB(9, 9, 9)},
                                                        {{13, 5, 14, 6}, RGB(128, 0, 0)}};
    EXPECT_EQ(fills, expected) << blend;
  }
}

TEST(SystemSettings, ClassicColoursResolutionAndScreen) {
  EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), 0xFFFFFFu);
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), 0x808080u);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0xFFFFFFu);
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), 0x000000u);
  EXPECT_EQ(GetSysColor(99), 0u);

  RecordingDC device({800, 600});
  CDeviceDC dc(device);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
  EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 800);
  device.SetResolution(300, 150);
  device.SetResolution(0, 72);  // ignored
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 300);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 150);
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSX), 0);

  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
  SetSystemScreenSize(1280, 1024);
  SetSystemScreenSize(-5, 0);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
  SetSystemScreenSize(1920, 1080);
}

TEST(MulDiv, RoundsHalvesAwayFromZeroAndFailsWithMinusOne) {
  struct Case {
    int number, numerator, denominator, result;
  };
  const Case cases[] = {
      {8, 6, 4, 12},  {6, 6, 4, 9},   {1, 1, 2, 1},    {-1, 1, 2, -1},   {3, 1, 2, 2},   {-3, 1, 2, -2},
      {5, 1, -2, -3}, {-5, 1, -2, 3}, {2, 1, 3, 1},    {1, 1, 3, 0},     {7, 0, 3, 0},   {1, 1, 0, -1},
      {INT_MAX, 2, 1, -1},            {INT_MAX, 2, 2, INT_MAX},          {INT_MIN, 1, -1, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.result)
        << c.number << " * " << c.numerator << " / " << c.denominator;
}

TEST(MStrNCpy, CutsAndAlwaysTerminates) {
  wchar_t face[LF_FACESIZE];
  const std::wstring longName(40, L'x');
  MStrNCpy(face, longName.c_str(), LF_FACESIZE);
  EXPECT_EQ(std::wstring(face), std::wstring(31, L'x'));
  MStrNCpy(face, nullptr, LF_FACESIZE);
  EXPECT_EQ(face[0], L'\0');
  face[0] = L'k';
  MStrNCpy(face, L"abc", 0);
  EXPECT_EQ(face[0], L'k');
  char narrow[4];
  EXPECT_EQ(std::string(MStrNCpy(narrow, "abcdef", sizeof(narrow))), "abc");
}

}  // namespace
