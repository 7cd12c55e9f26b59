/*
** TEdit: text limit, transfer, validation of keystrokes and of the whole text, clipboard.
*/
#include "platform/framework/edit.h"

#include "platform/framework/frame.h"
#include "platform/user/system_info.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <algorithm>
#include <cstring>
#include <vector>

TEdit::TEdit(TWindow* parent, int id, const char* text, int x, int y, int w, int h, UINT textLimit,
             bool multiline, TModule* module)
    : TStatic(parent, id, text, x, y, w, h, textLimit, module) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL;
  if (multiline) Attr.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
  EnableTransfer();
}

TEdit::TEdit(TWindow* parent, int resourceId, UINT textLimit, TModule* module)
    : TStatic(parent, resourceId, textLimit, module) {
  EnableTransfer();
}

TEdit::~TEdit() { delete Validator; }

void TEdit::SetupWindow() {
  TStatic::SetupWindow();
  // The limit counts the terminator of the transfer field.
  if (TextLimit) LimitText(TextLimit - 1);
}

void TEdit::LimitText(UINT limit) { SendMessage(EM_LIMITTEXT, limit); }

void TEdit::SetValidator(TValidator* validator) {
  if (validator == Validator) return;
  delete Validator;
  Validator = validator;
}

bool TEdit::IsValid(bool reportError) {
  if (!Validator) return true;
  std::string text = GetText();
  if (Validator->IsValid(text.c_str())) return true;
  if (reportError) {
    Validator->Error(this);
    SetFocus();
  }
  return false;
}

bool TEdit::CanClose() {
  if (!TStatic::CanClose()) return false;
  // A disabled edit cannot be corrected by the user, so it never holds the dialog open.
  if (!IsWindowEnabled()) return true;
  return IsValid(true);
}

UINT TEdit::Transfer(void* buffer, TTransferDirection direction) {
  if (Validator && Validator->HasOption(voTransfer)) {
    std::string text = GetText();
    std::vector<char> work(text.begin(), text.end());
    work.resize(std::max<size_t>(work.size(), TextLimit) + 1, '\0');
    UINT size = Validator->Transfer(work.data(), buffer, direction);
    if (size) {
      if (direction == tdSetData) SetText(work.data());
      return size;
    }
  }
  return TStatic::Transfer(buffer, direction);
}

void TEdit::GetSelection(UINT& start, UINT& end) const {
  DWORD s = 0, e = 0;
  if (HWindow)
    ::SendMessage(HWindow, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  start = s;
  end = e;
}

void TEdit::SetSelection(UINT start, UINT end) { SendMessage(EM_SETSEL, start, end); }

void TEdit::Insert(const char* text) {
  SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text ? text : ""));
}

bool TEdit::IsModified() const {
  return HWindow && ::SendMessage(HWindow, EM_GETMODIFY, 0, 0) != 0;
}

void TEdit::ClearModify() { SendMessage(EM_SETMODIFY, FALSE); }

void TEdit::EvChar(UINT key, UINT repeatCount, UINT flags) {
  // Control characters (backspace, tab, Enter) are the edit's own business.
  if (!Validator || key < 0x20) {
    TStatic::EvChar(key, repeatCount, flags);
    return;
  }
  std::string text = GetText();
  UINT start = 0, end = 0;
  GetSelection(start, end);
  start = std::min<UINT>(start, static_cast<UINT>(text.size()));
  end = std::min<UINT>(std::max(start, end), static_cast<UINT>(text.size()));
  std::string candidate = text.substr(0, start) + static_cast<char>(key) + text.substr(end);
  if (TextLimit && candidate.size() >= TextLimit) {
    MessageBeep(0);
    return;
  }
  // The partial check may rewrite the text (upper case, fill characters): room for the limit.
  std::vector<char> work(candidate.begin(), candidate.end());
  work.resize(std::max<size_t>(candidate.size(), TextLimit) + 1, '\0');
  if (!Validator->IsValidInput(work.data(), false)) {
    MessageBeep(0);
    return;
  }
  if (candidate == work.data()) {
    TStatic::EvChar(key, repeatCount, flags);
    return;
  }
  SetText(work.data());
  UINT caret = std::min<UINT>(start + 1, static_cast<UINT>(std::strlen(work.data())));
  SetSelection(caret, caret);
}

void TEdit::EvKillFocus(HWND getFocus) { TStatic::EvKillFocus(getFocus); }

void TEdit::CeHasSelection(TCommandEnabler& ce) {
  UINT start = 0, end = 0;
  GetSelection(start, end);
  ce.Enable(start != end);
}

DEFINE_RESPONSE_TABLE1(TEdit, TStatic)
EV_WM_CHAR, EV_WM_KILLFOCUS, EV_COMMAND(CM_EDITCUT, Cut), EV_COMMAND(CM_EDITCOPY, Copy),
    EV_COMMAND(CM_EDITPASTE, Paste), EV_COMMAND(CM_EDITUNDO, Undo),
    EV_COMMAND_ENABLE(CM_EDITCUT, CeHasSelection), EV_COMMAND_ENABLE(CM_EDITCOPY, CeHasSelection),
    EV_COMMAND_ENABLE(CM_EDITPASTE, CeCanPaste), END_RESPONSE_TABLE;
