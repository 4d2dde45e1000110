// Procedural meshes: closed ones must be watertight and wound outwards, because the
// slicer builds closed section contours from them.
#include "MeshTestSupport.h"

#include "host/mesh/MStlPrimitives.h"

#include <map>
#include <set>
#include <stdexcept>
#include <tuple>
#include <utility>

using mesh_test::TraversalOrder;

namespace {

struct EdgeCensus {
  std::size_t edges = 0;          // undirected
  std::size_t unpaired = 0;       // directed edges whose reverse is missing (open border)
  std::size_t faults = 0;         // directed edges used twice, or edges with more than two triangles
};

EdgeCensus CountEdges(const MStlBase& mesh) {
  std::map<std::pair<const MStlPoint*, const MStlPoint*>, int> directed;
  for (const MStlTriangle* t : TraversalOrder(mesh))
    for (int k = 0; k < 3; ++k) ++directed[{t->points[k], t->points[(k + 1) % 3]}];
  EdgeCensus c;
  for (const auto& [edge, n] : directed) {
    if (n != 1) ++c.faults;
    const auto reverse = directed.find({edge.second, edge.first});
    if (reverse == directed.end()) {
      ++c.unpaired;
      ++c.edges;
    } else if (edge.first < edge.second) {
      ++c.edges;
    }
  }
  return c;
}

// Every edge in exactly two triangles, run in opposite directions; V - E + F as expected;
// no two points at one place; normals pointing away from `centre`; positive volume.
void ExpectClosedAndOutward(const MStlBase& mesh, const MMPoint3d<float>& centre, long eulerCharacteristic) {
  const EdgeCensus census = CountEdges(mesh);
  EXPECT_EQ(census.faults, 0u);
  EXPECT_EQ(census.unpaired, 0u);
  EXPECT_EQ(long(mesh.GetNumPoints()) - long(census.edges) + long(mesh.GetNumTriangles()), eulerCharacteristic);

  std::set<std::tuple<int, int, int>> places;
  for (std::uint32_t i = 0; i < mesh.GetNumPoints(); ++i)
    places.insert({mesh.GetPoint(i).x, mesh.GetPoint(i).y, mesh.GetPoint(i).z});
  EXPECT_EQ(places.size(), mesh.GetNumPoints()) << "duplicate points (poles or seams)";

  double volume = 0;
  std::size_t inward = 0;
  for (const MStlTriangle* t : TraversalOrder(mesh)) {
    const MMPoint3d<double> a(t->points[0]->ToScene()), b(t->points[1]->ToScene()), c(t->points[2]->ToScene());
    volume += a.Dot(b.Cross(c)) / 6.0;
    const MMPoint3d<double> out = (a + b + c) * (1.0 / 3.0) - MMPoint3d<double>(centre);
    if (out.Dot({t->normal[0], t->normal[1], t->normal[2]}) <= 0) ++inward;
  }
  EXPECT_EQ(inward, 0u);
  EXPECT_GT(volume, 0.0);
}

}  // namespace

TEST(MeshPrimitives, BoxHasEightPointsTwelveTrianglesAndIsClosed) {
  const auto box = MStlPrimitives::MakeBox({-1, -2, -3}, {1, 2, 3});
  EXPECT_EQ(box->GetNumPoints(), 8u);
  EXPECT_EQ(box->GetNumTriangles(), 12u);
  ExpectClosedAndOutward(*box, {0, 0, 0}, 2);
  const MStlIntegerBox bounds = box->GetBoundingBoxInUnits();
  EXPECT_EQ(bounds.min.z, -3000);
  EXPECT_EQ(bounds.max.y, 2000);
}

TEST(MeshPrimitives, SpheresAndEllipsoidsAreClosedWithOnePointPerPole) {
  {
    SCOPED_TRACE("coarsest sphere");
    const auto s = MStlPrimitives::MakeUvSphere({0, 0, 0}, 1, 3, 2);
    EXPECT_EQ(s->GetNumPoints(), 5u);
    EXPECT_EQ(s->GetNumTriangles(), 6u);
    ExpectClosedAndOutward(*s, {0, 0, 0}, 2);
  }
  {
    SCOPED_TRACE("sphere");
    const auto s = MStlPrimitives::MakeUvSphere({10, 20, 30}, 5, 24, 12);
    EXPECT_EQ(s->GetNumPoints(), 2u + 24 * 11);
    EXPECT_EQ(s->GetNumTriangles(), 2u * 24 * 11);
    ExpectClosedAndOutward(*s, {10, 20, 30}, 2);
    EXPECT_FLOAT_EQ(s->GetBoundingBox().zmax, 35.0f);
  }
  {
    SCOPED_TRACE("ellipsoid");
    const auto e = MStlPrimitives::MakeEllipsoid({0, 0, 0}, {3, 2, 1}, 16, 8);  // even: a ring on the equator
    ExpectClosedAndOutward(*e, {0, 0, 0}, 2);
    EXPECT_FLOAT_EQ(e->GetBoundingBox().xmax, 3.0f);
  }
}

