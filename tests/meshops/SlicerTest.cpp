// MNewSlicer: sections of closed and open meshes, vertices on the plane, orientation and
// order of the contours.
#include "SliceTestSupport.h"

#include "host/mesh/MStlPrimitives.h"

#include <algorithm>
#include <numbers>

using namespace slice_test;

namespace {

Border Slice(MStlBase* mesh, const MMPlaneEq<double>& plane, bool keepDegenerate = false) {
  MNewSlicer slicer;
  slicer.SetSliceStl(mesh);
  slicer.SetPlaneSliceMode(plane, keepDegenerate);
  const bool any = slicer.Operate();
  EXPECT_EQ(any, slicer.GetBorder().GetNumContours() > 0);
  return slicer.GetBorder();
}

double Radius(const M3dBorderPoint<double, MStlSlicerBase::MSlicePointData>& p, double cx, double cy) {
  return std::hypot(p.x - cx, p.y - cy);
}

}  // namespace

TEST(MNewSlicer, CubeThroughItsMiddleGivesOneClosedSquare) {
  auto cube = MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1});
  const MMPlaneEq<double> plane(0, 0, 1, 0);
  const Border border = Slice(cube.get(), plane);
  ASSERT_EQ(border.GetNumContours(), 1u);
  const Contour& c = border.GetContour(0);
  EXPECT_TRUE(c.IsClosed());
  // Four vertical edges and four face diagonals are cut.
  EXPECT_EQ(c.GetNumPoints(), 8u);
  for (const auto& p : c.GetPoints()) {
    EXPECT_EQ(p.data.point.z, 0.0);
    EXPECT_EQ(std::max(std::fabs(p.x), std::fabs(p.y)), 1000.0) << p.x << ", " << p.y;
    EXPECT_FALSE(p.data.IsVertex());
  }
  // A normal along +z gives u = x, v = y: the square's full area, counter-clockwise.
  EXPECT_DOUBLE_EQ(SignedArea(c), 2000.0 * 2000.0);
  ExpectWellFormed(c, plane);
}

TEST(MNewSlicer, OuterContoursRunCounterClockwiseSeenFromThePositiveSide) {
  auto sphere = MStlPrimitives::MakeUvSphere({0, 0, 0}, 10, 48, 24);
  for (const MMPoint3d<double>& n : {MMPoint3d<double>(0, 0, 1), MMPoint3d<double>(0, 0, -1),
                                     MMPoint3d<double>(1, 2, 3), MMPoint3d<double>(-3, 0.5, -1)}) {
    SCOPED_TRACE(testing::Message() << "normal " << n.x << " " << n.y << " " << n.z);
    const MMPlaneEq<double> plane = PlaneThrough(n, {100, -200, 300});
    const Border border = Slice(sphere.get(), plane);
    ASSERT_EQ(border.GetNumContours(), 1u);
    EXPECT_TRUE(border.GetContour(0).IsClosed());
    EXPECT_GT(SignedArea(border.GetContour(0)), 0.0);
    ExpectWellFormed(border.GetContour(0), plane);
  }
}

TEST(MNewSlicer, PlaneBasisIsRightHandedAndFollowsTheNormal) {
  MMPoint3d<double> u, v;
  ASSERT_TRUE(MNewSlicer::MakePlaneBasis({0, 0, 5}, u, v));
  EXPECT_EQ(u, MMPoint3d<double>(1, 0, 0));
  EXPECT_EQ(v, MMPoint3d<double>(0, 1, 0));
  for (const MMPoint3d<double>& n : {MMPoint3d<double>(1, 0, 0), MMPoint3d<double>(0, -2, 0),
                                     MMPoint3d<double>(0.3, -0.7, 0.2), MMPoint3d<double>(1, 1, 1)}) {
    ASSERT_TRUE(MNewSlicer::MakePlaneBasis(n, u, v));
    const MMPoint3d<double> unit = n / n.Length();
    EXPECT_NEAR(u.Length(), 1.0, 1e-12);
    EXPECT_NEAR(v.Length(), 1.0, 1e-12);
    EXPECT_NEAR(u.Dot(unit), 0.0, 1e-12);
    EXPECT_NEAR((u.Cross(v) - unit).Length(), 0.0, 1e-12);
  }
  EXPECT_FALSE(MNewSlicer::MakePlaneBasis({0, 0, 0}, u, v));
  EXPECT_FALSE(MNewSlicer::MakePlaneBasis({std::nan(""), 0, 1}, u, v));
}

