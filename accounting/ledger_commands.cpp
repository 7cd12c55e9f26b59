/*
** The ledger dialogs' commands.
*/
#include "accounting/ledger_commands.h"

#include "accounting/bank_select.h"
#include "accounting/disburse.h"
#include "accounting/ledger_entry.h"
#include "accounting/post_deposits.h"
#include "statement/active_window.h"
#include "statement/respa_window.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

namespace {
constexpr int kCheckCtlAccountField = 2;
}  // namespace

void RunDisburse(TWindow* parent, TMDIClient* client) {
  TDisburse dialog(parent);
  dialog.StatementWindow = GetActiveRespaWindow(client);
  dialog.Execute();
}

void RunPostDeposits(TWindow* parent, TMDIClient* client) {
  TPostDeposits dialog(parent);
  if (RespaWindow* window = GetActiveRespaWindow(client))
    CopyLedgerText(dialog.FileNumber, sizeof dialog.FileNumber, window->FileNumber());
  dialog.Execute();
}

void RunDefaultAccount(TWindow* parent) {
  TBankSelect dialog(parent);
  if (dialog.Execute() != IDOK || TBankSelect::ChosenAccount() < 0) return;
  gDefaultAccount = static_cast<SHORT>(TBankSelect::ChosenAccount());
  char path[MAX_PATH];
  BuildPath(path, gCheckCtlDir, "CHECKCTL", nullptr, sizeof path);
  TPXTable table(path, 0);
  if (!table.IsOpen()) return;  // reported by the table layer
  TPXRecord record(&table, true);
  // Every failure below has been shown by the table layer.
  if (!record.First() || !record.Read(0)) return;
  record.SetShort(kCheckCtlAccountField, gDefaultAccount);
  // A refused write has had its box; the choice still holds until the program ends.
  (void)record.Modify();
}
