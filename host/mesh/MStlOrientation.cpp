#include "host/mesh/MStlOrientation.h"

#include "host/mesh/Implementation/Orientation.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlTraversal.h"
#include "host/mesh/MStlUnits.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace stl_detail {

double SixTimesSignedVolume(std::span<const std::int32_t> xyz, std::span<const std::uint32_t> corners) {
  if (xyz.empty()) return 0.0;
  // The tetrahedra from a point of the mesh to each triangle: coordinates relative to it
  // stay as small as the mesh, and so does the rounding error.
  const double rx = xyz[0], ry = xyz[1], rz = xyz[2];
  double sum = 0.0;
  for (std::size_t i = 0; i + 3 <= corners.size(); i += 3) {
    const std::int32_t* a = &xyz[3 * std::size_t(corners[i])];
    const std::int32_t* b = &xyz[3 * std::size_t(corners[i + 1])];
    const std::int32_t* c = &xyz[3 * std::size_t(corners[i + 2])];
    const double ax = a[0] - rx, ay = a[1] - ry, az = a[2] - rz;
    const double bx = b[0] - rx, by = b[1] - ry, bz = b[2] - rz;
    const double cx = c[0] - rx, cy = c[1] - ry, cz = c[2] - rz;
    sum += ax * (by * cz - bz * cy) + ay * (bz * cx - bx * cz) + az * (bx * cy - by * cx);
  }
  return sum;
}

bool IsClosed(std::uint32_t numPoints, std::span<const std::uint32_t> corners) {
  // Every triangle gives each of its points one edge out and one edge in, so a point has
  // as many of each as it has triangles. The mesh is closed when, at every point, the
  // points its edges lead to are distinct and are the points its edges come from: each
  // edge u-v then runs once from u to v and once back.
  auto proper = [&](std::size_t i) {
    return corners[i] != corners[i + 1] && corners[i + 1] != corners[i + 2] && corners[i + 2] != corners[i];
  };
  std::vector<std::uint32_t> start(std::size_t(numPoints) + 1, 0);
  std::size_t numEdges = 0;
  for (std::size_t i = 0; i + 3 <= corners.size(); i += 3) {
    if (!proper(i)) continue;  // no area, no edges
    for (int k = 0; k < 3; ++k) ++start[corners[i + k] + 1];
    numEdges += 3;
  }
  if (numEdges == 0) return false;
  for (std::uint32_t p = 0; p < numPoints; ++p) start[p + 1] += start[p];

  std::vector<std::uint32_t> to(numEdges), from(numEdges);
  std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
  for (std::size_t i = 0; i + 3 <= corners.size(); i += 3) {
    if (!proper(i)) continue;
    for (int k = 0; k < 3; ++k) {
      const std::uint32_t at = next[corners[i + k]]++;
      to[at] = corners[i + (k + 1) % 3];
      from[at] = corners[i + (k + 2) % 3];
    }
  }
  for (std::uint32_t p = 0; p < numPoints; ++p) {
    const auto outBegin = to.begin() + start[p], outEnd = to.begin() + start[p + 1];
    const auto inBegin = from.begin() + start[p], inEnd = from.begin() + start[p + 1];
    std::sort(outBegin, outEnd);
    std::sort(inBegin, inEnd);
    if (std::adjacent_find(outBegin, outEnd) != outEnd || !std::equal(outBegin, outEnd, inBegin)) return false;
  }
  return true;
}

bool OrientOutward(std::span<const std::int32_t> xyz, std::span<std::uint32_t> corners) {
  // The volume first: it is cheap, and a mesh that faces outward needs nothing else.
  if (!(SixTimesSignedVolume(xyz, corners) < 0.0) || !IsClosed(std::uint32_t(xyz.size() / 3), corners)) return false;
  for (std::size_t i = 0; i + 3 <= corners.size(); i += 3) std::swap(corners[i + 1], corners[i + 2]);
  return true;
}

}  // namespace stl_detail

namespace {

// The mesh's points, x y z each, and its triangles as point numbers, in traversal order.
struct Arrays {
  std::vector<std::int32_t> xyz;
  std::vector<std::uint32_t> corners;
};

Arrays ArraysOf(const MStlBase& mesh) {
  Arrays a;
  a.xyz.reserve(std::size_t(mesh.GetNumPoints()) * 3);
  for (std::uint32_t i = 0; i < mesh.GetNumPoints(); ++i) {
    const MStlPoint& p = mesh.GetPoint(i);
    a.xyz.insert(a.xyz.end(), {p.x, p.y, p.z});
  }
  a.corners.reserve(std::size_t(mesh.GetNumTriangles()) * 3);
  ForEachTriangle(mesh, [&](const MStlTriangle& t) {
    for (const MStlPoint* p : t.points) a.corners.push_back(p->GetMaskIndex());  // the point's number
  });
  return a;
}

}  // namespace

bool IsClosedMesh(const MStlBase& mesh) {
  const Arrays a = ArraysOf(mesh);
  return stl_detail::IsClosed(mesh.GetNumPoints(), a.corners);
}

double SignedVolume(const MStlBase& mesh) {
  const Arrays a = ArraysOf(mesh);
  const double unitsPerScene = static_cast<double>(IE);
  return stl_detail::SixTimesSignedVolume(a.xyz, a.corners) / 6.0 / (unitsPerScene * unitsPerScene * unitsPerScene);
}

bool OrientOutward(MStlBase& mesh) {
  Arrays a = ArraysOf(mesh);
  if (!stl_detail::OrientOutward(a.xyz, a.corners)) return false;
  MStlBuilder::ReverseWinding(mesh);
  return true;
}
