#pragma once
// The host's string table: user-interface texts by resource identifier.
#include "host/HostApi.h"

// The text of the identifier, or L"" when the table has none. The pointer stays valid
// for the life of the process, also after the identifier is given a new text.
VISTAL_HOST_API const wchar_t* GetResourceString(unsigned int id);
// Adds or replaces a text (a host's own strings, or a translation).
VISTAL_HOST_API void SetResourceString(unsigned int id, const wchar_t* text);

// Identifiers of the built-in table.
namespace ResourceStringIds {
constexpr unsigned kVolumeRendering = 7622;     // type name of the volume-rendering object
constexpr unsigned kPreviewPan = 33355;         // preview toolbar commands
constexpr unsigned kPreviewRotate = 33359;
constexpr unsigned kPreviewUnzoom = 33361;
constexpr unsigned kPreviewZoomRect = 33362;
}  // namespace ResourceStringIds
