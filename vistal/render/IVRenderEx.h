#pragma once
// IVRenderEx: Vistal's render extensions for the host's 3D views.
//
// Colour utilities. A colour is a COLORREF word with alpha on top: red in bits 0-7,
// green 8-15, blue 16-23, alpha 24-31. All of them are pure functions.
//   InvertColorRGB      red, green and blue inverted, alpha byte cleared.
//   InvertColorRGBA     red, green and blue inverted, alpha byte kept.
//   MixColorsRGBA       per-byte mix of all four bytes, c1 weighted by f and c2 by 1 - f,
//                       f clamped to [0, 1] (a NaN factor weighs c1 as 0, giving c2).
//   HighlightColorRBGA  a variant of c that stays visible on c: dark colours are
//                       brightened (a darkening f is mirrored to 2 - f), very light ones
//                       darkened (a brightening f becomes f - 0.9); alpha byte kept.
//   BrightenColorRBGA   red, green and blue scaled by f, truncated, kept within [0, 255];
//                       alpha byte kept.
//   MakeGreyEquivalent  the grey of the same root-mean-square strength, alpha byte cleared.
#include "host/win/WinTypes.h"
#include "vistal/Api.h"

class VISTAL_API IVRenderEx {
public:
  static COLORREF InvertColorRGB(COLORREF c);
  static COLORREF InvertColorRGBA(COLORREF c);
  static COLORREF MixColorsRGBA(COLORREF c1, COLORREF c2, float f);
  static COLORREF HighlightColorRBGA(COLORREF c, float f);
  static COLORREF BrightenColorRBGA(COLORREF c, float f);
  static COLORREF MakeGreyEquivalent(COLORREF c);
};
