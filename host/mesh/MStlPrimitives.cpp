#include "host/mesh/MStlPrimitives.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

void Require(bool condition, const char* function, const char* what) {
  if (!condition) throw std::invalid_argument(std::string("MStlPrimitives::") + function + ": " + what);
}

bool IsFinite(const MMPoint3d<float>& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// Points are limited by the mesh's 32-bit numbering; keep well inside it.
void RequireCount(std::uint64_t triangles, const char* function) {
  Require(triangles <= std::numeric_limits<std::int32_t>::max(), function, "too many triangles for one mesh");
}

// Grid quads: corner (i, j) is point index(i, j); both triangles keep the quad's winding.
template <typename Index>
void AddQuads(MStlLargeVector<std::uint32_t>& corners, unsigned ni, unsigned nj, Index index) {
  for (unsigned i = 0; i < ni; ++i)
    for (unsigned j = 0; j < nj; ++j) {
      const std::uint32_t a = index(i, j), b = index(i + 1, j), c = index(i + 1, j + 1), d = index(i, j + 1);
      corners.insert(corners.end(), {a, b, c, a, c, d});
    }
}

std::unique_ptr<MStlBase> BuildSurface(const std::vector<double>& xyz, MStlLargeVector<std::uint32_t>&& corners) {
  MStlBuilder builder;
  builder.AddPoints(std::span<const double>(xyz));
  builder.AdoptSurface(std::move(corners));
  return builder.Build();
}

}  // namespace

