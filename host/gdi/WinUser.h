#pragma once
// The USER32 drawing functions and system settings of the host's 2D drawing, with Win32
// semantics.
#include "host/HostApi.h"
#include "host/gdi/GdiTypes.h"

// Formatted text in a rectangle. Formats: DT_LEFT, DT_CENTER, DT_RIGHT; DT_TOP, DT_VCENTER,
// DT_BOTTOM (the last two with DT_SINGLELINE only); DT_SINGLELINE (otherwise CR, LF and
// CR LF break lines); DT_WORDBREAK (lines wrap between words at the rectangle's width);
// DT_NOCLIP; DT_CALCRECT (measures only: right and bottom are set to bound the text);
// DT_EXTERNALLEADING; DT_NOPREFIX (otherwise "&x" underlines x and "&&" shows "&");
// DT_HIDEPREFIX. `count` -1 reads up to the terminating zero. Answers the text height,
// or with DT_VCENTER or DT_BOTTOM the offset from rect->top to the bottom of the text;
// 0 on failure (invalid context, null text or rectangle).
VISTAL_HOST_API int DrawTextW(HDC hdc, const wchar_t* text, int count, RECT* rect, UINT format);
// Inverts every other pixel of the rectangle's one-pixel frame; a second call with the
// same rectangle puts the pixels back. Nothing for an empty rectangle.
VISTAL_HOST_API BOOL DrawFocusRect(HDC hdc, const RECT* rect);
// Fills right- and bottom-exclusive with the brush. As on Windows, a brush value of a
// system colour index + 1 takes that colour's brush.
VISTAL_HOST_API int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
VISTAL_HOST_API BOOL InvertRect(HDC hdc, const RECT* rect);

// The classic Windows colours of the display elements; 0 for an unknown index.
VISTAL_HOST_API COLORREF GetSysColor(int index);
// A stock solid brush of a system colour; null for an unknown index.
VISTAL_HOST_API HBRUSH GetSysColorBrush(int index);

// Screen size and the standard metrics of a 96 dpi desktop; 0 for an unknown index.
VISTAL_HOST_API int GetSystemMetrics(int index);
// The size of the primary screen (1920 x 1080 unless set); sizes below 1 are ignored.
VISTAL_HOST_API void SetSystemScreenSize(int width, int height);
