#include "testing/RecordingDC.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <sstream>

namespace {

int CellHeight(const LOGFONTW& font) { return font.lfHeight == 0 ? 16 : std::abs(font.lfHeight); }
int Advance(const LOGFONTW& font) {
  return font.lfWidth > 0 ? font.lfWidth : std::max(1, CellHeight(font) / 2);
}

std::ostream& operator<<(std::ostream& os, const RECT& r) {
  return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

}  // namespace

const char* ToString(EGdiCall kind) {
  switch (kind) {
    case EGdiCall::Rectangle: return "Rectangle";
    case EGdiCall::Ellipse: return "Ellipse";
    case EGdiCall::Polygon: return "Polygon";
    case EGdiCall::Polyline: return "Polyline";
    case EGdiCall::PatBlt: return "PatBlt";
    case EGdiCall::DrawFocusRect: return "DrawFocusRect";
    case EGdiCall::TextOut: return "TextOut";
    case EGdiCall::DrawPixels: return "DrawPixels";
  }
  return "?";
}

std::ostream& operator<<(std::ostream& os, EGdiCall kind) { return os << ToString(kind); }

std::string GdiCall::ToString() const {
  std::ostringstream os;
  os << ::ToString(kind) << std::hex;
  switch (kind) {
    case EGdiCall::Polygon:
    case EGdiCall::Polyline:
      os << std::dec;
      for (const POINT& p : points) os << " (" << p.x << "," << p.y << ")";
      break;
    case EGdiCall::TextOut:
      os << std::dec << " at (" << x << "," << y << ") options " << options;
      if (hasRect) os << " rect " << rect;
      os << " \"" << std::string(text.begin(), text.end()) << "\"";
      break;
    default: os << std::dec << " " << rect; break;
  }
  if (kind == EGdiCall::PatBlt) os << " rop 0x" << std::hex << rop;
  if (kind == EGdiCall::DrawPixels) os << (blend ? " blend" : " copy");
  os << std::hex << " | text 0x" << state.textColour << " bk 0x" << state.bkColour << std::dec << " mode "
     << state.bkMode << " pen " << state.pen.style << "/" << state.pen.width << "/0x" << std::hex
     << state.pen.colour << " brush " << std::dec << state.brush.style << "/0x" << std::hex << state.brush.colour;
  return os.str();
}

std::vector<GdiCall> RecordingDC::CallsOf(EGdiCall kind) const {
  std::vector<GdiCall> out;
  std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(out), [&](const GdiCall& c) { return c.kind == kind; });
  return out;
}

std::vector<EGdiCall> RecordingDC::Kinds() const {
  std::vector<EGdiCall> out;
  for (const GdiCall& c : m_calls) out.push_back(c.kind);
  return out;
}

std::size_t RecordingDC::CountOf(EGdiCall kind) const {
  return std::size_t(std::count_if(m_calls.begin(), m_calls.end(), [&](const GdiCall& c) { return c.kind == kind; }));
}

std::string RecordingDC::ToString() const {
  std::string out;
  for (const GdiCall& c : m_calls) out += c.ToString() + "\n";
  return out;
}

void RecordingDC::Rectangle(const GdiDrawState& state, const RECT& rect) {
  GdiCall& call = Record(EGdiCall::Rectangle, state);
  call.rect = rect;
}

void RecordingDC::Ellipse(const GdiDrawState& state, const RECT& rect) {
  GdiCall& call = Record(EGdiCall::Ellipse, state);
  call.rect = rect;
}

void RecordingDC::Polygon(const GdiDrawState& state, const POINT* points, int count) {
  Record(EGdiCall::Polygon, state).points.assign(points, points + count);
}

void RecordingDC::Polyline(const GdiDrawState& state, const POINT* points, int count) {
  Record(EGdiCall::Polyline, state).points.assign(points, points + count);
}

void RecordingDC::PatBlt(const GdiDrawState& state, const RECT& rect, DWORD rop) {
  GdiCall& call = Record(EGdiCall::PatBlt, state);
  call.rect = rect;
  call.rop = rop;
}

void RecordingDC::DrawFocusRect(const RECT& rect) { Record(EGdiCall::DrawFocusRect, GdiDrawState{}).rect = rect; }

void RecordingDC::TextOut(const GdiDrawState& state, int x, int y, UINT options, const RECT* rect,
                          const wchar_t* text, int count, const int* advances) {
  GdiCall& call = Record(EGdiCall::TextOut, state);
  call.x = x;
  call.y = y;
  call.options = options;
  if (rect) call.rect = *rect, call.hasRect = true;
  if (count > 0) call.text.assign(text, text + count);
  if (advances && count > 0) call.advances.assign(advances, advances + count);
}

void RecordingDC::DrawPixels(int x, int y, int width, int height, const std::uint8_t* bgra, std::ptrdiff_t stride,
                             bool blend) {
  GdiCall& call = Record(EGdiCall::DrawPixels, GdiDrawState{});
  call.rect = {x, y, x + width, y + height};
  call.blend = blend;
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* source = bgra + std::ptrdiff_t(row) * stride;
    call.pixels.insert(call.pixels.end(), source, source + std::size_t(width) * 4);
  }
}

GdiCall& RecordingDC::Record(EGdiCall kind, const GdiDrawState& state) {
  GdiCall& call = m_calls.emplace_back();
  call.kind = kind;
  call.state = state;
  return call;
}

bool RecordingDC::GetTextMetrics(const LOGFONTW& font, TEXTMETRICW& metrics) {
  const int cell = CellHeight(font);
  metrics = {};
  metrics.tmHeight = cell;
  metrics.tmAscent = cell * 4 / 5;
  metrics.tmDescent = cell - metrics.tmAscent;
  metrics.tmAveCharWidth = metrics.tmMaxCharWidth = Advance(font);
  metrics.tmWeight = font.lfWeight;
  metrics.tmItalic = font.lfItalic;
  metrics.tmUnderlined = font.lfUnderline;
  metrics.tmStruckOut = font.lfStrikeOut;
  metrics.tmCharSet = font.lfCharSet;
  metrics.tmFirstChar = L' ';
  metrics.tmLastChar = 0xFFFC;
  metrics.tmBreakChar = L' ';
  return true;
}

bool RecordingDC::GetTextExtent(const LOGFONTW& font, const wchar_t*, int count, SIZE& extent) {
  extent = {Advance(font) * std::max(count, 0), CellHeight(font)};
  return true;
}
