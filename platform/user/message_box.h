/*
** MessageBox: the one way the system shows a message to the user and gets an answer.
** What shows the box is pluggable: the windowing layer installs a Qt presenter, the test
** harness installs one that records every box and answers from a script. Until one is
** installed, a program with a QApplication gets a Qt box; one without gets the box written
** to standard error, answered with its default button.
*/
#ifndef ZARNE_PLATFORM_USER_MESSAGE_BOX_H
#define ZARNE_PLATFORM_USER_MESSAGE_BOX_H

#include "platform/kernel/wintypes.h"

#include <functional>
#include <string>

/* Buttons */
#define MB_OK               0x00000000L
#define MB_OKCANCEL         0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL      0x00000003L
#define MB_YESNO            0x00000004L
#define MB_RETRYCANCEL      0x00000005L
#define MB_TYPEMASK         0x0000000FL
/* Icons */
#define MB_ICONHAND        0x00000010L
#define MB_ICONQUESTION    0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK    0x00000040L
#define MB_ICONMASK        0x000000F0L
#define MB_ICONSTOP        MB_ICONHAND
#define MB_ICONERROR       MB_ICONHAND
#define MB_ICONWARNING     MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
/* Default button */
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFMASK    0x00000F00L
/* Modality and the rest */
#define MB_APPLMODAL     0x00000000L
#define MB_SYSTEMMODAL   0x00001000L
#define MB_TASKMODAL     0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST       0x00040000L

/* Answers */
#define IDOK     1
#define IDCANCEL 2
#define IDABORT  3
#define IDRETRY  4
#define IDIGNORE 5
#define IDYES    6
#define IDNO     7

/* One box as asked for; text and caption are Windows-1252. */
struct MessageBoxRequest {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};

/* Shows a box and answers the button chosen (IDOK, IDYES, ...). */
using MessageBoxPresenter = std::function<int(const MessageBoxRequest&)>;

/* Installs a presenter and answers the one it replaces; an empty one restores the default. */
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);

/* The answer of a box's default button: the first, second or third of its button set. */
int DefaultMessageBoxAnswer(UINT type);

/* The buttons of a box's type in order, e.g. {IDYES, IDNO} for MB_YESNO. */
int MessageBoxButtons(UINT type, int out[3]);

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

/* The desktop presenter: a modal Qt box over the owner window. MessageBox uses it when no
** presenter is installed and the program runs on a real desktop (not offscreen). */
int QtMessageBoxPresenter(const MessageBoxRequest& request);
#define MessageBoxA MessageBox

#endif
