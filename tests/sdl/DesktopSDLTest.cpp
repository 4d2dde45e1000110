// The SDL desktop, on SDL's offscreen driver unless SDL_VIDEODRIVER names another: pixels
// shown and read back, SDL's events as the host's, cursors, the host's windows on it, and
// the refusal to start without a display.
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
#include <tuple>
#include <vector>

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
};

// The window's own size, then a larger one that an older, smaller or larger picture only
// partly covers: it lands top left, clipped, with black where it does not reach.
TEST_F(DesktopSDL, PresentedPixelsReadBackExactly) {
  EXPECT_STREQ(SDL_GetWindowTitle(SDL_GetWindowFromID(Uint32(window))), "Coupe \u2013 \u00e9");
  const struct {
    unsigned windowWidth, windowHeight, width, height;
  } cases[] = {{64, 48, 64, 48}, {80, 60, 64, 48}, {80, 60, 100, 70}, {80, 60, 90, 20}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    desktop.ResizeNativeWindow(window, int(c.windowWidth), int(c.windowHeight));
    for (WndDesktopEvent event; desktop.NextEvent(event, 0);)
      EXPECT_NE(event.type, WndDesktopEvent::eResize);  // the host knows the size it asked for
    const MImageRGBA image = Pattern(c.width, c.height);
    desktop.Present(window, image);
    MImageRGBA shown;
    ASSERT_TRUE(desktop.ReadWindowPixels(window, shown));
    ASSERT_EQ(shown.Width(), c.windowWidth);
    ASSERT_EQ(shown.Height(), c.windowHeight);
    const std::uint8_t black[4] = {0, 0, 0, 255};
    for (unsigned y = 0; y < c.windowHeight; ++y)
      for (unsigned x = 0; x < c.windowWidth; ++x)
        ASSERT_EQ(std::memcmp(shown.Pixel(x, y), x < c.width && y < c.height ? image.Pixel(x, y) : black, 4), 0)
            << x << "," << y;
  }
  desktop.DestroyNativeWindow(window);
  MImageRGBA shown;
  EXPECT_FALSE(desktop.ReadWindowPixels(window, shown));
}

