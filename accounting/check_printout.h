/*
** TCheckPrintout: one escrow check on one page. Each of the eleven items of the check-form
** layout (file number, dates, check number, amounts, amount in words, payee, description and
** the buyers' and sellers' names) is printed at its main and at its copy position, so one
** sheet carries the check and its copy; a position that is not placed is left off.
*/
#ifndef ZARNE_ACCOUNTING_CHECK_PRINTOUT_H
#define ZARNE_ACCOUNTING_CHECK_PRINTOUT_H

#include "accounting/ledger_rows.h"
#include "platform/framework/printer.h"

/* Where each item's values start in the 64 values of a layout (point items have four:
   main x, y, copy x, y; box items eight: main x, y, w, h, copy x, y, w, h). */
enum TCheckFormItem : int {
  kCheckFileNumberItem = 0,
  kCheckShortDateItem = 4,
  kCheckNumberItem = 8,
  kCheckAmountItem = 12,
  kCheckDescriptionItem = 16,
  kCheckBuyersItem = 24,
  kCheckSellersItem = 32,
  kCheckLongDateItem = 40,
  kCheckAmountWordsItem = 44,
  kCheckSecondAmountItem = 52,
  kCheckPayeeItem = 56,
};

/* Whether any item of the layout has a position at which it would print: a fresh form has
   none, and its checks would come out blank. */
bool CheckFormHasPlacedItem(const short* layout);

/* Why a run or a test print with such a form is refused. */
extern const char kCheckFormNotSetUp[];

class TCheckPrintout : public TPrintout {
 public:
  /* Nothing is copied: the row, the texts and the layout must outlive the printout. A null
     layout prints with the program-wide gCheckFormLayout. */
  TCheckPrintout(const char* title, const TDisburseCheckRow* row, const char* buyers,
                 const char* sellers, const short* layout = nullptr);
  ~TCheckPrintout() override;

  void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) override;
  void PrintPage(int page, TRect& rect, unsigned flags) override;

 private:
  void PrintPoint(HDC dc, int item, const char* text) const;
  void PrintBox(HDC dc, int item, const char* text) const;

  const TDisburseCheckRow* Row;
  const char* Buyers;
  const char* Sellers;
  const short* Layout;
};

#endif
