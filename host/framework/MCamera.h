#pragma once
#include "host/HostApi.h"
#include "host/framework/MClipRegion.h"
#include "host/framework/MCoordinateSystem.h"
#include "host/framework/MMPoint3d.h"
#include "host/framework/MMTransformMatrix.h"
#include "host/win/CRect.h"

#include <list>
#include <vector>

class IRender;

// The camera of a 3D view. It owns the view's eye and window coordinate systems and keeps
// their transforms in the transform repository up to date, so that anything can map
// between an object, the world, the eye and the window's pixels through
// MTransformRepository::GetTransform.
//
// Eye coordinates: x to the right of the picture, y up, z towards the viewer (the camera
// looks along -z), in scene units. Window coordinates: x and y in pixels from the
// picture's top left corner (x right, y down; the pixel (i, j) covers [i, i + 1) x
// [j, j + 1)), z the depth between the near (0) and far (1) clipping planes.
//
// The picture shows a window of the image plane: for a perspective camera the plane at
// unit distance (so the window is in tangents of angles), for a parallel one the eye's xy
// plane (in scene units). Zooming and panning move and scale that window, which keeps
// them exact for every depth; framing and rotating move the eye.
class VISTAL_HOST_API MCamera {
public:
  using Point = MMPoint3d<double>;

  enum EProjection : int { ePerspective = 0, eParallel = 1 };

  // Framing leaves this share of the picture free on each side of its tighter axis.
  static constexpr double kDefaultMargin = 0.05;
  // The vertical opening of an unzoomed perspective view, degrees.
  static constexpr double kDefaultFieldOfView = 30.0;

  // An 800 x 600 perspective view at the world's origin, looking along -z with y up.
  MCamera();
  // A copy looks the same way in coordinate systems of its own.
  MCamera(const MCamera& other);
  MCamera& operator=(const MCamera& other);
  ~MCamera();

  // The picture in pixels (both at least 1). The window keeps its height and centre, so a
  // wider picture shows more at the sides.
  bool SetWindowSize(unsigned width, unsigned height);
  unsigned GetWindowWidth() const { return m_width; }
  unsigned GetWindowHeight() const { return m_height; }

  // Switching keeps the size at which the rotation centre's depth is shown.
  void SetProjection(EProjection projection);
  EProjection GetProjection() const { return m_projection; }
  // Degrees, above 0 and below 180; takes effect at the next Reset or Unzoom.
  bool SetFieldOfView(double degrees);
  double GetFieldOfView() const { return m_field_of_view; }
  // Share of the picture framing leaves free on each side, from 0 to below 0.5.
  bool SetMargin(double margin);
  double GetMargin() const { return m_margin; }

  // Back to the camera's start: world-to-eye identity, window unzoomed and centred,
  // rotation centre at the origin, default near and far planes. Projection, picture size,
  // field of view, margin, up axis and kept region stay.
  void Reset();
  // As Reset, with the eye placed by a rigid world-to-eye transform; false (nothing
  // changed) for a transform that is not a rotation and a translation.
  bool Reset(const MMTransformMatrix& worldToEye);

  // The world's up axis, about which RotateAroundUp turns; default +z.
  bool SetUpAxis(const Point& up);
  const Point& GetUpAxis() const { return m_up_axis; }
  // Looks along `direction` with the up axis pointing up in the picture (or, when they are
  // parallel, a world axis); the rotation centre keeps its place in the picture. False for
  // a zero or non-finite direction.
  bool SetViewDirection(const Point& direction);

  // A world region that framing and depth fitting take for every object, besides the
  // clipping the objects know themselves. Empty: everything.
  void SetKeptRegion(const MClipRegion& region) { m_kept_region = region; }
  const MClipRegion& GetKeptRegion() const { return m_kept_region; }
  // World points whose convex hull holds what the objects that are visible in the scene
  // draw inside the kept region (IRender::GetKeptPoints, each mapped from its object's
  // coordinate system).
  void CollectKeptPoints(const std::list<IRender*>& objects, unsigned scene, std::vector<Point>& points) const;

  // Frames the objects: the view direction stays, the window is unzoomed and centred, and
  // the eye moves so that the projection of what they draw fills the picture up to the
  // margin on its tighter axis, centred on both. The rotation centre becomes the centre of
  // their box, and the near and far planes are fitted. False (nothing changed) when the
  // objects draw nothing.
  bool Unzoom(std::list<IRender*>& objects, unsigned scene);
  bool Unzoom(const std::vector<Point>& points);
  // Frames the points for a whole turn around the up axis through the centre of their box:
  // every view that RotateAroundUp by any azimuth about the rotation centre then shows
  // the points within the picture. False when there are no points.
  bool UnzoomAroundUp(const std::vector<Point>& points);

