/*
** The statement window reaches the rules through the seam's table; the window is itself the
** view the rules work on.
*/
#include "statement/recalc_install.h"

#include "statement/field_engine.h"
#include "statement/prorater.h"
#include "statement/recalc_dispatch.h"
#include "statement/recalc_rules.h"
#include "statement/recalculation_seam.h"
#include "statement/respa_window.h"
#include "statement/settlement_date_move.h"
#include "tableaccess/field_list.h"

namespace {

template <void (*Rule)(RecalcView&)>
void OnWindow(RespaWindow* view) {
  if (view) Rule(*view);
}

void RecalcForWindow(RespaWindow* view, TFieldNode* field) {
  if (view) RecalcForField(*view, field);
}
void MoveDatesOfWindow(RespaWindow* view, LONG oldDate, LONG newDate) {
  if (view) MoveDates(*view, oldDate, newDate);
}
void FillSettlementDateOfWindow(RespaWindow* view, LONG oldDate, LONG newDate) {
  if (view) FillSettlementDate(*view, oldDate, newDate);
}

/* The edit line is hidden before the line is stored, and the current field's edit begins
   again after it; Cancel changes nothing. */
void ProraterOfWindow(RespaWindow* view) {
  if (!view) return;
  int id = view->currentField ? view->currentField->fieldId : 0;
  auto hide = [](void* window) { HideFieldControls(static_cast<RespaWindow*>(window)); };
  if (RunProrater(view, *view, id, hide, view)) BeginFieldEdit(view);
}

}  // namespace

void InstallRecalculation() {
  gRecalcSeam.Prorater = ProraterOfWindow;
  gRecalcSeam.RecalcAll = OnWindow<RecalcAll>;
  gRecalcSeam.RecalcForField = RecalcForWindow;
  gRecalcSeam.MoveDates = MoveDatesOfWindow;
  gRecalcSeam.FillSettlementDate = FillSettlementDateOfWindow;
  const TColumnSumProc sums[kSetupColumnSumCount] = {
      OnWindow<Sum800B>,  OnWindow<Sum800S>,  OnWindow<Sum900B>,  OnWindow<Sum900S>,
      OnWindow<Sum1000B>, OnWindow<Sum1000S>, OnWindow<Sum1100B>, OnWindow<Sum1100S>,
      OnWindow<Sum1200B>, OnWindow<Sum1200S>, OnWindow<Sum1300B>, OnWindow<Sum1300S>};
  for (int i = 0; i < kSetupColumnSumCount; ++i) gRecalcSeam.ColumnSums[i] = sums[i];
}
