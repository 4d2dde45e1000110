// Windows on the test desktop: creation and its failures, frames and coordinate mapping,
// input routing, capture, timers, painting, cursors, resources and the loop.
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinUser.h"
#include "host/wnd/WndLoop.h"
#include "host/wnd/WndResources.h"
#include "testing/TestDesktop.h"
#include "tests/wnd/WndTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using EType = WndDesktopEvent::EType;

class WindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_top.CreateEx(0, TestClass(), L"top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 50, 400, 250),
                               nullptr, 0));
    m_native = AfxGetNativeWindow(&m_top);
  }
  // Rounds of the loop until the condition holds, for at most two seconds.
  template <typename Condition>
  bool PumpUntil(Condition done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done() && std::chrono::steady_clock::now() < end) AfxPumpMessages(5);
    return done();
  }

  TestDesktop m_desktop;
  CLogWnd m_top;
  WndNativeId m_native = 0;
};

class CFailingWnd : public CLogWnd {
protected:
  int OnCreate(LPCREATESTRUCT) { return -1; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFailingWnd, CLogWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

TEST_F(WindowTest, CreationFailsCleanly) {
  CLogWnd unknown, orphan, refused, declined;
  EXPECT_FALSE(unknown.Create(L"NoSuchClass", L"", WS_VISIBLE, CRect(0, 0, 10, 10), &m_top, 1));
  EXPECT_FALSE(orphan.Create(TestClass(), L"", WS_VISIBLE, CRect(0, 0, 10, 10), nullptr, 1));
  m_desktop.SetRefuseWindows(true);
  EXPECT_FALSE(refused.CreateTop(10, 10));
  m_desktop.SetRefuseWindows(false);
  SetWndDesktop(nullptr);
  EXPECT_FALSE(refused.CreateTop(10, 10));
  SetWndDesktop(&m_desktop);
  for (CLogWnd* w : {&unknown, &orphan, &refused}) {
    EXPECT_EQ(w->m_hWnd, nullptr);
    EXPECT_TRUE(w->m_log.empty());
  }
  // OnCreate answering -1 destroys the window it was made for.
  CFailingWnd failing;
  EXPECT_FALSE(failing.CreateChild(&m_top, CRect(0, 0, 10, 10)));
  EXPECT_EQ(failing.m_hWnd, nullptr);
  EXPECT_EQ(failing.Messages({WM_CREATE, WM_DESTROY, WM_NCDESTROY}),
            (std::vector<UINT>{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(WindowTest, ZeroSizeWindowsHaveAnEmptyClientAreaAndNoPaint) {
  CLogWnd child, edged;
  ASSERT_TRUE(child.CreateChild(&m_top, CRect(10, 10, 10, 10)));
  ASSERT_TRUE(edged.CreateChild(&m_top, CRect(20, 20, 23, 23), WS_EX_CLIENTEDGE));  // smaller than its edge
  for (CLogWnd* w : {&child, &edged}) {
    CRect client(1, 1, 1, 1);
    w->GetClientRect(&client);
    EXPECT_TRUE(client.IsRectNull());
    EXPECT_EQ(w->Last(WM_SIZE).lParam, MAKELPARAM(0, 0));
    w->Invalidate();
    CDC* dc = w->GetDC();
    ASSERT_NE(dc, nullptr);
    dc->Rectangle(0, 0, 5, 5);
    EXPECT_EQ(w->ReleaseDC(dc), 1);
  }
  AfxPumpMessages(0);
  EXPECT_EQ(child.Count(WM_PAINT), 0);
  EXPECT_EQ(edged.Count(WM_PAINT), 0);
  MImageRGBA pixels;
  EXPECT_TRUE(AfxGetWindowPixels(&child, pixels));
  EXPECT_TRUE(pixels.Empty());
  EXPECT_TRUE(AfxGetWindowPixels(&m_top, pixels));
  EXPECT_EQ(pixels.Width(), 300u);
  CLogWnd emptyTop;
  EXPECT_TRUE(emptyTop.CreateTop(0, 0));
  AfxPumpMessages(0);
}

TEST_F(WindowTest, ClientEdgesAndMappingBetweenNestedChildren) {
  // The top-level client starts at (100, 50) on the screen; a's client at (12, 22) in it,
  // b's client at (7, 7) in a's.
  CLogWnd a, b;
  ASSERT_TRUE(a.CreateChild(&m_top, CRect(10, 20, 110, 120), WS_EX_CLIENTEDGE));
  ASSERT_TRUE(b.CreateChild(&a, CRect(5, 5, 45, 35), WS_EX_CLIENTEDGE));
  CRect rect;
  a.GetClientRect(&rect);
  EXPECT_EQ(rect, CRect(0, 0, 96, 96));
  b.GetWindowRect(&rect);
  EXPECT_EQ(rect, CRect(117, 77, 157, 107));

  struct Case {
    CWnd* from;
    CWnd* to;
    CPoint in, out;
  } cases[] = {
      {&b, &a, {0, 0}, {7, 7}},         {&a, &b, {7, 7}, {0, 0}},     {&b, &m_top, {1, 2}, {20, 31}},
      {&m_top, &b, {19, 29}, {0, 0}},   {&b, nullptr, {1, 2}, {120, 81}}, {&a, &a, {3, 4}, {3, 4}},
  };
  for (const Case& c : cases) {
    CPoint p = c.in;
    c.from->MapWindowPoints(c.to, &p, 1);
    EXPECT_EQ(p, c.out) << c.in.x << "," << c.in.y;
  }
  CRect r(0, 0, 10, 10);
  b.MapWindowPoints(&m_top, &r);
  EXPECT_EQ(r, CRect(19, 29, 29, 39));

  // Taking the edge away gives its pixels back to the client at once.
  b.Clear();
  EXPECT_TRUE(b.ModifyStyleEx(WS_EX_CLIENTEDGE, 0));
  EXPECT_FALSE(b.ModifyStyleEx(WS_EX_CLIENTEDGE, 0));
  EXPECT_EQ(b.Last(WM_SIZE).lParam, MAKELPARAM(40, 30));
  CPoint origin(0, 0);
  b.MapWindowPoints(&a, &origin, 1);
  EXPECT_EQ(origin, CPoint(5, 5));
}

TEST_F(WindowTest, MoveWindowSendsSizeOnlyWhenTheSizeChanges) {
  CLogWnd child;
  ASSERT_TRUE(child.CreateChild(&m_top, CRect(0, 0, 40, 30)));
  AfxPumpMessages(0);
  child.Clear();
  child.MoveWindow(5, 5, 50, 60);
  EXPECT_EQ(child.Count(WM_SIZE), 1);
  EXPECT_EQ(child.Last(WM_SIZE).lParam, MAKELPARAM(50, 60));
  EXPECT_TRUE(child.GetUpdateRect(nullptr));  // the class redraws on resizing
  const CRect place(8, 9, 58, 69);
  child.MoveWindow(&place);
  EXPECT_EQ(child.Count(WM_SIZE), 1);
  EXPECT_EQ(child.Last(WM_MOVE).lParam, MAKELPARAM(8, 9));
  // A top-level window resizes its native window too.
  m_top.MoveWindow(100, 50, 320, 240);
  EXPECT_EQ(m_desktop.Window(m_native)->width, 320);
  EXPECT_EQ(m_top.Last(WM_SIZE).lParam, MAKELPARAM(320, 240));
}

TEST_F(WindowTest, MouseInputGoesToTheWindowUnderItOrToTheParentOfADisabledChild) {
  CLogWnd enabled, disabled, inner;
  ASSERT_TRUE(enabled.CreateChild(&m_top, CRect(10, 10, 60, 60)));
  ASSERT_TRUE(disabled.CreateChild(&m_top, CRect(100, 10, 150, 60), WS_EX_CLIENTEDGE));
  ASSERT_TRUE(inner.CreateChild(&disabled, CRect(0, 0, 40, 40)));
  EXPECT_FALSE(disabled.EnableWindow(FALSE));
  EXPECT_FALSE(disabled.IsWindowEnabled());
  struct Case {
    int x, y;
    CLogWnd* target;
    CPoint point;
  } cases[] = {
      {20, 30, &enabled, {10, 20}},
      {120, 30, &m_top, {120, 30}},  // over the disabled child and its child
      {5, 5, &m_top, {5, 5}},
  };
  for (const Case& c : cases) {
    for (CLogWnd* w : {&m_top, &enabled, &disabled, &inner}) w->Clear();
    m_desktop.PushMouse(EType::eMouseMove, m_native, c.x, c.y);
    AfxPumpMessages(0);
    EXPECT_EQ(c.target->Count(WM_SETCURSOR), 1);
    const MSG move = c.target->Last(WM_MOUSEMOVE);
    EXPECT_EQ(CPoint(GET_X_LPARAM(move.lParam), GET_Y_LPARAM(move.lParam)), c.point) << c.x << "," << c.y;
    int moves = 0;
    for (CLogWnd* w : {&m_top, &enabled, &disabled, &inner}) moves += w->Count(WM_MOUSEMOVE);
    EXPECT_EQ(moves, 1);
  }
  EXPECT_TRUE(disabled.EnableWindow(TRUE));
}

TEST_F(WindowTest, MouseMessagesCarryTheButtonsAndKeysOfTheEvent) {
  CLogWnd child;
  ASSERT_TRUE(child.CreateChild(&m_top, CRect(0, 0, 100, 100)));
  struct Case {
    EType type;
    int button;
    bool control, shift;
    UINT message, flags;
  } cases[] = {
      {EType::eButtonDown, 1, true, false, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL},
      {EType::eMouseMove, 0, false, true, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT},
      {EType::eButtonDown, 3, false, false, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON},
      {EType::eButtonUp, 1, false, false, WM_LBUTTONUP, MK_RBUTTON},
      {EType::eButtonUp, 3, true, true, WM_RBUTTONUP, MK_CONTROL | MK_SHIFT},
      {EType::eButtonDown, 2, false, false, WM_MBUTTONDOWN, MK_MBUTTON},
      {EType::eButtonUp, 2, false, false, WM_MBUTTONUP, 0},
  };
  for (const Case& c : cases) {
    child.Clear();
    m_desktop.PushMouse(c.type, m_native, 30, 40, c.button, c.control, c.shift);
    AfxPumpMessages(0);
    ASSERT_EQ(child.Count(c.message), 1) << c.message;
    EXPECT_EQ(child.Last(c.message).wParam, c.flags) << c.message;
  }
  // The wheel: notches of WHEEL_DELTA and the point on the screen.
  WndDesktopEvent wheel;
  wheel.type = EType::eWheel;
  wheel.window = m_native;
  wheel.x = 30;
  wheel.y = 40;
  wheel.wheel = -2;
  m_desktop.Push(wheel);
  AfxPumpMessages(0);
  const MSG msg = child.Last(WM_MOUSEWHEEL);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(msg.wParam), -240);
  EXPECT_EQ(CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)), CPoint(130, 90));

  // Keys go to the focus window, else to the top-level window of the event.
  WndDesktopEvent key;
  key.type = EType::eKeyDown;
  key.window = m_native;
  key.key = VK_ESCAPE;
  m_desktop.Push(key);
  AfxPumpMessages(0);
  EXPECT_EQ(m_top.Last(WM_KEYDOWN).wParam, WPARAM(VK_ESCAPE));
  EXPECT_EQ(child.SetFocus(), nullptr);
  EXPECT_EQ(child.Count(WM_SETFOCUS), 1);
  key.type = EType::eKeyUp;
  m_desktop.Push(key);
  AfxPumpMessages(0);
  EXPECT_EQ(child.Last(WM_KEYUP).lParam, LPARAM(0xC0000001u));
}

TEST_F(WindowTest, CaptureTakesAllMouseInputUntilReleased) {
  CLogWnd first, second;
  ASSERT_TRUE(first.CreateChild(&m_top, CRect(10, 10, 60, 60)));
  ASSERT_TRUE(second.CreateChild(&m_top, CRect(100, 10, 150, 60)));
  EXPECT_EQ(first.SetCapture(), nullptr);
  EXPECT_EQ(CWnd::GetCapture(), &first);
  EXPECT_EQ(m_desktop.CapturedWindow(), m_native);
  for (CPoint at : {CPoint(120, 30), CPoint(-5, 300)}) {
    first.Clear();
    m_desktop.PushMouse(EType::eMouseMove, m_native, at.x, at.y);
    AfxPumpMessages(0);
    const MSG move = first.Last(WM_MOUSEMOVE);
    EXPECT_EQ(CPoint(GET_X_LPARAM(move.lParam), GET_Y_LPARAM(move.lParam)), at - CPoint(10, 10));
    EXPECT_EQ(first.Count(WM_SETCURSOR), 0);
    EXPECT_EQ(second.Count(WM_MOUSEMOVE), 0);
  }
  // Moving the capture tells the window that loses it who has it now.
  EXPECT_EQ(second.SetCapture(), &first);
  EXPECT_EQ(first.Last(WM_CAPTURECHANGED).lParam, reinterpret_cast<LPARAM>(second.m_hWnd));
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(second.Count(WM_CAPTURECHANGED), 1);
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
  EXPECT_EQ(m_desktop.CapturedWindow(), 0u);
  // A window that goes takes its capture with it.
  first.SetCapture();
  first.DestroyWindow();
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
  EXPECT_EQ(m_desktop.CapturedWindow(), 0u);
}

// Counts its own timer's ticks, as a window does that may get other windows' timer ids.
class CTimerWnd : public CLogWnd {
public:
  UINT_PTR OwnId() const { return reinterpret_cast<UINT_PTR>(this); }
  int m_ticks = 0;

protected:
  void OnTimer(UINT_PTR id) {
    if (id == OwnId()) ++m_ticks;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTimerWnd, CLogWnd)
  ON_WM_TIMER()
END_MESSAGE_MAP()

int g_procTicks = 0;
void CALLBACK_Tick(HWND, UINT message, UINT_PTR id, DWORD) {
  if (message == WM_TIMER && id == 9) ++g_procTicks;
}

TEST_F(WindowTest, TimersTickWithTheirIdUntilKilled) {
  CTimerWnd wnd;
  ASSERT_TRUE(wnd.CreateChild(&m_top, CRect(0, 0, 10, 10)));
  EXPECT_EQ(wnd.SetTimer(wnd.OwnId(), 10, nullptr), wnd.OwnId());
  EXPECT_EQ(wnd.SetTimer(7, 10, nullptr), 7u);
  EXPECT_EQ(wnd.SetTimer(9, 10, CALLBACK_Tick), 9u);
  g_procTicks = 0;
  ASSERT_TRUE(PumpUntil([&] { return wnd.m_ticks >= 3 && g_procTicks >= 3; }));
  // The other timer reached the window as WM_TIMER with its id, and the handler let it be.
  int foreign = 0;
  for (const MSG& m : wnd.m_log) foreign += m.message == WM_TIMER && m.wParam == 7;
  EXPECT_GE(foreign, 1);
  for (const MSG& m : wnd.m_log) EXPECT_NE(m.wParam == 9 && m.message == WM_TIMER, true);  // procedures are called

  EXPECT_TRUE(wnd.KillTimer(wnd.OwnId()));
  EXPECT_FALSE(wnd.KillTimer(wnd.OwnId()));
  const int ticks = wnd.m_ticks;
  const int sevens = wnd.Count(WM_TIMER);
  ASSERT_TRUE(PumpUntil([&] { return wnd.Count(WM_TIMER) >= sevens + 3; }));
  EXPECT_EQ(wnd.m_ticks, ticks);

  // A destroyed window's timers die with it.
  wnd.DestroyWindow();
  wnd.Clear();
  for (int i = 0; i < 5; ++i) AfxPumpMessages(5);
  EXPECT_TRUE(wnd.m_log.empty());
  EXPECT_EQ(wnd.SetTimer(1, 10, nullptr), 0u);
}

TEST_F(WindowTest, PaintingErasesWithTheClassBrushWhenAsked) {
  CLogWnd child;
  ASSERT_TRUE(child.CreateChild(&m_top, CRect(10, 10, 50, 40)));
  AfxPumpMessages(0);
  EXPECT_EQ(child.Count(WM_PAINT), 1);
  const int presents = m_desktop.Window(m_native)->presents;
  EXPECT_GE(presents, 1);
  EXPECT_EQ(m_desktop.Window(m_native)->presented.Width(), 300u);

  const CRect part(5, 5, 15, 12);
  struct Case {
    const RECT* rect;
    BOOL erase;
    bool erased;
    CRect filled;
  } cases[] = {
      {nullptr, TRUE, true, CRect(0, 0, 40, 30)},
      {&part, TRUE, true, part},
      {nullptr, FALSE, false, CRect()},
  };
  for (const Case& c : cases) {
    child.Clear();
    const std::size_t devices = m_desktop.Devices().size();
    child.InvalidateRect(c.rect, c.erase);
    AfxPumpMessages(0);
    EXPECT_EQ(child.Count(WM_PAINT), 1);
    EXPECT_EQ(child.Count(WM_ERASEBKGND), c.erased ? 1 : 0);
    ASSERT_EQ(m_desktop.Devices().size(), devices + 1);
    const auto fills = m_desktop.Devices().back()->CallsOf(EGdiCall::PatBlt);
    ASSERT_EQ(fills.size(), c.erased ? 1u : 0u);
    if (c.erased) {
      EXPECT_EQ(CRect(fills[0].rect), c.filled);
      EXPECT_EQ(fills[0].state.brush.colour, GetSysColor(COLOR_BTNFACE));
    }
    EXPECT_FALSE(child.GetUpdateRect(nullptr));
  }
  EXPECT_GT(m_desktop.Window(m_native)->presents, presents);
}

TEST_F(WindowTest, CursorsComeFromTheClassTheSystemAndTheResources) {
  CLogWnd child;
  ASSERT_TRUE(child.CreateChild(&m_top, CRect(0, 0, 100, 100)));
  SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
  EXPECT_EQ(m_desktop.LastCursor().systemId, 32646);
  m_desktop.PushMouse(EType::eMouseMove, m_native, 10, 10);
  AfxPumpMessages(0);
  EXPECT_EQ(m_desktop.LastCursor().systemId, 32512);  // the class cursor

  MImageRGBA picture(4, 4);
  SetCursorResource(2465, picture, {1, 2});
  const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(2465), RT_GROUP_CURSOR);
  const HCURSOR cursor = LoadCursorW(module, MAKEINTRESOURCEW(2465));
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(LoadCursorW(module, MAKEINTRESOURCEW(2465)), cursor);
  SetCursor(cursor);
  EXPECT_TRUE(m_desktop.LastCursor().hasImage);
  EXPECT_EQ(m_desktop.LastCursor().hotY, 2);
  EXPECT_EQ(GetCursor(), cursor);
  EXPECT_EQ(LoadCursorW(module, MAKEINTRESOURCEW(2466)), nullptr);
  EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(12345)), nullptr);
  EXPECT_TRUE(RemoveResource(2465, RT_GROUP_CURSOR));
  EXPECT_EQ(LoadCursorW(module, MAKEINTRESOURCEW(2465)), nullptr);
}

TEST(WndResourceTest, BitmapsAndToolBarsOfTheProgramsModule) {
  MImageRGBA image(2, 1);
  const std::uint8_t rgba[] = {10, 20, 30, 255, 40, 50, 60, 128};
  std::copy(std::begin(rgba), std::end(rgba), image.Data());
  SetBitmapResource(285, image);
  const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(285), RT_BITMAP);
  HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(285));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  ASSERT_EQ(GetObjectW(bitmap, sizeof info, &info), int(sizeof info));
  EXPECT_EQ(info.bmWidth, 2);
  EXPECT_EQ(info.bmBitsPixel, 32);
  std::uint8_t bits[8] = {};
  ASSERT_EQ(GetBitmapBits(bitmap, 8, bits), 8);
  EXPECT_EQ(std::vector<int>(bits, bits + 8), (std::vector<int>{30, 20, 10, 255, 60, 50, 40, 128}));
  DeleteObject(bitmap);
  EXPECT_EQ(LoadBitmapW(module, MAKEINTRESOURCEW(286)), nullptr);
  EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(285)), nullptr);

  SetToolBarResource(4246, {16, 16}, {33355, 0, 33359});
  auto toolbar = FindToolBarResource(module, MAKEINTRESOURCEW(4246));
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(toolbar->commands, (std::vector<UINT>{33355, 0, 33359}));
  EXPECT_EQ(FindToolBarResource(module, L"4246"), nullptr);
}

