// MNewSlicer: sections of closed and open meshes, vertices on the plane, orientation and
// order of the contours.
#include "SliceTestSupport.h"

#include "host/mesh/MStlPrimitives.h"

#include <algorithm>
#include <numbers>
#include <tuple>

using namespace slice_test;

namespace {

Border Slice(const MStlBase* mesh, const MMPlaneEq<double>& plane, bool keepDegenerate = false) {
  MNewSlicer slicer;
  slicer.SetSliceStl(const_cast<MStlBase*>(mesh));
  slicer.SetPlaneSliceMode(plane, keepDegenerate);
  const bool any = slicer.Operate();
  EXPECT_EQ(any, slicer.GetBorder().GetNumContours() > 0);
  return slicer.GetBorder();
}

// Each contour: whether it is closed, and its points' plane coordinates and triangles.
using Trace = std::vector<std::pair<bool, std::vector<std::tuple<double, double, const MStlTriangle*>>>>;
Trace Traced(const Border& border, bool withTriangles = true) {
  Trace trace;
  for (std::size_t i = 0; i < border.GetNumContours(); ++i) {
    trace.push_back({border.GetContour(i).IsClosed(), {}});
    for (const auto& p : border.GetContour(i).GetPoints())
      trace.back().second.emplace_back(p.x, p.y, withTriangles ? p.data.triangle : nullptr);
  }
  return trace;
}

std::size_t VertexPoints(const Border& border) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < border.GetNumContours(); ++i)
    for (const auto& p : border.GetContour(i).GetPoints()) n += p.data.IsVertex();
  return n;
}

}  // namespace

TEST(MNewSlicer, SectionsOfOneContour) {
  const auto cube = MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1});
  const auto patch = MStlPrimitives::MakePlanePatch({-1, -1, 0}, {2, 0, 0}, {0, 2, 0}, 4, 4);
  const struct {
    const char* what;
    const MStlBase* mesh;
    MMPlaneEq<double> plane;
    bool keepDegenerate;
    std::size_t contours, points, vertexPoints;
    bool closed;
    double area;  // signed, in the plane coordinates
  } cases[] = {
      // Four vertical edges and four face diagonals; a normal along +z gives u = x, v = y,
      // so the square runs counter-clockwise.
      {"a cube through its middle", cube.get(), {0, 0, 1, 0}, false, 1, 8, 0, true, 2000.0 * 2000.0},
      {"a cube through two opposite vertical edges, a face diagonal in the plane", cube.get(), {1, -1, 0, 0}, false,
       1, 4, 4, true, 4e6 * std::sqrt(2.0)},
      // Points on the plane count as positive: the top face is the section when the rest
      // of the box lies on the negative side, and nothing is cut from the other side.
      {"the top face, the box below it", cube.get(), {0, 0, 1, -1000}, false, 1, 4, 4, true, 4e6},
      {"the top face, the box above it", cube.get(), {0, 0, -1, 1000}, false, 0, 0, 0, false, 0},
      // Only the corner (-1, -1, -1) mm is on the plane; the rest of the cube is negative.
      {"touching at a vertex", cube.get(), {-1, -1, -1, -3000}, false, 0, 0, 0, false, 0},
      {"touching at a vertex, degenerate contours kept", cube.get(), {-1, -1, -1, -3000}, true, 1, 1, 1, true, 0},
      // An open mesh: a chain from boundary to boundary. Four cells cut, each by its edge
      // and its diagonal: 4 + 4 + 1 points along the line x = 0.1 mm.
      {"an open patch", patch.get(), {1, 0, 0, -100}, false, 1, 9, 0, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Border border = Slice(c.mesh, c.plane, c.keepDegenerate);
    ASSERT_EQ(border.GetNumContours(), c.contours);
    if (c.contours == 0) continue;
    const Contour& contour = border.GetContour(0);
    EXPECT_EQ(contour.IsClosed(), c.closed);
    EXPECT_EQ(contour.GetNumPoints(), c.points);
    EXPECT_EQ(VertexPoints(border), c.vertexPoints);
    if (c.closed) {
      EXPECT_NEAR(SignedArea(contour), c.area, 1e-3);
    }
    if (c.points > 1) ExpectWellFormed(contour, c.plane);
  }
  const Border touching = Slice(cube.get(), {-1, -1, -1, -3000}, true);
  EXPECT_EQ(touching.GetContour(0).GetPoints().front().data.point, MMPoint3d<double>(-1000, -1000, -1000));
  // Normal +x: u = y. The patch's chain ends on its boundary edges at y = -+1 mm.
  const auto chain = Points(Slice(patch.get(), {1, 0, 0, -100}).GetContour(0));
  EXPECT_EQ(std::fabs(chain.front().x), 1000.0);
  EXPECT_EQ(chain.back().x, -chain.front().x);
}

