#pragma once
// Vertices recorded once as batches, kept for drawing again: what a vertex container
// in static mode keeps for the renderer. A backend may attach a resource (a GPU buffer)
// that lives exactly as long as the recorded vertices.
#include "host/render/IVGatheringStream.h"

#include <cstddef>
#include <memory>
#include <vector>

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
class IVVertexBatches final : public IVVertexBatchesBase, public IVGatheringStream<V> {
public:
  IVVertexBatches() : IVVertexBatchesBase(IVVertexLayoutOf<V>()) {}

  const void* Data() const override { return this->m_vertices.data(); }
  std::size_t NumVertices() const override { return this->m_vertices.size(); }
  const std::vector<V>& Vertices() const { return this->m_vertices; }

private:
  void _Opened(EPrimitive p) override { m_batches.push_back({p, this->m_vertices.size(), 0}); }
  void _Closed() override {
    Batch& b = m_batches.back();
    b.count = this->m_vertices.size() - b.first;
    if (b.count == 0) m_batches.pop_back();
  }
};