  // The window rectangle (pixels, either way round) fills the view: its centre becomes the
  // picture's centre and its tighter side spans the picture. False (nothing changed) when
  // it has neither width nor height.
  bool Zoom(const CRect& rect);
  // Enlarges the picture by `factor` (above 0; 2 shows everything twice as large) about the
  // window point `at`, which stays where it is.
  bool Zoom(double factor, const Point& at);
  // About the picture's centre.
  bool Zoom(double factor);
  // Moves the picture by whole or fractional pixels: every projected point moves dx to the
  // right and dy down.
  void Pan(double dx, double dy);

  // Turns the view about the eye's axes through `pivot` (world), by degrees about x (the
  // picture's right), then y (its up), then z (towards the viewer); positive turns the
  // scene counter-clockwise seen from the axis's tip. The pivot stays where it is in the
  // picture.
  void Rotate(const Point& pivot, double aboutX, double aboutY, double aboutZ);
  // The same about the point in the middle of the picture at the depth of the centre of
  // the box of what the objects draw (the rotation centre when they draw nothing), so that
  // a framed view stays framed; the near and far planes are then fitted to them.
  void Rotate(std::list<IRender*>& objects, double aboutX, double aboutY, double aboutZ, unsigned scene = 0xFFFFFFFF);
  // Moves the eye around `pivot` (world): by `azimuth` degrees about the up axis
  // (counter-clockwise seen from above), then by `elevation` degrees upwards (the view
  // tilts down onto the pivot). The pivot stays where it is in the picture.
  void RotateAroundUp(const Point& pivot, double azimuth, double elevation);

  void SetRotationCenter(const Point& center) { m_rotation_center = center; }
  const Point& GetRotationCenter() const { return m_rotation_center; }

  // Fits the near and far planes around what the objects draw, leaving the eye and the
  // window as they are.
  bool SetClippingPlanes(std::list<IRender*>& objects, unsigned scene);
  bool SetClippingPlanes(const std::vector<Point>& points);
  // Distances from the eye along the view; far above near, and near above 0 for a
  // perspective camera. False (nothing changed) otherwise.
  bool SetClippingPlanes(double nearDistance, double farDistance);
  double GetNear() const { return m_near; }
  double GetFar() const { return m_far; }

  // The coordinate systems the camera keeps placed; copies of the handles stay placed.
  const MCoordinateSystem& GetCoordinateSystemEye() const { return m_eye_system; }
  const MCoordinateSystem& GetCoordinateSystemWindow() const { return m_window_system; }

  MMTransformMatrix GetWorldToEye() const;
  MMTransformMatrix GetEyeToWindow() const;
  // Row-major, points as columns, for renderers: world to eye, and eye to the clip
  // coordinates of OpenGL (x, y and z from -1 to 1 across the picture and depth range).
  void GetWorldToEyeMatrix(float m[16]) const;
  void GetEyeToClipMatrix(float m[16]) const;

  Point GetEyePosition() const { return m_eye; }
  // Unit vectors in world coordinates.
  Point GetViewDirection() const { return -m_back; }
  Point GetPictureUp() const { return m_up; }
  Point GetPictureRight() const { return m_right; }

  // A world point in window coordinates; false for a point in the eye's plane or behind a
  // perspective eye.
  bool ProjectToWindow(const Point& world, Point& window) const;

private:
  // The eye-aligned coordinates of a world direction or point (no translation).
  Point _Aligned(const Point& p) const { return {m_right.Dot(p), m_up.Dot(p), m_back.Dot(p)}; }
  Point _Unaligned(const Point& a) const { return m_right * a.x + m_up * a.y + m_back * a.z; }
  double _HalfWidth() const { return m_half_height * double(m_width) / double(m_height); }
  double _UnzoomedHalfHeight() const;
  // Applies a rotation given as rows in eye coordinates, keeping `pivot` in place.
  void _Turn(const double s[3][3], const Point& pivot);
  void _Orthonormalise();
  void _ResetWindow();
  void _ClipMatrix(double m[4][4]) const;
  // Places the coordinate systems.
  void _Update();

  unsigned m_width = 800, m_height = 600;
  EProjection m_projection = ePerspective;
  double m_field_of_view = kDefaultFieldOfView;
  double m_margin = kDefaultMargin;
  Point m_up_axis{0, 0, 1};
  // The eye's axes and position in world coordinates.
  Point m_right{1, 0, 0}, m_up{0, 1, 0}, m_back{0, 0, 1};
  Point m_eye{0, 0, 0};
  // The window: its centre and half-height; the half-width follows from the aspect.
  double m_window_x = 0, m_window_y = 0, m_half_height = 1;
  double m_near = 0.1, m_far = 1000.0;
  Point m_rotation_center{0, 0, 0};
  MClipRegion m_kept_region;
  MCoordinateSystem m_eye_system;
  MCoordinateSystem m_window_system;
};
