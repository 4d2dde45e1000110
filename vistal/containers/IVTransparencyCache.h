#pragma once
// Draws the transparent meshes of a 3D view back to front. During a frame the host adds
// every transparent mesh with the eye point and viewing direction in that mesh's own
// coordinates, while the renderer holds the state the mesh is to be drawn with; after
// the opaque geometry one call sorts the triangles of all those meshes together and
// streams them, farthest first, switching render states between meshes.
//
// The triangle table and its order survive from frame to frame while the sequence of
// meshes is unchanged, and a re-sort is skipped while the view has turned by less than
// the skip-sort tolerance; the vertices made from the sorted table are kept with it. The
// table points at the meshes' triangles: an owner that edits a mesh (its triangles or
// its points) calls Clear before the next render.
#include "host/render/IVRender.h"
#include "vistal/Api.h"

#include <cstdint>
#include <memory>
#include <vector>

class MStlBase;
class MStlTriangle;
class IVVertexContainerTransparency;

class VISTAL_API IVTransparencyCache {
public:
  struct TStlReference {
    MStlBase* stl;
    IVRender::Memento memento;
    float eye[3];
    float direction[3];  // unit length unless near zero
  };

  struct IVVBTranspTriangle {
    const MStlTriangle* triangle;
    float depth;  // distance of the triangle's centre from the eye along the view
    // Index in `references` of the first reference to the triangle's mesh. It fills
    // what would be padding and spares the hot loops the walk to the surface.
    std::uint32_t owner;
  };

  explicit IVTransparencyCache(IVRender* render);
  ~IVTransparencyCache();
  IVTransparencyCache(const IVTransparencyCache&) = delete;
  IVTransparencyCache& operator=(const IVTransparencyCache&) = delete;

  // eye and direction point to three floats each.
  void AddSTL(MStlBase* stl, float* eye, float* direction);
  void RenderStlTransparentPN(IVRender* render);
  void Clear();
  // The angle in degrees by which the view may turn before the table is sorted again.
  void SetSkipSortTolerance(float degrees);
  void ForceReSort();

private:
  friend class IVVertexContainerTransparency;

  void PrepareTriangles();
  void Sort();
  bool _IsSorted();

  static bool IVVBTranspTriangleCompare(const IVVBTranspTriangle& a, const IVVBTranspTriangle& b);
  static bool IVVBTranspTriangleCompareIndirect(const IVVBTranspTriangle& a, const IVVBTranspTriangle& b);

  unsigned int GetNumTriangle() const { return numTriangles; }
  const MStlBase* GetStl(unsigned int i) const { return (*references)[triangles[i].owner].stl; }
  std::uint32_t GetOwner(unsigned int i) const { return triangles[i].owner; }
  const std::vector<TStlReference>& GetReferences() const { return *references; }
  std::uint64_t GetTableGeneration() const { return m_tableGeneration; }
  const MStlTriangle* GetTriangle(unsigned int i) const { return triangles[i].triangle; }
  IVRender::Memento* FindMemento(const MStlBase* stl) const;
  TStlReference* FindSTL(const MStlBase* stl) const;
  bool RenderStatesDiffer(const MStlBase* a, const MStlBase* b) const;
  bool RenderStatesDiffer(const MStlBase* a, const MStlBase* b, IVRender::EMemoType type) const;
  void RestoreSTLRenderState(IVRender* render, const MStlBase* stl) const;
  void RestoreSTLRenderState(IVRender* render, const MStlBase* stl, IVRender::EMemoType type) const;

  void _SortByDepth();

  std::unique_ptr<IVVertexContainerTransparency> container;
  std::unique_ptr<std::vector<TStlReference>> references;
  std::unique_ptr<std::vector<TStlReference>> pendingReferences;
  IVRender* render;
  std::uint32_t numTriangles = 0;
  std::uint32_t sortedCount = 0;
  float sortedDirection[3] = {0.0f, 0.0f, 0.0f};
  float skipSortCosine = 1.0f;
  // The table is contiguous (not a deque) so that the radix sort can permute it with
  // plain index arithmetic; its entries and accessors are those of the table contract.
  std::vector<IVVBTranspTriangle> triangles;
  // The table's entries in mesh traversal order, where the triangles lie in memory order:
  // the depth pass walks this one, so that it streams through the meshes instead of
  // jumping through them in the last frame's depth order.
  std::vector<IVVBTranspTriangle> m_meshOrder;
  // Scratch of the radix sort, kept between frames to avoid reallocating it.
  std::vector<std::uint64_t> m_sortKeys;
  std::vector<std::uint64_t> m_sortScratch;
  std::vector<std::uint32_t> m_sortCounts;
  // Changes whenever the table's entries or their order change, so that the container
  // knows when the vertices it made from the table are stale.
  std::uint64_t m_tableGeneration = 0;
};
