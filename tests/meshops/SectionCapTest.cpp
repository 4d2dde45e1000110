// MSectionCap: sections closed within the region other clip planes keep, checked on
// hand-made sections in the plane z = 0 (integer units).
#include "SliceTestSupport.h"

#include "host/mesh/MStlPrimitives.h"
#include "host/meshops/MSectionCap.h"

#include <algorithm>

using namespace slice_test;

namespace {

struct Xy {
  double x, y;
};

struct ContourShape {
  std::vector<Xy> points;
  bool closed;
};

// Contours as the slicer would leave them, with the solid on their left.
Border MakeSection(const std::vector<ContourShape>& contours) {
  Border border;
  for (const ContourShape& shape : contours) {
    Contour& c = border.AddContour();
    c.SetClosed(shape.closed);
    for (const Xy& p : shape.points) {
      MStlSlicerBase::MSlicePointData data;
      data.point = {p.x, p.y, 0.0};
      c.AddPoint(p.x, p.y, data);
    }
  }
  return border;
}

// Under the odd winding rule, with loops that do not cross: the sum of signed areas.
double NetArea(const MSectionCap& cap) {
  double twice = 0.0;
  for (const MSectionCap::Loop& loop : cap.GetLoops())
    for (std::size_t i = 0; i < loop.size(); ++i) {
      const MMPoint3d<double>& a = loop[i];
      const MMPoint3d<double>& b = loop[(i + 1) % loop.size()];
      twice += a.x * b.y - b.x * a.y;
    }
  return twice / 2.0;
}

bool HasPoint(const MSectionCap& cap, double x, double y) {
  for (const MSectionCap::Loop& loop : cap.GetLoops())
    for (const MMPoint3d<double>& p : loop)
      if (p.x == x && p.y == y && p.z == 0.0) return true;
  return false;
}

const MMPlaneEq<double> kPlane(0, 0, 1, 0);
// Half-spaces kept in the plane z = 0.
MMPlaneEq<double> XAtMost(double x) { return {-1, 0, 0, x}; }
MMPlaneEq<double> YAtMost(double y) { return {0, -1, 0, y}; }

// A square of half side h, counter-clockwise, or clockwise round a hole.
ContourShape Square(double h, bool hole = false) {
  if (hole) return {{{-h, -h}, {-h, h}, {h, h}, {h, -h}}, true};
  return {{{-h, -h}, {h, -h}, {h, h}, {-h, h}}, true};
}
const std::vector<ContourShape> kSquare{Square(1000)}, kRing{Square(2000), Square(1000, true)};
// A cup's section, open at the top: the solid is inside the U.
std::vector<ContourShape> Cup(double leftTop, double rightTop) {
  return {{{{-1000, leftTop}, {-1000, -1000}, {1000, -1000}, {1000, rightTop}}, false}};
}

}  // namespace

