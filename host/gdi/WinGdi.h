#pragma once
// The GDI32 functions of the host's 2D drawing, with Win32 semantics: device contexts and
// their state, pens, brushes, fonts, bitmaps, shapes and text. Invalid handles, null
// pointers and empty figures give the Win32 failure result (0, NULL, FALSE or
// CLR_INVALID) or draw nothing; none of them crashes.
#include "host/HostApi.h"
#include "host/gdi/GdiTypes.h"

class IGdiDevice;

// A new device context drawing onto the device, in the default state: black pen, white
// brush, the system font, black text on an opaque white background, position (0, 0). The
// device must outlive the context. Delete it with DeleteDC.
VISTAL_HOST_API HDC CreateDeviceDC(IGdiDevice& device);
// A memory context: it holds a bitmap for the pixel calls below (BitBlt, AlphaBlend,
// SetDIBitsToDevice), as source and as destination. It starts with a 1 by 1 monochrome
// bitmap; SelectObject puts a bitmap in (one context at a time) and answers the one before.
// It has no drawing device, so figures and text on it fail. `hdc` may be null.
VISTAL_HOST_API HDC CreateCompatibleDC(HDC hdc);
VISTAL_HOST_API BOOL DeleteDC(HDC hdc);
// Pushes the state; answers its level (1, 2, ...) or 0. RestoreDC takes a level or -1 for
// the last one saved and drops the levels above it.
VISTAL_HOST_API int SaveDC(HDC hdc);
VISTAL_HOST_API BOOL RestoreDC(HDC hdc, int savedDC);

// Objects.
VISTAL_HOST_API HGDIOBJ GetStockObject(int index);
VISTAL_HOST_API HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
VISTAL_HOST_API HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
// Stock objects stay; an object still selected into a context is gone as a handle, the
// context keeps drawing with its description until something else is selected. A bitmap
// selected into a memory context is not deleted (FALSE), as on Windows.
VISTAL_HOST_API BOOL DeleteObject(HGDIOBJ object);
VISTAL_HOST_API DWORD GetObjectType(HGDIOBJ object);
// Copies the object's description (LOGPEN, LOGBRUSH, LOGFONTW or BITMAP), at most `size`
// bytes; with a null buffer answers the size it needs. 0 for an invalid handle.
VISTAL_HOST_API int GetObjectW(HGDIOBJ object, int size, void* buffer);
VISTAL_HOST_API HPEN CreatePen(int style, int width, COLORREF colour);
VISTAL_HOST_API HPEN CreatePenIndirect(const LOGPEN* pen);
VISTAL_HOST_API HBRUSH CreateSolidBrush(COLORREF colour);
// Solid, hollow and pattern brushes (the pattern an 8 by 8 monochrome bitmap).
VISTAL_HOST_API HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
VISTAL_HOST_API HBRUSH CreatePatternBrush(HBITMAP bitmap);
VISTAL_HOST_API HFONT CreateFontIndirectW(const LOGFONTW* font);
// Bitmaps of 1 or 32 bits per pixel, rows padded to 16 bits; `bits` may be null (zeros).
VISTAL_HOST_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
VISTAL_HOST_API HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
VISTAL_HOST_API LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits);
VISTAL_HOST_API LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);

// Pixels. Rectangles are clipped to the source bitmap and to the destination; pixels land
// on a device context's device or in a memory context's bitmap (of 24 or 32 bits).
// BitBlt copies from a memory context with SRCCOPY (a monochrome source takes the
// destination's text colour for 0 and background colour for 1); the raster operations of
// PatBlt need no source. Other raster operations and device contexts as sources fail.
VISTAL_HOST_API BOOL BitBlt(HDC hdc, int x, int y, int width, int height, HDC source, int xSource, int ySource,
                            DWORD rop);
// Source over from a memory context, without stretching: both rectangles of one size.
VISTAL_HOST_API BOOL AlphaBlend(HDC hdc, int x, int y, int width, int height, HDC source, int xSource, int ySource,
                                int widthSource, int heightSource, BLENDFUNCTION blend);
// A DIB of 24 or 32 bits (BI_RGB) onto the context. `bits` holds the scan lines
// startScan .. startScan + lines - 1, counted in the DIB's memory order (from the bottom for a
// bottom-up DIB, from the top for a top-down one), and (xSource, ySource) is the source
// rectangle's corner in that order too. Answers the number of scan lines set, 0 on failure.
VISTAL_HOST_API int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSource,
                                      int ySource, UINT startScan, UINT lines, const void* bits,
                                      const BITMAPINFO* info, UINT colourUse);

// Attributes.
VISTAL_HOST_API COLORREF SetTextColor(HDC hdc, COLORREF colour);
VISTAL_HOST_API COLORREF GetTextColor(HDC hdc);
VISTAL_HOST_API COLORREF SetBkColor(HDC hdc, COLORREF colour);
VISTAL_HOST_API COLORREF GetBkColor(HDC hdc);
VISTAL_HOST_API int SetBkMode(HDC hdc, int mode);
VISTAL_HOST_API int GetBkMode(HDC hdc);
VISTAL_HOST_API int SetPolyFillMode(HDC hdc, int mode);
VISTAL_HOST_API int GetPolyFillMode(HDC hdc);
VISTAL_HOST_API int GetDeviceCaps(HDC hdc, int index);

// Figures.
VISTAL_HOST_API BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous);
VISTAL_HOST_API BOOL GetCurrentPositionEx(HDC hdc, POINT* position);
// A line from the current position up to, not including, (x, y), which becomes the
// current position.
VISTAL_HOST_API BOOL LineTo(HDC hdc, int x, int y);
VISTAL_HOST_API BOOL Polyline(HDC hdc, const POINT* points, int count);
VISTAL_HOST_API BOOL Polygon(HDC hdc, const POINT* points, int count);
VISTAL_HOST_API BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
VISTAL_HOST_API BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
VISTAL_HOST_API BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);

// Text.
VISTAL_HOST_API BOOL TextOutW(HDC hdc, int x, int y, const wchar_t* text, int count);
VISTAL_HOST_API BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, const wchar_t* text,
                                 UINT count, const int* dx);
VISTAL_HOST_API BOOL GetTextExtentPoint32W(HDC hdc, const wchar_t* text, int count, SIZE* size);
VISTAL_HOST_API BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* metrics);
