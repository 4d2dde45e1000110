#include "vistal/containers/IVTransparencyCache.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPoint.h"
#include "host/mesh/MStlSurface.h"
#include "host/mesh/MStlTraversal.h"
#include "host/mesh/MStlTriangle.h"
#include "vistal/containers/IVVertexContainerTransparency.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Sums a coordinate of the three corners with 32-bit wrap-around, as the integer units
// of a mesh may come close to the limits of the type.
inline float CornerSum(std::int32_t a, std::int32_t b, std::int32_t c) {
  return float(std::int32_t(std::uint32_t(a) + std::uint32_t(b) + std::uint32_t(c)));
}

// A key whose ascending unsigned order is the descending order of the depths, so that
// the farthest triangle comes first. NaN depths have no place in that order; they get
// the largest key and are drawn last.
inline std::uint32_t BackToFrontKey(float depth) {
  if (std::isnan(depth)) return 0xFFFFFFFFu;
  std::uint32_t bits;
  std::memcpy(&bits, &depth, sizeof bits);
  const std::uint32_t ascending = (bits & 0x80000000u) ? ~bits : (bits | 0x80000000u);
  return ~ascending;
}

// Stable LSD radix sort of 64-bit words on their upper 32 bits, in passes of 11, 11 and
// 10 bits; the lower 32 bits carry the table index along. The digit counts come from
// the caller, who gathers them while making the keys, saving a pass over the keys.
constexpr int kRadixShift[3] = {32, 43, 54};
constexpr std::uint32_t kRadixMask[3] = {0x7FF, 0x7FF, 0x3FF};

inline void CountDigits(std::uint64_t key, std::uint32_t* counts) {
  for (int p = 0; p < 3; ++p) ++counts[p * 2048 + ((key >> kRadixShift[p]) & kRadixMask[p])];
}

void RadixSortUpper32(std::vector<std::uint64_t>& keys, std::vector<std::uint64_t>& scratch,
                      std::vector<std::uint32_t>& counts) {
  scratch.resize(keys.size());
  std::uint64_t* from = keys.data();
  std::uint64_t* to = scratch.data();
  for (int p = 0; p < 3; ++p) {
    std::uint32_t* c = &counts[p * 2048];
    // A pass in which every key falls into one bucket would only copy.
    if (std::find(c, c + 2048, std::uint32_t(keys.size())) != c + 2048) continue;
    std::uint32_t sum = 0;
    for (int b = 0; b < 2048; ++b) {
      const std::uint32_t n = c[b];
      c[b] = sum;
      sum += n;
    }
    const int shift = kRadixShift[p];
    const std::uint32_t mask = kRadixMask[p];
    for (std::size_t i = 0, n = keys.size(); i < n; ++i) {
      const std::uint64_t k = from[i];
      to[c[(k >> shift) & mask]++] = k;
    }
    std::swap(from, to);
  }
  if (from != keys.data()) keys.swap(scratch);
}

}  // namespace

IVTransparencyCache::IVTransparencyCache(IVRender* render_)
    : references(std::make_unique<std::vector<TStlReference>>()),
      pendingReferences(std::make_unique<std::vector<TStlReference>>()),
      render(render_) {
  SetSkipSortTolerance(0.0f);
}

IVTransparencyCache::~IVTransparencyCache() = default;

void IVTransparencyCache::AddSTL(MStlBase* stl, float* eye, float* direction) {
  TStlReference reference{stl, {}, {}, {}};
  render->SaveState(reference.memento);
  const float x = direction[0], y = direction[1], z = direction[2];
  const float s = x * x + y * y + z * z;
  // A near-zero direction is not scaled up: it would only magnify noise.
  const float scale = s > 0.0001f ? 1.0f / std::sqrt(s) : s;
  reference.direction[0] = x * scale;
  reference.direction[1] = y * scale;
  reference.direction[2] = z * scale;
  std::copy(eye, eye + 3, reference.eye);
  pendingReferences->push_back(reference);
}

