/*
** TAccountItem: one ACCOUNT ledger entry as the check register and the ledger hold it (the
** ledger's own entry, TLedgerEntry), read whole from a record, and the balance it moves.
*/
#ifndef ZARNE_ACCOUNTING_ACCOUNT_ITEM_H
#define ZARNE_ACCOUNTING_ACCOUNT_ITEM_H

#include "accounting/ledger_entry.h"

using TAccountItem = TLedgerEntry;

/* Whether an entry of this status counts in the book balance: Printed, Posted and later. */
inline bool CountsInBalance(LONG status) {
  return status == kStatusPrinted || status >= kStatusPosted;
}

/* Reads the ten fields of the record's buffer into an emptied item; false when one cannot be
   read. */
bool ReadAccountItem(TPXRecord& record, TAccountItem& item);

/* Applies an entry to a balance: a check subtracts, anything else adds; then to cents. */
double ApplyToBalance(double balance, const char* type, double amount);

#endif
