#include "backends/sdl/CWndDesktopSDL.h"

#include "backends/cairo/CGdiDeviceCairo.h"
#include "backends/gl/IVRenderGL.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// SDL's video subsystem is one per process.
std::atomic<bool> g_desktop_alive{false};

bool IsHeadlessDriver(const char* name) {
  return SDL_strcasecmp(name, "offscreen") == 0 || SDL_strcasecmp(name, "dummy") == 0 ||
         SDL_strcasecmp(name, "evdev") == 0;
}

// Win32 virtual-key codes of the keys that have one.
int VirtualKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z)
    return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9)
    return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12)
    return 0x70 + (key - SDLK_F1);  // VK_F1
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
    return 0x61 + (key - SDLK_KP_1);  // VK_NUMPAD1
  static const std::map<SDL_Keycode, int> keys = {
      {SDLK_BACKSPACE, 0x08},    {SDLK_TAB, 0x09},          {SDLK_RETURN, 0x0D},      {SDLK_KP_ENTER, 0x0D},
      {SDLK_LSHIFT, 0x10},       {SDLK_RSHIFT, 0x10},       {SDLK_LCTRL, 0x11},       {SDLK_RCTRL, 0x11},
      {SDLK_LALT, 0x12},         {SDLK_RALT, 0x12},         {SDLK_PAUSE, 0x13},       {SDLK_CAPSLOCK, 0x14},
      {SDLK_ESCAPE, 0x1B},       {SDLK_SPACE, 0x20},        {SDLK_PAGEUP, 0x21},      {SDLK_PAGEDOWN, 0x22},
      {SDLK_END, 0x23},          {SDLK_HOME, 0x24},         {SDLK_LEFT, 0x25},        {SDLK_UP, 0x26},
      {SDLK_RIGHT, 0x27},        {SDLK_DOWN, 0x28},         {SDLK_PRINTSCREEN, 0x2C}, {SDLK_INSERT, 0x2D},
      {SDLK_DELETE, 0x2E},       {SDLK_LGUI, 0x5B},         {SDLK_RGUI, 0x5C},        {SDLK_APPLICATION, 0x5D},
      {SDLK_KP_0, 0x60},         {SDLK_KP_MULTIPLY, 0x6A},  {SDLK_KP_PLUS, 0x6B},     {SDLK_KP_MINUS, 0x6D},
      {SDLK_KP_PERIOD, 0x6E},    {SDLK_KP_DIVIDE, 0x6F},    {SDLK_NUMLOCKCLEAR, 0x90}, {SDLK_SCROLLLOCK, 0x91},
      {SDLK_SEMICOLON, 0xBA},    {SDLK_EQUALS, 0xBB},       {SDLK_COMMA, 0xBC},       {SDLK_MINUS, 0xBD},
      {SDLK_PERIOD, 0xBE},       {SDLK_SLASH, 0xBF},        {SDLK_BACKQUOTE, 0xC0},   {SDLK_LEFTBRACKET, 0xDB},
      {SDLK_BACKSLASH, 0xDC},    {SDLK_RIGHTBRACKET, 0xDD}, {SDLK_QUOTE, 0xDE},
  };
  auto found = keys.find(key);
  return found == keys.end() ? 0 : found->second;
}

// SDL's nearest system cursor to a Win32 IDC_ cursor; the arrow for the others.
SDL_SystemCursor SystemCursor(int systemId) {
  switch (systemId) {
  case 32513: return SDL_SYSTEM_CURSOR_IBEAM;      // IDC_IBEAM
  case 32514: return SDL_SYSTEM_CURSOR_WAIT;       // IDC_WAIT
  case 32515: return SDL_SYSTEM_CURSOR_CROSSHAIR;  // IDC_CROSS
  case 32642: return SDL_SYSTEM_CURSOR_SIZENWSE;   // IDC_SIZENWSE
  case 32643: return SDL_SYSTEM_CURSOR_SIZENESW;   // IDC_SIZENESW
  case 32644: return SDL_SYSTEM_CURSOR_SIZEWE;     // IDC_SIZEWE
  case 32645: return SDL_SYSTEM_CURSOR_SIZENS;     // IDC_SIZENS
  case 32646: return SDL_SYSTEM_CURSOR_SIZEALL;    // IDC_SIZEALL
  case 32648: return SDL_SYSTEM_CURSOR_NO;         // IDC_NO
  case 32649: return SDL_SYSTEM_CURSOR_HAND;       // IDC_HAND
  case 32650: return SDL_SYSTEM_CURSOR_WAITARROW;  // IDC_APPSTARTING
  default: return SDL_SYSTEM_CURSOR_ARROW;         // IDC_ARROW, IDC_UPARROW, IDC_HELP, ...
  }
}

