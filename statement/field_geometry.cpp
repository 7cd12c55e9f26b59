/*
** Where statement fields stand: which are shown at the scroll position, repainting them and
** their partners, bringing a field into view, and which fields are never edited.
*/
#include "statement/field_engine.h"

#include "platform/framework/scroller.h"
#include "statement/respa_window.h"
#include "tableaccess/field_list.h"

#include <algorithm>

namespace {

/* The client area in form coordinates. */
TRect VisibleFormArea(RespaWindow* view) {
  TRect client = view->GetClientRect();
  long left = view->Scroller->XPos * view->Scroller->XUnit;
  long top = view->Scroller->YPos * view->Scroller->YUnit;
  return TRect(left, top, left + client.Width(), top + client.Height());
}

constexpr int kDisplayOnlyIds[] = {101, 215, 243, 275, 320, 321, 322, 323, 325, 329, 330, 366,
                                   367, 368, 369, 514, 515, 520, 521, 526, 527, 555, 556};

}  // namespace

bool IsFieldVisible(RespaWindow* view, const TFieldNode* field) {
  if (!field || !view->Scroller) return false;
  TRect area = VisibleFormArea(view);
  return field->bottom >= area.top && field->top <= area.bottom && field->right >= area.left &&
         field->left <= area.right;
}

void InvalidateField(RespaWindow* view, const TFieldNode* field) {
  if (!view->HWindow || !IsFieldVisible(view, field)) return;
  // A recalculation asks for every field of its rules; most of them show what they showed.
  if (view->ShowsText(field, FieldShownText(view, field))) return;
  long dx = view->Scroller->XPos * view->Scroller->XUnit;
  long dy = view->Scroller->YPos * view->Scroller->YUnit;
  // The frame is drawn on the right and bottom edges too.
  view->InvalidateRect(
      TRect(field->left - dx, field->top - dy, field->right + 1 - dx, field->bottom + 1 - dy),
      true);
}

void InvalidateFieldById(RespaWindow* view, int id) {
  InvalidateField(view, FindFieldByNumber(&gRespaFieldList, id));
}

int PartnerFieldId(int id) {
  if (id == 213 || id == 214) return id + 31;
  if (id == 244 || id == 245) return id - 31;
  if (id >= 220 && id <= 242) return id + 32;
  if (id >= 252 && id <= 274) return id - 32;
  if (id == 278) return 326;
  if (id == 326) return 278;
  if (id >= 290 && id <= 319) return id + 46;
  if (id >= 336 && id <= 365) return id - 46;
  if (id == 329 || id == 330) return id + 50;
  if (id == 379 || id == 380) return id - 50;
  if (id == 555) return 215;
  if (id == 556) return 325;
  return 0;
}

void InvalidateDependentFields(RespaWindow* view, const TFieldNode* field) {
  if (!field) return;
  if (int partner = PartnerFieldId(field->fieldId)) InvalidateFieldById(view, partner);
}

bool IsDisplayOnlyField(RespaWindow*, const TFieldNode* field) {
  if (!field) return true;
  return std::find(std::begin(kDisplayOnlyIds), std::end(kDisplayOnlyIds), field->fieldId) !=
         std::end(kDisplayOnlyIds);
}

void ScrollFieldIntoView(RespaWindow* view, const TFieldNode* field) {
  if (!field || !view->Scroller) return;
  TScroller* scroller = view->Scroller;
  TRect area = VisibleFormArea(view);
  if (field->bottom > area.bottom || field->top < area.top) {
    long row = std::max(0L, static_cast<long>(field->top / scroller->YUnit - scroller->YPage / 2));
    scroller->ScrollTo(scroller->XPos, row);
  }
  area = VisibleFormArea(view);
  if (field->right > area.right || field->left < area.left) {
    long column =
        std::max(0L, static_cast<long>(field->left / scroller->XUnit - scroller->XPage / 5));
    scroller->ScrollTo(column, scroller->YPos);
  }
}
