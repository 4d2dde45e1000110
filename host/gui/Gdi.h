#pragma once
// Colour measures of the host's GUI library that overlay drawing relies on.
#include "host/HostApi.h"
#include "host/win/WinTypes.h"

namespace gdi {

// Squared distance of a colour from black over its red, green and blue bytes,
// r*r + g*g + b*b: 0 for black up to 195075 for white. The top byte is ignored.
VISTAL_HOST_API DWORD GetColorDistanceFromBlack(COLORREF color);

}  // namespace gdi
