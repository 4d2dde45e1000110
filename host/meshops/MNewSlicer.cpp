#include "host/meshops/MNewSlicer.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPoint.h"
#include "host/mesh/MStlTraversal.h"
#include "host/mesh/MStlTriangle.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

// This file is compiled without floating-point contraction (see Sources.cmake): a point's
// side is decided by PlaneValue wherever the point is met, and every evaluation must
// round the same way for a shared point to land on the same side each time.

namespace {

struct Plane {
  double a, b, c, d;
};

inline double PlaneValue(const Plane& pl, const MStlPoint& p) {
  return pl.a * double(p.x) + pl.b * double(p.y) + pl.c * double(p.z) + pl.d;
}

// A crossed edge, named by its positive and its negative end. Both triangles along an edge
// name it the same way, whatever their winding.
struct EdgeKey {
  const MStlPoint* plus;
  const MStlPoint* minus;

  bool operator==(const EdgeKey& o) const { return plus == o.plus && minus == o.minus; }
  bool operator<(const EdgeKey& o) const {
    const std::less<const MStlPoint*> less;
    return plus != o.plus ? less(plus, o.plus) : less(minus, o.minus);
  }
};

// What one triangle adds: the segment from the edge where its boundary (corners in order)
// passes from the positive to the negative side, to the edge where it comes back. With
// triangles wound counter-clockwise from outside this keeps the cut solid on the left of
// the segment, seen from the positive side.
struct Segment {
  EdgeKey from, to;
  const MStlTriangle* triangle;
};

// Per sign pattern (bit k set: corner k negative), the corners naming the two edges:
// from = {plus, minus}, to = {plus, minus}.
struct SegmentCase {
  std::uint8_t fromPlus, fromMinus, toPlus, toMinus;
};
constexpr SegmentCase kCases[8] = {
    {0, 0, 0, 0},  // no negative corner: no segment
    {2, 0, 1, 0},  // corner 0 negative
    {0, 1, 2, 1},  // corner 1 negative
    {2, 0, 2, 1},  // corner 2 positive
    {1, 2, 0, 2},  // corner 2 negative
    {1, 2, 1, 0},  // corner 1 positive
    {0, 1, 0, 2},  // corner 0 positive
    {0, 0, 0, 0},  // all negative: no segment
};

constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// The sides of every mesh point for a group of planes, decided once per point and then
// looked up by the point's address: a table lookup costs far less than evaluating the
// planes at every corner of every triangle.
//
// The mesh keeps its points in a few contiguous blocks (one per build or append) and
// shows them only one at a time, so the blocks are found by probing point addresses: a
// few dozen probes per block. The table is indexed by address within those spans and
// filled from the points themselves as triangles reach them, so its answers never depend
// on the probing being right: a point outside every span is simply evaluated where met.
//
// Entries are of type T: one bit per plane, and one that marks the entry decided. Few
// planes take bytes, so that the table stays small.
template <typename T>
class PointSides {
public:
  static constexpr std::size_t kMaxPlanes = 8 * sizeof(T) - 1;

  PointSides(const MStlBase& mesh, const Plane* planes, std::size_t count) : m_planes(planes), m_count(count) {
    const std::uint32_t n = mesh.GetNumPoints();
    auto at = [&](std::uint32_t i) { return &mesh.GetPoint(i); };
    std::size_t slots = 0;
    for (std::uint32_t first = 0; first < n;) {
      const MStlPoint* base = at(first);
      auto contiguous = [&](std::uint32_t k) { return at(first + k) == base + k; };
      // Gallop to a count that is past the block, then halve back to its end.
      std::uint32_t good = 1, step = 1;
      while (step < n - first && contiguous(step)) {
        good = step + 1;
        step = step <= (n - first) / 2 ? 2 * step : n - first;
      }
      std::uint32_t bad = std::min(step, n - first);
      while (good < bad) {
        const std::uint32_t mid = good + (bad - good) / 2;
        if (contiguous(mid))
          good = mid + 1;
        else
          bad = mid;
      }
      m_runs.push_back({base, good * sizeof(MStlPoint), slots});
      slots += good;
      first += good;
    }
    m_sides.assign(slots, 0);
    std::sort(m_runs.begin(), m_runs.end(),
              [](const Run& l, const Run& r) { return Address(l.begin) < Address(r.begin); });
  }

