// The view camera: framing of what clip planes keep, zoom to a rectangle, pan, rotations
// about a pivot, and the eye and window systems it keeps in the transform repository.
#include "host/core/UIStlObject.h"
#include "host/framework/MCamera.h"
#include "host/framework/MClipRegion.h"
#include "host/framework/MTransformRepository.h"
#include "host/framework/UIObject.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPrimitives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <list>
#include <numbers>
#include <vector>

namespace {

using P = MMPoint3d<double>;
using Projection = MCamera::EProjection;

// A scene object that is just a box.
class BoxObject : public UIObject {
public:
  explicit BoxObject(const M3DBoundingBox<float>& box) : m_box(box) {}
  void GetBoundingBox(M3DBoundingBox<float>& box, unsigned) const override { box.Add(m_box); }

private:
  M3DBoundingBox<float> m_box;
};

// Keeps x <= limit.
MMPlaneEq<double> KeepBelowX(double limit) { return {-1, 0, 0, limit}; }

struct Margins {
  double left, top, right, bottom;
  double Tightest() const { return std::min({left, top, right, bottom}); }
};

// The share of the picture left free on each side of the points' projected box.
Margins MarginsOf(const MCamera& camera, const std::vector<P>& points) {
  double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
  for (const P& p : points) {
    P w;
    EXPECT_TRUE(camera.ProjectToWindow(p, w));
    x0 = std::min(x0, w.x), x1 = std::max(x1, w.x), y0 = std::min(y0, w.y), y1 = std::max(y1, w.y);
  }
  const double width = camera.GetWindowWidth(), height = camera.GetWindowHeight();
  return {x0 / width, y0 / height, (width - x1) / width, (height - y1) / height};
}

std::vector<P> Corners(const M3DBoundingBox<double>& box) {
  std::vector<P> corners;
  for (int i = 0; i < 8; ++i) corners.push_back(box.Corner(i));
  return corners;
}

P Project(const MCamera& camera, const P& p) {
  P w;
  EXPECT_TRUE(camera.ProjectToWindow(p, w));
  return w;
}

void ExpectNear(const P& a, const P& b, double tolerance) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

MCamera FramedCamera(Projection projection, const P& direction, unsigned width, unsigned height) {
  MCamera camera;
  camera.SetProjection(projection);
  EXPECT_TRUE(camera.SetWindowSize(width, height));
  EXPECT_TRUE(camera.SetViewDirection(direction));
  return camera;
}

const P kDirections[] = {{-1, -1.2, -0.8}, {0, 0, -1}, {1, 0.3, 0}, {-0.2, 1, 0.5}};
const Projection kProjections[] = {MCamera::ePerspective, MCamera::eParallel};

TEST(MCamera, UnzoomFramesTheKeptPartOfEachObjectWithASmallMargin) {
  // A box cut in half by the camera's region, and a box the region leaves whole beyond it:
  // the kept half and the other box are framed, not the cut-away half.
  BoxObject cut(M3DBoundingBox<float>(0, 40, 0, 20, 0, 30));
  BoxObject whole(M3DBoundingBox<float>(-30, -10, 0, 10, 0, 10));
  // The kept part: the cut box up to x = 20, and the other box.
  std::vector<P> kept = Corners({0, 20, 0, 20, 0, 30});
  for (const P& p : Corners({-30, -10, 0, 10, 0, 10})) kept.push_back(p);

  for (Projection projection : kProjections)
    for (const P& direction : kDirections)
      for (auto [width, height] : {std::pair{800u, 600u}, std::pair{300u, 700u}}) {
        SCOPED_TRACE(testing::Message() << "projection " << projection << " direction " << direction.x << ","
                                        << direction.y << "," << direction.z << " size " << width << "x" << height);
        MCamera camera = FramedCamera(projection, direction, width, height);
        camera.SetKeptRegion(MClipRegion({KeepBelowX(20)}));
        std::list<IRender*> objects{&cut, &whole};
        ASSERT_TRUE(camera.Unzoom(objects, 0xFFFFFFFF));
        const Margins m = MarginsOf(camera, kept);
        EXPECT_GE(m.Tightest(), 0.02);
        EXPECT_LE(m.Tightest(), 0.10);
        // Centred on both axes.
        EXPECT_NEAR(m.left, m.right, 0.01);
        EXPECT_NEAR(m.top, m.bottom, 0.01);
        // The view direction is kept, and the whole kept part lies between near and far.
        EXPECT_NEAR(camera.GetViewDirection().Dot(direction / direction.Length()), 1.0, 1e-12);
        for (const P& p : kept) {
          const double z = Project(camera, p).z;
          EXPECT_GT(z, 0.0);
          EXPECT_LT(z, 1.0);
        }
      }
}

TEST(MCamera, UnzoomOfAMeshFramesWhatThePlanesLeaveOfItsSurface) {
  // A sphere of radius 40 cut down to the quarter with x <= 0 and z <= 0: framed by its
  // box that would leave the kept quarter far from the picture's edges.
  UIStlObject sphere(MStlPrimitives::MakeUvSphere({0, 0, 0}, 40.0f, 96, 64));
  const MClipRegion region({KeepBelowX(0), {0, 0, -1, 0}});
  std::vector<P> kept;
  sphere.GetKeptPoints(kept, 0xFFFFFFFF, region);
  ASSERT_FALSE(kept.empty());
  for (const P& p : kept) {
    ASSERT_LE(p.x, 1e-9);
    ASSERT_LE(p.z, 1e-9);
  }
  for (Projection projection : kProjections) {
    SCOPED_TRACE(projection);
    MCamera camera = FramedCamera(projection, {-1, -0.55, -0.75}, 400, 300);
    camera.SetKeptRegion(region);
    std::list<IRender*> objects{&sphere};
    ASSERT_TRUE(camera.Unzoom(objects, 0xFFFFFFFF));
    const Margins m = MarginsOf(camera, kept);
    EXPECT_GE(m.Tightest(), 0.02);
    EXPECT_LE(m.Tightest(), 0.10);
  }
}

TEST(MCamera, UnzoomFollowsTheObjectsPlacement) {
  BoxObject box(M3DBoundingBox<float>(0, 10, 0, 10, 0, 10));
  const double shift[16] = {1, 0, 0, 100, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  box.GetCoordinateSystem().GetInternalSystem()->SetLocalTransform(MMTransformMatrix(shift));
  MCamera camera = FramedCamera(MCamera::ePerspective, {0, 0, -1}, 400, 400);
  // The region is in world coordinates: it keeps x <= 105, half of the moved box.
  camera.SetKeptRegion(MClipRegion({KeepBelowX(105)}));
  std::list<IRender*> objects{&box};
  ASSERT_TRUE(camera.Unzoom(objects, 0xFFFFFFFF));
  ExpectNear(camera.GetRotationCenter(), {102.5, 5, 5}, 1e-9);
  EXPECT_LE(MarginsOf(camera, Corners({100, 105, 0, 10, 0, 10})).Tightest(), 0.10);
}

TEST(MCamera, UnzoomOfNothingChangesNothing) {
  MCamera camera;
  BoxObject empty{M3DBoundingBox<float>()};
  BoxObject hidden(M3DBoundingBox<float>(0, 1, 0, 1, 0, 1));
  hidden.SetVisible(false, 0xFFFFFFFF);
  std::list<IRender*> objects{&empty, &hidden, nullptr};
  const P before = camera.GetEyePosition();
  EXPECT_FALSE(camera.Unzoom(objects, 0xFFFFFFFF));
  EXPECT_FALSE(camera.Unzoom(std::vector<P>{{NAN, 0, 0}}));
  EXPECT_EQ(camera.GetEyePosition(), before);
}

TEST(MCamera, ZoomMakesTheRectangleFillTheView) {
  const std::vector<P> probes = {{0, 0, 0}, {30, 10, 5}, {-20, 25, -10}, {5, -15, 20}};
  // The same aspect as the picture, a wide one, a tall one, one dragged up and left, a line.
  const CRect rects[] = {{100, 50, 300, 200}, {20, 300, 420, 340}, {600, 10, 640, 400}, {500, 400, 200, 100},
                         {100, 200, 500, 200}};
  for (Projection projection : kProjections)
    for (const CRect& rect : rects) {
      SCOPED_TRACE(testing::Message() << "projection " << projection << " rect " << rect.left << "," << rect.top
                                      << "," << rect.right << "," << rect.bottom);
      MCamera camera = FramedCamera(projection, {-1, -1, -1}, 800, 600);
      ASSERT_TRUE(camera.Unzoom(Corners({-40, 40, -40, 40, -40, 40})));
      CRect r = rect;
      r.NormalizeRect();
      const double scale = 1.0 / std::max(r.Width() / 800.0, r.Height() / 600.0);
      std::vector<P> before;
      for (const P& p : probes) before.push_back(Project(camera, p));
      ASSERT_TRUE(camera.Zoom(rect));
      for (std::size_t i = 0; i < probes.size(); ++i) {
        const P after = Project(camera, probes[i]);
        EXPECT_NEAR(after.x, 400 + (before[i].x - 0.5 * (r.left + r.right)) * scale, 1e-6);
        EXPECT_NEAR(after.y, 300 + (before[i].y - 0.5 * (r.top + r.bottom)) * scale, 1e-6);
      }
    }
  MCamera camera;
  const P eye = camera.GetEyePosition();
  const MMTransformMatrix window = camera.GetEyeToWindow();
  EXPECT_FALSE(camera.Zoom(CRect(10, 10, 10, 10)));
  EXPECT_EQ(camera.GetEyePosition(), eye);
  EXPECT_EQ(std::memcmp(camera.GetEyeToWindow().GetMatrix(), window.GetMatrix(), sizeof(double) * 16), 0);
}

TEST(MCamera, ZoomByAFactorKeepsThePointUnderTheCursor) {
  for (Projection projection : kProjections) {
    MCamera camera = FramedCamera(projection, {-1, -1, -1}, 640, 480);
    ASSERT_TRUE(camera.Unzoom(Corners({-40, 40, -40, 40, -40, 40})));
    const P a = Project(camera, {10, 20, 30}), b = Project(camera, {-30, 0, 10});
    ASSERT_TRUE(camera.Zoom(2.0, a));
    ExpectNear(Project(camera, {10, 20, 30}), {a.x, a.y, a.z}, 1e-6);
    const P b2 = Project(camera, {-30, 0, 10});
    EXPECT_NEAR(b2.x - a.x, 2 * (b.x - a.x), 1e-6);
    EXPECT_NEAR(b2.y - a.y, 2 * (b.y - a.y), 1e-6);
    for (double bad : {0.0, -1.0, double(NAN), double(INFINITY)}) EXPECT_FALSE(camera.Zoom(bad));
  }
}

TEST(MCamera, PanMovesEveryProjectedPointByTheDeltas) {
  const std::vector<P> probes = {{0, 0, 0}, {35, -10, 20}, {-40, 40, -40}};
  for (Projection projection : kProjections)
    for (auto [dx, dy] : {std::pair{12.0, -7.0}, std::pair{-250.5, 80.25}, std::pair{0.0, 3.0}}) {
      SCOPED_TRACE(testing::Message() << projection << " " << dx << "," << dy);
      MCamera camera = FramedCamera(projection, {-1, -0.5, -0.7}, 500, 400);
      ASSERT_TRUE(camera.Unzoom(Corners({-40, 40, -40, 40, -40, 40})));
      std::vector<P> before;
      for (const P& p : probes) before.push_back(Project(camera, p));
      camera.Pan(dx, dy);
      for (std::size_t i = 0; i < probes.size(); ++i)
        ExpectNear(Project(camera, probes[i]), before[i] + P(dx, dy, 0), 1e-6);
    }
}

TEST(MCamera, RotationsKeepThePivotInPlace) {
  const P pivot(12, -5, 8), other(-30, 20, 10);
  struct Turn {
    bool aroundUp;
    double a, b, c;
  };
  const Turn turns[] = {{false, 30, 0, 0}, {false, 0, -45, 0}, {false, 0, 0, 180}, {false, 20, 35, -60},
                        {true, 90, 0, 0},  {true, -30, 25, 0}, {true, 0, -40, 0}};
  for (Projection projection : kProjections)
    for (const Turn& t : turns) {
      SCOPED_TRACE(testing::Message() << projection << (t.aroundUp ? " around up " : " view axes ") << t.a << ","
                                      << t.b << "," << t.c);
      MCamera camera = FramedCamera(projection, {-1, -1.2, -0.8}, 600, 400);
      ASSERT_TRUE(camera.Unzoom(Corners({-40, 40, -40, 40, -40, 40})));
      camera.Pan(30, -20);  // an off-centre window must not matter
      const P before = Project(camera, pivot), moved = Project(camera, other);
      if (t.aroundUp)
        camera.RotateAroundUp(pivot, t.a, t.b);
      else
        camera.Rotate(pivot, t.a, t.b, t.c);
      ExpectNear(Project(camera, pivot), before, 1e-7);
      const P after = Project(camera, other);
      EXPECT_GT(std::hypot(after.x - moved.x, after.y - moved.y), 1.0);
      // The eye axes stay a right-handed orthonormal frame.
      EXPECT_NEAR(camera.GetPictureRight().Cross(camera.GetPictureUp()).Dot(-camera.GetViewDirection()), 1.0, 1e-12);
    }
}

TEST(MCamera, RotationDirections) {
  // Looking along -y with z up: the eye is on the +y side.
  MCamera camera = FramedCamera(MCamera::ePerspective, {0, -1, 0}, 400, 400);
  ASSERT_TRUE(camera.Unzoom(Corners({-10, 10, -10, 10, -10, 10})));
  const P centre = camera.GetRotationCenter();
  // A quarter turn counter-clockwise seen from above takes the eye to the -x side.
  camera.RotateAroundUp(centre, 90, 0);
  ExpectNear(camera.GetViewDirection(), {1, 0, 0}, 1e-12);
  // Upwards: the view tilts down.
  camera.RotateAroundUp(centre, 0, 30);
  ExpectNear(camera.GetViewDirection(), {std::cos(std::numbers::pi / 6), 0, -0.5}, 1e-12);
  // Half a turn about the view axis: the picture upside down.
  MCamera flipped = FramedCamera(MCamera::ePerspective, {0, -1, 0}, 400, 400);
  ASSERT_TRUE(flipped.Unzoom(Corners({-10, 10, -10, 10, -10, 10})));
  const double above = Project(flipped, {0, 0, 8}).y;
  flipped.Rotate(flipped.GetRotationCenter(), 0, 0, 180);
  EXPECT_NEAR(Project(flipped, {0, 0, 8}).y, 400 - above, 1e-6);
  // Twelve steps of 30 degrees come back to the start.
  MCamera turning = FramedCamera(MCamera::eParallel, {-1, -0.4, -0.3}, 300, 200);
  ASSERT_TRUE(turning.Unzoom(Corners({-10, 10, -10, 10, -10, 10})));
  const P start = Project(turning, {7, -3, 2});
  for (int i = 0; i < 12; ++i) turning.RotateAroundUp(turning.GetRotationCenter(), 30, 0);
  ExpectNear(Project(turning, {7, -3, 2}), start, 1e-6);
}

TEST(MCamera, UnzoomAroundUpKeepsEveryTurnInThePicture) {
  // An off-centre, elongated set: the widest view of it comes half-way round.
  const std::vector<P> points = Corners({-60, 20, -10, 10, 0, 30});
  for (Projection projection : kProjections) {
    SCOPED_TRACE(projection);
    MCamera camera = FramedCamera(projection, {-1, -0.55, -0.75}, 320, 240);
    ASSERT_TRUE(camera.UnzoomAroundUp(points));
    double tightest = 1.0;
    for (int i = 0; i < 36; ++i) {
      const Margins m = MarginsOf(camera, points);
      EXPECT_GE(m.Tightest(), 0.0) << "step " << i;
      tightest = std::min(tightest, m.Tightest());
      camera.RotateAroundUp(camera.GetRotationCenter(), 10, 0);
    }
    // Tight for the widest view.
    EXPECT_LE(tightest, 0.12);
  }
}

TEST(MCamera, RepositoryMapsThroughTheEyeAndWindowSystems) {
  MCamera camera = FramedCamera(MCamera::ePerspective, {-1, -1, -1}, 640, 480);
  ASSERT_TRUE(camera.Unzoom(Corners({-40, 40, -40, 40, -40, 40})));
  const MCoordinateSystem world;
  auto& repository = *MTransformRepository::mgp_instance;
  auto check = [&](const MCamera& c) {
    for (const P& p : {P(0, 0, 0), P(20, -30, 10), P(-40, 40, -40)}) {
      P window, eye;
      ASSERT_TRUE(repository.GetTransform(world, c.GetCoordinateSystemWindow()).TransformPoint(window, p, false));
      ExpectNear(window, Project(c, p), 1e-6);
      ASSERT_TRUE(repository.GetTransform(world, c.GetCoordinateSystemEye()).TransformPoint(eye, p, false));
      P expected;
      ASSERT_TRUE(c.GetWorldToEye().TransformPoint(expected, p, false));
      ExpectNear(eye, expected, 1e-9);
      // And back from the window to the world.
      P back;
      ASSERT_TRUE(repository.GetTransform(c.GetCoordinateSystemWindow(), world).TransformPoint(back, window, false));
      ExpectNear(back, p, 1e-6);
    }
  };
  check(camera);
  // The systems follow every move, and a copy keeps systems of its own.
  camera.RotateAroundUp(camera.GetRotationCenter(), 40, 10);
  camera.Zoom(CRect(100, 100, 300, 250));
  camera.SetProjection(MCamera::eParallel);
  check(camera);
  MCamera copy(camera);
  EXPECT_FALSE(copy.GetCoordinateSystemEye() == camera.GetCoordinateSystemEye());
  copy.Pan(50, 0);
  check(copy);
  check(camera);
}

TEST(MCamera, ProjectionSwitchKeepsTheRotationCentresSize) {
  MCamera camera = FramedCamera(MCamera::ePerspective, {-1, -1, -1}, 400, 300);
  ASSERT_TRUE(camera.Unzoom(Corners({-40, 40, -40, 40, -40, 40})));
  const P centre = camera.GetRotationCenter();
  const P offset = centre + camera.GetPictureRight() * 10.0;
  const double size = Project(camera, offset).x - Project(camera, centre).x;
  camera.SetProjection(MCamera::eParallel);
  EXPECT_NEAR(Project(camera, offset).x - Project(camera, centre).x, size, 1e-6);
  camera.SetProjection(MCamera::ePerspective);
  EXPECT_NEAR(Project(camera, offset).x - Project(camera, centre).x, size, 1e-6);
}

TEST(MCamera, RefusesBadSettings) {
  MCamera camera;
  EXPECT_FALSE(camera.SetWindowSize(0, 10));
  EXPECT_FALSE(camera.SetViewDirection({0, 0, 0}));
  EXPECT_FALSE(camera.SetViewDirection({NAN, 0, 1}));
  EXPECT_FALSE(camera.SetUpAxis({0, 0, 0}));
  EXPECT_FALSE(camera.SetFieldOfView(180));
  EXPECT_FALSE(camera.SetMargin(0.5));
  EXPECT_FALSE(camera.SetClippingPlanes(0.0, 10.0));  // perspective: the near plane in front of the eye
  EXPECT_FALSE(camera.SetClippingPlanes(5.0, 5.0));
  const double mirror[16] = {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  EXPECT_FALSE(camera.Reset(MMTransformMatrix(mirror)));
  const double scaled[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
  EXPECT_FALSE(camera.Reset(MMTransformMatrix(scaled)));
  // A rigid placement is taken: the eye sits where the transform puts the origin of the eye.
  MMTransformMatrix turned;
  turned.SetRotation({0, 0, 1}, std::numbers::pi / 2, {5, 0, 0});
  ASSERT_TRUE(camera.Reset(turned));
  P eye;
  ASSERT_TRUE(turned.InverseTransformPoint(eye, {0, 0, 0}, false));
  ExpectNear(camera.GetEyePosition(), eye, 1e-12);
}

TEST(MClipRegion, KeepsTheIntersectionOfThePlanesKeptSides) {
  // Three planes meeting inside the box at (2, 3, 4): that corner is found even though no
  // face of the box reaches it.
  const MClipRegion region({{-1, 0, 0, 2}, {0, -1, 0, 3}, {1, 1, 1, -9}});
  std::vector<P> points;
  region.AddKeptBox({0, 10, 0, 10, 0, 10}, points);
  ASSERT_FALSE(points.empty());
  M3DBoundingBox<double> box;
  for (const P& p : points) {
    EXPECT_TRUE(region.Keeps(p));
    box.Add(p);
  }
  // x <= 2, y <= 3 and x + y + z >= 9 in the cube: x from 0, z down to 4.
  EXPECT_NEAR(box.xmin, 0, 1e-12);
  EXPECT_NEAR(box.xmax, 2, 1e-12);
  EXPECT_NEAR(box.ymax, 3, 1e-12);
  EXPECT_NEAR(box.zmin, 4, 1e-12);
  EXPECT_NEAR(box.zmax, 10, 1e-12);
  EXPECT_TRUE(std::any_of(points.begin(), points.end(), [](const P& p) {
    return std::fabs(p.x - 2) + std::fabs(p.y - 3) + std::fabs(p.z - 4) < 1e-12;
  }));

  // A triangle whose corners are each cut by a different plane still crosses the region.
  const MClipRegion wedge({{-1, 0, 0, 1}, {0, -1, 0, 1}, {1, 1, 0, -0.5}});
  const P triangle[3] = {{3, 0, 0}, {0, 3, 0}, {-1, -1, 0}};
  std::vector<P> kept;
  wedge.AddKeptPolygon(triangle, 3, kept);
  EXPECT_GE(kept.size(), 3u);
  for (const P& p : kept) EXPECT_TRUE(wedge.Keeps(p));

  // Pulled into an object's coordinates: the object sits 100 along x.
  const double shift[16] = {1, 0, 0, 100, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const MClipRegion pulled = MClipRegion({KeepBelowX(105)}).Pulled(MMTransformMatrix(shift));
  EXPECT_TRUE(pulled.Keeps({4.9, 0, 0}));
  EXPECT_FALSE(pulled.Keeps({5.1, 0, 0}));
}

}  // namespace
