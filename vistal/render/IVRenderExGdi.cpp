// The GDI helpers of IVRenderEx. Where a pixel value comes from floating point, the steps
// (single-precision results, then halves away from zero) are part of what hosts and stored
// pictures see, so they are kept exactly.
#include "vistal/render/IVRenderEx.h"

#include "host/core/MStrNCpy.h"
#include "host/core/QNGlobals.h"
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinUser.h"
#include "vistal/render/Implementation/PixelRounding.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

using vistal_render::CompareAngles;
using vistal_render::RoundToPixel;

namespace {

constexpr float kMmPerInch = 25.4f;
// Heights up to this many millimetres count as "not given".
constexpr float kNoHeightMm = 0.00034526698f;
// 0.3 mm in inches: the margin of the box wiped under an arrow.
constexpr float kArrowMarginInches = 0.011811024f;

// The arrow in units: the tip at the origin, pointing towards -x; 7 units long.
constexpr int kArrowPoints = 7;
constexpr float kArrowShape[kArrowPoints][2] = {{0, 0}, {3, 3}, {3, 1}, {7, 1}, {7, -1}, {3, -1}, {3, -3}};
constexpr float kArrowLength = 7.0f;

// dpi * (mm / 25.4), rounded to single precision, then to whole pixels.
LONG MmToPixels(int dpi, float mm) {
  return RoundToPixel(float(double(dpi) * (double(mm) / double(kMmPerInch))));
}

// pixels / dpi * 25.4, rounded to single precision; 0 where the device has no resolution.
float PixelsToMm(int dpi, LONG pixels) {
  if (dpi == 0) return 0.0f;
  return float(double(pixels) / double(dpi) * double(kMmPerInch));
}

}  // namespace

int IVRenderEx::DrawTextDisabled(HDC hdc, const wchar_t* text, int length, const CRect& box, UINT format, int plain) {
  if (length == -1 && text) length = int(std::wcslen(text));
  CRect rect(box);
  if (plain) return DrawTextW(hdc, text, length, &rect, format);

  // The highlight copy one pixel down and right, drawn with the caller's background mode.
  rect.OffsetRect(1, 1);
  const COLORREF oldText = SetTextColor(hdc, GetSysColor(COLOR_BTNHIGHLIGHT));
  DrawTextW(hdc, text, length, &rect, format);
  // The shadow-coloured text on top, where it belongs.
  SetTextColor(hdc, GetSysColor(COLOR_BTNSHADOW));
  rect.OffsetRect(-1, -1);
  const int oldMode = SetBkMode(hdc, TRANSPARENT);
  const int result = DrawTextW(hdc, text, length, &rect, format);
  SetTextColor(hdc, oldText);
  SetBkMode(hdc, oldMode);
  return result;
}

void IVRenderEx::DrawTextOutlined(HDC hdc, UINT width, const wchar_t* text, const RECT& box, UINT format) {
  const int length = text ? int(std::wcslen(text)) : 0;
  const int oldMode = SetBkMode(hdc, TRANSPARENT);
  const COLORREF oldText = SetTextColor(hdc, GetBkColor(hdc));
  // Ring i walks the square of half-size i around the box, one pixel a step: 8i copies.
  // (Rings beyond a billion pixels are not told apart, so the offsets cannot overflow.)
  for (unsigned long long ring = 1; ring <= width; ++ring) {
    const LONG i = LONG(std::min<unsigned long long>(ring, 0x3FFFFFFF));
    RECT moved{box.left - i, box.top - i, box.right - i, box.bottom - i};
    auto walk = [&](int dx, int dy) {
      for (int step = 0; step < 2 * i; ++step) {
        moved.left += dx, moved.right += dx, moved.top += dy, moved.bottom += dy;
        DrawTextW(hdc, text, length, &moved, format);
      }
    };
    walk(1, 0);
    walk(0, 1);
    walk(-1, 0);
    walk(0, -1);
  }
  SetTextColor(hdc, oldText);
  RECT rect = box;
  DrawTextW(hdc, text, length, &rect, format);
  SetBkMode(hdc, oldMode);
}