  // Bit k set: the point is on the negative side of plane k; clear: on the plane or the
  // positive side.
  unsigned Negative(const MStlPoint* p) {
    const std::uintptr_t offset = Address(p) - m_begin;
    if (offset < m_bytes) {
      const T sides = m_table[offset / sizeof(MStlPoint)];
      if (sides & kDecided) return sides & ~kDecided;
    }
    return _Decide(p);
  }

private:
  static constexpr T kDecided = T(1u << kMaxPlanes);

  struct Run {
    const MStlPoint* begin;
    std::uintptr_t bytes;
    std::size_t slot;  // the table entry of begin
  };

  static std::uintptr_t Address(const MStlPoint* p) { return reinterpret_cast<std::uintptr_t>(p); }

  unsigned _Evaluate(const MStlPoint& p) const {
    unsigned negative = 0;
    for (std::size_t k = 0; k < m_count; ++k) negative |= unsigned(PlaneValue(m_planes[k], p) < 0.0) << k;
    return negative;
  }

  // A point met for the first time, or one in another span than the last.
  [[gnu::noinline]] unsigned _Decide(const MStlPoint* p) {
    if (Address(p) - m_begin >= m_bytes) {
      const Run* r = _FindRun(p);
      if (!r) return _Evaluate(*p);
      m_begin = Address(r->begin);
      m_bytes = r->bytes;
      m_table = m_sides.data() + r->slot;
    }
    T& sides = m_table[(Address(p) - m_begin) / sizeof(MStlPoint)];
    if (!(sides & kDecided)) sides = T(_Evaluate(*p) | kDecided);
    return sides & ~kDecided;
  }

  const Run* _FindRun(const MStlPoint* p) const {
    auto it = std::upper_bound(m_runs.begin(), m_runs.end(), Address(p),
                               [](std::uintptr_t a, const Run& r) { return a < Address(r.begin); });
    if (it == m_runs.begin()) return nullptr;
    --it;
    return Address(p) - Address(it->begin) < it->bytes ? &*it : nullptr;
  }

  const Plane* m_planes;
  std::size_t m_count;
  std::vector<Run> m_runs;  // in address order
  std::vector<T> m_sides;
  // The span of the last lookup.
  std::uintptr_t m_begin = 0;
  std::uintptr_t m_bytes = 0;
  T* m_table = nullptr;
};

// Segments sorted by one of their keys, for finding the segment that continues another.
class SegmentIndex {
public:
  SegmentIndex(const std::vector<Segment>& segments, EdgeKey Segment::*key) : m_segments(segments), m_key(key) {
    m_order.resize(segments.size());
    for (std::uint32_t i = 0; i < m_order.size(); ++i) m_order[i] = i;
    // Stable: among segments with the same key (only in non-manifold meshes) the earlier
    // triangle comes first.
    std::stable_sort(m_order.begin(), m_order.end(),
                     [&](std::uint32_t l, std::uint32_t r) { return segments[l].*key < segments[r].*key; });
  }

