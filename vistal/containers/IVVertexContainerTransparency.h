#pragma once
// The container through which the transparency cache draws its sorted table: every
// entry becomes one flat-shaded triangle coloured with its mesh's diffuse colour, and
// the stream is cut into batches wherever the run passes to a mesh whose captured state
// differs (all but the front material, which rides in the vertex colours), with that
// mesh's state restored before the next batch. Internal to the cache.
//
// The vertices made from the table are kept, in table order, until the table is
// rebuilt or re-sorted or a mesh's colour or batching state changes: a frame that skips
// the sort then hands the stream whole runs of ready vertices. Like the table, they
// stay valid only while the meshes keep their triangles and points.
#include "host/mesh/MStlLargeAllocator.h"
#include "host/render/IVVertexContainer.h"

#include <cstdint>
#include <vector>

class IVTransparencyCache;

class IVVertexContainerTransparency final : public IVVertexContainer<IVVertexPNC> {
public:
  IVVertexContainerTransparency() = default;
  ~IVVertexContainerTransparency() override = default;

  void Attach(IVTransparencyCache* cache_, IVRender* render_) {
    cache = cache_;
    render = render_;
  }
  // Also drops the kept vertices.
  void DestroyRenderOptimisations() override;

protected:
  void _Optimise(IIVVertexStream<IVVertexPNC>& stream) override;

private:
  // A stretch of consecutive entries drawn in one batch.
  struct Run {
    std::size_t first;   // first triangle
    std::size_t count;   // triangles
    std::uint32_t owner; // reference index of the mesh of the first triangle
    bool newBatch;       // opens a batch: the previous entry's mesh has another state
  };
  struct MeshKey {
    std::uint32_t colour;
    int batchGroup;
    bool operator==(const MeshKey&) const = default;
  };

  std::vector<MeshKey> _MeshKeys() const;
  // Makes the vertices of the sorted entries [first, first + count) at `out` and appends
  // their runs. A first run that goes on with the batch of the entry before `first`
  // does not open one.
  void _MakeVertices(std::size_t first, std::size_t count, IVVertexPNC* out, std::vector<Run>& runs,
                     const std::vector<MeshKey>& keys) const;

  IVTransparencyCache* cache = nullptr;
  IVRender* render = nullptr;
  std::vector<MeshKey> m_keys;  // of the meshes as the kept vertices were made
  MStlLargeVector<IVVertexPNC> m_vertices;
  std::vector<Run> m_runs;
  std::uint64_t m_keptGeneration = ~std::uint64_t(0);  // of the table the vertices were made from
};
