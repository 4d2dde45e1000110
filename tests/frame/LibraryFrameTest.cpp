// Loads libvistal.so the way a host does and checks what its start-up and tear-down leave
// behind in the framework.
#include "host/framework/ZelLibraryVersion.h"
#include "host/win/AfxModule.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <array>
#include <cstdlib>
#include <string>

namespace {

const char* LibraryPath() {
  const char* path = std::getenv("VISTAL_LIBRARY");
  return path ? path : "libvistal.so";
}

// The exports, by their mangled names (namespace Vistal_XX_xx_00_00).
constexpr const char* kVersionSymbol = "_ZN18Vistal_XX_xx_00_0011__g_versionE";
constexpr const char* kInfoSymbol = "_ZN18Vistal_XX_xx_00_0019__g_zellibrary_infoE";

bool IsLoaded(const char* path) {
  void* h = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
  if (h) dlclose(h);
  return h != nullptr;
}

TEST(LibraryFrame, LoadRegistersExactlyItsRecordAndUnloadRestoresTheRegistry) {
  ASSERT_TRUE(ZelLibraryVersionRegistry::Records().empty());
  ASSERT_TRUE(CDynLinkLibrary::RegisteredModules().empty());

  void* handle = dlopen(LibraryPath(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  auto* record = static_cast<const ZelLibraryVersion*>(dlsym(handle, kVersionSymbol));
  ASSERT_NE(record, nullptr) << dlerror();

  auto records = ZelLibraryVersionRegistry::Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0], record);
  EXPECT_EQ(CDynLinkLibrary::RegisteredModules(), std::vector<std::string>{"Vistal"});

  ASSERT_EQ(dlclose(handle), 0);
  EXPECT_FALSE(IsLoaded(LibraryPath())) << "the library stayed mapped after dlclose";
  EXPECT_TRUE(ZelLibraryVersionRegistry::Records().empty());
  EXPECT_TRUE(CDynLinkLibrary::RegisteredModules().empty());
}

TEST(LibraryFrame, InfoStringAgreesWithTheVersionRecord) {
  void* handle = dlopen(LibraryPath(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  auto* record = static_cast<const ZelLibraryVersion*>(dlsym(handle, kVersionSymbol));
  auto* infoPtr = static_cast<const wchar_t* const*>(dlsym(handle, kInfoSymbol));
  ASSERT_NE(record, nullptr);
  ASSERT_NE(infoPtr, nullptr);

  EXPECT_EQ(record->info, *infoPtr);
  EXPECT_EQ(std::wstring(record->major) + L"." + record->minor + L"." + record->third + L"." + record->fourth + L" " +
                record->module,
            L"XX.xx.00.00 Vistal");
  EXPECT_EQ((std::array{record->dynamic, record->debug, record->unicode, record->x64}),
            (std::array{true, false, true, false}));

  // "Mmm dd yyyy::hh:mm:ss", as the compiler's date and time strings joined by "::".
  const std::wstring stamp = record->timestamp;
  ASSERT_EQ(stamp.size(), 21u) << std::string(stamp.begin(), stamp.end());
  EXPECT_EQ(stamp.substr(11, 2), L"::");
  EXPECT_EQ(std::wstring(*infoPtr),
            L"<ZelLibrary::Dynamic::Vistal::XX::xx::00::00::Unicode-x86-Release::Timestamp::" + stamp + L">");
  dlclose(handle);
}

}  // namespace
