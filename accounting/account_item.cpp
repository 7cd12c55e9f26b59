/*
** Reading ledger entries into row items.
*/
#include "accounting/account_item.h"

#include "platform/kernel/string_calls.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstring>

bool TAccountItem::operator==(const TAccountItem& other) const {
  return lstrcmpA(FileNumber, other.FileNumber) == 0 && Type[0] == other.Type[0] && Seq == other.Seq;
}

bool TAccountItem::operator<(const TAccountItem& other) const {
  int files = lstrcmpA(FileNumber, other.FileNumber);
  if (files != 0) return files < 0;
  if (Type[0] != other.Type[0]) return Type[0] < other.Type[0];
  return Seq < other.Seq;
}

bool ReadAccountItem(TPXRecord& record, TAccountItem& item) {
  item = TAccountItem();
  return record.GetString(kAcctFileNum, item.FileNumber, sizeof item.FileNumber) &&
         record.GetString(kAcctType, item.Type, sizeof item.Type) &&
         record.GetDouble(kAcctSeq, item.Seq) && record.GetLong(kAcctNumber, item.Number) &&
         record.GetShort(kAcctBank, item.Bank) && record.GetShort(kAcctStatus, item.Status) &&
         record.GetLong(kAcctDate, item.Date) &&
         record.GetString(kAcctPayee, item.Payee, sizeof item.Payee) &&
         record.GetString(kAcctDescription, item.Description, sizeof item.Description) &&
         record.GetDouble(kAcctAmount, item.Amount);
}

double ApplyToBalance(double balance, const char* type, double amount) {
  return RoundToCents(type[0] == 'C' ? balance - amount : balance + amount);
}
