#include "host/framework/MCamera.h"

#include "host/framework/IRender.h"
#include "host/framework/M3DBoundingBox.h"
#include "host/framework/MTransformRepository.h"
#include "host/framework/UIObject.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

namespace {

using Point = MCamera::Point;

constexpr double kDegrees = std::numbers::pi / 180.0;

bool Finite(const Point& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

Point Normalised(const Point& p) {
  const double l = p.Length();
  return l > 0 ? p / l : p;
}

// Rows of the rotation by `degrees` about the unit axis (right-handed).
void AxisRotation(const Point& a, double degrees, double s[3][3]) {
  const double c = std::cos(degrees * kDegrees), n = std::sin(degrees * kDegrees), t = 1.0 - c;
  s[0][0] = c + t * a.x * a.x;
  s[0][1] = t * a.x * a.y - n * a.z;
  s[0][2] = t * a.x * a.z + n * a.y;
  s[1][0] = t * a.y * a.x + n * a.z;
  s[1][1] = c + t * a.y * a.y;
  s[1][2] = t * a.y * a.z - n * a.x;
  s[2][0] = t * a.z * a.x - n * a.y;
  s[2][1] = t * a.z * a.y + n * a.x;
  s[2][2] = c + t * a.z * a.z;
}

void Multiply(const double a[3][3], const double b[3][3], double out[3][3]) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
}

MMTransformMatrix FromRows(const double m[4][4]) {
  double flat[16];
  for (int i = 0; i < 16; ++i) flat[i] = m[i / 4][i % 4];
  return MMTransformMatrix(flat);
}

// The window transform after the clip matrix: x and y from -1..1 to pixels (y downwards),
// depth from -1..1 to 0..1.
void Viewport(unsigned width, unsigned height, double v[4][4]) {
  const double w = width, h = height;
  const double rows[4][4] = {{w / 2, 0, 0, w / 2}, {0, -h / 2, 0, h / 2}, {0, 0, 0.5, 0.5}, {0, 0, 0, 1}};
  std::copy(&rows[0][0], &rows[0][0] + 16, &v[0][0]);
}

// The box of points, and whether any was finite.
M3DBoundingBox<double> BoxOf(const std::vector<Point>& points) {
  M3DBoundingBox<double> box;
  for (const Point& p : points)
    if (Finite(p)) box.Add(p);
  return box;
}

// The shift s along one picture axis that centres the projections (x - s) / depth: the sum
// of the largest and the smallest projection falls as s rises and is zero between `lo`
// (where it is not negative) and `hi`. The sum is piecewise linear, so Newton steps from
// the pieces that are active land on the root in a few steps; a step that leaves the
// bracket halves it instead.
double Centre(const std::vector<double>& along, const std::vector<double>& inverseDepth, double lo, double hi) {
  double s = 0.5 * (lo + hi);
  for (int i = 0; i < 200; ++i) {
    double most = -INFINITY, least = INFINITY, slopeMost = 0, slopeLeast = 0;
    for (std::size_t k = 0; k < along.size(); ++k) {
      const double x = (along[k] - s) * inverseDepth[k];
      if (x > most) most = x, slopeMost = inverseDepth[k];
      if (x < least) least = x, slopeLeast = inverseDepth[k];
    }
    const double sum = most + least;
    if (sum == 0) break;
    (sum > 0 ? lo : hi) = s;
    double next = s + sum / (slopeMost + slopeLeast);
    if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
    if (next == s || !(hi - lo > 1e-15 * (std::fabs(lo) + std::fabs(hi)))) break;
    s = next;
  }
  return s;
}

}  // namespace

MCamera::MCamera() {
  m_window_system.GetInternalSystem()->SetDependent(m_eye_system.GetInternalSystem());
  Reset();
}

MCamera::MCamera(const MCamera& other)
    : m_width(other.m_width),
      m_height(other.m_height),
      m_projection(other.m_projection),
      m_field_of_view(other.m_field_of_view),
      m_margin(other.m_margin),
      m_up_axis(other.m_up_axis),
      m_right(other.m_right),
      m_up(other.m_up),
      m_back(other.m_back),
      m_eye(other.m_eye),
      m_window_x(other.m_window_x),
      m_window_y(other.m_window_y),
      m_half_height(other.m_half_height),
      m_near(other.m_near),
      m_far(other.m_far),
      m_rotation_center(other.m_rotation_center),
      m_kept_region(other.m_kept_region) {
  m_window_system.GetInternalSystem()->SetDependent(m_eye_system.GetInternalSystem());
  _Update();
}