TEST_F(DesktopSDL, SdlEventsBecomeDesktopEvents) {
  using E = WndDesktopEvent;
  auto window = [](Uint8 what, int data1 = 0, int data2 = 0) {
    return SDL_Event{.window = {.type = SDL_WINDOWEVENT, .event = what, .data1 = data1, .data2 = data2}};
  };
  const struct {
    const char* name;
    int held;  // SDL_Keymod bits
    SDL_Event sdl;
    std::optional<E> expected;  // none: the event is not passed on
  } cases[] = {
      {"left down with control", KMOD_LCTRL, {.button = {.type = SDL_MOUSEBUTTONDOWN, .button = 1, .x = 3, .y = 4}},
       E{.type = E::eButtonDown, .x = 3, .y = 4, .button = 1, .control = true}},
      {"right up with shift", KMOD_RSHIFT, {.button = {.type = SDL_MOUSEBUTTONUP, .button = 3, .x = 5, .y = 6}},
       E{.type = E::eButtonUp, .x = 5, .y = 6, .button = 3, .shift = true}},
      {"middle down", 0, {.button = {.type = SDL_MOUSEBUTTONDOWN, .button = 2}},
       E{.type = E::eButtonDown, .button = 2}},
      {"extra button", 0, {.button = {.type = SDL_MOUSEBUTTONDOWN, .button = SDL_BUTTON_X1}}, std::nullopt},
      {"move with both", KMOD_CTRL | KMOD_SHIFT, {.motion = {.type = SDL_MOUSEMOTION, .x = 63, .y = 47}},
       E{.type = E::eMouseMove, .x = 63, .y = 47, .control = true, .shift = true}},
      {"wheel away", 0, {.wheel = {.type = SDL_MOUSEWHEEL, .y = 2, .mouseX = 7, .mouseY = 9}},
       E{.type = E::eWheel, .x = 7, .y = 9, .wheel = 2}},
      {"wheel flipped", 0,
       {.wheel = {.type = SDL_MOUSEWHEEL, .y = 1, .direction = SDL_MOUSEWHEEL_FLIPPED, .mouseX = 7, .mouseY = 9}},
       E{.type = E::eWheel, .x = 7, .y = 9, .wheel = -1}},
      {"letter with shift", 0, {.key = {.type = SDL_KEYDOWN, .keysym = {.sym = SDLK_a, .mod = KMOD_LSHIFT}}},
       E{.type = E::eKeyDown, .shift = true, .key = 'A'}},
      {"escape up", 0, {.key = {.type = SDL_KEYUP, .keysym = {.sym = SDLK_ESCAPE}}}, E{.type = E::eKeyUp, .key = 0x1B}},
      {"F5", 0, {.key = {.type = SDL_KEYDOWN, .keysym = {.sym = SDLK_F5}}}, E{.type = E::eKeyDown, .key = 0x74}},
      {"key without a code", 0, {.key = {.type = SDL_KEYDOWN, .keysym = {.sym = SDLK_MUTE}}}, std::nullopt},
      {"resized", 0, window(SDL_WINDOWEVENT_RESIZED, 120, 90), E{.type = E::eResize, .x = 120, .y = 90}},
      {"the same size again", 0, window(SDL_WINDOWEVENT_SIZE_CHANGED, 120, 90), std::nullopt},
      {"size changed", 0, window(SDL_WINDOWEVENT_SIZE_CHANGED, 64, 48), E{.type = E::eResize, .x = 64, .y = 48}},
      {"exposed", 0, window(SDL_WINDOWEVENT_EXPOSED), E{.type = E::eExpose}},
      {"close", 0, window(SDL_WINDOWEVENT_CLOSE), E{.type = E::eClose}},
      {"focus", 0, window(SDL_WINDOWEVENT_FOCUS_GAINED), std::nullopt},
      {"quit", 0, {.type = SDL_QUIT}, E{.type = E::eQuit}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SDL_SetModState(SDL_Keymod(c.held));
    SDL_Event sdl = c.sdl;
    sdl.window.windowID = Uint32(this->window);  // where every event type keeps it
    ASSERT_EQ(SDL_PushEvent(&sdl), 1) << SDL_GetError();
    E got;
    ASSERT_EQ(desktop.NextEvent(got, 0), c.expected.has_value());
    if (!c.expected)
      continue;
    E want = *c.expected;
    want.window = want.type == E::eQuit ? 0 : this->window;
    EXPECT_EQ(std::tie(got.type, got.window, got.x, got.y, got.button, got.control, got.shift, got.key, got.wheel),
              std::tie(want.type, want.window, want.x, want.y, want.button, want.control, want.shift, want.key,
                       want.wheel));
    EXPECT_FALSE(desktop.NextEvent(got, 0));
  }
  // What is left of a window already gone is dropped.
  SDL_Event close = window(SDL_WINDOWEVENT_CLOSE);
  close.window.windowID = Uint32(this->window);
  SDL_PushEvent(&close);
  desktop.DestroyNativeWindow(this->window);
  E got;
  EXPECT_FALSE(desktop.NextEvent(got, 20));
}

// SDL's offscreen driver makes no cursors, so nothing may change there; on a driver with
// cursors each call shows its own, and the same image shows the same cursor again.
TEST_F(DesktopSDL, SystemAndImageCursors) {
  MImageRGBA image = Pattern(16, 16), same = Pattern(16, 16), empty;
  std::vector<SDL_Cursor*> shown{SDL_GetCursor()};
  desktop.SetCursor(nullptr, 0, 0, 32646);  // IDC_SIZEALL
  shown.push_back(SDL_GetCursor());
  desktop.SetCursor(&image, 3, 40, 0);  // a hot spot outside is pulled in
  shown.push_back(SDL_GetCursor());
  desktop.SetCursor(&empty, 0, 0, 32515);  // IDC_CROSS
  shown.push_back(SDL_GetCursor());
  desktop.SetCursor(&same, 3, 40, 0);
  shown.push_back(SDL_GetCursor());
  if (!SDL_GetDefaultCursor())
    EXPECT_EQ(shown, std::vector<SDL_Cursor*>(5, nullptr));
  else
    EXPECT_TRUE(shown[1] != shown[0] && shown[2] != shown[1] && shown[3] != shown[2] && shown[4] == shown[2]);
}

TEST_F(DesktopSDL, DevicesAndViewRenders) {
  MImageRGBA image(32, 24);
  EXPECT_EQ(desktop.CreateDevice(image)->GetSurfaceSize().cx, 32);
  WndViewRender view = desktop.CreateViewRender(40, 30);
  ASSERT_NE(view.render, nullptr);
  ASSERT_NE(view.surface, nullptr);
  EXPECT_TRUE(view.render->StartFrame(view.surface, nullptr, false));
  view.render->StopFrame();
  // A view the renderer cannot make is an empty one, not an error.
  for (auto [width, height] : {std::pair{0, 30}, std::pair{1 << 20, 30}})
    EXPECT_EQ(desktop.CreateViewRender(width, height).render, nullptr);
}

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

TEST(DesktopSDLWindows, ChildPaintsOverParentBackground) {
  CWndDesktopSDL desktop;
  SetWndDesktop(&desktop);
  const COLORREF background = RGB(30, 90, 160);
  HBRUSH brush = CreateSolidBrush(background);
  {
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
    // The child's corners and the parent's pixels beside them.
    for (auto [x, y, colour] : {std::tuple{10, 12, CPaintedChild::kColour}, {39, 29, CPaintedChild::kColour},
                                {9, 12, background}, {40, 29, background}, {39, 30, background}}) {
      const std::uint8_t* pixel = shown.Pixel(x, y);
      EXPECT_EQ(RGB(pixel[0], pixel[1], pixel[2]), colour) << x << "," << y;
    }
    // Everywhere exactly what the loop composed.
    ASSERT_TRUE(AfxGetWindowPixels(&parent, composed));
    ASSERT_EQ(composed.Width(), 80u);
    for (unsigned i = 0; i < 80 * 60 * 4; i += 4)
      ASSERT_EQ(std::memcmp(shown.Data() + i, composed.Data() + i, 3), 0) << i / 4 % 80 << "," << i / 4 / 80;
  }
  DeleteObject(brush);
  SetWndDesktop(nullptr);
}

// SDL left to itself falls back to its offscreen driver; the desktop refuses that, unless
// a console display really opens. The environment is put back for the next test.
TEST(DesktopSDLStart, NoDisplayIsOneClearLine) {
  const char* display = std::getenv("DISPLAY");
  const std::string driverSet = std::getenv("SDL_VIDEODRIVER"), displaySet = display ? display : "";
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  for (const char* driver : {"x11", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(driver ? driver : "SDL's choice");
    driver ? setenv("SDL_VIDEODRIVER", driver, 1) : unsetenv("SDL_VIDEODRIVER");
    try {
      CWndDesktopSDL desktop;
      EXPECT_EQ(driver, nullptr) << "started without a display";
      EXPECT_STRNE(SDL_GetCurrentVideoDriver(), "offscreen");
    } catch (const std::runtime_error& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.rfind("no display: ", 0), 0u) << message;
      EXPECT_NE(message.find("; set SDL_VIDEODRIVER=offscreen to run without one"), std::string::npos) << message;
      EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
  }
  setenv("SDL_VIDEODRIVER", driverSet.c_str(), 1);
  if (!displaySet.empty())
    setenv("DISPLAY", displaySet.c_str(), 1);
  // A failed start leaves SDL ready for the next desktop.
  CWndDesktopSDL desktop;
  EXPECT_NE(desktop.CreateNativeWindow(L"after", 8, 8), 0u);
}

TEST(DesktopSDLStart, OneDesktopAtATime) {
  for (int round = 0; round < 2; ++round) {
    CWndDesktopSDL desktop;
    EXPECT_THROW(CWndDesktopSDL second, std::logic_error);
    desktop.Present(desktop.CreateNativeWindow(L"kept open", 16, 16), Pattern(16, 16));
    desktop.SetCursor(nullptr, 0, 0, 32512);
  }
  EXPECT_EQ(SDL_WasInit(0), 0u);  // the last desktop shut SDL down
}

}  // namespace
