#pragma once
// MFC's GDI object wrappers: CGdiObject and the pen, brush, font and bitmap classes. An
// object owns the handle it holds and deletes it when it is destroyed, unless the handle
// was taken back with Detach. The Create calls answer FALSE (and hold nothing) where
// Windows' functions fail.
#include "host/HostApi.h"
#include "host/gdi/GdiTypes.h"

class CDC;

// A GDI object handle with MFC's ownership rules. FromHandle answers the object attached
// to a handle on this thread, or a temporary wrapper of the right class that this thread
// keeps (it never deletes the handle) until DeleteTempMap.
class VISTAL_HOST_API CGdiObject {
public:
  CGdiObject() = default;
  virtual ~CGdiObject();
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ m_hObject = nullptr;

  operator HGDIOBJ() const { return m_hObject; }
  HGDIOBJ GetSafeHandle() const { return m_hObject; }

  static CGdiObject* FromHandle(HGDIOBJ handle);
  static void DeleteTempMap();

  // Takes ownership of a handle; FALSE for a null handle or while one is held.
  BOOL Attach(HGDIOBJ handle);
  HGDIOBJ Detach();
  // Deletes the held GDI object; FALSE when none is held.
  BOOL DeleteObject();
  BOOL CreateStockObject(int index);

  int GetObject(int size, void* buffer) const;
  UINT GetObjectType() const;
};

// A pen: PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL or PS_INSIDEFRAME;
// width 0 or 1 is one pixel, and wider pens are solid.
class VISTAL_HOST_API CPen : public CGdiObject {
public:
  CPen() = default;
  CPen(int style, int width, COLORREF colour);

  static CPen* FromHandle(HPEN pen);
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }

  BOOL CreatePen(int style, int width, COLORREF colour);
  BOOL CreatePenIndirect(const LOGPEN* pen);
  int GetLogPen(LOGPEN* pen) const;
};

class CBitmap;

// A solid, hollow or 8 by 8 monochrome pattern brush.
class VISTAL_HOST_API CBrush : public CGdiObject {
public:
  CBrush() = default;
  explicit CBrush(COLORREF colour);
  explicit CBrush(CBitmap* pattern);

  static CBrush* FromHandle(HBRUSH brush);
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }

  BOOL CreateSolidBrush(COLORREF colour);
  BOOL CreatePatternBrush(CBitmap* pattern);
  BOOL CreateBrushIndirect(const LOGBRUSH* brush);
  BOOL CreateSysColorBrush(int index);
  int GetLogBrush(LOGBRUSH* brush) const;
};

// A font made from a LOGFONTW; the drawing device finds the face and sizes it.
class VISTAL_HOST_API CFont : public CGdiObject {
public:
  CFont() = default;

  static CFont* FromHandle(HFONT font);
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }

  BOOL CreateFontIndirect(const LOGFONTW* font);
  int GetLogFont(LOGFONTW* font) const;
};

// A bitmap of 1 or 32 bits per pixel (24 through CreateBitmap), kept by the host's GDI.
class VISTAL_HOST_API CBitmap : public CGdiObject {
public:
  CBitmap() = default;

  static CBitmap* FromHandle(HBITMAP bitmap);
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  int GetBitmap(BITMAP* bitmap) const;
  DWORD GetBitmapBits(DWORD size, void* bits) const;
  DWORD SetBitmapBits(DWORD size, const void* bits);
};
