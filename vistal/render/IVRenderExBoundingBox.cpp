// IVRenderEx::CBoundingBox: building, drawing and hit-testing the box manipulator.
#include "vistal/render/IVRenderExBoundingBox.h"

#include "host/framework/MMTransformException.h"
#include "host/framework/UIObject.h"
#include "host/gdi/WinUser.h"
#include "host/win/MulDiv.h"
#include "vistal/render/Implementation/PixelRounding.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

using vistal_render::CompareAngles;
using vistal_render::RoundToPixel;

namespace {

using Box = IVRenderEx::CBoundingBox;

constexpr LONG kIntMax = std::numeric_limits<LONG>::max();
constexpr LONG kIntMin = std::numeric_limits<LONG>::min();

std::int64_t Squared(std::int64_t v) { return v * v; }

std::uint64_t SquaredDistance(POINT a, POINT b) {
  return std::uint64_t(Squared(std::int64_t(a.x) - b.x) + Squared(std::int64_t(a.y) - b.y));
}

// Counter-clockwise angle of a vector from the positive x axis, in [0, 2 pi).
double Angle(double x, double y) {
  const double a = std::atan2(y, x);
  return a < 0 ? a + 2 * std::numbers::pi : a;
}

struct Vec {
  double x, y;
};

int Compare(Vec a, Vec b) { return CompareAngles(a.x, a.y, b.x, b.y); }

}  // namespace

const std::uint8_t IVRenderEx::CBoundingBox::mga_lines_indeces[12][2] = {
    {0, 3}, {5, 6}, {4, 7}, {1, 2},  // along z
    {3, 6}, {2, 7}, {1, 4}, {0, 5},  // along y
    {0, 1}, {3, 2}, {6, 7}, {5, 4},  // along x
};

IVRenderEx::CBoundingBox::Configuration::Configuration() {
  const double cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  const int diagonal = int(RoundToPixel(std::sqrt(cx * cx + cy * cy)));
  centerRadius = diagonal / 250;
  centerRadiusExtra = int(unsigned(centerRadius) * 3u / 2u + 1u);
  extent = diagonal / 12;
  handleLength = unsigned(MulDiv(centerRadius, 6, 4));
  handlePercent = 10;
  margin = unsigned(centerRadius);
}

// Until the first projection the box is empty on screen: no bounds, no nearest corner
// and zero-sized handles, so that nothing is drawn or hit.
IVRenderEx::CBoundingBox::CBoundingBox(bool enabled)
    : centerEnabled(enabled), boundsOnScreen(kIntMax, kIntMax, kIntMin, kIntMin) {}

void IVRenderEx::CBoundingBox::SetCenter(const MMPoint3d<double>& p) {
  centerFixed = true;
  center = p;
  centerOnScreen = CPoint(int(p.x), int(p.y));
}

void IVRenderEx::CBoundingBox::GetAnEdgeForAxis(EAxis axis, MMPoint3d<double>& a, MMPoint3d<double>& b) const {
  a = vertices[mga_lines_indeces[4 * axis][0]];
  b = vertices[mga_lines_indeces[4 * axis][1]];
}

void IVRenderEx::CBoundingBox::Build(const MMPoint3d<double>& lo, const MMPoint3d<double>& hi) {
  vertices[0] = {lo.x, lo.y, lo.z};
  vertices[1] = {hi.x, lo.y, lo.z};
  vertices[2] = {hi.x, lo.y, hi.z};
  vertices[3] = {lo.x, lo.y, hi.z};
  vertices[4] = {hi.x, hi.y, lo.z};
  vertices[5] = {lo.x, hi.y, lo.z};
  vertices[6] = {lo.x, hi.y, hi.z};
  vertices[7] = {hi.x, hi.y, hi.z};
  if (!centerEnabled)
    center = {0, 0, 0};
  else if (!centerFixed)
    center = (vertices[0] + vertices[7]) * 0.5;
}

