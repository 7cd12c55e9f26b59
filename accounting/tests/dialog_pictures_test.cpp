/*
** Screenshots of the report range dialog in its file balance form and of the 1099 export
** dialog, as a user sees them, in the build tree; and the file balance form's controls.
*/
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting/report_commands.h"
#include "accounting_tables.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/screenshot.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class DialogPicturesTest : public AccountingTablesTest {
 protected:
  void SetUp() override {
    AccountingTablesTest::SetUp();
    PutTwentyBanks();
    gDefaultAccount = 19;
    LoadBankLists();
    UsePdfReportPrinter();
    dir_ = std::filesystem::current_path() / "pictures";
    std::filesystem::create_directories(dir_);
  }
  std::filesystem::path dir_;
};

TEST_F(DialogPicturesTest, FileBalanceFormOfTheReportRange) {
  DialogDriver driver;
  bool listShownChecked = false, listHiddenUnchecked = false, fromHidden = false,
       labelHidden = false;
  driver.OnDialog(20950, [&](HWND dialog) {
    EXPECT_EQ(BST_CHECKED, SendMessage(FindControl(dialog, 234), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessage(FindControl(dialog, 200), BM_GETCHECK, 0, 0));
    EXPECT_EQ(19, SendMessage(FindControl(dialog, 136), CB_GETCURSEL, 0, 0));
    for (int id : {301, 302, 402, 501, 502})
      EXPECT_FALSE(IsWindowEnabled(FindControl(dialog, id))) << id;
    EXPECT_FALSE(IsWindowEnabled(FindControl(dialog, 500)));
    fromHidden = !IsWindowVisible(FindControl(dialog, 401));
    labelHidden = !IsWindowVisible(FindControl(dialog, 628));
    PressButton(dialog, 400);
    EXPECT_EQ(FindControl(dialog, 402), GetFocus());
    listShownChecked = IsWindowVisible(FindControl(dialog, 136));
    SaveWindowScreenshot(dialog, (dir_ / "report_range_file_balance.png").string());
    PressButton(dialog, 234);
    listHiddenUnchecked = !IsWindowVisible(FindControl(dialog, 136));
    PressButton(dialog, 234);
    EXPECT_TRUE(IsWindowVisible(FindControl(dialog, 136)));
    PressButton(dialog, IDCANCEL);
  });
  RunReportCommand(kFileBalanceReport, nullptr);
  EXPECT_TRUE(fromHidden);
  EXPECT_TRUE(labelHidden);
  EXPECT_TRUE(listShownChecked);
  EXPECT_TRUE(listHiddenUnchecked);
  EXPECT_GT(std::filesystem::file_size(dir_ / "report_range_file_balance.png"), 1000u);
}

TEST_F(DialogPicturesTest, ExportDialog) {
  DialogDriver driver;
  driver.OnDialog(20990, [&](HWND dialog) {
    EXPECT_EQ(BST_CHECKED, SendMessage(FindControl(dialog, 294), BM_GETCHECK, 0, 0));
    for (int id : {401, 402, 1001, 301, 302, 1002})
      EXPECT_FALSE(IsWindowEnabled(FindControl(dialog, id))) << id;
    PressButton(dialog, 300);
    EXPECT_TRUE(IsWindowEnabled(FindControl(dialog, 301)));
    EXPECT_FALSE(IsWindowEnabled(FindControl(dialog, 397)));
    EXPECT_FALSE(IsWindowEnabled(FindControl(dialog, 401)));
    PressButton(dialog, 294);
    SetControlText(dialog, 397, "2026");
    SaveWindowScreenshot(dialog, (dir_ / "export_1099.png").string());
    PressButton(dialog, IDCANCEL);
  });
  RunExport1099(nullptr);
  EXPECT_GT(std::filesystem::file_size(dir_ / "export_1099.png"), 1000u);
}

}  // namespace
