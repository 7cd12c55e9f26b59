/*
** The check register's walk, filter and columns.
*/
#include "accounting/check_register.h"

#include "accounting/account_transfers.h"
#include "platform/gdi/gdi.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstdio>

namespace {

/* The file number column stands right of the widest date, "00/00/0000" (eight digits and two
   slashes of Arial 13, 0.556 and 0.278 of the height each: 65.1 hundredths of an inch from
   130), and one space (3.6) beyond it: moved the least a four-digit year needs from 190. */
constexpr int kFileNumberX = 199;

/* The range kind of a register: file, date, number or all. */
TRangeKind RegisterRangeKind() {
  if (gReportRangeXfer.RangeFile == 1) return rkFile;
  if (gReportRangeXfer.RangeDate == 1) return rkDate;
  if (gReportRangeXfer.RangeNumber == 1) return rkNumber;
  return rkAll;
}

int OrderFieldOf(TRangeKind kind) {
  if (kind == rkDate) return kAcctDate;
  if (kind == rkNumber) return kAcctNumber;
  return 0;
}

}  // namespace

TCheckRegister::TCheckRegister(const char* title)
    : TAccountWalkReport(title, RegisterRangeKind(), OrderFieldOf(RegisterRangeKind())) {}

bool TCheckRegister::Position() {
  Record->Clear();
  switch (RangeKind) {
    case rkFile:
      Record->SetString(kAcctFileNum, gReportRangeXfer.FileFrom);
      return Record->Seek(1, ENGINE_KEY_GEQ);
    case rkDate:
      Record->SetLong(kAcctDate, gReportRangeXfer.DateFrom);
      return Record->Seek(1, ENGINE_KEY_GEQ);
    case rkNumber:
      Record->SetLong(kAcctNumber, gReportRangeXfer.NumberFrom);
      return Record->Seek(1, ENGINE_KEY_GEQ);
    default: return Record->First();
  }
}

bool TCheckRegister::EndsAt(const TAccountItem& item) const {
  switch (RangeKind) {
    case rkFile: return CompareFileNumbers(item.FileNum, gReportRangeXfer.FileTo) > 0;
    case rkDate: return item.Date > gReportRangeXfer.DateTo;
    case rkNumber: return item.Number > gReportRangeXfer.NumberTo;
    default: return false;
  }
}

bool TCheckRegister::Admit(const TAccountItem& item) {
  return item.Type[0] == 'C' && item.Bank == AccountKey && item.Status >= kStatusPrinted;
}

void TCheckRegister::RangeLine(char* buffer, size_t size) {
  switch (RangeKind) {
    case rkFile:
      std::snprintf(buffer, size, "Files: %s - %s", gReportRangeXfer.FileFrom,
                    gReportRangeXfer.FileTo);
      break;
    case rkDate: std::snprintf(buffer, size, "Dates: %s - %s", DateFromText, DateToText); break;
    case rkNumber:
      std::snprintf(buffer, size, "Check Numbers: %ld - %ld",
                    static_cast<long>(gReportRangeXfer.NumberFrom),
                    static_cast<long>(gReportRangeXfer.NumberTo));
      break;
    default: std::snprintf(buffer, size, "All"); break;
  }
}

void TCheckRegister::DrawColumnHeadings(TDC& dc, int y) {
  DrawTextAt(dc, 120, y, TA_RIGHT, "Number");
  DrawTextAt(dc, 130, y, TA_LEFT, "Date");
  DrawTextAt(dc, kFileNumberX, y, TA_LEFT, "File Number");
  DrawTextAt(dc, 315, y, TA_LEFT, "Status");
  DrawTextAt(dc, 395, y, TA_LEFT, "Payee");
  DrawTextAt(dc, PageWidth - 5, y, TA_RIGHT, "Amount");
}

void TCheckRegister::DrawRow(TDC& dc, unsigned index, int y, int lineHeight) {
  const TAccountItem& item = Items[index];
  char text[kReportAmountSize];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(item.Number));
  DrawTextAt(dc, 120, y, TA_RIGHT, text);
  FormatShortDate(text, item.Date, sizeof text);
  DrawTextAt(dc, 130, y, TA_LEFT, text);
  DrawTextAt(dc, kFileNumberX, y, TA_LEFT, item.FileNum);
  StatusText(text, item.Status, sizeof text);
  DrawTextAt(dc, 315, y, TA_LEFT, text);
  DrawCellText(dc, 395, PageWidth - 120, y, lineHeight, item.PayeeDepositor);
  FormatReportAmount(text, sizeof text, item.Amount);
  DrawTextAt(dc, PageWidth - 5, y, TA_RIGHT, text);
}
