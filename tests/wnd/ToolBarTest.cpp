// Image lists, command UI and toolbars: images cut from bitmaps and drawn masked through
// the Cairo device, CCmdUI's rules for toolbar buttons and its routing, and the toolbar's
// buttons, messages, painting and clicks.
#include "backends/cairo/CGdiDeviceCairo.h"
#include "host/gdi/CDeviceDC.h"
#include "host/gdi/WinGdi.h"
#include "host/wnd/CCmdUI.h"
#include "host/wnd/CImageList.h"
#include "host/wnd/CToolBar.h"

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

// The command UI of button `index` of a toolbar (a check box, a separator, a plain button).
struct ToolBarButtons {
  CToolBar toolBar;
  CCmdUI ui;
  ToolBarButtons() {
    const UINT ids[] = {101, ID_SEPARATOR, 102};
    toolBar.SetButtons(ids, 3);
    ui.m_pOther = &toolBar;
    ui.m_nIndexMax = 3;
  }
  CCmdUI& For(int index) {
    ui.m_nIndex = UINT(index);
    ui.m_nID = toolBar.GetItemID(index);
    return ui;
  }
};

TEST(CCmdUI, SetsTheBitsOfAToolBarButton) {
  struct Case {
    const char* name;
    UINT before;
    void (*apply)(CCmdUI&);
    UINT after;
  };
  const Case cases[] = {
      {"disable drops the press", TBBS_PRESSED | TBBS_CHECKED, [](CCmdUI& ui) { ui.Enable(FALSE); },
       TBBS_DISABLED | TBBS_CHECKED},
      {"enable keeps the press", TBBS_DISABLED | TBBS_PRESSED, [](CCmdUI& ui) { ui.Enable(TRUE); }, TBBS_PRESSED},
      {"check", TBBS_INDETERMINATE, [](CCmdUI& ui) { ui.SetCheck(1); }, TBBS_CHECKED | TBBS_CHECKBOX},
      {"indeterminate", TBBS_CHECKED, [](CCmdUI& ui) { ui.SetCheck(2); }, TBBS_INDETERMINATE | TBBS_CHECKBOX},
      {"uncheck keeps disabled", TBBS_CHECKED | TBBS_DISABLED, [](CCmdUI& ui) { ui.SetCheck(0); },
       TBBS_DISABLED | TBBS_CHECKBOX},
      {"radio", TBBS_BUTTON, [](CCmdUI& ui) { ui.SetRadio(TRUE); }, TBBS_CHECKED | TBBS_CHECKBOX},
      {"radio off", TBBS_CHECKED, [](CCmdUI& ui) { ui.SetRadio(FALSE); }, TBBS_CHECKBOX},
      {"text is not shown", TBBS_CHECKED, [](CCmdUI& ui) { ui.SetText(L"text"); }, TBBS_CHECKED},
  };
  for (const Case& c : cases) {
    ToolBarButtons buttons;
    buttons.toolBar.SetButtonStyle(2, c.before);
    c.apply(buttons.For(2));
    EXPECT_EQ(buttons.toolBar.GetButtonStyle(2), c.after) << c.name;
    EXPECT_EQ(buttons.toolBar.GetButtonStyle(0), TBBS_BUTTON) << c.name;  // other buttons stay
  }
  ToolBarButtons buttons;
  EXPECT_FALSE(buttons.For(2).m_bEnableChanged);
  buttons.ui.Enable(TRUE);
  EXPECT_TRUE(buttons.ui.m_bEnableChanged);
}

// A command target with an update handler for 201 (which checks), one that lets the
// update route on for 203, and only a command handler for 202.
class Commands : public CCmdTarget {
  DECLARE_MESSAGE_MAP()

public:
  int updates = 0;
  void OnUpdateChecked(CCmdUI* ui) { ++updates, ui->SetCheck(1); }
  void OnUpdateRouteOn(CCmdUI* ui) { ++updates, ui->ContinueRouting(); }
  void OnCommand() {}
};

BEGIN_MESSAGE_MAP(Commands, CCmdTarget)
  ON_UPDATE_COMMAND_UI(201, &Commands::OnUpdateChecked)
  ON_UPDATE_COMMAND_UI(203, &Commands::OnUpdateRouteOn)
  ON_COMMAND(202, &Commands::OnCommand)
END_MESSAGE_MAP()

TEST(CCmdUI, DoUpdateAsksTheTargetAndDisablesWithoutAHandler) {
  struct Case {
    UINT id;
    BOOL disableIfNoHandler;
    BOOL handled;
    int updates;
    UINT after;  // from TBBS_DISABLED
  };
  const Case cases[] = {
      {201, FALSE, TRUE, 1, TBBS_DISABLED | TBBS_CHECKED | TBBS_CHECKBOX},
      // The update handler did not enable: enabled exactly when a command handler exists.
      {201, TRUE, TRUE, 1, TBBS_DISABLED | TBBS_CHECKED | TBBS_CHECKBOX},
      {202, TRUE, FALSE, 0, 0},
      {202, FALSE, FALSE, 0, TBBS_DISABLED},
      {203, FALSE, FALSE, 1, TBBS_DISABLED},
      {204, TRUE, FALSE, 0, TBBS_DISABLED},
      {0, TRUE, TRUE, 0, TBBS_DISABLED},  // no command: nothing asked
  };
  for (const Case& c : cases) {
    ToolBarButtons buttons;
    buttons.toolBar.SetButtonStyle(2, TBBS_DISABLED);
    CCmdUI& ui = buttons.For(2);
    ui.m_nID = c.id;
    Commands target;
    EXPECT_EQ(ui.DoUpdate(&target, c.disableIfNoHandler), c.handled) << c.id;
    EXPECT_EQ(target.updates, c.updates) << c.id;
    EXPECT_EQ(buttons.toolBar.GetButtonStyle(2), c.after) << c.id << " " << c.disableIfNoHandler;
  }
}

}  // namespace
