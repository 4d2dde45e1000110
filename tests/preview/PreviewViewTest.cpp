// The preview view's framing, keep-view and ownership rules, on a view without a window.
#include "PreviewTestSupport.h"
#include "host/view/MPickerBase.h"
#include "vistal/preview/UIWnd3DPreview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>

namespace {

using Point = MCamera::Point;
constexpr auto kOblique = MOperationView::eViewOblique;

Point Project(UIWnd3D& view, const Point& p) {
  Point w;
  EXPECT_TRUE(view.GetCamera().ProjectToWindow(p, w));
  return w;
}

TEST(PreviewView, OneObjectIsFramedByUnzoomAloneAndTurnedUpsideDown) {
  BoxObject box({-1, 1, -2, 2, -0.5f, 0.5f});
  UIWnd3DPreview view;
  view.SetObjectToPreview({&box}, 0, false, false, kOblique);

  MCamera expected;
  expected.SetViewDirection({-1, 1, -1});
  std::list<IRender*> targets{&box};
  expected.Unzoom(targets, 0xFFFFFFFF);
  expected.Rotate(targets, 0.0, 0.0, 180.0);
  for (const Point& p : {Point(1, 2, 0.5), Point(-1, -2, -0.5), Point(0.3, -0.7, 0.1)}) {
    Point a, b;
    ASSERT_TRUE(expected.ProjectToWindow(p, a));
    const Point got = Project(view, p);
    EXPECT_NEAR(got.x, a.x, 1e-9);
    EXPECT_NEAR(got.y, a.y, 1e-9);
  }

  // The same framing the right way up: the picture's up axis points the other way.
  UIWnd3DPreview upright;
  upright.ShowObjectsUpsideDown(false);
  upright.SetObjectToPreview({&box}, 0, false, false, kOblique);
  EXPECT_NEAR(upright.GetCamera().GetPictureUp().Dot(view.GetCamera().GetPictureUp()), -1.0, 1e-9);
}

TEST(PreviewView, SeveralObjectsFillTheViewWithAFivePixelBorder) {
  BoxObject a({-3, -1, -1, 1, -1, 1}), b({1, 4, 0, 2, -1, 0});
  UIWnd3DPreview view;
  view.ShowObjectsUpsideDown(false);
  view.SetObjectToPreview({&a, &b}, 0, false, false, kOblique);
  M3DBoundingBox<double> onScreen;
  for (const BoxObject* o : {&a, &b}) {
    M3DBoundingBox<float> box;
    o->GetBoundingBox(box, 0);
    for (int i = 0; i < 8; ++i) onScreen.Add(Project(view, MMPoint3d<double>(box.Corner(i))));
  }
  // The tighter axis spans the picture but for the border, scaled with the zoom.
  const double w = view.GetCamera().GetWindowWidth(), h = view.GetCamera().GetWindowHeight();
  const double marginX = std::min(onScreen.xmin, w - onScreen.xmax), marginY = std::min(onScreen.ymin, h - onScreen.ymax);
  EXPECT_GT(std::min(marginX, marginY), 4.0);
  EXPECT_LT(std::min(marginX, marginY), 9.0);
  EXPECT_NEAR(onScreen.xmin + onScreen.xmax, w, 1.5);
  EXPECT_NEAR(onScreen.ymin + onScreen.ymax, h, 1.5);
}

TEST(PreviewView, KeepsTheCameraOnlyForAListSharingAnObjectWithTheOneShown) {
  BoxObject a({-1, 1, -1, 1, -1, 1}), b({2, 3, 2, 3, 2, 3}), c({-5, -4, 0, 1, 0, 1});
  struct Case {
    const char* name;
    std::vector<UIObject*> first, second;
    bool keepView, kept;
  };
  for (const Case& t : {Case{"shares an object", {&a, &b}, {&b, &c}, true, true},
                        Case{"shares none", {&a}, {&b, &c}, true, false},
                        Case{"empty before", {}, {&a}, true, false},
                        Case{"empty after", {&a}, {}, true, false},
                        Case{"not asked to keep", {&a}, {&a}, false, false}}) {
    SCOPED_TRACE(t.name);
    UIWnd3DPreview view;
    view.SetObjectToPreview(t.first, 0, false, false, kOblique);
    view.GetCamera().Pan(17.0, -9.0);  // the user has moved the picture
    // The eye and the picture's window; the depth range is refitted either way.
    auto matrices = [&view] {
      std::array<float, 32> m;
      view.GetCamera().GetWorldToEyeMatrix(m.data());
      view.GetCamera().GetEyeToClipMatrix(m.data() + 16);
      std::fill(m.begin() + 24, m.begin() + 28, 0.0f);
      return m;
    };
    const auto before = matrices();
    view.SetObjectToPreview(t.second, 7, t.keepView, false, kOblique);
    EXPECT_EQ(t.kept, matrices() == before);
    EXPECT_EQ(view.GetObjects(), t.second);
    EXPECT_EQ(view.GetEmptyTextId(), 7u);
  }
}

TEST(PreviewView, OwnedObjectsDieWithTheNextListTheClearAndTheView) {
  int deleted = 0;
  {
    UIWnd3DPreview view;
    view.SetObjectToPreview({new BoxObject({0, 1, 0, 1, 0, 1}, &deleted), nullptr}, 0, false, true, kOblique);
    BoxObject kept({0, 1, 0, 1, 0, 1}, &deleted);
    view.SetObjectToPreview({&kept}, 0, false, false, kOblique);
    EXPECT_EQ(deleted, 1);  // the owned one went, the null entry was skipped
    view.ClearPreview(3);
    EXPECT_EQ(deleted, 1);  // not owned: only forgotten
    view.SetObjectToPreview({new BoxObject({0, 1, 0, 1, 0, 1}, &deleted)}, 0, false, true, kOblique);
  }
  EXPECT_EQ(deleted, 3);  // the last owned object with the view, the local one at its scope's end
}

TEST(PreviewView, ObjectsWithoutABoxAddNothingToTheFraming) {
  BoxObject box({-1, 1, -1, 1, -1, 1}), empty{M3DBoundingBox<float>()};
  const float nan = std::numeric_limits<float>::quiet_NaN();
  BoxObject invalid({nan, 1, 0, 1, 0, 1});
  UIWnd3DPreview twice, withOthers;
  twice.SetObjectToPreview({&box, &box}, 0, false, false, kOblique);
  withOthers.SetObjectToPreview({&empty, &box, &invalid}, 0, false, false, kOblique);
  for (const Point& p : {Point(1, 1, 1), Point(-1, 0.5, -1)}) {
    EXPECT_NEAR(Project(withOthers, p).x, Project(twice, p).x, 1e-9);
    EXPECT_NEAR(Project(withOthers, p).y, Project(twice, p).y, 1e-9);
  }
  EXPECT_FALSE(withOthers.Pick(*std::make_unique<MPickerBase>(CPoint(400, 300))));
}

}  // namespace
