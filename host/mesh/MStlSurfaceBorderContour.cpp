#include "host/mesh/MStlSurfaceBorderContour.h"

#include <limits>
#include <string>
#include <stdexcept>
#include <utility>

MStlSurfaceBorderContour::MStlSurfaceBorderContour(std::span<const MStlPoint* const> points, bool closed)
    : m_closed(closed) {
  if (points.size() > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("MStlSurfaceBorderContour: too many points");
  for (std::size_t i = 0; i < points.size(); ++i)
    if (!points[i])
      throw std::invalid_argument("MStlSurfaceBorderContour: point " + std::to_string(i) + " is null");
  const std::size_t n = points.size();
  if (n == 0) return;
  m_nodes = std::make_unique<Node[]>(n);
  for (std::size_t i = 0; i < n; ++i) m_nodes[i] = {&m_nodes[(i + 1) % n], points[i]};
  m_num_points = static_cast<std::uint32_t>(n);
}

MStlSurfaceBorderContour::MStlSurfaceBorderContour(const MStlSurfaceBorderContour& o) : m_closed(o.m_closed) {
  if (o.m_num_points == 0) return;
  const std::uint32_t n = o.m_num_points;
  m_nodes = std::make_unique<Node[]>(n);
  // Walk the ring rather than copy the array: the ring order is what the contour means.
  const Node* from = o.GetFirstNode();
  for (std::uint32_t i = 0; i < n; ++i, from = from->next) m_nodes[i] = {&m_nodes[(i + 1) % n], from->point};
  m_num_points = n;
}

MStlSurfaceBorderContour& MStlSurfaceBorderContour::operator=(const MStlSurfaceBorderContour& o) {
  if (this != &o) *this = MStlSurfaceBorderContour(o);
  return *this;
}

MStlSurfaceBorderContour::MStlSurfaceBorderContour(MStlSurfaceBorderContour&& o) noexcept
    : m_nodes(std::move(o.m_nodes)), m_num_points(std::exchange(o.m_num_points, 0)), m_closed(o.m_closed) {}

MStlSurfaceBorderContour& MStlSurfaceBorderContour::operator=(MStlSurfaceBorderContour&& o) noexcept {
  m_nodes = std::move(o.m_nodes);
  m_num_points = std::exchange(o.m_num_points, 0);
  m_closed = o.m_closed;
  return *this;
}

MStlSurfaceBorderContour::~MStlSurfaceBorderContour() = default;
