#pragma once
// The value store of a data mask: values in pages of exactly 1024 that are allocated as
// the count grows and never move, so growing a mask costs one allocation per 1024 new
// values, copies nothing, and keeps every reference into a kept page valid.
//
// Value i lives in page i >> 10 at position i & 1023. Access tests nothing against the
// count: the mask's owner keeps every slot it hands out below it.
//
// A new page builds its values the way `new T[1024]` does: class types by their default
// constructor, scalars and pointers left as allocated.
#include <cstdint>
#include <vector>

template <typename T>
class MPagedArray {
public:
  static constexpr unsigned kPageShift = 10;
  static constexpr unsigned kPageSize = 1u << kPageShift;
  static constexpr unsigned kPageMask = kPageSize - 1;

  // Pages needed for n values; 64-bit so that counts near 2^32 do not wrap.
  static constexpr unsigned PagesFor(std::uint32_t n) {
    return static_cast<unsigned>((std::uint64_t(n) + kPageMask) >> kPageShift);
  }

  MPagedArray() = default;
  MPagedArray(const MPagedArray& other) {
    try {
      Assign(other);
    } catch (...) {
      Release();
      throw;
    }
  }
  MPagedArray& operator=(const MPagedArray& other) {
    if (this != &other) Assign(other);
    return *this;
  }
  ~MPagedArray() { Release(); }

  T& operator[](std::uint32_t i) { return m_pages.data()[i >> kPageShift][i & kPageMask]; }
  const T& operator[](std::uint32_t i) const { return m_pages.data()[i >> kPageShift][i & kPageMask]; }

  std::uint32_t GetCount() const { return m_count; }
  std::uint32_t GetCapacity() const { return m_capacity; }
  unsigned GetNumPages() const { return static_cast<unsigned>(m_pages.size()); }

  // Allocates or releases pages at the end until there are `numPages`. On an allocation
  // failure the pages added so far stay, and the count is not touched either way.
  void ResizePages(unsigned numPages) {
    if (numPages > m_pages.size()) m_pages.reserve(numPages);  // push_back below cannot throw
    while (m_pages.size() < numPages) {
      m_pages.push_back(new T[kPageSize]);
      m_capacity += kPageSize;
    }
    while (m_pages.size() > numPages) {
      delete[] m_pages.back();
      m_pages.pop_back();
      m_capacity -= kPageSize;
    }
  }
  // The caller has made room for n values.
  void SetCount(std::uint32_t n) { m_count = n; }

  // Becomes a copy of other's values 0 to count - 1, with as many pages as they need.
  void Assign(const MPagedArray& other) {
    ResizePages(PagesFor(other.m_count));
    m_count = other.m_count;
    for (unsigned p = 0; p < PagesFor(m_count); ++p) {
      const unsigned n = p + 1 < PagesFor(m_count) ? kPageSize : m_count - (p << kPageShift);
      const T* from = other.m_pages[p];
      T* to = m_pages[p];
      for (unsigned i = 0; i < n; ++i) to[i] = from[i];
    }
  }

  // Drops every value and page; the array can be used again afterwards.
  void Release() {
    m_count = 0;
    ResizePages(0);
    std::vector<T*>().swap(m_pages);
  }

private:
  std::vector<T*> m_pages;
  std::uint32_t m_count = 0;
  std::uint32_t m_capacity = 0;
};
