#pragma once
// The border contour of a mesh surface as lines, in scene units.
#include "host/mesh/MStlSurfaceBorderContour.h"
#include "host/render/IVVertexContainer.h"
#include "vistal/Api.h"

class VISTAL_API IVVertexContainerMStlSurfaceBorderContour : public IVVertexContainer<IVVertexP> {
public:
  // No contour: nothing is drawn until SetParams.
  IVVertexContainerMStlSurfaceBorderContour() = default;
  IVVertexContainerMStlSurfaceBorderContour(const IVVertexContainerMStlSurfaceBorderContour&);
  IVVertexContainerMStlSurfaceBorderContour& operator=(const IVVertexContainerMStlSurfaceBorderContour&);
  ~IVVertexContainerMStlSurfaceBorderContour() override;

  // Not owned; it and its points must stay valid while the container may be rendered.
  // What was recorded for the renderer is dropped.
  void SetParams(const MStlSurfaceBorderContour* contour);
  const MStlSurfaceBorderContour* GetContour() const { return contour; }

protected:
  // An open contour of n points gives n - 1 lines, a closed one n, the last back to the
  // first point. Integer coordinates are divided by IE. Nothing for an open contour of
  // fewer than two points or a closed one without points.
  void _Optimise(IIVVertexStream<IVVertexP>& stream) override;

private:
  const MStlSurfaceBorderContour* contour = nullptr;
};