TEST(MNewSlicer, TorusThroughItsAxisGivesTwoTubeCircles) {
  // 64 segments put rings of vertices exactly on the plane y = 0 (at u = 0 and u = pi).
  auto torus = MStlPrimitives::MakeTorus({0, 0, 0}, 10, 3, 64, 32);
  for (const MMPlaneEq<double>& plane : {MMPlaneEq<double>(0, 1, 0, 0), MMPlaneEq<double>(0, 1, 0, -1)}) {
    const Border border = Slice(torus.get(), plane);
    ASSERT_EQ(border.GetNumContours(), 2u);
    double centres[2];
    for (int i = 0; i < 2; ++i) {
      const Contour& c = border.GetContour(i);
      EXPECT_TRUE(c.IsClosed());
      EXPECT_GE(c.GetNumPoints(), 32u);
      // Normal +y: u = z, v = x. The tube circles are centred on x = +-10 mm (shifted a
      // little by the 1 um offset of the second plane).
      double sum = 0;
      for (const auto& p : c.GetPoints()) sum += p.y;
      centres[i] = sum / double(c.GetNumPoints());
      for (const auto& p : c.GetPoints()) EXPECT_NEAR(Radius(p, 0.0, centres[i] > 0 ? 10000 : -10000), 3000, 20);
      EXPECT_GT(SignedArea(c), 0.0);
      ExpectWellFormed(c, plane);
    }
    EXPECT_NEAR(std::fabs(centres[0]), 10000, 50);
    EXPECT_NEAR(centres[0], -centres[1], 100);
  }
}

TEST(MNewSlicer, TorusThroughItsEquatorGivesTwoConcentricCirclesTheInnerOneClockwise) {
  // The outer and inner equators' vertices lie exactly on z = 0, and 1 um below z = 1 um.
  auto torus = MStlPrimitives::MakeTorus({0, 0, 0}, 10, 3, 64, 32);
  for (double d : {0.0, -1.0}) {
    SCOPED_TRACE(d);
    const MMPlaneEq<double> plane(0, 0, 1, d);
    const Border border = Slice(torus.get(), plane);
    ASSERT_EQ(border.GetNumContours(), 2u);
    std::vector<double> areas;
    for (std::size_t i = 0; i < 2; ++i) {
      const Contour& c = border.GetContour(i);
      EXPECT_TRUE(c.IsClosed());
      ExpectWellFormed(c, plane);
      areas.push_back(SignedArea(c));
      const double r = Radius(c.GetPoints().front(), 0, 0);
      for (const auto& p : c.GetPoints()) EXPECT_NEAR(Radius(p, 0, 0), r, 80);
      for (const auto& p : c.GetPoints()) EXPECT_EQ(p.data.IsVertex(), d == 0.0);
      if (d == 0.0) {
        EXPECT_EQ(c.GetNumPoints(), 64u);  // the equator's vertices, each once
      }
    }
    std::sort(areas.begin(), areas.end());
    const double polygon = 64 / 2.0 * std::sin(2 * std::numbers::pi / 64);  // area of a unit 64-gon
    EXPECT_NEAR(areas[0], -polygon * 7000.0 * 7000.0, 0.01 * 7000 * 7000);
    EXPECT_NEAR(areas[1], polygon * 13000.0 * 13000.0, 0.01 * 13000 * 13000);
  }
}