MCamera& MCamera::operator=(const MCamera& other) {
  if (this == &other) return *this;
  // Everything but the coordinate systems, which stay this camera's own.
  m_width = other.m_width;
  m_height = other.m_height;
  m_projection = other.m_projection;
  m_field_of_view = other.m_field_of_view;
  m_margin = other.m_margin;
  m_up_axis = other.m_up_axis;
  m_right = other.m_right;
  m_up = other.m_up;
  m_back = other.m_back;
  m_eye = other.m_eye;
  m_window_x = other.m_window_x;
  m_window_y = other.m_window_y;
  m_half_height = other.m_half_height;
  m_near = other.m_near;
  m_far = other.m_far;
  m_rotation_center = other.m_rotation_center;
  m_kept_region = other.m_kept_region;
  _Update();
  return *this;
}

MCamera::~MCamera() = default;

bool MCamera::SetWindowSize(unsigned width, unsigned height) {
  if (width == 0 || height == 0) return false;
  m_width = width;
  m_height = height;
  _Update();
  return true;
}

double MCamera::_UnzoomedHalfHeight() const { return std::tan(0.5 * m_field_of_view * kDegrees); }

void MCamera::SetProjection(EProjection projection) {
  if (projection == m_projection || (projection != ePerspective && projection != eParallel)) return;
  // The rotation centre's depth relates the two windows: the same size is shown there.
  const double depth = -m_back.Dot(m_rotation_center - m_eye);
  if (projection == eParallel) {
    const double d = depth > 0 ? depth : 0.5 * (m_near + m_far);
    m_window_x *= d;
    m_window_y *= d;
    m_half_height *= d;
  } else {
    // Back off until the unzoomed opening shows the parallel window's height there.
    const double unzoomed = _UnzoomedHalfHeight();
    const double distance = m_half_height / unzoomed;
    const double shift = distance - depth;
    m_eye += m_back * shift;
    m_near += shift;
    m_far += shift;
    m_window_x /= distance;
    m_window_y /= distance;
    m_half_height = unzoomed;
    if (m_far <= 0) m_far = distance * 2;
    m_near = std::max(m_near, m_far * 1e-4);
  }
  m_projection = projection;
  _Update();
}

bool MCamera::SetFieldOfView(double degrees) {
  if (!(degrees > 0.0 && degrees < 180.0)) return false;
  m_field_of_view = degrees;
  return true;
}

bool MCamera::SetMargin(double margin) {
  if (!(margin >= 0.0 && margin < 0.5)) return false;
  m_margin = margin;
  return true;
}

void MCamera::_ResetWindow() {
  m_window_x = m_window_y = 0.0;
  if (m_projection == ePerspective) m_half_height = _UnzoomedHalfHeight();
}

void MCamera::Reset() {
  m_right = {1, 0, 0};
  m_up = {0, 1, 0};
  m_back = {0, 0, 1};
  m_eye = {0, 0, 0};
  m_rotation_center = {0, 0, 0};
  m_near = 0.1;
  m_far = 1000.0;
  m_half_height = 1.0;
  _ResetWindow();
  _Update();
}

bool MCamera::Reset(const MMTransformMatrix& worldToEye) {
  const auto kind = worldToEye.GetKind();
  if (worldToEye.IsProjective() ||
      !(kind == MMTransformMatrix::eIdentity || kind == MMTransformMatrix::eTranslation ||
        kind == MMTransformMatrix::eRigid))
    return false;
  const auto& m = worldToEye.GetMatrix();
  const Point right(m[0][0], m[0][1], m[0][2]), up(m[1][0], m[1][1], m[1][2]), back(m[2][0], m[2][1], m[2][2]);
  if (right.Cross(up).Dot(back) <= 0) return false;  // a mirror
  Reset();
  m_right = right;
  m_up = up;
  m_back = back;
  m_eye = -(m_right * m[0][3] + m_up * m[1][3] + m_back * m[2][3]);
  _Update();
  return true;
}

