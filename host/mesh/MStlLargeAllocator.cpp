#include "host/mesh/MStlLargeAllocator.h"

#include <cstdlib>

#include <sys/mman.h>

namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
}

void* MStlLargeAllocate(std::size_t bytes) {
  if (bytes < kHugePage) return ::operator new(bytes);
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  if (rounded < bytes) throw std::bad_alloc();
  void* p = std::aligned_alloc(kHugePage, rounded);
  if (!p) throw std::bad_alloc();
  // Only advice: without huge pages the memory works the same, just slower to fault in.
  ::madvise(p, rounded, MADV_HUGEPAGE);
  return p;
}

void MStlLargeFree(void* p, std::size_t bytes) noexcept {
  if (!p) return;
  if (bytes < kHugePage) {
    ::operator delete(p);
  } else {
    std::free(p);
  }
}