TEST(MNewSlicer, OpenMeshGivesOpenContoursEndingAtItsBoundary) {
  auto patch = MStlPrimitives::MakePlanePatch({-1, -1, 0}, {2, 0, 0}, {0, 2, 0}, 4, 4);
  const MMPlaneEq<double> plane(1, 0, 0, -100);  // x = 0.1 mm
  const Border border = Slice(patch.get(), plane);
  ASSERT_EQ(border.GetNumContours(), 1u);
  const Contour& c = border.GetContour(0);
  EXPECT_FALSE(c.IsClosed());
  ExpectWellFormed(c, plane);
  // Normal +x: u = y. The chain runs from one boundary edge (y = -+1 mm) to the other.
  const auto p = Points(c);
  EXPECT_EQ(std::fabs(p.front().x), 1000.0);
  EXPECT_EQ(p.back().x, -p.front().x);
  for (const auto& q : p) EXPECT_EQ(q.data.point.x, 100.0);
  // Four cells cut, each by its edge and its diagonal: 4 + 4 + 1 points.
  EXPECT_EQ(p.size(), 9u);
}

TEST(MNewSlicer, VerticesOnThePlaneAreMetOnceAndContoursStayClosed) {
  // A box with a ring of vertices at its middle height, cut there.
  MStlBuilder b;
  std::vector<float> xyz;
  for (float z : {-1.0f, 0.0f, 1.0f})
    for (auto [x, y] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}})
      xyz.insert(xyz.end(), {x, y, z});
  b.AddPoints(std::span<const float>(xyz));
  std::vector<std::uint32_t> corners = {0, 2, 1, 0, 3, 2, 8, 9, 10, 8, 10, 11};  // bottom, top
  for (std::uint32_t level = 0; level < 2; ++level)
    for (std::uint32_t i = 0; i < 4; ++i) {
      const std::uint32_t a = 4 * level + i, bb = 4 * level + (i + 1) % 4;
      corners.insert(corners.end(), {a, bb, bb + 4, a, bb + 4, a + 4});
    }
  b.AddSurface(corners);
  auto ringed = b.Build();
  for (double nz : {1.0, -1.0}) {
    const MMPlaneEq<double> plane(0, 0, nz, 0);
    const Border border = Slice(ringed.get(), plane);
    ASSERT_EQ(border.GetNumContours(), 1u);
    const Contour& c = border.GetContour(0);
    EXPECT_TRUE(c.IsClosed());
    ASSERT_EQ(c.GetNumPoints(), 4u);
    for (const auto& p : c.GetPoints()) EXPECT_TRUE(p.data.IsVertex());
    EXPECT_DOUBLE_EQ(SignedArea(c), 4e6);
    ExpectWellFormed(c, plane);
  }

  // A cube cut through two opposite vertical edges: four corners on the plane, and a face
  // diagonal lying in it.
  auto cube = MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1});
  const MMPlaneEq<double> diagonal(1, -1, 0, 0);
  const Border cut = Slice(cube.get(), diagonal);
  ASSERT_EQ(cut.GetNumContours(), 1u);
  EXPECT_TRUE(cut.GetContour(0).IsClosed());
  EXPECT_EQ(cut.GetContour(0).GetNumPoints(), 4u);
  EXPECT_NEAR(SignedArea(cut.GetContour(0)), 2000.0 * 2000.0 * std::sqrt(2.0), 1e-3);
  ExpectWellFormed(cut.GetContour(0), diagonal);
}

TEST(MNewSlicer, FaceLyingInThePlaneIsCutOnlyFromItsPositiveSide) {
  // Points on the plane count as positive: the top face at z = 1 mm is the section when
  // the rest of the box lies on the negative side, and nothing is cut when it lies on the
  // positive side.
  auto cube = MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1});
  const MMPlaneEq<double> below(0, 0, 1, -1000);
  const Border top = Slice(cube.get(), below);
  ASSERT_EQ(top.GetNumContours(), 1u);
  EXPECT_TRUE(top.GetContour(0).IsClosed());
  EXPECT_EQ(top.GetContour(0).GetNumPoints(), 4u);
  EXPECT_DOUBLE_EQ(SignedArea(top.GetContour(0)), 4e6);
  ExpectWellFormed(top.GetContour(0), below);
  EXPECT_EQ(Slice(cube.get(), MMPlaneEq<double>(0, 0, -1, 1000)).GetNumContours(), 0u);
}

