/*
** TBankSelect: the modal list of the twenty bank accounts, a line's position being its BANK
** key number, with the default account preselected. An undefined account cannot be chosen.
*/
#ifndef ZARNE_ACCOUNTING_BANK_SELECT_H
#define ZARNE_ACCOUNTING_BANK_SELECT_H

#include "platform/framework/dialog.h"

class TListBox;

constexpr int kBankSelectTemplate = 20903;

class TBankSelect : public TDialog {
 public:
  /* Fills gBankSelectXfer afresh from the BANK table. */
  TBankSelect(TWindow* parent, TResId resId = kBankSelectTemplate, TModule* module = nullptr);
  ~TBankSelect() override;
  void SetupWindow() override;
  void CmOk() override;

  /* After OK: the chosen key number, or -1. */
  static int ChosenAccount();

 private:
  TListBox* Accounts;
  DECLARE_RESPONSE_TABLE(TBankSelect);
};

#endif
