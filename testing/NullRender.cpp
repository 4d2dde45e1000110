#include "testing/NullRender.h"

#include <algorithm>

struct NullRender::Streams {
  NullVertexStream<IVVertexP> p;
  NullVertexStream<IVVertexPN> pn;
  NullVertexStream<IVVertexPNT> pnt;
  NullVertexStream<IVVertexPNC> pnc;
};

NullRender::NullRender(unsigned numClipPlanes)
    : m_num_clip_planes(std::min(numClipPlanes, IVRenderState::kMaxClipPlanes)), m_streams(std::make_unique<Streams>()) {}

NullRender::~NullRender() = default;

std::size_t NullRender::VerticesSeen() const {
  return m_drawn + m_streams->p.Count() + m_streams->pn.Count() + m_streams->pnt.Count() + m_streams->pnc.Count();
}

IIVVertexStream<IVVertexPN>* NullRender::GetVertexStreamPN() { return new NullVertexStream<IVVertexPN>(); }

IIVVertexStream<IVVertexP>& NullRender::_ImmediateStream(const IVVertexP*, const IVDrawOptions&) { return m_streams->p; }
IIVVertexStream<IVVertexPN>& NullRender::_ImmediateStream(const IVVertexPN*, const IVDrawOptions&) { return m_streams->pn; }
IIVVertexStream<IVVertexPNT>& NullRender::_ImmediateStream(const IVVertexPNT*, const IVDrawOptions&) {
  return m_streams->pnt;
}
IIVVertexStream<IVVertexPNC>& NullRender::_ImmediateStream(const IVVertexPNC*, const IVDrawOptions&) {
  return m_streams->pnc;
}
