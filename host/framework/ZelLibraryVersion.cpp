#include "host/framework/ZelLibraryVersion.h"

#include <algorithm>
#include <memory>
#include <mutex>

namespace {
// Created on first use and destroyed when its last entry leaves, so an unloaded
// library leaves no trace behind.
std::unique_ptr<std::vector<const ZelLibraryVersion*>> g_registry;
std::mutex g_mutex;
}  // namespace

namespace ZelLibraryVersionRegistry {

void Register(const ZelLibraryVersion* record) {
  std::lock_guard lock(g_mutex);
  if (!g_registry) g_registry = std::make_unique<std::vector<const ZelLibraryVersion*>>();
  g_registry->push_back(record);
}

void Unregister(const ZelLibraryVersion* record) {
  std::lock_guard lock(g_mutex);
  if (!g_registry) return;
  auto it = std::find(g_registry->begin(), g_registry->end(), record);
  if (it == g_registry->end()) return;
  g_registry->erase(it);
  if (g_registry->empty()) g_registry.reset();
}

std::vector<const ZelLibraryVersion*> Records() {
  std::lock_guard lock(g_mutex);
  return g_registry ? *g_registry : std::vector<const ZelLibraryVersion*>{};
}

}  // namespace ZelLibraryVersionRegistry
