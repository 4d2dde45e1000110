#include "vistal/containers/IVVertexContainerTransparency.h"

#include "host/mesh/MStlPoint.h"
#include "host/mesh/MStlTriangle.h"
#include "vistal/containers/IVTransparencyCache.h"

#include <array>
#include <vector>

namespace {

struct Colour {
  std::uint8_t r, g, b, a;
};

// The colour word's four bytes. (Going through floats, byte / 255 and back with
// * 255 + 0.5 truncated, gives back the same bytes, so the bytes are taken directly.)
Colour ColourOf(const IVRender::Memento* memento) {
  const COLORREF c = memento->GetMaterial().GetDiffuse();
  return {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16), std::uint8_t(c >> 24)};
}

// What the stream needs of one referenced mesh, looked up once per render rather than
// at every change of mesh in a table where meshes may alternate triangle by triangle.
// Every entry's owner is a reference, so every mesh drawn has a captured state.
struct MeshInfo {
  const MStlBase* stl;
  const IVRender::Memento* memento;
  Colour colour;
  int batchGroup;  // meshes of one group share batches (equal under memo type 7)
};

constexpr std::size_t kChunk = 1024;  // triangles handed to the stream at a time

}  // namespace

void IVVertexContainerTransparency::_Optimise(IIVVertexStream<IVVertexPNC>& stream) {
  if (!cache) return;
  const unsigned n = cache->GetNumTriangle();
  if (n == 0) return;

  // One entry per reference; only first references of a mesh are owners.
  const auto& references = cache->GetReferences();
  std::vector<MeshInfo> meshes;
  meshes.reserve(references.size());
  for (const auto& r : references) {
    const IVRender::Memento* memento = &r.memento;
    int group = int(meshes.size());
    for (const MeshInfo& m : meshes)
      if (m.memento->IsEqual(*memento, IVRender::eMemoTransparencyBatch)) {
        group = m.batchGroup;
        break;
      }
    meshes.push_back({r.stl, memento, ColourOf(memento), group});
  }

  std::vector<IVVertexPNC> chunk;
  chunk.reserve(3 * kChunk);
  auto flush = [&] {
    if (!chunk.empty()) stream.AddTriangles(chunk.data(), chunk.size() / 3);
    chunk.clear();
  };

  std::uint32_t current = cache->GetOwner(0);
  const MeshInfo* info = &meshes[current];
  render->RestoreState(*info->memento);
  render->ApplyTransparency();
  stream.BeginTriangles();

  for (unsigned i = 0; i < n; ++i) {
    // The table is in depth order, not memory order: fetch ahead.
    if (i + 64 < n) __builtin_prefetch(cache->GetTriangle(i + 64));
    if (i + 32 < n) {
      const MStlTriangle* ahead = cache->GetTriangle(i + 32);
      for (const MStlPoint* p : ahead->points) __builtin_prefetch(p);
    }
    const MStlTriangle& t = *cache->GetTriangle(i);
    const std::uint32_t owner = cache->GetOwner(i);
    if (owner != current) {
      const MeshInfo& next = meshes[owner];
      if (info->batchGroup != next.batchGroup) {
        flush();
        stream.End();
        render->RestoreState(*next.memento);
        render->ApplyTransparency();
        stream.BeginTriangles();
      }
      current = owner;
      info = &next;
    }
    for (const MStlPoint* p : t.points)
      chunk.push_back({float(p->x), float(p->y), float(p->z), t.normal[0], t.normal[1], t.normal[2], info->colour.r,
                       info->colour.g, info->colour.b, info->colour.a});
    if (chunk.size() == 3 * kChunk) flush();
  }
  flush();
  stream.End();
}
