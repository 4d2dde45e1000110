#include "host/render/IVDisplaySurface.h"

#include "host/gdi/CDC.h"
#include "host/gdi/WinGdi.h"

IVDisplaySurface::~IVDisplaySurface() = default;

bool IVDisplaySurface::DrawFrame(CDC& dc) {
  if (!ReadFrame(m_frame) || m_frame.Empty()) return false;
  // Device contexts take DIBs: blue, green, red, unused, rows from the top here.
  const std::size_t count = std::size_t(m_frame.Width()) * m_frame.Height();
  m_bgra.resize(count * 4);
  const std::uint8_t* rgba = m_frame.Data();
  for (std::size_t i = 0; i < count; ++i) {
    m_bgra[4 * i] = rgba[4 * i + 2];
    m_bgra[4 * i + 1] = rgba[4 * i + 1];
    m_bgra[4 * i + 2] = rgba[4 * i];
    m_bgra[4 * i + 3] = 0;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = LONG(m_frame.Width());
  info.bmiHeader.biHeight = -LONG(m_frame.Height());
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return ::SetDIBitsToDevice(dc.GetSafeHdc(), 0, 0, m_frame.Width(), m_frame.Height(), 0, 0, 0, m_frame.Height(),
                             m_bgra.data(), &info, DIB_RGB_COLORS) > 0;
}
