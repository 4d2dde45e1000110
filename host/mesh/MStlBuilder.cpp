#include "host/mesh/MStlBuilder.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlUnits.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

constexpr std::uint64_t kMaxElements = std::numeric_limits<std::uint32_t>::max();

template <typename T>
MStlLargeVector<std::int32_t> ToUnits(std::span<const T> xyz, std::uint32_t firstPoint) {
  if (xyz.size() % 3 != 0)
    throw std::invalid_argument("MStlBuilder::AddPoints: 3 coordinates per point, got " +
                                std::to_string(xyz.size()));
  static constexpr char kAxis[] = {'x', 'y', 'z'};
  MStlLargeVector<std::int32_t> units(xyz.size());
  for (std::size_t i = 0; i < xyz.size(); ++i) {
    switch (MStlSceneToUnits(static_cast<double>(xyz[i]), units[i])) {
      case EStlUnitsResult::eOk:
        break;
      case EStlUnitsResult::eNotFinite:
        throw std::invalid_argument("MStlBuilder::AddPoints: point " + std::to_string(firstPoint + i / 3) +
                                    " has a NaN or infinite " + kAxis[i % 3] + " coordinate");
      case EStlUnitsResult::eOutOfRange:
        throw std::invalid_argument("MStlBuilder::AddPoints: point " + std::to_string(firstPoint + i / 3) +
                                    ": " + kAxis[i % 3] + " = " + std::to_string(double(xyz[i])) +
                                    " lies beyond the 32-bit integer range at " + std::to_string(IE) +
                                    " units per scene unit");
    }
  }
  return units;
}

// The unit normal of a counter-clockwise triangle; zero when it has no area.
void ComputeNormal(MStlTriangle& t) {
  const MStlPoint& a = *t.points[0];
  const MStlPoint& b = *t.points[1];
  const MStlPoint& c = *t.points[2];
  // Differences of int32 are exact in double, and so are their products for edges up
  // to 2^26 units (67 m), which keeps the zero test exact for real geometry.
  const double e1x = double(b.x) - a.x, e1y = double(b.y) - a.y, e1z = double(b.z) - a.z;
  const double e2x = double(c.x) - a.x, e2y = double(c.y) - a.y, e2z = double(c.z) - a.z;
  const double nx = e1y * e2z - e1z * e2y;
  const double ny = e1z * e2x - e1x * e2z;
  const double nz = e1x * e2y - e1y * e2x;
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (length > 0.0) {
    const double inverse = 1.0 / length;  // one division: a reader builds millions of normals
    t.normal[0] = float(nx * inverse);
    t.normal[1] = float(ny * inverse);
    t.normal[2] = float(nz * inverse);
  } else {
    t.normal[0] = t.normal[1] = t.normal[2] = 0.0f;
  }
}

}  // namespace

MStlBuilder::MStlBuilder() : m_features(1) {}
MStlBuilder::MStlBuilder(const MStlBuilder&) = default;
MStlBuilder& MStlBuilder::operator=(const MStlBuilder&) = default;
MStlBuilder::MStlBuilder(MStlBuilder&&) noexcept = default;
MStlBuilder& MStlBuilder::operator=(MStlBuilder&&) noexcept = default;
MStlBuilder::~MStlBuilder() = default;

void MStlBuilder::Clear() { *this = MStlBuilder(); }

std::uint32_t MStlBuilder::AddPoint(const MMPoint3d<float>& scene) {
  const float xyz[3] = {scene.x, scene.y, scene.z};
  return AddPoints(std::span<const float>(xyz));
}

std::uint32_t MStlBuilder::AddPoints(std::span<const float> xyz) {
  return AddPointsInUnits(ToUnits(xyz, GetNumPoints()));
}

std::uint32_t MStlBuilder::AddPoints(std::span<const double> xyz) {
  return AddPointsInUnits(ToUnits(xyz, GetNumPoints()));
}

std::uint32_t MStlBuilder::AddPointsInUnits(std::span<const std::int32_t> xyz) {
  if (xyz.size() % 3 != 0)
    throw std::invalid_argument("MStlBuilder::AddPointsInUnits: 3 coordinates per point, got " +
                                std::to_string(xyz.size()));
  if (GetNumPoints() + xyz.size() / 3 > kMaxElements)
    throw std::length_error("MStlBuilder::AddPoints: more points than a mesh can number");
  const std::uint32_t first = GetNumPoints();
  m_points.insert(m_points.end(), xyz.begin(), xyz.end());
  return first;
}

