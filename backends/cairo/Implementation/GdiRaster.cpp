#include "backends/cairo/Implementation/GdiRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <utility>

namespace cairo_gdi {

namespace {

// On and off lengths in pixels of the styled one-pixel pens.
std::vector<int> StylePattern(UINT style) {
  switch (style) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
  }
}

}  // namespace

namespace {

// Hands out the pixels of a styled pen in order: dashes, then gaps, by the style's lengths.
class StyleWalker {
public:
  StyleWalker(UINT style, std::vector<POINT>& dashes, std::vector<POINT>& gaps)
      : m_pattern(StylePattern(style)), m_dashes(dashes), m_gaps(gaps) {
    if (!m_pattern.empty()) m_left = m_pattern[0];
  }
  void Put(int x, int y) {
    if (m_pattern.empty()) {
      m_dashes.push_back({x, y});
      return;
    }
    (m_part % 2 == 0 ? m_dashes : m_gaps).push_back({x, y});
    if (--m_left == 0) {
      m_part = (m_part + 1) % m_pattern.size();
      m_left = m_pattern[m_part];
    }
  }

private:
  std::vector<int> m_pattern;
  std::vector<POINT>& m_dashes;
  std::vector<POINT>& m_gaps;
  std::size_t m_part = 0;
  int m_left = 0;
};

}  // namespace

void CosmeticPolyline(const POINT* points, int count, UINT style, std::vector<POINT>& dashes,
                      std::vector<POINT>& gaps) {
  StyleWalker walker(style, dashes, gaps);
  for (int i = 0; i + 1 < count; ++i) {
    // Bresenham in 64 bits, so that far-apart points cannot overflow the error term. Where
    // the line passes exactly between two pixels, the one nearer the start's row (or column)
    // is taken: the strict comparisons step the minor axis only past the half.
    long long x = points[i].x, y = points[i].y;
    const long long x1 = points[i + 1].x, y1 = points[i + 1].y;
    const long long dx = std::llabs(x1 - x), dy = -std::llabs(y1 - y);
    const int sx = x < x1 ? 1 : -1, sy = y < y1 ? 1 : -1;
    long long error = dx + dy;
    while (x != x1 || y != y1) {
      walker.Put(int(x), int(y));
      const long long twice = 2 * error;
      if (twice > dy) error += dy, x += sx;
      if (twice < dx) error += dx, y += sy;
    }
  }
}

void StyledOutline(const std::vector<PixelRun>& outline, const RECT& box, UINT style, std::vector<POINT>& dashes,
                   std::vector<POINT>& gaps) {
  // Counter-clockwise on screen from the right-hand end, as GDI runs an ellipse's outline.
  const double cx = (double(box.left) + box.right) / 2.0, cy = (double(box.top) + box.bottom) / 2.0;
  std::vector<std::pair<double, POINT>> pixels;
  for (const PixelRun& run : outline)
    for (int x = run.x0; x < run.x1; ++x) {
      double angle = std::atan2(cy - (run.y + 0.5), x + 0.5 - cx);
      if (angle < 0) angle += 2 * 3.14159265358979323846;
      pixels.push_back({angle, POINT{x, run.y}});
    }
  std::sort(pixels.begin(), pixels.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  StyleWalker walker(style, dashes, gaps);
  for (const auto& pixel : pixels) walker.Put(pixel.second.x, pixel.second.y);
}

std::vector<PixelRun> EllipseRows(const RECT& box) {
  std::vector<PixelRun> rows;
  const double a = (double(box.right) - box.left) / 2.0, b = (double(box.bottom) - box.top) / 2.0;
  if (a <= 0.0 || b <= 0.0) return rows;
  const double cx = box.left + a, cy = box.top + b;
  for (int y = box.top; y < box.bottom; ++y) {
    const double v = (y + 0.5 - cy) / b;
    if (std::fabs(v) > 1.0) continue;
    // A hair of slack keeps centres that lie exactly on the ellipse inside on both sides.
    const double half = a * std::sqrt(1.0 - v * v) + 1e-9;
    const int x0 = int(std::ceil(cx - half - 0.5)), x1 = int(std::floor(cx + half - 0.5));
    if (x0 <= x1) rows.push_back({y, std::max<int>(x0, box.left), std::min<int>(x1 + 1, box.right)});
  }
  return rows;
}

void SplitOutline(const std::vector<PixelRun>& rows, std::vector<PixelRun>& outline, std::vector<PixelRun>& inside) {
  std::map<int, const PixelRun*> byRow;
  for (const PixelRun& run : rows) byRow[run.y] = &run;
  for (const PixelRun& run : rows) {
    const auto above = byRow.find(run.y - 1), below = byRow.find(run.y + 1);
    int in0 = run.x0 + 1, in1 = run.x1 - 1;  // the inside: without the row ends, ...
    if (above == byRow.end() || below == byRow.end()) {
      in1 = in0;  // ... nothing on the first and last rows, ...
    } else {
      // ... and only where the rows above and below reach too.
      in0 = std::max({in0, above->second->x0, below->second->x0});
      in1 = std::min({in1, above->second->x1, below->second->x1});
    }
    if (in1 <= in0) {
      outline.push_back(run);
      continue;
    }
    inside.push_back({run.y, in0, in1});
    if (in0 > run.x0) outline.push_back({run.y, run.x0, in0});
    if (run.x1 > in1) outline.push_back({run.y, in1, run.x1});
  }
}

}  // namespace cairo_gdi
