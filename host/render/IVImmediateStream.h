#pragma once
// A vertex stream that gathers one batch and has the renderer draw it when it ends, with
// the state current at that moment.
#include "host/render/IVRender.h"

template <typename V>
class IVImmediateStream final : public IVGatheringStream<V> {
public:
  explicit IVImmediateStream(IVRender& render) : m_render(render) {}

  void SetOptions(const IVDrawOptions& options) { m_options = options; }

private:
  void _Closed() override {
    if (!this->m_vertices.empty())
      m_render._DrawVertices(this->m_primitive, IVVertexLayoutOf<V>(), this->m_vertices.data(),
                             this->m_vertices.size(), m_options);
    this->m_vertices.clear();  // keeps its capacity for the next batch
  }

  IVRender& m_render;
  IVDrawOptions m_options;
};
