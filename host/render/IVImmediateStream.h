#pragma once
// A vertex stream that gathers one batch and has the renderer draw it when it ends, with
// the state current at that moment.
#include "host/render/IVRender.h"

#include <vector>

template <typename V>
class IVImmediateStream final : public IIVVertexStream<V> {
public:
  explicit IVImmediateStream(IVRender& render) : m_render(render) {}

  void SetOptions(const IVDrawOptions& options) { m_options = options; }

  void BeginTriangles() override { Begin(EPrimitive::Triangles); }
  void BeginLines() override { Begin(EPrimitive::Lines); }
  void BeginPoints() override { Begin(EPrimitive::Points); }
  void End() override {
    if (!m_open) return;
    m_open = false;
    if (!m_vertices.empty())
      m_render._DrawVertices(m_primitive, IVVertexLayoutOf<V>(), m_vertices.data(), m_vertices.size(), m_options);
    m_vertices.clear();  // keeps its capacity for the next batch
  }
  // Vertices given outside a batch belong to no primitive and are dropped.
  void AddTriangle(const V& a, const V& b, const V& c) override {
    if (m_open) m_vertices.insert(m_vertices.end(), {a, b, c});
  }
  void AddLine(const V& a, const V& b) override {
    if (m_open) m_vertices.insert(m_vertices.end(), {a, b});
  }
  void AddPoint(const V& a) override {
    if (m_open) m_vertices.push_back(a);
  }
  void AddTriangles(const V* vertices, std::size_t count) override {
    if (m_open) m_vertices.insert(m_vertices.end(), vertices, vertices + 3 * count);
  }

private:
  void Begin(EPrimitive p) {
    End();
    m_primitive = p;
    m_open = true;
  }

  IVRender& m_render;
  IVDrawOptions m_options;
  std::vector<V> m_vertices;
  EPrimitive m_primitive = EPrimitive::Triangles;
  bool m_open = false;
};
