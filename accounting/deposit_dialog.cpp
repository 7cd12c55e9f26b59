/*
** The deposit entry dialog.
*/
#include "accounting/deposit_dialog.h"

#include "accounting/ledger_transfers.h"
#include "platform/framework/edit.h"
#include "tableaccess/typed_edits.h"

TDeposit::TDeposit(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  Depositor = new TEdit(this, 102, sizeof gDepositXfer.Depositor);
  Description = new TEdit(this, 103, sizeof gDepositXfer.Description);
  Amount = new TWWMoney(this, 104, 14);
  SetTransferBuffer(&gDepositXfer);
}

TDeposit::~TDeposit() = default;

void TDeposit::SetupWindow() {
  TDialog::SetupWindow();
  if (DeleteMode) {
    Depositor->EnableWindow(false);
    Description->EnableWindow(false);
    Amount->EnableWindow(false);
  }
}
