/*
** TAmortReport: the printed amortization schedule. Each page is headed with a stamp, the
** title, its page number and the loan, and lists as many payment lines as fit; a page keeps
** the schedule's state at its start, so printing it again gives the same lines.
*/
#ifndef ZARNE_STATEMENT_AMORTIZATION_REPORT_H
#define ZARNE_STATEMENT_AMORTIZATION_REPORT_H

#include "platform/framework/printer.h"
#include "statement/amortization_schedule.h"

#include <map>
#include <string>

struct AmortizationLoan {
  std::string lender;
  std::string borrower;
  double principal = 0;
  ScriptDecimal payment;
  double yearlyRatePercent = 0;
  int32_t maturity = 0;
  int originMonth = 0, originDay = 0, originYear = 0;
};

class TAmortReport : public TPrintout {
 public:
  TAmortReport(const char* title, const AmortizationLoan& loan);

  bool HasPage(int page) override { return page <= pageLimit_; }
  void BeginPrinting() override;
  void PrintPage(int page, TRect& rect, unsigned flags) override;

  const std::string& Stamp() const { return stamp_; }

 private:
  /* The heading of a page; answers the y of the first schedule line. */
  int PrintHeading(TPrintDC& dc, int page);
  void PrintLine(TPrintDC& dc, int y, const AmortizationLine& line);

  AmortizationLoan loan_;
  AmortizationSchedule schedule_;
  int pagesLaidOut_ = 0;
  int pageLimit_ = 999;
  std::map<int, AmortizationState> pageStarts_;
  std::string stamp_;
  int pageWidth_ = 0;   // hundredths of an inch
  int pageBottom_ = 0;  // hundredths of an inch below the top
};

#endif
