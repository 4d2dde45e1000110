#pragma once
// The Cairo drawing device: GDI device contexts that draw real pixels into an RGBA image,
// such as the frame the OpenGL backend reads back, so that overlays land on the 3D picture.
#include "backends/cairo/CairoApi.h"
#include "host/gdi/IGdiDevice.h"
#include "host/render/MImageRGBA.h"

#include <memory>

// Draws into an MImageRGBA with GDI's pixel rules: shapes without antialiasing, one-pixel
// pens on pixel centres, lines without their last point, rectangles and ellipses right-
// and bottom-exclusive, XOR inversions that a second call undoes exactly; text through
// fontconfig and FreeType with grey antialiasing and whole-pixel advances.
//
// The image is taken over while the device lives: the constructor reads it, drawing goes
// to the device's own surface, and Flush (or the destructor) writes the pixels back. The
// image must outlive the device and keep its size. An empty image gives a device that
// measures text but draws nothing.
class VISTAL_CAIRO_API CGdiDeviceCairo : public IGdiDevice {
public:
  explicit CGdiDeviceCairo(MImageRGBA& image);
  ~CGdiDeviceCairo() override;
  CGdiDeviceCairo(const CGdiDeviceCairo&) = delete;
  CGdiDeviceCairo& operator=(const CGdiDeviceCairo&) = delete;

  // Writes everything drawn so far into the image.
  void Flush();

  SIZE GetSurfaceSize() const override;
  void Rectangle(const GdiDrawState& state, const RECT& rect) override;
  void Ellipse(const GdiDrawState& state, const RECT& rect) override;
  void Polygon(const GdiDrawState& state, const POINT* points, int count) override;
  void Polyline(const GdiDrawState& state, const POINT* points, int count) override;
  void PatBlt(const GdiDrawState& state, const RECT& rect, DWORD rop) override;
  void DrawFocusRect(const RECT& rect) override;
  void TextOut(const GdiDrawState& state, int x, int y, UINT options, const RECT* rect, const wchar_t* text,
               int count, const int* advances) override;
  void DrawPixels(int x, int y, int width, int height, const std::uint8_t* bgra, std::ptrdiff_t stride,
                  bool blend) override;
  bool GetTextMetrics(const LOGFONTW& font, TEXTMETRICW& metrics) override;
  bool GetTextExtent(const LOGFONTW& font, const wchar_t* text, int count, SIZE& extent) override;

private:
  struct Surface;
  MImageRGBA& m_image;
  std::unique_ptr<Surface> m_surface;
};