std::uint32_t MStlBuilder::AdoptPointsInUnits(MStlLargeVector<std::int32_t>&& xyz) {
  if (!m_points.empty() || xyz.size() % 3 != 0 || xyz.size() / 3 > kMaxElements)
    return AddPointsInUnits(std::span<const std::int32_t>(xyz));  // copies, or says what is wrong
  m_points = std::move(xyz);
  return 0;
}

MStlBuilder::FeatureId MStlBuilder::AddFeature(FeatureId parent) {
  if (parent >= m_features.size())
    throw std::invalid_argument("MStlBuilder::AddFeature: unknown parent feature " + std::to_string(parent));
  const FeatureId id = static_cast<FeatureId>(m_features.size());
  m_features.emplace_back();
  try {
    m_features[parent].features.push_back(id);
  } catch (...) {
    m_features.pop_back();
    throw;
  }
  return id;
}

unsigned MStlBuilder::AddSurface(std::span<const std::uint32_t> corners, FeatureId feature) {
  return AdoptSurface(MStlLargeVector<std::uint32_t>(corners.begin(), corners.end()), feature);
}

unsigned MStlBuilder::AdoptSurface(MStlLargeVector<std::uint32_t>&& corners, FeatureId feature) {
  if (feature >= m_features.size())
    throw std::invalid_argument("MStlBuilder::AddSurface: unknown feature " + std::to_string(feature));
  if (corners.size() % 3 != 0)
    throw std::invalid_argument("MStlBuilder::AddSurface: 3 point indices per triangle, got " +
                                std::to_string(corners.size()));
  const std::uint32_t numPoints = GetNumPoints();
  for (std::size_t i = 0; i < corners.size(); ++i) {
    if (corners[i] >= numPoints)
      throw std::invalid_argument("MStlBuilder::AddSurface: triangle " + std::to_string(i / 3) + ", corner " +
                                  std::to_string(i % 3) + " uses point " + std::to_string(corners[i]) +
                                  " but there are only " + std::to_string(numPoints) + " points");
  }
  const unsigned id = static_cast<unsigned>(m_surfaces.size());
  m_features[feature].surfaces.reserve(m_features[feature].surfaces.size() + 1);
  m_surfaces.push_back({std::move(corners)});
  m_features[feature].surfaces.push_back(id);  // reserved: cannot throw
  return id;
}

std::unique_ptr<MStlBase> MStlBuilder::Build() const {
  auto mesh = std::make_unique<MStlBase>();
  AppendTo(*mesh);
  return mesh;
}

