#pragma once
#include "host/HostApi.h"
#include "host/gdi/IGdiDevice.h"
#include "host/render/IVDisplaySurface.h"
#include "host/render/IVRender.h"
#include "host/render/MImageRGBA.h"

#include <cstdint>
#include <memory>
#include <string>

// A native top-level window of a desktop; 0 is none.
using WndNativeId = std::uintptr_t;

// One input event, in the client pixels of its top-level window (x right, y down).
struct WndDesktopEvent {
  enum EType : int {
    eNone,
    eMouseMove,
    eButtonDown,
    eButtonUp,
    eWheel,
    eKeyDown,
    eKeyUp,
    eResize,  // x and y give the new client size
    eExpose,  // the desktop lost the window's pixels: present them again
    eClose,   // the user asked to close the window
    eQuit,    // the user asked to end the program
  };
  EType type = eNone;
  WndNativeId window = 0;
  int x = 0, y = 0;
  int button = 0;        // 1 left, 2 middle, 3 right
  bool control = false;  // modifier keys held with the event
  bool shift = false;
  int key = 0;    // Win32 virtual-key code of eKeyDown and eKeyUp
  int wheel = 0;  // notches, positive away from the user
};

// A renderer for a 3D view of a given size and the surface its frames are read from.
struct WndViewRender {
  std::unique_ptr<IVRender> render;
  IVDisplaySurface* surface = nullptr;  // owned by the renderer
};

// The platform under the host's windows. A desktop shows top-level windows, turns the
// user's input into events and makes the devices and renderers that windows draw with.
// Everything else (child windows, message dispatch, timers, capture, painting and the
// composition of a top-level window's pixels) is the host's own, above this seam, so the
// same windows run on the SDL desktop, on SDL's offscreen driver and on a test desktop.
class VISTAL_HOST_API IWndDesktop {
public:
  virtual ~IWndDesktop();

  // A top-level window with a client area of the size; 0 when the desktop cannot make one.
  virtual WndNativeId CreateNativeWindow(const std::wstring& title, int width, int height) = 0;
  virtual void DestroyNativeWindow(WndNativeId window) = 0;
  virtual void ResizeNativeWindow(WndNativeId window, int width, int height) = 0;
  // Shows the composed client pixels of the window (the image has the client's size).
  virtual void Present(WndNativeId window, const MImageRGBA& pixels) = 0;

  // The next input event, waiting up to timeoutMs milliseconds (0 only polls); false when
  // none came.
  virtual bool NextEvent(WndDesktopEvent& event, int timeoutMs) = 0;
  // The mouse cursor: a system cursor by its IDC_ number when image is null, otherwise the
  // image with its hot spot.
  virtual void SetCursor(const MImageRGBA* image, int hotX, int hotY, int systemId) = 0;
  // While on, mouse events keep coming to the window that has the mouse down, also
  // outside it.
  virtual void CaptureMouse(WndNativeId window, bool on) = 0;

  // A device that draws into the image with GDI's pixel rules; the image must outlive it.
  virtual std::unique_ptr<IGdiDevice> CreateDevice(MImageRGBA& image) = 0;
  // A renderer for a 3D view; an empty one when the desktop cannot render.
  virtual WndViewRender CreateViewRender(int width, int height) = 0;
};

// The desktop the host's windows live on; null until the program sets one. The desktop
// must outlive every window created on it.
VISTAL_HOST_API IWndDesktop* GetWndDesktop();
VISTAL_HOST_API void SetWndDesktop(IWndDesktop* desktop);
