/*
** Keyboard navigation in dialogs: the tab order (controls with WS_TABSTOP in template order),
** groups (from a WS_GROUP control up to the next one), the default push button, and
** IsDialogMessage, which turns Tab, Shift+Tab, the arrows, Enter and Esc into focus moves and
** commands unless the control's WM_GETDLGCODE answer claims the key, and the characters
** marked with '&' in controls' texts (Alt+character, or the character alone where the focus
** control takes no characters) into the focus on, or a press of, the control they name.
*/
#include "platform/user/dialog_state.h"

#include "platform/user/button_control.h"
#include "platform/user/input.h"
#include "platform/user/message_box.h"
#include "platform/user/message_queue.h"
#include "platform/user/static_control.h"
#include "platform/user/system_info.h"
#include "platform/user/window_class.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_styles.h"

#include <algorithm>
#include <cctype>
#include <strings.h>
#include <vector>

namespace {

std::vector<HWND> Controls(HWND dialog) {
  std::vector<HWND> controls;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    controls.push_back(c);
  return controls;
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)); }

/* A control's own visibility counts, so that a dialog not yet shown has a tab order. */
bool Usable(HWND hwnd) { return (StyleOf(hwnd) & WS_VISIBLE) && !(StyleOf(hwnd) & WS_DISABLED); }

