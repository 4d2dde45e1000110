// The SDL desktop on SDL's offscreen driver unless SDL_VIDEODRIVER names another: pixels shown and read back,
// SDL's events as the host's, cursors, and the refusal to start without a display.
#include "backends/sdl/CWndDesktopSDL.h"
#include "host/gdi/WinGdi.h"
#include "host/wnd/CPaintDC.h"
#include "host/wnd/CWnd.h"
#include "host/wnd/WndFunctions.h"
#include "host/wnd/WndLoop.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

[[maybe_unused]] const bool g_headless = setenv("SDL_VIDEODRIVER", "offscreen", 0) == 0;

MImageRGBA Pattern(unsigned width, unsigned height) {
  MImageRGBA image(width, height);
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x) {
      std::uint8_t* p = image.Pixel(x, y);
      p[0] = std::uint8_t(x * 7 + 1), p[1] = std::uint8_t(y * 5 + 2), p[2] = std::uint8_t(x * y + 3), p[3] = 255;
    }
  return image;
}

class DesktopSDL : public ::testing::Test {
protected:
  CWndDesktopSDL desktop;
  WndNativeId window = desktop.CreateNativeWindow(L"Coupe \u2013 \u00e9", 64, 48);

  void SetUp() override {
    ASSERT_NE(window, 0u);
    WndDesktopEvent event;
    while (desktop.NextEvent(event, 0)) {
    }
  }
  SDL_Window* Native() const { return SDL_GetWindowFromID(Uint32(window)); }
};

TEST_F(DesktopSDL, WindowsAreShownResizableAndTitled) {
  EXPECT_STREQ(SDL_GetWindowTitle(Native()), "Coupe \u2013 \u00e9");
  Uint32 flags = SDL_GetWindowFlags(Native());
  EXPECT_TRUE(flags & SDL_WINDOW_RESIZABLE);
  EXPECT_TRUE(flags & SDL_WINDOW_SHOWN);
  desktop.DestroyNativeWindow(window);
  EXPECT_EQ(Native(), nullptr);
  MImageRGBA pixels;
  EXPECT_FALSE(desktop.ReadWindowPixels(window, pixels));
}

TEST_F(DesktopSDL, PresentedPixelsReadBackExactly) {
  const MImageRGBA image = Pattern(64, 48);
  desktop.Present(window, image);
  MImageRGBA shown;
  ASSERT_TRUE(desktop.ReadWindowPixels(window, shown));
  ASSERT_EQ(shown.Width(), 64u);
  ASSERT_EQ(shown.Height(), 48u);
  EXPECT_EQ(std::memcmp(shown.Data(), image.Data(), 64 * 48 * 4), 0);
}

// After a resize the host's picture may be of the old size: it lands top left, clipped,
// and what it does not cover is black.
TEST_F(DesktopSDL, PresentFitsAnImageOfAnotherSize) {
  desktop.ResizeNativeWindow(window, 80, 60);
  for (auto [width, height] : {std::pair{64u, 48u}, std::pair{100u, 70u}, std::pair{90u, 20u}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    const MImageRGBA image = Pattern(width, height);
    desktop.Present(window, image);
    MImageRGBA shown;
    ASSERT_TRUE(desktop.ReadWindowPixels(window, shown));
    ASSERT_EQ(shown.Width(), 80u);
    ASSERT_EQ(shown.Height(), 60u);
    for (unsigned y = 0; y < 60; ++y)
      for (unsigned x = 0; x < 80; ++x) {
        const std::uint8_t black[4] = {0, 0, 0, 255};
        const std::uint8_t* expected = x < width && y < height ? image.Pixel(x, y) : black;
        ASSERT_EQ(std::memcmp(shown.Pixel(x, y), expected, 4), 0) << x << "," << y;
      }
  }
}

struct EventCase {
  const char* name;
  int held;  // SDL_Keymod bits
  SDL_Event sdl;
  std::optional<WndDesktopEvent> expected;  // none: the event is not passed on
};

SDL_Event Button(Uint32 type, Uint8 button, int x, int y) {
  SDL_Event e{};
  e.type = type;
  e.button.button = button;
  e.button.x = x, e.button.y = y;
  return e;
}
SDL_Event Motion(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x, e.motion.y = y;
  return e;
}
SDL_Event Wheel(int notches, Uint32 direction) {
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.y = notches;
  e.wheel.direction = direction;
  e.wheel.mouseX = 7, e.wheel.mouseY = 9;
  return e;
}
SDL_Event Key(Uint32 type, SDL_Keycode key, Uint16 mod) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.sym = key;
  e.key.keysym.mod = mod;
  return e;
}
SDL_Event Window(Uint8 what, int data1 = 0, int data2 = 0) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = what;
  e.window.data1 = data1, e.window.data2 = data2;
  return e;
}
WndDesktopEvent Expect(WndDesktopEvent::EType type, int x = 0, int y = 0) {
  WndDesktopEvent e;
  e.type = type;
  e.x = x, e.y = y;
  return e;
}
template <class F> WndDesktopEvent Expect(WndDesktopEvent::EType type, int x, int y, F&& more) {
  WndDesktopEvent e = Expect(type, x, y);
  more(e);
  return e;
}

