/*
** The statement's field menu and its commands: the items offered per field, Calendar
** filling only the edit line, the Prorater reaching the recalculation's dialog, and the
** party commands arriving after the typed value was committed.
*/
#include "statement/tests/commands/statement_commands_support.h"

#include "platform/testing/dialog_driver.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/menu_calls.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_record.h"

namespace {

struct MenuItem {
  UINT id;
  std::string text;
  bool operator==(const MenuItem&) const = default;
};
using Menu = std::vector<MenuItem>;

class FieldMenuTest : public StatementCommandsTest {
 protected:
  void SetUp() override {
    StatementCommandsTest::SetUp();
    previous_ = SetPopupMenuChooser([this](HMENU menu, int, int, HWND owner) -> UINT {
      shown.clear();
      owners.push_back(owner);
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        GetMenuString(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        shown.push_back({GetMenuItemID(menu, i), text});
      }
      return choice;
    });
  }
  void TearDown() override {
    SetPopupMenuChooser(previous_);
    StatementCommandsTest::TearDown();
  }
  /* The menu of the field, opened by the edit line's right button. */
  Menu MenuOf(RespaWindow* view, int id) {
    EditField(view, id);
    view->SendMessage(WM_FIELDMENU);
    Pump();
    return shown;
  }
  Menu shown;
  std::vector<HWND> owners;
  UINT choice = 0;

 private:
  PopupMenuChooser previous_;
};

const Menu kParties = {{4, "Buyers"}, {5, "Sellers"}, {6, "Lender"}, {7, "Settlement Agent"}};

Menu With(const Menu& first) {
  Menu menu = first;
  menu.insert(menu.end(), kParties.begin(), kParties.end());
  return menu;
}

TEST_F(FieldMenuTest, EachFieldGetsItsItemsAndThePartiesAlways) {
  RespaWindow* view = OpenFile("F-1");
  EXPECT_EQ(MenuOf(view, 102), kParties);
  EXPECT_EQ(owners.back(), view->HWindow);
  const Menu calendar = With({{901, "Calendar"}, {0, ""}});
  const Menu prorater = With({{902, "Prorater"}, {0, ""}});
  for (int id : {212, 220, 253, 348, 576}) EXPECT_EQ(MenuOf(view, id), calendar) << id;
  for (int id : {235, 242, 267, 274, 306, 319, 352, 365})
    EXPECT_EQ(MenuOf(view, id), prorater) << id;
  for (int id : {213, 234, 243, 320}) EXPECT_EQ(MenuOf(view, id), kParties) << id;
}

TEST_F(FieldMenuTest, TheRightButtonOnTheWindowOpensTheMenuAndCommitsTheTypedValue) {
  RespaWindow* view = OpenFile("F-2");
  TypeOnly(view, 213, "321");
  Click(view->HWindow, 5, 5, Qt::RightButton);
  Pump();
  EXPECT_EQ(shown, kParties);
  double amount = 0;
  view->records[kSummary1Table]->GetDouble(3, amount);
  EXPECT_EQ(amount, 321.0);
}

TEST_F(FieldMenuTest, CalendarPutsTheChosenDateIntoTheEditLineOnly) {
  RespaWindow* view = OpenFile("F-3");
  Type(view, 212, "3/15/24");
  LONG before = 0;
  view->records[kSummary1Table]->GetLong(2, before);
  DialogDriver driver;
  driver.OnDialog(20911, [&](HWND calendar) {
    // March 2024 begins on a Friday, the sixth cell: the 20th is cell 24.
    Click(FindControl(calendar, 101 + 24), 4, 4);
    PumpDialogMessages(calendar);
    PressButton(calendar, IDOK);
  });
  choice = 901;
  MenuOf(view, 212);
  EXPECT_EQ(driver.Opened(), (std::vector<std::string>{"Date Selection"}));
  EXPECT_EQ(EditText(view), "3/20/24");
  LONG after = 0;
  view->records[kSummary1Table]->GetLong(2, after);
  EXPECT_EQ(after, before);
  PressKey(VK_TAB);
  Pump();
  EXPECT_TRUE(Holds(Print(view)[0], "March 20, 2024"));
}

TEST_F(FieldMenuTest, CalendarOnAFieldThatIsNoDateChangesNothing) {
  RespaWindow* view = OpenFile("F-4");
  Type(view, 102, "Named");
  DialogDriver driver;
  driver.OnDialog(20911, [&](HWND calendar) { PressButton(calendar, IDOK); });
  EditField(view, 102);
  view->SendMessage(WM_COMMAND, 901);
  Pump();
  EXPECT_EQ(EditText(view), "Named");
}

TEST_F(FieldMenuTest, ProraterFromTheMenuReachesTheRecalculationsDialog) {
  RespaWindow* view = OpenFile("F-5");
  DialogDriver driver;
  driver.OnDialog(21005, [&](HWND prorater) { PressButton(prorater, IDCANCEL); });
  choice = 902;
  MenuOf(view, 235);
  EXPECT_EQ(driver.Opened(), (std::vector<std::string>{"Prorater"}));
}

}  // namespace
