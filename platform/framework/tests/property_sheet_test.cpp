/*
** Property sheets: pages made when first shown, OK applying only the pages that were made,
** Cancel applying none, a page refusing to apply keeping the sheet open, no Apply button
** when the sheet asks for none, Escape and Enter typed in a page cancelling and confirming.
*/
#include "platform/framework/property_sheet.h"
#include "platform/framework/controls.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class TLoggedPage : public TPropertyPage {
 public:
  TLoggedPage(TPropertySheet* sheet, int resId, std::vector<std::string>& log, const char* name)
      : TPropertyPage(sheet, resId), log_(log), name_(name) {}
  int SetActive(TNotify& n) override {
    log_.push_back("show " + name_);
    // The hook may replace itself while it runs; run a copy.
    std::function<void()> hook = onShow;
    if (hook) hook();
    return TPropertyPage::SetActive(n);
  }
  int Apply(TNotify& n) override {
    log_.push_back("apply " + name_);
    if (refuse) {
      refuse = false;
      return PSNRET_INVALID_NOCHANGEPAGE;
    }
    return TPropertyPage::Apply(n);
  }
  void Reset(TNotify&) override { log_.push_back("reset " + name_); }
  std::function<void()> onShow;
  bool refuse = false;

 private:
  std::vector<std::string>& log_;
  std::string name_;
};

class PropertySheetTest : public GuiTest {
 protected:
  std::vector<std::string> log;
};

TEST_F(PropertySheetTest, OkAppliesOnlyThePagesThatWereShown) {
  TPropertySheet sheet(nullptr, "HUD-1 Options", 0, false, PSH_NOAPPLYNOW);
  auto* view = new TLoggedPage(&sheet, 120, log, "view");
  auto* print = new TLoggedPage(&sheet, 121, log, "print");
  auto* other = new TLoggedPage(&sheet, 122, log, "other");
  bool applyButton = true;
  std::string firstTab;
  view->onShow = [&] {
    view->onShow = nullptr;
    applyButton = GetDlgItem(sheet.HWindow, TPropertySheet::IdApply) != nullptr;
    char text[32] = "";
    GetWindowText(GetDlgItem(sheet.HWindow, TPropertySheet::IdFirstTab), text, sizeof text);
    firstTab = text;
    sheet.PostMessage(WM_COMMAND, TPropertySheet::IdFirstTab + 1);  // the "Print" tab
    sheet.PostMessage(WM_COMMAND, IDOK);
  };
  EXPECT_EQ(sheet.Execute(), IDOK);
  EXPECT_FALSE(applyButton);
  EXPECT_EQ(firstTab, "View");
  EXPECT_EQ(log,
            (std::vector<std::string>{"show view", "show print", "apply view", "apply print"}));
  EXPECT_EQ(other->HWindow, nullptr);
  EXPECT_EQ(sheet.HWindow, nullptr);
}

TEST_F(PropertySheetTest, CancelAppliesNothingAndResetsTheShownPages) {
  TPropertySheet sheet(nullptr, "Default Values");
  auto* first = new TLoggedPage(&sheet, 120, log, "first");
  new TLoggedPage(&sheet, 121, log, "second");
  bool applyButton = false;
  first->onShow = [&] {
    first->onShow = nullptr;
    applyButton = GetDlgItem(sheet.HWindow, TPropertySheet::IdApply) != nullptr;
    sheet.PostMessage(WM_COMMAND, IDCANCEL);
  };
  EXPECT_EQ(sheet.Execute(), IDCANCEL);
  EXPECT_TRUE(applyButton);
  EXPECT_EQ(log, (std::vector<std::string>{"show first", "reset first"}));
}

TEST_F(PropertySheetTest, PageRefusingToApplyKeepsTheSheetOpenOnThatPage) {
  TPropertySheet sheet(nullptr, "Sheet", 0, false, PSH_NOAPPLYNOW);
  auto* first = new TLoggedPage(&sheet, 120, log, "first");
  auto* second = new TLoggedPage(&sheet, 121, log, "second");
  int pageAfterRefusal = -1;
  int secondShows = 0;
  first->onShow = [&] {
    first->onShow = nullptr;
    sheet.PostMessage(WM_COMMAND, TPropertySheet::IdFirstTab + 1);
  };
  // First show of the second page: arm its refusal, go back to the first page and press OK.
  // The refusal brings the second page to the front again, where OK is pressed once more.
  second->onShow = [&] {
    ++secondShows;
    if (secondShows == 1) {
      second->refuse = true;
      sheet.PostMessage(WM_COMMAND, TPropertySheet::IdFirstTab);
      sheet.PostMessage(WM_COMMAND, IDOK);
    } else if (secondShows == 2) {
      pageAfterRefusal = sheet.GetCurrentPageIndex();
      sheet.PostMessage(WM_COMMAND, IDOK);
    }
  };
  EXPECT_EQ(sheet.Execute(), IDOK);
  EXPECT_EQ(pageAfterRefusal, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"show first", "show second", "show first", "apply first",
                                           "apply second", "show second", "apply first",
                                           "apply second"}));
}

TEST_F(PropertySheetTest, EscapeInAPageCancelsTheSheetAndEnterConfirmsIt) {
  for (int key : {VK_ESCAPE, VK_RETURN}) {
    log.clear();
    TPropertySheet sheet(nullptr, "Sheet", 0, false, PSH_NOAPPLYNOW);
    auto* first = new TLoggedPage(&sheet, 120, log, "first");
    new TLoggedPage(&sheet, 121, log, "second");
    first->onShow = [&] {
      first->onShow = nullptr;
      ::PostMessage(first->HWindow, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
    };
    EXPECT_EQ(sheet.Execute(), key == VK_ESCAPE ? IDCANCEL : IDOK) << key;
    EXPECT_EQ(log, (std::vector<std::string>{"show first",
                                             key == VK_ESCAPE ? "reset first" : "apply first"}));
  }
}

}  // namespace
