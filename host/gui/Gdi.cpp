#include "host/gui/Gdi.h"

namespace gdi {

DWORD GetColorDistanceFromBlack(COLORREF color) {
  const DWORD r = GetRValue(color);
  const DWORD g = GetGValue(color);
  const DWORD b = GetBValue(color);
  return r * r + g * g + b * b;
}

}  // namespace gdi
