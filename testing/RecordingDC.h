#pragma once
// A drawing device for tests: it logs every primitive that reaches it, with its arguments
// and the device-context state it was drawn with, and measures text by a fixed rule so
// that layouts can be worked out by hand.
//
// Text measures: a font's cell is |lfHeight| pixels high (16 for 0), its ascent four
// fifths of that (rounded down) and its descent the rest; every character advances by
// lfWidth when set, else by half the cell height (at least 1). No external leading.
#include "host/gdi/IGdiDevice.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

enum class EGdiCall { Rectangle, Ellipse, Polygon, Polyline, PatBlt, DrawFocusRect, TextOut, DrawPixels };

const char* ToString(EGdiCall kind);
std::ostream& operator<<(std::ostream& os, EGdiCall kind);

// One primitive as the device received it.
struct GdiCall {
  EGdiCall kind = EGdiCall::Rectangle;
  // Rectangle, Ellipse, PatBlt, DrawFocusRect, DrawPixels (where the pixels go); for
  // TextOut the options rectangle when hasRect is set.
  RECT rect{0, 0, 0, 0};
  bool hasRect = false;
  std::vector<POINT> points;  // Polygon, Polyline
  DWORD rop = 0;              // PatBlt
  int x = 0, y = 0;           // TextOut
  UINT options = 0;           // TextOut
  std::wstring text;          // TextOut
  std::vector<int> advances;  // TextOut, when given
  std::vector<std::uint8_t> pixels;  // DrawPixels: blue, green, red, alpha; rows top first
  bool blend = false;                // DrawPixels
  GdiDrawState state;         // what it was drawn with (DrawFocusRect uses none)

  std::string ToString() const;
};

class RecordingDC : public IGdiDevice {
public:
  explicit RecordingDC(SIZE surface = {640, 480}) : m_surface(surface) {}

  const std::vector<GdiCall>& Calls() const { return m_calls; }
  std::vector<GdiCall> CallsOf(EGdiCall kind) const;
  std::vector<EGdiCall> Kinds() const;
  std::size_t CountOf(EGdiCall kind) const;
  void Clear() { m_calls.clear(); }
  // The whole log, one call a line.
  std::string ToString() const;

  // IGdiDevice.
  SIZE GetSurfaceSize() const override { return m_surface; }
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
  GdiCall& Record(EGdiCall kind, const GdiDrawState& state);

  SIZE m_surface;
  std::vector<GdiCall> m_calls;
};
