/*
** TAccountItem: one ACCOUNT ledger entry as the check register and the ledger hold it, and
** the ACCOUNT field numbers the printouts read.
*/
#ifndef ZARNE_ACCOUNTING_ACCOUNT_ITEM_H
#define ZARNE_ACCOUNTING_ACCOUNT_ITEM_H

#include "platform/kernel/wintypes.h"

class TPXRecord;

enum TAccountField {
  kAcctFileNum = 1, kAcctType, kAcctSeq, kAcctNumber, kAcctBank, kAcctStatus, kAcctDate,
  kAcctPayee, kAcctDescription, kAcctAmount
};

/* Ledger statuses the printouts test. */
constexpr SHORT kStatusReady = 0;
constexpr SHORT kStatusPrinted = 2;
constexpr SHORT kStatusVoid = 4;
constexpr SHORT kStatusPosted = 5;

/* Whether an entry of this status counts in the book balance: Printed, Posted and later. */
inline bool CountsInBalance(SHORT status) { return status == kStatusPrinted || status >= kStatusPosted; }

struct TAccountItem {
  char FileNumber[16] = "";
  char Type[2] = "";
  double Seq = 0;
  LONG Number = 0;
  SHORT Bank = 0;
  SHORT Status = 0;
  LONG Date = 0;
  char Payee[61] = "";
  char Description[61] = "";
  double Amount = 0;

  /* The ACCOUNT key: file number, type letter, sequence key. */
  bool operator==(const TAccountItem& other) const;
  bool operator<(const TAccountItem& other) const;
};

/* Reads the ten fields of the record's buffer into the item; false when one cannot be read. */
bool ReadAccountItem(TPXRecord& record, TAccountItem& item);

/* Applies an entry to a balance: a check subtracts, anything else adds; then to cents. */
double ApplyToBalance(double balance, const char* type, double amount);

#endif
