/*
** Response tables: messages, commands, child notifications, command enabling and idle
** messages reach the member functions their table names; what no table names reaches the
** base class's table or the default handling.
*/
#include "platform/framework/frame.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

#include <string>
#include <vector>

namespace {

const UINT kCmSave = 24333;
const UINT kCmMerge = 1;
const UINT kCmNobody = 4711;

class TBaseView : public TWindow {
 public:
  explicit TBaseView(TWindow* parent) : TWindow(parent) {}
  std::vector<std::string> log;
  void CmMerge() { log.push_back("base merge"); }
  void CmSave() { log.push_back("base save"); }
  DECLARE_RESPONSE_TABLE(TBaseView);
};
DEFINE_RESPONSE_TABLE1(TBaseView, TWindow)
EV_COMMAND(kCmMerge, CmMerge), EV_COMMAND(kCmSave, CmSave), END_RESPONSE_TABLE;

class TView : public TBaseView {
 public:
  explicit TView(TWindow* parent) : TBaseView(parent) {}
  void CmSave() { log.push_back("save"); }
  void EvEditChange() { log.push_back("edit change"); }
  void EvAnyCode(UINT code) { log.push_back("code " + std::to_string(code)); }
  void EvEnterIdle(UINT source, HWND) override { log.push_back("idle " + std::to_string(source)); }
  void EvLButtonDown(UINT, TPoint& p) override {
    log.push_back("down " + std::to_string(p.x) + "," + std::to_string(p.y));
    TWindow::EvLButtonDown(0, p);
  }
  LRESULT EvUser2(WPARAM w, LPARAM l) {
    log.push_back("user2 " + std::to_string(w) + " " + std::to_string(l));
    return 99;
  }
  void CeSave(TCommandEnabler& ce) { ce.Enable(saveEnabled); }
  bool saveEnabled = false;
  DECLARE_RESPONSE_TABLE(TView);
};
DEFINE_RESPONSE_TABLE1(TView, TBaseView)
EV_COMMAND(kCmSave, CmSave), EV_EN_CHANGE(101, EvEditChange),
    EV_CHILD_NOTIFY_ALL_CODES(102, EvAnyCode), EV_WM_ENTERIDLE, EV_WM_LBUTTONDOWN,
    EV_MESSAGE(WM_USER + 2, EvUser2), EV_COMMAND_ENABLE(kCmSave, CeSave), END_RESPONSE_TABLE;

class ResponseTableTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    frame = new TFrameWindow(nullptr, "Routing");
    view = new TView(nullptr);
    frame->SetClientWindow(view);
    ASSERT_TRUE(frame->Create());
  }
  void TearDown() override {
    delete frame;
    GuiTest::TearDown();
  }
  TFrameWindow* frame = nullptr;
  TView* view = nullptr;
};

TEST_F(ResponseTableTest, CommandsFindTheMostDerivedEntryThenTheBaseTable) {
  view->SendMessage(WM_COMMAND, kCmSave, 0);
  view->SendMessage(WM_COMMAND, kCmMerge, 0);
  EXPECT_EQ(view->log, (std::vector<std::string>{"save", "base merge"}));
}

TEST_F(ResponseTableTest, FrameRoutesMenuCommandsToTheClientFirst) {
  frame->SendMessage(WM_COMMAND, kCmSave, 0);
  ASSERT_EQ(view->log.size(), 1u);
  EXPECT_EQ(view->log[0], "save");
  // A command no window handles goes to the default handling and changes nothing.
  frame->SendMessage(WM_COMMAND, kCmNobody, 0);
  EXPECT_EQ(view->log.size(), 1u);
}

