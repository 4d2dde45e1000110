#pragma once
// A small-object allocator that keeps one free list per size class. Transforms are created and
// dropped all the time (every Clone, every temporary of a repository lookup); recycling their
// blocks by size avoids a trip through the general heap each time. Thread-safe: one mutex guards
// all lists, which is cheap because the critical sections are a few pointer moves.
#include "host/HostApi.h"

#include <array>
#include <cstddef>
#include <mutex>
#include <vector>

class VISTAL_HOST_API SizeMappedAllocator {
public:
  // Sizes are rounded up to whole granules; the granule keeps every block 16-byte aligned.
  static constexpr std::size_t kGranule = 16;
  // Larger requests are rare (no transform comes near it) and go straight to the heap.
  static constexpr std::size_t kMaxPooledSize = 512;
  // Each refill carves a chunk of this many bytes into blocks of one class.
  static constexpr std::size_t kChunkBytes = 4096;

  SizeMappedAllocator() = default;
  SizeMappedAllocator(const SizeMappedAllocator&) = delete;
  SizeMappedAllocator& operator=(const SizeMappedAllocator&) = delete;
  // Returns every chunk to the heap; blocks still handed out become invalid.
  ~SizeMappedAllocator();

  // A block of at least `size` bytes. Throws std::bad_alloc when the heap is exhausted.
  void* Allocate(std::size_t size);
  // Gives back a block from Allocate; `size` must be the size it was allocated with.
  void Release(void* block, std::size_t size) noexcept;

  // Blocks of the class serving `size` that wait in its free list (0 for unpooled sizes).
  std::size_t FreeBlockCount(std::size_t size) const;

private:
  struct FreeBlock {
    FreeBlock* next;
  };
  static constexpr std::size_t kClassCount = kMaxPooledSize / kGranule;

  // Class index for a pooled size: 0 serves 1..16 bytes (and 0), 1 serves 17..32, ...
  static std::size_t _ClassOf(std::size_t size) { return size == 0 ? 0 : (size - 1) / kGranule; }
  void _Refill(std::size_t cls);

  mutable std::mutex m_mutex;
  std::array<FreeBlock*, kClassCount> m_free{};
  std::vector<void*> m_chunks;
};