  // The first unused segment whose key is `k`, or kNone.
  std::uint32_t Find(const EdgeKey& k, const std::vector<bool>& used) const {
    auto it = std::lower_bound(m_order.begin(), m_order.end(), k,
                               [&](std::uint32_t s, const EdgeKey& key) { return m_segments[s].*m_key < key; });
    for (; it != m_order.end() && m_segments[*it].*m_key == k; ++it)
      if (!used[*it]) return *it;
    return kNone;
  }

private:
  const std::vector<Segment>& m_segments;
  EdgeKey Segment::*m_key;
  std::vector<std::uint32_t> m_order;
};

// Links one plane's segments into contours and adds them to the border.
void LinkContours(const std::vector<Segment>& segments, const Plane& plane, const MMPoint3d<double>& u,
                  const MMPoint3d<double>& v, bool keepDegenerate, MStlSlicerBase::Border& border) {
  using MSlicePointData = MStlSlicerBase::MSlicePointData;
  const std::uint32_t n = static_cast<std::uint32_t>(segments.size());
  const SegmentIndex byFrom(segments, &Segment::from);
  const SegmentIndex byTo(segments, &Segment::to);
  std::vector<bool> used(n, false);

  // The point where the contour crosses an edge: the edge's end on the plane when it has
  // one there, else the interpolation from the positive end, which both triangles along the
  // edge compute alike.
  auto crossing = [&](const EdgeKey& e, const MStlTriangle* triangle) {
    MSlicePointData data;
    data.triangle = triangle;
    const MMPoint3d<double> plus(double(e.plus->x), double(e.plus->y), double(e.plus->z));
    const double fPlus = PlaneValue(plane, *e.plus);
    if (fPlus == 0.0) {
      data.point = plus;
      data.edge[0] = data.edge[1] = e.plus;
    } else {
      const MMPoint3d<double> minus(double(e.minus->x), double(e.minus->y), double(e.minus->z));
      const double t = fPlus / (fPlus - PlaneValue(plane, *e.minus));
      data.point = plus + (minus - plus) * t;
      data.edge[0] = e.plus;
      data.edge[1] = e.minus;
    }
    return data;
  };
  auto sameVertex = [](const MSlicePointData& a, const MSlicePointData& b) {
    return a.IsVertex() && b.IsVertex() && a.edge[0] == b.edge[0];
  };

  std::vector<std::uint32_t> chain;
  std::vector<MSlicePointData> points;
  for (std::uint32_t first = 0; first < n; ++first) {
    if (used[first]) continue;
    // Back up to where an open contour begins; a closed one begins at `first`, its
    // earliest triangle. The step limit only matters for non-manifold meshes, whose
    // backward links can run into a loop that `first` is not on.
    std::uint32_t head = first;
    for (std::uint32_t steps = 0; steps < n; ++steps) {
      const std::uint32_t prev = byTo.Find(segments[head].from, used);
      if (prev == kNone) break;
      if (prev == first) {
        head = first;
        break;
      }
      head = prev;
    }
    chain.clear();
    for (std::uint32_t s = head; s != kNone; s = byFrom.Find(segments[s].to, used)) {
      used[s] = true;
      chain.push_back(s);
    }
    const bool closed = segments[chain.back()].to == segments[head].from;

    points.clear();
    for (std::uint32_t s : chain) points.push_back(crossing(segments[s].from, segments[s].triangle));
    if (!closed) points.push_back(crossing(segments[chain.back()].to, segments[chain.back()].triangle));

    // Merge runs at one vertex, keeping the last of each run: its triangle is the one that
    // leads on to the next point.
    MStlSlicerBase::Contour contour;
    contour.SetClosed(closed);
    const std::size_t count = points.size();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const bool hasNext = closed || i + 1 < count;
      if (hasNext && count > 1 && sameVertex(points[i], points[(i + 1) % count])) continue;
      ++kept;
      const MSlicePointData& d = points[i];
      contour.AddPoint(d.point.Dot(u), d.point.Dot(v), d);
    }
    if (kept == 0) {  // a closed contour at one vertex only
      const MSlicePointData& d = points.back();
      contour.AddPoint(d.point.Dot(u), d.point.Dot(v), d);
      kept = 1;
    }
    const bool degenerate = closed ? kept < 3 : kept < 2;
    if (degenerate && !keepDegenerate) continue;
    border.AddContour(std::move(contour));
  }
}

