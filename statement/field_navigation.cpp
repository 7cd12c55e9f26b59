/*
** Moving between statement fields: the mouse, Tab and Shift+Tab, Page Down and Page Up.
** Every move commits the current field first and begins the next edit by a posted message,
** so it begins after the messages already queued. Walks stop at the ends of the list.
*/
#include "statement/field_engine.h"

#include "platform/framework/scroller.h"
#include "statement/one_controls.h"
#include "statement/respa_window.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kSettlementDateField = 2;  // SUMMARY1 CDATE

int PageHeight(RespaWindow* view) { return view->Scroller->YPage * view->Scroller->YUnit; }

/* From an editable field's neighbour onward, skipping display-only fields; the list wraps
   around once, so a list of display-only fields leaves the current field as it was. */
TFieldNode* StepWrapping(RespaWindow* view, TFieldNode* from, bool forward) {
  TFieldNode* field = from;
  for (TFieldNode* n = gRespaFieldList.head; n; n = n->next) {
    field = forward ? (field->next ? field->next : FirstField(&gRespaFieldList))
                    : (field->prev ? field->prev : LastField(&gRespaFieldList));
    if (!IsDisplayOnlyField(view, field)) return field;
  }
  return from;
}

/* Back off display-only fields the other way, never past the end of the list. */
TFieldNode* SkipDisplayOnly(RespaWindow* view, TFieldNode* field, bool forward) {
  TFieldNode* start = field;
  while (field && IsDisplayOnlyField(view, field)) field = forward ? field->next : field->prev;
  return field ? field : start;
}

void MoveTo(RespaWindow* view, TFieldNode* field) {
  view->currentField = field;
  ScrollFieldIntoView(view, field);
  view->PostMessage(WM_BEGINFIELDEDIT);
}

}  // namespace

void RespaWindow::EvLButtonDown(UINT modKeys, TPoint& point) {
  TWindow::EvLButtonDown(modKeys, point);
  int x = point.x + static_cast<int>(Scroller->XPos * Scroller->XUnit);
  int y = point.y + static_cast<int>(Scroller->YPos * Scroller->YUnit);
  TFieldNode* field = FindFieldAtPoint(&gRespaFieldList, x, y);
  if (!field || IsDisplayOnlyField(this, field)) return;
  SetFocus();
  CommitFieldEdit(this);
  HideFieldControls(this);
  currentField = field;
  PostMessage(WM_BEGINFIELDEDIT);
}

LRESULT RespaWindow::EvNextField(WPARAM, LPARAM) {
  SetFocus();
  HideFieldControls(this);
  CommitFieldEdit(this);
  if (currentField) MoveTo(this, StepWrapping(this, currentField, true));
  return 0;
}

LRESULT RespaWindow::EvPrevField(WPARAM, LPARAM) {
  SetFocus();
  HideFieldControls(this);
  CommitFieldEdit(this);
  if (currentField) MoveTo(this, StepWrapping(this, currentField, false));
  return 0;
}

LRESULT RespaWindow::EvPageDown(WPARAM, LPARAM) {
  HideFieldControls(this);
  CommitFieldEdit(this);
  TFieldNode* field = currentField;
  if (!field) return 0;
  int limit = field->top + PageHeight(this);
  while (field->next && field->next->top <= limit) field = field->next;
  MoveTo(this, SkipDisplayOnly(this, field, false));
  return 0;
}

LRESULT RespaWindow::EvPageUp(WPARAM, LPARAM) {
  HideFieldControls(this);
  CommitFieldEdit(this);
  TFieldNode* field = currentField;
  if (!field) return 0;
  int limit = std::max(0, field->top - PageHeight(this));
  while (field->prev && field->prev->top >= limit) field = field->prev;
  MoveTo(this, SkipDisplayOnly(this, field, true));
  return 0;
}

LRESULT RespaWindow::EvBeginFieldEdit(WPARAM, LPARAM) {
  BeginFieldEdit(this);
  return 0;
}

/* Fills the edit line (not the record) with a date the field usually takes. */
LRESULT RespaWindow::EvQuickDate(WPARAM, LPARAM) {
  if (!currentField || !records[kSummary1Table]) return 0;
  LONG settlement = kBlankDate;
  records[kSummary1Table]->GetLong(kSettlementDateField, settlement);
  bool blank = settlement == kBlankDate;
  // Without a settlement date the January dates take the current year.
  int month = 0, day = 0, year = 0;
  DecodeDate(blank ? TodayDate() : settlement, month, day, year);
  char text[16] = "";
  switch (currentField->fieldId) {
    case 220:
    case 225:
    case 230:
    case 252:
    case 257:
    case 262:
    case 292:
    case 297:
    case 302:
    case 338:
    case 343:
    case 348:
      if (!blank) std::snprintf(text, sizeof text, "%d/%d/%d", month, day, year % 100);
      break;
    case 221:
    case 226:
    case 231:
    case 253:
    case 258:
    case 263: std::snprintf(text, sizeof text, "1/1/%d", (year + 1) % 100); break;
    case 291:
    case 296:
    case 301:
    case 337:
    case 342:
    case 347: std::snprintf(text, sizeof text, "1/1/%d", year % 100); break;
    default: return 0;
  }
  if (text[0]) editLine->SetWindowText(text);
  return 0;
}