TEST_F(ResponseTableTest, ChildNotificationsReachTheParentByIdAndCode) {
  HWND edit = CreateWindow("edit", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, view->HWindow,
                           reinterpret_cast<HMENU>(101), nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  view->SendMessage(WM_COMMAND, MAKEWPARAM(101, EN_CHANGE), reinterpret_cast<LPARAM>(edit));
  // The same id with another code has no entry; it changes nothing.
  view->SendMessage(WM_COMMAND, MAKEWPARAM(101, EN_KILLFOCUS), reinterpret_cast<LPARAM>(edit));
  view->SendMessage(WM_COMMAND, MAKEWPARAM(102, 7), reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(view->log, (std::vector<std::string>{"edit change", "code 7"}));
  // Typing into the edit sends its real EN_CHANGE to the same handler.
  view->log.clear();
  SetWindowText(edit, "abc");
  ProcessPendingMessages();
  EXPECT_EQ(view->log, (std::vector<std::string>{"edit change"}));
}

/* Each class remembers what its lookups answered: a base class asked first must not lend
   its answer to the derived class, a key that differs in its code alone is its own, and a
   flood of unknown messages leaves the known ones answered as before. */
TEST_F(ResponseTableTest, RepeatedLookupsAnswerPerClassAndKeyEvenAfterManyUnknownMessages) {
  auto* base = new TBaseView(frame);
  ASSERT_TRUE(base->Create());
  HWND edit = CreateWindow("edit", "", WS_CHILD, 0, 0, 50, 20, view->HWindow,
                           reinterpret_cast<HMENU>(101), nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  auto notify = [&](UINT code) {
    view->SendMessage(WM_COMMAND, MAKEWPARAM(101, code), reinterpret_cast<LPARAM>(edit));
  };
  for (int round = 0; round < 2; ++round) {
    base->SendMessage(WM_COMMAND, kCmSave, 0);
    view->SendMessage(WM_COMMAND, kCmSave, 0);
    notify(EN_KILLFOCUS);
    notify(EN_CHANGE);
  }
  for (UINT i = 0; i < 2000; ++i) view->SendMessage(WM_USER + 1000 + i, 0, 0);
  view->SendMessage(WM_COMMAND, kCmSave, 0);
  notify(EN_KILLFOCUS);
  notify(EN_CHANGE);
  EXPECT_EQ(view->SendMessage(WM_USER + 2, 1, 2), 99);
  EXPECT_EQ(base->log, (std::vector<std::string>{"base save", "base save"}));
  EXPECT_EQ(view->log, (std::vector<std::string>{"save", "edit change", "save", "edit change",
                                                 "save", "edit change", "user2 1 2"}));
}

TEST_F(ResponseTableTest, EnterIdleAndRawMessagesReachTheirHandlers) {
  view->SendMessage(WM_ENTERIDLE, MSGF_MENU, 0);
  EXPECT_EQ(view->SendMessage(WM_USER + 2, 5, 6), 99);
  view->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(12, 34));
  EXPECT_EQ(view->log, (std::vector<std::string>{"idle 2", "user2 5 6", "down 12,34"}));
}

TEST_F(ResponseTableTest, CommandEnablingAsksTheHandlerAndDisablesCommandsNobodyHandles) {
  TCommandEnabler save(kCmSave);
  frame->EvCommandEnable(save);
  EXPECT_FALSE(save.IsEnabled());
  view->saveEnabled = true;
  TCommandEnabler saveAgain(kCmSave);
  frame->EvCommandEnable(saveAgain);
  EXPECT_TRUE(saveAgain.IsEnabled());
  TCommandEnabler merge(kCmMerge);  // handled, no enabler: enabled
  frame->EvCommandEnable(merge);
  EXPECT_TRUE(merge.IsEnabled());
  TCommandEnabler nobody(kCmNobody);
  frame->EvCommandEnable(nobody);
  EXPECT_FALSE(nobody.IsEnabled());
}

TEST_F(ResponseTableTest, ExitCommandClosesTheFrameThroughCanClose) {
  struct TStubborn : TWindow {
    explicit TStubborn(TWindow* p) : TWindow(p) {}
    bool CanClose() override {
      ++asked;
      return agree;
    }
    int asked = 0;
    bool agree = false;
  };
  auto* stubborn = new TStubborn(view);
  ASSERT_TRUE(stubborn->Create());
  frame->SendMessage(WM_COMMAND, CM_EXIT, 0);
  EXPECT_EQ(stubborn->asked, 1);
  EXPECT_TRUE(IsWindow(frame->HWindow));
  stubborn->agree = true;
  frame->SendMessage(WM_COMMAND, CM_EXIT, 0);
  EXPECT_EQ(frame->HWindow, nullptr);
  EXPECT_EQ(view->HWindow, nullptr);
}

TEST_F(ResponseTableTest, SetupRunsWithTheWindowAndItsChildrenAndCleanupBeforeTheyGo) {
  struct TLifeCycle : TWindow {
    explicit TLifeCycle(std::vector<std::string>& log) : TWindow(nullptr, "Life"), log_(log) {
      Attr.Style = WS_POPUP;
      child = new TWindow(this);
    }
    void SetupWindow() override {
      log_.push_back(std::string("setup, child ") + (child->HWindow ? "made" : "not made"));
      TWindow::SetupWindow();
      log_.push_back(std::string("after base, child ") + (child->HWindow ? "made" : "not made"));
    }
    void CleanupWindow() override {
      log_.push_back(std::string("cleanup, child ") +
                     (::IsWindow(child->HWindow) ? "alive" : "gone"));
    }
    std::vector<std::string>& log_;
    TWindow* child;
  };
  std::vector<std::string> log;
  TLifeCycle window(log);
  ASSERT_TRUE(window.Create());
  window.Destroy();
  EXPECT_EQ(log, (std::vector<std::string>{"setup, child not made", "after base, child made",
                                           "cleanup, child alive"}));
  EXPECT_EQ(window.HWindow, nullptr);
  EXPECT_EQ(window.child->HWindow, nullptr);
  // The object outlives its window and can make it again.
  EXPECT_TRUE(window.Create());
  EXPECT_NE(window.child->HWindow, nullptr);
}

}  // namespace