TEST(MNewSlicer, TouchingAtOneVertexIsDroppedUnlessDegenerateContoursAreKept) {
  auto cube = MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1});
  // Only the corner (-1, -1, -1) mm is on the plane; the rest of the cube is negative.
  const MMPlaneEq<double> touching(-1, -1, -1, -3000);
  EXPECT_EQ(Slice(cube.get(), touching, false).GetNumContours(), 0u);
  const Border kept = Slice(cube.get(), touching, true);
  ASSERT_EQ(kept.GetNumContours(), 1u);
  ASSERT_EQ(kept.GetContour(0).GetNumPoints(), 1u);
  const auto& p = kept.GetContour(0).GetPoints().front();
  EXPECT_TRUE(p.data.IsVertex());
  EXPECT_EQ(p.data.point, MMPoint3d<double>(-1000, -1000, -1000));
}

TEST(MNewSlicer, NoMeshNoPlaneOrNoCrossingGivesAnEmptyBorder) {
  auto cube = MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1});
  MNewSlicer slicer;
  EXPECT_FALSE(slicer.Operate());  // nothing set at all
  slicer.SetSliceStl(cube.get());
  slicer.SetPlaneSliceMode({0, 0, 1, 0}, false);
  ASSERT_TRUE(slicer.Operate());

  // Each failure also clears the border of the slicing before.
  slicer.SetSliceStl(nullptr);
  EXPECT_FALSE(slicer.Operate());
  EXPECT_EQ(slicer.GetBorder().GetNumContours(), 0u);

  MStlBase empty;
  slicer.SetSliceStl(&empty);
  EXPECT_FALSE(slicer.Operate());

  slicer.SetSliceStl(cube.get());
  slicer.SetPlaneSliceMode({0, 0, 0, 0}, false);
  EXPECT_FALSE(slicer.Operate());
  slicer.SetPlaneSliceMode({0, 0, 1, std::nan("")}, false);
  EXPECT_FALSE(slicer.Operate());
  slicer.SetPlaneSliceMode({0, 0, 1, -5000}, false);  // above the cube
  EXPECT_FALSE(slicer.Operate());
  EXPECT_EQ(slicer.GetBorder().GetNumContours(), 0u);
}