TEST(MNewSlicer, OuterContoursRunCounterClockwiseAndHolesClockwise) {
  const auto sphere = MStlPrimitives::MakeUvSphere({0, 0, 0}, 10, 48, 24);
  // 64 segments put rings of vertices exactly on the planes y = 0 and z = 0: each must be
  // met once, and the contours stay closed.
  const auto torus = MStlPrimitives::MakeTorus({0, 0, 0}, 10, 3, 64, 32);
  auto ngon = [](double n, double r) { return n / 2.0 * std::sin(2 * std::numbers::pi / n) * r * r; };
  // A plane through (0.1, -0.2, 0.3) mm cuts the sphere of radius 10 mm in a circle.
  auto sphereCut = [](const MMPoint3d<double>& n) {
    const double d = n.Dot({0.1, -0.2, 0.3}) / n.Length();
    return std::numbers::pi * (100 - d * d) * 1e6;
  };
  const struct {
    const char* what;
    const MStlBase* mesh;
    MMPlaneEq<double> plane;
    std::vector<double> areas;  // sorted
    double tolerance;           // of each area, relative
    std::size_t vertexPoints;
  } cases[] = {
      {"a sphere, +z", sphere.get(), PlaneThrough({0, 0, 1}, {100, -200, 300}), {sphereCut({0, 0, 1})}, 0.02, 0},
      {"a sphere, -z", sphere.get(), PlaneThrough({0, 0, -1}, {100, -200, 300}), {sphereCut({0, 0, -1})}, 0.02, 0},
      {"a sphere, slanted", sphere.get(), PlaneThrough({1, 2, 3}, {100, -200, 300}), {sphereCut({1, 2, 3})}, 0.02, 0},
      // Two tube circles of radius 3 mm, each through its ring of 32 vertices.
      {"a torus through its axis", torus.get(), {0, 1, 0, 0}, {ngon(32, 3000), ngon(32, 3000)}, 0.01, 64},
      {"a torus 1 um off its axis", torus.get(), {0, 1, 0, -1}, {ngon(32, 3000), ngon(32, 3000)}, 0.01, 0},
      // The equators: the inner circle, round the hole, runs clockwise.
      {"a torus through its equator", torus.get(), {0, 0, 1, 0}, {-ngon(64, 7000), ngon(64, 13000)}, 0.01, 128},
      {"a torus 1 um above its equator", torus.get(), {0, 0, 1, -1}, {-ngon(64, 7000), ngon(64, 13000)}, 0.01, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Border border = Slice(c.mesh, c.plane);
    ASSERT_EQ(border.GetNumContours(), c.areas.size());
    std::vector<double> areas;
    for (std::size_t i = 0; i < border.GetNumContours(); ++i) {
      EXPECT_TRUE(border.GetContour(i).IsClosed());
      ExpectWellFormed(border.GetContour(i), c.plane);
      areas.push_back(SignedArea(border.GetContour(i)));
    }
    std::sort(areas.begin(), areas.end());
    for (std::size_t i = 0; i < areas.size(); ++i)
      EXPECT_NEAR(areas[i], c.areas[i], c.tolerance * std::fabs(c.areas[i]));
    EXPECT_EQ(VertexPoints(border), c.vertexPoints);
  }
}

// Other normals are checked through every contour's plane coordinates and orientation.
TEST(MNewSlicer, PlaneBasisOfZIsXAndYAndThereIsNoneForAZeroOrNaNNormal) {
  MMPoint3d<double> u, v;
  ASSERT_TRUE(MNewSlicer::MakePlaneBasis({0, 0, 5}, u, v));
  EXPECT_EQ(u, MMPoint3d<double>(1, 0, 0));
  EXPECT_EQ(v, MMPoint3d<double>(0, 1, 0));
  EXPECT_FALSE(MNewSlicer::MakePlaneBasis({0, 0, 0}, u, v));
  EXPECT_FALSE(MNewSlicer::MakePlaneBasis({std::nan(""), 0, 1}, u, v));
}

TEST(MNewSlicer, NoMeshNoPlaneOrNoCrossingGivesAnEmptyBorder) {
  auto cube = MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1});
  MStlBase empty;
  MNewSlicer slicer;
  EXPECT_FALSE(slicer.Operate());  // nothing set at all
  const struct {
    MStlBase* mesh;
    MMPlaneEq<double> plane;
  } cases[] = {{nullptr, {0, 0, 1, 0}},
               {&empty, {0, 0, 1, 0}},
               {cube.get(), {0, 0, 0, 0}},
               {cube.get(), {0, 0, 1, std::nan("")}},
               {cube.get(), {0, 0, 1, -5000}}};  // the last above the cube
  for (const auto& c : cases) {
    // Each failure also clears the border of the slicing before.
    slicer.SetSliceStl(cube.get());
    slicer.SetPlaneSliceMode({0, 0, 1, 0}, false);
    ASSERT_TRUE(slicer.Operate());
    slicer.SetSliceStl(c.mesh);
    slicer.SetPlaneSliceMode(c.plane, false);
    EXPECT_FALSE(slicer.Operate());
    EXPECT_EQ(slicer.GetBorder().GetNumContours(), 0u);
  }
}

