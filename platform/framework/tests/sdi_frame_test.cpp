/*
** A single-document decorated frame as the repair utility builds it: its menu from a
** resource, its client window, menu commands reaching the client and the application, and
** menu items of commands nobody handles greyed when their menu opens.
*/
#include "platform/framework/application.h"
#include "platform/framework/frame.h"
#include "platform/testing/gui_test.h"
#include "platform/user/menu_calls.h"
#include "platform/user/winuser.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> gLog;

class TFixWindow : public TWindow {
 public:
  TFixWindow() : TWindow(nullptr, "") {}
};

class TFixApp : public TApplication {
 public:
  TFixApp() : TApplication("ZarneFix") {}
  void CmRebuild() { gLog.push_back("rebuild"); }
  DECLARE_RESPONSE_TABLE(TFixApp);
};
DEFINE_RESPONSE_TABLE1(TFixApp, TApplication)
EV_COMMAND(104, CmRebuild), END_RESPONSE_TABLE;

class SdiFrameTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    gLog.clear();
    app = new TFixApp;
    frame = new TDecoratedFrame(nullptr, app->GetName(), new TFixWindow);
    frame->SetMenuDescr(TMenuDescr(200));
    app->SetMainWindow(frame);
    ASSERT_TRUE(frame->Create());
    frame->Show(SW_SHOWNORMAL);
  }
  void TearDown() override {
    delete app;
    GuiTest::TearDown();
  }
  TFixApp* app = nullptr;
  TDecoratedFrame* frame = nullptr;
};

TEST_F(SdiFrameTest, ClientFillsTheFrameUnderItsMenu) {
  EXPECT_NE(GetMenu(frame->HWindow), nullptr);
  ASSERT_NE(frame->GetClientWindow()->HWindow, nullptr);
  EXPECT_EQ(frame->GetClientWindow()->GetClientRect().Size(), frame->GetClientRect().Size());
  EXPECT_EQ(frame->GetWindowText(), "ZarneFix");
}

TEST_F(SdiFrameTest, MenuCommandsReachTheApplicationAndUnhandledOnesAreGreyed) {
  EXPECT_TRUE(ChooseMenuBarCommand(frame->HWindow, 104));
  ProcessPendingMessages();
  EXPECT_EQ(gLog, std::vector<std::string>{"rebuild"});
  // "Orphan" has no handler anywhere: its item is greyed when the menu opens.
  EXPECT_FALSE(ChooseMenuBarCommand(frame->HWindow, 105));
  UINT state = GetMenuState(GetMenu(frame->HWindow), 105, MF_BYCOMMAND);
  EXPECT_TRUE(state & MF_GRAYED);
}

TEST_F(SdiFrameTest, ExitFromTheMenuClosesTheFrame) {
  EXPECT_TRUE(ChooseMenuBarCommand(frame->HWindow, CM_EXIT));
  MSG msg{};
  bool quit = false;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      break;
    }
    DispatchMessage(&msg);
  }
  EXPECT_EQ(frame->HWindow, nullptr);
  EXPECT_TRUE(quit);
}

}  // namespace
