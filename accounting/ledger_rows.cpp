/*
** Filling the ledger grids' row records from entries and reading entries back from rows.
*/
#include "accounting/ledger_rows.h"

#include "tableaccess/value_forms.h"

#include <cstdio>

namespace {

template <class Row>
void CommonFromEntry(const TLedgerEntry& entry, Row& row) {
  std::memset(&row, 0, sizeof row);
  CopyRowText(row.PayeeDepositor, entry.PayeeDepositor, sizeof entry.PayeeDepositor);
  SetRowAmount(row, entry.Amount);
  CopyRowText(row.FileNum, entry.FileNum, sizeof entry.FileNum);
  CopyRowText(row.Type, entry.Type, sizeof entry.Type);
  row.Number = entry.Number;
  row.Bank = entry.Bank;
  SetRowSeq(row, entry.Seq);
  row.Status = entry.Status;
  row.Date = entry.Date;
  CopyRowText(row.Description, entry.Description, sizeof entry.Description);
}

template <class Row>
void CommonToEntry(const Row& row, TLedgerEntry& entry) {
  CopyRowText(entry.PayeeDepositor, row.PayeeDepositor, sizeof row.PayeeDepositor);
  entry.Amount = RowAmount(row);
  CopyRowText(entry.FileNum, row.FileNum, sizeof row.FileNum);
  CopyRowText(entry.Type, row.Type, sizeof row.Type);
  entry.Number = row.Number;
  entry.Bank = row.Bank;
  entry.Seq = RowSeq(row);
  entry.Status = row.Status;
  entry.Date = row.Date;
  CopyRowText(entry.Description, row.Description, sizeof row.Description);
}

}  // namespace

void RowFromEntry(const TLedgerEntry& entry, TDisburseDepositRow& row) {
  CommonFromEntry(entry, row);
}

void RowFromEntry(const TLedgerEntry& entry, TDisburseCheckRow& row) {
  CommonFromEntry(entry, row);
  // A code outside the 16-bit range could alias a valid one; it lists with no text.
  if (entry.Status >= kStatusReady && entry.Status <= kStatusBalanced)
    StatusText(row.StatusText, static_cast<SHORT>(entry.Status), sizeof row.StatusText);
}

void RowFromEntry(const TLedgerEntry& entry, TPostDepositsRow& row) {
  CommonFromEntry(entry, row);
  FormatShortDate(row.DateText, entry.Date, sizeof row.DateText);
}

void EntryFromRow(const TDisburseDepositRow& row, TLedgerEntry& entry) {
  CommonToEntry(row, entry);
}
void EntryFromRow(const TDisburseCheckRow& row, TLedgerEntry& entry) { CommonToEntry(row, entry); }
void EntryFromRow(const TPostDepositsRow& row, TLedgerEntry& entry) { CommonToEntry(row, entry); }