TEST(MNewSlicer, ContoursComeInTraversalOrderAndRepeatIdentically) {
  // Two separate boxes in one mesh, the one at +5 mm first in the traversal.
  MStlBuilder b;
  AddBox(b, {3, -2, -2}, {7, 2, 2}, false);
  AddBox(b, {-7, -2, -2}, {-3, 2, 2}, false);
  auto mesh = b.Build();
  const auto order = TraversalIndex(*mesh);
  MNewSlicer slicer;
  slicer.SetSliceStl(mesh.get());
  slicer.SetPlaneSliceMode(PlaneThrough({0.2, 0.1, 1}, {0, 0, 300}), false);
  ASSERT_TRUE(slicer.Operate());
  const Border first = slicer.GetBorder();
  ASSERT_EQ(first.GetNumContours(), 2u);
  EXPECT_GT(first.GetContour(0).GetPoints().front().data.point.x, 0.0);  // the box at +5 mm
  std::size_t previous = 0;
  for (std::size_t i = 0; i < 2; ++i) {
    // A closed contour starts in the earliest triangle it crosses.
    const auto p = Points(first.GetContour(i));
    const std::size_t earliest = order.at(p.front().data.triangle);
    for (const auto& q : p) EXPECT_LE(earliest, order.at(q.data.triangle));
    if (i > 0) {
      EXPECT_GT(earliest, previous);
    }
    previous = earliest;
  }
  ASSERT_TRUE(slicer.Operate());
  EXPECT_EQ(Traced(slicer.GetBorder()), Traced(first));
}

TEST(MNewSlicer, MeshAppendedInSeveralBlocksIsCutLikeOneBuiltAtOnce) {
  // Each append puts its points in a block of their own; the slicer must find every block.
  MStlBuilder all;
  std::unique_ptr<MStlBase> appended;
  for (const MMPoint3d<float>& c :
       {MMPoint3d<float>(0, 0, 0), MMPoint3d<float>(10, 0, 0), MMPoint3d<float>(0, 10, 0)}) {
    MStlBuilder one;
    AddBox(one, c - MMPoint3d<float>(2, 2, 2), c + MMPoint3d<float>(2, 2, 2), false);
    AddBox(all, c - MMPoint3d<float>(2, 2, 2), c + MMPoint3d<float>(2, 2, 2), false);
    if (!appended)
      appended = one.Build();
    else
      one.AppendTo(*appended);
  }
  const MMPlaneEq<double> plane = PlaneThrough({0.05, 0.02, 1}, {0, 0, 500});
  const auto whole = all.Build();
  const Border built = Slice(whole.get(), plane), b = Slice(appended.get(), plane);
  ASSERT_EQ(b.GetNumContours(), 3u);
  EXPECT_EQ(Traced(b, false), Traced(built, false));
  for (std::size_t i = 0; i < 3; ++i) {
    // A 4 mm square seen slanted: larger by |n| / n.z.
    EXPECT_NEAR(SignedArea(b.GetContour(i)), 4000.0 * 4000.0 * plane.Normal().Length(), 1.0);
    ExpectWellFormed(b.GetContour(i), plane);
  }
}

TEST(MNewSlicer, SliceAllCutsWithManyPlanesInOnePassAsOperateDoesWithEach) {
  // More planes than one pass takes, one that cannot cut and one that misses the mesh.
  auto torus = MStlPrimitives::MakeTorus({0, 0, 0}, 10, 3, 64, 24);
  std::vector<MMPlaneEq<double>> planes;
  for (int i = 0; i < 18; ++i) {
    const double a = 0.35 * i;
    planes.push_back(PlaneThrough({std::cos(a), std::sin(a), 0.3 * (i % 3)}, {500.0 * i, -300.0 * i, 700.0 * (i % 4)}));
  }
  planes[4] = {0, 0, 0, 1};
  planes[9] = {0, 0, 1, -1e6};
  std::vector<Border> borders;
  MNewSlicer::SliceAll(torus.get(), planes, false, borders);
  ASSERT_EQ(borders.size(), planes.size());
  for (std::size_t i = 0; i < planes.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(borders[i].IsEmpty(), i == 4 || i == 9);
    EXPECT_EQ(Traced(borders[i]), Traced(Slice(torus.get(), planes[i])));
  }
  MNewSlicer::SliceAll(nullptr, planes, false, borders);
  ASSERT_EQ(borders.size(), planes.size());
  for (const Border& b : borders) EXPECT_TRUE(b.IsEmpty());
}
