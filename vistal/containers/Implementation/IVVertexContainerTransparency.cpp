#include "vistal/containers/Implementation/IVVertexContainerTransparency.h"

#include "vistal/containers/IVTransparencyCache.h"
#include "vistal/containers/Implementation/IVTwoPartWork.h"

#include <algorithm>
#include <new>

namespace {
// Triangles per chunk: 1.4 MB of vertices, small beside a large table and large enough
// that handing a chunk from one thread to the other costs little.
constexpr std::size_t kChunk = 1 << 14;
}  // namespace

void IVVertexContainerTransparency::DestroyRenderOptimisations() {
  IVVertexContainer<IVVertexPNC>::DestroyRenderOptimisations();
  for (Chunk& chunk : m_chunks) chunk = Chunk();
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
  // Each entry's owner comes from the span of the table that holds it; the span of the
  // entry before is tried first.
  const IVTransparencyCache::TSpan* span = nullptr;
  auto ownerOf = [&](std::uint32_t index) {
    span = cache->SpanOf(index, span);
    return span->owner;
  };
  // The owner of the entry before, and of the entry at hand.
  std::uint32_t current = first == 0 ? ~0u : ownerOf(std::uint32_t(order[first - 1]));
  std::uint32_t owner = ~0u;
  std::uint8_t rgba[4] = {};
  for (std::size_t i = first; i < end; ++i) {
    if (i + kAhead < n) {
      // A 48-byte record may straddle two cache lines: fetch both.
      const char* ahead = reinterpret_cast<const char*>(&records[std::uint32_t(order[i + kAhead])]);
      __builtin_prefetch(ahead);
      __builtin_prefetch(ahead + sizeof(IVTransparencyCache::TDrawRecord) - 1);
    }
    const std::uint32_t index = std::uint32_t(order[i]);
    const IVTransparencyCache::TDrawRecord& record = records[index];
    const std::uint32_t recordOwner = ownerOf(index);
    if (recordOwner != owner) {
      owner = recordOwner;
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
  try {
    for (Chunk& chunk : m_chunks) {
      chunk.vertices.resize(3 * std::min(n, kChunk));
      chunk.runs.reserve(std::min(n, kChunk));
    }
  } catch (const std::bad_alloc&) {
    // Without the memory for the vertices this frame draws no transparent triangles.
    DestroyRenderOptimisations();
    return;
  }

  const auto& references = cache->GetReferences();
  bool open = false;
  IVMakeAndConsumeInChunks(
      n, kChunk,
      [&](int slot, std::size_t begin, std::size_t end) {
        Chunk& chunk = m_chunks[slot];
        chunk.runs.clear();
        _MakeVertices(begin, end - begin, chunk.vertices.data(), chunk.runs, keys);
      },
      [&](int slot, std::size_t begin, std::size_t) {
        const Chunk& chunk = m_chunks[slot];
        for (const Run& run : chunk.runs) {
          if (run.newBatch) {
            if (open) stream.End();
            render->RestoreState(references[run.owner].memento);
            render->ApplyTransparency();
            stream.BeginTriangles();
            open = true;
          }
          stream.AddTriangles(&chunk.vertices[3 * (run.first - begin)], run.count);
        }
      });
  stream.End();
}
