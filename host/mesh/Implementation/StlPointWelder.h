#pragma once
// Internal to the STL reader: merges corners with equal integer coordinates into points.
// An open-addressing table (linear probing, power-of-two size, at most half full) whose
// slots hold the coordinates themselves, so a lookup touches one cache line; the reader
// prefetches slots a few corners ahead to overlap those misses.
#include "host/mesh/Implementation/StlCorner.h"
#include "host/mesh/MStlLargeAllocator.h"

#include <cstddef>
#include <cstdint>

namespace stl_detail {

class PointWelder {
public:
  // Sized for about `expectedPoints` distinct points; grows beyond that.
  explicit PointWelder(std::size_t expectedPoints) {
    std::size_t capacity = 64;
    while (capacity < 2 * expectedPoints) capacity *= 2;
    m_slots.assign(capacity, Slot{0, 0, 0, kEmpty});
    m_mask = capacity - 1;
    m_points.reserve(3 * expectedPoints);
  }

  void Prefetch(const Corner& c) const { __builtin_prefetch(&m_slots[Hash(c) & m_mask]); }

  // The number of the point at c, made when c is new.
  std::uint32_t Weld(const Corner& c) {
    for (std::size_t i = Hash(c) & m_mask;; i = (i + 1) & m_mask) {
      Slot& s = m_slots[i];
      if (s.index == kEmpty) {
        const std::uint32_t index = static_cast<std::uint32_t>(m_points.size() / 3);
        s = {c.x, c.y, c.z, index};
        m_points.push_back(c.x);
        m_points.push_back(c.y);
        m_points.push_back(c.z);
        if (2 * (index + 1) > m_slots.size()) Grow();
        return index;
      }
      if (s.x == c.x && s.y == c.y && s.z == c.z) return s.index;
    }
  }

  std::uint32_t GetNumPoints() const { return static_cast<std::uint32_t>(m_points.size() / 3); }
  // x y z per point, in the order the points were first seen.
  const MStlLargeVector<std::int32_t>& GetPoints() const { return m_points; }
  MStlLargeVector<std::int32_t> TakePoints() { return std::move(m_points); }

private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  struct Slot {
    std::int32_t x, y, z;
    std::uint32_t index;
  };

  static std::uint64_t Hash(const Corner& c) {
    std::uint64_t h = std::uint32_t(c.x) * 0x9E3779B97F4A7C15ull;
    h ^= std::uint32_t(c.y) * 0xC2B2AE3D27D4EB4Full;
    h ^= std::uint32_t(c.z) * 0x165667B19E3779F9ull;
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 29);
  }

  void Grow() {
    MStlLargeVector<Slot> old(2 * m_slots.size(), Slot{0, 0, 0, kEmpty});
    old.swap(m_slots);
    m_mask = m_slots.size() - 1;
    for (const Slot& s : old) {
      if (s.index == kEmpty) continue;
      std::size_t i = Hash(Corner{s.x, s.y, s.z}) & m_mask;
      while (m_slots[i].index != kEmpty) i = (i + 1) & m_mask;
      m_slots[i] = s;
    }
  }

  MStlLargeVector<Slot> m_slots;
  std::size_t m_mask = 0;
  MStlLargeVector<std::int32_t> m_points;
};

// Welds corners as they come, in batches: the slot of a corner a few places ahead is
// prefetched while the current one is looked up, which overlaps the cache misses.
class CornerWelder {
public:
  explicit CornerWelder(std::size_t expectedCorners)
      : m_welder(expectedCorners / 6) {  // closed meshes: a point per two triangles
    m_indices.reserve(expectedCorners);
  }

  void Add(const Corner& c) {
    m_batch[m_inBatch++] = c;
    if (m_inBatch == kBatch) Flush();
  }

  void Flush() {
    constexpr std::size_t kLookAhead = 16;
    for (std::size_t i = 0; i < m_inBatch; ++i) {
      if (i + kLookAhead < m_inBatch) m_welder.Prefetch(m_batch[i + kLookAhead]);
      m_indices.push_back(m_welder.Weld(m_batch[i]));
    }
    m_inBatch = 0;
  }

  // After Flush(): one point index per corner, and the points, x y z each.
  MStlLargeVector<std::uint32_t> TakeIndices() { return std::move(m_indices); }
  MStlLargeVector<std::int32_t> TakePoints() { return m_welder.TakePoints(); }

private:
  static constexpr std::size_t kBatch = 1024;
  PointWelder m_welder;
  MStlLargeVector<std::uint32_t> m_indices;
  Corner m_batch[kBatch];
  std::size_t m_inBatch = 0;
};

}  // namespace stl_detail
