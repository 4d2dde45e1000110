#pragma once
// MFC's toolbar: a row of flat buttons with images from an image list.
#include "host/HostApi.h"
#include "host/win/CRect.h"
#include "host/wnd/CWnd.h"
#include "host/wnd/CommCtrl.h"

#include <vector>

// Control bar styles (the window style's low bits).
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0040;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;

// The command of a separator in SetButtons and toolbar resources.
constexpr UINT ID_SEPARATOR = 0;

// Button styles of GetButtonStyle and SetButtonStyle: the button's kind in the low word,
// its state in the high word (TBBS_DISABLED where the control says TBSTATE_ENABLED).
constexpr UINT TBBS_BUTTON = 0x0000;
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKBOX = 0x0002;
constexpr UINT TBBS_GROUP = 0x0004;
constexpr UINT TBBS_CHECKGROUP = TBBS_GROUP | TBBS_CHECKBOX;
constexpr UINT TBBS_CHECKED = 0x00010000;
constexpr UINT TBBS_PRESSED = 0x00020000;
constexpr UINT TBBS_DISABLED = 0x00040000;
constexpr UINT TBBS_HIDDEN = 0x00080000;
constexpr UINT TBBS_INDETERMINATE = 0x00100000;

// A toolbar along its parent's top edge. Buttons sit in one row from the left, each of
// the button size; a separator is 8 pixels wide. The image of button i (separators not
// counted) is image i of the image list given with TB_SETIMAGELIST, which the toolbar
// does not own. A click on an enabled button sends WM_COMMAND (the button's command,
// BN_CLICKED) to the owner (GetOwner: the parent unless another owner was set); a
// check box button changes its check first. The toolbar answers TB_BUTTONCOUNT,
// TB_DELETEBUTTON, TB_COMMANDTOINDEX, TB_GETITEMRECT, TB_SETIMAGELIST and TB_GETIMAGELIST.
class VISTAL_HOST_API CToolBar : public CWnd {
  DECLARE_MESSAGE_MAP()

public:
  CToolBar() = default;
  ~CToolBar() override;

  // The toolbar window, empty (CBRS_ styles and WS_CHILD in `style`); the borders inset the
  // buttons from the window's edges.
  virtual BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT,
                        DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect borders = CRect(0, 0, 0, 0),
                        UINT id = AFX_IDW_TOOLBAR);
  virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);

  // The buttons of a toolbar resource (host/wnd/WndResources.h) with its image size; FALSE
  // when there is no such resource or no toolbar window, and then nothing changes. The
  // images come from the image list given with TB_SETIMAGELIST; the resource's bitmap is
  // not loaded here.
  BOOL LoadToolBar(UINT id);
  BOOL LoadToolBar(LPCWSTR name);
  // Buttons for the commands in order (ID_SEPARATOR, 0, for a separator); images by order.
  BOOL SetButtons(const UINT* ids, int count);
  // Button and image sizes; images are centred on their buttons.
  void SetSizes(SIZE button, SIZE image);
  CSize GetButtonSize() const { return m_sizeButton; }
  DWORD GetBarStyle() const { return m_dwStyle; }

  int GetCount() const { return int(m_buttons.size()); }
  // The command of a button, 0 for a separator or an index out of range.
  UINT GetItemID(int index) const;
  // The button's rectangle in the toolbar's client coordinates; empty out of range.
  void GetItemRect(int index, LPRECT rect) const;
  UINT GetButtonStyle(int index) const;
  void SetButtonStyle(int index, UINT style);
  void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
  void SetButtonInfo(int index, UINT id, UINT style, int image);
  // The index of the first button with the command, -1 for none.
  int CommandToIndex(UINT id) const;

protected:
  struct Button {
    UINT id = 0;
    UINT style = TBBS_BUTTON;  // TBBS_ bits
    int image = -1;
  };

  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnMouseMove(UINT flags, CPoint point);
  void OnLButtonDown(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnCaptureChanged(CWnd* wnd);
  LRESULT OnButtonCount(WPARAM, LPARAM);
  LRESULT OnDeleteButton(WPARAM index, LPARAM);
  LRESULT OnCommandToIndex(WPARAM id, LPARAM);
  LRESULT OnGetItemRect(WPARAM index, LPARAM rect);
  LRESULT OnSetImageList(WPARAM, LPARAM list);
  LRESULT OnGetImageList(WPARAM, LPARAM);

  // Draws one button in its state.
  void DrawButton(CDC& dc, int index);
  // The button under the point, separators and hidden buttons left out; -1 for none.
  int HitTest(CPoint point) const;
  void InvalidateButton(int index);
  bool IsEnabledButton(int index) const;

  std::vector<Button> m_buttons;
  CSize m_sizeButton{23, 22};  // MFC's defaults: a 16 by 15 image with the padding
  CSize m_sizeImage{16, 15};
  CRect m_borders{0, 0, 0, 0};
  DWORD m_dwStyle = 0;  // the CBRS_ styles
  HIMAGELIST m_imageList = nullptr;
  int m_hot = -1;      // the button under the mouse
  int m_pressed = -1;  // the button the left button went down on, while it is held
};
