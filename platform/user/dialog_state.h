/*
** Inside the dialog manager: what it keeps for each dialog beyond the window's extra bytes
** (its font and dialog units, default button, remembered focus, modal state and result), and
** the steps its files share. Only the dialog manager's files include this header.
*/
#ifndef ZARNE_PLATFORM_USER_DIALOG_STATE_H
#define ZARNE_PLATFORM_USER_DIALOG_STATE_H

#include "platform/user/dialog_manager.h"

struct DialogState {
  HFONT font = nullptr;  // the template's font, made by the dialog and freed with it
  bool ownsFont = false;
  int baseX = 8;  // dialog base units of that font
  int baseY = 16;
  int defaultId = 0;  // 0: the template's first default push button
  bool defaultIdSet = false;
  HWND savedFocus = nullptr;  // the control that had the focus when the dialog lost it
  bool modal = false;
  bool disabledOwner = false;  // DialogBox disabled the owner and gives it back
  bool ended = false;
  bool* loopFinished = nullptr;  // the modal loop's flag and result, while it runs
  INT_PTR* loopResult = nullptr;
  INT_PTR result = 0;
};

/* The state of a dialog, made on first use; null for a window that is no dialog. */
DialogState* FindDialogState(HWND dialog);
DialogState& CreateDialogState(HWND dialog);
void ForgetDialogState(HWND dialog);

/* Creates the dialog from template bytes; null when they or their controls are unusable. */
HWND CreateDialogFromTemplate(HINSTANCE instance, const void* data, DWORD size, HWND parent,
                              DLGPROC proc, LPARAM param, bool modal);
/* The bytes of a module's dialog template; false when there is none. */
bool FindDialogTemplate(HINSTANCE instance, LPCSTR name, const void** data, DWORD* size);

/* Moves the focus to a control as the dialog manager does: the default push button follows
** a push button that takes the focus, and an edit's text is selected when tabbed into. */
void MoveDialogFocus(HWND dialog, HWND control, bool selectText);
/* The template's default push button: the first control that answers DLGC_DEFPUSHBUTTON. */
HWND DefaultButtonOf(HWND dialog);
/* Draws as default the push button that has the focus, or else the one of the default id. */
void UpdateDialogDefaultButton(HWND dialog, HWND focus);

/* A modal dialog disables its owner while it runs; the dialog itself stays enabled. */
void DisableOwnerOfModal(HWND dialog);

/* Registers the dialog class (DefDlgProc's). */
void RegisterDialogClass();

#endif
