#pragma once
// Vertices recorded once as batches, kept for drawing again: what a vertex container
// in static mode keeps for the renderer. A backend may attach a resource (a GPU buffer)
// that lives exactly as long as the recorded vertices.
#include "host/render/IIVVertexStream.h"
#include "host/render/IVVertex.h"

#include <cstddef>
#include <memory>
#include <vector>

enum class EPrimitive : unsigned char { Triangles, Lines, Points };

// What a backend attaches to recorded vertices; destroyed with them.
class IVRenderResource {
public:
  virtual ~IVRenderResource() = default;
};

class IVVertexBatchesBase {
public:
  struct Batch {
    EPrimitive primitive;
    std::size_t first;  // index of the first vertex
    std::size_t count;  // number of vertices
  };

  virtual ~IVVertexBatchesBase() = default;
  virtual const void* Data() const = 0;
  virtual std::size_t NumVertices() const = 0;
  const IVVertexLayout& Layout() const { return m_layout; }
  const std::vector<Batch>& Batches() const { return m_batches; }

  IVRenderResource* GetResource() const { return m_resource.get(); }
  void SetResource(std::unique_ptr<IVRenderResource> resource) { m_resource = std::move(resource); }

protected:
  explicit IVVertexBatchesBase(const IVVertexLayout& layout) : m_layout(layout) {}
  std::vector<Batch> m_batches;

private:
  IVVertexLayout m_layout;
  std::unique_ptr<IVRenderResource> m_resource;
};

// A vertex stream that records what it is given.
template <typename V>
class IVVertexBatches final : public IVVertexBatchesBase, public IIVVertexStream<V> {
public:
  IVVertexBatches() : IVVertexBatchesBase(IVVertexLayoutOf<V>()) {}

  void BeginTriangles() override { Begin(EPrimitive::Triangles); }
  void BeginLines() override { Begin(EPrimitive::Lines); }
  void BeginPoints() override { Begin(EPrimitive::Points); }
  void End() override {
    if (!m_open) return;
    m_open = false;
    Batch& b = m_batches.back();
    b.count = m_vertices.size() - b.first;
    if (b.count == 0) m_batches.pop_back();
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

  const void* Data() const override { return m_vertices.data(); }
  std::size_t NumVertices() const override { return m_vertices.size(); }
  const std::vector<V>& Vertices() const { return m_vertices; }

private:
  void Begin(EPrimitive p) {
    End();
    m_batches.push_back({p, m_vertices.size(), 0});
    m_open = true;
  }

  std::vector<V> m_vertices;
  bool m_open = false;
};
