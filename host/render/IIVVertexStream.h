#pragma once
#include <cstddef>

// A stream of vertices of one type, filled one batch at a time: Begin..., Add..., End.
template <typename V>
class IIVVertexStream {
public:
  virtual void BeginTriangles() = 0;
  virtual void BeginLines() = 0;
  virtual void BeginPoints() = 0;
  virtual void End() = 0;
  virtual void AddTriangle(const V& a, const V& b, const V& c) = 0;
  virtual void AddLine(const V& a, const V& b) = 0;
  virtual void AddPoint(const V& a) = 0;
  virtual ~IIVVertexStream() = default;
  // Adds count triangles, three consecutive vertices each. Streams that store vertices
  // take them in one go; the default hands them to AddTriangle one by one.
  virtual void AddTriangles(const V* vertices, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) AddTriangle(vertices[3 * i], vertices[3 * i + 1], vertices[3 * i + 2]);
  }
};