void IVRenderEx::CreateGdiFont(CFont& font, HDC hdc, const LOGFONTW& description, float heightMm) {
  LOGFONTW copy = description;
  copy.lfWidth = 0;
  const float height = heightMm <= kNoHeightMm ? float(copy.lfHeight) : heightMm;
  // A positive height: GDI's cell height.
  copy.lfHeight = std::abs(MmToPixels(GetDeviceCaps(hdc, LOGPIXELSY), height));
  if (font.m_hObject) font.DeleteObject();
  font.Attach(CreateFontIndirectW(&copy));
}

void IVRenderEx::InitLOGFONT(LOGFONTW& description, const wchar_t* faceName) {
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &description);
  if (faceName) MStrNCpy(description.lfFaceName, faceName, LF_FACESIZE);
  description.lfHeight = 4;  // millimetres, as CreateGdiFont reads it when no height is given
  description.lfWidth = 0;
  description.lfEscapement = 0;
  description.lfOrientation = 0;
  description.lfWeight = FW_NORMAL;
  description.lfItalic = 0;
  description.lfUnderline = 0;
  description.lfStrikeOut = 0;
  description.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  description.lfQuality = DEFAULT_QUALITY;
  description.lfPitchAndFamily = FF_SWISS;
}

LONG IVRenderEx::ConvertMmToPointsInX(HDC hdc, float mm) { return MmToPixels(GetDeviceCaps(hdc, LOGPIXELSX), mm); }

LONG IVRenderEx::ConvertMmToPointsInY(HDC hdc, float mm) { return MmToPixels(GetDeviceCaps(hdc, LOGPIXELSY), mm); }

float IVRenderEx::ConvertPointsToMmInX(HDC hdc, LONG pixels) {
  return PixelsToMm(GetDeviceCaps(hdc, LOGPIXELSX), pixels);
}

float IVRenderEx::ConvertPointsToMmInY(HDC hdc, LONG pixels) {
  return PixelsToMm(GetDeviceCaps(hdc, LOGPIXELSY), pixels);
}

void IVRenderEx::DrawBoldArrow(CDC& dc, CPoint from, CPoint to, const CRect* keepInside) {
  // The shape, scaled to the arrow's length and turned so that its tail points at `from`.
  const float dx = float(double(to.x) - double(from.x));
  const float dy = float(double(to.y) - double(from.y));
  const float length = std::sqrt(dx * dx + dy * dy);
  const float scale = length / kArrowLength;
  // The angle between to - from and (-1, 0), signed by their angular order.
  float angle = std::acos(0.0f);
  if (length >= 3.140185e-16f) angle = std::acos(std::clamp(-dx / length, -1.0f, 1.0f));
  if (CompareAngles(dx, dy, -1.0, 0.0) < 0) angle = -angle;
  const float cosine = std::cos(angle), sine = std::sin(angle);

  POINT points[kArrowPoints];
  for (int i = 0; i < kArrowPoints; ++i) {
    const float px = scale * kArrowShape[i][0], py = scale * kArrowShape[i][1];
    const float x = float(to.x) + (cosine * px - sine * py);
    const float y = float(to.y) + (sine * px + cosine * py);
    points[i] = {RoundToPixel(x), RoundToPixel(y)};
  }

  if (keepInside) {
    // Moved, never clipped: the shifts that bring the farthest points back in. Where the
    // arrow is larger than the rectangle, the later test wins.
    LONG sx = 0, sy = 0;
    for (int i = kArrowPoints - 1; i >= 0; --i) {
      if (LONG d = keepInside->left - points[i].x; d > 0 && d > sx) sx = d;
      if (LONG d = keepInside->right - points[i].x; d < 0 && d < sx) sx = d;
      if (LONG d = keepInside->top - points[i].y; d > 0 && d > sy) sy = d;
      if (LONG d = keepInside->bottom - points[i].y; d < 0 && d < sy) sy = d;
    }
    for (POINT& p : points) p.x += sx, p.y += sy;
  }

  CRect box(points[0].x, points[0].y, points[0].x, points[0].y);
  for (const POINT& p : points) {
    box.left = std::min(box.left, p.x), box.right = std::max(box.right, p.x);
    box.top = std::min(box.top, p.y), box.bottom = std::max(box.bottom, p.y);
  }
  const LONG marginX = RoundToPixel(float(double(dc.GetDeviceCaps(LOGPIXELSX)) * double(kArrowMarginInches)));
  const LONG marginY = RoundToPixel(float(double(dc.GetDeviceCaps(LOGPIXELSY)) * double(kArrowMarginInches)));
  box.InflateRect(marginX, marginY);

  // Wipe the box in the background colour, then the arrow in the text colour.
  const COLORREF background = dc.GetBkColor();
  CBrush wipeBrush(background);
  CPen wipePen(PS_SOLID, 0, background);
  CBrush* oldBrush = dc.SelectObject(&wipeBrush);
  CPen* oldPen = dc.SelectObject(&wipePen);
  dc.Rectangle(box.left, box.top, box.right + 1, box.bottom + 1);

  const COLORREF foreground = dc.GetTextColor();
  CBrush arrowBrush(foreground);
  CPen arrowPen(PS_SOLID, 0, foreground);
  dc.SelectObject(&arrowBrush);
  dc.SelectObject(&arrowPen);
  dc.Polygon(points, kArrowPoints);

  if (oldBrush) dc.SelectObject(oldBrush);
  if (oldPen) dc.SelectObject(oldPen);
}

