// vistal-preview: the preview control in a window of its own, showing the built-in head
// phantom (or meshes and planes given as to vistal-render) with the four navigation tools
// on its toolbar, mouse navigation and the box manipulator over the view. --script plays
// recorded input and --frames writes a picture of every repaint, so that the program runs
// headless too (SDL_VIDEODRIVER=offscreen).
#include "Artwork.h"
#include "SceneOptions.h"
#include "Script.h"
#include "backends/sdl/CWndDesktopSDL.h"
#include "host/core/ResourceStrings.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlImport.h"
#include "host/wnd/WndFunctions.h"
#include "host/wnd/WndLoop.h"
#include "host/wnd/WndResources.h"
#include "scene/SceneObject.h"
#include "vistal/preview/MCtrl3DPreview.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

constexpr unsigned kEmptyTextId = 1;
constexpr unsigned kControlId = 100;

struct PreviewOptions {
  Scene scene;
  std::string script;
  std::string frames;
  bool manipulator = true;
  std::string help;
};

PreviewOptions ParseOptions(int argc, const char* const* argv) {
  CLI::App app{"Shows meshes in the preview control: turn, pan and zoom them with the mouse.\n"
               "Without meshes it shows a built-in head phantom.",
               "vistal-preview"};
  PreviewOptions options;
  SceneOptionValues values;
  AddSceneOptions(app, values);
  bool noManipulator = false;
  app.add_option("--script", options.script,
                 "FILE: play recorded input (keys, move, down, up, drag, command, wait; one step per line), "
                 "then exit");
  app.add_option("--frames", options.frames, "DIR: write every repainted picture as DIR/frame-0000.png, ...");
  app.add_flag("--no-manipulator", noManipulator, "hide the box manipulator over the view");
  if (!ParseCommandLine(app, argc, argv, options.help)) return options;
  options.scene = MakePhantomScene();
  ApplySceneOptions(values, options.scene);
  options.manipulator = !noManipulator;
  if (!options.frames.empty() && !std::filesystem::is_directory(options.frames))
    Refuse("--frames: '" + Shown(options.frames) + "' is not a directory");
  return options;
}

// The desktop of the program, which also keeps every picture it is given to show.
class RecordingDesktop final : public IWndDesktop {
public:
  RecordingDesktop(IWndDesktop& desktop, std::string directory) : m_desktop(desktop), m_directory(std::move(directory)) {}
  WndNativeId CreateNativeWindow(const std::wstring& title, int width, int height) override {
    return m_desktop.CreateNativeWindow(title, width, height);
  }
  void DestroyNativeWindow(WndNativeId window) override { m_desktop.DestroyNativeWindow(window); }
  void ResizeNativeWindow(WndNativeId window, int width, int height) override {
    m_desktop.ResizeNativeWindow(window, width, height);
  }
  void Present(WndNativeId window, const MImageRGBA& pixels) override {
    m_desktop.Present(window, pixels);
    if (m_directory.empty()) return;
    char name[32];
    std::snprintf(name, sizeof name, "frame-%04u.png", m_count++);
    pixels.WritePng((std::filesystem::path(m_directory) / name).string());
  }
  bool NextEvent(WndDesktopEvent& event, int timeoutMs) override { return m_desktop.NextEvent(event, timeoutMs); }
  void SetCursor(const MImageRGBA* image, int hotX, int hotY, int systemId) override {
    m_desktop.SetCursor(image, hotX, hotY, systemId);
  }
  void CaptureMouse(WndNativeId window, bool on) override { m_desktop.CaptureMouse(window, on); }
  std::unique_ptr<IGdiDevice> CreateDevice(MImageRGBA& image) override { return m_desktop.CreateDevice(image); }
  WndViewRender CreateViewRender(int width, int height) override { return m_desktop.CreateViewRender(width, height); }

private:
  IWndDesktop& m_desktop;
  std::string m_directory;
  unsigned m_count = 0;
};

// The toolbar, its images, the cursors and the empty text that the control looks up in
// the program's resources. The toolbar resource lists a separator too, which the control
// leaves out.
void RegisterResources() {
  SetToolBarResource(MCtrl3DPreview::kToolBarResource, SIZE{16, 16},
                     {MCtrl3DPreview::kCommandPan, MCtrl3DPreview::kCommandRotate, MCtrl3DPreview::kCommandZoomRect,
                      0, MCtrl3DPreview::kCommandUnzoom});
  SetBitmapResource(MCtrl3DPreview::kButtonsBitmap, MakeToolbarBitmap());
  const std::pair<unsigned, CursorArt> cursors[] = {
      {MCtrl3DPreview::kCursorRotateAboutViewAxis, MakeRollCursor()},
      {MCtrl3DPreview::kCursorRotate, MakeRotateCursor()},
      {MCtrl3DPreview::kCursorZoom, MakeZoomCursor()},
  };
  for (const auto& [id, art] : cursors) SetCursorResource(id, art.image, POINT{art.hotX, art.hotY});
  SetResourceString(kEmptyTextId, L"Nothing to preview");
}

