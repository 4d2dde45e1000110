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
// context keeps drawing with its description until something else is selected.
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