TEST_F(WindowTest, DestructionOrderAndTheEndOfTheLoop) {
  CLogWnd child, grandchild;
  ASSERT_TRUE(child.CreateChild(&m_top, CRect(0, 0, 50, 50)));
  ASSERT_TRUE(grandchild.CreateChild(&child, CRect(0, 0, 20, 20)));
  std::vector<std::pair<const CLogWnd*, UINT>> shared;
  for (CLogWnd* w : {&m_top, &child, &grandchild}) {
    w->Clear();
    w->m_shared = &shared;
  }

  // A resize from the desktop reaches the window; closing ends the loop with the last window.
  WndDesktopEvent resize;
  resize.type = EType::eResize;
  resize.window = m_native;
  resize.x = 250;
  resize.y = 150;
  m_desktop.Push(resize);
  WndDesktopEvent close = resize;
  close.type = EType::eClose;
  m_desktop.Push(close);
  EXPECT_EQ(AfxRunMessageLoop(), 0);
  EXPECT_EQ(m_top.Last(WM_SIZE).lParam, MAKELPARAM(250, 150));
  EXPECT_EQ(m_top.Count(WM_CLOSE), 1);
  EXPECT_EQ(m_top.m_hWnd, nullptr);
  EXPECT_EQ(grandchild.m_hWnd, nullptr);
  EXPECT_FALSE(m_desktop.Window(m_native)->alive);
  // WM_DESTROY from the top down, WM_NCDESTROY from the bottom up.
  std::vector<std::pair<const CLogWnd*, UINT>> ends;
  for (const auto& seen : shared)
    if (seen.second == WM_DESTROY || seen.second == WM_NCDESTROY) ends.push_back(seen);
  const decltype(ends) expected{{&m_top, WM_DESTROY},        {&child, WM_DESTROY},  {&grandchild, WM_DESTROY},
                                {&grandchild, WM_NCDESTROY}, {&child, WM_NCDESTROY}, {&m_top, WM_NCDESTROY}};
  EXPECT_EQ(ends, expected);

  CLogWnd again;
  ASSERT_TRUE(again.CreateTop(10, 10));
  PostQuitMessage(3);
  EXPECT_EQ(AfxRunMessageLoop(), 3);
  EXPECT_NE(again.m_hWnd, nullptr);
  EXPECT_TRUE(AfxPumpMessages(0));  // the quit was taken
}

}  // namespace
