/*
** TReconcileReport: the "Reconciliation Report" of one bank account for a statement close
** date (gReconcileXfer). Five sections of ledger entries found by queries on ACCOUNT
** (deposits reconciled and in transit, checks reconciled and outstanding, adjustments
** reconciled), then the bank balance summary and the book balance summary, each ending with a
** variance. Both in-balance flags are set only when both variances print "0.00" and every
** query answered, which is what lets the reconcile dialog offer the period close.
*/
#ifndef ZARNE_ACCOUNTING_RECONCILE_REPORT_H
#define ZARNE_ACCOUNTING_RECONCILE_REPORT_H

#include "accounting/range_report.h"
#include "accounting/report_drawing.h"
#include "platform/framework/printer.h"

#include <memory>

class TPXRecord;
class TPXTable;

/* One printed line of a section. */
struct TReconcileItem {
  LONG Number = 0;
  LONG Date = 0;
  char PayeeDepositor[61] = "";
  double Amount = 0;
  bool operator==(const TReconcileItem& other) const {
    return Number == other.Number && Date == other.Date && Amount == other.Amount;
  }
};

/* One section: its query's answer, the items held (at most 101 at a time) and its total. */
struct ReconcileSection {
  const char* Heading = "";
  char Type = 'D';
  int Status = 0;
  const char* QueryError = "";
  int NoneX = 130;
  std::unique_ptr<TPXTable> Answer;
  std::unique_ptr<TPXRecord> Record;
  TItemBatch<TReconcileItem> Items;
  unsigned Next = 0;       // first held item not printed yet
  bool Started = false;    // the answer's first row has been asked for
  bool Exhausted = false;  // the answer has no row left to load
  bool Finished = false;   // every row printed
  int HeadingPage = 0;
  double Total = 0;

  ReconcileSection();
  ~ReconcileSection();
};

constexpr int kReconcileSectionCount = 5;

/* Test seam: the n-th query a report makes (1 the book query, 2..6 the sections) fails as
   an engine refusal would; 0 fails none. */
// Owner: accounting.
extern int gFailReconcileQueryForTest;

class TReconcileReport : public TPrintout {
 public:
  explicit TReconcileReport(const char* title);
  ~TReconcileReport() override;

  void BeginPrinting() override;
  /* Every pass (each copy) prints from the start: answers, totals, paging and flags. */
  void BeginDocument(int startPage, int endPage, unsigned flags) override;
  bool HasPage(int page) override { return page <= LastPage; }
  void PrintPage(int page, TRect& rect, unsigned flags) override;

  double GetBookBalance() const { return BookBalance; }
  double SectionTotal(int section) const { return Sections[section].Total; }

  BYTE BankInBalance = 0;
  BYTE BookInBalance = 0;

 private:
  void ComputeBookBalance();
  void RunSectionQuery(ReconcileSection& section);
  /* Whether the next query is to fail by the test seam. */
  bool SeamFails();
  void Rewind();
  /* Drops the printed items and loads the next ones, totalling each row once. */
  void Refill(ReconcileSection& section);
  int PrintHeader(TDC& dc, int page);
  /* Prints what fits of the sections from y; false when the page ended first. */
  bool PrintSections(TDC& dc, int page, int& y);
  void PrintItem(TDC& dc, const ReconcileSection& section, const TReconcileItem& item, int y);
  void PrintSummaries(TDC& dc, int y);
  void SummaryLine(TDC& dc, int y, const char* label, const char* value);
  /* The variance text ("-0.00" read as "0.00"); answers whether it is in balance. */
  bool PrintVariance(TDC& dc, int y, double variance);

  ReconcileSection Sections[kReconcileSectionCount];
  int BankKey = 0;
  char CloseDateText[16] = "";
  double BookBalance = 0;
  bool BookQueryFailed = false;
  bool AnyQueryFailed = false;
  char Stamp[kPrintStampSize] = "";
  int QueriesMade = 0;

  int W = 0, C = 0, R = 0, Bottom = 0;
  int LineH = 0, HeadH = 0;
  HFONT BodyFont = nullptr;
  HFONT HeadingFont = nullptr;
  int LoadedPage = 0;
  int LastPage = 9999;
  int SummaryPage = 0;
};

#endif
