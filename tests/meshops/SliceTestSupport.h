#pragma once
// Helpers shared by the slicer and cut-face tests.
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlPoint.h"
#include "host/mesh/MStlTraversal.h"
#include "host/mesh/MStlTriangle.h"
#include "host/meshops/MNewSlicer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace slice_test {

using Contour = MNewSlicer::Contour;
using Border = MNewSlicer::Border;

inline std::vector<M3dBorderPoint<double, MStlSlicerBase::MSlicePointData>> Points(const Contour& c) {
  return {c.GetPoints().begin(), c.GetPoints().end()};
}

// Shoelace area of a closed contour in its plane coordinates (integer units squared).
inline double SignedArea(const Contour& c) {
  const auto p = Points(c);
  double twice = 0.0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const auto& a = p[i];
    const auto& b = p[(i + 1) % p.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return twice / 2.0;
}

inline bool HasCorner(const MStlTriangle& t, const MStlPoint* p) {
  return t.points[0] == p || t.points[1] == p || t.points[2] == p;
}

// Every point sits on the edge it names, which belongs to its triangle, the triangle also
// holds the next point's edge (segments are linked through shared edges), no point repeats
// its successor, and the plane coordinates are the 3D point's projection.
inline void ExpectWellFormed(const Contour& c, const MMPlaneEq<double>& plane) {
  MMPoint3d<double> u, v;
  ASSERT_TRUE(MNewSlicer::MakePlaneBasis(plane.Normal(), u, v));
  const double scale = plane.Normal().Length();
  const auto p = Points(c);
  const std::size_t links = c.IsClosed() ? p.size() : p.size() - 1;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const auto& d = p[i].data;
    SCOPED_TRACE(testing::Message() << "point " << i);
    ASSERT_NE(d.edge[0], nullptr);
    ASSERT_NE(d.edge[1], nullptr);
    ASSERT_NE(d.triangle, nullptr);
    EXPECT_TRUE(HasCorner(*d.triangle, d.edge[0]) && HasCorner(*d.triangle, d.edge[1]));
    EXPECT_NEAR(plane.Evaluate(d.point) / scale, 0.0, 1e-6);
    EXPECT_GE(plane.Evaluate(MMPoint3d<double>(d.edge[0]->x, d.edge[0]->y, d.edge[0]->z)), 0.0);
    if (d.IsVertex()) {
      EXPECT_EQ(d.point, MMPoint3d<double>(d.edge[0]->x, d.edge[0]->y, d.edge[0]->z));
    } else {
      EXPECT_LT(plane.Evaluate(MMPoint3d<double>(d.edge[1]->x, d.edge[1]->y, d.edge[1]->z)), 0.0);
    }
    EXPECT_NEAR(p[i].x, d.point.Dot(u), 1e-6);
    EXPECT_NEAR(p[i].y, d.point.Dot(v), 1e-6);
    if (i < links) {
      const auto& next = p[(i + 1) % p.size()].data;
      EXPECT_TRUE(HasCorner(*d.triangle, next.edge[0]) && HasCorner(*d.triangle, next.edge[1]));
      EXPECT_FALSE(next.point == d.point) << "repeated point";
    }
  }
}

inline MMPlaneEq<double> PlaneThrough(const MMPoint3d<double>& normal, const MMPoint3d<double>& pointInUnits) {
  return {normal.x, normal.y, normal.z, -normal.Dot(pointInUnits)};
}

// An axis-aligned box in scene units, wound outwards, or inwards to make a cavity; open at
// the top (z = max), it is a cup.
inline void AddBox(MStlBuilder& b, const MMPoint3d<float>& min, const MMPoint3d<float>& max, bool inwards,
                   bool top = true) {
  std::vector<float> xyz;
  for (int i = 0; i < 8; ++i)
    xyz.insert(xyz.end(), {(i & 1) ? max.x : min.x, (i & 2) ? max.y : min.y, (i & 4) ? max.z : min.z});
  const std::uint32_t first = b.AddPoints(std::span<const float>(xyz));
  static constexpr std::uint32_t kQuads[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                                 {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
  std::vector<std::uint32_t> corners;
  for (const auto& q : std::span(kQuads).first(top ? 6 : 5)) {
    const std::uint32_t a = first + q[0], bb = first + q[1], c = first + q[2], d = first + q[3];
    if (inwards)
      corners.insert(corners.end(), {a, c, bb, a, d, c});
    else
      corners.insert(corners.end(), {a, bb, c, a, c, d});
  }
  b.AddSurface(corners);
}

// Position of each triangle in the mesh traversal.
inline std::map<const MStlTriangle*, std::size_t> TraversalIndex(const MStlBase& mesh) {
  std::map<const MStlTriangle*, std::size_t> index;
  ForEachTriangle(mesh, [&](const MStlTriangle& t) { index.emplace(&t, index.size()); });
  return index;
}

}  // namespace slice_test