void SetModifiers(WndDesktopEvent& out, Uint16 mod) {
  out.control = (mod & KMOD_CTRL) != 0;
  out.shift = (mod & KMOD_SHIFT) != 0;
}

std::string Utf8(const std::wstring& text) {
  char* converted = SDL_iconv_wchar_utf8(text.c_str());
  if (!converted)
    return {};
  std::string result(converted);
  SDL_free(converted);
  return result;
}

}  // namespace

struct CWndDesktopSDL::State {
  struct ImageCursor {
    unsigned width, height;
    int hotX, hotY;
    std::vector<std::uint8_t> pixels;
    SDL_Cursor* cursor;  // null when the driver could not make it
  };
  std::map<SDL_SystemCursor, SDL_Cursor*> systemCursors;
  std::vector<ImageCursor> imageCursors;
  // The client size last told to the host, so that SDL's two notices of one resize (and
  // the echo of a resize the host asked for) give one eResize.
  std::map<Uint32, std::pair<int, int>> sizes;

  void Show(SDL_Cursor* cursor) {
    if (cursor && cursor != SDL_GetCursor())
      SDL_SetCursor(cursor);
  }
  bool Map(const SDL_Event& e, WndDesktopEvent& out);
};

CWndDesktopSDL::CWndDesktopSDL() : m_state(std::make_unique<State>()) {
  if (g_desktop_alive.exchange(true))
    throw std::logic_error("an SDL desktop already exists: only one may live at a time");
  SDL_SetMainReady();
  // SDL falls back to a headless driver when no display opens; a program on the desktop
  // would then run with windows nobody sees. Headless drivers only when asked for.
  std::string drivers;
  const char* chosen = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (!chosen || !*chosen) {
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i)
      if (!IsHeadlessDriver(SDL_GetVideoDriver(i)))
        drivers += (drivers.empty() ? "" : ",") + std::string(SDL_GetVideoDriver(i));
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
  }
  // The host decides what closing its last window means.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Window pixels go up as plain memory (XShm on X11). SDL would otherwise put them through
  // an OpenGL renderer of its own (GLX on X11), whose context clashes with the views' EGL
  // context on the same thread: the X server refuses its MakeCurrent.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::string reason = SDL_GetError();
    SDL_Quit();
    g_desktop_alive = false;
    throw std::runtime_error("no display: " + reason + "; set SDL_VIDEODRIVER=offscreen to run without one");
  }
}

CWndDesktopSDL::~CWndDesktopSDL() {
  for (auto& [id, cursor] : m_state->systemCursors)
    if (cursor)
      SDL_FreeCursor(cursor);
  for (auto& entry : m_state->imageCursors)
    if (entry.cursor)
      SDL_FreeCursor(entry.cursor);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);  // closes the windows still open
  SDL_Quit();
  g_desktop_alive = false;
}

WndNativeId CWndDesktopSDL::CreateNativeWindow(const std::wstring& title, int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  SDL_Window* window = SDL_CreateWindow(Utf8(title).c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        width, height, SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN);
  if (!window)
    return 0;
  Uint32 id = SDL_GetWindowID(window);
  SDL_GetWindowSize(window, &width, &height);
  m_state->sizes[id] = {width, height};
  return id;
}

void CWndDesktopSDL::DestroyNativeWindow(WndNativeId window) {
  if (SDL_Window* native = SDL_GetWindowFromID(Uint32(window))) {
    SDL_DestroyWindow(native);
    m_state->sizes.erase(Uint32(window));
  }
}

void CWndDesktopSDL::ResizeNativeWindow(WndNativeId window, int width, int height) {
  if (SDL_Window* native = SDL_GetWindowFromID(Uint32(window))) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    SDL_SetWindowSize(native, width, height);
    m_state->sizes[Uint32(window)] = {width, height};
  }
}