TEST_F(DesktopSDL, SdlEventsBecomeDesktopEvents) {
  using E = WndDesktopEvent;
  const EventCase cases[] = {
      {"left down with control", KMOD_LCTRL, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, 4),
       Expect(E::eButtonDown, 3, 4, [](E& e) { e.button = 1, e.control = true; })},
      {"right up with shift", KMOD_RSHIFT, Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 5, 6),
       Expect(E::eButtonUp, 5, 6, [](E& e) { e.button = 3, e.shift = true; })},
      {"middle down", KMOD_NONE, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 0, 0),
       Expect(E::eButtonDown, 0, 0, [](E& e) { e.button = 2; })},
      {"extra button", KMOD_NONE, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 1), std::nullopt},
      {"move with both", KMOD_CTRL | KMOD_SHIFT, Motion(63, 47),
       Expect(E::eMouseMove, 63, 47, [](E& e) { e.control = e.shift = true; })},
      {"wheel away", KMOD_NONE, Wheel(2, SDL_MOUSEWHEEL_NORMAL), Expect(E::eWheel, 7, 9, [](E& e) { e.wheel = 2; })},
      {"wheel flipped", KMOD_NONE, Wheel(1, SDL_MOUSEWHEEL_FLIPPED),
       Expect(E::eWheel, 7, 9, [](E& e) { e.wheel = -1; })},
      {"letter with shift", KMOD_NONE, Key(SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT),
       Expect(E::eKeyDown, 0, 0, [](E& e) { e.key = 'A', e.shift = true; })},
      {"escape up", KMOD_NONE, Key(SDL_KEYUP, SDLK_ESCAPE, KMOD_NONE),
       Expect(E::eKeyUp, 0, 0, [](E& e) { e.key = 0x1B; })},
      {"F5", KMOD_NONE, Key(SDL_KEYDOWN, SDLK_F5, KMOD_NONE), Expect(E::eKeyDown, 0, 0, [](E& e) { e.key = 0x74; })},
      {"key without a code", KMOD_NONE, Key(SDL_KEYDOWN, SDLK_MUTE, KMOD_NONE), std::nullopt},
      {"resized", KMOD_NONE, Window(SDL_WINDOWEVENT_RESIZED, 120, 90), Expect(E::eResize, 120, 90)},
      {"the same size again", KMOD_NONE, Window(SDL_WINDOWEVENT_SIZE_CHANGED, 120, 90), std::nullopt},
      {"size changed", KMOD_NONE, Window(SDL_WINDOWEVENT_SIZE_CHANGED, 64, 48), Expect(E::eResize, 64, 48)},
      {"exposed", KMOD_NONE, Window(SDL_WINDOWEVENT_EXPOSED), Expect(E::eExpose)},
      {"close", KMOD_NONE, Window(SDL_WINDOWEVENT_CLOSE), Expect(E::eClose)},
      {"focus", KMOD_NONE, Window(SDL_WINDOWEVENT_FOCUS_GAINED), std::nullopt},
  };
  for (const EventCase& c : cases) {
    SCOPED_TRACE(c.name);
    SDL_SetModState(SDL_Keymod(c.held));
    SDL_Event sdl = c.sdl;
    sdl.window.windowID = Uint32(window);  // where every event type keeps it
    ASSERT_EQ(SDL_PushEvent(&sdl), 1) << SDL_GetError();
    WndDesktopEvent got;
    if (!c.expected) {
      EXPECT_FALSE(desktop.NextEvent(got, 0));
      continue;
    }
    ASSERT_TRUE(desktop.NextEvent(got, 0));
    const WndDesktopEvent& want = *c.expected;
    EXPECT_EQ(got.type, want.type);
    EXPECT_EQ(got.window, window);
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.button, want.button);
    EXPECT_EQ(got.control, want.control);
    EXPECT_EQ(got.shift, want.shift);
    EXPECT_EQ(got.key, want.key);
    EXPECT_EQ(got.wheel, want.wheel);
    EXPECT_FALSE(desktop.NextEvent(got, 0));
  }
}