bool MCamera::SetUpAxis(const Point& up) {
  if (!Finite(up) || !(up.Length() > 0)) return false;
  m_up_axis = Normalised(up);
  return true;
}

bool MCamera::SetViewDirection(const Point& direction) {
  if (!Finite(direction) || !(direction.Length() > 0)) return false;
  const Point d = Normalised(direction);
  Point right = d.Cross(m_up_axis);
  if (right.Length() < 1e-9) right = d.Cross(std::fabs(d.z) < 0.9 ? Point(0, 0, 1) : Point(0, 1, 0));
  const Point held = _Aligned(m_rotation_center - m_eye);
  m_right = Normalised(right);
  m_back = -d;
  m_up = m_back.Cross(m_right);
  m_eye = m_rotation_center - _Unaligned(held);
  _Update();
  return true;
}

void MCamera::CollectKeptPoints(const std::list<IRender*>& objects, unsigned scene, std::vector<Point>& points) const {
  const MCoordinateSystem world;
  std::vector<Point> local;
  for (IRender* object : objects) {
    if (!object || !object->IsVisible(scene)) continue;
    local.clear();
    const auto* placed = dynamic_cast<const UIObject*>(object);
    if (!placed) {
      object->GetKeptPoints(points, scene, m_kept_region);
      continue;
    }
    // The repository's result is overwritten by its next lookup: keep a copy.
    const std::unique_ptr<MMTransform> toWorld(
        MTransformRepository::mgp_instance->GetTransform(placed->GetCoordinateSystem(), world).Clone());
    object->GetKeptPoints(local, scene, m_kept_region.Pulled(*toWorld));
    try {
      for (const Point& p : local) {
        Point q;
        if (toWorld->TransformPoint(q, p, false)) points.push_back(q);
      }
    } catch (const MMTransformException&) {
      // A placement that does not map the object's points leaves it out of the framing.
    }
  }
}

bool MCamera::Unzoom(std::list<IRender*>& objects, unsigned scene) {
  std::vector<Point> points;
  CollectKeptPoints(objects, scene, points);
  return Unzoom(points);
}

bool MCamera::Unzoom(const std::vector<Point>& points) {
  const M3DBoundingBox<double> world = BoxOf(points);
  if (!world.IsValid()) return false;
  std::vector<double> xs, ys, zs;
  xs.reserve(points.size());
  ys.reserve(points.size());
  zs.reserve(points.size());
  M3DBoundingBox<double> aligned;
  for (const Point& p : points) {
    if (!Finite(p)) continue;
    const Point a = _Aligned(p);
    xs.push_back(a.x);
    ys.push_back(a.y);
    zs.push_back(a.z);
    aligned.Add(a);
  }
  double size = (aligned.Max() - aligned.Min()).Length();
  if (!(size > 0) || !std::isfinite(size)) size = 1.0;

  _ResetWindow();
  const double aspect = double(m_width) / double(m_height);
  const double fill = 1.0 - 2.0 * m_margin;
  Point eye;
  if (m_projection == ePerspective) {
    // Each point must satisfy |x - ex| <= tx (ez - z) and |y - ey| <= ty (ez - z): the
    // nearest eye that meets both sides of an axis is where their bounds meet.
    const double ty = m_half_height * fill, tx = ty * aspect;
    double a = -INFINITY, b = INFINITY, c = -INFINITY, d = INFINITY;
    for (std::size_t i = 0; i < xs.size(); ++i) {
      a = std::max(a, xs[i] + tx * zs[i]);
      b = std::min(b, xs[i] - tx * zs[i]);
      c = std::max(c, ys[i] + ty * zs[i]);
      d = std::min(d, ys[i] - ty * zs[i]);
    }
    eye.z = std::max({(a - b) / (2 * tx), (c - d) / (2 * ty), aligned.zmax + 1e-3 * size});
    std::vector<double> inverseDepth(zs.size());
    for (std::size_t i = 0; i < zs.size(); ++i) inverseDepth[i] = 1.0 / (eye.z - zs[i]);
    // The tighter axis is centred where its bounds meet; the other is centred between its
    // own, so that the picture is balanced on both.
    eye.x = Centre(xs, inverseDepth, a - tx * eye.z, b + tx * eye.z);
    eye.y = Centre(ys, inverseDepth, c - ty * eye.z, d + ty * eye.z);
  } else {
    double half = std::max(0.5 * (aligned.ymax - aligned.ymin), 0.5 * (aligned.xmax - aligned.xmin) / aspect);
    if (!(half > 1e-12 * size)) half = 0.5 * size;
    m_half_height = half / fill;
    eye = {0.5 * (aligned.xmin + aligned.xmax), 0.5 * (aligned.ymin + aligned.ymax), aligned.zmax + size};
  }
  m_eye = _Unaligned(eye);
  m_rotation_center = world.Center();
  if (!SetClippingPlanes(points)) _Update();
  return true;
}

