// IVRenderEx::CBoundingBox against the recording device: its defaults, the projection and
// handle sizes of Build, what RenderHandles and RenderCenterSpot draw, and where the
// mouse is.
#include "host/framework/MTransformRepository.h"
#include "host/framework/UISlice.h"
#include "host/view/UIWnd3D.h"
#include "host/gdi/CDeviceDC.h"
#include "host/gdi/WinUser.h"
#include "testing/RecordingDC.h"
#include "vistal/render/IVRenderExBoundingBox.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using Box = IVRenderEx::CBoundingBox;

// The defaults of a 1280 x 1024 screen, set explicitly so that the tests do not depend on it.
Box::Configuration SmallScreen() {
  Box::Configuration c;
  c.centerRadius = 6, c.centerRadiusExtra = 10, c.extent = 136, c.handleLength = 9, c.handlePercent = 10,
  c.margin = 6;
  return c;
}

// A unit cube whose system sits in the view's window system through an oblique map, so
// that its projection is known by hand (x right, y up, z right and down on screen):
//   corner:  0         1         2         3         4         5         6         7
//   screen:  (100,300) (180,300) (220,330) (140,330) (180,220) (100,220) (140,250) (220,250)
//   depth:   .5        .4        .2        .3        .3        .4        .2        0
// Edges along z (0-3) are (40, 30) on screen, along y (3-6) (0, 80), along x (0-1) (80, 0).
struct ObliqueCube {
  UIWnd3D window;
  UISlice cube{MFrame<float>({0, 0, 0}, {1, 0, 0}, {0, 1, 1}, {0, 0, 1})};  // box (0,0,0)-(1,1,1)
  Box box{true};
  ObliqueCube() {
    const double toWindow[16] = {80, 0, 40, 100, 0, -80, 30, 300, -0.1, -0.1, -0.2, 0.5, 0, 0, 0, 1};
    auto* system = cube.GetCoordinateSystem().GetInternalSystem();
    system->SetDependent(window.GetCoordinateSystemWindow().GetInternalSystem());
    system->SetLocalTransform(MMTransformMatrix(toWindow));
    box.SetConfiguration(SmallScreen());
  }
};

const CPoint kCorners[8] = {{100, 300}, {180, 300}, {220, 330}, {140, 330},
                            {180, 220}, {100, 220}, {140, 250}, {220, 250}};

TEST(BoundingBoxConfiguration, DefaultsFollowTheScreenDiagonal) {
  struct Case {
    int cx, cy;
    std::array<int, 6> want;  // centerRadius, centerRadiusExtra, extent, handleLength, handlePercent, margin
  };
  for (const Case& c : {Case{1280, 1024, {6, 10, 136, 9, 10, 6}}, Case{1920, 1080, {8, 13, 183, 12, 10, 8}}}) {
    SetSystemScreenSize(c.cx, c.cy);
    const Box::Configuration d = Box(true).GetConfiguration();
    EXPECT_EQ((std::array<int, 6>{d.centerRadius, d.centerRadiusExtra, d.extent, int(d.handleLength),
                                  int(d.handlePercent), int(d.margin)}),
              c.want)
        << c.cx << "x" << c.cy;
  }
  SetSystemScreenSize(1920, 1080);
}

TEST(BoundingBoxBuild, PlacesCornersAndCentre) {
  Box box(true);
  box.Build(MMPoint3d<double>(0, 0, 0), MMPoint3d<double>(1, 2, 3));
  EXPECT_EQ(box.GetVertices()[6], MMPoint3d<double>(0, 2, 3));
  EXPECT_EQ(box.GetVertices()[4], MMPoint3d<double>(1, 2, 0));
  EXPECT_EQ(box.GetCenter(), MMPoint3d<double>(0.5, 1, 1.5));
  MMPoint3d<double> a, b;
  box.GetAnEdgeForAxis(Box::eEdgesAlongY, a, b);
  EXPECT_EQ(a, box.GetVertices()[3]);
  EXPECT_EQ(b, box.GetVertices()[6]);

  Box none(false);
  none.Build(MMPoint3d<double>(1, 1, 1), MMPoint3d<double>(2, 2, 2));
  EXPECT_EQ(none.GetCenter(), MMPoint3d<double>(0, 0, 0));

  box.SetCenter({7.9, -3.9, 1});
  EXPECT_EQ(box.GetCenterOnScreen(), CPoint(7, -3));
  box.Build(MMPoint3d<double>(0, 0, 0), MMPoint3d<double>(4, 4, 4));
  EXPECT_EQ(box.GetCenter(), MMPoint3d<double>(7.9, -3.9, 1));
}

