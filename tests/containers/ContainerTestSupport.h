#pragma once
// Shared by the vertex container tests: drawing a container through the recording
// renderer and reading back what reached its streams.
#include "host/mesh/MStlUnits.h"
#include "host/render/IVVertexContainer.h"
#include "testing/RecordingRender.h"

#include <array>
#include <vector>

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

// The end points of every AddLine in the log, in order.
using Line = std::array<float, 6>;
inline std::vector<Line> LoggedLines(const RecordingRender& render) {
  std::vector<Line> lines;
  for (const RenderCall& c : render.CallsOf(ERenderCall::AddLine)) {
    Line l{};
    for (int i = 0; i < 6; ++i) l[i] = c.floats[i];
    lines.push_back(l);
  }
  return lines;
}

// Every vertex of type V that reached the device, batches joined in drawing order.
template <typename V>
std::vector<V> DrawnVertices(const RecordingRender& render) {
  std::vector<V> all;
  for (const auto& b : render.Batches<V>()) all.insert(all.end(), b.vertices.begin(), b.vertices.end());
  return all;
}
