// Image lists, command UI and toolbars: images cut from bitmaps and drawn masked through
// the Cairo device, CCmdUI's rules for toolbar buttons and its routing, and the toolbar's
// buttons, messages, painting and clicks.
#include "backends/cairo/CGdiDeviceCairo.h"
#include "host/gdi/CDeviceDC.h"
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinUser.h"
#include "host/wnd/CCmdUI.h"
#include "host/wnd/CImageList.h"
#include "host/wnd/CToolBar.h"
#include "host/wnd/WndLoop.h"
#include "host/wnd/WndResources.h"
#include "testing/TestDesktop.h"
#include "tests/gdi/GdiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
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
  // The toolbar's own map has no update handlers: a preview's refresh goes on to DoUpdate.
  EXPECT_FALSE(buttons.toolBar.OnCmdMsg(102, CN_UPDATE_COMMAND_UI, &buttons.For(2), nullptr));
  EXPECT_FALSE(buttons.For(2).m_bEnableChanged);
  buttons.ui.Enable(TRUE);
  EXPECT_TRUE(buttons.ui.m_bEnableChanged);
}

// A command target with an update handler for 201 (which checks), one for the range 203
// to 205 that lets the update route on, and only a command handler for 202.
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
  ON_UPDATE_COMMAND_UI_RANGE(203, 205, &Commands::OnUpdateRouteOn)
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
      {204, TRUE, FALSE, 1, TBBS_DISABLED},
      {206, TRUE, FALSE, 0, TBBS_DISABLED},
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
    EXPECT_FALSE(ui.m_bContinueRouting) << c.id;  // back to idle after routing on
  }
  Commands target;
  EXPECT_FALSE(target.OnCmdMsg(201, CN_UPDATE_COMMAND_UI, nullptr, nullptr));  // no command UI to update
}

// A window with a toolbar of resource 4246 (buttons 101, a separator, 102, 103, 104) on
// the Cairo device, its images 16 by 16: image k of colour kImageColours[k] with a 4 by 4
// square of the mask colour at (6, 6).
constexpr COLORREF kImageColours[4] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255), RGB(250, 200, 0)};
constexpr UINT kToolBarId = 4246;

class Parent : public CWnd {
  DECLARE_MESSAGE_MAP()

public:
  std::vector<UINT> commands;
  void OnButton(UINT id) { commands.push_back(id); }
};

BEGIN_MESSAGE_MAP(Parent, CWnd)
  ON_COMMAND_RANGE(101, 104, &Parent::OnButton)
END_MESSAGE_MAP()

struct ToolBarWindow {
  TestDesktop desktop{[](MImageRGBA& image) { return std::make_unique<CGdiDeviceCairo>(image); }};
  Parent parent;
  CToolBar toolBar;
  CImageList images;

  ToolBarWindow() {
    SetToolBarResource(kToolBarId, {16, 16}, {101, ID_SEPARATOR, 102, 103, 104});
    EXPECT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 120, 40),
                                nullptr, 0));
    EXPECT_TRUE(toolBar.CreateEx(&parent, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_TOOLTIPS));
    EXPECT_TRUE(toolBar.LoadToolBar(kToolBarId));
    std::vector<std::uint8_t> bits(64 * 16 * 4);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 64; ++x) {
        const bool masked = x % 16 >= 6 && x % 16 < 10 && y >= 6 && y < 10;
        const COLORREF colour = masked ? kMask : kImageColours[x / 16];
        std::uint8_t* p = &bits[std::size_t(y * 64 + x) * 4];
        p[0] = GetBValue(colour), p[1] = GetGValue(colour), p[2] = GetRValue(colour), p[3] = 255;
      }
    CBitmap bitmap;
    EXPECT_TRUE(bitmap.CreateBitmap(64, 16, 1, 32, bits.data()));
    EXPECT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 0));
    EXPECT_EQ(ImageList_AddMasked(images, static_cast<HBITMAP>(bitmap.m_hObject), kMask), 0);
    EXPECT_EQ(toolBar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.m_hImageList)), 0);
    CRect first;
    toolBar.GetItemRect(0, &first);
    toolBar.MoveWindow(0, 0, 120, first.Height() + 2);
  }
  ~ToolBarWindow() {
    parent.DestroyWindow();
    RemoveResource(kToolBarId, RT_TOOLBAR);
  }

  MImageRGBA Pixels() {
    AfxPumpMessages(0);
    MImageRGBA pixels;
    EXPECT_TRUE(AfxGetWindowPixels(&toolBar, pixels));
    return pixels;
  }
  void Mouse(WndDesktopEvent::EType type, int x, int y) {
    WndDesktopEvent event;
    event.type = type;
    event.window = AfxGetNativeWindow(&parent);
    event.x = x, event.y = y;
    event.button = type == WndDesktopEvent::eMouseMove ? 0 : 1;
    AfxDispatchDesktopEvent(event);
  }
};

