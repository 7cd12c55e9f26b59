/*
** The disbursing tests' fixture.
*/
#include "disburse_fixture.h"

#include "accounting/bank_lists.h"
#include "grid/tessel_codes.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"

void DisburseTest::SetUp() {
  LedgerTest::SetUp();
  PutTwentyBanks();
  gDefaultAccount = 0;
  LoadBankLists();
  driver_ = std::make_unique<DialogDriver>();
}

void DisburseTest::RunDisburse(const char* file, const Script& script) {
  TDisburse dialog(nullptr);
  CopyLedgerText(dialog.FileNumber, sizeof dialog.FileNumber, file);
  driver_->OnDialog(kDisburseTemplate, [&](HWND hwnd) {
    script(hwnd, dialog);
    PressButton(hwnd, IDOK);
  });
  EXPECT_EQ(dialog.Execute(), IDOK);
}

int DisburseTest::RowCount(HWND dialog, int grid) {
  return static_cast<int>(SendMessage(FindControl(dialog, grid), TSM_GETROWCOUNT, 0, 0));
}

TDisburseCheckRow DisburseTest::CheckRow(HWND dialog, int row) {
  TDisburseCheckRow values{};
  HWND grid = FindControl(dialog, 300);
  SendMessage(grid, TSM_SETCURSOR, 0, row);
  EXPECT_EQ(SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&values)), 0);
  return values;
}

TDisburseDepositRow DisburseTest::DepositRow(HWND dialog, int row) {
  TDisburseDepositRow values{};
  HWND grid = FindControl(dialog, 200);
  SendMessage(grid, TSM_SETCURSOR, 0, row);
  EXPECT_EQ(SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&values)), 0);
  return values;
}

void DisburseTest::SelectRow(HWND dialog, int grid, int row) {
  SendMessage(FindControl(dialog, grid), TSM_SELECTROW, 1, row);
}

void DisburseTest::Put(const std::string& file, char type, double seq, int status, double amount,
                       long number, LONG date, int bank, const std::string& payee) {
  PutEntry({file, type, seq, number, bank, status, date, payee, amount, "Description"});
}
