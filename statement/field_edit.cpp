/*
** Beginning and committing the edit of the current statement field: the edit line or the
** choice list is filled from the record and laid over the field; leaving the field stores
** the new text into the record buffer, repaints the partner, recalculates (or moves the
** dates) and advises watchers.
*/
#include "statement/field_engine.h"

#include "platform/engine/engine.h"
#include "platform/framework/scroller.h"
#include "platform/kernel/text.h"
#include "platform/user/winuser.h"
#include "statement/field_advise.h"
#include "statement/one_controls.h"
#include "statement/recalculation_seam.h"
#include "statement/respa_window.h"
#include "statement/statement_drawing.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_record.h"
#include "tableaccess/system_boxes.h"
#include "tableaccess/validators.h"
#include "tableaccess/value_forms.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kSettlementDateId = 212;
constexpr int kDisbursementDateId = 576;
constexpr UINT kInvalidInputText = 1138;
constexpr UINT kMessageCaption = 1023;

/* The items of a choice list and its height in item heights, doubled (13 is 6.5). */
struct TChoiceList {
  const char* const* items;
  int itemCount;
  int doubledHeight;
};

constexpr const char* kLoanTypes[] = {
    " ", "Conventional Uninsured", "Conventional Insured", "FHA", "FmHA", "VA"};
constexpr const char* kCommissionLines[] = {" ", "[701]", "[702]"};
constexpr const char* kPaidBy[] = {"B", "S", "/"};

const TChoiceList* ChoiceListOf(int id) {
  static const TChoiceList loanTypes{kLoanTypes, 6, 13};
  static const TChoiceList commissionLines{kCommissionLines, 3, 7};
  static const TChoiceList paidBy{kPaidBy, 3, 7};
  switch (id) {
    case 184: return &loanTypes;
    case 379: return &commissionLines;
    case 509:
    case 511:
    case 513:
    case 517:
    case 519:
    case 523:
    case 525: return &paidBy;
    default: return nullptr;
  }
}

bool IsStateField(int id) { return id == 110 || id == 151 || id == 196 || id == 203 || id == 207; }

TPXRecord* RecordOf(RespaWindow* view, const TFieldNode* field) {
  if (!field || field->tableIndex >= kRespaRecordCount) return nullptr;
  return view->records[field->tableIndex];
}

/* The start text of the field's kind from its record; false when it cannot be read. */
bool ReadStartText(RespaWindow* view, const TFieldNode* field, char* text) {
  TPXRecord* record = RecordOf(view, field);
  if (!record) return false;
  int number = field->fieldNumber;
  text[0] = '\0';
  switch (field->displayKind) {
    case kFieldKindText:
    case kFieldKindChoice: return record->GetString(number, text, kFieldTextSize);
    case kFieldKindMoney:
    case kFieldKindDecimal:
    case kFieldKindDecimal2: {
      double value = 0;
      if (!record->GetDouble(number, value)) return false;
      std::snprintf(text, kFieldTextSize, field->displayKind == kFieldKindMoney ? "%.2lf" : "%.5lf",
                    value);
      return true;
    }
    case kFieldKindWhole: {
      SHORT value = 0;
      if (!record->GetShort(number, value)) return false;
      std::snprintf(text, kFieldTextSize, "%hd", value);
      return true;
    }
    case kFieldKindDate: {
      LONG date = 0;
      if (!record->GetLong(number, date)) return false;
      if (date != kBlankDate) {
        int month, day, year;
        DecodeDate(date, month, day, year);
        std::snprintf(text, kFieldTextSize, "%d/%d/%d", month, day, year % 100);
      }
      return true;
    }
    default: return false;
  }
}

TValidator* ValidatorFor(const TFieldNode* field) {
  switch (field->displayKind) {
    case kFieldKindText: return IsStateField(field->fieldId) ? new TStateValidator : nullptr;
    case kFieldKindMoney: return new TMoneyValidator;
    case kFieldKindWhole: return new TIntegerValidator;
    case kFieldKindDecimal:
    case kFieldKindDecimal2: return new TFloatValidator;
    case kFieldKindDate: return new TDateValidator;
    default: return nullptr;
  }
}

UINT TextLimitFor(const TFieldNode* field) {
  switch (field->displayKind) {
    case kFieldKindText: return field->extraWord;
    case kFieldKindMoney:
    case kFieldKindDecimal:
    case kFieldKindDecimal2: return 14;
    case kFieldKindWhole: return 4;
    default: return 12;
  }
}