TEST(ToolBar, LaysOutTheResourceAndTakesButtonsAway) {
  ToolBarWindow w;
  // 16 by 16 images make 23 by 23 buttons; a separator is 8 pixels wide.
  struct Item {
    UINT id;
    CRect rect;
  };
  const Item items[] = {{101, {0, 0, 23, 23}}, {0, {23, 0, 31, 23}}, {102, {31, 0, 54, 23}},
                        {103, {54, 0, 77, 23}}, {104, {77, 0, 100, 23}}};
  ASSERT_EQ(w.toolBar.SendMessage(TB_BUTTONCOUNT), 5);
  for (int i = 0; i < 5; ++i) {
    CRect rect;
    w.toolBar.GetItemRect(i, &rect);
    EXPECT_EQ(w.toolBar.GetItemID(i), items[i].id) << i;
    EXPECT_EQ(rect, items[i].rect) << i;
  }
  EXPECT_EQ(w.toolBar.GetButtonStyle(1), TBBS_SEPARATOR);
  EXPECT_EQ(w.toolBar.CommandToIndex(103), 3);
  EXPECT_EQ(w.toolBar.CommandToIndex(105), -1);

  // Taking the separator and 103 away moves the rest left; buttons keep their images.
  EXPECT_TRUE(w.toolBar.SendMessage(TB_DELETEBUTTON, 1));
  EXPECT_TRUE(w.toolBar.SendMessage(TB_DELETEBUTTON, 2));
  EXPECT_FALSE(w.toolBar.SendMessage(TB_DELETEBUTTON, 3));
  EXPECT_EQ(w.toolBar.SendMessage(TB_BUTTONCOUNT), 3);
  CRect last;
  w.toolBar.GetItemRect(2, &last);
  EXPECT_EQ(last, CRect(46, 0, 69, 23));
  UINT id = 0, style = 0;
  int image = 0;
  w.toolBar.GetButtonInfo(2, id, style, image);
  EXPECT_EQ(id, 104u);
  EXPECT_EQ(image, 3);
  const MImageRGBA pixels = w.Pixels();
  EXPECT_EQ(At(pixels, 46 + 3, 3), kImageColours[3]);

  // A missing resource fails and leaves the buttons; so does a toolbar without a window.
  EXPECT_FALSE(w.toolBar.LoadToolBar(4247));
  EXPECT_EQ(w.toolBar.GetCount(), 3);
  CToolBar unmade;
  EXPECT_FALSE(unmade.LoadToolBar(kToolBarId));
  EXPECT_EQ(unmade.GetCount(), 0);
  // The image list before comes back.
  EXPECT_EQ(w.toolBar.SendMessage(TB_SETIMAGELIST, 0, 0), reinterpret_cast<LRESULT>(w.images.m_hImageList));
}

