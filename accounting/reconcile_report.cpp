/*
** The reconciliation report: its queries, its paging and its two summaries.
*/
#include "accounting/reconcile_report.h"

#include "accounting/account_transfers.h"
#include "platform/gdi/gdi.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstring>

int gFailReconcileQueryForTest = 0;

namespace {
constexpr char kFace[] = "Arial";
constexpr char kNoneText[] = "<< None >>";
constexpr char kQueryFailedText[] = "*** QUERY FAILED ***";
constexpr char kNotInBalanceText[] = "*** NOT IN BALANCE ***";

constexpr char kSectionQuery[] =
    "SORT: ACCOUNT.DB->\"Number\", ACCOUNT.DB->\"Date\"\r\n"
    "ACCOUNT.DB | Type | Number | Bank | Status | Date             | PayeeDepositor | Amount     |\r\n"
    "           | %c    | Check  |%d    | %d      | Check <=%s | Check          | CheckPlus  |\r\n";
constexpr char kBookQuery[] =
    "SORT: ACCOUNT.DB->\"Date\"\r\n"
    "ACCOUNT.DB | Type   | Bank | Status  | Date             | Amount     |\r\n"
    "           | Check  | %d    | 2 OR >4 | Check <=%s | CheckPlus  |";
constexpr size_t kSectionQuerySize = 259;
constexpr size_t kBookQuerySize = 184;

struct TSectionSpec {
  const char* Heading;
  char Type;
  int Status;
  const char* QueryError;
  int NoneX;
};
constexpr TSectionSpec kSectionSpecs[kReconcileSectionCount] = {
    {"Deposits - Reconciled", 'D', 6, "DepIn Query Error", 130},
    {"Deposits - In Transit", 'D', 5, "DepOut Query Error", 130},
    {"Checks - Reconciled", 'C', 6, "ChkIn Query Error", 130},
    {"Checks - Outstanding", 'C', 2, "Query Error", 50},
    {"Adjustments - Reconciled", 'B', 6, "AdjIn Query Error", 130},
};

int LineHeightOf(TDC& dc) {
  TEXTMETRIC metrics{};
  return dc.GetTextMetrics(metrics) ? metrics.tmHeight + metrics.tmExternalLeading : 0;
}

HFONT MakeFont(int height, int weight, bool underline) {
  return CreateFont(height, 0, 0, 0, weight, 0, underline ? 1 : 0, 0, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, kFace);
}

void Amount(char* buffer, size_t size, double amount) { FormatReportAmount(buffer, size, amount); }

/* "-" before the amount's text, as the summaries show what they subtract. */
void LessAmount(char* buffer, size_t size, double amount) {
  char text[kReportAmountSize];
  FormatReportAmount(text, sizeof text, amount);
  std::snprintf(buffer, size, "-%s", text);
}
}  // namespace

ReconcileSection::ReconcileSection() = default;
ReconcileSection::~ReconcileSection() = default;

TReconcileReport::TReconcileReport(const char* title) : TPrintout(title) {
  SetBanding(false);
  for (int i = 0; i < kReconcileSectionCount; ++i) {
    const TSectionSpec& spec = kSectionSpecs[i];
    ReconcileSection& section = Sections[i];
    section.Heading = spec.Heading;
    section.Type = spec.Type;
    section.Status = spec.Status;
    section.QueryError = spec.QueryError;
    section.NoneX = spec.NoneX;
  }
  BankKey = gReconcileXfer.Accounts.GetSelIndex();
  FormatShortDate(CloseDateText, gReconcileXfer.CloseDate, sizeof CloseDateText);
  ComputeBookBalance();
  for (ReconcileSection& section : Sections) RunSectionQuery(section);
  FormatPrintStamp(Stamp, sizeof Stamp);
  Rewind();
}

TReconcileReport::~TReconcileReport() {
  for (ReconcileSection& section : Sections) {
    section.Record.reset();  // before the answer whose cursor it uses
    section.Answer.reset();
  }
}