void IVTransparencyCache::PrepareTriangles() {
  const bool sameMeshes =
      references->size() == pendingReferences->size() &&
      std::equal(references->begin(), references->end(), pendingReferences->begin(),
                 [](const TStlReference& a, const TStlReference& b) { return a.stl == b.stl; });
  std::swap(references, pendingReferences);
  pendingReferences->clear();
  if (sameMeshes) return;

  // A new sequence of meshes keeps sortedCount: when the total number of triangles is
  // unchanged and the view has not turned, the table in mesh order is drawn unsorted
  // for a frame, as callers that change meshes are expected to call ForceReSort.
  triangles.clear();
  m_meshOrder.clear();
  numTriangles = 0;
  ++m_tableGeneration;
  std::uint64_t total = 0;
  for (const TStlReference& r : *references)
    if (r.stl) total += r.stl->GetNumTriangles();
  if (total == 0) return;

  try {
    if (total > 0xFFFFFFFFull) throw std::length_error("transparency table");
    m_meshOrder.assign(std::size_t(total), IVVBTranspTriangle{nullptr, 0.0f, 0});
    triangles.reserve(std::size_t(total));
  } catch (...) {
    // Lack of memory must not take the frame down: this render draws nothing.
    triangles.clear();
    m_meshOrder.clear();
    numTriangles = 0;
    return;
  }
  // The count comes from the mesh library; the fill never writes past it even if a
  // mesh's lists disagreed with its count.
  IVVBTranspTriangle* entry = m_meshOrder.data();
  IVVBTranspTriangle* const end = entry + total;
  // A triangle belongs to the mesh whose traversal produced it (also one without a
  // surface), and a mesh added twice to its first reference, as FindSTL finds it.
  for (const TStlReference& r : *references) {
    if (!r.stl) continue;
    const std::uint32_t owner = std::uint32_t(FindSTL(r.stl) - references->data());
    ForEachTriangle(*r.stl, [&](const MStlTriangle& t) {
      if (entry != end) *entry++ = {&t, 0.0f, owner};
    });
  }
  m_meshOrder.resize(std::size_t(entry - m_meshOrder.data()));
  triangles = m_meshOrder;
  ++m_tableGeneration;
  numTriangles = std::uint32_t(triangles.size());
}

bool IVTransparencyCache::_IsSorted() {
  if (numTriangles == 0) return true;
  const TStlReference* reference = FindSTL(GetStl(0));
  const float* d = reference ? reference->direction : nullptr;
  if (d && numTriangles == sortedCount) {
    const float dot = float(d[0] * sortedDirection[0] + d[1] * sortedDirection[1] + d[2] * sortedDirection[2]);
    if (dot > skipSortCosine) return true;
  }
  sortedCount = numTriangles;
  for (int i = 0; i < 3; ++i) sortedDirection[i] = d ? d[i] : 0.0f;
  return false;
}

void IVTransparencyCache::Sort() {
  if (numTriangles == 0 || _IsSorted()) return;

  const float kThird = 0.33333f;
  const std::vector<TStlReference>& refs = *references;
  const std::size_t n = m_meshOrder.size();
  m_sortKeys.resize(n);
  m_sortCounts.assign(3 * 2048, 0);
  std::uint64_t* keys = m_sortKeys.data();
  std::uint32_t* counts = m_sortCounts.data();
  for (std::size_t i = 0; i < n; ++i) {
    IVVBTranspTriangle& entry = m_meshOrder[i];
    const TStlReference& r = refs[entry.owner];
    const MStlTriangle& t = *entry.triangle;
    const MStlPoint& a = *t.points[0];
    const MStlPoint& b = *t.points[1];
    const MStlPoint& c = *t.points[2];
    const float cx = CornerSum(a.x, b.x, c.x) * kThird;
    const float cy = CornerSum(a.y, b.y, c.y) * kThird;
    const float cz = CornerSum(a.z, b.z, c.z) * kThird;
    entry.depth = float(((double(cx) - r.eye[0]) * r.direction[0] + (double(cy) - r.eye[1]) * r.direction[1]) +
                        (double(cz) - r.eye[2]) * r.direction[2]);
    keys[i] = (std::uint64_t(BackToFrontKey(entry.depth)) << 32) | i;
    CountDigits(keys[i], counts);
  }
  _SortByDepth();
}

