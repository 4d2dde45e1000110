#pragma once
#include "host/HostApi.h"
#include "host/framework/M3DBoundingBox.h"
#include "host/framework/MMPoint3d.h"
#include "host/mesh/IDataMaskOwner.h"
#include "host/mesh/MDataMaskIndex.h"
#include "host/mesh/MStlBaseProperties.h"
#include "host/mesh/MStlCompactTriangleArray.h"
#include "host/mesh/MStlFeature.h"
#include "host/mesh/MStlLargeAllocator.h"
#include "host/mesh/MStlPoint.h"
#include "host/mesh/MStlSurface.h"
#include "host/mesh/MStlTriangle.h"
#include "host/mesh/MValidityField.h"

#include <cstdint>
#include <memory>
#include <vector>

class MStlTextureFactory;

// The box of a mesh's points in integer units.
struct MStlIntegerBox {
  MMPoint3d<std::int32_t> min, max;
  bool empty = true;  // the mesh has no points; min and max mean nothing
};

// A triangle mesh: integer points, triangles grouped into surfaces, surfaces arranged in a
// tree of features, and textures. Meshes are made by MStlBuilder (and the reader and
// primitives built on it) and edited only through it.
//
// Storage: points and triangles sit in blocks that are sized once and never grown, so
// element addresses stay valid for the mesh's life; a build fills one block, each append
// adds one. Within a block, triangles lie in traversal order, so a pass over a freshly
// built mesh reads its triangles front to back.
//
// A mesh owns the data masks of its points, triangles and surfaces: a registered mask
// holds one slot per element of its kind (an element's slot is its position, see
// MDataMaskIndex) and grows as elements are appended; masks must die before their mesh.
// The mesh itself carries a slot for owners that number meshes.
class VISTAL_HOST_API MStlBase : public IDataMaskOwner, public MDataMaskIndex {
public:
  // An empty mesh: no root feature, hence no triangles.
  MStlBase();
  // Elements point at each other and at the mesh: a mesh neither copies nor moves.
  MStlBase(const MStlBase&) = delete;
  MStlBase& operator=(const MStlBase&) = delete;
  virtual ~MStlBase();

  // Null for a mesh that has never had a surface or feature.
  const MStlFeature* GetRootFeature() const { return m_root.get(); }

  std::uint32_t GetNumPoints() const { return m_num_points; }
  // Points are numbered in the order they were added; std::out_of_range past the end.
  const MStlPoint& GetPoint(std::uint32_t i) const;

  // Every surface of the mesh, in the order they were made (the features list them too).
  std::uint32_t GetNumSurfaces() const { return static_cast<std::uint32_t>(m_surfaces.size()); }
  const MStlSurface* GetSurface(std::uint32_t i) const { return m_surfaces[i].get(); }

  // The number of triangles that ForEachTriangle visits.
  std::uint32_t GetNumTriangles() const;
  const MStlBaseProperties& GetProperties() const { return m_properties; }

  // Built on first use after each edit.
  const MStlCompactTriangleArray& GetCompactTriangleArray() const;

  // The box of all points, in integer and in scene units; the scene box is the empty box
  // for a mesh without points.
  MStlIntegerBox GetBoundingBoxInUnits() const;
  M3DBoundingBox<float> GetBoundingBox() const;

  // The mesh's textures. With create false, null until somebody has created them.
  MStlTextureFactory* GetTextureFactory(const bool& create);
  const MStlTextureFactory* GetTextureFactory() const { return m_texture_factory.get(); }

  // Mesh-level staleness: marked by every edit, delivered to the caches that depend on
  // it by _SpreadInvalidity().
  const MValidityField& GetValidity() const { return m_validity; }
  void _SpreadInvalidity() const;

  // Takes on masks of points, triangles and surfaces, sized to the element count at once;
  // refuses (false) other masks. Registering a mask twice keeps one entry.
  bool RegisterMask(IDataMask* mask) override;
  void UnregisterMask(const IDataMask* mask) override;

private:
  friend class MStlBuilder;

  struct Block {
    MStlLargeVector<MStlPoint> points;
    MStlLargeVector<MStlTriangle> triangles;
  };

  void _MarkEdited();

  struct RegisteredMask {
    const IDataMask* mask;
    IDataMaskElements* elements;
  };
  std::uint32_t _GetNumElements(IDataMaskElements::EElementKind kind) const;
  // Brings every registered mask to the given counts, all or none: when a mask cannot
  // grow (out of memory), every mask goes back to the current counts and the error passes on.
  void _ResizeMasks(std::uint32_t numPoints, std::uint32_t numTriangles, std::uint32_t numSurfaces);

  // Declared first so that it outlives every field that depends on it.
  MValidityField m_validity;
  std::vector<Block> m_blocks;
  std::uint32_t m_num_points = 0;
  std::uint32_t m_num_stored_triangles = 0;
  std::vector<std::unique_ptr<MStlSurface>> m_surfaces;
  std::unique_ptr<MStlFeature> m_root;
  MStlBaseProperties m_properties;

  MValidityField m_compact_validity;
  mutable MStlCompactTriangleArray m_compact;
  MValidityField m_box_validity;
  mutable MStlIntegerBox m_box;

  std::unique_ptr<MStlTextureFactory> m_texture_factory;

  // Per kind: points, triangles, surfaces.
  std::vector<RegisteredMask> m_masks[3];
};