void PlaceControl(TWindow* control, int x, int y, int w, int h) {
  control->SetWindowPos(nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  control->Show(SW_SHOW);
  control->SetFocus();
}

void BeginEditLine(RespaWindow* view, const TFieldNode* field, int x, int y) {
  TOneEdit* edit = view->editLine;
  edit->SetWindowText(view->startText);
  edit->SendMessage(EM_LIMITTEXT, TextLimitFor(field));
  edit->ReplaceValidator(ValidatorFor(field));
  PlaceControl(edit, x, y, field->right - field->left + 1, field->bottom - field->top + 2);
  edit->SetSelection(0, static_cast<UINT>(-1));
}

/* No item is selected unless one begins with the start text, so passing through a field
   whose value is in no list (or empty) changes nothing. False when the list could not be
   made: then the field is not being edited, and a commit cannot read an empty choice. */
bool BeginChoiceList(RespaWindow* view, const TFieldNode* field, int x, int y) {
  TOneLBox* list = view->choiceList;
  if (!list->HWindow) {
    if (!list->Create()) return false;
    list->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(gStatementFont), FALSE);
  }
  list->ClearList();
  const TChoiceList* choices = ChoiceListOf(field->fieldId);
  int width = field->right - field->left + (choices ? 3 : 1);
  int height = field->bottom - field->top + 2;
  if (choices) {
    for (int i = 0; i < choices->itemCount; ++i) list->AddString(choices->items[i]);
    int itemHeight = static_cast<int>(list->SendMessage(LB_GETITEMHEIGHT, 0, 0));
    height = itemHeight * choices->doubledHeight / 2;
  }
  PlaceControl(list, x, y, width, height);
  int match = view->startText[0] ? list->FindString(view->startText, -1) : LB_ERR;
  list->SetSelIndex(match >= 0 ? match : -1);
  return true;
}

/* The text the control holds for the current field, cut at a line break. */
void ReadCommitText(RespaWindow* view, const TFieldNode* field, char* text) {
  text[0] = '\0';
  if (field->displayKind == kFieldKindChoice) {
    TOneLBox* list = view->choiceList;
    int index = list->GetSelIndex();
    if (index < 0 || list->GetStringLen(index) >= kFieldTextSize)
      std::strcpy(text, view->startText);  // nothing chosen: the value stays
    else list->GetString(text, index);
  } else {
    view->editLine->GetWindowText(text, kFieldTextSize);
  }
  text[std::strcspn(text, "\r\n")] = '\0';
}

void ShowInvalidInput(RespaWindow* view) {
  MessageBox(view->HWindow, ResourceString(kInvalidInputText).text,
             ResourceString(kMessageCaption).text, MB_ICONEXCLAMATION | MB_OK);
}

void StoreCommitText(TPXRecord* record, const TFieldNode* field, const char* text) {
  int number = field->fieldNumber;
  switch (field->displayKind) {
    case kFieldKindText:
    case kFieldKindChoice: record->SetString(number, text); break;
    case kFieldKindMoney:
    case kFieldKindDecimal:
    case kFieldKindDecimal2: record->SetDouble(number, std::atof(text)); break;
    case kFieldKindWhole: record->SetLong(number, std::atol(text)); break;
    case kFieldKindDate: {
      int month, day, year;
      LONG date = kBlankDate;
      if (ParseDate(text, month, day, year)) EncodeDate(date, month, day, year);
      record->SetLong(number, date);
      break;
    }
    default: break;
  }
}

}  // namespace

void HideFieldControls(RespaWindow* view) {
  if (view->editLine && view->editLine->HWindow) view->editLine->Show(SW_HIDE);
  if (view->choiceList && view->choiceList->HWindow) view->choiceList->Show(SW_HIDE);
}

void BeginFieldEdit(RespaWindow* view) {
  TFieldNode* field = view->currentField;
  view->fieldBeingEdited = nullptr;
  // Only the control of this field's kind shows over it.
  HideFieldControls(view);
  if (!field || view->IsClosing()) return;
  int kind = field->displayKind;
  bool edited = kind >= kFieldKindText && kind <= kFieldKindDate;
  if (edited && ReadStartText(view, field, view->startText)) {
    int x = field->left - static_cast<int>(view->Scroller->XPos * view->Scroller->XUnit);
    int y = field->top - static_cast<int>(view->Scroller->YPos * view->Scroller->YUnit);
    bool begun = true;
    if (kind == kFieldKindChoice) begun = BeginChoiceList(view, field, x, y);
    else BeginEditLine(view, field, x, y);
    if (begun) view->fieldBeingEdited = field;
  }
  EngineDoIdleWork();
}

void CommitFieldEdit(RespaWindow* view) {
  TFieldNode* field = view->currentField;
  if (!field || field != view->fieldBeingEdited) return;
  TPXRecord* record = RecordOf(view, field);
  if (!record) return;
  char text[kFieldTextSize];
  ReadCommitText(view, field, text);
  // An unchanged value passes even when the validator would refuse what is stored.
  if (std::strcmp(text, view->startText) == 0) return;
  if (field->displayKind != kFieldKindChoice) {
    TValidator* validator = view->editLine->GetValidator();
    if (validator && !validator->IsValid(text)) {
      ShowInvalidInput(view);
      return;
    }
  }
  int id = field->fieldId;
  LONG oldDate = kBlankDate;
  if (id == kSettlementDateId || id == kDisbursementDateId)
    record->GetLong(field->fieldNumber, oldDate);
  if (IsStateField(id)) AnsiUpper(text);
  StoreCommitText(record, field, text);
  InvalidateDependentFields(view, field);
  if (id == kSettlementDateId || id == kDisbursementDateId) {
    LONG newDate = kBlankDate;
    record->GetLong(field->fieldNumber, newDate);
    if (id == kSettlementDateId) CallMoveDates(view, oldDate, newDate);
    else CallFillSettlementDate(view, oldDate, newDate);
  } else {
    CallRecalcForField(view, field);
  }
  PostFieldAdvise(view->frame, field->name);
}
