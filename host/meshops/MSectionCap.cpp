#include "host/meshops/MSectionCap.h"

#include "host/meshops/MNewSlicer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using Point = MMPoint3d<double>;
constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

// A point of the outline, in integer units and in plane coordinates.
struct Vertex {
  Point q;
  double x, y;
};

bool SamePlace(const Vertex& a, const Vertex& b) { return a.x == b.x && a.y == b.y; }

// The ends stay the section's own points.
Vertex Lerp(const Vertex& a, const Vertex& b, double t) {
  if (t <= 0.0) return a;
  if (t >= 1.0) return b;
  return {a.q + (b.q - a.q) * t, a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// The part of a segment inside the kept region, as parameters along it.
struct Span {
  double t0 = 0.0, t1 = 1.0;
  bool in = true;
  bool enters = false;  // t0 is where it crosses into the region
  bool exits = false;   // t1 is where it crosses out
};

// fa, fb: the keep planes' values at the segment's ends (kept where >= 0).
Span ClipSegment(const double* fa, const double* fb, std::size_t count) {
  Span s;
  for (std::size_t j = 0; j < count; ++j) {
    if (fa[j] >= 0.0 && fb[j] >= 0.0) continue;
    if (fa[j] < 0.0 && fb[j] < 0.0) {
      s.in = false;
      return s;
    }
    const double t = fa[j] / (fa[j] - fb[j]);
    if (fa[j] < 0.0) {
      if (!s.enters || t > s.t0) s.t0 = t, s.enters = true;
    } else if (!s.exits || t < s.t1) {
      s.t1 = t, s.exits = true;
    }
  }
  // A segment that only touches a corner of the region from outside has no part in it.
  s.in = s.t0 < s.t1 || (s.t0 == s.t1 && !(s.enters && s.exits));
  return s;
}

// A piece of a section contour inside the kept region.
struct Chain {
  std::vector<Vertex> points;
  bool entered = false;  // starts on the region's border
  bool exited = false;   // ends on it
};

// Cuts one contour into the chains inside the region; a closed contour that lies wholly
// inside is a loop as it is.
void CutContour(const std::vector<Vertex>& points, const std::vector<double>& values, std::size_t numPlanes,
                bool closed, std::vector<Chain>& chains, std::vector<std::vector<Vertex>>& loops) {
  const std::size_t n = points.size();
  const std::size_t numSegments = closed ? n : n - 1;
  std::vector<Span> spans(numSegments);
  for (std::size_t i = 0; i < numSegments; ++i)
    spans[i] = ClipSegment(values.data() + i * numPlanes, values.data() + (i + 1) % n * numPlanes, numPlanes);

  // A closed contour is walked from a segment that starts outside, so that no chain
  // runs across the walk's start.
  std::size_t start = 0;
  if (closed) {
    const auto outside = std::find_if(spans.begin(), spans.end(), [](const Span& s) { return !s.in || s.enters; });
    if (outside == spans.end()) {
      loops.push_back(points);
      return;
    }
    start = std::size_t(outside - spans.begin());
  }

  Chain chain;
  bool open = false;
  auto add = [&](const Vertex& p) {
    if (chain.points.empty() || !SamePlace(chain.points.back(), p)) chain.points.push_back(p);
  };
  auto finish = [&](bool exited) {
    chain.exited = exited;
    // One point on the border only touches the region.
    if (!(chain.entered && exited && chain.points.size() < 2)) chains.push_back(std::move(chain));
    chain = Chain();
    open = false;
  };
  for (std::size_t k = 0; k < numSegments; ++k) {
    const std::size_t i = (start + k) % numSegments;
    const Span& s = spans[i];
    const Vertex& a = points[i];
    const Vertex& b = points[(i + 1) % n];
    // A chain runs on until a segment exits; the checks on an open chain below only
    // matter if rounding ever made a segment disagree with its neighbour.
    if (!s.in) {
      if (open) finish(false);
      continue;
    }
    if (open && s.enters) finish(false);
    if (!open) {
      open = true;
      chain.entered = s.enters;
      add(Lerp(a, b, s.t0));
    }
    add(s.exits ? Lerp(a, b, s.t1) : b);
    if (s.exits) finish(true);
  }
  if (open) finish(false);
}

// Finds, among points not taken yet, the one nearest to a query: the points sorted by x
// and scanned outward from the query's x until x alone puts them farther than the best.
// Scans with many open contours (holes) must not cost the square of their number.
class NearestSearch {
public:
  explicit NearestSearch(std::vector<Vertex> points)
      : m_points(std::move(points)), m_order(m_points.size()), m_taken(m_points.size(), false) {
    for (std::size_t i = 0; i < m_order.size(); ++i) m_order[i] = i;
    std::sort(m_order.begin(), m_order.end(), [&](std::size_t l, std::size_t r) { return m_points[l].x < m_points[r].x; });
  }

  void Take(std::size_t i) { m_taken[i] = true; }
  bool IsTaken(std::size_t i) const { return m_taken[i]; }

  // kNone when every point is taken.
  std::size_t Nearest(const Vertex& p) const {
    const auto mid = std::lower_bound(m_order.begin(), m_order.end(), p.x,
                                      [&](std::size_t i, double x) { return m_points[i].x < x; });
    std::size_t best = kNone;
    double bestDistance = std::numeric_limits<double>::infinity();
    auto visit = [&](std::size_t i) {
      const Vertex& q = m_points[i];
      if ((q.x - p.x) * (q.x - p.x) > bestDistance) return false;
      const double d = (q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y);
      if (!m_taken[i] && (d < bestDistance || (d == bestDistance && i < best))) bestDistance = d, best = i;
      return true;
    };
    for (auto it = mid; it != m_order.end() && visit(*it); ++it) {
    }
    for (auto it = mid; it != m_order.begin() && visit(*(it - 1)); --it) {
    }
    return best;
  }

private:
  std::vector<Vertex> m_points;
  std::vector<std::size_t> m_order;
  std::vector<bool> m_taken;
};

// Joins the open contours that end inside the kept region, where the mesh has a hole on
// the kept side: each such end to the nearest start of an open contour (its own start
// where the plane crosses the hole once), each such start likewise, by straight edges.
// Contours joined round become closed. Ends outside the region stay open: the region's
// border closes those. Answers the number of joins.
template <typename Inside>
std::size_t JoinEndsInside(std::vector<std::vector<Vertex>>& contours, std::vector<bool>& closed, Inside inside) {
  std::vector<std::size_t> open;
  for (std::size_t c = 0; c < contours.size(); ++c)
    if (!closed[c]) open.push_back(c);
  const std::size_t n = open.size();
  std::vector<std::size_t> next(n, kNone), prev(n, kNone);
  std::vector<Vertex> firsts, lasts;
  for (std::size_t c : open) firsts.push_back(contours[c].front()), lasts.push_back(contours[c].back());
  NearestSearch starts(firsts), ends(lasts);
  // Every join takes one end and one start, so a free partner is always left.
  std::size_t joins = 0;
  auto join = [&](std::size_t from, std::size_t to) {
    next[from] = to;
    prev[to] = from;
    ends.Take(from);
    starts.Take(to);
    ++joins;
  };
  for (std::size_t e = 0; e < n; ++e)
    if (inside(lasts[e])) join(e, starts.Nearest(lasts[e]));
  for (std::size_t s = 0; s < n; ++s)
    if (!starts.IsTaken(s) && inside(firsts[s])) join(ends.Nearest(firsts[s]), s);
  if (joins == 0) return 0;

  std::vector<std::vector<Vertex>> joined;
  std::vector<bool> joinedClosed;
  for (std::size_t c = 0; c < contours.size(); ++c)
    if (closed[c]) joined.push_back(std::move(contours[c])), joinedClosed.push_back(true);
  std::vector<bool> done(n, false);
  auto follow = [&](std::size_t first) {
    std::vector<Vertex>& points = joined.emplace_back();
    for (std::size_t k = first; k != kNone && !done[k]; k = next[k]) {
      done[k] = true;
      for (const Vertex& p : contours[open[k]])
        if (points.empty() || !SamePlace(points.back(), p)) points.push_back(p);
    }
  };
  // Runs of joined contours first, from the one no join leads into; then rings.
  for (std::size_t k = 0; k < n; ++k)
    if (prev[k] == kNone) follow(k), joinedClosed.push_back(false);
  for (std::size_t k = 0; k < n; ++k)
    if (!done[k]) {
      follow(k);
      std::vector<Vertex>& ring = joined.back();
      while (ring.size() > 1 && SamePlace(ring.front(), ring.back())) ring.pop_back();
      joinedClosed.push_back(true);
    }
  contours = std::move(joined);
  closed = std::move(joinedClosed);
  return joins;
}

// Twice the area the contours enclose, signed, each closed by a straight edge if open.
double TwiceArea(const std::vector<std::vector<Vertex>>& contours) {
  double twice = 0.0;
  for (const std::vector<Vertex>& c : contours)
    for (std::size_t i = 0; i < c.size(); ++i) {
      const Vertex& a = c[i];
      const Vertex& b = c[(i + 1) % c.size()];
      twice += a.x * b.y - b.x * a.y;
    }
  return twice;
}

double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// Whether (px, py) lies on the solid side of the part of the section nearest to it.
bool InSolid(const std::vector<std::vector<Vertex>>& contours, const std::vector<bool>& closed, double px, double py) {
  double best = std::numeric_limits<double>::infinity();
  std::size_t bestContour = kNone, bestSegment = 0;
  double bestT = 0.0;
  for (std::size_t c = 0; c < contours.size(); ++c) {
    const std::vector<Vertex>& points = contours[c];
    const std::size_t numSegments = closed[c] ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < numSegments; ++i) {
      const Vertex& a = points[i];
      const Vertex& b = points[(i + 1) % points.size()];
      const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
      if (length2 == 0.0) continue;
      const double t = std::clamp(((px - a.x) * dx + (py - a.y) * dy) / length2, 0.0, 1.0);
      const double ex = a.x + dx * t - px, ey = a.y + dy * t - py;
      if (ex * ex + ey * ey < best) best = ex * ex + ey * ey, bestContour = c, bestSegment = i, bestT = t;
    }
  }
  if (bestContour == kNone) return false;
  const std::vector<Vertex>& points = contours[bestContour];
  const std::size_t n = points.size(), numSegments = closed[bestContour] ? n : n - 1;
  auto side = [&](std::size_t segment, const Vertex& from) {
    const Vertex& a = points[segment];
    const Vertex& b = points[(segment + 1) % n];
    return Cross(b.x - a.x, b.y - a.y, px - from.x, py - from.y);
  };
  // Nearest to a corner, both segments there count: inside a convex corner the point is
  // left of both, inside a reflex one left of either.
  std::size_t in = bestSegment, out = bestSegment;
  if (bestT == 0.0 && (closed[bestContour] || bestSegment > 0)) in = (bestSegment + numSegments - 1) % numSegments;
  if (bestT == 1.0 && (closed[bestContour] || bestSegment + 1 < numSegments)) out = (bestSegment + 1) % numSegments;
  if (in == out) return side(in, points[in]) > 0.0;
  const Vertex& corner = points[out];
  const Vertex& before = points[in];
  const Vertex& after = points[(out + 1) % n];
  const bool convex = Cross(corner.x - before.x, corner.y - before.y, after.x - corner.x, after.y - corner.y) >= 0.0;
  const double first = side(in, corner), second = side(out, corner);
  return convex ? first > 0.0 && second > 0.0 : first > 0.0 || second > 0.0;
}

// The kept region in plane coordinates: a convex polygon, counter-clockwise.
using Region = std::vector<Vertex>;

// Keeps the part of the region where a*x + b*y + c >= 0.
Region ClipRegion(const Region& region, double a, double b, double c) {
  Region out;
  const std::size_t n = region.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Vertex& p = region[i];
    const Vertex& q = region[(i + 1) % n];
    const double fp = a * p.x + b * p.y + c, fq = a * q.x + b * q.y + c;
    if (fp >= 0.0) out.push_back(p);
    if ((fp >= 0.0) != (fq >= 0.0)) {
      const double t = fp / (fp - fq);
      out.push_back({{}, p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t});
    }
  }
  return out;
}

