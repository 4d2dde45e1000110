#pragma once
// The process-wide pools behind the point nodes of section borders (M3dBorder.h).
//
// Border contours keep their points in a std::list whose allocator is
// boost::fast_pool_allocator, which takes its nodes from a boost::singleton_pool. That
// singleton is a template's static data: under hidden visibility every shared object that
// instantiates it would get a pool of its own, and a border filled in one library and
// freed in another would hand nodes to the wrong pool. So for the block allocator that
// border lists name (M3dBorderNodeBlocks) the singleton pool is specialised to forward to
// one set of pools kept here, in the host library: one pool per node size, each guarded
// by its own mutex, the first block holding 32 nodes and each further block twice as
// many as the one before.
#include "host/HostApi.h"

#include <boost/pool/pool_alloc.hpp>

#include <cstddef>
#include <vector>

// The user allocator of the border node pools: where their blocks come from.
struct VISTAL_HOST_API M3dBorderNodeBlocks {
  using size_type = std::size_t;
  using difference_type = std::ptrdiff_t;
  static char* malloc BOOST_PREVENT_MACRO_SUBSTITUTION(size_type bytes);
  static void free BOOST_PREVENT_MACRO_SUBSTITUTION(char* block);
};

class M3dBorderNodePool;

// The pool for nodes of `nodeSize` bytes, made on first use and kept for the process.
VISTAL_HOST_API M3dBorderNodePool* M3dBorderGetNodePool(std::size_t nodeSize);
VISTAL_HOST_API void* M3dBorderAllocateNodes(M3dBorderNodePool* pool, std::size_t count);
VISTAL_HOST_API void M3dBorderFreeNodes(M3dBorderNodePool* pool, void* nodes, std::size_t count);
VISTAL_HOST_API bool M3dBorderIsFromPool(M3dBorderNodePool* pool, void* node);
// Releases the unused blocks of one pool, as M3dBorderReleaseUnusedNodes does for all.
VISTAL_HOST_API bool M3dBorderReleaseNodePool(M3dBorderNodePool* pool);

// Gives back to the system every block of the border node pools that holds no live node:
// all blocks of a pool without live nodes (the pool then starts again at 32), and the
// wholly free blocks of the others. Answers whether any block was released. The library
// calls it when it unloads; the host library calls it once more at process exit.
VISTAL_HOST_API bool M3dBorderReleaseUnusedNodes();

// What a pool holds, for diagnostics and tests.
struct M3dBorderNodePoolStats {
  std::size_t nodeSize = 0;
  std::size_t liveNodes = 0;       // taken and not yet given back
  std::size_t nextBlockNodes = 0;  // the size of the block the pool allocates next
};
VISTAL_HOST_API std::vector<M3dBorderNodePoolStats> M3dBorderGetNodePoolStats();

namespace boost {

// The singleton pool that boost::fast_pool_allocator uses for border nodes, forwarding to
// the host library's pools.
template <unsigned RequestedSize>
struct singleton_pool<fast_pool_allocator_tag, RequestedSize, M3dBorderNodeBlocks, details::pool::default_mutex,
                      32, 0> {
  using size_type = std::size_t;
  using difference_type = std::ptrdiff_t;
  static constexpr unsigned requested_size = RequestedSize;
  static constexpr unsigned next_size = 32;

  static void* malloc BOOST_PREVENT_MACRO_SUBSTITUTION() { return M3dBorderAllocateNodes(Pool(), 1); }
  static void* ordered_malloc() { return M3dBorderAllocateNodes(Pool(), 1); }
  static void* ordered_malloc(size_type n) { return M3dBorderAllocateNodes(Pool(), n); }
  static void free BOOST_PREVENT_MACRO_SUBSTITUTION(void* ptr) { M3dBorderFreeNodes(Pool(), ptr, 1); }
  static void free BOOST_PREVENT_MACRO_SUBSTITUTION(void* ptr, size_type n) { M3dBorderFreeNodes(Pool(), ptr, n); }
  static void ordered_free(void* ptr) { M3dBorderFreeNodes(Pool(), ptr, 1); }
  static void ordered_free(void* ptr, size_type n) { M3dBorderFreeNodes(Pool(), ptr, n); }
  // The allocator's constructor asks with null only to bring the pool to life early; the
  // pool here comes to life on first allocation, so that question costs nothing.
  static bool is_from(void* ptr) { return ptr != nullptr && M3dBorderIsFromPool(Pool(), ptr); }
  static bool release_memory() { return M3dBorderReleaseNodePool(Pool()); }

private:
  // Each shared object caches the pointer; the pool behind it is the same for all.
  static M3dBorderNodePool* Pool() {
    static M3dBorderNodePool* const pool = M3dBorderGetNodePool(RequestedSize);
    return pool;
  }
};

}  // namespace boost
