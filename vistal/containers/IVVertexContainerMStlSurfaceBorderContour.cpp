#include "vistal/containers/IVVertexContainerMStlSurfaceBorderContour.h"

#include "host/mesh/MStlUnits.h"

namespace {

IVVertexP SceneVertex(const MStlPoint& p) {
  return {MStlUnitsToSceneF(p.x), MStlUnitsToSceneF(p.y), MStlUnitsToSceneF(p.z)};
}

}  // namespace

IVVertexContainerMStlSurfaceBorderContour::IVVertexContainerMStlSurfaceBorderContour(
    const IVVertexContainerMStlSurfaceBorderContour&) = default;
IVVertexContainerMStlSurfaceBorderContour& IVVertexContainerMStlSurfaceBorderContour::operator=(
    const IVVertexContainerMStlSurfaceBorderContour&) = default;
IVVertexContainerMStlSurfaceBorderContour::~IVVertexContainerMStlSurfaceBorderContour() = default;

void IVVertexContainerMStlSurfaceBorderContour::SetParams(const MStlSurfaceBorderContour* contour_) {
  contour = contour_;
  DestroyRenderOptimisations();
}

void IVVertexContainerMStlSurfaceBorderContour::_Optimise(IIVVertexStream<IVVertexP>& stream) {
  if (!contour) return;
  const std::uint32_t n = contour->GetNumPoints();
  const bool closed = contour->IsClosed();
  // Ends counted with the closing one: fewer than two leave no line to draw.
  if ((closed ? std::uint64_t(n) + 1 : n) <= 1) return;

  stream.BeginLines();
  const MStlSurfaceBorderContour::Node* node = contour->GetFirstNode();
  IVVertexP previous = SceneVertex(*node->point);
  for (std::uint32_t i = 1; i < n; ++i) {
    node = node->next;
    const IVVertexP current = SceneVertex(*node->point);
    stream.AddLine(previous, current);
    previous = current;
  }
  // The ring's next after the last node is the first.
  if (closed) stream.AddLine(previous, SceneVertex(*node->next->point));
  stream.End();
}
