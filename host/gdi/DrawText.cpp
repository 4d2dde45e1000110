// DrawTextW: lays text out in a rectangle with the device's font measures and draws it line
// by line through the device's text output.
#include "host/gdi/IGdiDevice.h"
#include "host/gdi/Implementation/GdiHandles.h"
#include "host/gdi/WinUser.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Line {
  std::wstring text;
  std::vector<int> underlined;  // positions of prefixed characters
};

// Removes the prefix marks: "&x" underlines x, "&&" is one "&", a last lone "&" goes.
Line StripPrefixes(const wchar_t* text, int count, bool prefixes) {
  Line line;
  line.text.reserve(std::size_t(count));
  for (int i = 0; i < count; ++i) {
    if (prefixes && text[i] == L'&') {
      if (++i == count) break;
      if (text[i] != L'&') line.underlined.push_back(int(line.text.size()));
    }
    line.text.push_back(text[i]);
  }
  return line;
}

// Breaks at CR LF, LF and CR.
std::vector<Line> SplitLines(const Line& all) {
  std::vector<Line> lines(1);
  for (std::size_t i = 0; i < all.text.size(); ++i) {
    const wchar_t c = all.text[i];
    if (c == L'\r' || c == L'\n') {
      if (c == L'\r' && i + 1 < all.text.size() && all.text[i + 1] == L'\n') ++i;
      lines.emplace_back();
      continue;
    }
    if (std::find(all.underlined.begin(), all.underlined.end(), int(i)) != all.underlined.end())
      lines.back().underlined.push_back(int(lines.back().text.size()));
    lines.back().text.push_back(c);
  }
  return lines;
}

class Measure {
public:
  Measure(IGdiDevice& device, const LOGFONTW& font) : m_device(device), m_font(font) {}
  int Width(const std::wstring& text, std::size_t count) {
    SIZE extent{0, 0};
    m_device.GetTextExtent(m_font, text.data(), int(count), extent);
    return extent.cx;
  }
  int Width(const std::wstring& text) { return Width(text, text.size()); }

private:
  IGdiDevice& m_device;
  const LOGFONTW& m_font;
};

// Greedy wrapping between words: a line takes words while they fit the width; a word
// wider than the width keeps a line of its own. The spaces at a break are dropped.
std::vector<Line> WrapWords(const Line& line, int width, Measure& measure) {
  std::vector<Line> out;
  const std::wstring& text = line.text;
  std::size_t start = 0;
  while (true) {
    std::size_t end = start, lastFit = std::wstring::npos;
    while (end < text.size()) {
      std::size_t wordEnd = end;
      while (wordEnd < text.size() && text[wordEnd] == L' ') ++wordEnd;
      while (wordEnd < text.size() && text[wordEnd] != L' ') ++wordEnd;
      if (lastFit != std::wstring::npos && measure.Width(text.substr(start, wordEnd - start)) > width) break;
      lastFit = end = wordEnd;
    }
    Line piece;
    piece.text = text.substr(start, end - start);
    for (int u : line.underlined)
      if (u >= int(start) && u < int(end)) piece.underlined.push_back(u - int(start));
    out.push_back(std::move(piece));
    start = end;
    while (start < text.size() && text[start] == L' ') ++start;
    if (start >= text.size()) break;
  }
  return out;
}

}  // namespace

int DrawTextW(HDC hdc, const wchar_t* text, int count, RECT* rect, UINT format) {
  HDC__* dc = gdi_impl::LookupDeviceDC(hdc);
  if (!dc || !text || !rect || count < -1) return 0;
  if (count == -1) count = int(std::wcslen(text));
  const GdiDrawState& state = dc->current.draw;
  IGdiDevice& device = *dc->device;

  TEXTMETRICW metrics{};
  if (!device.GetTextMetrics(state.font, metrics)) return 0;
  const int lineHeight = metrics.tmHeight + ((format & DT_EXTERNALLEADING) ? metrics.tmExternalLeading : 0);
  const bool single = format & DT_SINGLELINE;

  if (count == 0) {
    if (format & DT_CALCRECT) {
      rect->right = rect->left;
      rect->bottom = rect->top + (single ? lineHeight : 0);
    }
    return lineHeight;
  }

  Measure measure(device, state.font);
  const Line all = StripPrefixes(text, count, !(format & DT_NOPREFIX));
  std::vector<Line> lines = single ? std::vector<Line>{all} : SplitLines(all);
  if ((format & DT_WORDBREAK) && !single) {
    std::vector<Line> wrapped;
    for (const Line& line : lines)
      for (Line& piece : WrapWords(line, rect->right - rect->left, measure)) wrapped.push_back(std::move(piece));
    lines = std::move(wrapped);
  }

  std::vector<int> widths;
  int widest = 0;
  for (const Line& line : lines) {
    widths.push_back(measure.Width(line.text));
    widest = std::max(widest, widths.back());
  }
  const int height = lineHeight * int(lines.size());
  if (format & DT_CALCRECT) {
    rect->right = rect->left + widest;
    rect->bottom = rect->top + height;
    return height;
  }

  int top = rect->top;
  if (single && (format & DT_VCENTER)) top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
  else if (single && (format & DT_BOTTOM)) top = rect->bottom - lineHeight;

  const bool clip = !(format & DT_NOCLIP);
  const bool clipsAll = clip && (rect->right <= rect->left || rect->bottom <= rect->top);
  GdiDrawState underline = state;
  underline.pen = {PS_SOLID, 1, state.textColour};
  for (std::size_t i = 0; i < lines.size() && !clipsAll; ++i) {
    const Line& line = lines[i];
    int x = rect->left;
    if (format & DT_CENTER) x = rect->left + (rect->right - rect->left - widths[i]) / 2;
    else if (format & DT_RIGHT) x = rect->right - widths[i];
    const int y = top + int(i) * lineHeight;
    if (!line.text.empty())
      device.TextOut(state, x, y, clip ? ETO_CLIPPED : 0, clip ? rect : nullptr, line.text.data(),
                     int(line.text.size()), nullptr);
    if (format & DT_HIDEPREFIX) continue;
    for (int u : line.underlined) {
      const int from = x + measure.Width(line.text, std::size_t(u));
      const int to = x + measure.Width(line.text, std::size_t(u) + 1);
      const int baseline = y + metrics.tmAscent + 1;
      if (clip && (baseline < rect->top || baseline >= rect->bottom)) continue;
      const POINT stroke[2] = {{clip ? std::max<LONG>(from, rect->left) : from, baseline},
                               {clip ? std::min<LONG>(to, rect->right) : to, baseline}};
      if (stroke[1].x > stroke[0].x) device.Polyline(underline, stroke, 2);
    }
  }
  if (single && (format & (DT_VCENTER | DT_BOTTOM))) return top + lineHeight - rect->top;
  return height;
}
