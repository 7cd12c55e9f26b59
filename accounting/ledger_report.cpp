/*
** The ledger's walk, balances and columns.
*/
#include "accounting/ledger_report.h"

#include "accounting/account_transfers.h"
#include "accounting/ledger_cents.h"
#include "platform/gdi/gdi.h"
#include "tableaccess/px_record.h"

#include <cstdio>

TLedgerReport::TLedgerReport(const char* title)
    : TAccountWalkReport(title, gReportRangeXfer.RangeDate == 1 ? rkDate : rkAll, kAcctDate) {}

void TLedgerReport::Rewind() {
  StartingBalance = 0;
  EndingBalance = 0;
}

bool TLedgerReport::Counts(const TAccountItem& item) const {
  return CountsInBalance(item.Status) && item.Bank == AccountKey;
}

bool TLedgerReport::Position() {
  bool found = false;
  if (RangeKind != rkDate) found = Record->First();
  else if (TotalStartingBalance()) found = SeekLowerDate();
  else found = WalkToLowerDate();
  EndingBalance = StartingBalance;
  return found;
}

namespace {
// Below this many cents in all (a billion dollars) a running balance of whole-cent amounts,
// rounded to cents after every step, is exactly the sum of their cents: a double's error
// stays far from half a cent.
constexpr int64_t kExactCentsLimit = 100000000000LL;
}  // namespace

bool TLedgerReport::TotalStartingBalance() {
  // Everything dated before the lower date (blank dates first of all) makes the starting
  // balance. The engine totals it by type, bank and status in one statement; when an amount
  // there is not whole cents the walk below sums it the long way, in the same order.
  static const int kGroups[] = {kAcctType, kAcctBank, kAcctStatus};
  int64_t cents = 0, magnitude = 0;
  bool exact = true;
  Record->Clear();
  if (!Record->SetLong(kAcctDate, gReportRangeXfer.DateFrom)) return false;
  bool totalled =
      Record->TotalBeforeKey(1, kAcctAmount, kGroups, 3, [&](const EngineCentsTotal& total) {
        TAccountItem item;
        SHORT bank = 0, status = 0;
        if (!Record->GetString(kAcctType, item.Type, sizeof item.Type) ||
            !Record->GetShort(kAcctBank, bank) || !Record->GetShort(kAcctStatus, status)) {
          exact = false;
          return;
        }
        item.Bank = bank;
        item.Status = status;
        if (!Counts(item)) return;
        exact = exact && total.inexact == 0;
        cents += item.Type[0] == 'C' ? -total.cents : total.cents;
        magnitude += total.magnitude;
      });
  if (!totalled || !exact || magnitude >= kExactCentsLimit) return false;
  StartingBalance = CentsAmount(cents);
  return true;
}

bool TLedgerReport::SeekLowerDate() {
  Record->Clear();
  return Record->SetLong(kAcctDate, gReportRangeXfer.DateFrom) && Record->Seek(1, ENGINE_KEY_GEQ);
}

bool TLedgerReport::WalkToLowerDate() {
  StartingBalance = 0;
  if (!Record->First()) return false;
  TAccountItem item;
  if (!Record->Read(0) || !ReadAccountItem(*Record, item)) return false;
  while (item.Date < gReportRangeXfer.DateFrom) {
    if (Counts(item)) StartingBalance = ApplyToBalance(StartingBalance, item.Type, item.Amount);
    if (!Record->Next() || !Record->Read(0) || !ReadAccountItem(*Record, item)) return false;
  }
  return true;
}

bool TLedgerReport::EndsAt(const TAccountItem& item) const {
  return RangeKind == rkDate && item.Date > gReportRangeXfer.DateTo;
}

bool TLedgerReport::Admit(const TAccountItem& item) {
  if (!Counts(item)) return false;
  EndingBalance = ApplyToBalance(EndingBalance, item.Type, item.Amount);
  return true;
}

void TLedgerReport::RangeLine(char* buffer, size_t size) {
  if (RangeKind == rkDate) std::snprintf(buffer, size, "DATES: %s - %s", DateFromText, DateToText);
  else std::snprintf(buffer, size, "ALL");
}

void TLedgerReport::DrawColumnHeadings(TDC& dc, int y) {
  DrawTextAt(dc, 60, y, TA_LEFT, "Date");
  DrawTextAt(dc, 190, y, TA_RIGHT, "Number");
  DrawTextAt(dc, 210, y, TA_LEFT, "Type");
  DrawTextAt(dc, 260, y, TA_LEFT, "Status");
  DrawTextAt(dc, 340, y, TA_LEFT, "Depositor/Payee");
  DrawTextAt(dc, PageWidth - 120, y, TA_RIGHT, "Deposits");
  DrawTextAt(dc, PageWidth, y, TA_RIGHT, "Checks");
}

namespace {

void DrawBalanceLine(TDC& dc, int x, int y, const char* label, double balance) {
  char amount[kReportAmountSize];
  FormatReportAmount(amount, sizeof amount, balance);
  char text[kReportAmountSize + 32];
  std::snprintf(text, sizeof text, "%s     %s", label, amount);
  DrawTextAt(dc, x, y, TA_RIGHT, text);
}

const char* TypeText(char type) {
  switch (type) {
    case 'B': return "Adj";
    case 'C': return "Chk";
    case 'D': return "Dep";
    default: return "";
  }
}

}  // namespace

int TLedgerReport::DrawBeforeRows(TDC& dc, int depth, int lineHeight) {
  if (RangeKind != rkDate || Record == nullptr) return depth;  // no table: heading only
  DrawBalanceLine(dc, PageWidth - 120, -depth, "STARTING BALANCE", StartingBalance);
  return depth + 2 * lineHeight;
}

void TLedgerReport::DrawRow(TDC& dc, unsigned index, int y, int lineHeight) {
  const TAccountItem& item = Items[index];
  const bool isCheck = item.Type[0] == 'C';
  char text[kReportAmountSize];
  FormatShortDate(text, item.Date, sizeof text);
  DrawTextAt(dc, 60, y, TA_LEFT, text);
  if (isCheck) {
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(item.Number));
    DrawTextAt(dc, 190, y, TA_RIGHT, text);
  }
  DrawTextAt(dc, 210, y, TA_LEFT, TypeText(item.Type[0]));
  StatusText(text, item.Status, sizeof text);
  DrawTextAt(dc, 260, y, TA_LEFT, text);
  DrawCellText(dc, 340, PageWidth - 240, y, lineHeight, item.PayeeDepositor);
  FormatReportAmount(text, sizeof text, item.Amount);
  DrawTextAt(dc, isCheck ? PageWidth : PageWidth - 120, y, TA_RIGHT, text);
}

bool TLedgerReport::DrawClosing(TDC& dc, int depth, int lineHeight) {
  if (Record == nullptr) return true;
  if (depth + 2 * lineHeight >= BottomDepth) return false;
  DrawBalanceLine(dc, PageWidth - 120, -(depth + lineHeight), "ENDING BALANCE", EndingBalance);
  return true;
}