TEST(MSectionCap, ChainsAreClosedAlongTheLinesOfTheOtherPlanes) {
  const MMPlaneEq<double> aslant{1, 1, 0, 0}, parallelKeepsAll{0, 0, 1, 1};
  const struct {
    const char* what;
    std::vector<ContourShape> section;
    std::vector<MMPlaneEq<double>> keep;
    double area;
    std::size_t joins;
    std::vector<Xy> corners;  // points the outline must pass through
  } cases[] = {
      {"nothing else clips", kSquare, {}, 4e6, 0, {{-1000, -1000}, {1000, 1000}}},
      {"both ends on one plane", kSquare, {XAtMost(0)}, 2e6, 0, {{0, -1000}, {0, 1000}, {-1000, 1000}}},
      {"ends on two planes, through their corner", kSquare, {XAtMost(500), YAtMost(500)}, 1500.0 * 1500.0, 0,
       {{500, 500}, {500, -1000}, {-1000, 500}, {-1000, -1000}}},
      // No chain comes into the region: the region is the outline.
      {"a region of three planes inside the section", kSquare, {XAtMost(500), YAtMost(500), aslant}, 500.0 * 1000.0,
       0, {{500, 500}, {500, -500}, {-500, 500}}},
      {"a region of three planes outside the section", kSquare, {XAtMost(5000), YAtMost(5000), {1, 1, 0, -8000}}, 0,
       0, {}},
      {"a region of three planes inside a hole of the section", kRing, {XAtMost(500), YAtMost(500), aslant}, 0, 0, {}},
      {"a mesh wound the other way round", {Square(1000, true)}, {XAtMost(500), YAtMost(500)}, 1500.0 * 1500.0, 0,
       {{500, 500}}},
      {"a redundant plane", kSquare, {XAtMost(0), XAtMost(5000)}, 2e6, 0, {{0, 1000}}},
      {"a plane that keeps nothing of it", kSquare, {XAtMost(-2000)}, 0, 0, {}},
      {"a parallel plane that keeps all", kSquare, {parallelKeepsAll}, 4e6, 0, {}},
      {"a parallel plane that keeps nothing", kSquare, {{0, 0, 1, -1}}, 0, 0, {}},
      {"a ring cut in half: two chains, two border parts", kRing, {XAtMost(0)}, 6e6, 0,
       {{0, 2000}, {0, 1000}, {0, -1000}, {0, -2000}}},
      {"an open cup whose rim is cut away", Cup(2000, 2000), {YAtMost(1000)}, 4e6, 0, {{1000, 1000}, {-1000, 1000}}},
      {"an open cup whose rim lies on the plane", Cup(1000, 1000), {YAtMost(1000)}, 4e6, 0,
       {{1000, 1000}, {-1000, 1000}}},
      {"an open cup cut by two planes", Cup(2000, 2000), {YAtMost(1000), XAtMost(0)}, 2e6, 0, {{0, 1000}, {0, -1000}}},
      {"an open cup and no other plane", Cup(2000, 2000), {}, 6e6, 1, {{-1000, 2000}, {1000, 2000}}},
      // The end inside is joined to the start beyond the plane, (1000, 500) to
      // (-1000, 3000), which crosses the plane at x = 600.
      {"one end kept, one cut away", Cup(3000, 500), {YAtMost(1000)}, 3e6 + 500.0 * 1800.0, 1,
       {{600, 1000}, {1000, 500}}},
      // Two holes on the kept side: each end is joined to the start across its hole,
      // not to its own start, which would leave two half squares.
      {"two open contours, two holes",
       {{{{-1000, -200}, {-1000, -1000}, {1000, -1000}, {1000, -200}}, false},
        {{{1000, 200}, {1000, 1000}, {-1000, 1000}, {-1000, 200}}, false}},
       {}, 4e6, 2, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const MSectionCap cap(MakeSection(c.section), kPlane, c.keep);
    EXPECT_NEAR(NetArea(cap), c.area, 1e-6 * 4e6);
    EXPECT_EQ(cap.GetNumJoins(), c.joins);
    for (const Xy& p : c.corners) EXPECT_TRUE(HasPoint(cap, p.x, p.y)) << "no point at " << p.x << ", " << p.y;
    // Every point lies in the plane and in every kept half-space.
    for (const MSectionCap::Loop& loop : cap.GetLoops()) {
      EXPECT_GE(loop.size(), 3u);
      for (const MMPoint3d<double>& p : loop) {
        EXPECT_EQ(p.z, 0.0);
        for (const MMPlaneEq<double>& k : c.keep) EXPECT_GE(k.Evaluate(p) / k.Normal().Length(), -1e-9);
      }
    }
  }
}

TEST(MSectionCap, KeepsTheSectionsOwnPointsAndMapsNewOnesIntoThePlane) {
  // A tilted plane through a real mesh: the outline's points either are the slicer's
  // points, unchanged, or lie on the plane and on a keep plane's line.
  auto sphere = MStlPrimitives::MakeUvSphere({0, 0, 0}, 10, 48, 24);
  const MMPlaneEq<double> plane = PlaneThrough({0.3, -0.2, 0.93}, {0, 0, 2000});
  MNewSlicer slicer;
  slicer.SetSliceStl(sphere.get());
  slicer.SetPlaneSliceMode(plane, false);
  ASSERT_TRUE(slicer.Operate());
  std::vector<MMPoint3d<double>> sectionPoints;
  for (const auto& p : slicer.GetBorder().GetContour(0).GetPoints()) sectionPoints.push_back(p.data.point);

  const std::vector<MMPlaneEq<double>> keep{PlaneThrough({-1, 0, 0}, {2000, 0, 0}),
                                            PlaneThrough({0, -1, 0.2}, {0, 1000, 0})};
  const MSectionCap cap(slicer.GetBorder(), plane, keep);
  ASSERT_EQ(cap.GetLoops().size(), 1u);
  EXPECT_EQ(cap.GetNumJoins(), 0u);
  std::size_t own = 0, onLine = 0;
  for (const MMPoint3d<double>& p : cap.GetLoops()[0]) {
    if (std::find(sectionPoints.begin(), sectionPoints.end(), p) != sectionPoints.end()) {
      ++own;
      continue;
    }
    EXPECT_NEAR(plane.Evaluate(p) / plane.Normal().Length(), 0.0, 1e-6);
    bool onSomeLine = false;
    for (const MMPlaneEq<double>& k : keep) onSomeLine |= std::fabs(k.Evaluate(p) / k.Normal().Length()) < 1e-6;
    EXPECT_TRUE(onSomeLine);
    ++onLine;
  }
  EXPECT_GT(own, 10u);
  EXPECT_GE(onLine, 3u);  // two crossings and the corner of the two lines
}
