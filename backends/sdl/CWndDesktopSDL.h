#pragma once
// The SDL2 desktop: the host's top-level windows as SDL windows on the user's screen, or
// on SDL's offscreen driver (SDL_VIDEODRIVER=offscreen) for headless runs.
#include "backends/sdl/SdlApi.h"
#include "host/wnd/IWndDesktop.h"

#include <memory>

// Top-level windows are resizable SDL windows whose pixels live in SDL's window surface;
// input comes from SDL's event queue, with keys as Win32 virtual-key codes. Devices are
// the Cairo backend's, 3D views the OpenGL backend's.
//
// SDL's video subsystem is process-wide, so only one desktop may live at a time: the
// constructor starts SDL and the destructor shuts it down again, closing any windows
// still open. Closing the last window does not end the program by itself; eQuit comes
// only when the user asks to end it (for instance with Ctrl+C on the terminal).
class VISTAL_SDL_API CWndDesktopSDL final : public IWndDesktop {
public:
  // Throws std::runtime_error with a one-line reason when no display can be opened (SDL's
  // offscreen and dummy drivers are used only when SDL_VIDEODRIVER names them), and
  // std::logic_error while another SDL desktop lives.
  CWndDesktopSDL();
  ~CWndDesktopSDL() override;
  CWndDesktopSDL(const CWndDesktopSDL&) = delete;
  CWndDesktopSDL& operator=(const CWndDesktopSDL&) = delete;

  WndNativeId CreateNativeWindow(const std::wstring& title, int width, int height) override;
  void DestroyNativeWindow(WndNativeId window) override;
  void ResizeNativeWindow(WndNativeId window, int width, int height) override;
  // Pixels beyond the image (the window has grown since it was composed) are shown black.
  void Present(WndNativeId window, const MImageRGBA& pixels) override;

  // A negative timeout waits until an event comes.
  bool NextEvent(WndDesktopEvent& event, int timeoutMs) override;
  // A cursor the driver cannot make (SDL's offscreen driver has none) leaves the cursor as
  // it is. Cursors are made once and kept until the desktop goes.
  void SetCursor(const MImageRGBA* image, int hotX, int hotY, int systemId) override;
  void CaptureMouse(WndNativeId window, bool on) override;

  std::unique_ptr<IGdiDevice> CreateDevice(MImageRGBA& image) override;
  WndViewRender CreateViewRender(int width, int height) override;

  // What the window shows now, read back from its surface (opaque); false for an unknown
  // window or one without a surface.
  bool ReadWindowPixels(WndNativeId window, MImageRGBA& pixels);

private:
  struct State;
  std::unique_ptr<State> m_state;
};
