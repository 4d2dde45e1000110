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
//
// GDI helpers for overlays. They keep no state and put back every device-context setting
// they change. With a CDC they draw to its output handle and read colours from its
// attribute handle. Pixel values made from floating-point ones are rounded to single
// precision first where noted, then to the nearest whole number with halves away from zero.
//   DrawTextDisabled    embossed text: a highlight copy one pixel down and right, then the
//                       text in the shadow colour with a transparent background; `plain`
//                       draws it once as it is. Answers the last DrawTextW's result.
//   DrawTextOutlined    text ringed `width` pixels wide in the background colour.
//   CreateGdiFont       a font `heightMm` millimetres high on the device (the description's
//                       lfHeight counts as millimetres when heightMm is about 0 or less).
//   InitLOGFONT         the GUI font's description with a face, 4 (mm) high, normal weight.
//   ConvertMmToPointsInX/Y, ConvertPointsToMmInX/Y
//                       millimetres to device pixels and back, per axis resolution.
//   DrawBoldArrow       a filled seven-point arrow from `from` with its tip on `to`, in the
//                       text colour over a wiped background box, moved into `keepInside`.
//   MoveRectToBeInBaseRect
//                       pushes a rectangle back into a base, optionally along a direction.
//   FillSolidRectPrintable
//                       a solid fill on screen; for printable output (QNGlobals state flags)
//                       an outline-less rectangle, grey unless printing in colour.
//   DrawFocusRectNormalized
//                       a focus rectangle that accepts reversed corners and zero widths.
//
// The object itself extends one renderer of a 3D view: slices that the view shows while
// they are attached, a bare triangle list drawn flat, and the projection of an object's
// points into a view's pixels. The bounding-box manipulator, IVRenderEx::CBoundingBox,
// is declared in IVRenderExBoundingBox.h.
#include "host/framework/M3DBoundingBox.h"
#include "host/framework/MMPoint3d.h"
#include "host/framework/MRec.h"
#include "host/gdi/CDC.h"
#include "host/gdi/GdiTypes.h"
#include "host/render/IVVertex.h"
#include "host/win/CRect.h"
#include "host/win/WinTypes.h"
#include "vistal/Api.h"

#include <deque>

class IVRender;
template <class T, class D>
class M3dBorder;
class UIObject;
class UISlice;
class UIWnd3D;

// Render extensions of one renderer of a host view, with the colour utilities, the GDI
// helpers and the bounding-box manipulator of the overlays.
class VISTAL_API IVRenderEx {
public:
  class CBoundingBox;

  // The renderer must outlive this object; it is not owned.
  explicit IVRenderEx(IVRender* render);
  // Same renderer, a slice array of its own with the same slices in the same order.
  IVRenderEx(const IVRenderEx& other);
  IVRenderEx& operator=(const IVRenderEx& other);
  // Releases the slice array only: the slices keep their visibility. Not virtual, as the
  // host's class has it.
  ~IVRenderEx();

  // Attaches a slice and shows it in every scene; a slice already attached is left alone.
  virtual void AddSlice(UISlice& slice);
  // Hides the slice in every scene and detaches it; an unknown slice is left alone.
  virtual void RemoveSlice(UISlice& slice);
  virtual unsigned int GetNumSlices();
  // In attachment order; i below GetNumSlices().
  virtual UISlice& GetSlice(unsigned int i);
  // Nothing here; a derived extension may draw the border.
  virtual void Draw3dBorder(M3dBorder<float, float>& border);

  // Draws the vertices, three a triangle, flat: every corner takes the normal of its
  // triangle's first vertex. A trailing incomplete triangle is ignored. The last flag has
  // no effect.
  void RenderTriangles(std::deque<IVVertexPN>& vertices, bool backfaceVisible, bool);

  // Adds the object's extent for all scenes to `box`; a null object adds nothing.
  static void GetBoundingBox(M3DBoundingBox<float>& box, UIObject* object);
  // Maps n points of the object into the view's window: pixels rounded with halves away
  // from zero, or (second form) the window points unrounded, depth included. False at the
  // first point that does not map (the outputs before it stay written) and for a null
  // object or view; a projective transform's zero-weight exception passes through.
  static bool Get3DPointInWindowCoordinates(CPoint* out, const MMPoint3d<double>* in, UIObject* const object,
                                            UIWnd3D* window, unsigned int n);
  static bool Get3DPointInWindowCoordinates(MMPoint3d<double>* out, const MMPoint3d<double>* in,
                                            UIObject* const object, UIWnd3D* window, unsigned int n);

  static COLORREF InvertColorRGB(COLORREF c);
  static COLORREF InvertColorRGBA(COLORREF c);
  static COLORREF MixColorsRGBA(COLORREF c1, COLORREF c2, float f);
  static COLORREF HighlightColorRBGA(COLORREF c, float f);
  static COLORREF BrightenColorRBGA(COLORREF c, float f);
  static COLORREF MakeGreyEquivalent(COLORREF c);

  static int DrawTextDisabled(HDC hdc, const wchar_t* text, int length, const CRect& box, UINT format, int plain);
  static void DrawTextOutlined(HDC hdc, UINT width, const wchar_t* text, const RECT& box, UINT format);
  static void CreateGdiFont(CFont& font, HDC hdc, const LOGFONTW& description, float heightMm);
  static void InitLOGFONT(LOGFONTW& description, const wchar_t* faceName);
  static LONG ConvertMmToPointsInX(HDC hdc, float mm);
  static LONG ConvertMmToPointsInY(HDC hdc, float mm);
  static float ConvertPointsToMmInX(HDC hdc, LONG pixels);
  static float ConvertPointsToMmInY(HDC hdc, LONG pixels);
  static void DrawBoldArrow(CDC& dc, CPoint from, CPoint to, const CRect* keepInside);
  static bool MoveRectToBeInBaseRect(CRect& rect, const CRect& base, const CSize* direction);
  static void FillSolidRectPrintable(CDC& dc, const CRect* rect, COLORREF colour);
  static void DrawFocusRectNormalized(CDC& dc, const CRect& rect);

protected:
  IVRender* render;
  MRecListSort<UISlice*> slices;
};