void CWndDesktopSDL::Present(WndNativeId window, const MImageRGBA& pixels) {
  SDL_Window* native = SDL_GetWindowFromID(Uint32(window));
  // Made anew at the window's size after a resize.
  SDL_Surface* surface = native ? SDL_GetWindowSurface(native) : nullptr;
  if (!surface)
    return;
  int width = std::min(int(pixels.Width()), surface->w);
  int height = std::min(int(pixels.Height()), surface->h);
  Uint32 black = SDL_MapRGB(surface->format, 0, 0, 0);
  SDL_Rect right{width, 0, surface->w - width, surface->h};
  SDL_Rect below{0, height, width, surface->h - height};
  SDL_FillRect(surface, &right, black);
  SDL_FillRect(surface, &below, black);
  if (width > 0 && height > 0 && SDL_LockSurface(surface) == 0) {
    SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_RGBA32, pixels.Data(), int(pixels.Width()) * 4,
                      surface->format->format, surface->pixels, surface->pitch);
    SDL_UnlockSurface(surface);
  }
  SDL_UpdateWindowSurface(native);
}

bool CWndDesktopSDL::ReadWindowPixels(WndNativeId window, MImageRGBA& pixels) {
  SDL_Window* native = SDL_GetWindowFromID(Uint32(window));
  SDL_Surface* surface = native ? SDL_GetWindowSurface(native) : nullptr;
  if (!surface || SDL_LockSurface(surface) != 0)
    return false;
  MImageRGBA image(unsigned(surface->w), unsigned(surface->h));
  int status = SDL_ConvertPixels(surface->w, surface->h, surface->format->format, surface->pixels, surface->pitch,
                                 SDL_PIXELFORMAT_RGBA32, image.Data(), surface->w * 4);
  SDL_UnlockSurface(surface);
  if (status != 0)
    return false;
  // A window surface shows no transparency, whatever its format keeps in the alpha bits.
  for (unsigned i = 3; i < image.Width() * image.Height() * 4; i += 4)
    image.Data()[i] = 255;
  pixels = std::move(image);
  return true;
}

bool CWndDesktopSDL::NextEvent(WndDesktopEvent& event, int timeoutMs) {
  const Uint64 start = SDL_GetTicks64();
  for (;;) {
    SDL_Event e;
    int got;
    if (timeoutMs < 0) {
      got = SDL_WaitEvent(&e);
    } else {
      Sint64 left = Sint64(timeoutMs) - Sint64(SDL_GetTicks64() - start);
      got = left > 0 ? SDL_WaitEventTimeout(&e, int(left)) : SDL_PollEvent(&e);
    }
    if (!got)
      return false;
    event = WndDesktopEvent{};
    if (m_state->Map(e, event))
      return true;
  }
}

