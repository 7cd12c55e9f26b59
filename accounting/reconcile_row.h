/*
** The rows and columns of the reconcile dialog's grid: one listed entry waiting to clear the
** bank, its shown values in column order at the offsets the grid gives their types (pack 4),
** and the entry's key and numeric status in three hidden columns.
*/
#ifndef ZARNE_ACCOUNTING_RECONCILE_ROW_H
#define ZARNE_ACCOUNTING_RECONCILE_ROW_H

#include "accounting/ledger_entry.h"
#include "accounting/ledger_grid.h"

#include <cstddef>
#include <cstdint>

#pragma pack(push, 4)

struct TReconcileRow {
  char AlphaStatus[12];
  char FileNum[16];
  char AlphaDate[12];
  int32_t Number;
  double Amount;
  char PayeeDepositor[30];
  char Type[2];
  double Seq;
  int32_t Status;
};

#pragma pack(pop)

static_assert(offsetof(TReconcileRow, AlphaStatus) == 0);
static_assert(offsetof(TReconcileRow, FileNum) == 12);
static_assert(offsetof(TReconcileRow, AlphaDate) == 28);
static_assert(offsetof(TReconcileRow, Number) == 40);
static_assert(offsetof(TReconcileRow, Amount) == 44);
static_assert(offsetof(TReconcileRow, PayeeDepositor) == 52);
static_assert(offsetof(TReconcileRow, Type) == 82);
static_assert(offsetof(TReconcileRow, Seq) == 84);
static_assert(offsetof(TReconcileRow, Status) == 92);
static_assert(sizeof(TReconcileRow) == 96);

constexpr int kReconcileColumnCount = 9;
extern const TLedgerColumn kReconcileColumns[kReconcileColumnCount];

/* Entry to row, every byte set: the status name, the date as a short date (empty when
   blank), the payee cut to its first 29 characters. */
void RowFromEntry(const TLedgerEntry& entry, TReconcileRow& row);
/* The row's key (file number, type, sequence) into the entry, texts terminated. */
void KeyFromRow(const TReconcileRow& row, TLedgerEntry& entry);

/* Whether the reconcile dialog lists an entry of its kind and account in that status:
   Printed, Unposted and Posted, the ones still waiting to clear the bank. */
inline bool WaitsToClear(LONG status) {
  return status == kStatusPrinted || status == kStatusUnposted || status == kStatusPosted;
}

#endif