LRESULT DialogCodeOf(HWND hwnd, const MSG* msg = nullptr) {
  return SendMessage(hwnd, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

/* The dialog's direct child that holds `hwnd` (a control inside a control counts as it). */
HWND DirectChild(HWND dialog, HWND hwnd) {
  while (hwnd && GetParent(hwnd) != dialog) hwnd = GetParent(hwnd);
  return hwnd;
}

int IndexOf(const std::vector<HWND>& list, HWND hwnd) {
  auto it = std::find(list.begin(), list.end(), hwnd);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

/* Tabbing into a radio group lands on its checked button. */
HWND CheckedRadioOfGroup(HWND dialog, HWND radio) {
  if (!(DialogCodeOf(radio) & DLGC_RADIOBUTTON) ||
      SendMessage(radio, BM_GETCHECK, 0, 0) == BST_CHECKED)
    return radio;
  for (HWND other = GetNextDlgGroupItem(dialog, radio, FALSE); other && other != radio;
       other = GetNextDlgGroupItem(dialog, other, FALSE)) {
    if ((DialogCodeOf(other) & DLGC_RADIOBUTTON) &&
        SendMessage(other, BM_GETCHECK, 0, 0) == BST_CHECKED)
      return other;
  }
  return radio;
}

HWND ButtonForEnter(HWND dialog, HWND focus, int* id) {
  if (focus && (DialogCodeOf(focus) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    *id = GetDlgCtrlID(focus);
    return focus;
  }
  LRESULT defId = SendMessage(dialog, DM_GETDEFID, 0, 0);
  *id = HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : IDOK;
  return GetDlgItem(dialog, *id);
}

/* Enter and Esc press a button: a disabled one only beeps. */
void PressCommand(HWND dialog, int id, HWND button) {
  if (button && !IsWindowEnabled(button)) {
    MessageBeep(0);
    return;
  }
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool MoveInGroup(HWND dialog, HWND control, bool previous) {
  HWND next = GetNextDlgGroupItem(dialog, control, previous);
  if (!next || next == control) return true;
  MoveDialogFocus(dialog, next, true);
  bool autoRadio = (DialogCodeOf(next) & DLGC_RADIOBUTTON) &&
                   (StyleOf(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
  if (autoRadio && IsWindow(next)) SendMessage(next, BM_CLICK, 0, 0);
  return true;
}

/* The character a control's text marks with '&' (upper-cased), 0 when none. */
int MnemonicOf(HWND control) {
  char cls[16] = {};
  GetClassName(control, cls, sizeof cls);
  if (strcasecmp(cls, "static") == 0 && (StyleOf(control) & SS_NOPREFIX)) return 0;
  char text[256] = {};
  GetWindowText(control, text, sizeof text);
  for (const char* p = text; *p; ++p) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;
      continue;
    }
    return std::toupper(static_cast<unsigned char>(p[1]));
  }
  return 0;
}

/* The control a label hands its mnemonic to: the next one that can take the focus. */
HWND ControlAfterLabel(const std::vector<HWND>& list, int label) {
  int count = static_cast<int>(list.size());
  for (int step = 1; step < count; ++step) {
    HWND next = list[static_cast<size_t>((label + step) % count)];
    if (Usable(next) && !(DialogCodeOf(next) & DLGC_STATIC)) return next;
  }
  return nullptr;
}

/* A typed or Alt character that names a control: labels pass the focus on, buttons are
** pressed. True when some control answered to it. */
bool HandleMnemonic(HWND dialog, HWND focus, WPARAM ch) {
  int wanted = std::toupper(static_cast<int>(ch & 0xFF));
  if (wanted <= ' ') return false;
  std::vector<HWND> list = Controls(dialog);
  int count = static_cast<int>(list.size());
  int start = IndexOf(list, DirectChild(dialog, focus));
  for (int step = 1; step <= count; ++step) {
    int at = ((start + step) % count + count) % count;
    HWND control = list[static_cast<size_t>(at)];
    if (!Usable(control) || MnemonicOf(control) != wanted) continue;
    LRESULT code = DialogCodeOf(control);
    if (code & DLGC_STATIC) {
      HWND next = ControlAfterLabel(list, at);
      if (!next) continue;
      MoveDialogFocus(dialog, next, true);
    } else if (code & DLGC_BUTTON) {
      MoveDialogFocus(dialog, control, false);
      if (IsWindow(control)) SendMessage(control, BM_CLICK, 0, 0);
    } else {
      MoveDialogFocus(dialog, control, true);
    }
    return true;
  }
  return false;
}

/* True when the dialog manager took the key. */
bool HandleKeyDown(HWND dialog, const MSG& msg) {
  LRESULT code = DialogCodeOf(msg.hwnd, &msg);
  if (code & DLGC_WANTALLKEYS) return false;
  HWND control = DirectChild(dialog, msg.hwnd == dialog ? nullptr : msg.hwnd);
  switch (msg.wParam) {
    case VK_TAB: {
      if (code & DLGC_WANTTAB) return false;
      HWND next = GetNextDlgTabItem(dialog, control, GetKeyState(VK_SHIFT) < 0);
      if (next) MoveDialogFocus(dialog, next, true);
      return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if ((code & DLGC_WANTARROWS) || !control) return false;
      return MoveInGroup(dialog, control, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
    case VK_RETURN: {
      int id = 0;
      HWND button = ButtonForEnter(dialog, control, &id);
      PressCommand(dialog, id, button);
      return true;
    }
    case VK_ESCAPE: PressCommand(dialog, IDCANCEL, GetDlgItem(dialog, IDCANCEL)); return true;
    default: return false;
  }
}

}  // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  if (!IsWindow(dialog)) return nullptr;
  std::vector<HWND> list = Controls(dialog);
  int count = static_cast<int>(list.size());
  if (count == 0) return nullptr;
  int start = IndexOf(list, control);
  if (start < 0) start = previous ? count : -1;
  for (int step = 1; step <= count; ++step) {
    int i = ((start + (previous ? -step : step)) % count + count) % count;
    HWND candidate = list[static_cast<size_t>(i)];
    if (candidate == control) break;
    if ((StyleOf(candidate) & WS_TABSTOP) && Usable(candidate))
      return CheckedRadioOfGroup(dialog, candidate);
  }
  return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  if (!IsWindow(dialog)) return nullptr;
  std::vector<HWND> list = Controls(dialog);
  if (list.empty()) return nullptr;
  int at = control ? IndexOf(list, control) : 0;
  if (at < 0) return nullptr;
  int first = at;
  while (first > 0 && !(StyleOf(list[static_cast<size_t>(first)]) & WS_GROUP)) --first;
  int end = at + 1;
  while (end < static_cast<int>(list.size()) &&
         !(StyleOf(list[static_cast<size_t>(end)]) & WS_GROUP))
    ++end;
  int size = end - first;
  for (int step = 1; step < size; ++step) {
    int offset = ((at - first + (previous ? -step : step)) % size + size) % size;
    HWND candidate = list[static_cast<size_t>(first + offset)];
    if (Usable(candidate)) return candidate;
  }
  return control ? control : list.front();
}

BOOL IsDialogMessage(HWND dialog, LPMSG msg) {
  if (!msg || !dialog || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  if (msg->message == WM_KEYDOWN && HandleKeyDown(dialog, *msg)) return TRUE;
  if (msg->message == WM_SYSCHAR && HandleMnemonic(dialog, msg->hwnd, msg->wParam)) return TRUE;
  if (msg->message == WM_CHAR &&
      !(DialogCodeOf(msg->hwnd, msg) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) &&
      HandleMnemonic(dialog, msg->hwnd, msg->wParam))
    return TRUE;
  TranslateMessage(msg);
  DispatchMessage(msg);
  return TRUE;
}

void MoveDialogFocus(HWND dialog, HWND control, bool selectText) {
  if (!control || !IsWindow(control)) return;
  SetFocus(control);
  if (GetFocus() != control) return;
  if (selectText && (DialogCodeOf(control) & DLGC_HASSETSEL))
    SendMessage(control, EM_SETSEL, 0, -1);
  UpdateDialogDefaultButton(dialog, control);
}

HWND DefaultButtonOf(HWND dialog) {
  for (HWND c : Controls(dialog))
    if (DialogCodeOf(c) & DLGC_DEFPUSHBUTTON) return c;
  return nullptr;
}

void UpdateDialogDefaultButton(HWND dialog, HWND focus) {
  LRESULT focusCode = focus ? DialogCodeOf(focus) : 0;
  bool focusIsPush = (focusCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
  LRESULT defId = SendMessage(dialog, DM_GETDEFID, 0, 0);
  int id = HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : 0;
  for (HWND c : Controls(dialog)) {
    LRESULT code = DialogCodeOf(c);
    if (!(code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) continue;
    bool wanted = focusIsPush ? c == focus : GetDlgCtrlID(c) == id;
    if (wanted && (code & DLGC_UNDEFPUSHBUTTON))
      SendMessage(c, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    else if (!wanted && (code & DLGC_DEFPUSHBUTTON))
      SendMessage(c, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
}
