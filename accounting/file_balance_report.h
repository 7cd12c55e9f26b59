/*
** TFileBalanceReport: each closing file's escrow balance over its counted ledger entries, on
** one account or all, for all files or a range, for all dates or up to a date, with the
** file's first buyer and seller and the account its entries lie on, and the report total.
*/
#ifndef ZARNE_ACCOUNTING_FILE_BALANCE_REPORT_H
#define ZARNE_ACCOUNTING_FILE_BALANCE_REPORT_H

#include "accounting/party_name_walk.h"
#include "accounting/range_report.h"

struct TFileBalanceItem {
  char FileNumber[16] = "";
  char Buyer[61] = "";
  char Seller[61] = "";
  char BankAccount[41] = "";
  double Balance = 0;

  bool operator==(const TFileBalanceItem& other) const;
  bool operator<(const TFileBalanceItem& other) const;
};

class TFileBalanceReport : public TRangeReport {
 public:
  TFileBalanceReport(const char* title, bool suppressZero);
  ~TFileBalanceReport() override;

  double GetReportTotal() const { return ReportTotal; }

 protected:
  void Rewind() override;
  void LoadItems() override;
  void AccountLine(char* buffer, size_t size) override;
  void RangeLine(char* buffer, size_t size) override;
  void DrawColumnHeadings(TDC& dc, int y) override;
  void DrawRow(TDC& dc, unsigned index, int y, int lineHeight) override;
  bool DrawClosing(TDC& dc, int depth, int lineHeight) override;

 private:
  /* Sums the group of records with the current file number; false when a step failed. */
  void ReadGroup(TFileBalanceItem& item, bool& counted);
  void FillNames(TFileBalanceItem& item, int bank, bool multipleBanks);
  bool Counts(SHORT status, LONG date, SHORT bank) const;

  TPartyNameWalk Buyers;
  TPartyNameWalk Sellers;
  TRangeKind RangeKind;
  int AccountFilter;
  bool SuppressZero;
  double ReportTotal = 0;
  int SavedSelection;
  char GroupFile[16] = "";
  TItemBatch<TFileBalanceItem> Items;
};

#endif
