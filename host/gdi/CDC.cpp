#include "host/gdi/CDC.h"

#include "host/gdi/WinGdi.h"
#include "host/gdi/WinUser.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace {

struct DCMaps {
  std::unordered_map<HDC, CDC*> permanent;
  std::unordered_map<HDC, std::unique_ptr<CDC>> temporary;

  ~DCMaps() { ClearTemporary(); }
  void ClearTemporary() {
    // A temporary object borrows its context: it must not delete it.
    for (auto& entry : temporary) entry.second->m_hDC = entry.second->m_hAttribDC = nullptr;
    temporary.clear();
  }
};

DCMaps& Maps() {
  thread_local DCMaps maps;
  return maps;
}

// The pixels of a frame `size` thick inside `rect`, as up to four rectangles that do not
// overlap: the rectangle minus its inside, the whole rectangle when the inside is empty.
int FrameBands(const RECT& outer_, SIZE size, RECT bands[4]) {
  CRect outer(outer_);
  outer.NormalizeRect();
  if (outer.IsRectEmpty()) return 0;
  CRect inner = outer;
  inner.DeflateRect(size.cx, size.cy);
  inner.left = std::max(inner.left, outer.left), inner.top = std::max(inner.top, outer.top);
  inner.right = std::min(inner.right, outer.right), inner.bottom = std::min(inner.bottom, outer.bottom);
  if (inner.IsRectEmpty()) {
    bands[0] = outer;
    return 1;
  }
  int n = 0;
  const RECT candidates[4] = {{outer.left, outer.top, outer.right, inner.top},
                              {outer.left, inner.bottom, outer.right, outer.bottom},
                              {outer.left, inner.top, inner.left, inner.bottom},
                              {inner.right, inner.top, outer.right, inner.bottom}};
  for (const RECT& band : candidates)
    if (band.right > band.left && band.bottom > band.top) bands[n++] = band;
  return n;
}

}  // namespace

CDC::~CDC() {
  if (m_hDC) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hdc) {
  if (!hdc) return nullptr;
  DCMaps& maps = Maps();
  if (auto found = maps.permanent.find(hdc); found != maps.permanent.end()) return found->second;
  auto& wrapper = maps.temporary[hdc];
  if (!wrapper) wrapper = std::make_unique<CDC>();
  wrapper->m_hDC = wrapper->m_hAttribDC = hdc;
  return wrapper.get();
}

void CDC::DeleteTempMap() { Maps().ClearTemporary(); }

BOOL CDC::Attach(HDC hdc) {
  if (!hdc || m_hDC) return 0;
  m_hDC = hdc;
  Maps().permanent[hdc] = this;
  SetAttribDC(hdc);
  return 1;
}

HDC CDC::Detach() {
  HDC hdc = m_hDC;
  if (hdc) {
    DCMaps& maps = Maps();
    if (auto found = maps.permanent.find(hdc); found != maps.permanent.end() && found->second == this)
      maps.permanent.erase(found);
  }
  ReleaseAttribDC();
  ReleaseOutputDC();
  return hdc;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr)); }

BOOL CDC::DeleteDC() {
  if (!m_hDC) return 0;
  return ::DeleteDC(Detach());
}

int CDC::SaveDC() {
  int level = 0;
  if (m_hAttribDC) level = ::SaveDC(m_hAttribDC);
  if (m_hDC != m_hAttribDC && ::SaveDC(m_hDC) != 0) level = -1;  // two stacks: restore with -1
  return level;
}

BOOL CDC::RestoreDC(int savedDC) {
  BOOL ok = 1;
  if (m_hDC != m_hAttribDC) ok = ::RestoreDC(m_hDC, savedDC);
  if (m_hAttribDC) ok = ::RestoreDC(m_hAttribDC, savedDC);
  return ok;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
  HGDIOBJ old = nullptr;
  if (m_hDC != m_hAttribDC) old = ::SelectObject(m_hDC, object);
  if (m_hAttribDC) old = ::SelectObject(m_hAttribDC, object);
  return old;
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
  return object ? CGdiObject::FromHandle(SelectObject(object->m_hObject)) : nullptr;
}