// Where a point on the region's border lies along it: the number of the edge (from
// corner i to corner i + 1) plus the fraction along it, in [0, corners).
double BorderPosition(const Region& region, const Vertex& p) {
  const std::size_t n = region.size();
  double best = std::numeric_limits<double>::infinity(), position = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const Vertex& a = region[i];
    const Vertex& b = region[(i + 1) % n];
    const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
    const double t = length2 > 0.0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    const double ex = a.x + dx * t - p.x, ey = a.y + dy * t - p.y;
    const double distance2 = ex * ex + ey * ey;
    if (distance2 < best) best = distance2, position = double(i) + t;
  }
  return position >= double(n) ? 0.0 : position;
}

// How a chain's end leads on to the start of the next chain of its loop.
struct Link {
  std::size_t to = kNone;
  bool alongBorder = false;  // else straight
  bool wraps = false;        // the border part passes position 0
  double from = 0.0, until = 0.0;
};

// Each exit is continued counter-clockwise along the region's border to the next entry,
// pairing them as brackets pair on a circle; at one place exits come first, so that the
// border between them is empty. Ends that find no partner are left unlinked.
std::vector<Link> PairAlongBorder(const std::vector<Chain>& chains, const Region& region) {
  struct Event {
    double position;
    bool exit;
    std::size_t chain;
  };
  std::vector<Event> events;
  for (std::size_t c = 0; c < chains.size(); ++c) {
    if (chains[c].entered) events.push_back({BorderPosition(region, chains[c].points.front()), false, c});
    if (chains[c].exited) events.push_back({BorderPosition(region, chains[c].points.back()), true, c});
  }
  std::sort(events.begin(), events.end(), [](const Event& l, const Event& r) {
    return l.position != r.position ? l.position < r.position : l.exit > r.exit;
  });
  std::vector<Link> next(chains.size());
  auto pair = [&](const Event& exit, const Event& entry, bool wraps) {
    next[exit.chain] = {entry.chain, true, wraps, exit.position, entry.position};
  };
  std::vector<std::size_t> openExits, waitingEntries;
  for (std::size_t e = 0; e < events.size(); ++e) {
    if (events[e].exit) {
      openExits.push_back(e);
    } else if (!openExits.empty()) {
      pair(events[openExits.back()], events[e], false);
      openExits.pop_back();
    } else {
      waitingEntries.push_back(e);
    }
  }
  for (std::size_t e : waitingEntries) {
    if (openExits.empty()) break;
    pair(events[openExits.back()], events[e], true);
    openExits.pop_back();
  }
  return next;
}

