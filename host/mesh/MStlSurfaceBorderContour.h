#pragma once
// A border contour on a mesh: a sequence of the mesh's points, open or closed. The nodes
// always form a ring (the last node's next is the first); the closed flag says whether
// the segment from the last point back to the first belongs to the contour.
#include "host/HostApi.h"
#include "host/mesh/MStlPoint.h"

#include <cstdint>
#include <memory>
#include <span>

class VISTAL_HOST_API MStlSurfaceBorderContour {
public:
  struct Node {
    Node* next;
    const MStlPoint* point;
  };

  // No points, not closed.
  MStlSurfaceBorderContour() = default;
  // The points in order; std::invalid_argument for a null point.
  MStlSurfaceBorderContour(std::span<const MStlPoint* const> points, bool closed);
  MStlSurfaceBorderContour(const MStlSurfaceBorderContour& o);
  MStlSurfaceBorderContour& operator=(const MStlSurfaceBorderContour& o);
  MStlSurfaceBorderContour(MStlSurfaceBorderContour&& o) noexcept;
  MStlSurfaceBorderContour& operator=(MStlSurfaceBorderContour&& o) noexcept;
  ~MStlSurfaceBorderContour();

  // Null when the contour has no points.
  const Node* GetFirstNode() const { return m_num_points ? &m_nodes[0] : nullptr; }
  std::uint32_t GetNumPoints() const { return m_num_points; }
  bool IsClosed() const { return m_closed; }
  void SetClosed(bool closed) { m_closed = closed; }

private:
  std::unique_ptr<Node[]> m_nodes;  // one allocation, linked in array order
  std::uint32_t m_num_points = 0;
  bool m_closed = false;
};
