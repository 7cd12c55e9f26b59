/*
** The ledger editors' column tables and their rows filled from entries.
*/
#include "accounting/ledger_editor_rows.h"

#include "grid/tessel_codes.h"
#include "tableaccess/value_forms.h"

#include <cstring>

namespace {
constexpr WORD kShown = TSCS_FIXED | TSCS_PROTECT | TSCS_HEADCENTER;
constexpr WORD kMoney = kShown | TSCS_RIGHT;
constexpr char kMoneyFormat[] = "#,##0.00";
}  // namespace

const TLedgerColumn kAccountEditorColumns[kAccountEditorColumnCount] = {
    {TST_ZSTRING, kShown, 16, 52, "", "File Number", "FileNum"},
    {TST_INT4, kShown, 0, 50, "", "Check Number", "Number"},
    {TST_ZSTRING, kShown, 12, 34, "", "Date", "AlphaDate"},
    {TST_ZSTRING, kShown, 12, 40, "", "Status", "AlphaStatus"},
    {TST_REAL8, kMoney, 8, 42, kMoneyFormat, "Amount", "Amount"},
    {TST_ZSTRING, TSCS_HIDDEN, 2, 40, "", "", "Type"},
    {TST_REAL8, TSCS_HIDDEN, 8, 40, "", "", "Seq"},
};

const TLedgerColumn kAdjustmentColumns[kAdjustmentColumnCount] = {
    {TST_ZSTRING, kShown, 12, 34, "", "Date", "AlphaDate"},
    {TST_INT4, TSCS_HIDDEN, 0, 40, "", "", "Date"},
    {TST_ZSTRING, TSCS_HIDDEN, 16, 40, "", "", "FileNum"},
    {TST_ZSTRING, TSCS_HIDDEN, 2, 40, "", "", "Type"},
    {TST_REAL8, TSCS_HIDDEN, 8, 40, "", "", "Seq"},
    {TST_ZSTRING, kShown, 61, 94, "", "Description", "Description"},
    {TST_REAL8, kMoney, 8, 46, kMoneyFormat, "Amount", ""},
};

void RowFromEntry(const TLedgerEntry& entry, TAccountEditorRow& row) {
  std::memset(&row, 0, sizeof row);
  CopyRowText(row.FileNum, entry.FileNum, sizeof entry.FileNum);
  row.Number = entry.Number;
  FormatShortDate(row.DateText, entry.Date, sizeof row.DateText);
  StatusText(row.StatusText, static_cast<SHORT>(entry.Status), sizeof row.StatusText);
  if (entry.Status < kStatusReady || entry.Status > kStatusBalanced) row.StatusText[0] = '\0';
  SetRowAmount(row, entry.Amount);
  CopyRowText(row.Type, entry.Type, sizeof entry.Type);
  SetRowSeq(row, entry.Seq);
}

void RowFromEntry(const TLedgerEntry& entry, TAdjustmentRow& row) {
  std::memset(&row, 0, sizeof row);
  FormatShortDate(row.DateText, entry.Date, sizeof row.DateText);
  row.Date = entry.Date;
  CopyRowText(row.FileNum, entry.FileNum, sizeof entry.FileNum);
  CopyRowText(row.Type, entry.Type, sizeof entry.Type);
  SetRowSeq(row, entry.Seq);
  CopyRowText(row.Description, entry.Description, sizeof entry.Description);
  SetRowAmount(row, entry.Amount);
}

void KeyFromRow(const TAccountEditorRow& row, TLedgerEntry& entry) {
  CopyRowText(entry.FileNum, row.FileNum, sizeof row.FileNum);
  CopyRowText(entry.Type, row.Type, sizeof row.Type);
  entry.Seq = RowSeq(row);
}

void KeyFromRow(const TAdjustmentRow& row, TLedgerEntry& entry) {
  CopyRowText(entry.FileNum, row.FileNum, sizeof row.FileNum);
  CopyRowText(entry.Type, row.Type, sizeof row.Type);
  entry.Seq = RowSeq(row);
}