// Ends left unlinked (only where the section's orientation disagrees with itself) are
// joined straight: a chain's end to its own start where that is free, else to the
// nearest free start. Answers the number of joins.
std::size_t JoinLeftOpen(const std::vector<Chain>& chains, std::vector<Link>& next) {
  std::vector<Vertex> firsts;
  for (const Chain& chain : chains) firsts.push_back(chain.points.front());
  NearestSearch starts(std::move(firsts));
  for (const Link& link : next)
    if (link.to != kNone) starts.Take(link.to);
  std::size_t joins = 0;
  auto join = [&](std::size_t from, std::size_t to) {
    next[from].to = to;
    starts.Take(to);
    ++joins;
  };
  for (std::size_t c = 0; c < chains.size(); ++c)
    if (next[c].to == kNone && !starts.IsTaken(c)) join(c, c);
  for (std::size_t c = 0; c < chains.size(); ++c)
    if (next[c].to == kNone) join(c, starts.Nearest(chains[c].points.back()));
  return joins;
}

// Every chain has one successor and one predecessor now: follows them round into loops.
void FollowLinks(const std::vector<Chain>& chains, const std::vector<Link>& next, const Region& region,
                 std::vector<std::vector<Vertex>>& loops) {
  std::vector<bool> done(chains.size(), false);
  for (std::size_t c0 = 0; c0 < chains.size(); ++c0) {
    if (done[c0]) continue;
    std::vector<Vertex>& loop = loops.emplace_back();
    auto add = [&](const Vertex& p) {
      if (loop.empty() || !SamePlace(loop.back(), p)) loop.push_back(p);
    };
    for (std::size_t c = c0; !done[c]; c = next[c].to) {
      done[c] = true;
      for (const Vertex& p : chains[c].points) add(p);
      const Link& link = next[c];
      if (!link.alongBorder) continue;
      // The region's corners strictly between the exit and the entry.
      const std::size_t n = region.size();
      for (std::size_t k = std::size_t(link.from) + 1; k < (link.wraps ? n : std::size_t(std::ceil(link.until))); ++k)
        add(region[k]);
      if (link.wraps)
        for (std::size_t k = 0; double(k) < link.until; ++k) add(region[k]);
    }
  }
}

}  // namespace