bool CWndDesktopSDL::State::Map(const SDL_Event& e, WndDesktopEvent& out) {
  // Window events carry the window's id at the same place in each event type; one left
  // over from a window already destroyed is dropped.
  auto window = [&](Uint32 id) {
    out.window = id;
    return id == 0 || SDL_GetWindowFromID(id) != nullptr;
  };
  switch (e.type) {
  case SDL_QUIT:
    out.type = WndDesktopEvent::eQuit;
    return true;
  case SDL_MOUSEMOTION:
    out.type = WndDesktopEvent::eMouseMove;
    out.x = e.motion.x;
    out.y = e.motion.y;
    SetModifiers(out, SDL_GetModState());
    return window(e.motion.windowID);
  case SDL_MOUSEBUTTONDOWN:
  case SDL_MOUSEBUTTONUP:
    if (e.button.button < SDL_BUTTON_LEFT || e.button.button > SDL_BUTTON_RIGHT)
      return false;  // the extra buttons have no Win32 message here
    out.type = e.type == SDL_MOUSEBUTTONDOWN ? WndDesktopEvent::eButtonDown : WndDesktopEvent::eButtonUp;
    out.button = e.button.button;  // SDL numbers them as we do: 1 left, 2 middle, 3 right
    out.x = e.button.x;
    out.y = e.button.y;
    SetModifiers(out, SDL_GetModState());
    return window(e.button.windowID);
  case SDL_MOUSEWHEEL:
    if (e.wheel.y == 0)
      return false;  // sideways only
    out.type = WndDesktopEvent::eWheel;
    out.wheel = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
#if SDL_VERSION_ATLEAST(2, 26, 0)
    out.x = e.wheel.mouseX;
    out.y = e.wheel.mouseY;
#else
    SDL_GetMouseState(&out.x, &out.y);
#endif
    SetModifiers(out, SDL_GetModState());
    return window(e.wheel.windowID);
  case SDL_KEYDOWN:
  case SDL_KEYUP:
    out.key = VirtualKey(e.key.keysym.sym);
    if (out.key == 0)
      return false;
    out.type = e.type == SDL_KEYDOWN ? WndDesktopEvent::eKeyDown : WndDesktopEvent::eKeyUp;
    SetModifiers(out, e.key.keysym.mod);
    return window(e.key.windowID);
  case SDL_WINDOWEVENT:
    if (!window(e.window.windowID) || e.window.windowID == 0)
      return false;
    switch (e.window.event) {
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
      std::pair<int, int> size{e.window.data1, e.window.data2};
      auto& known = sizes[e.window.windowID];
      if (known == size)
        return false;
      known = size;
      out.type = WndDesktopEvent::eResize;
      out.x = size.first;
      out.y = size.second;
      return true;
    }
    case SDL_WINDOWEVENT_EXPOSED:
      out.type = WndDesktopEvent::eExpose;
      return true;
    case SDL_WINDOWEVENT_CLOSE:
      out.type = WndDesktopEvent::eClose;
      return true;
    default:
      return false;
    }
  default:
    return false;
  }
}

void CWndDesktopSDL::SetCursor(const MImageRGBA* image, int hotX, int hotY, int systemId) {
  if (!image || image->Empty()) {
    SDL_SystemCursor id = SystemCursor(systemId);
    auto found = m_state->systemCursors.find(id);
    if (found == m_state->systemCursors.end())
      found = m_state->systemCursors.emplace(id, SDL_CreateSystemCursor(id)).first;
    m_state->Show(found->second);
    return;
  }
  // SDL refuses a hot spot outside the image.
  hotX = std::clamp(hotX, 0, int(image->Width()) - 1);
  hotY = std::clamp(hotY, 0, int(image->Height()) - 1);
  const std::size_t bytes = std::size_t(image->Width()) * image->Height() * 4;
  for (auto& entry : m_state->imageCursors)
    if (entry.width == image->Width() && entry.height == image->Height() && entry.hotX == hotX &&
        entry.hotY == hotY && std::memcmp(entry.pixels.data(), image->Data(), bytes) == 0) {
      m_state->Show(entry.cursor);
      return;
    }
  SDL_Cursor* cursor = nullptr;
  if (SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
          const_cast<std::uint8_t*>(image->Data()), int(image->Width()), int(image->Height()), 32,
          int(image->Width()) * 4, SDL_PIXELFORMAT_RGBA32)) {
    cursor = SDL_CreateColorCursor(surface, hotX, hotY);  // copies the pixels
    SDL_FreeSurface(surface);
  }
  m_state->imageCursors.push_back({image->Width(), image->Height(), hotX, hotY,
                                   std::vector<std::uint8_t>(image->Data(), image->Data() + bytes), cursor});
  m_state->Show(cursor);
}

void CWndDesktopSDL::CaptureMouse(WndNativeId, bool on) {
  // SDL captures for the window with the mouse focus; drivers without capture (offscreen)
  // refuse, and input then simply stops at the window's edge.
  SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

std::unique_ptr<IGdiDevice> CWndDesktopSDL::CreateDevice(MImageRGBA& image) {
  return std::make_unique<CGdiDeviceCairo>(image);
}

WndViewRender CWndDesktopSDL::CreateViewRender(int width, int height) {
  if (width <= 0 || height <= 0)
    return {};
  try {
    auto render = std::make_unique<IVRenderGL>(unsigned(width), unsigned(height));
    IVDisplaySurface* surface = &render->GetSurface();
    return {std::move(render), surface};
  } catch (const std::exception&) {
    return {};  // no OpenGL here, or a view beyond its limits: the view shows no 3D
  }
}
