// Update-command-UI requests through message maps: the handler gets the CCmdUI, and one that
// lets routing continue counts as not handling the request.
#include "host/wnd/CCmdUI.h"
#include "host/wnd/CCmdTarget.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CRecordingCmdUI : public CCmdUI {
public:
  std::string m_log;
  void Enable(BOOL on) override { m_log += on ? "enable " : "disable "; }
  void SetCheck(int check) override { m_log += "check " + std::to_string(check) + " "; }
};

class CUpdateTarget : public CCmdTarget {
protected:
  void OnUpdateOne(CCmdUI* ui) { ui->SetCheck(1); }
  void OnUpdateTools(CCmdUI* ui) {
    if (ui->m_nID == 203) ui->ContinueRouting();
    else ui->Enable(FALSE);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUpdateTarget, CCmdTarget)
  ON_UPDATE_COMMAND_UI(100, &CUpdateTarget::OnUpdateOne)
  ON_UPDATE_COMMAND_UI_RANGE(200, 203, &CUpdateTarget::OnUpdateTools)
END_MESSAGE_MAP()

TEST(UpdateCommandUITest, RequestsReachUpdateHandlersWithTheirCmdUI) {
  struct Case {
    UINT id;
    BOOL handled;
    const char* log;
  } cases[] = {
      {100, TRUE, "check 1 "},
      {201, TRUE, "disable "},
      {203, FALSE, ""},  // ContinueRouting
      {150, FALSE, ""},
  };
  for (const Case& c : cases) {
    CUpdateTarget target;
    CRecordingCmdUI ui;
    ui.m_nID = c.id;
    EXPECT_EQ(target.OnCmdMsg(c.id, CN_UPDATE_COMMAND_UI, &ui, nullptr), c.handled) << c.id;
    EXPECT_EQ(ui.m_log, c.log) << c.id;
    EXPECT_FALSE(ui.m_bContinueRouting) << c.id;  // back to idle
    // A command request finds no command handler in the update entries.
    EXPECT_FALSE(target.OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr)) << c.id;
  }
  CUpdateTarget target;
  EXPECT_FALSE(target.OnCmdMsg(100, CN_UPDATE_COMMAND_UI, nullptr, nullptr));  // no CCmdUI
}

}  // namespace