TEST(BoundingBoxBuild, ProjectsIntoTheView) {
  ObliqueCube f;
  ASSERT_TRUE(f.box.Build(&f.cube, &f.window));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(f.box.GetVerticesOnScreen()[i], kCorners[i]) << "corner " << i;
  EXPECT_EQ(f.box.GetCenterOnScreen(), CPoint(160, 275));
  EXPECT_NEAR(f.box.GetCenterDistanceFromScreen(), 0.3, 1e-12);
  EXPECT_EQ(f.box.GetBoundsOnScreen(), CRect(100, 220, 220, 330));
  EXPECT_EQ(f.box.GetNearestVertex(), 7);
  // Along z a 9-pixel stroke in the edge's direction; along y and x 9 pixels flat, as the
  // 10 % shares (0, 8) and (8, 0) are too short. The tie between y and x goes to y.
  EXPECT_EQ(f.box.GetHandleSizeForLine(0), CSize(7, 5));
  EXPECT_EQ(f.box.GetHandleSizeForLine(7), CSize(0, 9));
  EXPECT_EQ(f.box.GetHandleSizeForLine(11), CSize(9, 0));
  EXPECT_EQ(f.box.GetReferenceAxis(), 1u);

  // The centre of a box without one is not projected.
  Box none(false);
  none.SetConfiguration(SmallScreen());
  ASSERT_TRUE(none.Build(&f.cube, &f.window));
  EXPECT_EQ(none.GetCenterOnScreen(), CPoint(0, 0));
}

// Handle sizes for an edge of the given extent on screen: the cube's x edges are mapped
// onto (dx, dy), its y edges into depth and its z edges across.
TEST(BoundingBoxBuild, HandleSizes) {
  struct Case {
    int dx, dy, percent;
    CSize want;
  };
  const Case cases[] = {
      {100, 0, 10, {10, 0}},  // the share is long enough
      {40, 0, 10, {9, 0}},    // the share (4, 0) is too short: the wanted length
      {10, 0, 10, {5, 0}},    // ... but at most half the edge
      {0, 40, 10, {0, 9}},
      {40, 40, 10, {6, 6}},   // 9 pixels along the diagonal
      {4, 4, 10, {2, 2}},     // as long as the half edge allows
      {2, 2, 10, {1, 1}},
      {40, 1, 10, {9, 0}},    // a one-pixel rise has no half to share
      {40, 0, 80, {20, 0}},   // above 50 counts as 50: the share, whatever its length
  };
  for (const Case& c : cases) {
    ObliqueCube f;
    const double dx = c.dx, dy = c.dy;
    const double toWindow[16] = {dx, 0, -dy, 0, dy, 0, dx, 0, 0, 0.1, 0, 0, 0, 0, 0, 1};
    ASSERT_TRUE(f.cube.GetCoordinateSystem().GetInternalSystem()->SetLocalTransform(MMTransformMatrix(toWindow)));
    Box::Configuration config = SmallScreen();
    config.handlePercent = std::uint8_t(c.percent);
    f.box.SetConfiguration(config);
    ASSERT_TRUE(f.box.Build(&f.cube, &f.window));
    EXPECT_EQ(f.box.GetHandleSizeForLine(8), c.want) << c.dx << "," << c.dy << " at " << c.percent << " %";
  }
}

TEST(BoundingBoxBuild, PercentZeroKeepsTheHandleSizes) {
  ObliqueCube f;
  ASSERT_TRUE(f.box.Build(&f.cube, &f.window));
  Box::Configuration c = SmallScreen();
  c.handlePercent = 0;
  c.handleLength = 30;
  f.box.SetConfiguration(c);
  ASSERT_TRUE(f.box.Build(&f.cube, &f.window));
  EXPECT_EQ(f.box.GetHandleSizeForLine(0), CSize(7, 5));
}

TEST(BoundingBoxBuild, NothingToProjectLeavesTheBoxEmptyOnScreen) {
  ObliqueCube f;
  ASSERT_TRUE(f.box.Build(&f.cube, &f.window));
  UIObject empty;  // no extent
  UISlice atEye(MFrame<float>({-1, -1, 0}, {2, 0, 0}, {0, 2, -5}, {0, 0, 1}));  // a corner in the eye's plane
  UIWnd3D perspective;
  struct Case {
    UIObject* object;
    UIWnd3D* window;
  };
  for (const Case& c : {Case{&empty, &f.window}, Case{&atEye, &perspective}, Case{nullptr, &f.window},
                        Case{&f.cube, nullptr}}) {
    Box box = f.box;
    EXPECT_FALSE(box.Build(c.object, c.window));
    EXPECT_EQ(box.GetNearestVertex(), -1);
    EXPECT_GT(box.GetBoundsOnScreen().left, box.GetBoundsOnScreen().right);
    for (const CPoint& p : kCorners) EXPECT_FALSE(box.WhereIsTheMouseQuickTest(p));
    RecordingDC device;
    CDeviceDC dc(device);
    box.RenderHandles(dc, false);
    EXPECT_TRUE(device.Calls().empty());
  }
}

std::vector<std::array<int, 4>> Lines(const RecordingDC& device) {
  std::vector<std::array<int, 4>> out;
  for (const GdiCall& c : device.CallsOf(EGdiCall::Polyline))
    out.push_back({c.points[0].x, c.points[0].y, c.points[1].x, c.points[1].y});
  return out;
}