TEST_F(DesktopSDL, QuitAndEventsOfGoneWindows) {
  // A resize the host asked for is not told back to it.
  desktop.ResizeNativeWindow(window, 70, 50);
  WndDesktopEvent got;
  while (desktop.NextEvent(got, 0))
    EXPECT_NE(got.type, WndDesktopEvent::eResize);

  SDL_Event close = Window(SDL_WINDOWEVENT_CLOSE);
  close.window.windowID = Uint32(window);
  SDL_PushEvent(&close);
  desktop.DestroyNativeWindow(window);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  ASSERT_TRUE(desktop.NextEvent(got, 100));
  EXPECT_EQ(got.type, WndDesktopEvent::eQuit);
  EXPECT_FALSE(desktop.NextEvent(got, 20));
}

// SDL's offscreen driver makes no cursors: there nothing may change; on a driver with
// cursors each call shows its own, and the same image shows the same cursor again.
TEST_F(DesktopSDL, SystemAndImageCursors) {
  const bool driverHasCursors = SDL_GetDefaultCursor() != nullptr;
  SDL_Cursor* before = SDL_GetCursor();
  MImageRGBA arrow = Pattern(16, 16), empty;

  desktop.SetCursor(nullptr, 0, 0, 32646);  // IDC_SIZEALL
  SDL_Cursor* sizeAll = SDL_GetCursor();
  desktop.SetCursor(&arrow, 3, 40, 0);  // a hot spot outside is pulled in
  SDL_Cursor* image = SDL_GetCursor();
  desktop.SetCursor(&empty, 0, 0, 32515);  // IDC_CROSS
  SDL_Cursor* cross = SDL_GetCursor();
  MImageRGBA same = Pattern(16, 16);
  desktop.SetCursor(&same, 3, 40, 0);
  if (!driverHasCursors) {
    EXPECT_EQ(SDL_GetCursor(), before);
    return;
  }
  EXPECT_NE(sizeAll, before);
  EXPECT_NE(image, sizeAll);
  EXPECT_NE(cross, image);
  EXPECT_EQ(SDL_GetCursor(), image);
}

TEST_F(DesktopSDL, DevicesAndViewRenders) {
  MImageRGBA image(32, 24);
  auto device = desktop.CreateDevice(image);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->GetSurfaceSize().cx, 32);
  EXPECT_EQ(device->GetSurfaceSize().cy, 24);

  WndViewRender view = desktop.CreateViewRender(40, 30);
  ASSERT_NE(view.render, nullptr);
  ASSERT_NE(view.surface, nullptr);
  EXPECT_TRUE(view.render->StartFrame(view.surface, nullptr, false));
  view.render->StopFrame();
  // A view the renderer cannot make is an empty one, not an error.
  WndViewRender none = desktop.CreateViewRender(0, 30);
  EXPECT_EQ(none.render, nullptr);
  EXPECT_EQ(none.surface, nullptr);
  none = desktop.CreateViewRender(1 << 20, 30);
  EXPECT_EQ(none.render, nullptr);
}