bool TReconcileReport::SeamFails() { return ++QueriesMade == gFailReconcileQueryForTest; }

void TReconcileReport::ComputeBookBalance() {
  BookBalance = 0;
  char query[kBookQuerySize];
  std::snprintf(query, sizeof query, kBookQuery, BankKey, CloseDateText);
  TPXTable* account = gTables[kAccountTable];
  std::unique_ptr<TPXTable> answer(SeamFails() || account == nullptr ? nullptr
                                                                     : account->QueryQBE(query));
  if (!answer) {
    ReportDbMessage("BkBal Query Error");
    BookQueryFailed = AnyQueryFailed = true;
    return;
  }
  {
    TPXRecord record(answer.get(), false);
    for (bool more = record.First() && record.Read(0); more; more = record.ReadNext(0)) {
      char type[4] = "";
      double amount = 0;
      record.GetString(1, type, sizeof type);
      record.GetDouble(3, amount);
      BookBalance = RoundToCents(type[0] == 'C' ? BookBalance - amount : BookBalance + amount);
    }
  }
}

void TReconcileReport::RunSectionQuery(ReconcileSection& section) {
  char query[kSectionQuerySize];
  std::snprintf(query, sizeof query, kSectionQuery, section.Type, BankKey, section.Status,
                CloseDateText);
  TPXTable* account = gTables[kAccountTable];
  section.Answer.reset(SeamFails() || account == nullptr ? nullptr : account->QueryQBE(query));
  if (!section.Answer) {
    ReportDbMessage(section.QueryError);
    AnyQueryFailed = true;
    return;
  }
  section.Record = std::make_unique<TPXRecord>(section.Answer.get(), false);
}

void TReconcileReport::Rewind() {
  for (ReconcileSection& section : Sections) {
    section.Items.Clear();
    section.Next = 0;
    section.Started = false;
    section.Exhausted = section.Record == nullptr;
    section.Finished = false;
    section.HeadingPage = 0;
    section.Total = 0;
  }
  LoadedPage = 0;
  LastPage = 9999;
  SummaryPage = 0;
  BankInBalance = BookInBalance = 0;
}

void TReconcileReport::BeginDocument(int startPage, int endPage, unsigned flags) {
  TPrintout::BeginDocument(startPage, endPage, flags);
  Rewind();
}

void TReconcileReport::BeginPrinting() {
  TPrintout::BeginPrinting();
  W = PrintableWidth(*DC);
  Bottom = static_cast<int>(-PrintableHeight(*DC) + 50);
  C = W / 2;
  R = W - 100;
}

void TReconcileReport::Refill(ReconcileSection& section) {
  section.Items.DropFront(section.Next);
  section.Next = 0;
  while (!section.Items.Full() && !section.Exhausted) {
    TPXRecord& record = *section.Record;
    bool read;
    if (!section.Started) {
      section.Started = true;
      read = record.First() && record.Read(0);
    } else {
      read = record.ReadNext(0);
    }
    if (!read) {
      section.Exhausted = true;
      break;
    }
    TReconcileItem item;
    record.GetLong(1, item.Number);
    record.GetLong(2, item.Date);
    record.GetString(3, item.PayeeDepositor, sizeof item.PayeeDepositor);
    record.GetDouble(4, item.Amount);
    section.Total = RoundToCents(section.Total + item.Amount);
    section.Items.Add(item);
  }
}

int TReconcileReport::PrintHeader(TDC& dc, int page) {
  char text[128];
  {
    TReportFont stamp(dc, kFace, -11, FW_NORMAL);
    DrawTextAt(dc, 0, 0, TA_LEFT, Stamp);
  }
  int y = -50;
  {
    TReportFont title(dc, kFace, -19, FW_BOLD);
    DrawTextAt(dc, C, y, TA_CENTER, GetTitle());
    y -= title.LineHeight();
  }
  TReportFont line(dc, kFace, -16, FW_NORMAL);
  const int h = line.LineHeight();
  std::snprintf(text, sizeof text, "%.49s", gReconcileXfer.Accounts.GetSelection());
  DrawTextAt(dc, C, y, TA_CENTER, text);
  y -= h;
  std::snprintf(text, sizeof text, "Statement Close Date: %s", CloseDateText);
  DrawTextAt(dc, C, y, TA_CENTER, text);
  std::snprintf(text, sizeof text, "Page  %d", page);
  DrawTextAt(dc, W, y, TA_RIGHT, text);
  y -= 2 * h;
  DrawPageRule(dc, y, W);
  return y - 2 * h;
}

