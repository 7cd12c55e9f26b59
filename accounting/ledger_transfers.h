/*
** The program-wide transfer records of the check, deposit and bank-account dialogs. Each
** lists its dialog's control values in the order the dialog creates its controls, with no
** gaps, because the transfer walks the record control by control. They are built before
** start-up runs and destroyed after it ends, so their list data outlives every dialog.
*/
#ifndef ZARNE_ACCOUNTING_LEDGER_TRANSFERS_H
#define ZARNE_ACCOUNTING_LEDGER_TRANSFERS_H

#include "platform/framework/list_data.h"
#include "platform/kernel/wintypes.h"

#include <cstddef>

#pragma pack(push, 1)

/* TCheck: description (104), payee (103), status list (101), date (105), number (106),
   amount (102). */
struct TCheckXfer {
  char Description[61];
  char Payee[61];
  TComboBoxData Status;
  LONG Date;  // blank kBlankDate
  LONG Number;
  double Amount;
};

/* TDeposit: depositor (102), description (103), amount (104). */
struct TDepositXfer {
  char Depositor[61];
  char Description[61];
  double Amount;
};

/* TBankSelect: the account list (136); a line's position is its BANK key number. */
struct TBankSelectXfer {
  TListBoxData Accounts;
};

#pragma pack(pop)

static_assert(offsetof(TCheckXfer, Payee) == 61);
static_assert(offsetof(TCheckXfer, Status) == 122);
static_assert(offsetof(TCheckXfer, Date) == 122 + sizeof(TComboBoxData));
static_assert(offsetof(TCheckXfer, Number) == 126 + sizeof(TComboBoxData));
static_assert(offsetof(TCheckXfer, Amount) == 130 + sizeof(TComboBoxData));
static_assert(sizeof(TCheckXfer) == 138 + sizeof(TComboBoxData));
static_assert(offsetof(TDepositXfer, Description) == 61);
static_assert(offsetof(TDepositXfer, Amount) == 122);
static_assert(sizeof(TDepositXfer) == 130);

// Owner: accounting.
extern TCheckXfer gCheckXfer;
extern TDepositXfer gDepositXfer;
extern TBankSelectXfer gBankSelectXfer;

#endif
