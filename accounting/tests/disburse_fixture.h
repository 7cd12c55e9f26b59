/*
** The disbursing and posting dialog tests' fixture: twenty named banks loaded into the
** lists, the dialogs run modally through the dialog driver, and readers of their grids.
*/
#ifndef ZARNE_ACCOUNTING_TESTS_DISBURSE_FIXTURE_H
#define ZARNE_ACCOUNTING_TESTS_DISBURSE_FIXTURE_H

#include "accounting/disburse.h"
#include "accounting/ledger_rows.h"
#include "ledger_fixture.h"
#include "platform/testing/dialog_driver.h"

#include <functional>
#include <string>

class DisburseTest : public LedgerTest {
 protected:
  void SetUp() override;

  using Script = std::function<void(HWND dialog, TDisburse& disburse)>;
  /* Runs the disbursing dialog on `file` (no statement window); the script runs while it is
     open, then Close is pressed. Nested dialogs are answered through Driver(). */
  void RunDisburse(const char* file, const Script& script);
  DialogDriver& Driver() { return *driver_; }

  static int RowCount(HWND dialog, int grid);
  static TDisburseCheckRow CheckRow(HWND dialog, int row);
  static TDisburseDepositRow DepositRow(HWND dialog, int row);
  static void SelectRow(HWND dialog, int grid, int row);
  static std::string Text(HWND dialog, int id) { return ControlTextOf(dialog, id); }

  /* One entry with the usual fields, stored. */
  static void Put(const std::string& file, char type, double seq, int status, double amount,
                  long number = 0, LONG date = static_cast<LONG>(0x80000000u), int bank = 2,
                  const std::string& payee = "Payee");

 private:
  std::unique_ptr<DialogDriver> driver_;
};

#endif
