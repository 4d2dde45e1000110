#include "host/framework/MClipRegion.h"

#include "host/framework/MMTransform.h"

#include <cmath>

namespace {

using Point = MClipRegion::Point;

double Evaluate(const MMPlaneEq<double>& e, const Point& p) { return e.a * p.x + e.b * p.y + e.c * p.z + e.d; }

// The size of the terms of the equation at p: a point computed to lie on the plane is off
// by a few units of rounding of this.
double Scale(const MMPlaneEq<double>& e, const Point& p) {
  return std::fabs(e.a * p.x) + std::fabs(e.b * p.y) + std::fabs(e.c * p.z) + std::fabs(e.d);
}

constexpr double kRelativeTolerance = 1e-9;

bool InBox(const M3DBoundingBox<double>& box, const Point& p) {
  auto within = [](double v, double lo, double hi) {
    const double slack = kRelativeTolerance * (std::fabs(lo) + std::fabs(hi) + 1e-300);
    return v >= lo - slack && v <= hi + slack;
  };
  return within(p.x, box.xmin, box.xmax) && within(p.y, box.ymin, box.ymax) && within(p.z, box.zmin, box.zmax);
}

}  // namespace

bool MClipRegion::Keeps(const Point& p) const {
  for (const auto& e : m_planes)
    if (Evaluate(e, p) < -kRelativeTolerance * Scale(e, p)) return false;
  return true;
}

MClipRegion MClipRegion::Pulled(const MMTransform& toRegion) const {
  if (m_planes.empty() || toRegion.IsIdentity()) return *this;
  double m[16];
  toRegion.GetMatrixDouble(m);
  MClipRegion pulled;
  for (const auto& e : m_planes) {
    const double row[4] = {e.a, e.b, e.c, e.d};
    double out[4];
    for (int c = 0; c < 4; ++c) out[c] = row[0] * m[c] + row[1] * m[4 + c] + row[2] * m[8 + c] + row[3] * m[12 + c];
    pulled.AddPlane({out[0], out[1], out[2], out[3]});
  }
  return pulled;
}

void MClipRegion::AddKeptPolygon(const Point* corners, std::size_t count, std::vector<Point>& out) const {
  std::vector<Point> polygon(corners, corners + count), next;
  // Sutherland-Hodgman, one plane at a time: a convex polygon stays convex.
  for (const auto& e : m_planes) {
    if (polygon.empty()) return;
    next.clear();
    for (std::size_t i = 0; i < polygon.size(); ++i) {
      const Point& a = polygon[i];
      const Point& b = polygon[(i + 1) % polygon.size()];
      const double da = Evaluate(e, a), db = Evaluate(e, b);
      if (da >= 0) next.push_back(a);
      if ((da >= 0) != (db >= 0)) next.push_back(a + (b - a) * (da / (da - db)));
    }
    polygon.swap(next);
  }
  out.insert(out.end(), polygon.begin(), polygon.end());
}

void MClipRegion::AddKeptBox(const M3DBoundingBox<double>& box, std::vector<Point>& out) const {
  if (!box.IsValid()) return;
  if (m_planes.empty()) {
    for (int i = 0; i < 8; ++i) out.push_back(box.Corner(i));
    return;
  }
  // Each face as four corners in order around it; bit `axis` of the corner index fixed.
  for (int axis = 1; axis < 8; axis <<= 1) {
    const int u = axis == 1 ? 2 : 1, v = axis == 4 ? 2 : 4;
    for (int side : {0, axis}) {
      const Point face[4] = {box.Corner(side), box.Corner(side | u), box.Corner(side | u | v), box.Corner(side | v)};
      AddKeptPolygon(face, 4, out);
    }
  }
  AddInnerCorners(box, out);
}

void MClipRegion::AddInnerCorners(const M3DBoundingBox<double>& box, std::vector<Point>& out) const {
  if (!box.IsValid()) return;
  const std::size_t n = m_planes.size();
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 1; j < n; ++j)
      for (std::size_t k = j + 1; k < n; ++k) {
        const MMPlaneEq<double>&p = m_planes[i], &q = m_planes[j], &r = m_planes[k];
        const Point n1 = p.Normal(), n2 = q.Normal(), n3 = r.Normal();
        const Point c23 = n2.Cross(n3), c31 = n3.Cross(n1), c12 = n1.Cross(n2);
        const double det = n1.Dot(c23);
        // Planes (nearly) sharing a direction meet in a line or not at all.
        if (!(std::fabs(det) > 1e-12 * n1.Length() * n2.Length() * n3.Length())) continue;
        const Point corner = (c23 * -p.d + c31 * -q.d + c12 * -r.d) / det;
        if (InBox(box, corner) && Keeps(corner)) out.push_back(corner);
      }
}
