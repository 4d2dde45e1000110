#pragma once
// The container through which the transparency cache draws its sorted table: every
// entry becomes one flat-shaded triangle coloured with its mesh's diffuse colour, and
// the stream is cut into batches wherever the run passes to a mesh whose captured state
// differs (all but the front material, which rides in the vertex colours), with that
// mesh's state restored before the next batch. Internal to the cache.
//
// The vertices are made anew on every render, a chunk at a time, on two cores for a
// large table, and handed to the stream chunk by chunk: the container keeps only two
// chunks' worth of vertices, not a copy of the whole table.
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
  // Also gives back the chunk buffers.
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
  };
  // The vertices and runs of one chunk of the sorted table.
  struct Chunk {
    MStlLargeVector<IVVertexPNC> vertices;
    std::vector<Run> runs;
  };

  std::vector<MeshKey> _MeshKeys() const;
  // Makes the vertices of the sorted entries [first, first + count) at `out` and appends
  // their runs. A first run that goes on with the batch of the entry before `first`
  // does not open one.
  void _MakeVertices(std::size_t first, std::size_t count, IVVertexPNC* out, std::vector<Run>& runs,
                     const std::vector<MeshKey>& keys) const;

  IVTransparencyCache* cache = nullptr;
  IVRender* render = nullptr;
  Chunk m_chunks[2];
};
