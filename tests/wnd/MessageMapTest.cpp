// Message maps: commands and command ranges through a class and its base, window messages
// to handlers, and the handler-info query.
#include "tests/wnd/WndTestSupport.h"
#include "testing/TestDesktop.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CBaseTarget : public CWnd {
public:
  std::string m_log;

protected:
  void OnOpen() { m_log += "base-open "; }
  void OnSave() { m_log += "base-save "; }
  void OnSize(UINT type, int cx, int cy) { m_log += "size " + std::to_string(cx) + "x" + std::to_string(cy) + " "; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CWnd)
  ON_COMMAND(100, &CBaseTarget::OnOpen)
  ON_COMMAND(101, &CBaseTarget::OnSave)
  ON_WM_SIZE()
END_MESSAGE_MAP()

class CDerivedTarget : public CBaseTarget {
protected:
  void OnOpen() { m_log += "open "; }
  void OnTool(UINT id) { m_log += "tool " + std::to_string(id) + " "; }
  LRESULT OnPing(WPARAM wParam, LPARAM lParam) { return LRESULT(wParam + lParam); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
  ON_COMMAND(100, &CDerivedTarget::OnOpen)
  ON_COMMAND_RANGE(200, 203, &CDerivedTarget::OnTool)
  ON_COMMAND_RANGE(300, 300, &CDerivedTarget::OnTool)
  ON_MESSAGE(WM_USER + 1, &CDerivedTarget::OnPing)
END_MESSAGE_MAP()

TEST(MessageMapTest, CommandsFindTheFirstEntryUpTheChainOfMaps) {
  struct Case {
    UINT id;
    BOOL handled;
    const char* log;
  } cases[] = {
      {100, TRUE, "open "},       // the derived entry hides the base's
      {101, TRUE, "base-save "},  // only the base has it
      {200, TRUE, "tool 200 "},   // ranges include both ends
      {203, TRUE, "tool 203 "},
      {204, FALSE, ""},
      {199, FALSE, ""},
      {300, TRUE, "tool 300 "},   // a range of one
      {0xFFFF, FALSE, ""},
  };
  for (const Case& c : cases) {
    CDerivedTarget target;
    EXPECT_EQ(target.OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr), c.handled) << c.id;
    EXPECT_EQ(target.m_log, c.log) << c.id;
    // Update requests do not reach command handlers.
    target.m_log.clear();
    EXPECT_FALSE(target.OnCmdMsg(c.id, CN_UPDATE_COMMAND_UI, nullptr, nullptr)) << c.id;
    EXPECT_EQ(target.m_log, "") << c.id;
  }
}

TEST(MessageMapTest, HandlerInfoAnswersWithoutCalling) {
  CDerivedTarget target;
  AFX_CMDHANDLERINFO info{nullptr, nullptr};
  EXPECT_TRUE(target.OnCmdMsg(101, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, &target);
  EXPECT_NE(info.pmf, nullptr);
  EXPECT_EQ(target.m_log, "");
  EXPECT_FALSE(target.OnCmdMsg(150, CN_COMMAND, nullptr, &info));
}

TEST(MessageMapTest, WindowMessagesReachHandlersOfTheClassAndItsBase) {
  TestDesktop desktop;
  CLogWnd top;
  ASSERT_TRUE(top.CreateTop(200, 100));
  CDerivedTarget target;
  ASSERT_TRUE(target.Create(TestClass(), L"", WS_VISIBLE, CRect(0, 0, 40, 30), &top, 7));
  EXPECT_EQ(target.m_log, "size 40x30 ");  // from the base's map, during creation
  target.m_log.clear();

  EXPECT_EQ(target.SendMessage(WM_USER + 1, 5, 6), 11);
  EXPECT_EQ(target.SendMessage(WM_USER + 2, 5, 6), 0);  // no entry: the default procedure
  // WM_COMMAND from a menu, and from a control with its notification code.
  EXPECT_EQ(target.SendMessage(WM_COMMAND, MAKEWPARAM(201, 0), 0), 1);
  EXPECT_EQ(target.SendMessage(WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), LPARAM(1)), 1);
  EXPECT_EQ(target.SendMessage(WM_COMMAND, MAKEWPARAM(100, 5), LPARAM(1)), 0);
  EXPECT_EQ(target.m_log, "tool 201 open ");
}

}  // namespace