MSectionCap::MSectionCap(const MStlSlicerBase::Border& section, const MMPlaneEq<double>& plane,
                         const std::vector<MMPlaneEq<double>>& keep) {
  Point u, v;
  if (!std::isfinite(plane.d) || !MNewSlicer::MakePlaneBasis(plane.Normal(), u, v)) return;
  const double length = plane.Normal().Length();
  const Point normal = plane.Normal() / length;
  const double height = -plane.d / length;  // normal . q of the plane's points

  // Keep planes with unit normals, so that their values are distances.
  std::vector<MMPlaneEq<double>> planes;
  for (const MMPlaneEq<double>& k : keep) {
    const double l = k.Normal().Length();
    if (std::isfinite(l) && l > 0.0 && std::isfinite(k.d)) planes.push_back({k.a / l, k.b / l, k.c / l, k.d / l});
  }
  const std::size_t numPlanes = planes.size();

  // The contours in plane coordinates, and the extent they span.
  std::vector<std::vector<Vertex>> contours;
  std::vector<bool> closed;
  double xMin = 0.0, xMax = 0.0, yMin = 0.0, yMax = 0.0, size = 1.0;
  bool first = true;
  for (std::size_t c = 0; c < section.GetNumContours(); ++c) {
    const MStlSlicerBase::Contour& contour = section.GetContour(c);
    if (contour.GetNumPoints() < 2) continue;
    std::vector<Vertex>& points = contours.emplace_back();
    closed.push_back(contour.IsClosed());
    for (const auto& p : contour.GetPoints()) {
      const Point& q = p.data.point;
      const Vertex vertex{q, q.Dot(u), q.Dot(v)};
      points.push_back(vertex);
      xMin = first ? vertex.x : std::min(xMin, vertex.x), xMax = first ? vertex.x : std::max(xMax, vertex.x);
      yMin = first ? vertex.y : std::min(yMin, vertex.y), yMax = first ? vertex.y : std::max(yMax, vertex.y);
      size = std::max({size, std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)});
      first = false;
    }
  }
  if (contours.empty()) return;
  // The solid lies left of the contours of a mesh wound counter-clockwise from outside;
  // a mesh wound the other way round throughout is taken the same way.
  if (TwiceArea(contours) < 0.0)
    for (std::vector<Vertex>& c : contours) std::reverse(c.begin(), c.end());

  // The kept region: a box well around the section, cut by each keep plane's line.
  const double margin = std::max({xMax - xMin, yMax - yMin, 1.0});
  const double left = xMin - margin, right = xMax + margin, bottom = yMin - margin, top = yMax + margin;
  Region region{{{}, left, bottom}, {{}, right, bottom}, {{}, right, top}, {{}, left, top}};
  for (const MMPlaneEq<double>& k : planes)
    region = ClipRegion(region, k.Normal().Dot(u), k.Normal().Dot(v), k.Normal().Dot(normal) * height + k.d);
  if (region.size() < 3) return;  // the other planes keep nothing of this plane
  for (Vertex& corner : region) corner.q = u * corner.x + v * corner.y + normal * height;
  // Whether the planes bound the region on their own; where the box does, the region
  // reaches beyond every mesh. (Points cut from a box side keep its coordinate exactly.)
  bool bounded = true;
  for (std::size_t i = 0; i < region.size(); ++i) {
    const Vertex& p = region[i];
    const Vertex& q = region[(i + 1) % region.size()];
    if ((p.x == left && q.x == left) || (p.x == right && q.x == right) || (p.y == bottom && q.y == bottom) ||
        (p.y == top && q.y == top))
      bounded = false;
  }

  // A contour end lying on a keep plane's line, though not crossing it (the mesh's own
  // border runs along the line there), is on the region's border all the same.
  const double onLine = 1e-9 * size;
  m_joins = JoinEndsInside(contours, closed, [&](const Vertex& p) {
    return std::all_of(planes.begin(), planes.end(), [&](const MMPlaneEq<double>& k) { return k.Evaluate(p.q) > onLine; });
  });
  std::vector<Chain> chains;
  std::vector<std::vector<Vertex>> loops;
  std::vector<double> values;
  for (std::size_t c = 0; c < contours.size(); ++c) {
    values.resize(contours[c].size() * numPlanes);
    for (std::size_t i = 0; i < contours[c].size(); ++i)
      for (std::size_t j = 0; j < numPlanes; ++j) values[i * numPlanes + j] = planes[j].Evaluate(contours[c][i].q);
    CutContour(contours[c], values, numPlanes, closed[c], chains, loops);
  }
  auto onBorder = [&](const Vertex& p) {
    return std::any_of(planes.begin(), planes.end(), [&](const MMPlaneEq<double>& k) {
      return std::fabs(k.Evaluate(p.q)) <= onLine;
    });
  };
  for (Chain& chain : chains) {
    chain.entered = chain.entered || onBorder(chain.points.front());
    chain.exited = chain.exited || onBorder(chain.points.back());
  }

  std::vector<Link> next = PairAlongBorder(chains, region);
  // No chain meets the region's border: the border lies wholly in the solid or wholly out.
  const bool anyOnBorder = std::any_of(chains.begin(), chains.end(), [](const Chain& c) { return c.entered || c.exited; });
  if (!anyOnBorder && bounded &&
      InSolid(contours, closed, (region[0].x + region[1].x) / 2, (region[0].y + region[1].y) / 2))
    loops.push_back(region);
  m_joins += JoinLeftOpen(chains, next);
  FollowLinks(chains, next, region, loops);

  for (std::vector<Vertex>& loop : loops) {
    while (loop.size() > 1 && SamePlace(loop.front(), loop.back())) loop.pop_back();
    if (loop.size() < 3) continue;
    Loop& out = m_loops.emplace_back();
    out.reserve(loop.size());
    for (const Vertex& p : loop) out.push_back(p.q);
  }
}
