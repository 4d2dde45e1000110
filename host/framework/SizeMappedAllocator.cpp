#include "host/framework/SizeMappedAllocator.h"

#include <new>

// Under AddressSanitizer the blocks in the free lists are poisoned, so a use after release of a
// recycled transform is still reported although the memory never returns to the heap.
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define VISTAL_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define VISTAL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define VISTAL_POISON(p, n) ((void)(p), (void)(n))
#define VISTAL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

SizeMappedAllocator::~SizeMappedAllocator() {
  for (void* chunk : m_chunks) {
    VISTAL_UNPOISON(chunk, kChunkBytes);
    ::operator delete(chunk);
  }
}

void* SizeMappedAllocator::Allocate(std::size_t size) {
  if (size > kMaxPooledSize) return ::operator new(size);
  const std::size_t cls = _ClassOf(size);
  const std::size_t blockBytes = (cls + 1) * kGranule;
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_free[cls]) _Refill(cls);
  FreeBlock* block = m_free[cls];
  VISTAL_UNPOISON(block, blockBytes);
  m_free[cls] = block->next;
  return block;
}

void SizeMappedAllocator::Release(void* block, std::size_t size) noexcept {
  if (!block) return;
  if (size > kMaxPooledSize) {
    ::operator delete(block);
    return;
  }
  const std::size_t cls = _ClassOf(size);
  std::lock_guard<std::mutex> lock(m_mutex);
  auto* free = static_cast<FreeBlock*>(block);
  free->next = m_free[cls];
  m_free[cls] = free;
  VISTAL_POISON(block, (cls + 1) * kGranule);
}

std::size_t SizeMappedAllocator::FreeBlockCount(std::size_t size) const {
  if (size > kMaxPooledSize) return 0;
  const std::size_t cls = _ClassOf(size);
  const std::size_t blockBytes = (cls + 1) * kGranule;
  std::lock_guard<std::mutex> lock(m_mutex);
  std::size_t count = 0;
  for (FreeBlock* b = m_free[cls]; b;) {
    VISTAL_UNPOISON(b, blockBytes);
    FreeBlock* next = b->next;
    VISTAL_POISON(b, blockBytes);
    b = next;
    ++count;
  }
  return count;
}

// Called with the mutex held and the class's list empty.
void SizeMappedAllocator::_Refill(std::size_t cls) {
  const std::size_t blockBytes = (cls + 1) * kGranule;
  m_chunks.reserve(m_chunks.size() + 1);  // so that the push below cannot throw and leak the chunk
  auto* chunk = static_cast<unsigned char*>(::operator new(kChunkBytes));
  m_chunks.push_back(chunk);
  // Thread the blocks in address order so that consecutive allocations are adjacent.
  FreeBlock* head = nullptr;
  for (std::size_t off = (kChunkBytes / blockBytes) * blockBytes; off >= blockBytes; off -= blockBytes) {
    auto* b = reinterpret_cast<FreeBlock*>(chunk + off - blockBytes);
    b->next = head;
    head = b;
  }
  m_free[cls] = head;
  VISTAL_POISON(chunk, kChunkBytes);
}
