// The preview control on the test desktop: toolbar, tools, button states, navigation by
// mouse and keys, visibility of the shown objects, and the view's empty text.
#include "PreviewTestSupport.h"
#include "testing/TestDesktop.h"
#include "host/core/ResourceStrings.h"
#include "host/wnd/CToolBar.h"
#include "host/wnd/WndFunctions.h"
#include "host/wnd/WndLoop.h"
#include "host/wnd/WndResources.h"
#include "vistal/preview/MCtrl3DPreview.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using C = MCtrl3DPreview;
constexpr unsigned kOtherCommand = 12345;

struct PreviewControlTest : ::testing::Test {
  TestDesktop desktop;
  CWnd parent;
  C control;
  BoxObject a{{-1, 1, -1, 1, -1, 1}}, b{{1, 3, 0, 2, 0, 1}};

  void SetUp() override {
    // More buttons than the control's four, a separator among them.
    SetToolBarResource(C::kToolBarResource, SIZE{16, 16},
                       {C::kCommandPan, 0, kOtherCommand, C::kCommandRotate, C::kCommandZoomRect, C::kCommandUnzoom});
    SetBitmapResource(C::kButtonsBitmap, MImageRGBA(96, 16));
    for (unsigned id : {C::kCursorRotateAboutViewAxis, C::kCursorRotate, C::kCursorZoom})
      SetCursorResource(id, MImageRGBA(32, 32), POINT{int(id % 7), 1});
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                CRect(0, 0, 400, 300), nullptr, 0));
    ASSERT_TRUE(control.Create(0, CRect(0, 0, 400, 300), &parent, 7));
  }
  void TearDown() override { parent.DestroyWindow(); }

  void Mouse(UINT message, int x, int y, UINT flags = 0) { control.SendMessage(message, flags, MAKELPARAM(x, y)); }
  void Command(UINT id) { control.SendMessage(WM_COMMAND, id); }
  UINT Style(int index) { return control.GetToolBar().GetButtonStyle(index); }
  // The camera as two matrices, to tell whether an operation changed it.
  std::array<float, 32> Camera() {
    std::array<float, 32> m;
    control.GetView().GetCamera().GetWorldToEyeMatrix(m.data());
    control.GetView().GetCamera().GetEyeToClipMatrix(m.data() + 16);
    return m;
  }
  void Show() {
    control.SetActiveScene(0);
    control.SetObjectToPreview({&a, &b}, 0, false, false);
  }
};

TEST_F(PreviewControlTest, ShowsTheFourCommandsAboveADisabledViewWithAClientEdge) {
  CToolBar& toolbar = control.GetToolBar();
  ASSERT_EQ(toolbar.SendMessage(TB_BUTTONCOUNT), 4);
  const UINT order[] = {C::kCommandPan, C::kCommandRotate, C::kCommandZoomRect, C::kCommandUnzoom};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(toolbar.GetItemID(i), order[i]);
  CRect button, bar, view;
  toolbar.GetItemRect(0, &button);
  toolbar.GetWindowRect(&bar);
  control.GetView().GetWindowRect(&view);
  control.ScreenToClient(&bar);
  control.ScreenToClient(&view);
  EXPECT_EQ(bar, CRect(0, 0, 400, button.Height() + 2));
  EXPECT_EQ(view, CRect(0, bar.bottom, 400, 300));
  EXPECT_FALSE(control.GetView().IsWindowEnabled());
  EXPECT_TRUE(control.GetView().GetExStyle() & WS_EX_CLIENTEDGE);

  // Without its toolbar resource the toolbar stays empty: a bar of the 2 pixels round a
  // button of no height, the view below it.
  RemoveResource(C::kToolBarResource, RT_TOOLBAR);
  C bare;
  ASSERT_TRUE(bare.Create(0, CRect(0, 0, 200, 100), &parent, 8));
  EXPECT_EQ(bare.GetToolBar().SendMessage(TB_BUTTONCOUNT), 0);
  bare.GetView().GetWindowRect(&view);
  bare.ScreenToClient(&view);
  EXPECT_EQ(view, CRect(0, 2, 200, 100));

  // A control of no size still has its parts, of no size either, and paints nothing.
  C empty;
  ASSERT_TRUE(empty.Create(0, CRect(0, 0, 0, 0), &parent, 9));
  empty.GetView().GetWindowRect(&view);
  EXPECT_TRUE(view.IsRectEmpty());
  EXPECT_TRUE(AfxPumpMessages(0));
}