// Greatest depth first. The order of equal depths is free, which lets a radix sort on
// the float keys stand in for a comparison sort: linear time, and NaN depths cannot
// break it as they would break a comparator.
void IVTransparencyCache::_SortByDepth() {
  const std::size_t n = m_meshOrder.size();
  if (n < 256)
    std::sort(m_sortKeys.begin(), m_sortKeys.end());
  else
    RadixSortUpper32(m_sortKeys, m_sortScratch, m_sortCounts);
  for (std::size_t i = 0; i < n; ++i) triangles[i] = m_meshOrder[std::uint32_t(m_sortKeys[i])];
  ++m_tableGeneration;
}

void IVTransparencyCache::RenderStlTransparentPN(IVRender* render_) {
  if (pendingReferences->empty()) {
    references->clear();
    sortedCount = 0;
    if (container) container->DestroyRenderOptimisations();
    return;
  }
  PrepareTriangles();
  if (numTriangles == 0) return;
  Sort();
  render_->BeginTransparency(true);
  if (!container) container = std::make_unique<IVVertexContainerTransparency>();
  container->Attach(this, render_);
  container->SetModeDynamic(true);
  container->RenderTriangles(*render_, true, false, 0);
  render_->EndTransparency();
}

void IVTransparencyCache::Clear() {
  references->clear();
  pendingReferences->clear();
  sortedCount = 0;
  if (container) container->DestroyRenderOptimisations();
}

void IVTransparencyCache::SetSkipSortTolerance(float degrees) {
  const float radians = degrees * 0.5f * 3.1415927f / 180.0f;
  skipSortCosine = float(std::cos(radians));
}

void IVTransparencyCache::ForceReSort() { sortedCount = 0; }

bool IVTransparencyCache::IVVBTranspTriangleCompare(const IVVBTranspTriangle& a, const IVVBTranspTriangle& b) {
  return a.depth > b.depth;
}

bool IVTransparencyCache::IVVBTranspTriangleCompareIndirect(const IVVBTranspTriangle& a,
                                                            const IVVBTranspTriangle& b) {
  return a.depth > b.depth;
}

IVTransparencyCache::TStlReference* IVTransparencyCache::FindSTL(const MStlBase* stl) const {
  for (TStlReference& r : *references)
    if (r.stl == stl) return &r;
  return nullptr;
}

IVRender::Memento* IVTransparencyCache::FindMemento(const MStlBase* stl) const {
  TStlReference* r = FindSTL(stl);
  return r ? &r->memento : nullptr;
}

bool IVTransparencyCache::RenderStatesDiffer(const MStlBase* a, const MStlBase* b) const {
  const IVRender::Memento* ma = FindMemento(a);
  const IVRender::Memento* mb = FindMemento(b);
  return !ma || !mb || !(*ma == *mb);
}

bool IVTransparencyCache::RenderStatesDiffer(const MStlBase* a, const MStlBase* b, IVRender::EMemoType type) const {
  const IVRender::Memento* ma = FindMemento(a);
  const IVRender::Memento* mb = FindMemento(b);
  return !ma || !mb || !ma->IsEqual(*mb, type);
}

void IVTransparencyCache::RestoreSTLRenderState(IVRender* render_, const MStlBase* stl) const {
  if (const IVRender::Memento* m = FindMemento(stl)) render_->RestoreState(*m);
}

void IVTransparencyCache::RestoreSTLRenderState(IVRender* render_, const MStlBase* stl,
                                                IVRender::EMemoType type) const {
  if (const IVRender::Memento* m = FindMemento(stl)) render_->RestoreState(*m, type);
}
