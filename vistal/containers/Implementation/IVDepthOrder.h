#pragma once
// The back-to-front order of the transparency cache's triangle table. Each entry of the
// order is one 64-bit word: the upper half is the entry's depth made into an order key
// (farther is smaller, NaN depths last), the lower half the entry's index in the table.
// Sorting moves only these words, with a radix sort on the keys: linear time, and NaN
// depths cannot upset it as they would upset a comparison sort. Entries of equal depth
// end in no particular order. Internal to the library.
#include "host/mesh/MStlLargeAllocator.h"
#include "vistal/containers/Implementation/IVTwoPartWork.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

class IVDepthOrder {
public:
  // n entries in index order, all at depth 0. Throws std::bad_alloc without the memory.
  void Reset(std::uint32_t n);
  // Gives the memory back; the order is then empty.
  void Release();

  std::size_t Size() const { return m_keys.size(); }
  // The table index of the entry at position i of the order.
  std::uint32_t IndexAt(std::size_t i) const { return std::uint32_t(m_keys[i]); }
  float DepthAt(std::size_t i) const { return DepthOfKey(std::uint32_t(m_keys[i] >> 32)); }
  const std::uint64_t* Data() const { return m_keys.data(); }

  // Orders the entries by the depths that depthsOf(begin, end, out) writes to out[0],
  // out[1], ... for the entries [begin, end) of the table; it is called for short
  // stretches, from two threads at once on a large table.
  template <typename DepthsOf>
  void Sort(DepthsOf&& depthsOf);

  // A key whose ascending unsigned order is the descending order of the depths; NaN
  // depths have no place in that order and get the largest key.
  static std::uint32_t BackToFrontKey(float depth) {
    if (std::isnan(depth)) return 0xFFFFFFFFu;
    std::uint32_t bits;
    std::memcpy(&bits, &depth, sizeof bits);
    const std::uint32_t ascending = (bits & 0x80000000u) ? ~bits : (bits | 0x80000000u);
    return ~ascending;
  }
  // The depth a key was made from (a NaN for the key of NaN depths).
  static float DepthOfKey(std::uint32_t key) {
    const std::uint32_t ascending = ~key;
    const std::uint32_t bits = (ascending & 0x80000000u) ? (ascending & 0x7FFFFFFFu) : ~ascending;
    float depth;
    std::memcpy(&depth, &bits, sizeof depth);
    return depth;
  }

private:
  static constexpr int kDigitBits = 11;
  static constexpr std::uint32_t kBuckets = 1u << kDigitBits;

  // What the key-making pass of one half of the table learns on the way.
  struct PartSummary {
    std::uint32_t low = 0xFFFFFFFFu;
    std::uint32_t high = 0;
    std::uint32_t lowDigits[kBuckets] = {};  // counts of the keys' lowest 11 bits
  };

  void _RadixSort(const PartSummary (&parts)[2]);

  MStlLargeVector<std::uint64_t> m_keys;
  MStlLargeVector<std::uint64_t> m_scratch;
};

template <typename DepthsOf>
void IVDepthOrder::Sort(DepthsOf&& depthsOf) {
  PartSummary parts[2];
  IVRunInTwoParts(m_keys.size(), [&](int part, std::size_t begin, std::size_t end) {
    PartSummary& summary = parts[part];
    constexpr std::size_t kStretch = 1024;
    float depths[kStretch];
    for (std::size_t first = begin; first < end; first += kStretch) {
      const std::size_t count = std::min(kStretch, end - first);
      depthsOf(first, first + count, depths);
      for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t key = BackToFrontKey(depths[k]);
        summary.low = std::min(summary.low, key);
        summary.high = std::max(summary.high, key);
        ++summary.lowDigits[key & (kBuckets - 1)];
        m_keys[first + k] = (std::uint64_t(key) << 32) | (first + k);
      }
    }
  });
  _RadixSort(parts);
}
