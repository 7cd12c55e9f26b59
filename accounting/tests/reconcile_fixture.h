/*
** The fixture of the reconciliation tests: the ledger fixture with twenty named accounts,
** BANK statement values written and read back, the reconcile command driven through its two
** dialogs by scripts, real clicks on the reconcile grid's cells, and its rows read back.
*/
#ifndef ZARNE_ACCOUNTING_TESTS_RECONCILE_FIXTURE_H
#define ZARNE_ACCOUNTING_TESTS_RECONCILE_FIXTURE_H

#include "accounting/reconcile_row.h"
#include "ledger_fixture.h"
#include "platform/testing/dialog_driver.h"

#include <functional>
#include <string>
#include <vector>

class ReconcileTest : public LedgerTest {
 protected:
  void SetUp() override;

  static constexpr int kBank = 3;

  /* The statement values of a BANK record. */
  struct Statement {
    LONG LastCloseDate;
    LONG LastBalanceDate;
    double LastBegin;
    double LastEnd;
  };
  static void PutStatement(SHORT key, const Statement& statement);
  static Statement StoredStatement(SHORT key);

  /* One entry of account kBank (or another), keyed by file, type and seq; an adjustment's
     text goes into its description. */
  static void Put(const std::string& file, char type, double seq, int status, double amount,
                  LONG date, long number = 0, const std::string& payee = "", int bank = kBank);
  static int StoredStatus(const std::string& file, char type, double seq);

  using Script = std::function<void(HWND)>;
  /* Runs the command: `info` on the statement dialog (which must end it), then, when that
     ended with OK, `reconcile` on the reconcile dialog, which is closed by Done after it.
     Answers whether the reconcile dialog opened. */
  bool RunReconcile(const Script& info, const Script& reconcile);

  /* The statement dialog's values typed in and OK pressed. */
  static void TypeStatement(HWND dialog, const std::string& end, const std::string& closeDate = "");

  static HWND GridOf(HWND dialog) { return FindControl(dialog, 102); }
  static int RowCount(HWND dialog);
  static std::vector<TReconcileRow> Rows(HWND dialog);
  /* A real left click in the middle of the row's file-number cell. */
  static void ClickRow(HWND dialog, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  static bool Selected(HWND dialog, int row);
  static int SelectedCount(HWND dialog);
  /* The row whose file number and type are these; -1 when not listed. */
  static int RowOf(HWND dialog, const std::string& file);

  /* Range: the kind's radio button (101 checks, 102 deposits, 103 adjustments), then the
     date range from blank to `to` ("mm/dd/yy"), OK. */
  static void ChooseRange(HWND dialog, int kindButton, const std::string& to);

  /* The texts of every box shown so far. */
  std::vector<std::string> BoxTexts();

  static std::string PicturePath(const char* name);
  static std::string DialogDate(LONG date);
};

#endif
