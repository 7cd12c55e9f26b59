/*
** The Accounting menu's ledger commands in the running application: Disburse on the front
** statement window's file or on none, Post Deposits on the front file, and Default Account
** writing the choice to CHECKCTL and the program.
*/
#include "zarne_app_fixture.h"

#include "accounting/bank_lists.h"
#include "filenumber/file_windows.h"
#include "grid/tessel_codes.h"
#include "platform/framework/frame.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "shell/shell_ids.h"
#include "shell/zarne_mdi_client.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

namespace {

class LedgerCommandsTest : public ZarneAppTest {
 protected:
  void SetUp() override {
    ZarneAppTest::SetUp();
    StartApp();
    ASSERT_TRUE(app_->StartedUp());
    Boxes().Clear();
    // Start-up made the twenty accounts unnamed; the office names two of them.
    for (SHORT key : {1, 6}) {
      TPXRecord bank(gTables[kBankTable], true);
      bank.SetShort(1, key);
      ASSERT_TRUE(bank.Seek(0, ENGINE_KEY_EQ));
      ASSERT_TRUE(bank.Read(0));
      bank.SetString(2, ("Trust " + std::to_string(key)).c_str());
      ASSERT_TRUE(bank.Modify());
    }
    LoadBankLists();
  }
  void Command(UINT id) {
    SendMessage(Frame()->HWindow, WM_COMMAND, id, 0);
    PumpUntilIdle();
  }
  static void PutDeposit(const char* file, double seq) {
    TPXRecord record(gTables[kAccountTable], true);
    record.Clear();
    record.SetString(1, file);
    record.SetString(2, "D");
    record.SetDouble(3, seq);
    record.SetShort(5, 1);
    record.SetShort(6, 3);
    record.SetString(8, "Buyer");
    record.SetDouble(10, 300.0);
    ASSERT_TRUE(record.Insert());
  }
  static int Rows(HWND dialog, int grid) {
    return static_cast<int>(SendMessage(FindControl(dialog, grid), TSM_GETROWCOUNT, 0, 0));
  }
};

TEST_F(LedgerCommandsTest, DisburseOpensOnTheFrontFileOrOnNone) {
  PutDeposit("LC-1", 742000.1);
  DialogDriver driver;
  bool opened = false;
  driver.OnDialog(20900, [&](HWND dialog) {
    opened = true;
    EXPECT_FALSE(IsWindowEnabled(FindControl(dialog, 501)));
    EXPECT_EQ(ControlTextOf(dialog, 104), "");
    EXPECT_EQ(Rows(dialog, 200), 0);
    EXPECT_EQ(Rows(dialog, 300), 0);
    PressButton(dialog, IDOK);
  });
  Command(CM_DISBURSE);
  EXPECT_TRUE(opened);

  OpenFileWindow(Client(), "LC-1");
  PumpUntilIdle();
  opened = false;
  driver.OnDialog(20900, [&](HWND dialog) {
    opened = true;
    EXPECT_TRUE(IsWindowEnabled(FindControl(dialog, 501)));
    EXPECT_EQ(ControlTextOf(dialog, 104), "LC-1");
    EXPECT_EQ(Rows(dialog, 200), 1);
    EXPECT_EQ(ControlTextOf(dialog, 103), "300.00");
    EXPECT_EQ(ControlTextOf(dialog, 432), "Trust 1");
    PressButton(dialog, IDOK);
  });
  Command(CM_DISBURSE);
  EXPECT_TRUE(opened);

  opened = false;
  driver.OnDialog(20910, [&](HWND dialog) {
    opened = true;
    EXPECT_EQ(ControlTextOf(dialog, 101), "LC-1");
    EXPECT_EQ(Rows(dialog, 200), 1);
    PressButton(dialog, IDOK);
  });
  Command(CM_POSTDEPOSITS);
  EXPECT_TRUE(opened);
  EXPECT_TRUE(Boxes().Shown().empty()) << Boxes().Shown()[0].text;
}

TEST_F(LedgerCommandsTest, DefaultAccountIsWrittenToCheckCtlAndKept) {
  DialogDriver driver;
  driver.OnDialog(20903, [](HWND dialog) {
    SendMessage(FindControl(dialog, 136), LB_SETCURSEL, 6, 0);
    PressButton(dialog, IDOK);
  });
  Command(CM_DEFAULTACCOUNT);
  EXPECT_EQ(gDefaultAccount, 6);
  char path[MAX_PATH];
  BuildPath(path, gCheckCtlDir, "CHECKCTL", nullptr, sizeof path);
  TPXTable table(path, 0);
  TPXRecord record(&table, true);
  ASSERT_TRUE(record.First());
  ASSERT_TRUE(record.Read(0));
  SHORT account = -1;
  ASSERT_TRUE(record.GetShort(2, account));
  EXPECT_EQ(account, 6);
  // Cancel changes nothing.
  driver.OnDialog(20903, [](HWND dialog) {
    SendMessage(FindControl(dialog, 136), LB_SETCURSEL, 2, 0);
    PressButton(dialog, IDCANCEL);
  });
  Command(CM_DEFAULTACCOUNT);
  EXPECT_EQ(gDefaultAccount, 6);
  EXPECT_TRUE(Boxes().Shown().empty());
}

}  // namespace