TEST(ToolBar, PaintsImagesMaskedInTheButtonsStates) {
  ToolBarWindow w;
  const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF lit = RGB(234, 232, 228);  // between face and highlight
  w.toolBar.SetButtonStyle(2, TBBS_CHECKBOX | TBBS_CHECKED);
  w.toolBar.SetButtonStyle(3, TBBS_DISABLED);
  const MImageRGBA pixels = w.Pixels();
  ASSERT_EQ(pixels.Height(), 25u);
  struct Probe {
    const char* what;
    int x, y;
    COLORREF colour;
  };
  const Probe probes[] = {
      {"flat button edge", 0, 0, face},
      {"image", 3, 3, kImageColours[0]},
      {"image's far corner", 3 + 15, 3 + 15, kImageColours[0]},
      {"masked square shows the face", 3 + 7, 3 + 7, face},
      {"below the buttons", 5, 24, face},
      {"separator shadow", 26, 10, shadow},
      {"checked: sunken edge", 31, 0, shadow},
      {"checked: lit inside", 31 + 3, 3, lit},
      {"checked: image one pixel on", 31 + 4, 4, kImageColours[1]},
      {"checked: masked square lit", 31 + 4 + 7, 4 + 7, lit},
      {"plain button after", 77 + 3, 3, kImageColours[3]},
  };
  for (const Probe& p : probes) EXPECT_EQ(At(pixels, p.x, p.y), p.colour) << p.what;
  // Disabled: a muted grey between the face and the image's brightness, masked square kept.
  const std::uint8_t* greyed = pixels.Pixel(54 + 3, 3);
  const int spread = std::max({greyed[0], greyed[1], greyed[2]}) - std::min({greyed[0], greyed[1], greyed[2]});
  EXPECT_LE(spread, 8);
  EXPECT_LT(greyed[0], GetRValue(face) - 20);
  EXPECT_EQ(At(pixels, 54 + 3 + 7, 3 + 7), face);
}

TEST(ToolBar, ClicksSendCommandsAndTheMouseLightsButtons) {
  ToolBarWindow w;
  const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW),
                 highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  using E = WndDesktopEvent;
  // Over button 102: raised, and the toolbar holds the mouse to see it leave.
  w.Mouse(E::eMouseMove, 40, 10);
  EXPECT_EQ(At(w.Pixels(), 31, 0), highlight);
  EXPECT_EQ(CWnd::GetCapture(), &w.toolBar);
  w.Mouse(E::eMouseMove, 40, 30);
  EXPECT_EQ(At(w.Pixels(), 31, 0), face);
  EXPECT_EQ(CWnd::GetCapture(), nullptr);

  // Pressed: sunken with the image moved; released over it: the command.
  w.Mouse(E::eButtonDown, 5, 5);
  EXPECT_EQ(w.toolBar.GetButtonStyle(0), TBBS_PRESSED);
  const MImageRGBA pressed = w.Pixels();
  EXPECT_EQ(At(pressed, 0, 0), shadow);
  EXPECT_EQ(At(pressed, 4, 4), kImageColours[0]);
  w.Mouse(E::eButtonUp, 6, 5);
  EXPECT_EQ(w.toolBar.GetButtonStyle(0), TBBS_BUTTON);
  // Released elsewhere, on a disabled button, or on the separator: nothing.
  w.Mouse(E::eButtonDown, 5, 5);
  w.Mouse(E::eButtonUp, 40, 5);
  w.toolBar.SetButtonStyle(3, TBBS_DISABLED);
  w.Mouse(E::eButtonDown, 60, 5);
  w.Mouse(E::eButtonUp, 60, 5);
  w.Mouse(E::eButtonDown, 27, 5);
  w.Mouse(E::eButtonUp, 27, 5);
  // A check box changes its check before the command goes.
  w.toolBar.SetButtonStyle(4, TBBS_CHECKBOX);
  w.Mouse(E::eButtonDown, 80, 5);
  w.Mouse(E::eButtonUp, 80, 5);
  EXPECT_EQ(w.toolBar.GetButtonStyle(4), TBBS_CHECKBOX | TBBS_CHECKED);
  EXPECT_EQ(w.parent.commands, (std::vector<UINT>{101, 104}));
}

}  // namespace