std::unique_ptr<MStlBase> MStlPrimitives::MakeBox(const MMPoint3d<float>& min, const MMPoint3d<float>& max) {
  Require(IsFinite(min) && IsFinite(max), "MakeBox", "corners must be finite");
  Require(min.x < max.x && min.y < max.y && min.z < max.z, "MakeBox", "min must be below max on every axis");
  std::vector<double> xyz;
  // Corner i takes max.x where bit 0 is set, max.y for bit 1, max.z for bit 2.
  for (int i = 0; i < 8; ++i)
    xyz.insert(xyz.end(), {(i & 1) ? max.x : min.x, (i & 2) ? max.y : min.y, (i & 4) ? max.z : min.z});
  // Faces -x, +x, -y, +y, -z, +z, each a counter-clockwise quad seen from outside.
  static constexpr std::uint32_t kQuads[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                                 {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
  MStlLargeVector<std::uint32_t> corners;
  for (const auto& q : kQuads) corners.insert(corners.end(), {q[0], q[1], q[2], q[0], q[2], q[3]});
  return BuildSurface(xyz, std::move(corners));
}

std::unique_ptr<MStlBase> MStlPrimitives::MakeUvSphere(const MMPoint3d<float>& centre, float radius,
                                                       unsigned slices, unsigned stacks) {
  Require(std::isfinite(radius) && radius > 0.0f, "MakeUvSphere", "radius must be positive and finite");
  return MakeEllipsoid(centre, {radius, radius, radius}, slices, stacks);
}

std::unique_ptr<MStlBase> MStlPrimitives::MakeEllipsoid(const MMPoint3d<float>& centre,
                                                        const MMPoint3d<float>& radii, unsigned slices,
                                                        unsigned stacks) {
  Require(IsFinite(centre) && IsFinite(radii), "MakeEllipsoid", "centre and radii must be finite");
  Require(radii.x > 0.0f && radii.y > 0.0f && radii.z > 0.0f, "MakeEllipsoid", "radii must be positive");
  Require(slices >= 3 && stacks >= 2, "MakeEllipsoid", "needs at least 3 slices and 2 stacks");
  RequireCount(2ull * slices * (stacks - 1), "MakeEllipsoid");

  // North pole, then stacks - 1 rings from north to south, then the south pole.
  const unsigned rings = stacks - 1;
  std::vector<double> xyz;
  xyz.reserve(3 * (2 + std::size_t(slices) * rings));
  xyz.insert(xyz.end(), {centre.x, centre.y, double(centre.z) + radii.z});
  for (unsigned r = 1; r <= rings; ++r) {
    const double theta = std::numbers::pi * r / stacks;
    for (unsigned s = 0; s < slices; ++s) {
      const double phi = 2.0 * std::numbers::pi * s / slices;
      xyz.insert(xyz.end(), {centre.x + radii.x * std::sin(theta) * std::cos(phi),
                             centre.y + radii.y * std::sin(theta) * std::sin(phi),
                             centre.z + radii.z * std::cos(theta)});
    }
  }
  xyz.insert(xyz.end(), {centre.x, centre.y, double(centre.z) - radii.z});
  const std::uint32_t south = 1 + slices * rings;

  auto ring = [&](unsigned r, unsigned s) { return 1 + (r - 1) * slices + s % slices; };
  MStlLargeVector<std::uint32_t> corners;
  corners.reserve(6 * std::size_t(slices) * rings);
  for (unsigned s = 0; s < slices; ++s) corners.insert(corners.end(), {0, ring(1, s), ring(1, s + 1)});
  // Rows run southwards, columns eastwards: (ring, slice) quads wind outwards.
  AddQuads(corners, rings - 1, slices, [&](unsigned i, unsigned j) { return ring(1 + i, j); });
  for (unsigned s = 0; s < slices; ++s) corners.insert(corners.end(), {south, ring(rings, s + 1), ring(rings, s)});
  return BuildSurface(xyz, std::move(corners));
}

std::unique_ptr<MStlBase> MStlPrimitives::MakeTorus(const MMPoint3d<float>& centre, float majorRadius,
                                                    float minorRadius, unsigned segments, unsigned sides) {
  Require(IsFinite(centre) && std::isfinite(majorRadius) && std::isfinite(minorRadius), "MakeTorus",
          "centre and radii must be finite");
  Require(minorRadius > 0.0f && majorRadius > minorRadius, "MakeTorus",
          "needs 0 < minor radius < major radius");
  Require(segments >= 3 && sides >= 3, "MakeTorus", "needs at least 3 segments and 3 sides");
  RequireCount(2ull * segments * sides, "MakeTorus");

  std::vector<double> xyz;
  xyz.reserve(3 * std::size_t(segments) * sides);
  for (unsigned i = 0; i < segments; ++i) {
    const double u = 2.0 * std::numbers::pi * i / segments;
    for (unsigned j = 0; j < sides; ++j) {
      const double v = 2.0 * std::numbers::pi * j / sides;
      const double ring = majorRadius + minorRadius * std::cos(v);
      xyz.insert(xyz.end(),
                 {centre.x + ring * std::cos(u), centre.y + ring * std::sin(u), centre.z + minorRadius * std::sin(v)});
    }
  }
  MStlLargeVector<std::uint32_t> corners;
  corners.reserve(6 * std::size_t(segments) * sides);
  AddQuads(corners, segments, sides, [&](unsigned i, unsigned j) { return (i % segments) * sides + j % sides; });
  return BuildSurface(xyz, std::move(corners));
}

std::unique_ptr<MStlBase> MStlPrimitives::MakePlanePatch(const MMPoint3d<float>& origin, const MMPoint3d<float>& u,
                                                         const MMPoint3d<float>& v, unsigned nu, unsigned nv) {
  Require(IsFinite(origin) && IsFinite(u) && IsFinite(v), "MakePlanePatch", "origin and edges must be finite");
  const MMPoint3d<double> ud(u), vd(v);
  Require(ud.Cross(vd).SquaredLength() > 0.0, "MakePlanePatch", "edges u and v must span a plane");
  Require(nu >= 1 && nv >= 1, "MakePlanePatch", "needs at least one cell each way");
  RequireCount(2ull * nu * nv, "MakePlanePatch");

  std::vector<double> xyz;
  xyz.reserve(3 * (std::size_t(nu) + 1) * (nv + 1));
  for (unsigned i = 0; i <= nu; ++i)
    for (unsigned j = 0; j <= nv; ++j) {
      const double s = double(i) / nu, t = double(j) / nv;
      xyz.insert(xyz.end(), {origin.x + s * ud.x + t * vd.x, origin.y + s * ud.y + t * vd.y,
                             origin.z + s * ud.z + t * vd.z});
    }
  MStlLargeVector<std::uint32_t> corners;
  corners.reserve(6 * std::size_t(nu) * nv);
  AddQuads(corners, nu, nv, [&](unsigned i, unsigned j) { return i * (nv + 1) + j; });
  return BuildSurface(xyz, std::move(corners));
}
