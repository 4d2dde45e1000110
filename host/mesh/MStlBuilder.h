#pragma once
#include "host/HostApi.h"
#include "host/framework/MMPoint3d.h"
#include "host/mesh/MStlLargeAllocator.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class MStlBase;

// Makes meshes from vertex arrays and triangle index arrays, and is the one way to edit
// them. Points are welded by index: triangles that share a point give the same index.
//
//   MStlBuilder b;
//   b.AddPoints(xyz);                        // scene units, x y z per point
//   auto lid = b.AddFeature();               // a sub-feature of the root
//   b.AddSurface(bodyIndices);               // a surface of the root feature
//   b.AddSurface(lidIndices, lid);
//   std::unique_ptr<MStlBase> mesh = b.Build();
//
// Bad input (non-finite or out-of-range coordinates, index arrays that are not whole
// triangles, indices past the points, unknown features) throws std::invalid_argument at
// the call that brings it, naming the point or triangle; nothing is added then.
class VISTAL_HOST_API MStlBuilder {
public:
  using FeatureId = unsigned;
  static constexpr FeatureId kRootFeature = 0;

  MStlBuilder();
  MStlBuilder(const MStlBuilder&);
  MStlBuilder& operator=(const MStlBuilder&);
  MStlBuilder(MStlBuilder&&) noexcept;
  MStlBuilder& operator=(MStlBuilder&&) noexcept;
  ~MStlBuilder();

  // Each returns the index of its first point. Scene coordinates become integer units
  // (times IE, rounded to nearest); they must be finite and land inside the int32 range.
  std::uint32_t AddPoint(const MMPoint3d<float>& scene);
  std::uint32_t AddPoints(std::span<const float> xyz);
  std::uint32_t AddPoints(std::span<const double> xyz);
  std::uint32_t AddPointsInUnits(std::span<const std::int32_t> xyz);
  // As AddPointsInUnits, taking the array over when the builder has no points yet: big
  // inputs (the STL reader's) are then not copied.
  std::uint32_t AdoptPointsInUnits(MStlLargeVector<std::int32_t>&& xyz);
  std::uint32_t GetNumPoints() const { return static_cast<std::uint32_t>(m_points.size() / 3); }

  // A new sub-feature, last among the parent's sub-features.
  FeatureId AddFeature(FeatureId parent = kRootFeature);

  // A new surface, last among the feature's surfaces: three point indices per triangle,
  // counter-clockwise seen from outside. Returns the surface's number in this builder.
  unsigned AddSurface(std::span<const std::uint32_t> corners, FeatureId feature = kRootFeature);
  // As AddSurface, taking the index array over.
  unsigned AdoptSurface(MStlLargeVector<std::uint32_t>&& corners, FeatureId feature = kRootFeature);

  // A new mesh with everything added so far. The builder keeps its contents.
  std::unique_ptr<MStlBase> Build() const;

  // Adds everything to an existing mesh: the points after the mesh's own (indices given
  // here refer to this builder's points), the root's surfaces after the mesh root's
  // surfaces, the root's sub-features after the mesh root's sub-features. The mesh's
  // caches go stale. On failure (out of memory) the mesh is unchanged.
  void AppendTo(MStlBase& mesh) const;

  // Moves every point of the mesh to a new place: x y z in integer units per point, in
  // point order, as many as the mesh has points (else std::invalid_argument, and nothing
  // moves). The triangles' normals follow and the mesh's caches go stale.
  static void MovePointsInUnits(MStlBase& mesh, std::span<const std::int32_t> xyz);

  // Turns every triangle of the mesh over: its winding runs the other way (the second and
  // third corners trade places) and its normal points the other way. The mesh's caches
  // go stale.
  static void ReverseWinding(MStlBase& mesh);

  void Clear();

private:
  struct Surface {
    MStlLargeVector<std::uint32_t> corners;
  };
  struct Feature {
    std::vector<unsigned> surfaces;
    std::vector<FeatureId> features;
  };

  MStlLargeVector<std::int32_t> m_points;  // x y z per point, integer units
  std::vector<Surface> m_surfaces;
  std::vector<Feature> m_features;  // [0] is the root
};
