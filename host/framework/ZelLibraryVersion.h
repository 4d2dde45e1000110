#pragma once
// The framework's library version record and the registry in which every loaded
// library of the application lists its record. The registry is process-wide so that a
// loader (or a diagnostics page) can enumerate the libraries present; each library
// appends its own record when it loads and erases it when it unloads.
#include "host/HostApi.h"

#include <vector>

struct ZelLibraryVersion {
  const wchar_t* major;      // "XX"
  const wchar_t* minor;      // "xx"
  const wchar_t* third;      // "00"
  const wchar_t* fourth;     // "00"
  const wchar_t* module;     // module name
  const wchar_t* info;       // the library info string
  const wchar_t* timestamp;  // build date and time, "Mmm dd yyyy::hh:mm:ss"
  bool dynamic;              // built as a dynamic library
  bool debug;                // built with debugging (false: release)
  bool unicode;              // built with wide characters
  bool x64;                  // built for a 64-bit target (false: the x86 flavour)
};

namespace ZelLibraryVersionRegistry {
// Appends the record's address (a record may be listed more than once, as in a growable array).
VISTAL_HOST_API void Register(const ZelLibraryVersion* record);
// Erases the first entry equal to the address; the later entries move down. No-op when absent.
VISTAL_HOST_API void Unregister(const ZelLibraryVersion* record);
// A snapshot of the registry in registration order.
VISTAL_HOST_API std::vector<const ZelLibraryVersion*> Records();
}  // namespace ZelLibraryVersionRegistry
