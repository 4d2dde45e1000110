#pragma once
// A recording renderer that also keeps the world-to-eye matrix every batch was drawn
// with, for tests of where objects end up.
#include "host/framework/MMPoint3d.h"
#include "testing/RecordingRender.h"

#include <array>
#include <vector>

class MatrixRecordingRender : public RecordingRender {
public:
  using Matrix = std::array<float, 16>;
  using RecordingRender::RecordingRender;

  // In drawing order, one per batch that reached the device.
  const std::vector<Matrix>& DrawnWith() const { return m_drawn_with; }

  // A position through a row-major matrix (points as columns), without projection.
  static MMPoint3d<float> Map(const Matrix& m, float x, float y, float z) {
    return {m[0] * x + m[1] * y + m[2] * z + m[3], m[4] * x + m[5] * y + m[6] * z + m[7],
            m[8] * x + m[9] * y + m[10] * z + m[11]};
  }

protected:
  void _DrawVertices(EPrimitive primitive, const IVVertexLayout& layout, const void* vertices, std::size_t count,
                     const IVDrawOptions& options) override {
    m_drawn_with.push_back(GetState().worldToEye);
    RecordingRender::_DrawVertices(primitive, layout, vertices, count, options);
  }

private:
  std::vector<Matrix> m_drawn_with;
};
