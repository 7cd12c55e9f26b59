/*
** The dialog class and DefDlgProc: the dialog procedure is asked first and its answer read by
** the dialog convention (TRUE means handled, the message's result in DWL_MSGRESULT, except
** for the messages whose result the procedure answers itself); what it leaves is the dialog's
** default processing: background from WM_CTLCOLORDLG, focus kept across activation, the
** default button, WM_NEXTDLGCTL and closing as Cancel.
*/
#include "platform/user/dialog_state.h"

#include "platform/gdi/gdi.h"
#include "platform/user/button_control.h"
#include "platform/user/static_control.h"
#include "platform/user/input.h"
#include "platform/user/message_box.h"
#include "platform/user/menu_calls.h"
#include "platform/user/message_queue.h"
#include "platform/user/painting.h"
#include "platform/user/system_classes.h"
#include "platform/user/system_info.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_styles.h"

#include <map>

namespace {

std::map<HWND, DialogState>& States() {
  static std::map<HWND, DialogState> states;
  return states;
}

/* Messages whose result the dialog procedure answers directly, not through DWL_MSGRESULT. */
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return true;
    default: return false;
  }
}

bool IsInside(HWND dialog, HWND hwnd) { return hwnd && IsChild(dialog, hwnd); }

LRESULT EraseDialog(HWND dialog, HDC dc) {
  auto brush = reinterpret_cast<HBRUSH>(SendMessage(
      dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dialog)));
  if (!brush) return 0;
  RECT client;
  GetClientRect(dialog, &client);
  FillRect(dc, &client, brush);
  return 1;
}

/* The focus goes back to the control that had it, or to the first tab stop. */
void RestoreFocus(HWND dialog) {
  DialogState* state = FindDialogState(dialog);
  HWND target = state && IsInside(dialog, state->savedFocus) && IsWindowEnabled(state->savedFocus)
                    ? state->savedFocus
                    : GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (target) MoveDialogFocus(dialog, target, false);
}

void SaveFocus(HWND dialog) {
  DialogState* state = FindDialogState(dialog);
  HWND focus = GetFocus();
  if (state && IsInside(dialog, focus)) state->savedFocus = focus;
}

LRESULT NextControl(HWND dialog, WPARAM wParam, LPARAM lParam) {
  HWND target;
  if (LOWORD(lParam)) {
    target = reinterpret_cast<HWND>(wParam);
  } else {
    HWND focus = GetFocus();
    target = GetNextDlgTabItem(dialog, IsInside(dialog, focus) ? focus : nullptr, wParam != 0);
  }
  if (IsInside(dialog, target)) MoveDialogFocus(dialog, target, true);
  return 0;
}

LRESULT SetDefaultId(HWND dialog, DialogState& state, int id) {
  state.defaultId = id;
  state.defaultIdSet = true;
  HWND focus = GetFocus();
  UpdateDialogDefaultButton(dialog, IsInside(dialog, focus) ? focus : nullptr);
  return TRUE;
}

void CloseAsCancel(HWND dialog) {
  HWND cancel = GetDlgItem(dialog, IDCANCEL);
  if (cancel && !IsWindowEnabled(cancel)) {
    MessageBeep(0);
    return;
  }
  PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
              reinterpret_cast<LPARAM>(cancel));
}

LRESULT DefaultDialogProcessing(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogState* state = FindDialogState(dialog);
  switch (message) {
    case WM_ERASEBKGND: return EraseDialog(dialog, reinterpret_cast<HDC>(wParam));
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) SaveFocus(dialog);
      else if (!IsInside(dialog, GetFocus()))
        RestoreFocus(dialog);  // a control may have it already
      return 0;
    case WM_SETFOCUS: RestoreFocus(dialog); return 0;
    case WM_CLOSE: CloseAsCancel(dialog); return 0;
    case WM_NEXTDLGCTL: return NextControl(dialog, wParam, lParam);
    case DM_GETDEFID: {
      HWND button = DefaultButtonOf(dialog);
      int id =
          state && state->defaultIdSet ? state->defaultId : (button ? GetDlgCtrlID(button) : 0);
      return id ? MAKELONG(id, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID: return state ? SetDefaultId(dialog, *state, static_cast<int>(wParam)) : FALSE;
    case DM_REPOSITION: return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state ? state->font : nullptr);
    case WM_SETFONT:
      if (state && !state->font) state->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_NCDESTROY:
      if (state && state->ownsFont && state->font) DeleteObject(state->font);
      if (HMENU menu = GetMenu(dialog)) {
        SetMenu(dialog, nullptr);
        DestroyMenu(menu);
      }
      ForgetDialogState(dialog);
      return DefWindowProc(dialog, message, wParam, lParam);
    default: return DefWindowProc(dialog, message, wParam, lParam);
  }
}

}  // namespace

DialogState* FindDialogState(HWND dialog) {
  auto it = States().find(dialog);
  return it == States().end() ? nullptr : &it->second;
}

DialogState& CreateDialogState(HWND dialog) { return States()[dialog]; }

void ForgetDialogState(HWND dialog) {
  auto it = States().find(dialog);
  if (it == States().end()) return;
  if (it->second.loopFinished) *it->second.loopFinished = true;  // a destroyed dialog ends its loop
  States().erase(it);
}

LRESULT CALLBACK DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsWindow(dialog)) return 0;
  auto proc = reinterpret_cast<DLGPROC>(GetWindowLong(dialog, DWL_DLGPROC));
  if (proc) {
    SetWindowLong(dialog, DWL_MSGRESULT, 0);
    INT_PTR handled = proc(dialog, message, wParam, lParam);
    if (AnswersDirectly(message) && handled) return handled;
    if (handled) return IsWindow(dialog) ? GetWindowLong(dialog, DWL_MSGRESULT) : 0;
    if (!IsWindow(dialog)) return 0;
  }
  return DefaultDialogProcessing(dialog, message, wParam, lParam);
}

void RegisterDialogClass() {
  WNDCLASS dialog{};
  dialog.style = CS_DBLCLKS | CS_SAVEBITS;
  dialog.lpfnWndProc = DefDlgProc;
  dialog.cbWndExtra = DLGWINDOWEXTRA;
  dialog.hCursor = LoadCursor(nullptr, IDC_ARROW);
  dialog.lpszClassName = DIALOG_CLASS_NAME;
  RegisterSystemClass(&dialog);
}