// A child window that paints itself one colour.
class CPaintedChild : public CWnd {
  DECLARE_MESSAGE_MAP()

public:
  static constexpr COLORREF kColour = RGB(200, 30, 40);

protected:
  void OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, kColour);
  }
};
BEGIN_MESSAGE_MAP(CPaintedChild, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

// The host's windows on the SDL desktop: what the window shows is the parent's background
// with the child painted at its place.
TEST(DesktopSDLWindows, ChildPaintsOverParentBackground) {
  CWndDesktopSDL desktop;
  SetWndDesktop(&desktop);
  const COLORREF background = RGB(30, 90, 160);
  {
    HBRUSH brush = CreateSolidBrush(background);
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0, nullptr, brush), L"Parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                CRect(0, 0, 80, 60), nullptr, 0));
    CPaintedChild child;
    ASSERT_TRUE(child.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 12, 40, 30), &parent, 1));
    for (int round = 0; round < 3; ++round)
      AfxPumpMessages(0);

    MImageRGBA shown, composed;
    ASSERT_TRUE(desktop.ReadWindowPixels(AfxGetNativeWindow(&parent), shown));
    ASSERT_EQ(shown.Width(), 80u);
    ASSERT_EQ(shown.Height(), 60u);
    const struct {
      int x, y;
      COLORREF colour;
    } points[] = {{10, 12, CPaintedChild::kColour}, {39, 29, CPaintedChild::kColour}, {25, 20, CPaintedChild::kColour},
                  {9, 12, background},  {40, 29, background},  {10, 11, background},
                  {39, 30, background}, {0, 0, background},    {79, 59, background}};
    for (const auto& p : points) {
      const std::uint8_t* pixel = shown.Pixel(p.x, p.y);
      EXPECT_EQ(RGB(pixel[0], pixel[1], pixel[2]), p.colour) << p.x << "," << p.y;
    }
    // Exactly what the loop composed.
    ASSERT_TRUE(AfxGetWindowPixels(&parent, composed));
    ASSERT_EQ(composed.Width(), 80u);
    for (unsigned i = 0; i < 80 * 60 * 4; i += 4)
      ASSERT_EQ(std::memcmp(shown.Data() + i, composed.Data() + i, 3), 0) << i / 4 % 80 << "," << i / 4 / 80;
    parent.DestroyWindow();
    DeleteObject(brush);
  }
  SetWndDesktop(nullptr);
}

// Sets environment variables for one case and restores them after.
class ScopedEnvironment {
public:
  void Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    m_saved.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnvironment() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
      it->second ? setenv(it->first, it->second->c_str(), 1) : unsetenv(it->first);
  }

private:
  std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

TEST(DesktopSDLStart, NoDisplayIsOneClearLine) {
  // Left to itself SDL would fall back to its offscreen driver; the desktop refuses that,
  // unless a console display really opens.
  for (const char* driver : {"x11", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(driver ? driver : "SDL's choice");
    ScopedEnvironment environment;
    environment.Set("SDL_VIDEODRIVER", driver);
    environment.Set("DISPLAY", nullptr);
    environment.Set("WAYLAND_DISPLAY", nullptr);
    try {
      CWndDesktopSDL desktop;
      EXPECT_EQ(driver, nullptr) << "started without a display";
      EXPECT_STRNE(SDL_GetCurrentVideoDriver(), "offscreen");
      EXPECT_STRNE(SDL_GetCurrentVideoDriver(), "dummy");
    } catch (const std::runtime_error& error) {
      std::string message = error.what();
      EXPECT_EQ(message.rfind("no display: ", 0), 0u) << message;
      EXPECT_NE(message.find("; set SDL_VIDEODRIVER=offscreen to run without one"), std::string::npos) << message;
      EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
  }
  // A failed start leaves SDL ready for the next desktop.
  CWndDesktopSDL desktop;
  EXPECT_NE(desktop.CreateNativeWindow(L"after", 8, 8), 0u);
}

TEST(DesktopSDLStart, OneDesktopAtATime) {
  for (int round = 0; round < 2; ++round) {
    CWndDesktopSDL desktop;
    EXPECT_THROW(CWndDesktopSDL second, std::logic_error);
    WndNativeId window = desktop.CreateNativeWindow(L"kept open", 16, 16);
    desktop.Present(window, Pattern(16, 16));
    desktop.SetCursor(nullptr, 0, 0, 32512);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), Uint32(SDL_INIT_VIDEO));
  }
  EXPECT_EQ(SDL_WasInit(0), 0u);  // the last desktop shut SDL down
}

}  // namespace
