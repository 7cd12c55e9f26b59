/*
** The recalculation seam's table and the calls that go through it.
*/
#include "statement/recalculation_seam.h"

TRecalcSeam gRecalcSeam;

void CallRecalcForField(RespaWindow* view, TFieldNode* field) {
  if (gRecalcSeam.RecalcForField) gRecalcSeam.RecalcForField(view, field);
}

void CallMoveDates(RespaWindow* view, LONG oldDate, LONG newDate) {
  if (gRecalcSeam.MoveDates) gRecalcSeam.MoveDates(view, oldDate, newDate);
}

void CallFillSettlementDate(RespaWindow* view, LONG oldDate, LONG newDate) {
  if (gRecalcSeam.FillSettlementDate) gRecalcSeam.FillSettlementDate(view, oldDate, newDate);
}

void RunSetupColumnSums(RespaWindow* view) {
  for (TColumnSumProc sum : gRecalcSeam.ColumnSums)
    if (sum) sum(view);
}

void CallProrater(RespaWindow* view) {
  if (gRecalcSeam.Prorater) gRecalcSeam.Prorater(view);
}

void CallRecalcAll(RespaWindow* view) {
  if (gRecalcSeam.RecalcAll) gRecalcSeam.RecalcAll(view);
}
