#include "vistal/containers/IVVertexContainerFrame.h"

namespace {

IVVertexP Vertex(const MMPoint3d<float>& p) { return {p.x, p.y, p.z}; }

}  // namespace

IVVertexContainerFrame::IVVertexContainerFrame(const IVVertexContainerFrame&) = default;
IVVertexContainerFrame& IVVertexContainerFrame::operator=(const IVVertexContainerFrame&) = default;
IVVertexContainerFrame::~IVVertexContainerFrame() = default;

void IVVertexContainerFrame::SetParams(const MFrame<float>& frame_) {
  frame = frame_;
  DestroyRenderOptimisations();
}

void IVVertexContainerFrame::_Optimise(IIVVertexStream<IVVertexP>& stream) {
  const MMPoint3d<float>& o = frame.O;
  const MMPoint3d<float> ou = o + frame.U;
  const MMPoint3d<float> ouv = ou + frame.V;
  const MMPoint3d<float> ov = o + frame.V;
  stream.BeginLines();
  stream.AddLine(Vertex(o), Vertex(ou));
  stream.AddLine(Vertex(ouv), Vertex(ou));
  stream.AddLine(Vertex(ouv), Vertex(ov));
  stream.AddLine(Vertex(o), Vertex(ov));
  stream.End();
}
