// The 3D view's camera operations and the arithmetic of mouse drags that feeds them.
#include "host/view/MCameraInteraction.h"
#include "host/view/MOperationView.h"
#include "host/view/UIWnd3D.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Point = MCamera::Point;

// A view without a window, framed on a box around the origin.
struct FramedView {
  UIWnd3D view;
  FramedView() { view.GetCamera().Unzoom(std::vector<Point>{{-1, -1, -1}, {1, 1, 1}}); }
  Point Project(const Point& world) {
    Point window;
    EXPECT_TRUE(view.GetCamera().ProjectToWindow(world, window));
    return window;
  }
};

TEST(ViewOperation, PanMovesThePictureByTheDeltas) {
  FramedView f;
  const Point before = f.Project({0.3, 0.2, 0.1});
  MOperationView pan;
  pan.SetAction(MOperationView::eActionPan);
  pan.SetDeltas(12.0f, -7.0f, 0.0f);
  ASSERT_TRUE(f.view.DoOperation(pan));
  const Point after = f.Project({0.3, 0.2, 0.1});
  EXPECT_NEAR(after.x - before.x, 12.0, 1e-9);
  EXPECT_NEAR(after.y - before.y, -7.0, 1e-9);
}

TEST(ViewOperation, ZoomRectangleFillsTheView) {
  FramedView f;
  // A rectangle of the picture's shape, dragged from right to left: the point at a given
  // share of it lands at that share of the picture.
  const CRect rect(500, 120, 260, 300);
  const Point inside = f.Project({0.05, 0.02, 0.0});
  const double u = (inside.x - 260) / 240.0, v = (inside.y - 120) / 180.0;
  MOperationView zoom;
  zoom.SetAction(MOperationView::eActionZoomRect);
  CRect dragged = rect;
  zoom.SetZoomRect(dragged);
  ASSERT_TRUE(f.view.DoOperation(zoom));
  const Point after = f.Project({0.05, 0.02, 0.0});
  EXPECT_NEAR(after.x, u * 800.0, 1e-6);
  EXPECT_NEAR(after.y, v * 600.0, 1e-6);
}

TEST(ViewOperation, ZoomByValueKeepsItsPoint) {
  FramedView f;
  const Point at = f.Project({0.2, 0.1, 0.0});
  const Point other = f.Project({0.5, -0.3, 0.0});
  MOperationView zoom;
  zoom.SetAction(MOperationView::eActionZoom);
  zoom.SetZoom(2.0f, CPoint(int(at.x), int(at.y)));
  ASSERT_TRUE(f.view.DoOperation(zoom));
  const Point moved = f.Project({0.5, -0.3, 0.0});
  EXPECT_NEAR(moved.x - int(at.x), 2.0 * (other.x - int(at.x)), 1e-6);
  EXPECT_NEAR(moved.y - int(at.y), 2.0 * (other.y - int(at.y)), 1e-6);
}

TEST(ViewOperation, RotationsTurnAboutTheRotationCentre) {
  struct Case {
    const char* name;
    bool standard;
    float x, y, z;
  };
  for (const Case& c : {Case{"standard about the picture's up axis", true, 0, 90, 0},
                        Case{"standard roll", true, 0, 0, 45},
                        Case{"around the world's up axis", false, 20, 90, 0}}) {
    SCOPED_TRACE(c.name);
    FramedView f;
    f.view.GetCamera().SetRotationCenter({0.1, 0.2, 0.3});
    const Point pivot = f.Project({0.1, 0.2, 0.3});
    const Point right = f.view.GetCamera().GetPictureRight();
    MOperationView turn;
    if (c.standard) turn.SetActionRotateStandard(nullptr, c.x, c.y, c.z);
    else turn.SetActionRotateAroundObjectZ(nullptr, c.x, c.y, c.z);
    ASSERT_TRUE(f.view.DoOperation(turn));
    const Point after = f.Project({0.1, 0.2, 0.3});
    EXPECT_NEAR(after.x, pivot.x, 1e-6);
    EXPECT_NEAR(after.y, pivot.y, 1e-6);
    if (c.standard && c.y == 90) {
      // A quarter turn to the right brings what lay to the right of the pivot to the front.
      const Point toward = f.view.GetCamera().GetViewDirection();
      EXPECT_NEAR(toward.Dot(right), 1.0, 1e-9);
    }
  }
}

TEST(ViewOperation, OtherActionsAreNotCameraOperations) {
  FramedView f;
  MOperationView unknown;
  unknown.SetAction(204);
  EXPECT_FALSE(f.view.DoOperation(unknown));
}

TEST(CameraInteraction, DragStepsGiveTheOperationsValues) {
  MCameraInteraction drag;
  drag.StartPan(CPoint(10, 10));
  EXPECT_EQ(drag.GetState(), MCameraInteraction::ePanning);
  drag.Pan(CPoint(13, 6));
  EXPECT_EQ(drag.GetValue(0), 3.0f);
  EXPECT_EQ(drag.GetValue(1), -4.0f);
  drag.Pan(CPoint(13, 7));  // deltas count from the last step
  EXPECT_EQ(drag.GetValue(0), 0.0f);
  EXPECT_EQ(drag.GetValue(1), 1.0f);

  const CRect client(0, 0, 400, 300);
  drag.StartRotation(client, CPoint(200, 150));
  EXPECT_EQ(drag.GetState(), MCameraInteraction::eRotating);
  drag.Rotate(CPoint(260, 150));  // 60 pixels of the 300-pixel side: 36 degrees
  EXPECT_FLOAT_EQ(drag.GetValue(1), 36.0f);
  EXPECT_EQ(drag.GetValue(0), 0.0f);

  // Near the edge the drag rolls: a quarter of a turn round the centre, counter-clockwise.
  drag.StartRotation(client, CPoint(395, 150));
  EXPECT_EQ(drag.GetState(), MCameraInteraction::eRotatingAboutViewAxis);
  drag.Rotate(CPoint(200, 5));
  EXPECT_FLOAT_EQ(drag.GetValue(2), 90.0f);

  // Dragging up by a quarter of the height doubles at the default sensitivity of 4.
  drag.StartZoom(client, CPoint(50, 200));
  EXPECT_EQ(drag.GetZoomValue(), 1.0f);
  drag.Zoom(CPoint(80, 125));
  EXPECT_FLOAT_EQ(drag.GetZoomValue(), 2.0f);
  EXPECT_EQ(drag.GetZoomPoint(), CPoint(50, 200));
}

}  // namespace
