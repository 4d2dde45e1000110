#pragma once
// Internal to the mesh readers: merges corners with equal integer coordinates into points.
// An open-addressing table (linear probing, power-of-two size, at most half full) of point
// numbers with 32 bits of their hash, 8 bytes a slot, so that the table of a million
// points stays small. Only a slot whose hash bits agree is compared in the point array,
// where the point is mostly in the cache anyway: files list neighbouring triangles close
// together, so a point comes back soon after it was made. Corners are welded in batches:
// the batch is hashed first, then each corner is looked up while the slot of one a few
// places ahead is prefetched.
#include "host/mesh/Implementation/StlCorner.h"
#include "host/mesh/MStlLargeAllocator.h"

#include <cstddef>
#include <cstdint>

namespace stl_detail {

class CornerWelder {
public:
  // Sized for a closed mesh of that many corners (a point per six corners); grows beyond.
  explicit CornerWelder(std::size_t expectedCorners) {
    const std::size_t expectedPoints = expectedCorners / 6;
    std::size_t capacity = 64;
    while (capacity < 2 * expectedPoints) capacity *= 2;
    m_slots.assign(capacity, Slot{kEmpty, 0});
    m_mask = capacity - 1;
    m_points.reserve(3 * expectedPoints);
    m_indices.reserve(expectedCorners);
  }

  void Add(const Corner& c) {
    std::int32_t* at = &m_batch[3 * m_in_batch++];
    at[0] = c.x;
    at[1] = c.y;
    at[2] = c.z;
    if (m_in_batch == kBatch) Flush();
  }

  // Room for a triangle's three corners, x y z each, written in place and added by
  // AddTriangle(): corners that are not added are not welded.
  std::int32_t* TriangleRoom() {
    if (m_in_batch + 3 > kBatch) Flush();
    return &m_batch[3 * m_in_batch];
  }
  void AddTriangle() { m_in_batch += 3; }

  void Flush() {
    std::uint64_t hashes[kBatch];
    for (std::size_t i = 0; i < m_in_batch; ++i) hashes[i] = Hash(BatchCorner(i));
    constexpr std::size_t kLookAhead = 32;
    for (std::size_t i = 0; i < m_in_batch; ++i) {
      if (i + kLookAhead < m_in_batch) __builtin_prefetch(&m_slots[hashes[i + kLookAhead] & m_mask]);
      m_indices.push_back(Weld(BatchCorner(i), hashes[i]));
    }
    m_in_batch = 0;
  }

  // After Flush(): one point index per corner, and the points, x y z each, in the order
  // they were first seen.
  MStlLargeVector<std::uint32_t> TakeIndices() { return std::move(m_indices); }
  MStlLargeVector<std::int32_t> TakePoints() { return std::move(m_points); }

private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  static constexpr std::size_t kBatch = 1024;
  struct Slot {
    std::uint32_t index;  // kEmpty when free
    std::uint32_t tag;    // the high half of the point's hash
  };

  static std::uint64_t Hash(const Corner& c) {
    std::uint64_t h = std::uint32_t(c.x) * 0x9E3779B97F4A7C15ull;
    h ^= std::uint32_t(c.y) * 0xC2B2AE3D27D4EB4Full;
    h ^= std::uint32_t(c.z) * 0x165667B19E3779F9ull;
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 29);
  }

  Corner BatchCorner(std::size_t i) const { return {m_batch[3 * i], m_batch[3 * i + 1], m_batch[3 * i + 2]}; }

  // The number of the point at c, made when c is new.
  std::uint32_t Weld(const Corner& c, std::uint64_t hash) {
    const std::uint32_t tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
      const Slot s = m_slots[i];
      if (s.index == kEmpty) {
        const std::uint32_t made = static_cast<std::uint32_t>(m_points.size() / 3);
        m_slots[i] = {made, tag};
        m_points.insert(m_points.end(), {c.x, c.y, c.z});
        if (2 * (std::size_t(made) + 1) > m_slots.size()) Grow();
        return made;
      }
      if (s.tag != tag) continue;
      const std::int32_t* p = &m_points[3 * std::size_t(s.index)];
      if (p[0] == c.x && p[1] == c.y && p[2] == c.z) return s.index;
    }
  }

  void Grow() {
    MStlLargeVector<Slot> old(2 * m_slots.size(), Slot{kEmpty, 0});
    old.swap(m_slots);
    m_mask = m_slots.size() - 1;
    for (const Slot& s : old) {
      if (s.index == kEmpty) continue;
      const std::int32_t* p = &m_points[3 * std::size_t(s.index)];
      std::size_t i = Hash(Corner{p[0], p[1], p[2]}) & m_mask;
      while (m_slots[i].index != kEmpty) i = (i + 1) & m_mask;
      m_slots[i] = s;
    }
  }

  MStlLargeVector<Slot> m_slots;
  std::size_t m_mask = 0;
  MStlLargeVector<std::int32_t> m_points;
  MStlLargeVector<std::uint32_t> m_indices;
  std::int32_t m_batch[3 * kBatch];  // x y z per corner
  std::size_t m_in_batch = 0;
};

}  // namespace stl_detail
