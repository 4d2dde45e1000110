#include "Artwork.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

namespace {

struct Rgba {
  std::uint8_t r, g, b, a;
};
constexpr Rgba kInk{32, 32, 40, 255};
constexpr Rgba kBlue{30, 90, 200, 255};
constexpr Rgba kWhite{255, 255, 255, 255};

class Canvas {
public:
  Canvas(MImageRGBA& image, int left) : m_image(image), m_left(left) {}

  void Dot(int x, int y, Rgba c) {
    x += m_left;
    if (x < 0 || y < 0 || x >= int(m_image.Width()) || y >= int(m_image.Height())) return;
    std::uint8_t* p = m_image.Pixel(unsigned(x), unsigned(y));
    p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
  }
  // A one-pixel line, both ends drawn.
  void Line(int x0, int y0, int x1, int y1, Rgba c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0), sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    for (int error = dx + dy;;) {
      Dot(x0, y0, c);
      if (x0 == x1 && y0 == y1) return;
      const int e2 = 2 * error;
      if (e2 >= dy) error += dy, x0 += sx;
      if (e2 <= dx) error += dx, y0 += sy;
    }
  }
  // The pixels whose centres lie within half a pixel of the circle, between two angles
  // (degrees, counter-clockwise from the right, y up on screen).
  void Arc(double cx, double cy, double radius, double from, double to, Rgba c, double width = 1.0) {
    for (int y = int(cy - radius - 2); y <= int(cy + radius + 2); ++y)
      for (int x = int(cx - radius - 2); x <= int(cx + radius + 2); ++x) {
        const double px = x + 0.5 - cx, py = cy - (y + 0.5);
        if (std::fabs(std::hypot(px, py) - radius) > width / 2) continue;
        double angle = std::atan2(py, px) * 180.0 / std::numbers::pi;
        if (angle < from) angle += 360.0;
        if (angle <= to) Dot(x, y, c);
      }
  }
  void Arrowhead(int x, int y, int dx, int dy, Rgba c) {  // tip at (x, y), pointing along (dx, dy)
    for (int i = 0; i < 4; ++i) Line(x - dx * i - dy * i, y - dy * i - dx * i, x - dx * i + dy * i, y - dy * i + dx * i, c);
  }

private:
  MImageRGBA& m_image;
  int m_left;
};

void Fill(MImageRGBA& image, Rgba c) {
  for (unsigned y = 0; y < image.Height(); ++y)
    for (unsigned x = 0; x < image.Width(); ++x) Canvas(image, 0).Dot(int(x), int(y), c);
}

void Magnifier(Canvas& canvas, int scale, Rgba c) {
  canvas.Arc(6.5 * scale, 6.5 * scale, 4.5 * scale, -180, 180, c, scale);
  for (int t = 0; t < 2 * scale; ++t) canvas.Line(10 * scale + t / 2, 10 * scale + t / 2 - t % 2, 14 * scale, 14 * scale, c);
}

CursorArt Cursor(void (*draw)(Canvas&), int hotX, int hotY) {
  CursorArt art{MImageRGBA(32, 32), hotX, hotY};
  Canvas canvas(art.image, 0);
  draw(canvas);
  return art;
}

}  // namespace

MImageRGBA MakeToolbarBitmap() {
  MImageRGBA strip(64, 16);
  Fill(strip, {192, 192, 192, 255});
  {  // pan: a cross of four arrows
    Canvas c(strip, 0);
    c.Line(2, 8, 13, 8, kInk), c.Line(8, 2, 8, 13, kInk);
    c.Arrowhead(1, 8, -1, 0, kInk), c.Arrowhead(14, 8, 1, 0, kInk);
    c.Arrowhead(8, 1, 0, -1, kInk), c.Arrowhead(8, 14, 0, 1, kInk);
  }
  {  // rotate: three quarters of a circle with an arrowhead
    Canvas c(strip, 16);
    c.Arc(8, 8, 5.5, 0, 270, kBlue, 1.2);
    c.Arrowhead(13, 10, 0, 1, kBlue);
  }
  {  // zoom to a rectangle: a dotted frame with a magnifier
    Canvas c(strip, 32);
    for (int i = 1; i < 15; i += 2) c.Dot(i, 1, kInk), c.Dot(i, 14, kInk), c.Dot(1, i, kInk), c.Dot(14, i, kInk);
    Magnifier(c, 1, kBlue);
  }
  {  // unzoom: a magnifier with a minus
    Canvas c(strip, 48);
    Magnifier(c, 1, kInk);
    c.Line(4, 6, 9, 6, kInk);
  }
  return strip;
}

CursorArt MakeRollCursor() {
  return Cursor(
      [](Canvas& c) {
        c.Arc(16, 16, 11, 20, 340, kWhite, 3.5);
        c.Arc(16, 16, 11, 20, 340, kInk, 1.5);
        c.Arrowhead(26, 12, 0, -1, kInk);
        c.Line(14, 16, 18, 16, kInk), c.Line(16, 14, 16, 18, kInk);
      },
      16, 16);
}

CursorArt MakeRotateCursor() {
  return Cursor(
      [](Canvas& c) {
        c.Arc(16, 16, 9, -150, 150, kWhite, 3.5);
        c.Arc(16, 16, 9, -150, 150, kBlue, 1.5);
        c.Arrowhead(8, 21, -1, 1, kBlue);
        c.Dot(16, 16, kInk);
      },
      16, 16);
}

CursorArt MakeZoomCursor() {
  return Cursor(
      [](Canvas& c) {
        c.Arc(13, 13, 9, -180, 180, kWhite, 4);
        Magnifier(c, 2, kInk);
        c.Line(9, 13, 17, 13, kInk), c.Line(13, 9, 13, 17, kInk);
      },
      13, 13);
}