bool IVRenderEx::MoveRectToBeInBaseRect(CRect& rect, const CRect& base, const CSize* direction) {
  const LONG w = std::min(rect.Width(), base.Width());
  const LONG h = std::min(rect.Height(), base.Height());

  // One axis: the new near and far edges and the shift of the edge that moved.
  auto fit = [](LONG nearEdge, LONG farEdge, LONG baseNear, LONG baseFar, LONG size, LONG& newNear, LONG& newFar) {
    if (nearEdge < baseNear) {
      newNear = baseNear, newFar = baseNear + size;
      return newNear - nearEdge;
    }
    if (farEdge > baseFar) {
      newFar = baseFar, newNear = baseFar - size;
      return baseFar - farEdge;
    }
    newNear = nearEdge, newFar = farEdge;
    return LONG(0);
  };
  LONG left, right, top, bottom;
  const LONG sx = fit(rect.left, rect.right, base.left, base.right, w, left, right);
  const LONG sy = fit(rect.top, rect.bottom, base.top, base.bottom, h, top, bottom);

  if (direction) {
    // The smaller shift follows the direction of the larger one.
    if (std::abs(sy) > std::abs(sx) && direction->cy != 0) {
      left = rect.left + RoundToPixel(double(direction->cx) / double(direction->cy) * double(sy));
      right = left + w;
    } else if (std::abs(sy) <= std::abs(sx) && sx != 0 && direction->cx != 0) {
      top = rect.top + RoundToPixel(double(direction->cy) / double(direction->cx) * double(sx));
      bottom = top + h;
    }
  }
  if (sx == 0 && sy == 0) return false;
  rect.SetRect(left, top, right, bottom);
  // The move along the direction may have left it outside on the other axis.
  if (direction) MoveRectToBeInBaseRect(rect, base, nullptr);
  return true;
}

void IVRenderEx::FillSolidRectPrintable(CDC& dc, const CRect* rect, COLORREF colour) {
  if (!rect) return;
  const std::uint32_t flags = QNGlobals::mg_statesflags;
  if (!(flags & QNGlobals::eStatePrintableOutput)) {
    const COLORREF oldBk = dc.SetBkColor(colour);
    dc.ExtTextOut(rect->left, rect->top, ETO_OPAQUE | ETO_CLIPPED, rect, nullptr, 0, nullptr);
    dc.SetBkColor(oldBk);
    return;
  }
  // Printers and exports get a real rectangle; grey unless printing in colour.
  if (!(flags & QNGlobals::eStatePrintInColour)) colour = MakeGreyEquivalent(colour);
  CBrush brush(colour);
  CBrush* oldBrush = dc.SelectObject(&brush);
  CGdiObject* oldPen = dc.SelectStockObject(NULL_PEN);
  // Without an outline GDI leaves out the last row and column: + 1 covers the screen fill's.
  dc.Rectangle(rect->left, rect->top, rect->right + 1, rect->bottom + 1);
  if (oldBrush) dc.SelectObject(oldBrush);
  if (oldPen) dc.SelectObject(oldPen);
}

void IVRenderEx::DrawFocusRectNormalized(CDC& dc, const CRect& rect) {
  CRect normal(rect);
  normal.NormalizeRect();
  // A zero width gets one column; only otherwise does a zero height get one row.
  if (rect.right - rect.left == 0) normal.right += 1;
  else if (rect.bottom - rect.top == 0) normal.bottom += 1;
  dc.DrawFocusRect(&normal);
}