CPen* CDC::SelectObject(CPen* pen) {
  return pen ? CPen::FromHandle(static_cast<HPEN>(SelectObject(pen->m_hObject))) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* brush) {
  return brush ? CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(brush->m_hObject))) : nullptr;
}

CFont* CDC::SelectObject(CFont* font) {
  return font ? CFont::FromHandle(static_cast<HFONT>(SelectObject(font->m_hObject))) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  return bitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(SelectObject(bitmap->m_hObject))) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) {
  HGDIOBJ stock = ::GetStockObject(index);
  return stock ? CGdiObject::FromHandle(SelectObject(stock)) : nullptr;
}

CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN))); }

CBrush* CDC::GetCurrentBrush() const {
  return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}

CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap* CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hAttribDC); }

COLORREF CDC::SetTextColor(COLORREF colour) {
  COLORREF old = CLR_INVALID;
  if (m_hDC != m_hAttribDC) old = ::SetTextColor(m_hDC, colour);
  if (m_hAttribDC) old = ::SetTextColor(m_hAttribDC, colour);
  return old;
}

COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hAttribDC); }

COLORREF CDC::SetBkColor(COLORREF colour) {
  COLORREF old = CLR_INVALID;
  if (m_hDC != m_hAttribDC) old = ::SetBkColor(m_hDC, colour);
  if (m_hAttribDC) old = ::SetBkColor(m_hAttribDC, colour);
  return old;
}

int CDC::GetBkMode() const { return ::GetBkMode(m_hAttribDC); }

int CDC::SetBkMode(int mode) {
  int old = 0;
  if (m_hDC != m_hAttribDC) old = ::SetBkMode(m_hDC, mode);
  if (m_hAttribDC) old = ::SetBkMode(m_hAttribDC, mode);
  return old;
}

int CDC::GetPolyFillMode() const { return ::GetPolyFillMode(m_hAttribDC); }

int CDC::SetPolyFillMode(int mode) {
  int old = 0;
  if (m_hDC != m_hAttribDC) old = ::SetPolyFillMode(m_hDC, mode);
  if (m_hAttribDC) old = ::SetPolyFillMode(m_hAttribDC, mode);
  return old;
}

int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hAttribDC, index); }

CPoint CDC::GetCurrentPosition() const {
  POINT position{0, 0};
  ::GetCurrentPositionEx(m_hAttribDC, &position);
  return position;
}

CPoint CDC::MoveTo(int x, int y) {
  POINT old{0, 0};
  if (m_hDC != m_hAttribDC) ::MoveToEx(m_hDC, x, y, &old);
  if (m_hAttribDC) ::MoveToEx(m_hAttribDC, x, y, &old);
  return old;
}

BOOL CDC::LineTo(int x, int y) {
  // The attribute context keeps the current position too.
  if (m_hAttribDC && m_hDC != m_hAttribDC) ::MoveToEx(m_hAttribDC, x, y, nullptr);
  return ::LineTo(m_hDC, x, y);
}

BOOL CDC::Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }

BOOL CDC::Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }

BOOL CDC::Rectangle(int left, int top, int right, int bottom) { return ::Rectangle(m_hDC, left, top, right, bottom); }

BOOL CDC::Rectangle(const RECT* rect) {
  return rect ? ::Rectangle(m_hDC, rect->left, rect->top, rect->right, rect->bottom) : 0;
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom) { return ::Ellipse(m_hDC, left, top, right, bottom); }

BOOL CDC::Ellipse(const RECT* rect) {
  return rect ? ::Ellipse(m_hDC, rect->left, rect->top, rect->right, rect->bottom) : 0;
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) { return ::PatBlt(m_hDC, x, y, width, height, rop); }

