#pragma once
// Where a renderer's frames end up. The background is set right after StartFrame; the
// finished frame is read back after StopFrame.
#include "host/HostApi.h"
#include "host/render/MImageRGBA.h"
#include "host/win/WinTypes.h"

#include <cstdint>
#include <vector>

class CDC;

// A renderer's display surface: the background of its frames and the finished frame.
class VISTAL_HOST_API IVDisplaySurface {
public:
  // Clears the frame to the colour (alpha byte ignored) and/or the depth and stencil.
  virtual void SetBackground(COLORREF colour, bool clearColour, bool clearDepth) = 0;
  // The last finished frame, top row first; false when no frame was drawn.
  virtual bool ReadFrame(MImageRGBA& image) = 0;
  // Puts the last finished frame onto the device context with its top left corner at the
  // context's origin; false when there is no frame or the context takes no pixels.
  virtual bool DrawFrame(CDC& dc);
  virtual ~IVDisplaySurface();

private:
  MImageRGBA m_frame;  // the frame on its way to a device context, kept for the next
  std::vector<std::uint8_t> m_bgra;
};