bool IVRenderEx::CBoundingBox::Build(UIObject* object, UIWnd3D* window) {
  M3DBoundingBox<float> box;
  IVRenderEx::GetBoundingBox(box, object);
  Build(MMPoint3d<double>(box.xmin, box.ymin, box.zmin), MMPoint3d<double>(box.xmax, box.ymax, box.zmax));

  MMPoint3d<double> in[9], out[9];
  std::copy(vertices, vertices + 8, in);
  in[8] = center;
  const unsigned n = centerEnabled ? 9 : 8;
  // An object without extent has nothing to project; a point in the eye's plane throws
  // from the projective transform. Both leave the box empty on screen.
  bool projected = object && window && box.IsValid();
  if (projected) {
    try {
      projected = IVRenderEx::Get3DPointInWindowCoordinates(out, in, object, window, n);
    } catch (const MMTransformException&) {
      projected = false;
    }
    for (unsigned i = 0; projected && i < n; ++i)
      projected = std::isfinite(out[i].x) && std::isfinite(out[i].y) && std::isfinite(out[i].z);
  }
  nearestVertex = -1;
  boundsOnScreen = CRect(kIntMax, kIntMax, kIntMin, kIntMin);
  if (!projected) return false;

  nearestVertex = 0;
  for (unsigned i = 0; i < 8; ++i) {
    const CPoint p(RoundToPixel(out[i].x), RoundToPixel(out[i].y));
    verticesOnScreen[i] = p;
    boundsOnScreen.left = std::min(boundsOnScreen.left, p.x);
    boundsOnScreen.top = std::min(boundsOnScreen.top, p.y);
    boundsOnScreen.right = std::max(boundsOnScreen.right, p.x);
    boundsOnScreen.bottom = std::max(boundsOnScreen.bottom, p.y);
    if (out[i].z < out[nearestVertex].z) nearestVertex = int(i);
  }
  centerOnScreen = centerEnabled ? CPoint(RoundToPixel(out[8].x), RoundToPixel(out[8].y)) : CPoint(0, 0);
  centerDistanceFromScreen = centerEnabled ? out[8].z : 0.0;

  if (configuration.handlePercent == 0) return true;
  std::uint64_t longest = 0;
  for (unsigned k = 0; k < 3; ++k) {
    const CPoint& a = verticesOnScreen[mga_lines_indeces[4 * k][0]];
    const CPoint& b = verticesOnScreen[mga_lines_indeces[4 * k][1]];
    handleSizes[k] = _HandleSize(std::abs(a.x - b.x), std::abs(a.y - b.y));
    const std::uint64_t length = std::uint64_t(Squared(handleSizes[k].cx) + Squared(handleSizes[k].cy));
    if (k == 0 || length > longest) {
      longest = length;
      referenceAxis = k;
    }
  }
  return true;
}

CSize IVRenderEx::CBoundingBox::_HandleSize(int dx, int dy) const {
  const int p = std::min<int>(configuration.handlePercent, 50);
  const CSize share(MulDiv(dx, p, 100), MulDiv(dy, p, 100));
  if (p == 50) return share;
  const std::int64_t length = configuration.handleLength;
  const std::int64_t wanted = length * length;
  if (wanted <= Squared(share.cx) + Squared(share.cy)) return share;

  // A stroke of handleLength along the edge, shorter than half the edge.
  const int u = dx / 2, v = dy / 2;
  CSize stroke;
  if (dx == 0) {
    stroke = CSize(0, int(std::min<std::int64_t>(length, v)));
  } else if (dy == 0 || v == 0) {
    // An edge one pixel tall has no vertical half to share: the stroke lies flat, as the
    // general case does in its limit.
    stroke = CSize(int(std::min<std::int64_t>(length, u)), 0);
  } else {
    const std::int64_t w = Squared(u) + Squared(v);
    const double r = double(w < wanted ? w - 1 : wanted);
    const double t = double(u) / double(v);
    const double h = std::sqrt(r / (t * t + 1));
    stroke = CSize(int(RoundToPixel(t * h)), int(RoundToPixel(h)));
  }
  if (stroke.cx > u || stroke.cy > v) return share;
  return stroke;
}

void IVRenderEx::CBoundingBox::RenderCenterSpot(CDC& dc) const {
  const int r = configuration.centerRadius;
  dc.Ellipse(centerOnScreen.x - r, centerOnScreen.y - r, centerOnScreen.x + r, centerOnScreen.y + r);
}

void IVRenderEx::CBoundingBox::RenderHandles(CDC& dc, bool farEdges) const {
  for (unsigned row = 0; row < 12; ++row) {
    const int ia = mga_lines_indeces[row][0], ib = mga_lines_indeces[row][1];
    const bool near = ia == nearestVertex || ib == nearestVertex;
    if (near == farEdges) continue;
    const CPoint& a = verticesOnScreen[ia];
    const CPoint& b = verticesOnScreen[ib];
    int hx = handleSizes[row / 4].cx, hy = handleSizes[row / 4].cy;
    if (a.x > b.x) hx = -hx;
    if (a.y > b.y) hy = -hy;
    dc.MoveTo(a);
    dc.LineTo(a.x + hx, a.y + hy);
    dc.MoveTo(b);
    dc.LineTo(b.x - hx, b.y - hy);
  }
}