// The control with the box manipulator lighting up under the mouse.
class PreviewControl : public MCtrl3DPreview {
public:
  void Track(SceneObject* object) { mp_object = object; }

protected:
  DECLARE_MESSAGE_MAP()

  void OnMouseMove(UINT flags, CPoint point) {
    MCtrl3DPreview::OnMouseMove(flags, point);
    UIWnd3DPreview& view = GetView();
    if (!mp_object || !view.GetSafeHwnd()) return;
    CPoint inView = point;
    MapWindowPoints(&view, &inView, 1);
    if (mp_object->TrackMouse(inView)) view.InvalidateRect(nullptr, FALSE);
  }

private:
  SceneObject* mp_object = nullptr;
};

BEGIN_MESSAGE_MAP(PreviewControl, MCtrl3DPreview)
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

// The program's top-level window: the control fills its client area.
class PreviewFrame : public CWnd {
public:
  bool Open(int width, int height) {
    LPCWSTR windowClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW), HBRUSH(COLOR_BTNFACE + 1));
    if (!CreateEx(0, windowClass, L"vistal-preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, width, height),
                  nullptr, 0))
      return false;
    CRect client;
    GetClientRect(&client);
    return m_control.Create(0, client, this, kControlId);
  }
  PreviewControl& Control() { return m_control; }

protected:
  DECLARE_MESSAGE_MAP()

  void OnSize(UINT, int cx, int cy) {
    if (m_control.GetSafeHwnd()) m_control.MoveWindow(0, 0, cx, cy, TRUE);
  }

private:
  PreviewControl m_control;
};

BEGIN_MESSAGE_MAP(PreviewFrame, CWnd)
  ON_WM_SIZE()
END_MESSAGE_MAP()

// Plays the steps as the desktop would deliver them, painting after each.
void PlayScript(const std::vector<ScriptStep>& steps, PreviewFrame& frame) {
  WndDesktopEvent event;
  event.window = AfxGetNativeWindow(&frame);
  for (const ScriptStep& step : steps) {
    switch (step.kind) {
      case ScriptStep::eKeys:
        event.control = step.control;
        event.shift = step.shift;
        continue;
      case ScriptStep::eMove:
      case ScriptStep::eDown:
      case ScriptStep::eUp:
        event.type = step.kind == ScriptStep::eMove   ? WndDesktopEvent::eMouseMove
                     : step.kind == ScriptStep::eDown ? WndDesktopEvent::eButtonDown
                                                      : WndDesktopEvent::eButtonUp;
        event.x = step.x;
        event.y = step.y;
        event.button = step.kind == ScriptStep::eMove ? 0 : (step.right ? 3 : 1);
        AfxDispatchDesktopEvent(event);
        break;
      case ScriptStep::eCommand:
        frame.Control().SendMessage(WM_COMMAND, WPARAM(step.command));
        break;
      case ScriptStep::eWait: {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(step.milliseconds);
        for (auto now = std::chrono::steady_clock::now(); now < end; now = std::chrono::steady_clock::now())
          AfxPumpMessages(int(std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count()));
        break;
      }
    }
    AfxPumpMessages(0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    PreviewOptions options = ParseOptions(argc, argv);
    if (!options.help.empty()) {
      std::fputs(options.help.c_str(), stdout);
      return 0;
    }
    // Input that cannot be used is refused before a window opens.
    const std::vector<ScriptStep> steps = options.script.empty() ? std::vector<ScriptStep>{} : ReadScript(options.script);
    Scene& scene = options.scene;
    for (SceneMesh& m : scene.meshes)
      if (!m.mesh) m.mesh = ImportMesh(m.name);
    SceneObject object(scene);

    std::unique_ptr<CWndDesktopSDL> screen;
    try {
      screen = std::make_unique<CWndDesktopSDL>();
    } catch (const std::runtime_error& e) {
      std::fprintf(stderr, "vistal-preview: %s\n", e.what());
      return 1;
    }
    RecordingDesktop desktop(*screen, options.frames);
    SetWndDesktop(&desktop);
    RegisterResources();

    int exitCode = 0;
    {
      PreviewFrame frame;
      if (!frame.Open(int(scene.view.width), int(scene.view.height)))
        throw std::runtime_error("the window could not be opened");
      PreviewControl& control = frame.Control();
      control.SetActiveScene(0);
      // The world here has z up, so the default view already shows the head upright; the
      // control's upside-down framing is for hosts whose scanners store it the other way.
      control.ShowObjectsUpsideDown(false);
      if (options.manipulator) {
        object.ShowManipulator(&control.GetView());
        control.Track(&object);
      }
      control.SetObjectToPreview({&object}, kEmptyTextId, false, false);
      AfxPumpMessages(0);
      if (options.script.empty()) {
        exitCode = AfxRunMessageLoop();
      } else {
        PlayScript(steps, frame);
        frame.DestroyWindow();
      }
    }
    for (const std::string& warning : object.GetWarnings())
      std::fprintf(stderr, "vistal-preview: warning: %s\n", warning.c_str());
    SetWndDesktop(nullptr);
    return exitCode;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vistal-preview: %s\n", e.what());
    return 1;
  }
}
