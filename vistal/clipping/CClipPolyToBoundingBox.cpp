#include "vistal/clipping/CClipPolyToBoundingBox.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <limits>
#include <memory>

namespace {

using Point = MMPoint3d<double>;

constexpr int kPolygonPoints = 5;
// Tolerance of the parallel test and of the line intersection.
constexpr double kEpsilon = 0.001;
// Edges shorter than this keep their raw difference as direction: dividing by a length
// that small would only amplify rounding noise.
constexpr double kMinEdgeLength = 1.4901161193847656e-8;  // 2^-26

MMPoint3d<float> ToFloat(const Point& p) {
  return {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
}

Point Direction(const MMLine& line) {
  Point d = line.end - line.start;
  const double length = d.Length();
  if (length >= kMinEdgeLength) d = d / length;
  return d;
}

// Deliberately the plain sum of the cross product's components, not its length, so that
// rebuilt frames stay exactly what the host has always been given. Two consequences:
// a zero-length edge (a corner that survived clipping twice) is parallel to everything,
// and so is every pair of edges in a plane whose normal is perpendicular to (1, 1, 1).
bool AreParallel(const Point& d1, const Point& d2) {
  const Point c = d1.Cross(d2);
  const double sum = c.x + c.y + c.z;
  return -kEpsilon < sum && sum < kEpsilon;
}

bool AreParallel(const MMLine& l1, const MMLine& l2) {
  return AreParallel(Direction(l1), Direction(l2));
}

// Intersects the two (infinite) lines through the edges by the feet of their common
// perpendicular and answers the foot on l2. Skew lines further apart than the tolerance,
// parallel lines and NaN coordinates fail and leave `corner` untouched.
bool IntersectLines(const MMLine& l1, const MMLine& l2, Point& corner) {
  const Point d1 = Direction(l1);
  const Point d2 = Direction(l2);
  if (AreParallel(d1, d2)) return false;
  const Point n = d1.Cross(d2);
  if (n.x == 0.0 && n.y == 0.0 && n.z == 0.0) return false;

  // Foot on l2: where l2 meets the plane through l1 spanned by d1 and n.
  const Point m1 = d1.Cross(n);
  const Point foot2 = l2.start + d2 * ((l1.start - l2.start).Dot(m1) / d2.Dot(m1));
  // Foot on l1: where l1 meets the plane through l2 spanned by d2 and n.
  const Point m2 = d2.Cross(n);
  const Point foot1 = l1.start + d1 * ((l2.start - l1.start).Dot(m2) / d1.Dot(m2));

  if (!((foot1 - foot2).Length() <= kEpsilon)) return false;
  corner = foot2;
  return true;
}

// One Sutherland-Hodgman step against the face `coordinate <= w` (upper) or
// `coordinate >= -w` of the cube. The comparisons are written so that a NaN makes a
// point outside; a point on the face is inside. `out` is cleared first and grows only
// if the polygon is not convex, which needs degenerate or non-finite input.
void ClipPass(const double* in, std::size_t count, int axis, bool upper, std::vector<double>& out) {
  out.clear();
  if (count == 0) return;

  const auto inside = [axis, upper](const double* p) {
    return upper ? p[axis] <= p[3] : p[axis] >= -p[3];
  };
  // Signed distance to the face in homogeneous terms; positive inside.
  const auto boundary = [axis, upper](const double* p) {
    return upper ? p[3] - p[axis] : p[axis] + p[3];
  };
  const auto emitCrossing = [&](const double* current, const double* previous) {
    const double fc = boundary(current);
    const double t = fc / (fc - boundary(previous));
    for (int k = 0; k < 4; ++k) out.push_back(current[k] + t * (previous[k] - current[k]));
  };

  const double* previous = in + 4 * (count - 1);
  bool previousInside = inside(previous);
  for (std::size_t i = 0; i < count; ++i) {
    const double* current = in + 4 * i;
    const bool currentInside = inside(current);
    if (currentInside != previousInside) emitCrossing(current, previous);
    if (currentInside) out.insert(out.end(), current, current + 4);
    previous = current;
    previousInside = currentInside;
  }
}

}  // namespace

CClipPolyToBoundingBox::CClipPolyToBoundingBox()
    : m_polygon{}, m_clipped_frame(), m_scale{0.0, 0.0, 0.0}, m_centre{} {}

void CClipPolyToBoundingBox::SetParams(const M3DBoundingBox<float>& box, const MFrame<float>* frame) {
  const double extent[3] = {double(box.xmax) - double(box.xmin), double(box.ymax) - double(box.ymin),
                            double(box.zmax) - double(box.zmin)};
  const double minimum[3] = {box.xmin, box.ymin, box.zmin};
  for (int k = 0; k < 3; ++k) {
    m_centre[k] = extent[k] * 0.5 + minimum[k];
    m_scale[k] = 2.0 / extent[k];
  }

  if (frame == nullptr) {
    std::fill(std::begin(m_polygon), std::end(m_polygon), std::numeric_limits<double>::quiet_NaN());
    return;
  }

  // The corners are summed in single precision, as the frame itself is.
  const MMPoint3d<float> o = frame->O;
  const MMPoint3d<float> ou = o + frame->U;
  const MMPoint3d<float> corners[4] = {o, ou, ou + frame->V, o + frame->V};
  for (int i = 0; i < 4; ++i) {
    double* p = m_polygon + 4 * i;
    for (int k = 0; k < 3; ++k) p[k] = (double(corners[i][k]) - m_centre[k]) * m_scale[k];
    p[3] = 1.0;
  }
  std::copy(m_polygon, m_polygon + 4, m_polygon + 16);
}

int CClipPolyToBoundingBox::_ClipPolyToFrustum(double* points, int count, double*& out) {
  const std::size_t inCount = (points != nullptr && count > 0) ? std::size_t(count) : 0;
  // Room for count + 6 points: each face adds at most one point to a convex polygon.
  const std::size_t room = 4 * inCount + 24;

  std::vector<double> a, b;
  a.reserve(room);
  b.reserve(room);
  ClipPass(points, inCount, 0, true, b);
  ClipPass(b.data(), b.size() / 4, 0, false, a);
  ClipPass(a.data(), a.size() / 4, 1, true, b);
  ClipPass(b.data(), b.size() / 4, 1, false, a);
  ClipPass(a.data(), a.size() / 4, 2, true, b);
  ClipPass(b.data(), b.size() / 4, 2, false, a);

  // A non-convex polygon can outgrow the usual room; the array then grows with it so
  // that every point written is also handed back.
  const std::size_t size = std::max(room, a.size());
  out = new double[size];
  std::copy(a.begin(), a.end(), out);
  std::fill(out + a.size(), out + size, 0.0);
  return static_cast<int>(a.size() / 4);
}

bool CClipPolyToBoundingBox::_FindParallelPair(unsigned& first, unsigned& second,
                                               const std::vector<MMLine>& lines) {
  const std::size_t m = lines.size();
  // With fewer than four edges no pair is far enough apart; this also keeps m - 3 from
  // wrapping around.
  if (m < 4 || first >= m - 3) return false;
  while (first < m - 3) {
    // A caller's starting `second` beyond the list is skipped rather than read.
    if (second < m && AreParallel(lines[first], lines[second])) break;
    if (++second >= m - 1) {
      ++first;
      second = first + 2;
    }
  }
  return first < m - 3;
}

bool CClipPolyToBoundingBox::Operate() {
  double* raw = nullptr;
  const int n = _ClipPolyToFrustum(m_polygon, kPolygonPoints, raw);
  std::unique_ptr<double[]> clipped(raw);
  if (n < 3) return false;

  std::vector<Point> points;
  points.reserve(std::size_t(n) + 1);
  for (int i = 0; i < n; ++i) {
    const double* p = clipped.get() + 4 * i;
    points.emplace_back(p[0] / m_scale[0] + m_centre[0], p[1] / m_scale[1] + m_centre[1],
                        p[2] / m_scale[2] + m_centre[2]);
  }
  points.push_back(points.front());
  clipped.reset();

  if (n == 3) {
    m_clipped_frame.O = ToFloat(points[1]);
    m_clipped_frame.U = ToFloat(points[0] - points[1]);
    m_clipped_frame.V = ToFloat(points[2] - points[1]);
    return true;
  }

  std::vector<MMLine> lines;
  lines.reserve(std::size_t(n) + 1);
  for (int i = 0; i < n; ++i) lines.emplace_back(points[i], points[i + 1]);
  lines.push_back(lines.front());

  unsigned a1 = 0, b1 = 2, a2 = 1, b2 = 3;
  if (n == 4) {
    if (lines[2].Length() > lines[0].Length()) std::swap(a1, b1);
    if (lines[3].Length() > lines[1].Length()) std::swap(a2, b2);
  } else {
    _FindParallelPair(a1, b1, lines);
    a2 = a1 + 1;
    b2 = a1 + 3;
    _FindParallelPair(a2, b2, lines);
    // Only when the first search found no pair does the second start past the last
    // edge. There is no frame to rebuild then: report failure and keep the old one.
    if (std::max({a1, b1, a2, b2}) >= lines.size()) return false;
  }

  // Corners whose lines do not meet stay at the origin; the frame is still produced.
  Point a, b, c;
  IntersectLines(lines[a1], lines[a2], a);
  IntersectLines(lines[a1], lines[b2], b);
  IntersectLines(lines[a2], lines[b1], c);

  m_clipped_frame.O = ToFloat(a);
  m_clipped_frame.U = ToFloat(b - a);
  m_clipped_frame.V = ToFloat(c - a);
  return true;
}