TEST(BoundingBoxRender, NearHandlesThenFarHandlesAndTheCentreSpot) {
  ObliqueCube f;
  ASSERT_TRUE(f.box.Build(&f.cube, &f.window));
  RecordingDC device;
  CDeviceDC dc(device);
  f.box.RenderHandles(dc, false);
  // Rows 2 (4-7), 5 (2-7) and 10 (6-7) touch corner 7, each stroke pointing along its edge.
  EXPECT_EQ(Lines(device), (std::vector<std::array<int, 4>>{{180, 220, 187, 225},
                                                             {220, 250, 213, 245},
                                                             {220, 330, 220, 321},
                                                             {220, 250, 220, 259},
                                                             {140, 250, 149, 250},
                                                             {220, 250, 211, 250}}));
  device.Clear();
  f.box.RenderHandles(dc, true);
  const auto far = Lines(device);
  ASSERT_EQ(far.size(), 18u);
  EXPECT_EQ(far[0], (std::array<int, 4>{100, 300, 107, 305}));  // row 0, corner 0 toward 3
  EXPECT_EQ(far[1], (std::array<int, 4>{140, 330, 133, 325}));
  EXPECT_EQ(far[17], (std::array<int, 4>{180, 220, 171, 220}));  // row 11, corner 4 toward 5

  device.Clear();
  f.box.RenderCenterSpot(dc);
  const auto spots = device.CallsOf(EGdiCall::Ellipse);
  ASSERT_EQ(spots.size(), 1u);
  EXPECT_EQ(CRect(spots[0].rect), CRect(154, 269, 166, 281));
}

TEST(BoundingBoxMouse, FindClosestPointAndQuickTest) {
  ObliqueCube f;
  ASSERT_TRUE(f.box.Build(&f.cube, &f.window));
  std::uint64_t d2 = 0;
  EXPECT_EQ(f.box.FindClosestPoint({100, 260}, &d2), 0u);  // between 0 and 5: the lower
  EXPECT_EQ(d2, 1600u);
  EXPECT_EQ(f.box.FindClosestPoint({219, 331}, nullptr), 2u);
  EXPECT_TRUE(f.box.WhereIsTheMouseQuickTest({94, 214}));
  EXPECT_FALSE(f.box.WhereIsTheMouseQuickTest({93, 214}));
  EXPECT_TRUE(f.box.WhereIsTheMouseQuickTest({225, 335}));
  EXPECT_FALSE(f.box.WhereIsTheMouseQuickTest({226, 335}));  // right edge excluded
}

// Pointers around the projected cube, checked against what a person sees under them: a
// handle's stroke nudged a pixel to either side lies on the face between it and the
// neighbouring edge on that side.
TEST(BoundingBoxMouse, WhereIsTheMouse) {
  ObliqueCube f;
  ASSERT_TRUE(f.box.Build(&f.cube, &f.window));
  constexpr int kAny = -1, kUnwritten = 7;
  const struct {
    CPoint p;
    Box::EMouseType where;
    unsigned vertex;
    int axis;
  } cases[] = {
      // The centre spot, grown by the extra radius as the box is large: 16 pixels.
      {{160, 275}, Box::eMouseCenter, 8, kUnwritten},
      {{176, 275}, Box::eMouseCenter, 8, kUnwritten},
      {{160, 259}, Box::eMouseCenter, 8, kUnwritten},
      {{100, 300}, Box::eMouseHandle, 0, kAny},
      {{220, 250}, Box::eMouseHandle, 7, kAny},
      // Either side of a slanted z stroke (corner 5), a y stroke (3) and an x stroke (0).
      {{108, 224}, Box::eMouseHandle, 5, Box::eEdgesAlongY},
      {{106, 226}, Box::eMouseHandle, 5, Box::eEdgesAlongX},
      {{141, 321}, Box::eMouseHandle, 3, Box::eEdgesAlongZ},
      {{139, 321}, Box::eMouseHandle, 3, Box::eEdgesAlongX},
      {{109, 299}, Box::eMouseHandle, 0, Box::eEdgesAlongZ},
      {{109, 301}, Box::eMouseHandle, 0, Box::eEdgesAlongY},
      // Far away, inside a face past the strokes, on an edge between its handles.
      {{20, 20}, Box::eMouseOutside, 5, kAny},
      {{400, 400}, Box::eMouseOutside, 2, kAny},
      {{110, 290}, Box::eMouseOutside, 0, kAny},
      {{100, 260}, Box::eMouseOutside, 0, kAny},
      {{220, 290}, Box::eMouseOutside, 2, kAny},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
    Box::EAxis axis = Box::EAxis(kUnwritten);
    unsigned vertex = 99;
    EXPECT_EQ(f.box.WhereIsTheMouse(axis, vertex, c.p), c.where);
    EXPECT_EQ(vertex, c.vertex);
    if (c.axis != kAny) {
      EXPECT_EQ(int(axis), c.axis);
    }
  }
  Box::EAxis axis;
  unsigned vertex;
  EXPECT_NE(f.box.WhereIsTheMouse(axis, vertex, {177, 275}), Box::eMouseCenter);
}

}  // namespace
