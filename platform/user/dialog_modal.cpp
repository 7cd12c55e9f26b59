/*
** Modal dialogs: DialogBox disables the owner, shows the dialog and runs a nested loop that
** gives every message to IsDialogMessage until EndDialog, then destroys the dialog and
** answers EndDialog's result. The test harness may look at each modal dialog just before its
** loop runs.
*/
#include "platform/user/dialog_state.h"

#include "platform/user/message_queue.h"
#include "platform/user/painting.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_styles.h"
#include "platform/user/window_widgets.h"

namespace {

ModalDialogObserver& Observer() {
  static ModalDialogObserver observer;
  return observer;
}

HWND TopLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

int TemplateOrdinal(LPCSTR name) {
  return name && IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<ULONG_PTR>(name)) : 0;
}

INT_PTR RunModal(HINSTANCE instance, const void* data, DWORD size, HWND parent, DLGPROC proc,
                 LPARAM param, int templateId) {
  if (parent == GetDesktopWindow()) parent = nullptr;
  if (parent && !IsWindow(parent)) return -1;
  HWND owner = TopLevelOf(parent);
  HWND dialog = CreateDialogFromTemplate(instance, data, size, parent, proc, param, true);
  if (!dialog) return -1;
  DialogState* state = FindDialogState(dialog);
  bool ownerWasEnabled = state && state->disabledOwner;
  if (state && !state->ended) {
    ShowWindow(dialog, SW_SHOWNORMAL);
    state = FindDialogState(dialog);
    if (state && state->savedFocus) MoveDialogFocus(dialog, state->savedFocus, true);
    UpdateWindow(dialog);
  }
  state = FindDialogState(dialog);
  if (Observer() && state && !state->ended) Observer()(dialog, templateId);

  // The owner hears when the dialog waits for input (the program does its idle work then).
  ModalLoop loop;
  loop.idleOwner = (GetWindowLong(dialog, GWL_STYLE) & DS_NOIDLEMSG) ? nullptr : owner;
  loop.idleCode = MSGF_DIALOGBOX;
  loop.idleSource = dialog;
  loop.preTranslate = [dialog](MSG& msg) { return IsDialogMessage(dialog, &msg) != FALSE; };
  bool finished = false;
  state = FindDialogState(dialog);
  INT_PTR result = state ? state->result : 0;
  if (state && !state->ended) {
    state->loopFinished = &finished;  // set by EndDialog, and when the dialog is destroyed
    state->loopResult = &result;
    RunModalLoop(loop, &finished);
  }
  if ((state = FindDialogState(dialog)) != nullptr) {
    state->loopFinished = nullptr;
    state->loopResult = nullptr;
  }
  if (ownerWasEnabled && IsWindow(owner) && !IsWindowEnabled(owner)) EnableWindow(owner, TRUE);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  if (owner && IsWindow(owner) && IsWindowVisible(owner)) SetActiveWindow(owner);
  return result;
}

}  // namespace

void DisableOwnerOfModal(HWND dialog) {
  DialogState* state = FindDialogState(dialog);
  HWND owner = GetWindow(dialog, GW_OWNER);
  if (!state || !owner || !IsWindowEnabled(owner)) return;
  state->disabledOwner = true;
  EnableWindow(owner, FALSE);
  // The owner's widgets hold the dialog's; a disabled Qt parent would silence the dialog's
  // mouse and key input, which the owner's disabling must not do.
  WindowPtr window = FindWindowObject(dialog);
  if (window && window->frame && !(window->style & WS_DISABLED)) window->frame->setEnabled(true);
}

ModalDialogObserver SetModalDialogObserver(ModalDialogObserver observer) {
  ModalDialogObserver previous = std::move(Observer());
  Observer() = std::move(observer);
  return previous;
}

void NotifyModalDialogObserver(HWND window, int templateId) {
  if (Observer() && IsWindow(window)) Observer()(window, templateId);
}

INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const void* templateData, DWORD templateSize,
                               HWND parent, DLGPROC proc, LPARAM param) {
  return RunModal(instance, templateData, templateSize, parent, proc, param, 0);
}

INT_PTR DialogBoxParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                       LPARAM param) {
  const void* data = nullptr;
  DWORD size = 0;
  if (!FindDialogTemplate(instance, templateName, &data, &size)) return -1;
  return RunModal(instance, data, size, parent, proc, param, TemplateOrdinal(templateName));
}

INT_PTR DialogBox(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc) {
  return DialogBoxParam(instance, templateName, parent, proc, 0);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  DialogState* state = FindDialogState(dialog);
  if (!state) return FALSE;
  state->ended = true;
  state->result = result;
  if (state->loopFinished) *state->loopFinished = true;
  if (state->loopResult) *state->loopResult = result;
  if (state->modal && state->disabledOwner) {
    // The owner comes back before the dialog goes, so the activation returns to it.
    state->disabledOwner = false;
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner) EnableWindow(owner, TRUE);
  }
  ShowWindow(dialog, SW_HIDE);
  PostMessage(dialog, WM_NULL, 0, 0);  // wakes a loop that waits for input
  return TRUE;
}
