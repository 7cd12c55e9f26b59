/*
** The lines of the per-file printouts: one deposit or one check of a closing file's ledger,
** read from its ACCOUNT record.
*/
#ifndef ZARNE_ACCOUNTING_DISBURSEMENT_ITEMS_H
#define ZARNE_ACCOUNTING_DISBURSEMENT_ITEMS_H

#include "platform/kernel/wintypes.h"
#include "tableaccess/value_forms.h"

#include <vector>

class TPXRecord;

struct TDisbDepositItem {
  double Key = 0;
  LONG Date = kBlankDate;
  SHORT Bank = 0;
  SHORT Status = 3;
  char Depositor[61] = "";
  double Amount = 0;

  bool operator==(const TDisbDepositItem& other) const { return Key == other.Key; }
  bool operator<(const TDisbDepositItem& other) const { return Key < other.Key; }
};

struct TDisbCheckItem {
  double Key = 0;
  LONG Number = 0;
  LONG Date = kBlankDate;
  SHORT Bank = 0;
  SHORT Status = 0;
  char Payee[61] = "";
  char Description[61] = "";
  double Amount = 0;

  bool operator==(const TDisbCheckItem& other) const { return Key == other.Key; }
  bool operator<(const TDisbCheckItem& other) const { return Key < other.Key; }
};

/* Walks the file's entries of one type in key order (creation order), from a seek on file
   number and type, calling `take` with the record positioned and read on each; the walk
   ends at the first entry of another file or type, or at the first read that fails. */
template <class Take>
void WalkFileEntries(TPXRecord& record, const char* fileNumber, const char* type, Take take);

/* The line of the record's buffer; a Void check's amount counts 0. The check request reads
   the description too; the disbursement report reads the bank instead. */
TDisbDepositItem ReadDepositItem(TPXRecord& record);
TDisbCheckItem ReadCheckItem(TPXRecord& record, bool forRequest);

/* Brings a running total to whole cents. */
long double ToWholeCents(long double total);

#include "accounting/disbursement_items_walk.h"

#endif
