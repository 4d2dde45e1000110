#include "vistal/containers/Implementation/IVDepthOrder.h"

#include <bit>

void IVDepthOrder::Reset(std::uint32_t n) {
  m_keys.resize(n);
  m_scratch.resize(n);
  const std::uint64_t atDepthZero = std::uint64_t(BackToFrontKey(0.0f)) << 32;
  for (std::uint32_t i = 0; i < n; ++i) m_keys[i] = atDepthZero | i;
}

void IVDepthOrder::Release() {
  decltype(m_keys)().swap(m_keys);
  decltype(m_scratch)().swap(m_scratch);
}

// LSD radix sort on the upper halves in passes of 11 bits. The keys are sorted by their
// distance from the smallest one, so that only as many passes run as their spread
// needs: the depths of a scene well in front of the eye span a small part of the float
// range and take two passes instead of three. Each pass runs in two halves (see
// IVRunInTwoParts): every half scatters its keys to the places its digit counts give it,
// and counts, for each half of the output, the digits of the next pass.
void IVDepthOrder::_RadixSort(const PartSummary (&parts)[2]) {
  const std::size_t n = m_keys.size();
  const std::uint32_t low = std::min(parts[0].low, parts[1].low);
  const std::uint32_t high = std::max(parts[0].high, parts[1].high);
  if (n < 256) {
    std::sort(m_keys.begin(), m_keys.end());
    return;
  }
  const int passes = (std::bit_width(high - low) + kDigitBits - 1) / kDigitBits;
  const std::size_t half = n / 2;

  // counts[h][d]: keys of input half h with digit d in the coming pass. The lowest digit
  // of key - low is that of the key shifted round by the lowest digit of low.
  std::uint32_t counts[2][kBuckets];
  for (int h = 0; h < 2; ++h)
    for (std::uint32_t d = 0; d < kBuckets; ++d)
      counts[h][(d - low) & (kBuckets - 1)] = parts[h].lowDigits[d];

  std::uint64_t* from = m_keys.data();
  std::uint64_t* to = m_scratch.data();
  for (int p = 0; p < passes; ++p) {
    // Where each input half puts its keys of each digit: the halves stay in order within
    // a digit, which keeps the sort stable.
    std::uint32_t next[2][kBuckets];
    std::uint32_t sum = 0;
    for (std::uint32_t d = 0; d < kBuckets; ++d) {
      next[0][d] = sum;
      next[1][d] = sum + counts[0][d];
      sum += counts[0][d] + counts[1][d];
    }
    const int shift = p * kDigitBits;
    const bool countNext = p + 1 < passes;
    const int nextShift = countNext ? shift + kDigitBits : 0;
    // nextCounts[part][h][d]: the following pass's digit counts, per part and output half.
    std::uint32_t nextCounts[2][2][kBuckets] = {};
    IVRunInTwoParts(n, [&](int part, std::size_t begin, std::size_t end) {
      std::uint32_t* place = next[part];
      std::uint32_t(*following)[kBuckets] = nextCounts[part];
      for (std::size_t i = begin; i < end; ++i) {
        const std::uint64_t k = from[i];
        const std::uint32_t distance = std::uint32_t(k >> 32) - low;
        const std::uint32_t at = place[(distance >> shift) & (kBuckets - 1)]++;
        to[at] = k;
        if (countNext) ++following[at >= half][(distance >> nextShift) & (kBuckets - 1)];
      }
    });
    for (int h = 0; h < 2; ++h)
      for (std::uint32_t d = 0; d < kBuckets; ++d) counts[h][d] = nextCounts[0][h][d] + nextCounts[1][h][d];
    std::swap(from, to);
  }
  if (from != m_keys.data()) m_keys.swap(m_scratch);
}
