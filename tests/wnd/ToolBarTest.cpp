// Image lists, command UI and toolbars: images cut from bitmaps and drawn masked through
// the Cairo device, CCmdUI's rules for toolbar buttons and its routing, and the toolbar's
// buttons, messages, painting and clicks.
#include "backends/cairo/CGdiDeviceCairo.h"
#include "host/gdi/CDeviceDC.h"
#include "host/gdi/WinGdi.h"
#include "host/wnd/CImageList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr COLORREF kMask = RGB(192, 192, 192), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
constexpr COLORREF kBackground = RGB(10, 120, 30);

COLORREF At(const MImageRGBA& image, int x, int y) {
  const std::uint8_t* p = image.Pixel(unsigned(x), unsigned(y));
  return RGB(p[0], p[1], p[2]);
}

MImageRGBA Plain(int width, int height, COLORREF colour) {
  MImageRGBA image{unsigned(width), unsigned(height)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = image.Pixel(unsigned(x), unsigned(y));
      p[0] = GetRValue(colour), p[1] = GetGValue(colour), p[2] = GetBValue(colour), p[3] = 255;
    }
  return image;
}

// A 32-bit bitmap of 3 by 2 images side by side (and one column too many): a red image
// with the mask colour at (1, 0), a blue one with it at (0, 1).
void MakeStrip(CBitmap& bitmap) {
  std::vector<std::uint8_t> bits(7 * 2 * 4, 0);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 7; ++x) {
      COLORREF colour = x < 3 ? kRed : kBlue;
      if ((x == 1 && y == 0) || (x == 3 && y == 1) || x == 6) colour = kMask;
      std::uint8_t* p = &bits[std::size_t(y * 7 + x) * 4];
      p[0] = GetBValue(colour), p[1] = GetGValue(colour), p[2] = GetRValue(colour), p[3] = 255;
    }
  ASSERT_TRUE(bitmap.CreateBitmap(7, 2, 1, 32, bits.data()));
}

TEST(ImageList, CutsTheBitmapIntoImagesAndDrawsThemMasked) {
  CImageList list;
  ASSERT_TRUE(list.Create(3, 2, ILC_COLOR24 | ILC_MASK, 0, 0));
  CBitmap strip;
  MakeStrip(strip);
  EXPECT_EQ(list.Add(&strip, kMask), 0);
  EXPECT_EQ(ImageList_AddMasked(list, static_cast<HBITMAP>(strip.m_hObject), kMask), 2);
  EXPECT_EQ(list.GetImageCount(), 4);
  EXPECT_TRUE(list.Remove(3));
  EXPECT_EQ(list.GetImageCount(), 3);

  struct Case {
    const char* name;
    int image;
    UINT style;
    DWORD state;
    COLORREF shown, masked;  // at the image's own pixel and at its masked pixel
  };
  const COLORREF redGrey = RGB(77, 77, 77);  // red's luminance
  const Case cases[] = {
      {"normal", 0, ILD_NORMAL, ILS_NORMAL, kRed, kBackground},
      {"transparent", 1, ILD_TRANSPARENT, ILS_NORMAL, kBlue, kBackground},
      {"image only", 0, ILD_IMAGE, ILS_NORMAL, kRed, RGB(0, 0, 0)},
      {"mask", 0, ILD_MASK, ILS_NORMAL, RGB(0, 0, 0), RGB(255, 255, 255)},
      {"greyed", 0, ILD_NORMAL, ILS_SATURATE, redGrey, kBackground},
  };
  for (const Case& c : cases) {
    MImageRGBA image = Plain(5, 4, kBackground);
    {
      CGdiDeviceCairo device(image);
      CDeviceDC dc(device);
      IMAGELISTDRAWPARAMS params{};
      params.cbSize = sizeof(params);
      params.i = c.image;
      params.hdcDst = dc;
      params.x = 1, params.y = 1;
      params.rgbBk = params.rgbFg = CLR_DEFAULT;
      params.fStyle = c.style;
      params.fState = c.state;
      EXPECT_TRUE(list.DrawIndirect(&params)) << c.name;
    }
    const POINT own = c.image == 0 ? POINT{1 + 0, 1 + 0} : POINT{1 + 1, 1 + 0};
    const POINT masked = c.image == 0 ? POINT{1 + 1, 1 + 0} : POINT{1 + 0, 1 + 1};
    EXPECT_EQ(At(image, own.x, own.y), c.shown) << c.name;
    EXPECT_EQ(At(image, masked.x, masked.y), c.masked) << c.name;
    EXPECT_EQ(At(image, 0, 0), kBackground) << c.name;  // nothing outside the image
    EXPECT_EQ(At(image, 4, 3), kBackground) << c.name;
  }

  // A background colour fills the masked pixels of ILD_NORMAL but not of ILD_TRANSPARENT.
  list.SetBkColor(kBlue);
  MImageRGBA image = Plain(4, 3, kBackground);
  {
    CGdiDeviceCairo device(image);
    CDeviceDC dc(device);
    EXPECT_TRUE(list.Draw(&dc, 0, {0, 0}, ILD_NORMAL));
    EXPECT_TRUE(list.Draw(&dc, 0, {1, 1}, ILD_TRANSPARENT));
    EXPECT_FALSE(list.Draw(&dc, 3, {0, 0}, ILD_NORMAL));  // no such image
  }
  EXPECT_EQ(At(image, 1, 0), kBlue);
  EXPECT_EQ(At(image, 2, 1), kRed);  // the first draw shows through the second's masked pixel
  EXPECT_EQ(At(image, 3, 2), kRed);
}

TEST(ImageList, HandlesFollowMfcOwnershipAndBadInputFails) {
  CImageList list;
  ASSERT_TRUE(list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 0));
  EXPECT_EQ(CImageList::FromHandle(list), &list);
  HIMAGELIST foreign = ImageList_Create(4, 4, ILC_COLOR24, 0, 0);
  CImageList* temporary = CImageList::FromHandle(foreign);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(temporary->m_hImageList, foreign);
  CImageList::DeleteTempMap();  // the temporary object leaves the list alone
  EXPECT_EQ(ImageList_GetImageCount(foreign), 0);
  EXPECT_TRUE(ImageList_Destroy(foreign));
  EXPECT_FALSE(ImageList_Destroy(foreign));

  EXPECT_EQ(ImageList_Create(0, 16, ILC_COLOR24, 0, 0), nullptr);
  EXPECT_EQ(ImageList_AddMasked(nullptr, nullptr, 0), -1);
  EXPECT_EQ(list.Add(nullptr, 0), -1);
  CBitmap narrow;
  ASSERT_TRUE(narrow.CreateBitmap(8, 16, 1, 32, nullptr));
  EXPECT_EQ(list.Add(&narrow, 0), 0);  // narrower than one image: nothing added
  EXPECT_EQ(list.GetImageCount(), 0);
  EXPECT_FALSE(list.Draw(nullptr, 0, {0, 0}, ILD_NORMAL));
  HIMAGELIST held = list.m_hImageList;
  EXPECT_TRUE(list.DeleteImageList());
  EXPECT_EQ(ImageList_GetImageCount(held), 0);
  EXPECT_FALSE(list.DeleteImageList());
}

}  // namespace
