#pragma once
// A desktop without a screen for window tests: input comes from a queue that the test
// fills, Present keeps the last picture of each window, and devices come from a factory
// (by default recording devices, kept for the test to read). It has no view renderer.
// While it lives it is the windows' desktop (SetWndDesktop); it puts the one before back.
#include "host/wnd/IWndDesktop.h"
#include "testing/RecordingDC.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TestDesktop : public IWndDesktop {
public:
  using DeviceFactory = std::function<std::unique_ptr<IGdiDevice>(MImageRGBA&)>;

  struct NativeWindow {
    std::wstring title;
    int width = 0;
    int height = 0;
    bool alive = true;
    MImageRGBA presented;  // the last picture
    int presents = 0;
  };

  // Without a factory every device is a RecordingDC of the image's size (see Devices).
  explicit TestDesktop(DeviceFactory factory = {});
  ~TestDesktop() override;
  TestDesktop(const TestDesktop&) = delete;
  TestDesktop& operator=(const TestDesktop&) = delete;

  // Input for NextEvent, in order.
  void Push(const WndDesktopEvent& event) { m_events.push_back(event); }
  // A mouse or key event of a window; the helpers fill in the fields their type uses.
  void PushMouse(WndDesktopEvent::EType type, WndNativeId window, int x, int y, int button = 0, bool control = false,
                 bool shift = false);
  std::size_t PendingEvents() const { return m_events.size(); }

  // Native windows by their id; null for an unknown id.
  const NativeWindow* Window(WndNativeId id) const;
  WndNativeId LastWindow() const { return m_nextId - 1; }
  // CreateNativeWindow answers 0 while set.
  void SetRefuseWindows(bool refuse) { m_refuse = refuse; }

  // The cursor last set, and how often SetCursor was called.
  struct Cursor {
    int systemId = 0;
    bool hasImage = false;
    MImageRGBA image;
    int hotX = 0, hotY = 0;
  };
  const Cursor& LastCursor() const { return m_cursor; }
  int CursorCalls() const { return m_cursorCalls; }
  // The native window that has the mouse captured; 0 for none.
  WndNativeId CapturedWindow() const { return m_captured; }

  // The recording devices made by the default factory, oldest first; each stays readable
  // after the host has released it.
  const std::vector<std::shared_ptr<RecordingDC>>& Devices() const { return m_devices; }

  // IWndDesktop.
  WndNativeId CreateNativeWindow(const std::wstring& title, int width, int height) override;
  void DestroyNativeWindow(WndNativeId window) override;
  void ResizeNativeWindow(WndNativeId window, int width, int height) override;
  void Present(WndNativeId window, const MImageRGBA& pixels) override;
  // Pops the next queued event; with an empty queue it waits out the timeout (timers run
  // on real time) and answers false.
  bool NextEvent(WndDesktopEvent& event, int timeoutMs) override;
  void SetCursor(const MImageRGBA* image, int hotX, int hotY, int systemId) override;
  void CaptureMouse(WndNativeId window, bool on) override;
  std::unique_ptr<IGdiDevice> CreateDevice(MImageRGBA& image) override;
  WndViewRender CreateViewRender(int width, int height) override { return {}; }

private:
  IWndDesktop* m_previous = nullptr;
  DeviceFactory m_factory;
  std::deque<WndDesktopEvent> m_events;
  std::map<WndNativeId, NativeWindow> m_windows;
  WndNativeId m_nextId = 1;
  bool m_refuse = false;
  Cursor m_cursor;
  int m_cursorCalls = 0;
  WndNativeId m_captured = 0;
  std::vector<std::shared_ptr<RecordingDC>> m_devices;
};
