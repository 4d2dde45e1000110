#include "vistal/containers/IVVertexContainerTransparency.h"

#include "vistal/containers/IVTransparencyCache.h"
#include "vistal/containers/IVTwoPartWork.h"

#include <new>

void IVVertexContainerTransparency::DestroyRenderOptimisations() {
  IVVertexContainer<IVVertexPNC>::DestroyRenderOptimisations();
  decltype(m_vertices)().swap(m_vertices);
  m_runs.clear();
  m_keys.clear();
  m_keptGeneration = ~std::uint64_t(0);
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

void IVVertexContainerTransparency::_MakeVertices(std::size_t first, std::size_t count, IVVertexPNC* out,
                                                  std::vector<Run>& runs, const std::vector<MeshKey>& keys) const {
  // The order is by depth, the records by mesh: fetch the records a little ahead.
  constexpr std::size_t kAhead = 64;
  const std::uint64_t* order = cache->GetOrder();
  const IVTransparencyCache::TDrawRecord* records = cache->GetDrawRecords();
  const std::size_t n = cache->GetNumTriangle();
  const std::size_t end = first + count;
  // The owner of the entry before, and of the entry at hand.
  std::uint32_t current = first == 0 ? ~0u : records[std::uint32_t(order[first - 1])].owner;
  std::uint32_t owner = ~0u;
  std::uint8_t rgba[4] = {};
  for (std::size_t i = first; i < end; ++i) {
    if (i + kAhead < n) __builtin_prefetch(&records[std::uint32_t(order[i + kAhead])]);
    const IVTransparencyCache::TDrawRecord& record = records[std::uint32_t(order[i])];
    if (record.owner != owner) {
      owner = record.owner;
      // The colour word's bytes. (Going through floats, byte / 255 and back with
      // * 255 + 0.5 truncated, gives back the same bytes, so they are taken directly.)
      const COLORREF c = keys[owner].colour;
      rgba[0] = std::uint8_t(c);
      rgba[1] = std::uint8_t(c >> 8);
      rgba[2] = std::uint8_t(c >> 16);
      rgba[3] = std::uint8_t(c >> 24);
      // Meshes whose states agree share a batch; only their colours differ.
      if (current == ~0u || keys[owner].batchGroup != keys[current].batchGroup) {
        runs.push_back({i, 0, owner, true});
      }
      current = owner;
    }
    if (runs.empty()) runs.push_back({i, 0, owner, false});  // goes on with the batch before `first`
    ++runs.back().count;
    IVVertexPNC v{0.0f, 0.0f, 0.0f, record.normal[0], record.normal[1], record.normal[2],
                  rgba[0], rgba[1], rgba[2], rgba[3]};
    for (const float* corner : record.corners) {
      v.x = corner[0];
      v.y = corner[1];
      v.z = corner[2];
      *out++ = v;
    }
  }
}

void IVVertexContainerTransparency::_Optimise(IIVVertexStream<IVVertexPNC>& stream) {
  if (!cache) return;
  const std::size_t n = cache->GetNumTriangle();
  if (n == 0) return;
  const std::vector<MeshKey> keys = _MeshKeys();
  const std::uint64_t generation = cache->GetTableGeneration();
  if (generation != m_keptGeneration || keys != m_keys) {
    m_keptGeneration = ~std::uint64_t(0);
    try {
      m_vertices.resize(3 * n);
      // Two halves of the table at once on a large one; the second half's first run goes
      // on with the first half's last batch where their meshes' states agree.
      std::vector<Run> secondHalf;
      m_runs.clear();
      IVRunInTwoParts(n, [&](int part, std::size_t begin, std::size_t end) {
        _MakeVertices(begin, end - begin, &m_vertices[3 * begin], part == 0 ? m_runs : secondHalf, keys);
      });
      m_runs.insert(m_runs.end(), secondHalf.begin(), secondHalf.end());
    } catch (const std::bad_alloc&) {
      // Without the memory for the vertices this frame draws no transparent triangles.
      DestroyRenderOptimisations();
      return;
    }
    m_keys = keys;
    m_keptGeneration = generation;
  }

  const auto& references = cache->GetReferences();
  for (const Run& run : m_runs) {
    if (run.newBatch) {
      if (&run != &m_runs.front()) stream.End();
      render->RestoreState(references[run.owner].memento);
      render->ApplyTransparency();
      stream.BeginTriangles();
    }
    stream.AddTriangles(&m_vertices[3 * run.first], run.count);
  }
  stream.End();
}
