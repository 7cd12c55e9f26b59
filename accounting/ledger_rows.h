/*
** The row records of the ledger grids: one record per grid, holding the values in column
** order at the offsets the grid gives their types, so the grid copies a record whole in
** both directions. Doubles sit at offsets 4 mod 8 (pack 4): they are moved with memcpy by
** the helpers below and never bound to a reference.
*/
#ifndef ZARNE_ACCOUNTING_LEDGER_ROWS_H
#define ZARNE_ACCOUNTING_LEDGER_ROWS_H

#include "accounting/ledger_entry.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#pragma pack(push, 4)

/* A row of the disbursing dialog's deposit grid. */
struct TDisburseDepositRow {
  char PayeeDepositor[61];
  double Amount;
  char FileNum[16];
  char Type[2];
  int32_t Number;
  int32_t Bank;
  double Seq;
  int32_t Status;
  int32_t Date;
  char Description[61];
};

/* A row of the disbursing dialog's check grid. */
struct TDisburseCheckRow {
  char StatusText[12];
  char PayeeDepositor[61];
  double Amount;
  char FileNum[16];
  char Type[2];
  int32_t Number;
  int32_t Bank;
  double Seq;
  int32_t Status;
  int32_t Date;
  char Description[61];
};

/* A row of the posting dialog's grid. */
struct TPostDepositsRow {
  char PayeeDepositor[61];
  double Amount;
  char DateText[12];
  char FileNum[16];
  char Type[2];
  int32_t Number;
  int32_t Bank;
  double Seq;
  int32_t Status;
  int32_t Date;
  char Description[61];
};

#pragma pack(pop)

static_assert(sizeof(TDisburseDepositRow) == 180);
static_assert(offsetof(TDisburseDepositRow, PayeeDepositor) == 0);
static_assert(offsetof(TDisburseDepositRow, Amount) == 64);
static_assert(offsetof(TDisburseDepositRow, FileNum) == 72);
static_assert(offsetof(TDisburseDepositRow, Type) == 88);
static_assert(offsetof(TDisburseDepositRow, Number) == 92);
static_assert(offsetof(TDisburseDepositRow, Bank) == 96);
static_assert(offsetof(TDisburseDepositRow, Seq) == 100);
static_assert(offsetof(TDisburseDepositRow, Status) == 108);
static_assert(offsetof(TDisburseDepositRow, Date) == 112);
static_assert(offsetof(TDisburseDepositRow, Description) == 116);

static_assert(sizeof(TDisburseCheckRow) == 192);
static_assert(offsetof(TDisburseCheckRow, StatusText) == 0);
static_assert(offsetof(TDisburseCheckRow, PayeeDepositor) == 12);
static_assert(offsetof(TDisburseCheckRow, Amount) == 76);
static_assert(offsetof(TDisburseCheckRow, FileNum) == 84);
static_assert(offsetof(TDisburseCheckRow, Type) == 100);
static_assert(offsetof(TDisburseCheckRow, Number) == 104);
static_assert(offsetof(TDisburseCheckRow, Bank) == 108);
static_assert(offsetof(TDisburseCheckRow, Seq) == 112);
static_assert(offsetof(TDisburseCheckRow, Status) == 120);
static_assert(offsetof(TDisburseCheckRow, Date) == 124);
static_assert(offsetof(TDisburseCheckRow, Description) == 128);

static_assert(sizeof(TPostDepositsRow) == 192);
static_assert(offsetof(TPostDepositsRow, PayeeDepositor) == 0);
static_assert(offsetof(TPostDepositsRow, Amount) == 64);
static_assert(offsetof(TPostDepositsRow, DateText) == 72);
static_assert(offsetof(TPostDepositsRow, FileNum) == 84);
static_assert(offsetof(TPostDepositsRow, Type) == 100);
static_assert(offsetof(TPostDepositsRow, Number) == 104);
static_assert(offsetof(TPostDepositsRow, Bank) == 108);
static_assert(offsetof(TPostDepositsRow, Seq) == 112);
static_assert(offsetof(TPostDepositsRow, Status) == 120);
static_assert(offsetof(TPostDepositsRow, Date) == 124);
static_assert(offsetof(TPostDepositsRow, Description) == 128);

/* Copies a text into a row's (or entry's) field, cut to it and zero-filled; the source may
   lack its terminator (a text field of a row may come back from the grid without one). */
template <size_t N>
void CopyRowText(char (&destination)[N], const char* source, size_t sourceSize) {
  size_t length = strnlen(source, sourceSize);
  if (length >= N) length = N - 1;
  std::memset(destination, 0, N);
  std::memcpy(destination, source, length);
}

/* The row's doubles, copied byte-wise. */
template <class Row>
double RowAmount(const Row& row) {
  double value;
  std::memcpy(&value, reinterpret_cast<const char*>(&row) + offsetof(Row, Amount), sizeof value);
  return value;
}
template <class Row>
void SetRowAmount(Row& row, double value) {
  std::memcpy(reinterpret_cast<char*>(&row) + offsetof(Row, Amount), &value, sizeof value);
}
template <class Row>
double RowSeq(const Row& row) {
  double value;
  std::memcpy(&value, reinterpret_cast<const char*>(&row) + offsetof(Row, Seq), sizeof value);
  return value;
}
template <class Row>
void SetRowSeq(Row& row, double value) {
  std::memcpy(reinterpret_cast<char*>(&row) + offsetof(Row, Seq), &value, sizeof value);
}

/* Entry to row: every byte of the row is set (texts cut to their fields, zero-filled). The
   check row's status text is StatusText(Status), empty outside 0..7; the posting row's date
   text is FormatShortDate(Date), empty when blank. */
void RowFromEntry(const TLedgerEntry& entry, TDisburseDepositRow& row);
void RowFromEntry(const TLedgerEntry& entry, TDisburseCheckRow& row);
void RowFromEntry(const TLedgerEntry& entry, TPostDepositsRow& row);
/* Row to entry (the row's texts are terminated even when the grid handed back a full one). */
void EntryFromRow(const TDisburseDepositRow& row, TLedgerEntry& entry);
void EntryFromRow(const TDisburseCheckRow& row, TLedgerEntry& entry);
void EntryFromRow(const TPostDepositsRow& row, TLedgerEntry& entry);

#endif