unsigned int IVRenderEx::CBoundingBox::FindClosestPoint(CPoint pt, std::uint64_t* squaredDistance) const {
  unsigned best = 0;
  std::uint64_t bestDistance = SquaredDistance(verticesOnScreen[0], pt);
  for (unsigned i = 1; i < 8; ++i) {
    const std::uint64_t d = SquaredDistance(verticesOnScreen[i], pt);
    if (d < bestDistance) best = i, bestDistance = d;
  }
  if (squaredDistance) *squaredDistance = bestDistance;
  return best;
}

bool IVRenderEx::CBoundingBox::WhereIsTheMouseQuickTest(CPoint pt) const {
  CRect area = boundsOnScreen;
  area.InflateRect(int(configuration.margin), int(configuration.margin));
  return area.PtInRect(pt);
}

Box::EMouseType IVRenderEx::CBoundingBox::WhereIsTheMouse(EAxis& axis, unsigned int& vertex, CPoint pt) {
  std::int64_t r = configuration.centerRadius;
  // In 64 bits: the empty bounds of a failed build span the whole int range.
  const std::int64_t width = std::int64_t(boundsOnScreen.right) - boundsOnScreen.left;
  const std::int64_t height = std::int64_t(boundsOnScreen.bottom) - boundsOnScreen.top;
  if (2 * r < width && 2 * r < height) r += configuration.centerRadiusExtra;
  if (SquaredDistance(pt, centerOnScreen) <= std::uint64_t(r * r)) {
    vertex = 8;
    return eMouseCenter;
  }

  std::uint64_t d2 = 0;
  const unsigned v = FindClosestPoint(pt, &d2);
  vertex = v;
  const std::int64_t margin = configuration.margin;
  const CSize& reference = handleSizes[referenceAxis];
  if (d2 >= std::uint64_t(Squared(reference.cx + margin) + Squared(reference.cy + margin))) return eMouseOutside;

  // The three strokes at the corner and the pointer, with y pointing up.
  const CPoint& c = verticesOnScreen[v];
  Vec e[3]{};
  for (unsigned row = 0; row < 12; ++row) {
    const unsigned a = mga_lines_indeces[row][0], b = mga_lines_indeces[row][1];
    if (a != v && b != v) continue;
    const CPoint& o = verticesOnScreen[a == v ? b : a];
    const CSize& size = handleSizes[row / 4];
    e[row / 4] = {double(o.x > c.x ? size.cx : -size.cx), double(o.y <= c.y ? size.cy : -size.cy)};
  }
  const Vec m{double(pt.x - c.x), double(c.y - pt.y)};

  unsigned s[3] = {0, 1, 2};
  for (auto [i, j] : {std::pair{0, 1}, std::pair{1, 2}, std::pair{0, 1}})
    if (Compare(e[s[i]], e[s[j]]) > 0) std::swap(s[i], s[j]);

  // Sector i lies between s[i] and s[i + 1], counter-clockwise. A pointer exactly along a
  // stroke takes the narrower of the stroke's two sectors: at a corner on the outline of
  // the box on screen the wider one opens onto the outside, and the pointer is on the
  // face the user sees.
  auto span = [&](int i) {
    const Vec a = e[s[i]], b = e[s[(i + 1) % 3]];
    const double d = Angle(b.x, b.y) - Angle(a.x, a.y);
    return d < 0 ? d + 2 * std::numbers::pi : d;
  };
  int sector = -1;
  for (int i = 0; i < 3 && sector < 0; ++i)
    if (Compare(m, e[s[i]]) == 0) sector = span((i + 2) % 3) < span(i) ? (i + 2) % 3 : i;
  if (sector < 0) {
    if (Compare(e[s[0]], m) < 0 && Compare(m, e[s[1]]) < 0)
      sector = 0;
    else if (Compare(e[s[1]], m) < 0 && Compare(m, e[s[2]]) < 0)
      sector = 1;
    else
      sector = 2;
  }

  const double tol = double(margin) + 0.0003452669770922512;
  auto onStroke = [&](Vec stroke) {
    if (m.x < std::min(0.0, stroke.x) - tol || m.x > std::max(0.0, stroke.x) + tol) return false;
    if (m.y < std::min(0.0, stroke.y) - tol || m.y > std::max(0.0, stroke.y) + tol) return false;
    if (stroke.x <= 1 || stroke.y <= 1) return true;
    // Within tol of the stroke's line, measured across it, so that the band is equally
    // wide whatever the stroke's slope.
    return std::fabs(stroke.x * m.y - stroke.y * m.x) <= tol * std::hypot(stroke.x, stroke.y);
  };
  const unsigned first = s[sector], second = s[(sector + 1) % 3];
  if (onStroke(e[first]) || onStroke(e[second])) {
    axis = EAxis(3 - first - second);
    return eMouseHandle;
  }
  return eMouseOutside;
}
