/*
** The program-wide check, deposit and bank-account transfer records.
*/
#include "accounting/ledger_transfers.h"

TCheckXfer gCheckXfer;
TDepositXfer gDepositXfer;
TBankSelectXfer gBankSelectXfer;