void TReconcileReport::PrintItem(TDC& dc, const ReconcileSection& section,
                                 const TReconcileItem& item, int y) {
  char text[kReportAmountSize];
  const bool check = section.Type == 'C';
  if (check) {
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(item.Number));
    DrawTextAt(dc, 110, y, TA_RIGHT, text);
  }
  FormatShortDate(text, item.Date, sizeof text);
  DrawTextAt(dc, 130, y, TA_LEFT, text);
  DrawCellText(dc, 210, W - 200, y, LineH, item.PayeeDepositor);
  Amount(text, sizeof text, item.Amount);
  DrawTextAt(dc, check ? W : R, y, TA_RIGHT, text);
}

bool TReconcileReport::PrintSections(TDC& dc, int page, int& y) {
  for (int i = 0; i < kReconcileSectionCount; ++i) {
    ReconcileSection& section = Sections[i];
    if (section.Finished) continue;
    if (section.HeadingPage == 0) {
      SelectObject(dc.GetHDC(), HeadingFont);
      if (y - 2 * HeadH < Bottom) return false;
      DrawTextAt(dc, 0, y, TA_LEFT, section.Heading);
      section.HeadingPage = page;
      y -= HeadH;
      if (section.Next >= section.Items.Count()) Refill(section);
      SelectObject(dc.GetHDC(), BodyFont);
      if (section.Items.Count() == 0) {
        DrawTextAt(dc, section.NoneX, y, TA_LEFT, section.Record ? kNoneText : kQueryFailedText);
        y -= LineH;
        section.Finished = true;
        continue;
      }
    }
    SelectObject(dc.GetHDC(), BodyFont);
    if (y - LineH < Bottom) return false;
    for (;;) {
      if (section.Next >= section.Items.Count()) {
        if (section.Exhausted) break;
        Refill(section);
        if (section.Items.Count() == 0) break;
      }
      PrintItem(dc, section, section.Items[section.Next++], y);
      y -= LineH;
      const bool more = section.Next < section.Items.Count() || !section.Exhausted;
      if (more && y - LineH < Bottom) return false;
    }
    y -= i == kReconcileSectionCount - 1 ? 2 * LineH : LineH;
    section.Finished = true;
  }
  return true;
}

void TReconcileReport::PrintPage(int page, TRect&, unsigned) {
  TDC& dc = *DC;
  const int saved = dc.SaveDC();
  dc.SetMapMode(MM_LOENGLISH);
  int y = PrintHeader(dc, page);
  BodyFont = MakeFont(-13, FW_NORMAL, false);
  HeadingFont = MakeFont(-16, FW_NORMAL, true);
  HGDIOBJ previous = SelectObject(dc.GetHDC(), HeadingFont);
  HeadH = LineHeightOf(dc);
  SelectObject(dc.GetHDC(), BodyFont);
  LineH = LineHeightOf(dc);
  if (page > LoadedPage) LoadedPage = page;
  if (PrintSections(dc, page, y) && SummaryPage == 0 && y - (2 * HeadH + 16 * LineH) >= Bottom) {
    PrintSummaries(dc, y);
    SummaryPage = page;
    LastPage = page;  // the job ends with this page
  }
  SelectObject(dc.GetHDC(), previous);
  DeleteObject(BodyFont);
  DeleteObject(HeadingFont);
  BodyFont = HeadingFont = nullptr;
  dc.RestoreDC(saved);
}

