/*
** The application and its MDI frame: a main window created hidden and shown, two MDI
** children closed through CanClose when the frame closes, the window commands of the client,
** menu commands reaching the active child's view, clipboard commands reaching the focused
** edit, the control bar's buttons, and the module's strings.
*/
#include "platform/framework/application.h"
#include "platform/framework/control_bar.h"
#include "platform/framework/mdi.h"
#include "platform/kernel/modules.h"
#include "platform/kernel/resources.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

const UINT kCmBuyers = 4;
const UINT kCmNobody = 24333;

class TView : public TWindow {
 public:
  TView(std::vector<std::string>& log, const char* name)
      : TWindow(nullptr), log_(log), name_(name) {}
  bool CanClose() override {
    log_.push_back("can close " + name_);
    if (refuseOnce) {
      refuseOnce = false;
      return false;
    }
    return TWindow::CanClose();
  }
  void CmBuyers() { log_.push_back("buyers " + name_); }
  ~TView() override { log_.push_back("deleted " + name_); }
  bool refuseOnce = false;

 private:
  std::vector<std::string>& log_;
  std::string name_;
  DECLARE_RESPONSE_TABLE(TView);
};
DEFINE_RESPONSE_TABLE1(TView, TWindow)
EV_COMMAND(kCmBuyers, CmBuyers), END_RESPONSE_TABLE;

class TTestApp : public TApplication {
 public:
  TTestApp() : TApplication("Zarne") {}
  void InitMainWindow() override {
    nCmdShow = SW_HIDE;
    client = new TMDIClient;
    frame = new TDecoratedMDIFrame(GetName(), TResId(), *client);
    bar = new TControlBar(frame, TControlBar::Horizontal, new TGadgetWindowFont(10));
    bar->Insert(*new TButtonGadget(1, kCmBuyers));
    bar->Insert(*new TSeparatorGadget(6));
    bar->Insert(*new TButtonGadget(kCmNobody, kCmNobody));
    frame->Insert(*bar, TDecoratedFrame::Top);
    SetMainWindow(frame);
    EnableCtl3d(true);
    EnableBWCC(true);
  }
  void InitInstance() override {
    TApplication::InitInstance();
    if (onStarted) onStarted();
  }
  std::function<void()> onStarted;
  TMDIClient* client = nullptr;
  TDecoratedMDIFrame* frame = nullptr;
  TControlBar* bar = nullptr;
};

class ApplicationMdiTest : public GuiTest {
 protected:
  std::vector<std::string> log;
};

TEST_F(ApplicationMdiTest, StartsHiddenShowsItsFrameAndClosesTwoChildrenThroughCanClose) {
  TTestApp app;
  bool hiddenAtStart = false, shownAfterwards = false;
  TView* first = nullptr;
  app.onStarted = [&] {
    hiddenAtStart = app.frame->HWindow && !app.frame->IsWindowVisible();
    app.frame->Show(SW_SHOW);
    shownAfterwards = app.frame->IsWindowVisible();
    first = new TView(log, "A");
    auto* childA = new TMDIChild(*app.client, "File A", first);
    auto* childB = new TMDIChild(*app.client, "File B", new TView(log, "B"));
    childA->Create();
    childB->Create();
    first->refuseOnce = true;
    // The first close is refused by view A: everything stays; the second one ends the loop.
    app.frame->PostMessage(WM_CLOSE);
    app.frame->PostMessage(WM_APP);
    app.frame->PostMessage(WM_CLOSE);
  };
  int exitCode = app.Run();
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(app.Ctl3dEnabled());
  EXPECT_TRUE(app.BWCCEnabled());
  EXPECT_TRUE(hiddenAtStart);
  EXPECT_TRUE(shownAfterwards);
  // The children the frame's closing destroyed are deleted by the framework with the loop's end.
  EXPECT_EQ(log, (std::vector<std::string>{"can close A", "can close A", "can close B", "deleted B",
                                           "deleted A"}));
  EXPECT_EQ(app.frame->HWindow, nullptr);
}

TEST_F(ApplicationMdiTest, FatalStartUpEndsTheLoopAtOnceWithItsCode) {
  TTestApp app;
  app.onStarted = [] { PostQuitMessage(3); };
  EXPECT_EQ(app.Run(), 3);
  ASSERT_NE(app.frame, nullptr);
  EXPECT_FALSE(app.frame->IsWindowVisible());  // never shown
}

class MdiTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    app = new TTestApp;
    app->InitInstance();
    app->frame->Show(SW_SHOW);
    viewA = new TView(log, "A");
    viewB = new TView(log, "B");
    childA = new TMDIChild(*app->client, "File A", viewA);
    childB = new TMDIChild(*app->client, "File B", viewB);
    ASSERT_TRUE(childA->Create());
    ASSERT_TRUE(childB->Create());
  }
  void TearDown() override {
    delete app;
    GuiTest::TearDown();
  }
  std::vector<std::string> log;
  TTestApp* app = nullptr;
  TView *viewA = nullptr, *viewB = nullptr;
  TMDIChild *childA = nullptr, *childB = nullptr;
};

TEST_F(MdiTest, MenuCommandsReachTheActiveChildsView) {
  EXPECT_EQ(app->client->GetActiveMDIChild(), childB);
  app->frame->SendMessage(WM_COMMAND, kCmBuyers);
  app->client->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(childA->HWindow));
  app->frame->SendMessage(WM_COMMAND, kCmBuyers);
  EXPECT_EQ(log, (std::vector<std::string>{"buyers B", "buyers A"}));
}

