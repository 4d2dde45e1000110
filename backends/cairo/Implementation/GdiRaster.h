#pragma once
// GDI's pixel rules for the one-pixel figures, worked out as pixels so that the device can
// fill them exactly: styled lines that leave out their last point, and ellipses as rows.
#include "host/gdi/GdiTypes.h"

#include <vector>

namespace cairo_gdi {

// A run of pixels on one row: x from x0 up to, not including, x1.
struct PixelRun {
  int y;
  int x0;
  int x1;
};

// The pixels of a one-pixel polyline through `count` points, each segment from its start
// up to, not including, its end (Bresenham steps). A styled pen (PS_DASH, PS_DOT,
// PS_DASHDOT, PS_DASHDOTDOT) puts the pixels of its gaps into `gaps`, its pattern running
// on from one segment to the next; a solid pen leaves `gaps` empty.
void CosmeticPolyline(const POINT* points, int count, UINT style, std::vector<POINT>& dashes, std::vector<POINT>& gaps);

// The rows of the ellipse inscribed in the pixel box [left, right) x [top, bottom): a pixel
// belongs to it when its centre lies inside the ellipse through the box's outer edges.
// Rows that no pixel centre reaches are left out.
std::vector<PixelRun> EllipseRows(const RECT& box);

// The outline pixels of the ellipse in `box` for a styled pen, in the order GDI runs the
// outline (counter-clockwise on screen from the right), dashes and gaps as for a polyline.
void StyledOutline(const std::vector<PixelRun>& outline, const RECT& box, UINT style, std::vector<POINT>& dashes,
                   std::vector<POINT>& gaps);

// Splits an ellipse's rows into a one-pixel outline (the row ends and every pixel that has
// no neighbour of the ellipse above or below) and the inside.
void SplitOutline(const std::vector<PixelRun>& rows, std::vector<PixelRun>& outline, std::vector<PixelRun>& inside);

}  // namespace cairo_gdi
