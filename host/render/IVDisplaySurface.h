#pragma once
// Where a renderer's frames end up. The background is set right after StartFrame; the
// finished frame is read back after StopFrame.
#include "host/render/MImageRGBA.h"
#include "host/win/WinTypes.h"

class IVDisplaySurface {
public:
  // Clears the frame to the colour (alpha byte ignored) and/or the depth and stencil.
  virtual void SetBackground(COLORREF colour, bool clearColour, bool clearDepth) = 0;
  // The last finished frame, top row first; false when no frame was drawn.
  virtual bool ReadFrame(MImageRGBA& image) = 0;
  virtual ~IVDisplaySurface() = default;
};
