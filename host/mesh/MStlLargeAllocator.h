#pragma once
// Allocator for the big arrays of meshes and of their loading (points, triangles, weld
// tables). Blocks of 2 MB and more are aligned to 2 MB and offered to the kernel for huge
// pages, so that a million triangles take 32 page faults instead of 16,000; on virtual
// machines, where a fault is expensive, that is ~10 ms against ~400 ms for 64 MB.
// Smaller blocks come from operator new.
#include "host/HostApi.h"

#include <cstddef>
#include <new>
#include <vector>

VISTAL_HOST_API void* MStlLargeAllocate(std::size_t bytes);
VISTAL_HOST_API void MStlLargeFree(void* p, std::size_t bytes) noexcept;

template <typename T>
class MStlLargeAllocator {
public:
  using value_type = T;

  MStlLargeAllocator() = default;
  template <typename U>
  MStlLargeAllocator(const MStlLargeAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(MStlLargeAllocate(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { MStlLargeFree(p, n * sizeof(T)); }

  template <typename U>
  bool operator==(const MStlLargeAllocator<U>&) const noexcept {
    return true;
  }
};

template <typename T>
using MStlLargeVector = std::vector<T, MStlLargeAllocator<T>>;