TEST_F(PreviewControlTest, ToolbarCommandsChooseALetGoAndReplaceTools) {
  const std::pair<UINT, C::MODE> steps[] = {
      {C::kCommandPan, C::MODE_PAN},         {C::kCommandPan, C::MODE_NONE},       // a second click lets go
      {C::kCommandRotate, C::MODE_ROTATE},   {C::kCommandZoomRect, C::MODE_ZOOM_RECT},
      {C::kCommandUnzoom, C::MODE_ZOOM_RECT},  // unzoom is no tool
  };
  for (const auto& [command, mode] : steps) {
    Command(command);
    EXPECT_EQ(control.GetMode(), mode) << command;
  }
  EXPECT_EQ(control.GetZoomRect(), CRect(C::kNoPoint, C::kNoPoint, C::kNoPoint, C::kNoPoint));
}

TEST_F(PreviewControlTest, TheTimerOfItsOwnIdRefreshesTheButtons) {
  const UINT_PTR own = reinterpret_cast<UINT_PTR>(&control);
  control.SendMessage(WM_TIMER, own + 1);  // not the control's: nothing changes
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(Style(i) & TBBS_DISABLED);
  control.SendMessage(WM_TIMER, own);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(Style(i) & TBBS_DISABLED) << i;  // nothing to navigate

  Show();
  Command(C::kCommandRotate);
  control.SendMessage(WM_TIMER, own);
  EXPECT_EQ(Style(0) & (TBBS_CHECKED | TBBS_DISABLED | TBBS_CHECKBOX), UINT(TBBS_CHECKBOX));
  EXPECT_EQ(Style(1) & (TBBS_CHECKED | TBBS_DISABLED), UINT(TBBS_CHECKED));
  EXPECT_TRUE(Style(3) & TBBS_DISABLED);  // unzoom waits for a zoom

  Mouse(WM_RBUTTONDOWN, 100, 100);
  Mouse(WM_MOUSEMOVE, 100, 90, MK_RBUTTON | MK_CONTROL);
  control.SendMessage(WM_TIMER, own);
  EXPECT_FALSE(Style(3) & TBBS_DISABLED);
  Command(C::kCommandUnzoom);
  control.SendMessage(WM_TIMER, own);
  EXPECT_TRUE(Style(3) & TBBS_DISABLED);
}

TEST_F(PreviewControlTest, ShownObjectsAreVisibleInTheViewsSceneOnly) {
  Show();
  EXPECT_TRUE(a.IsVisible(0) && b.IsVisible(0));
  control.SetActiveScene(2);
  EXPECT_FALSE(a.IsVisible(0) || a.IsPresentInScene(0));
  EXPECT_TRUE(a.IsVisible(2) && b.IsPresentInScene(2));
  // The same list again touches no visibility.
  a.SetVisible(false, 2);
  control.SetObjectToPreview({&a, &b}, 0, true, false);
  EXPECT_FALSE(a.IsVisible(2));
  control.ClearPreview(0);
  EXPECT_FALSE(b.IsVisible(2));
  EXPECT_TRUE(control.GetView().GetObjects().empty());
}

