/*
** The rows and columns of the two ledger editors' grids: the account editor's (one entry of
** any kind) and the adjustments list's. Like the other ledger rows they hold the values in
** column order at the offsets the grid gives their types (pack 4): their doubles sit at
** offsets 4 mod 8 and are moved with memcpy by the helpers of ledger_rows.h.
*/
#ifndef ZARNE_ACCOUNTING_LEDGER_EDITOR_ROWS_H
#define ZARNE_ACCOUNTING_LEDGER_EDITOR_ROWS_H

#include "accounting/ledger_grid.h"
#include "accounting/ledger_rows.h"

#include <cstddef>
#include <cstdint>

#pragma pack(push, 4)

/* A row of the account editor's grid. */
struct TAccountEditorRow {
  char FileNum[16];
  int32_t Number;
  char DateText[12];
  char StatusText[12];
  double Amount;
  char Type[2];
  double Seq;
};

/* A row of the adjustments list's grid. */
struct TAdjustmentRow {
  char DateText[12];
  int32_t Date;
  char FileNum[16];
  char Type[2];
  double Seq;
  char Description[61];
  double Amount;
};

#pragma pack(pop)

static_assert(sizeof(TAccountEditorRow) == 64);
static_assert(offsetof(TAccountEditorRow, FileNum) == 0);
static_assert(offsetof(TAccountEditorRow, Number) == 16);
static_assert(offsetof(TAccountEditorRow, DateText) == 20);
static_assert(offsetof(TAccountEditorRow, StatusText) == 32);
static_assert(offsetof(TAccountEditorRow, Amount) == 44);
static_assert(offsetof(TAccountEditorRow, Type) == 52);
static_assert(offsetof(TAccountEditorRow, Seq) == 56);

static_assert(sizeof(TAdjustmentRow) == 116);
static_assert(offsetof(TAdjustmentRow, DateText) == 0);
static_assert(offsetof(TAdjustmentRow, Date) == 12);
static_assert(offsetof(TAdjustmentRow, FileNum) == 16);
static_assert(offsetof(TAdjustmentRow, Type) == 32);
static_assert(offsetof(TAdjustmentRow, Seq) == 36);
static_assert(offsetof(TAdjustmentRow, Description) == 44);
static_assert(offsetof(TAdjustmentRow, Amount) == 108);

constexpr int kAccountEditorColumnCount = 7;
constexpr int kAdjustmentColumnCount = 7;
extern const TLedgerColumn kAccountEditorColumns[kAccountEditorColumnCount];
extern const TLedgerColumn kAdjustmentColumns[kAdjustmentColumnCount];

/* Entry to row, every byte set: the date as FormatShortDate (empty when blank), the status
   as StatusText (empty outside 0..7). */
void RowFromEntry(const TLedgerEntry& entry, TAccountEditorRow& row);
void RowFromEntry(const TLedgerEntry& entry, TAdjustmentRow& row);
/* The row's key (file number, type, sequence) into the entry, texts terminated. */
void KeyFromRow(const TAccountEditorRow& row, TLedgerEntry& entry);
void KeyFromRow(const TAdjustmentRow& row, TLedgerEntry& entry);

#endif
