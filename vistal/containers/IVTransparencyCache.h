#pragma once
#include "host/mesh/MStlLargeAllocator.h"
#include "host/render/IVRender.h"
#include "vistal/Api.h"

#include <cstdint>
#include <memory>
#include <vector>

class MStlBase;
class MStlTriangle;
class IVDepthOrder;
class IVVertexContainerTransparency;

// Draws the transparent meshes of a 3D view back to front. During a frame the host adds
// every transparent mesh with the eye point and viewing direction in that mesh's own
// coordinates, while the renderer holds the state the mesh is to be drawn with; after
// the opaque geometry one call sorts the triangles of all those meshes together and
// streams them, farthest first, switching render states between meshes.
//
// The triangle table and its order survive from frame to frame while the sequence of
// meshes is unchanged, and a re-sort is skipped while the view has turned by less than
// the skip-sort tolerance. With the table the cache copies what the sort and the drawing
// read of each triangle (its centre, corners and normal), so that a frame touches those
// compact arrays instead of the meshes: an owner that edits a mesh (its triangles or its
// points) calls Clear before the next render.
class VISTAL_API IVTransparencyCache {
public:
  struct TStlReference {
    MStlBase* stl;
    IVRender::Memento memento;
    float eye[3];
    float direction[3];  // unit length unless near zero
  };

  // An entry of the triangle table.
  struct IVVBTranspTriangle {
    const MStlTriangle* triangle;
    float depth;  // distance of the triangle's centre from the eye along the view
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

  // What drawing reads of an entry's triangle: its corners as float, in the triangle's
  // own order, and its normal. Streaming in depth order then reads 48 bytes per triangle
  // instead of a triangle and three points spread through the meshes.
  struct alignas(16) TDrawRecord {
    float corners[3][3];
    float normal[3];
  };
  // The stretch of the table made from one reference's mesh, and the reference that
  // owns it: the first one with that mesh, as FindSTL finds it.
  struct TSpan {
    std::uint32_t first;
    std::uint32_t end;
    std::uint32_t owner;
  };

  void PrepareTriangles();
  void Sort();
  bool _IsSorted();

  static bool IVVBTranspTriangleCompare(const IVVBTranspTriangle& a, const IVVBTranspTriangle& b);
  static bool IVVBTranspTriangleCompareIndirect(const IVVBTranspTriangle& a, const IVVBTranspTriangle& b);

  // Entry i of the table in its current (sorted) order.
  unsigned int GetNumTriangle() const { return numTriangles; }
  const MStlBase* GetStl(unsigned int i) const { return (*references)[SpanOf(OrderIndex(i))->owner].stl; }
  const MStlTriangle* GetTriangle(unsigned int i) const { return triangles[OrderIndex(i)]; }
  IVVBTranspTriangle GetEntry(unsigned int i) const;
  IVRender::Memento* FindMemento(const MStlBase* stl) const;
  TStlReference* FindSTL(const MStlBase* stl) const;
  bool RenderStatesDiffer(const MStlBase* a, const MStlBase* b) const;
  bool RenderStatesDiffer(const MStlBase* a, const MStlBase* b, IVRender::EMemoType type) const;
  void RestoreSTLRenderState(IVRender* render, const MStlBase* stl) const;
  void RestoreSTLRenderState(IVRender* render, const MStlBase* stl, IVRender::EMemoType type) const;

  // The sorted order as the container walks it: position i holds the mesh-order index
  // of entry i in its low 32 bits (see IVDepthOrder).
  const std::uint64_t* GetOrder() const;
  std::uint32_t OrderIndex(unsigned int i) const { return std::uint32_t(GetOrder()[i]); }
  const TDrawRecord* GetDrawRecords() const { return m_draw_records.data(); }
  const std::vector<TStlReference>& GetReferences() const { return *references; }
  // The span (they cover the table in mesh order without gaps) holding the entry with
  // mesh-order index `index`: `hint` when it holds it, as neighbours in depth often come
  // from one mesh, otherwise found by bisection.
  const TSpan* SpanOf(std::size_t index, const TSpan* hint = nullptr) const {
    return hint && index >= hint->first && index < hint->end ? hint : _FindSpan(index);
  }
  const TSpan* _FindSpan(std::size_t index) const;

  std::unique_ptr<IVVertexContainerTransparency> container;
  std::unique_ptr<std::vector<TStlReference>> references;
  std::unique_ptr<std::vector<TStlReference>> pendingReferences;
  IVRender* render;
  std::uint32_t numTriangles = 0;
  std::uint32_t sortedCount = 0;
  float sortedDirection[3] = {0.0f, 0.0f, 0.0f};
  float skipSortCosine = 1.0f;
  // The table, kept in mesh order (the references' meshes one after the other, each in
  // traversal order) as parallel arrays, with its sorted order in m_order. The corner
  // sums are kept exactly, as 32-bit integers, so that the depth pass computes the centre
  // and the depth in double from them without a rounding of its own: 88 bytes per entry
  // with the order's two words.
  MStlLargeVector<const MStlTriangle*> triangles;
  MStlLargeVector<std::int32_t> m_corner_sums;  // three per entry, in the mesh's integer units
  MStlLargeVector<TDrawRecord> m_draw_records;
  std::vector<TSpan> m_spans;
  std::unique_ptr<IVDepthOrder> m_order;
};
