/*
** TProrater: the "Prorater" dialog (template 21005), the share of a periodic amount that
** falls into a date range, and what the statement's Prorater command does with it: the
** presets around the settlement date, the period text and the unrounded share stored into
** an adjustment line of the summary, and the totals of that side.
*/
#ifndef ZARNE_STATEMENT_PRORATER_H
#define ZARNE_STATEMENT_PRORATER_H

#include "platform/framework/dialog.h"
#include "statement/recalc_view.h"

#include <cstddef>

#define IDD_PRORATER        21005
#define IDC_PRORATER_AMOUNT 201
#define IDC_PRORATER_DAYS   301
#define IDC_PRORATER_FROM   401
#define IDC_PRORATER_TO     402

constexpr UINT kProrationInvalidText = 1051;

class TWWDate;
class TWWInteger;
class TWWMoney;

#pragma pack(push, 1)
struct TProraterXfer {
  double amount;
  LONG from;
  LONG to;
  LONG days;
};
#pragma pack(pop)

/* Kept between uses: the dates of one use are offered again at the next. */
// Owner: statement.
extern TProraterXfer gProraterXfer;

class TProrater : public TDialog {
 public:
  TProrater(TWindow* parent, TResId resId = IDD_PRORATER, TModule* module = nullptr);
  /* Closes with OK only when from is before to, neither is blank, the amount is at least
     0.0001 and the days above 0; otherwise says so and stays open. */
  void CmOk() override;

 private:
  TWWMoney* amount_;
  TWWDate* from_;
  TWWDate* to_;
  TWWInteger* days_;
};

/* The share of the amount over the range: (to - from) x (amount / days), unrounded. */
double ProratedShare(const TProraterXfer& input);
/* "m/d/y - m/d/y" with the short years of the range (1997 gives 97, 2005 gives 5). */
void FormatProrationPeriod(char* text, size_t size, LONG from, LONG to);

/* The Prorater command over the current field: presets, the dialog, and on OK the period
   and share stored into the field's adjustment line and the totals run. `beforeStore` runs
   between OK and the store (the window hides its edit line there). True on OK. */
bool RunProrater(TWindow* parent, RecalcView& view, int currentFieldId,
                 void (*beforeStore)(void* context) = nullptr, void* context = nullptr);

#endif