bool MCamera::UnzoomAroundUp(const std::vector<Point>& points) {
  const M3DBoundingBox<double> box = BoxOf(points);
  if (!box.IsValid()) return false;
  const Point centre = box.Center(), up = m_up_axis;
  // The turn sweeps every point round a circle about the axis. Seen from any side, the
  // circles of one band of heights lie inside the prism of two polygons around the circle
  // of the band's largest radius, at the band's lowest and highest point; the eye that
  // frames those prisms frames every turn.
  constexpr int kBands = 64, kSides = 64;
  struct Band {
    double low = INFINITY, high = -INFINITY, radius = 0;
  };
  double hmin = INFINITY, hmax = -INFINITY;
  for (const Point& p : points)
    if (Finite(p)) {
      const double h = (p - centre).Dot(up);
      hmin = std::min(hmin, h);
      hmax = std::max(hmax, h);
    }
  std::vector<Band> bands(kBands);
  const double span = hmax - hmin;
  for (const Point& p : points) {
    if (!Finite(p)) continue;
    const Point r = p - centre;
    const double h = r.Dot(up);
    const int i = span > 0 ? std::clamp(int((h - hmin) / span * kBands), 0, kBands - 1) : 0;
    Band& band = bands[std::size_t(i)];
    band.low = std::min(band.low, h);
    band.high = std::max(band.high, h);
    band.radius = std::max(band.radius, (r - up * h).Length());
  }
  const Point e1 = Normalised(up.Cross(std::fabs(up.x) < 0.9 ? Point(1, 0, 0) : Point(0, 1, 0)));
  const Point e2 = up.Cross(e1);
  const double outward = 1.0 / std::cos(std::numbers::pi / kSides);
  std::vector<Point> prisms;
  prisms.reserve(std::size_t(kBands) * 2 * kSides);
  for (const Band& band : bands) {
    if (band.low > band.high) continue;
    for (double h : {band.low, band.high})
      for (int k = 0; k < kSides; ++k) {
        const double angle = 2.0 * std::numbers::pi * k / kSides;
        prisms.push_back(centre + up * h + (e1 * std::cos(angle) + e2 * std::sin(angle)) * (band.radius * outward));
      }
  }
  if (!Unzoom(prisms)) return false;
  m_rotation_center = centre;
  return true;
}

bool MCamera::Zoom(const CRect& rect) {
  CRect r = rect;
  r.NormalizeRect();
  if (r.Width() == 0 && r.Height() == 0) return false;
  const double hw = _HalfWidth();
  const double cx = 0.5 * (double(r.left) + double(r.right)), cy = 0.5 * (double(r.top) + double(r.bottom));
  m_window_x += (2.0 * cx / m_width - 1.0) * hw;
  m_window_y += (1.0 - 2.0 * cy / m_height) * m_half_height;
  m_half_height *= std::max(double(r.Width()) / m_width, double(r.Height()) / m_height);
  _Update();
  return true;
}

bool MCamera::Zoom(double factor, const Point& at) {
  if (!(factor > 0.0) || !std::isfinite(factor) || !std::isfinite(at.x) || !std::isfinite(at.y)) return false;
  const double hw = _HalfWidth();
  const double px = m_window_x + (2.0 * at.x / m_width - 1.0) * hw;
  const double py = m_window_y + (1.0 - 2.0 * at.y / m_height) * m_half_height;
  m_window_x = px + (m_window_x - px) / factor;
  m_window_y = py + (m_window_y - py) / factor;
  m_half_height /= factor;
  _Update();
  return true;
}

bool MCamera::Zoom(double factor) { return Zoom(factor, Point(0.5 * m_width, 0.5 * m_height, 0)); }