void MStlBuilder::AppendTo(MStlBase& mesh) const {
  std::uint64_t numTriangles = 0;
  for (const Surface& s : m_surfaces) numTriangles += s.corners.size() / 3;
  const std::uint32_t numPoints = GetNumPoints();
  if (mesh.m_num_points + std::uint64_t(numPoints) > kMaxElements ||
      mesh.m_num_stored_triangles + numTriangles > kMaxElements ||
      mesh.m_surfaces.size() + m_surfaces.size() > kMaxElements)
    throw std::length_error("MStlBuilder::AppendTo: more elements than a mesh can number");

  // Everything that can fail happens first, into objects the mesh does not see yet;
  // the commit at the end only moves pointers. Element addresses are final from the
  // start: vectors are reserved before they are filled and blocks move without copying.
  MStlBase::Block block;
  block.points.reserve(numPoints);
  for (std::uint32_t i = 0; i < numPoints; ++i) {
    block.points.emplace_back(m_points[3 * i], m_points[3 * i + 1], m_points[3 * i + 2]);
    block.points.back().SetMaskIndex(mesh.m_num_points + i);
  }
  // Made as they are laid out, each written once: a million triangles are 64 MB.
  block.triangles.reserve(numTriangles);

  const bool needsRoot = !m_surfaces.empty() || m_features.size() > 1;
  std::unique_ptr<MStlFeature> newRoot;
  if (!mesh.m_root && needsRoot) newRoot.reset(new MStlFeature(nullptr, 0));
  MStlFeature* root = mesh.m_root ? mesh.m_root.get() : newRoot.get();

  std::vector<std::unique_ptr<MStlSurface>> surfaces;
  surfaces.reserve(m_surfaces.size());
  std::vector<MStlSurface*> rootSurfaces;                 // joins the mesh root at commit
  std::vector<std::unique_ptr<MStlFeature>> rootFeatures;  // likewise
  std::uint32_t nextTriangle = 0;

  auto laySurface = [&](unsigned id, MStlFeature* feature) {
    auto surface = std::make_unique<MStlSurface>();
    surface->mesh = &mesh;
    surface->feature = feature;
    surface->SetMaskIndex(static_cast<unsigned>(mesh.m_surfaces.size() + surfaces.size()));
    const MStlLargeVector<std::uint32_t>& corners = m_surfaces[id].corners;
    const std::uint32_t count = static_cast<std::uint32_t>(corners.size() / 3);
    surface->numTriangles = count;
    surface->first = count ? block.triangles.data() + nextTriangle : nullptr;
    for (std::uint32_t i = 0; i < count; ++i) {
      MStlTriangle& t = block.triangles.emplace_back();
      t.SetMaskIndex(mesh.m_num_stored_triangles + nextTriangle + i);
      for (int k = 0; k < 3; ++k) t.points[k] = &block.points[corners[3 * i + k]];
      ComputeNormal(t);
      t.surface = surface.get();
      t.next = i + 1 < count ? &t + 1 : nullptr;
    }
    nextTriangle += count;
    surfaces.push_back(std::move(surface));
    return surfaces.back().get();
  };

  // Depth first, surfaces before sub-features: memory order is traversal order.
  auto layFeature = [&](auto& self, FeatureId id, MStlFeature* feature) -> void {
    for (unsigned s : m_features[id].surfaces) feature->m_surfaces.push_back(laySurface(s, feature));
    for (FeatureId child : m_features[id].features) self(self, child, feature->AddFeature());
  };
  if (needsRoot) {
    for (unsigned s : m_features[kRootFeature].surfaces) rootSurfaces.push_back(laySurface(s, root));
    const unsigned firstIndex = static_cast<unsigned>(root->m_features.size());
    for (FeatureId child : m_features[kRootFeature].features) {
      rootFeatures.emplace_back(new MStlFeature(root, firstIndex + unsigned(rootFeatures.size())));
      layFeature(layFeature, child, rootFeatures.back().get());
    }
  }

  // Reserve what the commit appends to, then commit without anything that can throw.
  mesh.m_blocks.reserve(mesh.m_blocks.size() + 1);
  mesh.m_surfaces.reserve(mesh.m_surfaces.size() + surfaces.size());
  if (root) {
    root->m_surfaces.reserve(root->m_surfaces.size() + rootSurfaces.size());
    root->m_features.reserve(root->m_features.size() + rootFeatures.size());
  }

  // The masks grow before the commit so that a failure leaves mesh and masks as they were.
  mesh._ResizeMasks(mesh.m_num_points + numPoints, mesh.m_num_stored_triangles + static_cast<std::uint32_t>(numTriangles),
                    static_cast<std::uint32_t>(mesh.m_surfaces.size() + surfaces.size()));

  if (newRoot) mesh.m_root = std::move(newRoot);
  if (numPoints) mesh.m_blocks.push_back(std::move(block));  // triangles need points
  for (auto& s : surfaces) mesh.m_surfaces.push_back(std::move(s));
  if (root) {
    root->m_surfaces.insert(root->m_surfaces.end(), rootSurfaces.begin(), rootSurfaces.end());
    for (auto& f : rootFeatures) root->m_features.push_back(std::move(f));
  }
  mesh.m_num_points += numPoints;
  mesh.m_num_stored_triangles += static_cast<std::uint32_t>(numTriangles);
  mesh._MarkEdited();
}

void MStlBuilder::MovePointsInUnits(MStlBase& mesh, std::span<const std::int32_t> xyz) {
  if (xyz.size() != std::size_t(mesh.m_num_points) * 3)
    throw std::invalid_argument("MStlBuilder::MovePointsInUnits: the mesh has " + std::to_string(mesh.m_num_points) +
                                " points, got " + std::to_string(xyz.size()) + " coordinates");
  std::size_t i = 0;
  for (MStlBase::Block& b : mesh.m_blocks)
    for (MStlPoint& p : b.points) {
      p.x = xyz[i];
      p.y = xyz[i + 1];
      p.z = xyz[i + 2];
      i += 3;
    }
  for (MStlBase::Block& b : mesh.m_blocks)
    for (MStlTriangle& t : b.triangles) ComputeNormal(t);
  mesh._MarkEdited();
}

void MStlBuilder::ReverseWinding(MStlBase& mesh) {
  for (MStlBase::Block& b : mesh.m_blocks)
    for (MStlTriangle& t : b.triangles) {
      std::swap(t.points[1], t.points[2]);
      for (float& n : t.normal) n = -n;
    }
  mesh._MarkEdited();
}
