#pragma once
// MFC's device context class.
#include "host/HostApi.h"
#include "host/gdi/CGdiObject.h"
#include "host/gdi/GdiTypes.h"

// A device context with MFC's two handles: drawing goes to the output handle m_hDC,
// attributes and measures (colours, mode, text extents, device capabilities) are read from
// the attribute handle m_hAttribDC, and attribute changes and selections go to both.
// Attach sets both to one context. The destructor deletes an attached context; a derived
// context that borrows its handle (a window's client context) takes it back with Detach
// in its own destructor, after releasing it to its owner.
class VISTAL_HOST_API CDC {
public:
  CDC() = default;
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;
  BOOL m_bPrinting = 0;

  // A temporary object for a context that no CDC of this thread holds; it never deletes
  // the context and lives until DeleteTempMap.
  static CDC* FromHandle(HDC hdc);
  static void DeleteTempMap();

  // FALSE for a null handle or while one is held.
  BOOL Attach(HDC hdc);
  HDC Detach();
  virtual void SetAttribDC(HDC hdc) { m_hAttribDC = hdc; }
  virtual void SetOutputDC(HDC hdc) { m_hDC = hdc; }
  virtual void ReleaseAttribDC() { m_hAttribDC = nullptr; }
  virtual void ReleaseOutputDC() { m_hDC = nullptr; }
  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }
  // A memory context (see ::CreateCompatibleDC); `dc` may be null.
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();
  int SaveDC();
  BOOL RestoreDC(int savedDC);

  // Objects. Each answers the object selected before (FromHandle), or null on failure.
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  virtual CFont* SelectObject(CFont* font);
  CBitmap* SelectObject(CBitmap* bitmap);
  CGdiObject* SelectObject(CGdiObject* object);
  HGDIOBJ SelectObject(HGDIOBJ object);
  virtual CGdiObject* SelectStockObject(int index);
  CPen* GetCurrentPen() const;
  CBrush* GetCurrentBrush() const;
  CFont* GetCurrentFont() const;
  CBitmap* GetCurrentBitmap() const;

  // Attributes.
  COLORREF GetTextColor() const;
  virtual COLORREF SetTextColor(COLORREF colour);
  COLORREF GetBkColor() const;
  virtual COLORREF SetBkColor(COLORREF colour);
  int GetBkMode() const;
  int SetBkMode(int mode);
  int GetPolyFillMode() const;
  int SetPolyFillMode(int mode);
  int GetDeviceCaps(int index) const;

  // Figures.
  CPoint GetCurrentPosition() const;
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
  BOOL Polyline(const POINT* points, int count);
  BOOL Polygon(const POINT* points, int count);
  BOOL Rectangle(int left, int top, int right, int bottom);
  BOOL Rectangle(const RECT* rect);
  BOOL Ellipse(int left, int top, int right, int bottom);
  BOOL Ellipse(const RECT* rect);
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
  void FillRect(const RECT* rect, CBrush* brush);
  // As MFC: sets the output context's background colour and leaves it set.
  void FillSolidRect(const RECT* rect, COLORREF colour);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour);
  void InvertRect(const RECT* rect);
  void DrawFocusRect(const RECT* rect);
  // A tracking frame `size` thick inside `rect`, inverted with the brush (the halftone
  // brush when null). With the last frame given, the same call also takes that frame
  // away, so that calling again with the rectangles swapped undoes it.
  void DrawDragRect(const RECT* rect, SIZE size, const RECT* rectLast, SIZE sizeLast, CBrush* brush = nullptr,
                    CBrush* brushLast = nullptr);
  // The 50 % grey checker brush of tracking frames.
  static CBrush* GetHalftoneBrush();

  // Pixels from a memory context (see ::BitBlt and ::AlphaBlend).
  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource, DWORD rop);
  BOOL AlphaBlend(int x, int y, int width, int height, CDC* source, int xSource, int ySource, int widthSource,
                  int heightSource, BLENDFUNCTION blend);

  // Text.
  virtual BOOL TextOut(int x, int y, const wchar_t* text, int count);
  virtual BOOL ExtTextOut(int x, int y, UINT options, const RECT* rect, const wchar_t* text, UINT count,
                          const int* dx);
  virtual int DrawText(const wchar_t* text, int count, RECT* rect, UINT format);
  CSize GetTextExtent(const wchar_t* text, int count) const;
  CSize GetOutputTextExtent(const wchar_t* text, int count) const;
  BOOL GetTextMetrics(TEXTMETRICW* metrics) const;
  BOOL GetOutputTextMetrics(TEXTMETRICW* metrics) const;
};
