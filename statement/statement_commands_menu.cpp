/*
** The statement's field menu (right button on the window or on the edit line) and its
** Calendar command.
*/
#include "statement/respa_window.h"

#include "platform/framework/popup_menu.h"
#include "platform/user/winuser.h"
#include "statement/field_engine.h"
#include "statement/one_controls.h"
#include "tableaccess/calendar.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kDateFieldIds[] = {212, 220, 221, 225, 226, 230, 231, 252, 253, 257, 258, 262, 263,
                                 291, 292, 296, 297, 301, 302, 337, 338, 342, 343, 347, 348, 576};

bool IsDateFieldId(int id) {
  return std::find(std::begin(kDateFieldIds), std::end(kDateFieldIds), id) !=
         std::end(kDateFieldIds);
}

bool IsAdjustmentFieldId(int id) {
  return (id >= 235 && id <= 242) || (id >= 267 && id <= 274) || (id >= 306 && id <= 319) ||
         (id >= 352 && id <= 365);
}

}  // namespace

void RespaWindow::EvRButtonDown(UINT modKeys, TPoint& point) {
  TWindow::EvRButtonDown(modKeys, point);
  EvFieldMenu(0, 0);
}

LRESULT RespaWindow::EvFieldMenu(WPARAM, LPARAM) {
  TPopupMenu menu;
  int id = currentField ? currentField->fieldId : 0;
  if (IsDateFieldId(id)) {
    menu.AppendMenu(MF_STRING, 901, "Calendar");
    menu.AppendMenu(MF_SEPARATOR);
  } else if (IsAdjustmentFieldId(id)) {
    menu.AppendMenu(MF_STRING, 902, "Prorater");
    menu.AppendMenu(MF_SEPARATOR);
  }
  menu.AppendMenu(MF_STRING, 4, "Buyers");
  menu.AppendMenu(MF_STRING, 5, "Sellers");
  menu.AppendMenu(MF_STRING, 6, "Lender");
  menu.AppendMenu(MF_STRING, 7, "Settlement Agent");
  POINT cursor{};
  GetCursorPos(&cursor);
  menu.TrackPopupMenu(TPM_RIGHTBUTTON, TPoint(cursor.x, cursor.y), HWindow);
  // The chosen command comes afterwards, posted: the typed value is in the record by then.
  CommitFieldEdit(this);
  return 0;
}

/* The chosen date goes into the edit line only; it reaches the record when committed. */
void RespaWindow::CmCalendar() {
  TCalendar calendar(this);
  LONG date = kBlankDate;
  bool isDate = currentField && currentField->displayKind == kFieldKindDate &&
                currentField->tableIndex < kRespaRecordCount && records[currentField->tableIndex];
  if (isDate && !records[currentField->tableIndex]->GetLong(currentField->fieldNumber, date))
    date = kBlankDate;
  calendar.SetTransferBuffer(&date, sizeof date);
  if (calendar.Execute() != IDOK || !isDate) return;
  int month, day, year;
  DecodeDate(date, month, day, year);
  char text[16];
  std::snprintf(text, sizeof text, "%d/%d/%d", month, day, year % 100);
  editLine->SetText(text);
}