void TReconcileReport::SummaryLine(TDC& dc, int y, const char* label, const char* value) {
  DrawTextAt(dc, C, y, TA_RIGHT, label);
  DrawTextAt(dc, C + 120, y, TA_RIGHT, value);
}

bool TReconcileReport::PrintVariance(TDC& dc, int y, double variance) {
  char plain[kReportAmountSize];
  std::snprintf(plain, sizeof plain, "%.2lf", variance);
  if (std::strcmp(plain, "-0.00") == 0) std::strcpy(plain, "0.00");
  char text[kReportAmountSize];
  InsertThousandsCommas(plain, text, sizeof text);
  SummaryLine(dc, y, "Variance", text);
  const bool balanced = std::strcmp(text, "0.00") == 0;
  if (!balanced) DrawTextAt(dc, C + 130, y, TA_LEFT, kNotInBalanceText);
  return balanced;
}

void TReconcileReport::PrintSummaries(TDC& dc, int y) {
  const double begin = gReconcileXfer.BeginBalance;
  const double end = gReconcileXfer.EndBalance;
  const double t1 = Sections[0].Total, t2 = Sections[1].Total, t3 = Sections[2].Total;
  const double t4 = Sections[3].Total, t5 = Sections[4].Total;
  char text[kReportAmountSize + 1];

  SelectObject(dc.GetHDC(), HeadingFont);
  DrawTextAt(dc, 0, y, TA_LEFT, "Bank Balance Summary");
  y -= HeadH;
  SelectObject(dc.GetHDC(), BodyFont);
  Amount(text, sizeof text, begin);
  SummaryLine(dc, y, "Beginning bank balance", text);
  y -= LineH;
  Amount(text, sizeof text, t1);
  SummaryLine(dc, y, "Plus deposits received", text);
  y -= LineH;
  LessAmount(text, sizeof text, t3);
  SummaryLine(dc, y, "Less cleared checks", text);
  y -= LineH;
  Amount(text, sizeof text, t5);
  SummaryLine(dc, y, "Bank adjusments", text);
  y -= LineH;
  const double calculated = RoundToCents(RoundToCents(RoundToCents(begin + t1) - t3) + t5);
  Amount(text, sizeof text, calculated);
  SummaryLine(dc, y, "Calculated ending balance", text);
  y -= 2 * LineH;
  Amount(text, sizeof text, end);
  SummaryLine(dc, y, "Ending bank balance", text);
  y -= LineH;
  const bool bankBalanced = PrintVariance(dc, y, RoundToCents(RoundToCents(calculated) - end));
  y -= LineH;

  SelectObject(dc.GetHDC(), HeadingFont);
  DrawTextAt(dc, 0, y, TA_LEFT, "Book Balance Summary");
  y -= HeadH;
  SelectObject(dc.GetHDC(), BodyFont);
  Amount(text, sizeof text, end);
  SummaryLine(dc, y, "Ending bank balance", text);
  y -= LineH;
  Amount(text, sizeof text, t2);
  SummaryLine(dc, y, "Plus deposits in transit", text);
  y -= LineH;
  LessAmount(text, sizeof text, t4);
  SummaryLine(dc, y, "Less outstanding checks", text);
  y -= LineH;
  const double reconciled = RoundToCents(RoundToCents(end + t2) - t4);
  Amount(text, sizeof text, reconciled);
  SummaryLine(dc, y, "Reconciled bank balance", text);
  y -= 2 * LineH;
  Amount(text, sizeof text, BookBalance);
  SummaryLine(dc, y, "Book balance", text);
  if (BookQueryFailed) DrawTextAt(dc, C + 130, y, TA_LEFT, kQueryFailedText);
  y -= LineH;
  const bool bookBalanced = PrintVariance(dc, y, RoundToCents(reconciled - BookBalance));

  // A failed query leaves a total or the book balance short: never in balance then.
  BankInBalance = bankBalanced && !AnyQueryFailed ? 1 : 0;
  BookInBalance = bookBalanced && !AnyQueryFailed ? 1 : 0;
}