void MCamera::Pan(double dx, double dy) {
  if (!std::isfinite(dx) || !std::isfinite(dy)) return;
  m_window_x -= dx * 2.0 * _HalfWidth() / m_width;
  m_window_y += dy * 2.0 * m_half_height / m_height;
  _Update();
}

void MCamera::_Turn(const double s[3][3], const Point& pivot) {
  const Point held = _Aligned(pivot - m_eye);
  const Point rows[3] = {m_right, m_up, m_back};
  Point turned[3];
  for (int i = 0; i < 3; ++i) turned[i] = rows[0] * s[i][0] + rows[1] * s[i][1] + rows[2] * s[i][2];
  m_right = turned[0];
  m_up = turned[1];
  m_back = turned[2];
  _Orthonormalise();
  m_eye = pivot - _Unaligned(held);
  _Update();
}

void MCamera::_Orthonormalise() {
  m_back = Normalised(m_back);
  m_right = Normalised(m_up.Cross(m_back));
  m_up = m_back.Cross(m_right);
}

void MCamera::Rotate(const Point& pivot, double aboutX, double aboutY, double aboutZ) {
  if (!Finite(pivot) || !std::isfinite(aboutX) || !std::isfinite(aboutY) || !std::isfinite(aboutZ)) return;
  double x[3][3], y[3][3], z[3][3], yx[3][3], s[3][3];
  AxisRotation({1, 0, 0}, aboutX, x);
  AxisRotation({0, 1, 0}, aboutY, y);
  AxisRotation({0, 0, 1}, aboutZ, z);
  Multiply(y, x, yx);
  Multiply(z, yx, s);
  _Turn(s, pivot);
}

void MCamera::Rotate(std::list<IRender*>& objects, double aboutX, double aboutY, double aboutZ, unsigned scene) {
  std::vector<Point> points;
  CollectKeptPoints(objects, scene, points);
  const M3DBoundingBox<double> box = BoxOf(points);
  if (!box.IsValid()) {
    Rotate(m_rotation_center, aboutX, aboutY, aboutZ);
    return;
  }
  // The pivot is where the line of sight through the picture's centre reaches the depth
  // of the box's centre: a roll then turns the picture about its middle, so a framed view
  // stays framed (the box's centre itself need not lie in the middle of the picture).
  const Point centre = _Aligned(box.Center() - m_eye);
  const double depth = -centre.z;
  const Point onAxis = m_projection == ePerspective ? Point(m_window_x * depth, m_window_y * depth, centre.z)
                                                     : Point(m_window_x, m_window_y, centre.z);
  Rotate(m_eye + _Unaligned(onAxis), aboutX, aboutY, aboutZ);
  SetClippingPlanes(points);
}

void MCamera::RotateAroundUp(const Point& pivot, double azimuth, double elevation) {
  if (!Finite(pivot) || !std::isfinite(azimuth) || !std::isfinite(elevation)) return;
  double s[3][3];
  // The eye going round one way is the scene turning the other way.
  AxisRotation(Normalised(_Aligned(m_up_axis)), -azimuth, s);
  _Turn(s, pivot);
  // Tilting the scene's top towards the viewer lifts the eye.
  AxisRotation({1, 0, 0}, elevation, s);
  _Turn(s, pivot);
}

bool MCamera::SetClippingPlanes(std::list<IRender*>& objects, unsigned scene) {
  std::vector<Point> points;
  CollectKeptPoints(objects, scene, points);
  return SetClippingPlanes(points);
}

bool MCamera::SetClippingPlanes(const std::vector<Point>& points) {
  double nearest = INFINITY, farthest = -INFINITY;
  for (const Point& p : points) {
    if (!Finite(p)) continue;
    const double depth = -m_back.Dot(p - m_eye);
    nearest = std::min(nearest, depth);
    farthest = std::max(farthest, depth);
  }
  if (!(nearest <= farthest)) return false;
  // A little room, so that depth rounding does not clip the nearest and farthest points.
  const double pad = 0.02 * (farthest - nearest) + 1e-6 * std::max({std::fabs(nearest), std::fabs(farthest), 1e-3});
  nearest -= pad;
  farthest += pad;
  if (m_projection == ePerspective) {
    if (farthest <= 0) return false;
    // Depth precision goes as far / near: a near plane at the eye would waste it all.
    nearest = std::max(nearest, farthest * 1e-4);
  }
  return SetClippingPlanes(nearest, farthest);
}

