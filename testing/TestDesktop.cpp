#include "testing/TestDesktop.h"

#include <chrono>
#include <thread>

namespace {

// The host owns the device it is given; the recording behind it stays with the desktop.
class SharedDevice : public IGdiDevice {
public:
  explicit SharedDevice(std::shared_ptr<RecordingDC> device) : m_device(std::move(device)) {}

  SIZE GetSurfaceSize() const override { return m_device->GetSurfaceSize(); }
  void Rectangle(const GdiDrawState& state, const RECT& rect) override { m_device->Rectangle(state, rect); }
  void Ellipse(const GdiDrawState& state, const RECT& rect) override { m_device->Ellipse(state, rect); }
  void Polygon(const GdiDrawState& state, const POINT* points, int count) override {
    m_device->Polygon(state, points, count);
  }
  void Polyline(const GdiDrawState& state, const POINT* points, int count) override {
    m_device->Polyline(state, points, count);
  }
  void PatBlt(const GdiDrawState& state, const RECT& rect, DWORD rop) override { m_device->PatBlt(state, rect, rop); }
  void DrawFocusRect(const RECT& rect) override { m_device->DrawFocusRect(rect); }
  void TextOut(const GdiDrawState& state, int x, int y, UINT options, const RECT* rect, const wchar_t* text,
               int count, const int* advances) override {
    m_device->TextOut(state, x, y, options, rect, text, count, advances);
  }
  bool GetTextMetrics(const LOGFONTW& font, TEXTMETRICW& metrics) override {
    return m_device->GetTextMetrics(font, metrics);
  }
  bool GetTextExtent(const LOGFONTW& font, const wchar_t* text, int count, SIZE& extent) override {
    return m_device->GetTextExtent(font, text, count, extent);
  }

private:
  std::shared_ptr<RecordingDC> m_device;
};

}  // namespace

TestDesktop::TestDesktop(DeviceFactory factory) : m_previous(GetWndDesktop()), m_factory(std::move(factory)) {
  SetWndDesktop(this);
}

TestDesktop::~TestDesktop() {
  if (GetWndDesktop() == this) SetWndDesktop(m_previous);
}

void TestDesktop::PushMouse(WndDesktopEvent::EType type, WndNativeId window, int x, int y, int button, bool control,
                            bool shift) {
  WndDesktopEvent event;
  event.type = type;
  event.window = window;
  event.x = x;
  event.y = y;
  event.button = button;
  event.control = control;
  event.shift = shift;
  m_events.push_back(event);
}

const TestDesktop::NativeWindow* TestDesktop::Window(WndNativeId id) const {
  auto it = m_windows.find(id);
  return it == m_windows.end() ? nullptr : &it->second;
}

WndNativeId TestDesktop::CreateNativeWindow(const std::wstring& title, int width, int height) {
  if (m_refuse) return 0;
  NativeWindow window;
  window.title = title;
  window.width = width;
  window.height = height;
  m_windows[m_nextId] = std::move(window);
  return m_nextId++;
}

void TestDesktop::DestroyNativeWindow(WndNativeId window) {
  if (auto it = m_windows.find(window); it != m_windows.end()) it->second.alive = false;
}

void TestDesktop::ResizeNativeWindow(WndNativeId window, int width, int height) {
  if (auto it = m_windows.find(window); it != m_windows.end()) {
    it->second.width = width;
    it->second.height = height;
  }
}

void TestDesktop::Present(WndNativeId window, const MImageRGBA& pixels) {
  if (auto it = m_windows.find(window); it != m_windows.end()) {
    it->second.presented = pixels;
    ++it->second.presents;
  }
}

bool TestDesktop::NextEvent(WndDesktopEvent& event, int timeoutMs) {
  if (m_events.empty()) {
    if (timeoutMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    return false;
  }
  event = m_events.front();
  m_events.pop_front();
  return true;
}

void TestDesktop::SetCursor(const MImageRGBA* image, int hotX, int hotY, int systemId) {
  ++m_cursorCalls;
  m_cursor.systemId = systemId;
  m_cursor.hasImage = image != nullptr;
  m_cursor.image = image ? *image : MImageRGBA();
  m_cursor.hotX = hotX;
  m_cursor.hotY = hotY;
}

void TestDesktop::CaptureMouse(WndNativeId window, bool on) {
  if (on) m_captured = window;
  else if (m_captured == window) m_captured = 0;
}

std::unique_ptr<IGdiDevice> TestDesktop::CreateDevice(MImageRGBA& image) {
  if (m_factory) return m_factory(image);
  auto device = std::make_shared<RecordingDC>(SIZE{LONG(image.Width()), LONG(image.Height())});
  m_devices.push_back(device);
  return std::make_unique<SharedDevice>(std::move(device));
}
