#include "vistal/containers/IVVertexContainerTransparency.h"

#include "host/mesh/MStlPoint.h"
#include "host/mesh/MStlTriangle.h"
#include "vistal/containers/IVTransparencyCache.h"

void IVVertexContainerTransparency::DestroyRenderOptimisations() {
  IVVertexContainer<IVVertexPNC>::DestroyRenderOptimisations();
  std::vector<IVVertexPNC>().swap(m_vertices);
  m_runs.clear();
  m_keys.clear();
  m_generation = ~std::uint64_t(0);
}

// Per reference: the diffuse colour of its captured material, and the group of
// references whose states are equal under memo type 7 (those share batches). Every
// table entry's owner is a reference, so every mesh drawn has a captured state.
std::vector<IVVertexContainerTransparency::MeshKey> IVVertexContainerTransparency::_MeshKeys() const {
  const auto& references = cache->GetReferences();
  std::vector<MeshKey> keys;
  keys.reserve(references.size());
  for (std::size_t i = 0; i < references.size(); ++i) {
    const IVRender::Memento& memento = references[i].memento;
    int group = int(i);
    for (std::size_t j = 0; j < i; ++j)
      if (references[j].memento.IsEqual(memento, IVRender::eMemoTransparencyBatch)) {
        group = keys[j].batchGroup;
        break;
      }
    keys.push_back({memento.GetMaterial().GetDiffuse(), group});
  }
  return keys;
}

void IVVertexContainerTransparency::_MakeVertices(const std::vector<MeshKey>& keys) {
  const unsigned n = cache->GetNumTriangle();
  m_vertices.resize(std::size_t(n) * 3);
  m_runs.clear();
  IVVertexPNC* out = m_vertices.data();
  std::uint32_t current = ~0u;
  for (unsigned i = 0; i < n; ++i) {
    // The table is in depth order, not memory order: fetch ahead.
    if (i + 64 < n) __builtin_prefetch(cache->GetTriangle(i + 64));
    if (i + 32 < n)
      for (const MStlPoint* p : cache->GetTriangle(i + 32)->points) __builtin_prefetch(p);
    const std::uint32_t owner = cache->GetOwner(i);
    if (owner != current) {
      const bool newBatch = current == ~0u || keys[owner].batchGroup != keys[current].batchGroup;
      m_runs.push_back({i, 0, owner, newBatch});
      current = owner;
    }
    ++m_runs.back().count;
    // The colour word's bytes. (Going through floats, byte / 255 and back with
    // * 255 + 0.5 truncated, gives back the same bytes, so they are taken directly.)
    const COLORREF c = keys[owner].colour;
    const MStlTriangle& t = *cache->GetTriangle(i);
    for (const MStlPoint* p : t.points)
      *out++ = {float(p->x), float(p->y), float(p->z), t.normal[0], t.normal[1], t.normal[2],
                std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16), std::uint8_t(c >> 24)};
  }
}

void IVVertexContainerTransparency::_Optimise(IIVVertexStream<IVVertexPNC>& stream) {
  if (!cache) return;
  if (cache->GetNumTriangle() == 0) return;
  std::vector<MeshKey> keys = _MeshKeys();
  if (m_generation != cache->GetTableGeneration() || keys != m_keys ||
      m_vertices.size() != std::size_t(cache->GetNumTriangle()) * 3) {
    _MakeVertices(keys);
    m_keys = std::move(keys);
    m_generation = cache->GetTableGeneration();
  }

  const auto& references = cache->GetReferences();
  bool open = false;
  for (const Run& run : m_runs) {
    if (run.newBatch) {
      if (open) stream.End();
      render->RestoreState(references[run.owner].memento);
      render->ApplyTransparency();
      stream.BeginTriangles();
      open = true;
    }
    stream.AddTriangles(&m_vertices[run.first * 3], run.count);
  }
  stream.End();
}