void CDC::FillRect(const RECT* rect, CBrush* brush) {
  if (brush) ::FillRect(m_hDC, rect, static_cast<HBRUSH>(brush->m_hObject));
}

void CDC::FillSolidRect(const RECT* rect, COLORREF colour) {
  ::SetBkColor(m_hDC, colour);
  ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF colour) {
  const RECT rect{x, y, x + cx, y + cy};
  FillSolidRect(&rect, colour);
}

void CDC::InvertRect(const RECT* rect) { ::InvertRect(m_hDC, rect); }

void CDC::DrawFocusRect(const RECT* rect) { ::DrawFocusRect(m_hDC, rect); }

void CDC::DrawDragRect(const RECT* rect, SIZE size, const RECT* rectLast, SIZE sizeLast, CBrush* brush,
                       CBrush* brushLast) {
  if (!rect) return;
  if (!brush) brush = GetHalftoneBrush();
  if (!brushLast) brushLast = brush;
  // Inverting the last frame and then the new one leaves the pixels of both unchanged: the
  // pattern lands exactly on the pixels in one of the two frames, as with an XOR of the two
  // regions.
  auto invertFrame = [&](const RECT& frame, SIZE thickness, CBrush* with) {
    RECT bands[4];
    const int count = FrameBands(frame, thickness, bands);
    CBrush* old = SelectObject(with);
    for (int i = 0; i < count; ++i)
      ::PatBlt(m_hDC, bands[i].left, bands[i].top, bands[i].right - bands[i].left, bands[i].bottom - bands[i].top,
               PATINVERT);
    if (old) SelectObject(old);
  };
  if (rectLast) invertFrame(*rectLast, sizeLast, brushLast);
  invertFrame(*rect, size, brush);
}

CBrush* CDC::GetHalftoneBrush() {
  // Rows of alternating pixels, shifted by one from row to row.
  static CBrush* const brush = [] {
    WORD pattern[8];
    for (int i = 0; i < 8; ++i) pattern[i] = WORD(0x5555 << (i & 1));
    CBitmap bitmap;
    bitmap.CreateBitmap(8, 8, 1, 1, pattern);
    return new CBrush(&bitmap);
  }();
  return brush;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource, DWORD rop) {
  return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource, ySource, rop);
}

BOOL CDC::AlphaBlend(int x, int y, int width, int height, CDC* source, int xSource, int ySource, int widthSource,
                     int heightSource, BLENDFUNCTION blend) {
  return ::AlphaBlend(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource, ySource, widthSource,
                      heightSource, blend);
}

BOOL CDC::TextOut(int x, int y, const wchar_t* text, int count) { return ::TextOutW(m_hDC, x, y, text, count); }

BOOL CDC::ExtTextOut(int x, int y, UINT options, const RECT* rect, const wchar_t* text, UINT count, const int* dx) {
  return ::ExtTextOutW(m_hDC, x, y, options, rect, text, count, dx);
}

int CDC::DrawText(const wchar_t* text, int count, RECT* rect, UINT format) {
  return ::DrawTextW(m_hDC, text, count, rect, format);
}

CSize CDC::GetTextExtent(const wchar_t* text, int count) const {
  SIZE size{0, 0};
  ::GetTextExtentPoint32W(m_hAttribDC, text, count, &size);
  return size;
}

CSize CDC::GetOutputTextExtent(const wchar_t* text, int count) const {
  SIZE size{0, 0};
  ::GetTextExtentPoint32W(m_hDC, text, count, &size);
  return size;
}

BOOL CDC::GetTextMetrics(TEXTMETRICW* metrics) const { return ::GetTextMetricsW(m_hAttribDC, metrics); }

BOOL CDC::GetOutputTextMetrics(TEXTMETRICW* metrics) const { return ::GetTextMetricsW(m_hDC, metrics); }
