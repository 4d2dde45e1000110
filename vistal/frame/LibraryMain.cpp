// Start-up and tear-down of libvistal.so. The static objects of this unit are
// constructed in the order they are defined when the library loads, and destroyed in
// reverse order when it unloads, which gives the module entry its order:
//   1. the framework's module state,
//   2. the static objects of the dependency libraries (the section-border node pool),
//   3. the version record, registered in the version registry,
//   4. process attach: framework initialisation and the extension-module registration.
#include "host/meshops/M3dBorder.h"
#include "host/meshops/MStlSlicerBase.h"
#include "host/win/AfxModule.h"
#include "vistal/frame/Version.h"

#include <new>

#define VISTAL_BUILD_TIMESTAMP __DATE__ "::" __TIME__

namespace Vistal_XX_xx_00_00 {

const wchar_t* const __g_zellibrary_info =
    L"<ZelLibrary::Dynamic::Vistal::XX::xx::00::00::Unicode-x86-Release::Timestamp::" VISTAL_BUILD_TIMESTAMP ">";

// Flags 1 and 3 say what the info string says of the build (Dynamic, Unicode); the
// second and fourth (debug, 64-bit flavour) are off as the info string names a
// "Release" "x86" build.
ZelLibraryVersion __g_version = {
    L"XX", L"xx", L"00", L"00", L"Vistal", __g_zellibrary_info, L"" VISTAL_BUILD_TIMESTAMP,
    true, false, true, false,
};

}  // namespace Vistal_XX_xx_00_00

namespace {

// 1. Module state.
AFX_MODULE_STATE g_moduleState("Vistal");

// 2. The pool that serves the point nodes of section borders: made ready (its first
// block and its lock) before anything can slice, and its unused blocks given back when
// the library unloads.
struct SectionNodePool {
  SectionNodePool() {
    M3dBorderContour<double, MStlSlicerBase::MSlicePointData>::PointList ready;
    ready.emplace_back();
  }
  ~SectionNodePool() { M3dBorderReleaseUnusedNodes(); }
  SectionNodePool(const SectionNodePool&) = delete;
  SectionNodePool& operator=(const SectionNodePool&) = delete;
} g_sectionNodePool;

// 3. The version record enters the registry for as long as the library is loaded.
struct VersionRegistration {
  VersionRegistration() { ZelLibraryVersionRegistry::Register(&Vistal_XX_xx_00_00::__g_version); }
  ~VersionRegistration() { ZelLibraryVersionRegistry::Unregister(&Vistal_XX_xx_00_00::__g_version); }
  VersionRegistration(const VersionRegistration&) = delete;
  VersionRegistration& operator=(const VersionRegistration&) = delete;
} g_versionRegistration;

// 4. Process attach and detach. A failed framework initialisation leaves the module
// out of the framework's lookups; an out-of-memory error during attach is swallowed
// and the framework shut down for this module, as a loader cannot take an exception.
class ModuleEntry {
public:
  ModuleEntry() {
    m_module.state = &g_moduleState;
    try {
      if (!AfxInitExtensionModule(m_module, nullptr)) {
        AfxTermExtensionModule(m_module);
        return;
      }
      m_library = new CDynLinkLibrary(m_module);
    } catch (const std::bad_alloc&) {
      AfxTermExtensionModule(m_module);
    }
  }
  ~ModuleEntry() {
    AfxTermThread();
    AfxTermExtensionModule(m_module, 1);
    delete m_library;
  }
  ModuleEntry(const ModuleEntry&) = delete;
  ModuleEntry& operator=(const ModuleEntry&) = delete;

private:
  AFX_EXTENSION_MODULE m_module;
  CDynLinkLibrary* m_library = nullptr;
} g_moduleEntry;

}  // namespace
