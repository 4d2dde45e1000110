// The pixels of a top-level window as the loop presents them, drawn by the Cairo device:
// children over parents and later siblings over earlier ones, each clipped to its parent's
// client area, client edges around their children, and drawing through CPaintDC and
// CClientDC.
#include "backends/cairo/CGdiDeviceCairo.h"
#include "host/gdi/WinUser.h"
#include "host/wnd/CClientDC.h"
#include "host/wnd/CPaintDC.h"
#include "host/wnd/WndLoop.h"
#include "testing/TestDesktop.h"
#include "tests/wnd/WndTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class CFillWnd : public CLogWnd {
public:
  explicit CFillWnd(COLORREF colour) : m_colour(colour) {}

protected:
  void OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, m_colour);
  }
  DECLARE_MESSAGE_MAP()

private:
  COLORREF m_colour;
};
BEGIN_MESSAGE_MAP(CFillWnd, CLogWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

COLORREF At(const MImageRGBA& image, int x, int y) {
  const std::uint8_t* p = image.Pixel(unsigned(x), unsigned(y));
  return RGB(p[0], p[1], p[2]);
}

TEST(CompositionTest, ChildrenAreComposedOverTheirParentsInsideTheirClientAreas) {
  TestDesktop desktop([](MImageRGBA& image) { return std::make_unique<CGdiDeviceCairo>(image); });
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
  CLogWnd top, over;
  CFillWnd edged(red), inner(green);
  ASSERT_TRUE(top.CreateTop(100, 80));
  ASSERT_TRUE(edged.CreateChild(&top, CRect(10, 10, 50, 40), WS_EX_CLIENTEDGE));  // client (12, 12)-(48, 38)
  ASSERT_TRUE(inner.CreateChild(&edged, CRect(0, 20, 50, 26)));                   // reaches past its parent
  ASSERT_TRUE(over.CreateChild(&top, CRect(45, 0, 75, 20)));                      // over edged's corner
  AfxPumpMessages(0);
  {
    CClientDC dc(&over);
    dc.FillSolidRect(0, 0, 5, 5, blue);
  }
  AfxPumpMessages(0);

  MImageRGBA pixels;
  ASSERT_TRUE(AfxGetWindowPixels(&top, pixels));
  const MImageRGBA& presented = desktop.Window(AfxGetNativeWindow(&top))->presented;
  ASSERT_EQ(presented.Width(), 100u);
  ASSERT_EQ(presented.Height(), 80u);
  EXPECT_EQ(std::memcmp(presented.Data(), pixels.Data(), 100 * 80 * 4), 0);

  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  struct Case {
    int x, y;
    COLORREF colour;
  } cases[] = {
      {5, 5, face},                                 // the top-level window's background
      {20, 20, red},                                // edged, painted with CPaintDC
      {10, 20, GetSysColor(COLOR_BTNSHADOW)},       // the sunken edge, outer and inner
      {11, 20, GetSysColor(COLOR_3DDKSHADOW)},
      {30, 39, GetSysColor(COLOR_BTNHIGHLIGHT)},
      {30, 38, GetSysColor(COLOR_3DLIGHT)},
      {15, 35, green},                              // inner over edged
      {49, 35, GetSysColor(COLOR_BTNHIGHLIGHT)},    // inner clipped to edged's client area
      {55, 35, face},
      {47, 15, face},                               // over, erased, above edged
      {46, 1, blue},                                // over, drawn through CClientDC
  };
  for (const Case& c : cases) EXPECT_EQ(At(pixels, c.x, c.y), c.colour) << c.x << "," << c.y;

  // A hidden child leaves its place to what lies under it.
  over.ShowWindow(SW_HIDE);
  AfxPumpMessages(0);
  EXPECT_EQ(At(desktop.Window(AfxGetNativeWindow(&top))->presented, 47, 15), red);
}

}  // namespace
