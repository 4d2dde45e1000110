#include "host/mesh/MStlOrientation.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlTraversal.h"
#include "host/mesh/MStlUnits.h"

#include <algorithm>
#include <cstdint>
#include <vector>

bool IsClosedMesh(const MStlBase& mesh) {
  // Every triangle gives each of its points one edge out and one edge in, so a point has
  // as many of each as it has triangles. The mesh is closed when, at every point, the
  // points its edges lead to are distinct and are the points its edges come from: each
  // edge u-v then runs once from u to v and once back.
  const std::uint32_t numPoints = mesh.GetNumPoints();
  std::vector<std::uint32_t> start(std::size_t(numPoints) + 1, 0);
  std::size_t numEdges = 0;
  auto corners = [](const MStlTriangle& t, std::uint32_t (&p)[3]) {
    for (int k = 0; k < 3; ++k) p[k] = t.points[k]->GetMaskIndex();  // the point's number
    return p[0] != p[1] && p[1] != p[2] && p[2] != p[0];
  };
  ForEachTriangle(mesh, [&](const MStlTriangle& t) {
    std::uint32_t p[3];
    if (!corners(t, p)) return;
    for (std::uint32_t q : p) ++start[q + 1];
    numEdges += 3;
  });
  if (numEdges == 0) return false;
  for (std::uint32_t i = 0; i < numPoints; ++i) start[i + 1] += start[i];

  std::vector<std::uint32_t> to(numEdges), from(numEdges);
  std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
  ForEachTriangle(mesh, [&](const MStlTriangle& t) {
    std::uint32_t p[3];
    if (!corners(t, p)) return;
    for (int k = 0; k < 3; ++k) {
      const std::uint32_t at = next[p[k]]++;
      to[at] = p[(k + 1) % 3];
      from[at] = p[(k + 2) % 3];
    }
  });
  for (std::uint32_t i = 0; i < numPoints; ++i) {
    const auto outBegin = to.begin() + start[i], outEnd = to.begin() + start[i + 1];
    const auto inBegin = from.begin() + start[i], inEnd = from.begin() + start[i + 1];
    std::sort(outBegin, outEnd);
    std::sort(inBegin, inEnd);
    if (std::adjacent_find(outBegin, outEnd) != outEnd || !std::equal(outBegin, outEnd, inBegin)) return false;
  }
  return true;
}

double SignedVolume(const MStlBase& mesh) {
  // The sum of the tetrahedra from a fixed point to each triangle. The point is the box
  // centre, which keeps the products small and so the rounding error.
  const MStlIntegerBox box = mesh.GetBoundingBoxInUnits();
  if (box.empty) return 0.0;
  const double cx = (double(box.min.x) + box.max.x) / 2, cy = (double(box.min.y) + box.max.y) / 2,
               cz = (double(box.min.z) + box.max.z) / 2;
  double sixTimes = 0.0;
  ForEachTriangle(mesh, [&](const MStlTriangle& t) {
    const MStlPoint &a = *t.points[0], &b = *t.points[1], &c = *t.points[2];
    const double ax = a.x - cx, ay = a.y - cy, az = a.z - cz;
    const double bx = b.x - cx, by = b.y - cy, bz = b.z - cz;
    const double qx = c.x - cx, qy = c.y - cy, qz = c.z - cz;
    sixTimes += ax * (by * qz - bz * qy) + ay * (bz * qx - bx * qz) + az * (bx * qy - by * qx);
  });
  const double unitsPerScene = static_cast<double>(IE);
  return sixTimes / 6.0 / (unitsPerScene * unitsPerScene * unitsPerScene);
}

bool OrientOutward(MStlBase& mesh) {
  // The volume first: it is cheap, and a mesh that faces outward needs nothing else.
  if (!(SignedVolume(mesh) < 0.0) || !IsClosedMesh(mesh)) return false;
  MStlBuilder::ReverseWinding(mesh);
  return true;
}
