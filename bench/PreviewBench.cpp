// A repaint of the preview control at 800 x 600 on the head phantom after one step of a
// rotation drag with the right button: the mouse message, the camera operation, the
// frame drawn with OpenGL (llvmpipe here; a draft frame, as during every drag), put onto
// the view's device context, composed with the toolbar and presented, on SDL's offscreen
// desktop. The second benchmark draws the finished frame that follows the drag.
#include "backends/sdl/CWndDesktopSDL.h"
#include "host/view/MOperationView.h"
#include "host/wnd/WndFunctions.h"
#include "host/wnd/WndLoop.h"
#include "host/wnd/WndResources.h"
#include "scene/SceneObject.h"
#include "vistal/preview/MCtrl3DPreview.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

static void BM_PreviewRepaintAfterRotationStep(benchmark::State& state) {
  ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
  CWndDesktopSDL desktop;
  SetWndDesktop(&desktop);
  SetToolBarResource(MCtrl3DPreview::kToolBarResource, SIZE{16, 16},
                     {MCtrl3DPreview::kCommandPan, MCtrl3DPreview::kCommandRotate, MCtrl3DPreview::kCommandZoomRect,
                      MCtrl3DPreview::kCommandUnzoom});
  MImageRGBA buttons(64, 16);
  SetBitmapResource(MCtrl3DPreview::kButtonsBitmap, buttons);
  {
    CWnd frame;
    frame.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600),
                   nullptr, 0);
    MCtrl3DPreview control;
    control.Create(0, CRect(0, 0, 800, 600), &frame, 1);
    SceneObject phantom(MakePhantomScene());
    control.SetActiveScene(0);
    control.SetObjectToPreview({&phantom}, 0, false, false);
    AfxPumpMessages(0);
    const bool dragging = state.range(0) != 0;
    control.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(400, 300));
    control.SendMessage(WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(402, 300));  // anchors the drag
    int x = 402;
    for (auto _ : state) {
      x += x < 600 ? 4 : -200;  // about 2.6 degrees a step
      if (dragging) {
        control.SendMessage(WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(x, 300));
      } else {
        MOperationView turn;
        turn.SetActionRotateStandard(&control, 0.0f, 2.6f, 0.0f);
        control.GetView().DoOperation(turn);
        control.GetView().GetCameraInteraction().SetState(MCameraInteraction::eIdle);
      }
      AfxPumpMessages(0);
    }
    control.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(x, 300));
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    frame.DestroyWindow();
  }
  SetWndDesktop(nullptr);
}
BENCHMARK(BM_PreviewRepaintAfterRotationStep)
    ->ArgName("drag")
    ->Arg(1)
    ->Arg(0)
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
