#pragma once
// The common controls that the host's windows use, with comctl32's names and values: image
// lists and the toolbar's messages, styles and states.
#include "host/HostApi.h"
#include "host/wnd/WndTypes.h"

constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

// ImageList_Create flags. Images are kept in full colour whatever depth is asked for.
constexpr UINT ILC_MASK = 0x00000001;
constexpr UINT ILC_COLOR = 0x00000000;
constexpr UINT ILC_COLORDDB = 0x000000FE;
constexpr UINT ILC_COLOR4 = 0x00000004;
constexpr UINT ILC_COLOR8 = 0x00000008;
constexpr UINT ILC_COLOR16 = 0x00000010;
constexpr UINT ILC_COLOR24 = 0x00000018;
constexpr UINT ILC_COLOR32 = 0x00000020;

// Draw styles.
constexpr UINT ILD_NORMAL = 0x00000000;       // masked when the list has a mask, over the background colour when set
constexpr UINT ILD_TRANSPARENT = 0x00000001;  // masked, whatever the background colour
constexpr UINT ILD_BLEND25 = 0x00000002;      // a quarter of the blend colour over the image
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x00000004;      // half of the blend colour over the image
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;
constexpr UINT ILD_MASK = 0x00000010;   // the mask itself: black where the image shows, white where not
constexpr UINT ILD_IMAGE = 0x00000020;  // the image without its mask (masked pixels are black)

// Draw states (IMAGELISTDRAWPARAMS::fState).
constexpr DWORD ILS_NORMAL = 0x00000000;
constexpr DWORD ILS_SATURATE = 0x00000004;  // in shades of grey
constexpr DWORD ILS_ALPHA = 0x00000008;     // with Frame as the image's opacity, 0 to 255

struct IMAGELISTDRAWPARAMS {
  DWORD cbSize;
  HIMAGELIST himl;
  int i;
  HDC hdcDst;
  int x;
  int y;
  int cx;  // part of the image to draw, 0 for its whole width
  int cy;
  int xBitmap;  // where that part starts within the image
  int yBitmap;
  COLORREF rgbBk;  // background of masked pixels; CLR_DEFAULT the list's, CLR_NONE none
  COLORREF rgbFg;  // blend colour; CLR_DEFAULT the highlight colour, CLR_NONE the background itself
  UINT fStyle;
  DWORD dwRop;  // unused
  DWORD fState;
  DWORD Frame;
  COLORREF crEffect;  // unused
};

// An image list of cx by cy images; null for a size below 1. `initial` and `grow` are
// only hints here: the list grows as needed.
VISTAL_HOST_API HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
VISTAL_HOST_API BOOL ImageList_Destroy(HIMAGELIST list);
// Cuts the bitmap (1, 24 or 32 bits) into images of the list's size from left to right and
// appends them; in a list with a mask, pixels of the mask colour become transparent (and
// black, as on Windows). A bitmap narrower than one image adds nothing. Answers the index
// of the first new image, -1 on failure.
VISTAL_HOST_API int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask);
// Removes one image, or all of them for -1.
VISTAL_HOST_API BOOL ImageList_Remove(HIMAGELIST list, int image);
VISTAL_HOST_API int ImageList_GetImageCount(HIMAGELIST list);
VISTAL_HOST_API BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// The colour that ILD_NORMAL puts under masked pixels; CLR_NONE (the default) for none.
VISTAL_HOST_API COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF colour);
VISTAL_HOST_API COLORREF ImageList_GetBkColor(HIMAGELIST list);
VISTAL_HOST_API BOOL ImageList_Draw(HIMAGELIST list, int image, HDC hdc, int x, int y, UINT style);
// Draws with the styles and the states ILS_SATURATE and ILS_ALPHA; other states are
// ignored. FALSE for a bad list, image or context.
VISTAL_HOST_API BOOL ImageList_DrawIndirect(IMAGELISTDRAWPARAMS* params);

// The window class of toolbars.
inline constexpr wchar_t TOOLBARCLASSNAMEW[] = L"ToolbarWindow32";

// Toolbar control styles, button styles and button states.
constexpr DWORD TBSTYLE_BUTTON = 0x0000;
constexpr DWORD TBSTYLE_SEP = 0x0001;
constexpr DWORD TBSTYLE_CHECK = 0x0002;
constexpr DWORD TBSTYLE_GROUP = 0x0004;
constexpr DWORD TBSTYLE_CHECKGROUP = TBSTYLE_GROUP | TBSTYLE_CHECK;
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_WRAPABLE = 0x0200;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr BYTE TBSTATE_CHECKED = 0x01;
constexpr BYTE TBSTATE_PRESSED = 0x02;
constexpr BYTE TBSTATE_ENABLED = 0x04;
constexpr BYTE TBSTATE_HIDDEN = 0x08;
constexpr BYTE TBSTATE_INDETERMINATE = 0x10;

// Toolbar messages.
constexpr UINT TB_DELETEBUTTON = WM_USER + 22;  // wParam the index; TRUE when it was there
constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
constexpr UINT TB_COMMANDTOINDEX = WM_USER + 25;
constexpr UINT TB_GETITEMRECT = WM_USER + 29;   // wParam the index, lParam a RECT*
constexpr UINT TB_SETIMAGELIST = WM_USER + 48;  // lParam the list; answers the one before
constexpr UINT TB_GETIMAGELIST = WM_USER + 49;