TEST(MNewSlicer, ContoursComeInTraversalOrderAndRepeatIdentically) {
  // Two separate spheres in one mesh, the one at +5 mm first in the traversal.
  MStlBuilder b;
  auto addSphere = [&](float x) {
    auto s = MStlPrimitives::MakeUvSphere({x, 0, 0}, 2, 16, 8);
    std::vector<float> xyz;
    for (std::uint32_t i = 0; i < s->GetNumPoints(); ++i) {
      const MMPoint3d<float> p = s->GetPoint(i).ToScene();
      xyz.insert(xyz.end(), {p.x, p.y, p.z});
    }
    std::map<const MStlPoint*, std::uint32_t> index;
    for (std::uint32_t i = 0; i < s->GetNumPoints(); ++i) index[&s->GetPoint(i)] = i;
    const std::uint32_t first = b.AddPoints(std::span<const float>(xyz));
    std::vector<std::uint32_t> corners;
    ForEachTriangle(*s, [&](const MStlTriangle& t) {
      for (const MStlPoint* p : t.points) corners.push_back(first + index[p]);
    });
    b.AddSurface(corners);
  };
  addSphere(5);
  addSphere(-5);
  auto mesh = b.Build();
  const auto order = TraversalIndex(*mesh);
  const MMPlaneEq<double> plane = PlaneThrough({0.2, 0.1, 1}, {0, 0, 300});

  MNewSlicer slicer;
  slicer.SetSliceStl(mesh.get());
  slicer.SetPlaneSliceMode(plane, false);
  ASSERT_TRUE(slicer.Operate());
  const Border first = slicer.GetBorder();
  ASSERT_EQ(first.GetNumContours(), 2u);
  EXPECT_GT(first.GetContour(0).GetPoints().front().x, 0.0);  // the sphere at +5 mm
  std::size_t previous = 0;
  for (std::size_t i = 0; i < 2; ++i) {
    // A closed contour starts in the earliest triangle it crosses.
    const auto p = Points(first.GetContour(i));
    std::size_t earliest = order.at(p.front().data.triangle);
    for (const auto& q : p) EXPECT_LE(earliest, order.at(q.data.triangle));
    if (i > 0) {
      EXPECT_GT(earliest, previous);
    }
    previous = earliest;
  }

  ASSERT_TRUE(slicer.Operate());
  const Border& again = slicer.GetBorder();
  ASSERT_EQ(again.GetNumContours(), first.GetNumContours());
  for (std::size_t i = 0; i < 2; ++i) {
    const auto a = Points(first.GetContour(i)), c = Points(again.GetContour(i));
    ASSERT_EQ(a.size(), c.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
      EXPECT_EQ(a[k].x, c[k].x);
      EXPECT_EQ(a[k].y, c[k].y);
      EXPECT_EQ(a[k].data.triangle, c[k].data.triangle);
    }
  }
}

TEST(MNewSlicer, MeshAppendedInSeveralBlocksIsCutLikeOneBuiltAtOnce) {
  // Each append puts its points in a block of their own; the slicer must find every block.
  const MMPoint3d<float> centres[3] = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
  MStlBuilder all;
  std::unique_ptr<MStlBase> appended;
  for (const MMPoint3d<float>& c : centres) {
    MStlBuilder one;
    AddBox(one, c - MMPoint3d<float>(2, 2, 2), c + MMPoint3d<float>(2, 2, 2), false);
    AddBox(all, c - MMPoint3d<float>(2, 2, 2), c + MMPoint3d<float>(2, 2, 2), false);
    if (!appended)
      appended = one.Build();
    else
      one.AppendTo(*appended);
  }
  auto built = all.Build();
  const MMPlaneEq<double> plane = PlaneThrough({0.05, 0.02, 1}, {0, 0, 500});
  const Border a = Slice(built.get(), plane), b = Slice(appended.get(), plane);
  ASSERT_EQ(a.GetNumContours(), 3u);
  ASSERT_EQ(b.GetNumContours(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const auto pa = Points(a.GetContour(i)), pb = Points(b.GetContour(i));
    ASSERT_EQ(pa.size(), pb.size());
    for (std::size_t k = 0; k < pa.size(); ++k) {
      EXPECT_EQ(pa[k].x, pb[k].x);
      EXPECT_EQ(pa[k].y, pb[k].y);
    }
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
    const Border one = Slice(torus.get(), planes[i]);
    ASSERT_EQ(borders[i].GetNumContours(), one.GetNumContours());
    EXPECT_EQ(one.IsEmpty(), i == 4 || i == 9);
    for (std::size_t c = 0; c < one.GetNumContours(); ++c) {
      const auto a = Points(borders[i].GetContour(c)), b = Points(one.GetContour(c));
      ASSERT_EQ(a.size(), b.size());
      EXPECT_EQ(borders[i].GetContour(c).IsClosed(), one.GetContour(c).IsClosed());
      for (std::size_t k = 0; k < a.size(); ++k) {
        EXPECT_EQ(a[k].data.point, b[k].data.point);
        EXPECT_EQ(a[k].data.triangle, b[k].data.triangle);
      }
    }
  }
  MNewSlicer::SliceAll(nullptr, planes, false, borders);
  ASSERT_EQ(borders.size(), planes.size());
  for (const Border& b : borders) EXPECT_TRUE(b.IsEmpty());
}
