#include "vistal/containers/IVTransparencyCache.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPoint.h"
#include "host/mesh/MStlSurface.h"
#include "host/mesh/MStlTraversal.h"
#include "host/mesh/MStlTriangle.h"
#include "vistal/containers/Implementation/IVDepthOrder.h"
#include "vistal/containers/Implementation/IVVertexContainerTransparency.h"

#include <algorithm>
#include <cmath>

namespace {

// Sums a coordinate of the three corners in 32-bit arithmetic. The sum wraps (without
// undefined behaviour) only for coordinates beyond a third of the type's range, which
// the mesh reader refuses.
inline std::int32_t CornerSum(std::int32_t a, std::int32_t b, std::int32_t c) {
  return std::int32_t(std::uint32_t(a) + std::uint32_t(b) + std::uint32_t(c));
}

// The centre's weight: the single-precision constant 0.33333, deliberately not a third.
constexpr double kThird = double(0.33333f);

}  // namespace

IVTransparencyCache::IVTransparencyCache(IVRender* render_)
    : references(std::make_unique<std::vector<TStlReference>>()),
      pendingReferences(std::make_unique<std::vector<TStlReference>>()),
      render(render_),
      m_order(std::make_unique<IVDepthOrder>()) {
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
  numTriangles = 0;
  m_spans.clear();
  std::uint64_t total = 0;
  for (const TStlReference& r : *references)
    if (r.stl) total += r.stl->GetNumTriangles();
  if (total == 0) return;

  try {
    if (total > 0xFFFFFFFFull) throw std::length_error("transparency table");
    const std::size_t n = std::size_t(total);
    triangles.resize(n);
    m_corner_sums.resize(3 * n);
    m_draw_records.resize(n);
    m_order->Reset(std::uint32_t(n));
    m_spans.reserve(references->size());
  } catch (...) {
    // Lack of memory must not take the frame down: this render draws nothing, and what
    // the table held goes back.
    decltype(triangles)().swap(triangles);
    decltype(m_corner_sums)().swap(m_corner_sums);
    decltype(m_draw_records)().swap(m_draw_records);
    m_order->Release();
    m_spans.clear();
    return;
  }
  // The count comes from the mesh library; the fill never writes past it even if a
  // mesh's lists disagreed with its count.
  std::uint32_t next = 0;
  // A triangle belongs to the mesh whose traversal produced it (also one without a
  // surface), and a mesh added twice to its first reference, as FindSTL finds it.
  for (const TStlReference& r : *references) {
    if (!r.stl) continue;
    const std::uint32_t first = next;
    const std::uint32_t owner = std::uint32_t(FindSTL(r.stl) - references->data());
    ForEachTriangle(*r.stl, [&](const MStlTriangle& t) {
      if (next == total) return;
      const MStlPoint& a = *t.points[0];
      const MStlPoint& b = *t.points[1];
      const MStlPoint& c = *t.points[2];
      std::int32_t* sum = &m_corner_sums[3 * std::size_t(next)];
      sum[0] = CornerSum(a.x, b.x, c.x);
      sum[1] = CornerSum(a.y, b.y, c.y);
      sum[2] = CornerSum(a.z, b.z, c.z);
      TDrawRecord& record = m_draw_records[next];
      for (int k = 0; k < 3; ++k) {
        const MStlPoint& p = *t.points[k];
        record.corners[k][0] = float(p.x);
        record.corners[k][1] = float(p.y);
        record.corners[k][2] = float(p.z);
        record.normal[k] = t.normal[k];
      }
      triangles[next] = &t;
      ++next;
    });
    if (next > first) m_spans.push_back({first, next, owner});
  }
  if (next < total) {
    triangles.resize(next);
    m_corner_sums.resize(3 * std::size_t(next));
    m_draw_records.resize(next);
    m_order->Reset(next);
  }
  numTriangles = next;
}

bool IVTransparencyCache::_IsSorted() {
  if (numTriangles == 0) return true;
  const TStlReference* reference = FindSTL(GetStl(0));
  const float* d = reference ? reference->direction : nullptr;
  if (d && numTriangles == sortedCount) {
    // The dot product is rounded to float once, at the end: the float products are
    // exact in double, so only the sums round there.
    const double exact = double(d[0]) * sortedDirection[0] + double(d[1]) * sortedDirection[1] +
                         double(d[2]) * sortedDirection[2];
    const float dot = float(exact);
    if (dot > skipSortCosine) return true;
  }
  sortedCount = numTriangles;
  for (int i = 0; i < 3; ++i) sortedDirection[i] = d ? d[i] : 0.0f;
  return false;
}

// The depth pass walks the table in mesh order through the corner sums made with it: a
// sequential read of 12 bytes per triangle, whatever the last frame's order. Each mesh's
// entries take the eye and direction of the reference that owns them. The centre is the
// exact sum times the weight, and the depth is formed in double from it and stored as
// float: the only rounding of the whole expression is that last one.
void IVTransparencyCache::Sort() {
  if (numTriangles == 0 || _IsSorted()) return;
  m_order->Sort([this](std::size_t begin, std::size_t end, float* depths) {
    const TSpan* span = SpanOf(begin);
    for (std::size_t i = begin; i < end; ++span) {
      const TStlReference& r = (*references)[span->owner];
      const double ex = r.eye[0], ey = r.eye[1], ez = r.eye[2];
      const double dx = r.direction[0], dy = r.direction[1], dz = r.direction[2];
      for (const std::size_t stop = std::min<std::size_t>(end, span->end); i < stop; ++i) {
        const std::int32_t* sum = &m_corner_sums[3 * i];
        const double cx = sum[0] * kThird, cy = sum[1] * kThird, cz = sum[2] * kThird;
        *depths++ = float(((cx - ex) * dx + (cy - ey) * dy) + (cz - ez) * dz);
      }
    }
  });
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
  // Half the angle in radians, rounded to float once; its cosine, rounded to float once.
  const float radians = float(double(degrees) * 0.5 * 3.1415927 / 180.0);
  skipSortCosine = float(std::cos(double(radians)));
}

void IVTransparencyCache::ForceReSort() { sortedCount = 0; }

bool IVTransparencyCache::IVVBTranspTriangleCompare(const IVVBTranspTriangle& a, const IVVBTranspTriangle& b) {
  return a.depth > b.depth;
}

bool IVTransparencyCache::IVVBTranspTriangleCompareIndirect(const IVVBTranspTriangle& a,
                                                            const IVVBTranspTriangle& b) {
  return a.depth > b.depth;
}

const std::uint64_t* IVTransparencyCache::GetOrder() const { return m_order->Data(); }

const IVTransparencyCache::TSpan* IVTransparencyCache::_FindSpan(std::size_t index) const {
  return std::upper_bound(m_spans.data(), m_spans.data() + m_spans.size(), index,
                          [](std::size_t i, const TSpan& s) { return i < s.first; }) -
         1;
}

IVTransparencyCache::IVVBTranspTriangle IVTransparencyCache::GetEntry(unsigned int i) const {
  return {GetTriangle(i), m_order->DepthAt(i)};
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
