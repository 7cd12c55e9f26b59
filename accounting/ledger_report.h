/*
** TLedgerReport: the entries of one bank account that count in its book balance, in date
** order, checks in their own column, with the balance before the lower date (a date range)
** and the balance after the last listed entry.
*/
#ifndef ZARNE_ACCOUNTING_LEDGER_REPORT_H
#define ZARNE_ACCOUNTING_LEDGER_REPORT_H

#include "accounting/account_walk_report.h"

class TLedgerReport : public TAccountWalkReport {
 public:
  explicit TLedgerReport(const char* title);

  double GetStartingBalance() const { return StartingBalance; }
  double GetEndingBalance() const { return EndingBalance; }

 protected:
  void Rewind() override;
  bool Position() override;
  bool EndsAt(const TAccountItem& item) const override;
  bool Admit(const TAccountItem& item) override;
  void RangeLine(char* buffer, size_t size) override;
  void DrawColumnHeadings(TDC& dc, int y) override;
  int DrawBeforeRows(TDC& dc, int depth, int lineHeight) override;
  void DrawRow(TDC& dc, unsigned index, int y, int lineHeight) override;
  bool DrawClosing(TDC& dc, int depth, int lineHeight) override;

 private:
  bool Counts(const TAccountItem& item) const;
  /* The starting balance of a date range from the engine's totals; false when they could
     not be had exactly (nothing is changed then). */
  bool TotalStartingBalance();
  /* Moves to the first entry dated on or after the lower date. */
  bool SeekLowerDate();
  /* Sums the starting balance entry by entry up to the lower date, stopping there. */
  bool WalkToLowerDate();

  double StartingBalance = 0;
  double EndingBalance = 0;
};

#endif
