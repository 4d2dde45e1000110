#include "vistal/containers/IVVertexContainerM3dBorder.h"

#include <iterator>

IVVertexContainerM3dBorder::IVVertexContainerM3dBorder(const IVVertexContainerM3dBorder&) = default;
IVVertexContainerM3dBorder& IVVertexContainerM3dBorder::operator=(const IVVertexContainerM3dBorder&) = default;
IVVertexContainerM3dBorder::~IVVertexContainerM3dBorder() = default;

void IVVertexContainerM3dBorder::SetBorder(const Border* border_) {
  border = border_;
  DestroyRenderOptimisations();
}

void IVVertexContainerM3dBorder::_Optimise(IIVVertexStream<IVVertexP>& stream) {
  if (!border) return;
  stream.BeginLines();
  for (std::size_t c = 0; c < border->GetNumContours(); ++c) {
    const Border::Contour& contour = border->GetContour(c);
    const auto& points = contour.GetPoints();
    if (points.empty()) continue;
    // A closed contour of one point keeps its one (degenerate) closing line, so that
    // it stays visible as a dot, as a mesh border contour does.
    auto it = points.begin();
    IVVertexP previous{it->x, it->y, it->data};
    for (++it; it != points.end(); ++it) {
      const IVVertexP current{it->x, it->y, it->data};
      stream.AddLine(previous, current);
      previous = current;
    }
    if (contour.IsClosed()) {
      const auto& first = points.front();
      stream.AddLine(previous, IVVertexP{first.x, first.y, first.data});
    }
  }
  stream.End();
}
