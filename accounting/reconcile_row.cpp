/*
** The reconcile grid's column table and its rows filled from entries.
*/
#include "accounting/reconcile_row.h"

#include "accounting/ledger_rows.h"
#include "grid/tessel_codes.h"
#include "tableaccess/value_forms.h"

#include <cstring>

namespace {
constexpr WORD kShown = TSCS_HEADCENTER | TSCS_PROTECT | TSCS_FIXED;
constexpr char kMoneyFormat[] = "#,##0.00";
}  // namespace

const TLedgerColumn kReconcileColumns[kReconcileColumnCount] = {
    {TST_ZSTRING, kShown, 12, 38, "", "Status", "AlphaStatus"},
    // Wide enough for the longest file number, fifteen digits, with the cell's margins.
    {TST_ZSTRING, kShown, 16, 50, "", "File Number", "FileNum"},
    {TST_ZSTRING, kShown, 12, 31, "", "Date", "AlphaDate"},
    {TST_INT4, kShown, 4, 40, "", "Check Number", "Number"},
    {TST_REAL8, kShown | TSCS_RIGHT, 8, 42, kMoneyFormat, "Amount", "Amount"},
    {TST_ZSTRING, kShown, 30, 90, "", "Depositor", "PayeeDepositor"},
    {TST_ZSTRING, TSCS_HIDDEN, 2, 40, "", "", "Type"},
    {TST_REAL8, TSCS_HIDDEN, 8, 40, "", "", "Seq"},
    {TST_INT4, TSCS_HIDDEN, 4, 40, "", "", "Status"},
};

void RowFromEntry(const TLedgerEntry& entry, TReconcileRow& row) {
  std::memset(&row, 0, sizeof row);
  char text[64] = "";
  StatusText(text, static_cast<SHORT>(entry.Status), sizeof text);
  CopyRowText(row.AlphaStatus, text, sizeof text);
  CopyRowText(row.FileNum, entry.FileNum, sizeof entry.FileNum);
  text[0] = '\0';
  FormatShortDate(text, entry.Date, sizeof text);
  CopyRowText(row.AlphaDate, text, sizeof text);
  row.Number = entry.Number;
  row.Amount = entry.Amount;
  CopyRowText(row.PayeeDepositor, entry.PayeeDepositor, sizeof entry.PayeeDepositor);
  CopyRowText(row.Type, entry.Type, sizeof entry.Type);
  row.Seq = entry.Seq;
  row.Status = entry.Status;
}

void KeyFromRow(const TReconcileRow& row, TLedgerEntry& entry) {
  CopyRowText(entry.FileNum, row.FileNum, sizeof row.FileNum);
  CopyRowText(entry.Type, row.Type, sizeof row.Type);
  entry.Seq = row.Seq;
}
