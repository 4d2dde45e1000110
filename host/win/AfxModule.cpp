#include "host/win/AfxModule.h"

#include <algorithm>
#include <mutex>

namespace {
std::mutex g_mutex;
std::vector<CDynLinkLibrary*>& Libraries() {
  static std::vector<CDynLinkLibrary*> libraries;
  return libraries;
}
}  // namespace

AFX_MODULE_STATE::AFX_MODULE_STATE(const char* moduleName) : m_name(moduleName ? moduleName : "") {}
AFX_MODULE_STATE::~AFX_MODULE_STATE() = default;

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& module, HINSTANCE instance) {
  if (!module.state) return 0;
  module.hModule = instance;
  module.state->SetInitialised(true);
  module.bInitialized = true;
  return 1;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& module, BOOL) {
  if (module.state) module.state->SetInitialised(false);
  module.bInitialized = false;
}

void AfxTermThread(HINSTANCE) {
  // Nothing is kept per thread by this framework; the call exists so that a module's
  // thread-detach path reads as on the host.
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& module) : m_module(module) {
  std::lock_guard lock(g_mutex);
  Libraries().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  std::lock_guard lock(g_mutex);
  auto& libs = Libraries();
  libs.erase(std::remove(libs.begin(), libs.end(), this), libs.end());
}

const std::string& CDynLinkLibrary::Name() const {
  static const std::string none;
  return m_module.state ? m_module.state->Name() : none;
}

std::vector<std::string> CDynLinkLibrary::RegisteredModules() {
  std::lock_guard lock(g_mutex);
  std::vector<std::string> names;
  for (auto* lib : Libraries()) names.push_back(lib->Name());
  return names;
}
