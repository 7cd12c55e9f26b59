/*
** Reading ledger entries into row items.
*/
#include "accounting/account_item.h"

#include "platform/kernel/string_calls.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstring>

bool ReadAccountItem(TPXRecord& record, TAccountItem& item) {
  item = TAccountItem();
  return ReadLedgerEntry(record, item);
}

double ApplyToBalance(double balance, const char* type, double amount) {
  return RoundToCents(type[0] == 'C' ? balance - amount : balance + amount);
}
