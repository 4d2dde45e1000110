#pragma once
// The container through which the transparency cache draws its sorted table: every
// entry becomes one flat-shaded triangle coloured with its mesh's diffuse colour, and
// the stream is cut into batches wherever the run passes to a mesh whose captured state
// differs (all but the front material, which rides in the vertex colours), with that
// mesh's state restored before the next batch. Internal to the cache.
//
// The vertices made from the table are kept, in table order, until the table is
// rebuilt or re-sorted or a mesh's colour or batching state changes: a frame that skips
// the sort then hands the stream whole runs of ready vertices. Like the table itself,
// they stay valid only while the meshes keep their triangles and points; an owner that
// changes a mesh calls Clear (which drops them with the table).
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
  // A stretch of consecutive entries of one mesh.
  struct Run {
    std::size_t first;   // first triangle
    std::size_t count;   // triangles
    std::uint32_t owner; // reference index of the mesh
    bool newBatch;       // the mesh's state differs from the previous run's
  };
  struct MeshKey {
    std::uint32_t colour;
    int batchGroup;
    bool operator==(const MeshKey&) const = default;
  };

  std::vector<MeshKey> _MeshKeys() const;
  void _MakeVertices(const std::vector<MeshKey>& keys);

  IVTransparencyCache* cache = nullptr;
  IVRender* render = nullptr;
  std::vector<IVVertexPNC> m_vertices;
  std::vector<Run> m_runs;
  std::vector<MeshKey> m_keys;
  std::uint64_t m_generation = ~std::uint64_t(0);
};
