/*
** The statement window's edit line and choice list.
*/
#include "statement/one_controls.h"

#include "platform/user/winuser.h"
#include "statement/respa_window.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }

/* Tab and Shift+Tab, Page Up and Page Down as the parent's field moves; 0 for other keys. */
UINT FieldMoveOf(UINT key) {
  switch (key) {
    case VK_TAB: return ShiftDown() ? WM_PREVFIELD : WM_NEXTFIELD;
    case VK_PRIOR: return WM_PAGEUPFIELD;
    case VK_NEXT: return WM_PAGEDOWNFIELD;
    default: return 0;
  }
}

}  // namespace

DEFINE_RESPONSE_TABLE1(TOneEdit, TEdit)
EV_WM_KEYDOWN, EV_WM_CHAR, EV_WM_RBUTTONDOWN, EV_WM_LBUTTONDBLCLK, END_RESPONSE_TABLE;

TOneEdit::TOneEdit(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
                   UINT textLimit, bool multiline)
    : TEdit(parent, id, text, x, y, w, h, textLimit, multiline) {
  // Not a tab stop, not shown, and never growing a second line.
  Attr.Style = WS_CHILD | WS_BORDER | ES_AUTOHSCROLL | (multiline ? ES_MULTILINE : 0);
  DisableTransfer();
}

void TOneEdit::ReplaceValidator(TValidator* validator) { SetValidator(validator); }

void TOneEdit::EvKeyDown(UINT key, UINT repeatCount, UINT flags) {
  DefaultProcessing();
  if (key == VK_PRIOR || key == VK_NEXT) Parent->PostMessage(FieldMoveOf(key), GetId());
}

void TOneEdit::EvChar(UINT key, UINT repeatCount, UINT flags) {
  if (key == '\t') {
    Parent->PostMessage(FieldMoveOf(VK_TAB), GetId());
    return;
  }
  if (key == '\b' || !Validator) {
    DefaultProcessing();
    return;
  }
  TypeCheckedCharacter();
}

/* The edit control itself places the character (honouring its limit and selection); the
   validator then judges the whole new text. */
void TOneEdit::TypeCheckedCharacter() {
  std::string before = GetText();
  UINT start = 0, end = 0;
  GetSelection(start, end);
  DefaultProcessing();
  std::string after = GetText();
  // Room for the check to change the text in place within the control's limit.
  std::string checked = after;
  checked.resize(std::max<std::size_t>(after.size(), 255) + 1, '\0');
  if (!Validator->IsValidInput(checked.data(), true)) {
    SetWindowText(before.c_str());
    SetSelection(start, end);
    return;
  }
  checked.resize(std::strlen(checked.c_str()));
  if (checked != after) {
    UINT caretStart = 0, caretEnd = 0;
    GetSelection(caretStart, caretEnd);
    SetWindowText(checked.c_str());
    SetSelection(caretStart, caretEnd);
  }
}

void TOneEdit::EvRButtonDown(UINT modKeys, TPoint& point) {
  DefaultProcessing();
  Parent->SendMessage(WM_FIELDMENU, GetId());
}

void TOneEdit::EvLButtonDblClk(UINT modKeys, TPoint& point) {
  DefaultProcessing();
  Parent->SendMessage(WM_QUICKDATE, GetId());
}

DEFINE_RESPONSE_TABLE1(TOneLBox, TListBox)
EV_WM_KEYDOWN, END_RESPONSE_TABLE;

TOneLBox::TOneLBox(TWindow* parent, int id, int x, int y, int w, int h)
    : TListBox(parent, id, x, y, w, h) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_GROUP | WS_TABSTOP | LBS_NOTIFY;
  DisableTransfer();
}

void TOneLBox::EvKeyDown(UINT key, UINT repeatCount, UINT flags) {
  if (UINT move = FieldMoveOf(key)) {
    Parent->PostMessage(move, GetId());
    return;
  }
  DefaultProcessing();
}
