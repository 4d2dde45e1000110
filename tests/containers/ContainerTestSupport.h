#pragma once
// Shared by the vertex container tests: meshes and matrices to draw, drawing a container
// through the recording renderer and reading back what reached the device.
#include "host/framework/MMTransformMatrix.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlTraversal.h"
#include "host/mesh/MStlUnits.h"
#include "host/render/IVVertexContainer.h"
#include "testing/RecordingRender.h"

#include <array>
#include <memory>
#include <vector>

// A mesh of one surface whose triangles have the given corners (integer units), in order.
inline std::unique_ptr<MStlBase> MeshOfTriangles(const std::vector<std::int32_t>& xyz) {
  MStlBuilder b;
  b.AddPointsInUnits(xyz);
  std::vector<std::uint32_t> corners(xyz.size() / 3);
  for (std::uint32_t i = 0; i < corners.size(); ++i) corners[i] = i;
  b.AddSurface(corners);
  return b.Build();
}

inline std::vector<const MStlTriangle*> Triangles(const MStlBase& mesh) {
  std::vector<const MStlTriangle*> t;
  ForEachTriangle(mesh, [&](const MStlTriangle& tri) { t.push_back(&tri); });
  return t;
}

inline MMTransformMatrix Matrix(std::initializer_list<double> rowMajor) { return MMTransformMatrix(std::data(rowMajor)); }

// Sets the global integer scale for one scope.
class ScopedIE {
public:
  explicit ScopedIE(long value) : m_saved(IE) { IE = value; }
  ~ScopedIE() { IE = m_saved; }
  ScopedIE(const ScopedIE&) = delete;
  ScopedIE& operator=(const ScopedIE&) = delete;

private:
  long m_saved;
};

// Runs the container's _Optimise on the renderer's stream, as a render in dynamic mode does.
template <typename V>
void DrawNow(IVVertexContainer<V>& container, RecordingRender& render) {
  render.Clear();
  container.SetModeDynamic(true);
  container.RenderTriangles(render, true, false, 0);
}

// Every vertex of type V that reached the device, batches joined in drawing order.
template <typename V>
std::vector<V> DrawnVertices(const RecordingRender& render) {
  std::vector<V> all;
  for (const auto& b : render.Batches<V>()) all.insert(all.end(), b.vertices.begin(), b.vertices.end());
  return all;
}

// The end points of every line drawn with vertices of type P, in order.
using Line = std::array<float, 6>;
inline std::vector<Line> DrawnLines(const RecordingRender& render) {
  std::vector<Line> lines;
  for (const auto& b : render.Batches<IVVertexP>())
    for (std::size_t i = 0; b.primitive == EPrimitive::Lines && i + 1 < b.vertices.size(); i += 2) {
      const IVVertexP &p = b.vertices[i], &q = b.vertices[i + 1];
      lines.push_back({p.x, p.y, p.z, q.x, q.y, q.z});
    }
  return lines;
}
