#pragma once
// The contours of a 3D border as lines. In a border of float points with a float
// payload, the payload is the point's z: x, y and payload are the point in space.
#include "host/meshops/M3dBorder.h"
#include "host/render/IVVertexContainer.h"
#include "vistal/Api.h"

class VISTAL_API IVVertexContainerM3dBorder : public IVVertexContainer<IVVertexP> {
public:
  using Border = M3dBorder<float, float>;

  // No border: nothing is drawn until SetBorder.
  IVVertexContainerM3dBorder() = default;
  IVVertexContainerM3dBorder(const IVVertexContainerM3dBorder&);
  IVVertexContainerM3dBorder& operator=(const IVVertexContainerM3dBorder&);
  ~IVVertexContainerM3dBorder() override;

  // Not owned; it must stay valid while the container may be rendered. What was
  // recorded for the renderer is dropped. A later change of the border's contents
  // shows once the host calls DestroyRenderOptimisations (or in dynamic mode).
  void SetBorder(const Border* border);
  const Border* GetBorder() const { return border; }

protected:
  // One batch for all contours, in order: an open contour of n points gives n - 1
  // lines, a closed one n, the last back to its first point.
  void _Optimise(IIVVertexStream<IVVertexP>& stream) override;

private:
  const Border* border = nullptr;
};