// One pass over the triangles for a group of planes: each point's sides are decided
// once, when a triangle first reaches it; only triangles with corners on both sides of
// some plane leave a segment, in that plane's list.
template <typename T>
void CollectSegments(const MStlBase& mesh, const Plane* planes, std::size_t count,
                     std::vector<Segment>* segments) {
  PointSides<T> sides(mesh, planes, count);
  ForEachTriangle(mesh, [&](const MStlTriangle& t) {
    const MStlPoint* const* p = t.points;
    const unsigned m0 = sides.Negative(p[0]), m1 = sides.Negative(p[1]), m2 = sides.Negative(p[2]);
    for (unsigned crossed = (m0 | m1 | m2) & ~(m0 & m1 & m2); crossed; crossed &= crossed - 1) {
      const int k = std::countr_zero(crossed);
      const unsigned mask = (m0 >> k & 1u) | (m1 >> k & 1u) << 1 | (m2 >> k & 1u) << 2;
      const SegmentCase& c = kCases[mask];
      segments[k].push_back({{p[c.fromPlus], p[c.fromMinus]}, {p[c.toPlus], p[c.toMinus]}, &t});
    }
  });
}

}  // namespace

MNewSlicer::MNewSlicer() = default;
MNewSlicer::MNewSlicer(const MNewSlicer&) = default;
MNewSlicer& MNewSlicer::operator=(const MNewSlicer&) = default;
MNewSlicer::~MNewSlicer() = default;

void MNewSlicer::SetPlaneSliceMode(const MMPlaneEq<double>& plane, bool keepDegenerateContours) {
  m_plane = plane;
  m_keep_degenerate = keepDegenerateContours;
}

bool MNewSlicer::MakePlaneBasis(const MMPoint3d<double>& normal, MMPoint3d<double>& u, MMPoint3d<double>& v) {
  const double length = normal.Length();
  if (!std::isfinite(length) || length == 0.0) return false;
  const MMPoint3d<double> n = normal / length;
  int k = 0;
  if (std::fabs(n.y) > std::fabs(n[k])) k = 1;
  if (std::fabs(n.z) > std::fabs(n[k])) k = 2;
  // The axis after the largest component is at least 45 degrees away from the normal, so
  // what is left of it after removing its normal part is well conditioned.
  MMPoint3d<double> e;
  e[(k + 1) % 3] = 1.0;
  u = e - n * n.Dot(e);
  u = u / u.Length();
  v = n.Cross(u);
  return true;
}

bool MNewSlicer::Operate() {
  std::vector<Border> borders;
  SliceAll(mp_stl, {m_plane}, m_keep_degenerate, borders);
  m_border = std::move(borders.front());
  return !m_border.IsEmpty();
}

void MNewSlicer::SliceAll(const MStlBase* stl, const std::vector<MMPlaneEq<double>>& planes,
                          bool keepDegenerateContours, std::vector<Border>& borders) {
  borders.assign(planes.size(), Border());
  if (!stl) return;
  // The planes that can cut at all, with their bases and their places in `planes`.
  std::vector<Plane> cutting;
  std::vector<std::size_t> place;
  std::vector<MMPoint3d<double>> us, vs;
  for (std::size_t i = 0; i < planes.size(); ++i) {
    MMPoint3d<double> u, v;
    const MMPlaneEq<double>& p = planes[i];
    if (!std::isfinite(p.d) || !MakePlaneBasis(p.Normal(), u, v)) continue;
    cutting.push_back({p.a, p.b, p.c, p.d});
    place.push_back(i);
    us.push_back(u);
    vs.push_back(v);
  }
  constexpr std::size_t kMaxPlanes = PointSides<std::uint16_t>::kMaxPlanes;
  std::vector<Segment> segments[kMaxPlanes];
  for (std::size_t first = 0; first < cutting.size(); first += kMaxPlanes) {
    const std::size_t count = std::min(kMaxPlanes, cutting.size() - first);
    for (std::size_t k = 0; k < count; ++k) segments[k].clear();
    if (count <= PointSides<std::uint8_t>::kMaxPlanes)
      CollectSegments<std::uint8_t>(*stl, &cutting[first], count, segments);
    else
      CollectSegments<std::uint16_t>(*stl, &cutting[first], count, segments);
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t i = first + k;
      LinkContours(segments[k], cutting[i], us[i], vs[i], keepDegenerateContours, borders[place[i]]);
    }
  }
}
