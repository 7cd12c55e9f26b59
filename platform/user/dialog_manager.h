/*
** The dialog manager: dialogs made from a module's compiled templates, modeless and modal,
** their dialog procedures and default processing, dialog units, the calls that reach a
** dialog's controls by id, and keyboard navigation between the controls.
*/
#ifndef ZARNE_PLATFORM_USER_DIALOG_MANAGER_H
#define ZARNE_PLATFORM_USER_DIALOG_MANAGER_H

#include "platform/user/window_types.h"

#include <functional>

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

/* Dialog styles */
#define DS_ABSALIGN      0x0001L
#define DS_SYSMODAL      0x0002L
#define DS_3DLOOK        0x0004L
#define DS_FIXEDSYS      0x0008L
#define DS_NOFAILCREATE  0x0010L
#define DS_LOCALEDIT     0x0020L
#define DS_SETFONT       0x0040L
#define DS_MODALFRAME    0x0080L
#define DS_NOIDLEMSG     0x0100L
#define DS_SETFOREGROUND 0x0200L
#define DS_CONTROL       0x0400L
#define DS_CENTER        0x0800L
#define DS_CENTERMOUSE   0x1000L

/* The dialog's extra bytes: what its procedure answers, the procedure, and a free slot. */
#define DWL_MSGRESULT  0
#define DWL_DLGPROC    4
#define DWL_USER       8
#define DWLP_MSGRESULT DWL_MSGRESULT
#define DWLP_DLGPROC   DWL_DLGPROC
#define DWLP_USER      DWL_USER
#define DLGWINDOWEXTRA 30

/* Dialog messages */
#define DM_GETDEFID   (WM_USER + 0)
#define DM_SETDEFID   (WM_USER + 1)
#define DM_REPOSITION (WM_USER + 2)
#define DC_HASDEFID   0x534B

/* The dialog class, by name or by its atom. */
#define WC_DIALOG         MAKEINTATOM(0x8002)
#define DIALOG_CLASS_NAME "#32770"

/* Creating dialogs. A template is named by MAKEINTRESOURCE or text in `instance`'s resources.
** CreateDialog* answer NULL, and DialogBox* -1, when the template is missing or damaged, a
** control's class is unknown, or the parent is not a window. */
HWND CreateDialogParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                       LPARAM param);
HWND CreateDialog(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc);
/* The same from compiled template bytes in memory (the layout resource_formats.h describes). */
HWND CreateDialogIndirectParam(HINSTANCE instance, const void* templateData, DWORD templateSize,
                               HWND parent, DLGPROC proc, LPARAM param);
INT_PTR DialogBoxParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                       LPARAM param);
INT_PTR DialogBox(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc);
INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const void* templateData, DWORD templateSize,
                               HWND parent, DLGPROC proc, LPARAM param);
/* Ends a modal dialog's loop with `result` (it is destroyed when DialogBox returns); hides a
** modeless one. FALSE for a window that is no dialog. */
BOOL EndDialog(HWND dialog, INT_PTR result);
/* The default processing of dialogs; the dialog class's window procedure. */
LRESULT CALLBACK DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

/* Dialog units to pixels by the dialog's font. */
BOOL MapDialogRect(HWND dialog, LPRECT rect);

/* Controls by id */
BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int size);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
/* The control's text as a number; 0 with *translated FALSE when it is not one or overflows. */
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);

/* Keyboard navigation */
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
/* Handles the message when it is for the dialog or one of its controls: Tab, arrows, Enter,
** Esc as the dialog manager does, everything else dispatched. FALSE when not the dialog's. */
BOOL IsDialogMessage(HWND dialog, LPMSG msg);

/* The custom-control and 3-D libraries' dialogs and buttons are the standard ones here:
** switching them on or off changes nothing. */
BOOL EnableCtl3d(BOOL enable);
BOOL EnableBWCC(BOOL enable);

/* Seen by the test harness when a modal dialog has been created and shown, just before its
** loop runs: the dialog, and the template's ordinal (0 for a named or in-memory template). */
using ModalDialogObserver = std::function<void(HWND dialog, int templateId)>;
/* Installs an observer and answers the one it replaces; an empty one removes it. */
ModalDialogObserver SetModalDialogObserver(ModalDialogObserver observer);
/* For modal windows that run their own loop (property sheets): shows the observer the
** window just before that loop, as DialogBox does for its dialogs. */
void NotifyModalDialogObserver(HWND window, int templateId);

#define CreateDialogA              CreateDialog
#define CreateDialogParamA         CreateDialogParam
#define CreateDialogIndirectParamA CreateDialogIndirectParam
#define DialogBoxA                 DialogBox
#define DialogBoxParamA            DialogBoxParam
#define DialogBoxIndirectParamA    DialogBoxIndirectParam
#define DefDlgProcA                DefDlgProc
#define SetDlgItemTextA            SetDlgItemText
#define GetDlgItemTextA            GetDlgItemText
#define IsDialogMessageA           IsDialogMessage

#endif
