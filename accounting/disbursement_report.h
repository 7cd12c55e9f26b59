/*
** TDisburseReport: every deposit and check of one closing file with its status, bank and
** amount, the deposit and check totals, a notice when they differ and a warning when the
** entries lie on more than one bank account. Everything printed is gathered when it is made.
*/
#ifndef ZARNE_ACCOUNTING_DISBURSEMENT_REPORT_H
#define ZARNE_ACCOUNTING_DISBURSEMENT_REPORT_H

#include "accounting/disbursement_items.h"
#include "accounting/report_drawing.h"
#include "platform/framework/printer.h"

#include <vector>

class TDisburseReport : public TPrintout {
 public:
  TDisburseReport(const char* title, const char* fileNumber);

  void BeginPrinting() override;
  /* Every copy prints from the start. */
  void BeginDocument(int startPage, int endPage, unsigned flags) override;
  bool HasPage(int page) override { return page <= LastPage; }
  void PrintPage(int page, TRect& rect, unsigned flags) override;

  long double GetDepositTotal() const { return DepositTotal; }
  long double GetCheckTotal() const { return CheckTotal; }
  bool HasMixedBanks() const { return MixedBanks; }

 private:
  void ApplyBankRule(SHORT bank);
  int PrintHeader(TDC& dc, int page);
  /* The sections of a page; each answers false when the page ended inside it. */
  bool PrintDeposits(TDC& dc, int& y, int headingHeight);
  bool PrintChecks(TDC& dc, int& y, int headingHeight);
  bool PrintTotals(TDC& dc, int& y, int headingHeight);

  char FileNumber[16] = "";
  char PrintStamp[kPrintStampSize] = "";
  char BuyerName[80] = "";
  SHORT PageWidth = 0;
  SHORT PageBottom = 0;
  SHORT FirstBank = -1;
  bool MixedBanks = false;
  unsigned DepositCount = 0, CheckCount = 0;
  unsigned DepositStart = 0, DepositNext = 0;
  unsigned CheckStart = 0, CheckNext = 0;
  bool ChecksHeadingShown = false;
  int CurrentPage = 1;
  int LastPage = 9999;
  long double DepositTotal = 0;
  long double CheckTotal = 0;
  std::vector<TDisbDepositItem> Deposits;
  std::vector<TDisbCheckItem> Checks;
};

#endif