TEST(MeshPrimitives, TorusIsClosedWithGenusOne) {
  const auto t = MStlPrimitives::MakeTorus({0, 0, 0}, 10, 3, 32, 12);
  EXPECT_EQ(t->GetNumPoints(), 32u * 12);
  EXPECT_EQ(t->GetNumTriangles(), 2u * 32 * 12);
  const EdgeCensus census = CountEdges(*t);
  EXPECT_EQ(census.faults + census.unpaired, 0u);
  EXPECT_EQ(long(t->GetNumPoints()) - long(census.edges) + long(t->GetNumTriangles()), 0);
  // Normals point away from the tube's centre line, not from the torus centre.
  std::size_t inward = 0;
  for (const MStlTriangle* tri : TraversalOrder(*t)) {
    MMPoint3d<double> c = (MMPoint3d<double>(tri->points[0]->ToScene()) + MMPoint3d<double>(tri->points[1]->ToScene()) +
                           MMPoint3d<double>(tri->points[2]->ToScene())) * (1.0 / 3.0);
    const double r = std::hypot(c.x, c.y);
    const MMPoint3d<double> onLine(c.x * 10 / r, c.y * 10 / r, 0);
    if ((c - onLine).Dot({tri->normal[0], tri->normal[1], tri->normal[2]}) <= 0) ++inward;
  }
  EXPECT_EQ(inward, 0u);
}

TEST(MeshPrimitives, PlanePatchIsAnOpenGridFacingAlongUCrossV) {
  const auto p = MStlPrimitives::MakePlanePatch({0, 0, 5}, {0, 4, 0}, {0, 0, 3}, 4, 3);
  EXPECT_EQ(p->GetNumPoints(), 5u * 4);
  EXPECT_EQ(p->GetNumTriangles(), 24u);
  const EdgeCensus census = CountEdges(*p);
  EXPECT_EQ(census.faults, 0u);
  EXPECT_EQ(census.unpaired, 2u * (4 + 3)) << "only the rim is open";
  for (const MStlTriangle* t : TraversalOrder(*p)) EXPECT_FLOAT_EQ(t->normal[0], 1.0f);
}

TEST(MeshPrimitives, BadParametersAreRejected) {
  EXPECT_THROW(MStlPrimitives::MakeBox({0, 0, 0}, {1, 0, 1}), std::invalid_argument);
  EXPECT_THROW(MStlPrimitives::MakeBox({0, 0, 0}, {1, 1, std::nanf("")}), std::invalid_argument);
  EXPECT_THROW(MStlPrimitives::MakeUvSphere({0, 0, 0}, 0, 8, 8), std::invalid_argument);
  EXPECT_THROW(MStlPrimitives::MakeUvSphere({0, 0, 0}, 1, 2, 8), std::invalid_argument);
  EXPECT_THROW(MStlPrimitives::MakeUvSphere({0, 0, 0}, 1, 8, 1), std::invalid_argument);
  EXPECT_THROW(MStlPrimitives::MakeUvSphere({0, 0, 0}, 1, 100000, 100000), std::invalid_argument);
  EXPECT_THROW(MStlPrimitives::MakeUvSphere({0, 0, 0}, 1e9f, 8, 8), std::invalid_argument) << "beyond int32 units";
  EXPECT_THROW(MStlPrimitives::MakeEllipsoid({0, 0, 0}, {1, -1, 1}, 8, 8), std::invalid_argument);
  EXPECT_THROW(MStlPrimitives::MakeTorus({0, 0, 0}, 3, 3, 8, 8), std::invalid_argument);
  EXPECT_THROW(MStlPrimitives::MakeTorus({0, 0, 0}, 3, 1, 2, 8), std::invalid_argument);
  EXPECT_THROW(MStlPrimitives::MakePlanePatch({0, 0, 0}, {1, 0, 0}, {2, 0, 0}, 1, 1), std::invalid_argument);
  EXPECT_THROW(MStlPrimitives::MakePlanePatch({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0, 1), std::invalid_argument);
}
