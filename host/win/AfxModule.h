#pragma once
// Stand-ins for the GUI framework's module machinery of a dynamic library: the
// per-module state, the extension-module record and the dynamic-link-library record
// that puts a module into the framework's resource and run-time-class lookups.
#include "host/HostApi.h"
#include "host/win/WinTypes.h"

#include <string>
#include <vector>

// The framework state of one module. Constructed first when a library loads and
// destroyed last when it unloads.
class VISTAL_HOST_API AFX_MODULE_STATE {
public:
  explicit AFX_MODULE_STATE(const char* moduleName);
  ~AFX_MODULE_STATE();
  AFX_MODULE_STATE(const AFX_MODULE_STATE&) = delete;
  AFX_MODULE_STATE& operator=(const AFX_MODULE_STATE&) = delete;

  const std::string& Name() const { return m_name; }
  bool IsInitialised() const { return m_initialised; }
  void SetInitialised(bool on) { m_initialised = on; }

private:
  std::string m_name;
  bool m_initialised = false;
};

struct AFX_EXTENSION_MODULE {
  bool bInitialized = false;
  HINSTANCE hModule = nullptr;
  AFX_MODULE_STATE* state = nullptr;
};

// Initialises the framework for a module (core module and per-process GUI set-up).
// Fails for a module without state.
VISTAL_HOST_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& module, HINSTANCE instance);
// Shuts the framework down for a module and ends its extension-module registration.
VISTAL_HOST_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& module, BOOL all = 0);
// Releases the framework's temporary handle maps of the calling thread.
VISTAL_HOST_API void AfxTermThread(HINSTANCE instance = nullptr);

// Puts a module into the framework's lookups for as long as the record lives.
class VISTAL_HOST_API CDynLinkLibrary {
public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& module);
  ~CDynLinkLibrary();
  CDynLinkLibrary(const CDynLinkLibrary&) = delete;
  CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

  const std::string& Name() const;

  // The names of the modules currently in the lookups, in registration order.
  static std::vector<std::string> RegisteredModules();

private:
  AFX_EXTENSION_MODULE& m_module;
};
