/*
** Whole-cent totals of the per-file printouts.
*/
#include "accounting/disbursement_items.h"

#include "accounting/account_item.h"
#include "tableaccess/px_record.h"

#include <cmath>

TDisbDepositItem ReadDepositItem(TPXRecord& record) {
  TDisbDepositItem item;
  record.GetDouble(kAcctSeq, item.Key);
  record.GetLong(kAcctDate, item.Date);
  record.GetShort(kAcctBank, item.Bank);
  record.GetShort(kAcctStatus, item.Status);
  record.GetString(kAcctPayeeDepositor, item.Depositor, sizeof item.Depositor);
  record.GetDouble(kAcctAmount, item.Amount);
  return item;
}

TDisbCheckItem ReadCheckItem(TPXRecord& record, bool forRequest) {
  TDisbCheckItem item;
  record.GetDouble(kAcctSeq, item.Key);
  record.GetLong(kAcctDate, item.Date);
  record.GetLong(kAcctNumber, item.Number);
  if (!forRequest) record.GetShort(kAcctBank, item.Bank);
  record.GetShort(kAcctStatus, item.Status);
  record.GetString(kAcctPayeeDepositor, item.Payee, sizeof item.Payee);
  if (forRequest) record.GetString(kAcctDescription, item.Description, sizeof item.Description);
  record.GetDouble(kAcctAmount, item.Amount);
  if (item.Status == kStatusVoid) item.Amount = 0;
  return item;
}

long double ToWholeCents(long double total) { return std::roundl(total * 100.0L) / 100.0L; }
