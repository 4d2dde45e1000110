#include "host/meshops/M3dBorderNodePool.h"

#include <boost/pool/pool.hpp>

#include <memory>
#include <mutex>
#include <new>

class M3dBorderNodePool {
public:
  static constexpr std::size_t kFirstBlockNodes = 32;

  explicit M3dBorderNodePool(std::size_t nodeSize) : m_node_size(nodeSize), m_pool(nodeSize, kFirstBlockNodes, 0) {}

  void* Allocate(std::size_t count) {
    std::lock_guard<boost::details::pool::default_mutex> lock(m_mutex);
    void* nodes = count == 1 ? m_pool.malloc() : m_pool.ordered_malloc(count);
    if (nodes) m_live += count;
    return nodes;
  }
  void Free(void* nodes, std::size_t count) {
    if (!nodes) return;
    std::lock_guard<boost::details::pool::default_mutex> lock(m_mutex);
    if (count == 1)
      m_pool.free(nodes);
    else
      m_pool.free(nodes, count);
    m_live -= count;
  }
  bool IsFrom(void* node) {
    std::lock_guard<boost::details::pool::default_mutex> lock(m_mutex);
    return m_pool.is_from(node);
  }
  // Nodes come and go in any order, so the free list is unordered and boost's
  // release_memory finds only the blocks whose free nodes happen to lie in order; a pool
  // without live nodes can give back everything, whatever the order.
  bool Release() {
    std::lock_guard<boost::details::pool::default_mutex> lock(m_mutex);
    return m_live == 0 ? m_pool.purge_memory() : m_pool.release_memory();
  }
  M3dBorderNodePoolStats Stats() {
    std::lock_guard<boost::details::pool::default_mutex> lock(m_mutex);
    return {m_node_size, m_live, m_pool.get_next_size()};
  }
  std::size_t GetNodeSize() const { return m_node_size; }

private:
  const std::size_t m_node_size;
  boost::details::pool::default_mutex m_mutex;
  boost::pool<M3dBorderNodeBlocks> m_pool;
  std::size_t m_live = 0;
};

namespace {

// Pools live until the process ends: a border held by a static object of some other
// library may be destroyed after this library's statics, and must still find its pool.
struct PoolRegistry {
  std::mutex mutex;
  std::vector<std::unique_ptr<M3dBorderNodePool>> pools;
};

PoolRegistry& Registry() {
  static PoolRegistry* const registry = new PoolRegistry;
  return *registry;
}

// At process exit (or when this library is unloaded) unused blocks go back.
struct ReleaseAtExit {
  ~ReleaseAtExit() { M3dBorderReleaseUnusedNodes(); }
} g_release_at_exit;

}  // namespace

char* M3dBorderNodeBlocks::malloc BOOST_PREVENT_MACRO_SUBSTITUTION(size_type bytes) {
  return new (std::nothrow) char[bytes];
}

void M3dBorderNodeBlocks::free BOOST_PREVENT_MACRO_SUBSTITUTION(char* block) { delete[] block; }

M3dBorderNodePool* M3dBorderGetNodePool(std::size_t nodeSize) {
  PoolRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  for (const auto& p : r.pools)
    if (p->GetNodeSize() == nodeSize) return p.get();
  r.pools.push_back(std::make_unique<M3dBorderNodePool>(nodeSize));
  return r.pools.back().get();
}

void* M3dBorderAllocateNodes(M3dBorderNodePool* pool, std::size_t count) { return pool->Allocate(count); }

void M3dBorderFreeNodes(M3dBorderNodePool* pool, void* nodes, std::size_t count) { pool->Free(nodes, count); }

bool M3dBorderIsFromPool(M3dBorderNodePool* pool, void* node) { return pool->IsFrom(node); }

bool M3dBorderReleaseNodePool(M3dBorderNodePool* pool) { return pool->Release(); }

bool M3dBorderReleaseUnusedNodes() {
  PoolRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  bool released = false;
  for (const auto& p : r.pools) released = p->Release() || released;
  return released;
}

std::vector<M3dBorderNodePoolStats> M3dBorderGetNodePoolStats() {
  PoolRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  std::vector<M3dBorderNodePoolStats> stats;
  for (const auto& p : r.pools) stats.push_back(p->Stats());
  return stats;
}
