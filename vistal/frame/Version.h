#pragma once
// The library's identity: its version record (listed in the framework's version
// registry while the library is loaded) and its info string.
#include "host/framework/ZelLibraryVersion.h"
#include "vistal/Api.h"

// The namespace name is the module name and the four version fields joined by underscores.
namespace Vistal_XX_xx_00_00 {
VISTAL_API extern ZelLibraryVersion __g_version;
VISTAL_API extern const wchar_t* const __g_zellibrary_info;
}  // namespace Vistal_XX_xx_00_00