bool MCamera::SetClippingPlanes(double nearDistance, double farDistance) {
  if (!std::isfinite(nearDistance) || !std::isfinite(farDistance) || !(farDistance > nearDistance) ||
      (m_projection == ePerspective && !(nearDistance > 0)))
    return false;
  m_near = nearDistance;
  m_far = farDistance;
  _Update();
  return true;
}

MMTransformMatrix MCamera::GetWorldToEye() const {
  const double m[4][4] = {{m_right.x, m_right.y, m_right.z, -m_right.Dot(m_eye)},
                          {m_up.x, m_up.y, m_up.z, -m_up.Dot(m_eye)},
                          {m_back.x, m_back.y, m_back.z, -m_back.Dot(m_eye)},
                          {0, 0, 0, 1}};
  return FromRows(m);
}

void MCamera::_ClipMatrix(double m[4][4]) const {
  const double hw = _HalfWidth(), hh = m_half_height, n = m_near, f = m_far;
  if (m_projection == ePerspective) {
    const double rows[4][4] = {{1 / hw, 0, m_window_x / hw, 0},
                               {0, 1 / hh, m_window_y / hh, 0},
                               {0, 0, -(f + n) / (f - n), -2 * f * n / (f - n)},
                               {0, 0, -1, 0}};
    std::copy(&rows[0][0], &rows[0][0] + 16, &m[0][0]);
  } else {
    const double rows[4][4] = {{1 / hw, 0, 0, -m_window_x / hw},
                               {0, 1 / hh, 0, -m_window_y / hh},
                               {0, 0, -2 / (f - n), -(f + n) / (f - n)},
                               {0, 0, 0, 1}};
    std::copy(&rows[0][0], &rows[0][0] + 16, &m[0][0]);
  }
}

MMTransformMatrix MCamera::GetEyeToWindow() const {
  double clip[4][4], view[4][4], m[4][4];
  _ClipMatrix(clip);
  Viewport(m_width, m_height, view);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      m[r][c] = view[r][0] * clip[0][c] + view[r][1] * clip[1][c] + view[r][2] * clip[2][c] + view[r][3] * clip[3][c];
  return FromRows(m);
}

void MCamera::GetWorldToEyeMatrix(float m[16]) const { GetWorldToEye().GetMatrixFloat(m); }

void MCamera::GetEyeToClipMatrix(float m[16]) const {
  double clip[4][4];
  _ClipMatrix(clip);
  for (int i = 0; i < 16; ++i) m[i] = float(clip[i / 4][i % 4]);
}

bool MCamera::ProjectToWindow(const Point& world, Point& window) const {
  const Point e = _Aligned(world - m_eye);
  double x, y;
  if (m_projection == ePerspective) {
    if (!(e.z < 0)) return false;
    x = (e.x / -e.z - m_window_x) / _HalfWidth();
    y = (e.y / -e.z - m_window_y) / m_half_height;
  } else {
    x = (e.x - m_window_x) / _HalfWidth();
    y = (e.y - m_window_y) / m_half_height;
  }
  const MMTransformMatrix toWindow = GetEyeToWindow();
  const auto& m = toWindow.GetMatrix();
  // Depth through the matrix, so that it is the renderer's.
  const double w = m[3][2] * e.z + m[3][3];
  const double z = (m[2][2] * e.z + m[2][3]) / w;
  window = {(x + 1) * 0.5 * m_width, (1 - y) * 0.5 * m_height, z};
  return true;
}

void MCamera::_Update() {
  const double toWorld[4][4] = {{m_right.x, m_up.x, m_back.x, m_eye.x},
                                {m_right.y, m_up.y, m_back.y, m_eye.y},
                                {m_right.z, m_up.z, m_back.z, m_eye.z},
                                {0, 0, 0, 1}};
  m_eye_system.GetInternalSystem()->SetLocalTransform(FromRows(toWorld));
  MMTransformMatrix toEye = GetEyeToWindow();
  if (toEye.Invert()) m_window_system.GetInternalSystem()->SetLocalTransform(toEye);
}
