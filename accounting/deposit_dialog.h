/*
** TDeposit: the entry dialog of one deposit, over gDepositXfer; in delete mode its three
** edits only show the deposit being deleted.
*/
#ifndef ZARNE_ACCOUNTING_DEPOSIT_DIALOG_H
#define ZARNE_ACCOUNTING_DEPOSIT_DIALOG_H

#include "platform/framework/dialog.h"

class TEdit;
class TWWMoney;

constexpr int kDepositTemplate = 20902;

class TDeposit : public TDialog {
 public:
  TDeposit(TWindow* parent, TResId resId = kDepositTemplate, TModule* module = nullptr);
  ~TDeposit() override;
  void SetupWindow() override;

  int DeleteMode = 0;

 private:
  TEdit* Depositor;
  TEdit* Description;
  TWWMoney* Amount;
};

#endif
