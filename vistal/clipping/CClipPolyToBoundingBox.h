#pragma once
// Cuts a planar frame down to an axis-aligned box and hands back the part inside the
// box, again as a frame.
#include "host/framework/M3DBoundingBox.h"
#include "host/framework/MFrame.h"
#include "host/framework/MMLine.h"
#include "vistal/Api.h"

#include <vector>

// Clips the parallelogram of an MFrame<float> against an M3DBoundingBox<float>.
//
// SetParams maps the frame's four corners into the box's normalised space (the box
// becomes the cube -1 ... 1); Operate clips that quadrilateral against the six faces of
// the cube in homogeneous coordinates, maps the surviving polygon back and rebuilds a
// parallelogram frame from its edge lines. All clipping arithmetic is in double
// precision; the frames in and out are single precision.
//
// Usage: SetParams once, then Operate (repeatable, it always starts again from the
// stored polygon), then GetClippedFrame.
class VISTAL_API CClipPolyToBoundingBox {
public:
  // The clipped frame starts all zero, as does the scale.
  CClipPolyToBoundingBox();
  CClipPolyToBoundingBox(const CClipPolyToBoundingBox&) = default;
  CClipPolyToBoundingBox& operator=(const CClipPolyToBoundingBox&) = default;
  ~CClipPolyToBoundingBox() = default;

  // Stores the box and the frame's corners in the box's normalised space. The box is
  // not checked: a zero extent gives an infinite scale on that axis, and the clipper
  // then rejects the resulting infinite or NaN coordinates. A null frame leaves nothing
  // to clip, so the next Operate returns false.
  void SetParams(const M3DBoundingBox<float>& box, const MFrame<float>* frame);

  // Clips the stored frame. True when a clipped frame was produced; false, with the
  // previous clipped frame kept, when fewer than three points survive or no frame can be
  // rebuilt from the surviving polygon. The clipped frame's integer and normal are never
  // written. Operate before any SetParams returns false.
  bool Operate();

  // The result of the last successful Operate; the address stays valid while this
  // object lives.
  const MFrame<float>* GetClippedFrame() const { return &m_clipped_frame; }

protected:
  // Clips a closed homogeneous polygon (count points of x, y, z, w) to the cube
  // -w <= x, y, z <= w. `out` receives a new[] array the caller frees with delete[],
  // holding at least 4 * count + 24 doubles; returns the number of points written.
  int _ClipPolyToFrustum(double* points, int count, double*& out);

  // Searches `lines` for two parallel edges, starting at (first, second) and never
  // pairing an edge with the one that directly follows it. On success first and second
  // name the pair; otherwise they hold the place where the search ended.
  bool _FindParallelPair(unsigned& first, unsigned& second, const std::vector<MMLine>& lines);

  // Five homogeneous points (x, y, z, w) in normalised box space; the fifth repeats the
  // first, which closes the polygon.
  double m_polygon[20];
  MFrame<float> m_clipped_frame;
  double m_scale[3];   // 2 / box extent, per axis
  double m_centre[3];  // box centre, per axis
};
