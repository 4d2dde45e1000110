#pragma once
// The edges of a box as lines, in one of two halves: the edges that touch the corner
// lying lowest in z once the box is transformed (typically into eye space, where they
// are the edges hidden behind the box), or all the others. Drawing the box once with
// each half, for example the hidden half dashed, draws every edge exactly once.
#include "host/framework/MMTransform.h"
#include "host/render/IVVertexContainer.h"
#include "vistal/Api.h"

#include <vector>

class VISTAL_API IVVertexContainerBoundingBox : public IVVertexContainer<IVVertexP> {
public:
  // No vertex list and no transform: nothing is drawn until SetParams.
  IVVertexContainerBoundingBox() = default;
  IVVertexContainerBoundingBox(const IVVertexContainerBoundingBox&);
  IVVertexContainerBoundingBox& operator=(const IVVertexContainerBoundingBox&);
  ~IVVertexContainerBoundingBox() override;

  // `vertices` holds the edges as consecutive pairs (a box's twelve edges are 24
  // vertices); `transform` maps them as positions to the space whose z decides which
  // corner is lowest, null meaning the vertices' own space. With `excludeMinimumZ`
  // false the edges touching a lowest corner are drawn, with true the others. Neither
  // pointer is owned; both must stay valid while the container may be rendered. What
  // was recorded for the renderer is dropped, so the next render shows the new values.
  void SetParams(std::vector<IVVertexP>* vertices, const MMTransform* transform, bool excludeMinimumZ);

  std::vector<IVVertexP>* GetVertices() const { return vertices; }
  const MMTransform* GetTransform() const { return transform; }
  bool GetExcludeMinimumZ() const { return excludeMinimumZ; }

protected:
  // Nothing without a vertex list; std::out_of_range, with the line batch left open,
  // for an empty one.
  void _Optimise(IIVVertexStream<IVVertexP>& stream) override;

private:
  std::vector<IVVertexP>* vertices = nullptr;
  const MMTransform* transform = nullptr;
  bool excludeMinimumZ = false;
};
