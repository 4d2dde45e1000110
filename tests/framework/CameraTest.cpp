// The view camera: framing of what clip planes keep, zoom to a rectangle, pan, rotations
// about a pivot, and the eye and window systems it keeps in the transform repository.
#include "host/framework/MCamera.h"
#include "host/framework/MClipRegion.h"
#include "host/framework/MTransformRepository.h"
#include "host/framework/UIObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <list>
#include <numbers>
#include <string>
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
  EXPECT_LE((a - b).Length(), tolerance) << "x " << a.x - b.x << ", y " << a.y - b.y << ", z " << a.z - b.z;
}

MCamera FramedCamera(Projection projection, const P& direction, unsigned width, unsigned height) {
  MCamera camera;
  camera.SetProjection(projection);
  EXPECT_TRUE(camera.SetWindowSize(width, height));
  EXPECT_TRUE(camera.SetViewDirection(direction));
  return camera;
}

// Framed on the cube of `half` around the origin.
MCamera CubeCamera(Projection projection, const P& direction, unsigned width, unsigned height, double half = 40) {
  MCamera camera = FramedCamera(projection, direction, width, height);
  EXPECT_TRUE(camera.Unzoom(Corners({-half, half, -half, half, -half, half})));
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
          EXPECT_TRUE(z > 0.0 && z < 1.0) << z;
        }
      }
}

