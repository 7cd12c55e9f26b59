/*
** TCheckRequest: the printed request for a closing file's checks still to be written: one
** block per Ready check with blanks for the check number and date, its amount, payee and
** description, under a heading with the file number and, on page 1, its buyers and sellers.
*/
#ifndef ZARNE_ACCOUNTING_CHECK_REQUEST_H
#define ZARNE_ACCOUNTING_CHECK_REQUEST_H

#include "accounting/disbursement_items.h"
#include "accounting/report_drawing.h"
#include "platform/framework/printer.h"

#include <vector>

class TCheckRequest : public TPrintout {
 public:
  TCheckRequest(const char* title, const char* fileNumber);

  void BeginPrinting() override;
  /* Every copy prints from the start. */
  void BeginDocument(int startPage, int endPage, unsigned flags) override;
  bool HasPage(int page) override;
  void PrintPage(int page, TRect& rect, unsigned flags) override;

  unsigned GetCheckCount() const { return CheckCount; }

 private:
  int PrintHeader(TDC& dc, int page, int h);
  int PrintParties(TDC& dc, int y, int h);
  int PrintCheckBlock(TDC& dc, int y, int h, double amount, const char* payee,
                      const char* description);

  char FileNumber[16] = "";
  char PrintStamp[kPrintStampSize] = "";
  SHORT PageWidth = 0;
  SHORT PageBottom = 0;
  unsigned CheckCount = 0;
  unsigned CheckStart = 0, CheckNext = 0;
  int CurrentPage = 1;
  int LastPage = 9999;
  std::vector<TDisbCheckItem> Checks;
};

#endif
