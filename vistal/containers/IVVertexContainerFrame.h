#pragma once
// The outline of a rectangular frame as four lines.
#include "host/framework/MFrame.h"
#include "host/render/IVVertexContainer.h"
#include "vistal/Api.h"

class VISTAL_API IVVertexContainerFrame : public IVVertexContainer<IVVertexP> {
public:
  // An all-zero frame, drawn as four degenerate lines at the origin.
  IVVertexContainerFrame() = default;
  IVVertexContainerFrame(const IVVertexContainerFrame&);
  IVVertexContainerFrame& operator=(const IVVertexContainerFrame&);
  ~IVVertexContainerFrame() override;

  // Keeps a copy of the frame; what was recorded for the renderer is dropped.
  void SetParams(const MFrame<float>& frame);
  const MFrame<float>& GetFrame() const { return frame; }

protected:
  // With corners O, O + U, O + U + V, O + V: the edges along U and along V that leave O,
  // then the two that meet at the far corner, each drawn from the far corner.
  void _Optimise(IIVVertexStream<IVVertexP>& stream) override;

private:
  MFrame<float> frame;
};
