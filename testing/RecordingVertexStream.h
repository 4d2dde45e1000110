#pragma once
// The vertex stream of a RecordingRender: it behaves as the renderer's immediate stream
// (one batch gathered between Begin... and End, drawn at End, vertices outside a batch
// dropped) and logs each call into the renderer's log.
#include "testing/RecordingRender.h"

#include <initializer_list>
#include <vector>

template <typename V>
class RecordingVertexStream final : public IIVVertexStream<V> {
public:
  explicit RecordingVertexStream(RecordingRender& render, const IVDrawOptions& options = {})
      : m_render(render), m_options(options) {}

  void SetOptions(const IVDrawOptions& options) { m_options = options; }
  const IVDrawOptions& GetOptions() const { return m_options; }
  bool IsBatchOpen() const { return m_open; }

  void BeginTriangles() override { Begin(ERenderCall::BeginTriangles, EPrimitive::Triangles); }
  void BeginLines() override { Begin(ERenderCall::BeginLines, EPrimitive::Lines); }
  void BeginPoints() override { Begin(ERenderCall::BeginPoints, EPrimitive::Points); }
  void End() override {
    m_render.Record(Call(ERenderCall::End));
    Flush();
  }
  void AddTriangle(const V& a, const V& b, const V& c) override { Add(ERenderCall::AddTriangle, {&a, &b, &c}); }
  void AddLine(const V& a, const V& b) override { Add(ERenderCall::AddLine, {&a, &b}); }
  void AddPoint(const V& a) override { Add(ERenderCall::AddPoint, {&a}); }

private:
  RenderCall Call(ERenderCall kind) const {
    RenderCall c(kind);
    c.vertex = VertexKindOf<V>();
    return c;
  }
  // A new Begin ends the open batch, as the immediate stream does; that implicit end is
  // not a call, so only its draw shows in the log.
  void Begin(ERenderCall kind, EPrimitive primitive) {
    m_render.Record(Call(kind));
    Flush();
    m_primitive = primitive;
    m_open = true;
  }
  void Add(ERenderCall kind, std::initializer_list<const V*> vertices) {
    RenderCall c = Call(kind);
    c.count = vertices.size();
    for (const V* v : vertices) c.floats.insert(c.floats.end(), {v->x, v->y, v->z});
    m_render.Record(std::move(c));
    if (m_open)
      for (const V* v : vertices) m_vertices.push_back(*v);
  }
  void Flush() {
    if (!m_open) return;
    m_open = false;
    if (!m_vertices.empty()) m_render.Draw(m_primitive, IVVertexLayoutOf<V>(), m_vertices.data(), m_vertices.size(), m_options);
    m_vertices.clear();
  }

  RecordingRender& m_render;
  IVDrawOptions m_options;
  std::vector<V> m_vertices;
  EPrimitive m_primitive = EPrimitive::Triangles;
  bool m_open = false;
};
