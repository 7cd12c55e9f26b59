// The bank-account choice: names at their key's position whatever records are missing,
// the default preselected, undefined accounts and no choice refused; entries naming no
// account of the twenty list without one, and the next Add asks.
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting/bank_select.h"
#include "disburse_fixture.h"
#include "platform/testing/screenshot.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <filesystem>

namespace {

using BankSelectTest = DisburseTest;

std::string ListText(HWND list, int index) {
  char text[128] = "";
  SendMessage(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST_F(BankSelectTest, NamesStayAtTheirKeysAndUndefinedOnesAreRefused) {
  PutBank(3, "");
  {
    TPXRecord bank(gTables[kBankTable], true);
    bank.SetShort(1, 7);
    ASSERT_TRUE(bank.Seek(0, ENGINE_KEY_EQ));
    ASSERT_TRUE(bank.Delete());
  }
  gDefaultAccount = 5;
  LoadBankLists();
  for (TComboBoxData* list : {&gAccountRangeXfer.Accounts, &gEditAccountRecordXfer.Accounts,
                              &gReportRangeXfer.Accounts, &gReconcileXfer.Accounts}) {
    ASSERT_EQ(list->GetStrings().size(), 20u);
    EXPECT_EQ(list->GetStrings()[3], "<undefined>");
    EXPECT_EQ(list->GetStrings()[7], "<undefined>");
    EXPECT_EQ(list->GetStrings()[8], "Account 8");
    EXPECT_EQ(list->GetSelIndex(), 5);
  }
  int refusals = 0;
  Driver().OnDialog(kBankSelectTemplate, [&](HWND dialog) {
    HWND list = FindControl(dialog, 136);
    ASSERT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 20);
    EXPECT_EQ(ListText(list, 3), "<undefined>");
    EXPECT_EQ(ListText(list, 7), "<undefined>");
    EXPECT_EQ(ListText(list, 8), "Account 8");
    EXPECT_EQ(ListText(list, 19), "Account 19");
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 5);
    for (int index : {3, 7, -1}) {
      SendMessage(list, LB_SETCURSEL, index, 0);
      PressButton(dialog, IDOK);
      if (IsWindowVisible(dialog)) ++refusals;
    }
    SendMessage(list, LB_SETCURSEL, 8, 0);
    const std::filesystem::path pictures = std::filesystem::current_path() / "pictures";
    std::filesystem::create_directories(pictures);
    SaveWindowScreenshot(dialog, (pictures / "bank_select.png").string());
    PressButton(dialog, IDOK);
  });
  TBankSelect select(nullptr);
  EXPECT_EQ(select.Execute(), IDOK);
  EXPECT_EQ(TBankSelect::ChosenAccount(), 8);
  EXPECT_EQ(refusals, 3);
  ASSERT_EQ(Shown().size(), 3u);
  for (const auto& box : Shown()) {
    EXPECT_EQ(box.text, "You must select an entry that has been defined.");
    EXPECT_EQ(box.caption, "");
    EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  }
}

TEST_F(BankSelectTest, EntriesNamingNoAccountListAndTheNextAddAsks) {
  Put("BANKS", 'C', 741000.1, 0, 10.0, 0, static_cast<LONG>(0x80000000u), 25);
  Put("BANKS", 'C', 741000.2, 0, 11.0, 0, static_cast<LONG>(0x80000000u), -1);
  Driver().OnDialog(20901, [](HWND entry) {
    SetControlText(entry, 102, "5.00");
    PressButton(entry, IDOK);
  });
  bool asked = false;
  Driver().OnDialog(kBankSelectTemplate, [&](HWND dialog) {
    asked = true;
    SendMessage(FindControl(dialog, 136), LB_SETCURSEL, 9, 0);
    PressButton(dialog, IDOK);
  });
  RunDisburse("BANKS", [&](HWND dialog, TDisburse& disburse) {
    EXPECT_EQ(RowCount(dialog, 300), 2);
    EXPECT_EQ(disburse.BankKey, -1);
    EXPECT_EQ(Text(dialog, 432), "");
    PressButton(dialog, 401);
    EXPECT_EQ(disburse.BankKey, 9);
    EXPECT_EQ(Text(dialog, 432), "Account 9");
    EXPECT_EQ(RowCount(dialog, 300), 3);
  });
  EXPECT_TRUE(asked);
  EXPECT_TRUE(Shown().empty());
}

}  // namespace