TEST_F(PreviewControlTest, RightDragsRotateZoomOrPanByTheKeysHeld) {
  struct Case {
    UINT keys;
    MCameraInteraction::EState state;
  };
  for (const Case& t : {Case{0, MCameraInteraction::eRotating}, Case{MK_CONTROL, MCameraInteraction::eZooming},
                        Case{MK_SHIFT, MCameraInteraction::ePanning},
                        Case{MK_CONTROL | MK_SHIFT, MCameraInteraction::eIdle}}) {
    SCOPED_TRACE(t.keys);
    Show();
    Mouse(WM_RBUTTONDOWN, 200, 150);
    EXPECT_EQ(CWnd::GetCapture(), &control);
    const auto start = Camera();
    Mouse(WM_MOUSEMOVE, 200, 150, MK_RBUTTON | t.keys);  // the press point itself: no step
    EXPECT_EQ(control.GetView().GetCameraInteraction().GetState(), MCameraInteraction::eIdle);
    Mouse(WM_MOUSEMOVE, 210, 140, MK_RBUTTON | t.keys);
    EXPECT_EQ(control.GetView().GetCameraInteraction().GetState(), t.state);
    EXPECT_EQ(Camera(), start);  // the first step anchors (a zoom's first factor is 1)...
    EXPECT_EQ(control.IsZoomed(), t.keys == MK_CONTROL);  // ...but a zoom is under way at once
    Mouse(WM_MOUSEMOVE, 230, 120, MK_RBUTTON | t.keys);
    EXPECT_EQ(Camera() != start, t.state != MCameraInteraction::eIdle);
    Mouse(WM_RBUTTONUP, 230, 120);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(control.GetView().GetCameraInteraction().GetState(), MCameraInteraction::eIdle);
    control.ClearPreview(0);  // the next list frames afresh and clears the zoomed flag
  }
}

TEST_F(PreviewControlTest, ALeftDragUsesTheChosenToolOnceWithItsCursor) {
  Show();
  Command(C::kCommandPan);
  Mouse(WM_LBUTTONDOWN, 100, 100);
  Mouse(WM_MOUSEMOVE, 110, 100, MK_LBUTTON);
  EXPECT_EQ(desktop.LastCursor().systemId, 32646);  // IDC_SIZEALL
  const auto anchored = Camera();
  Mouse(WM_MOUSEMOVE, 130, 90, MK_LBUTTON);
  EXPECT_NE(Camera(), anchored);
  Mouse(WM_LBUTTONUP, 130, 90);
  EXPECT_EQ(control.GetMode(), C::MODE_NONE);
  const auto after = Camera();
  Mouse(WM_LBUTTONDOWN, 100, 100);
  Mouse(WM_MOUSEMOVE, 150, 150, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 170, 150, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 170, 150);
  EXPECT_EQ(Camera(), after);  // no tool chosen: nothing moves

  Command(C::kCommandRotate);
  Mouse(WM_MOUSEMOVE, 10, 10);
  EXPECT_TRUE(desktop.LastCursor().hasImage);
  EXPECT_EQ(desktop.LastCursor().hotX, int(C::kCursorRotate % 7));

  // The rubber band is kept as dragged, and zooming to it enables the unzoom.
  Command(C::kCommandZoomRect);
  Mouse(WM_LBUTTONDOWN, 300, 250);
  Mouse(WM_MOUSEMOVE, 200, 180, MK_LBUTTON);
  EXPECT_EQ(control.GetZoomRect(), CRect(300, 250, 200, 180));
  Mouse(WM_LBUTTONUP, 200, 180);
  EXPECT_TRUE(control.IsZoomed());
  EXPECT_NE(Camera(), after);
}

TEST_F(PreviewControlTest, AnEmptyViewShowsItsTextInTheMiddle) {
  SetResourceString(4711, L"No objects");
  control.ClearPreview(4711);
  control.GetView().UpdateWindow();
  const RecordingDC* drawn = nullptr;
  for (const auto& device : desktop.Devices())
    if (device->CountOf(EGdiCall::TextOut) > 0) drawn = device.get();
  ASSERT_NE(drawn, nullptr);
  const GdiCall text = drawn->CallsOf(EGdiCall::TextOut).back();
  EXPECT_EQ(text.text, L"No objects");
  CRect client;
  control.GetView().GetClientRect(&client);
  SIZE extent;
  const_cast<RecordingDC*>(drawn)->GetTextExtent(text.state.font, text.text.c_str(), int(text.text.size()), extent);
  EXPECT_EQ(text.x, client.Width() / 2 - extent.cx / 2);
  EXPECT_EQ(text.y, client.bottom / 2);
}

}  // namespace