TEST_F(MdiTest, ExitWithAChildActiveClosesTheWholeFrame) {
  ASSERT_EQ(app->client->GetActiveMDIChild(), childB);
  app->frame->SendMessage(WM_COMMAND, CM_EXIT);
  EXPECT_EQ(app->frame->HWindow, nullptr);
  EXPECT_EQ(std::count(log.begin(), log.end(), "can close A"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "can close B"), 1);
}

TEST_F(MdiTest, CloseAllAsksEveryChildAndTheFrameworkDeletesThem) {
  viewB->refuseOnce = true;
  app->frame->SendMessage(WM_COMMAND, CM_CLOSECHILDREN);
  EXPECT_TRUE(IsWindow(childA->HWindow));
  EXPECT_TRUE(IsWindow(childB->HWindow));
  app->frame->SendMessage(WM_COMMAND, CM_CLOSECHILDREN);
  EXPECT_EQ(app->client->GetActiveMDIChild(), nullptr);
  TApplication::DeleteCondemned();
  EXPECT_EQ(app->client->NumChildren(), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "deleted A"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "deleted B"), 1);
}

TEST_F(MdiTest, ChildDeletedByItsOwnerAfterDestroyIsNotDeletedAgain) {
  childA->Destroy();
  delete childA;
  TApplication::DeleteCondemned();
  EXPECT_EQ(std::count(log.begin(), log.end(), "deleted A"), 1);
  EXPECT_EQ(app->client->NumChildren(), 1);
}

TEST_F(MdiTest, ViewClosingItselfClosesItsChild) {
  viewA->CloseWindow(0);
  EXPECT_EQ(viewA->HWindow, nullptr);
  ProcessPendingMessages();
  EXPECT_EQ(childA->HWindow, nullptr);
  EXPECT_TRUE(IsWindow(childB->HWindow));
  EXPECT_EQ(std::count(log.begin(), log.end(), "can close A"), 1);
}

TEST_F(MdiTest, CascadeMovesTheChildrenApart) {
  app->frame->SendMessage(WM_COMMAND, CM_TILECHILDREN);
  app->frame->SendMessage(WM_COMMAND, CM_CASCADECHILDREN);
  TRect a = childA->GetWindowRect(), b = childB->GetWindowRect();
  EXPECT_NE(a.TopLeft(), b.TopLeft());
}

TEST_F(MdiTest, ClipboardCommandsGoToTheFocusedEdit) {
  HWND edit = CreateWindow("edit", "copied text", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20,
                           viewB->HWindow, reinterpret_cast<HMENU>(77), nullptr, nullptr);
  SetFocus(edit);
  SendMessage(edit, EM_SETSEL, 0, -1);
  app->frame->SendMessage(WM_COMMAND, CM_EDITCUT);
  char text[32] = "x";
  GetWindowText(edit, text, sizeof text);
  EXPECT_STREQ(text, "");
  app->frame->SendMessage(WM_COMMAND, CM_EDITPASTE);
  GetWindowText(edit, text, sizeof text);
  EXPECT_STREQ(text, "copied text");
}

TEST_F(MdiTest, ControlBarButtonsFollowCommandEnablingAndSendTheirCommands) {
  TControlBar& bar = *app->bar;
  ASSERT_NE(bar.HWindow, nullptr);
  TRect barRect = bar.GetWindowRect(), clientRect = app->client->GetWindowRect();
  EXPECT_LE(barRect.bottom, clientRect.top);  // the bar lies above the client
  auto* buyers = dynamic_cast<TButtonGadget*>(bar.GadgetWithId(kCmBuyers));
  auto* nobody = dynamic_cast<TButtonGadget*>(bar.GadgetWithId(kCmNobody));
  ASSERT_TRUE(buyers && nobody);
  EXPECT_TRUE(buyers->HasBitmap());  // the picture is the bitmap with the command's number
  EXPECT_FALSE(nobody->HasBitmap());
  EXPECT_EQ(bar.GadgetAt(1)->GetBounds().left, buyers->GetBounds().right);
  EXPECT_EQ(nobody->GetBounds().left, buyers->GetBounds().right + 6);
  app->frame->IdleAction();
  EXPECT_TRUE(buyers->GetEnabled());
  EXPECT_FALSE(nobody->GetEnabled());
  TPoint center((buyers->GetBounds().left + buyers->GetBounds().right) / 2,
                (buyers->GetBounds().top + buyers->GetBounds().bottom) / 2);
  Click(bar.HWindow, center.x, center.y);
  TPoint off((nobody->GetBounds().left + nobody->GetBounds().right) / 2, center.y);
  Click(bar.HWindow, off.x, off.y);  // a greyed button sends nothing
  EXPECT_EQ(log, (std::vector<std::string>{"buyers B"}));
}

TEST_F(MdiTest, ModuleLoadsItsStrings) {
  EXPECT_EQ(app->LoadString(1000), "Framework test string");
  char buffer[10];
  EXPECT_EQ(app->LoadString(1000, buffer, sizeof buffer), 9);
  EXPECT_STREQ(buffer, "Framework");
  EXPECT_EQ(app->LoadString(1001), "");
  HBITMAP picture = app->LoadBitmap(MAKEINTRESOURCE(1));
  EXPECT_NE(picture, nullptr);
  DeleteObject(picture);
  EXPECT_EQ(app->LoadBitmap(MAKEINTRESOURCE(2)), nullptr);
  HMENU menu = app->LoadMenu(MAKEINTRESOURCE(200));
  EXPECT_NE(menu, nullptr);
  DestroyMenu(menu);
  EXPECT_NE(app->FindResource(MAKEINTRESOURCE(100), RT_DIALOG), nullptr);
  EXPECT_EQ(app->GetInstance(), GetModuleHandle(nullptr));
  EXPECT_EQ(TApplication::Current(), app);
}

}  // namespace