TEST(MCamera, UnzoomFollowsTheObjectsPlacementAndIgnoresWhatDrawsNothing) {
  BoxObject box(M3DBoundingBox<float>(0, 10, 0, 10, 0, 10));
  const double shift[16] = {1, 0, 0, 100, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  box.GetCoordinateSystem().GetInternalSystem()->SetLocalTransform(MMTransformMatrix(shift));
  BoxObject empty{M3DBoundingBox<float>()};
  BoxObject hidden(M3DBoundingBox<float>(0, 1, 0, 1, 0, 1));
  hidden.SetVisible(false, 0xFFFFFFFF);
  MCamera camera = FramedCamera(MCamera::ePerspective, {0, 0, -1}, 400, 400);
  std::list<IRender*> nothing{&empty, &hidden, nullptr};
  const P before = camera.GetEyePosition();
  EXPECT_FALSE(camera.Unzoom(nothing, 0xFFFFFFFF));
  EXPECT_FALSE(camera.Unzoom(std::vector<P>{{NAN, 0, 0}}));
  EXPECT_EQ(camera.GetEyePosition(), before);

  // The region is in world coordinates: it keeps x <= 105, half of the moved box.
  camera.SetKeptRegion(MClipRegion({KeepBelowX(105)}));
  std::list<IRender*> objects{&box, &empty, &hidden};
  ASSERT_TRUE(camera.Unzoom(objects, 0xFFFFFFFF));
  ExpectNear(camera.GetRotationCenter(), {102.5, 5, 5}, 1e-9);
  EXPECT_LE(MarginsOf(camera, Corners({100, 105, 0, 10, 0, 10})).Tightest(), 0.10);
}

TEST(MCamera, ZoomAndPanMoveEveryProjectedPointAsAsked) {
  const std::vector<P> probes = {{0, 0, 0}, {30, 10, 5}, {-20, 25, -10}, {5, -15, 20}};
  struct Move {
    std::string what;
    std::function<bool(MCamera&)> apply;
    std::function<P(const P&)> after;  // where a point seen at `before` is seen after it
  };
  std::vector<Move> moves;
  // The same aspect as the 800 x 600 picture, a wide one, a tall one, one dragged up and
  // left, a line: the rectangle's centre comes to the picture's, its tighter side spans it.
  for (const CRect& rect : {CRect(100, 50, 300, 200), CRect(20, 300, 420, 340), CRect(600, 10, 640, 400),
                            CRect(500, 400, 200, 100), CRect(100, 200, 500, 200)}) {
    CRect r = rect;
    r.NormalizeRect();
    const double scale = 1.0 / std::max(r.Width() / 800.0, r.Height() / 600.0);
    const P centre(0.5 * (r.left + r.right), 0.5 * (r.top + r.bottom), 0);
    moves.push_back({"zoom to " + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
                         std::to_string(rect.right) + "," + std::to_string(rect.bottom),
                     [rect](MCamera& c) { return c.Zoom(rect); },
                     [=](const P& p) { return P(400, 300, NAN) + (p - centre) * scale; }});
  }
  // Twice as large about a point under the cursor, which stays where it is.
  const P cursor(310, 220, 0.5);
  moves.push_back({"zoom by 2", [=](MCamera& c) { return c.Zoom(2.0, cursor); },
                   [=](const P& p) { return P(cursor.x, cursor.y, NAN) + (p - cursor) * 2.0; }});
  for (auto [dx, dy] : {std::pair{12.0, -7.0}, std::pair{-250.5, 80.25}, std::pair{0.0, 3.0}})
    moves.push_back({"pan by " + std::to_string(dx) + "," + std::to_string(dy),
                     [=](MCamera& c) {
                       c.Pan(dx, dy);
                       return true;
                     },
                     [=](const P& p) { return p + P(dx, dy, 0); }});

  for (Projection projection : kProjections)
    for (const Move& move : moves) {
      SCOPED_TRACE(testing::Message() << "projection " << projection << ", " << move.what);
      MCamera camera = CubeCamera(projection, {-1, -0.5, -0.7}, 800, 600);
      std::vector<P> before;
      for (const P& p : probes) before.push_back(Project(camera, p));
      ASSERT_TRUE(move.apply(camera));
      for (std::size_t i = 0; i < probes.size(); ++i) {
        P expected = move.after(before[i]), actual = Project(camera, probes[i]);
        if (std::isnan(expected.z)) expected.z = actual.z;  // the depth is not the move's to keep
        ExpectNear(actual, expected, 1e-6);
      }
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
      SCOPED_TRACE(testing::Message() << projection << (t.aroundUp ? " around up " : " view axes ") << t.a << "," << t.b
                                      << "," << t.c);
      MCamera camera = CubeCamera(projection, {-1, -1.2, -0.8}, 600, 400);
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

// Which way RotateAroundUp turns shows in the pictures of views from other sides.
TEST(MCamera, HalfATurnAboutTheViewAxisTurnsThePictureUpsideDownAndTwelveStepsComeBack) {
  MCamera camera = CubeCamera(MCamera::ePerspective, {0, -1, 0}, 400, 400, 10);
  const double above = Project(camera, {0, 0, 8}).y;
  camera.Rotate(camera.GetRotationCenter(), 0, 0, 180);
  EXPECT_NEAR(Project(camera, {0, 0, 8}).y, 400 - above, 1e-6);
  MCamera turning = CubeCamera(MCamera::eParallel, {-1, -0.4, -0.3}, 300, 200, 10);
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
    EXPECT_LE(tightest, 0.12) << "tight for the widest view";
  }
}

TEST(MCamera, RepositoryMapsThroughTheEyeAndWindowSystems) {
  MCamera camera = CubeCamera(MCamera::ePerspective, {-1, -1, -1}, 640, 480);
  const MCoordinateSystem world;
  auto check = [&](const MCamera& c) {
    auto map = [](const MCoordinateSystem& from, const MCoordinateSystem& to, const P& p) {
      P out;
      EXPECT_TRUE(MTransformRepository::mgp_instance->GetTransform(from, to).TransformPoint(out, p, false));
      return out;
    };
    for (const P& p : {P(0, 0, 0), P(20, -30, 10), P(-40, 40, -40)}) {
      const P window = map(world, c.GetCoordinateSystemWindow(), p);
      ExpectNear(window, Project(c, p), 1e-6);
      ExpectNear(map(c.GetCoordinateSystemWindow(), world, window), p, 1e-6);
      ExpectNear(map(world, c.GetCoordinateSystemEye(), p), c.GetWorldToEye().TransformedPoint(p, false), 1e-9);
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
  MCamera camera = CubeCamera(MCamera::ePerspective, {-1, -1, -1}, 400, 300);
  const P centre = camera.GetRotationCenter();
  const P offset = centre + camera.GetPictureRight() * 10.0;
  const double size = Project(camera, offset).x - Project(camera, centre).x;
  for (Projection projection : {MCamera::eParallel, MCamera::ePerspective}) {
    camera.SetProjection(projection);
    EXPECT_NEAR(Project(camera, offset).x - Project(camera, centre).x, size, 1e-6) << projection;
  }
}

TEST(MCamera, RefusesBadSettingsAndMovesAndChangesNothingThen) {
  MCamera camera = CubeCamera(MCamera::ePerspective, {-1, -1, -1}, 640, 480);
  const MCamera before(camera);
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
  EXPECT_FALSE(camera.Zoom(CRect(10, 10, 10, 10)));
  for (double bad : {0.0, -1.0, double(NAN), double(INFINITY)}) EXPECT_FALSE(camera.Zoom(bad)) << bad;
  for (const P& p : {P(0, 0, 0), P(30, -20, 10)}) EXPECT_EQ(Project(camera, p), Project(before, p));
  EXPECT_EQ(camera.GetEyePosition(), before.GetEyePosition());

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
