#pragma once
// The part that every vertex-keeping stream shares: batches opened by a Begin call,
// vertices gathered while one is open, End closing it. Subclasses decide what a closed
// batch becomes (drawn at once, or kept).
#include "host/render/IIVVertexStream.h"
#include "host/render/IVVertex.h"

#include <cstddef>
#include <vector>

enum class EPrimitive : unsigned char { Triangles, Lines, Points };

template <typename V>
class IVGatheringStream : public IIVVertexStream<V> {
public:
  void BeginTriangles() override { _Open(EPrimitive::Triangles); }
  void BeginLines() override { _Open(EPrimitive::Lines); }
  void BeginPoints() override { _Open(EPrimitive::Points); }
  void End() override {
    if (!m_open) return;
    m_open = false;
    _Closed();
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

protected:
  // A batch of the primitive has just opened, or the open one has just closed.
  virtual void _Opened(EPrimitive primitive) {}
  virtual void _Closed() = 0;

  std::vector<V> m_vertices;
  EPrimitive m_primitive = EPrimitive::Triangles;

private:
  void _Open(EPrimitive p) {
    End();
    m_primitive = p;
    m_open = true;
    _Opened(p);
  }

  bool m_open = false;
};
