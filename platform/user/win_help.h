/*
** Help: WinHelp opens a program's help file with the desktop's viewer for help documents.
*/
#ifndef ZARNE_PLATFORM_USER_WIN_HELP_H
#define ZARNE_PLATFORM_USER_WIN_HELP_H

#include "platform/kernel/wintypes.h"

#include <functional>
#include <string>

#define HELP_CONTEXT 0x0001L
#define HELP_QUIT 0x0002L
#define HELP_INDEX 0x0003L
#define HELP_CONTENTS 0x0003L
#define HELP_HELPONHELP 0x0004L
#define HELP_SETINDEX 0x0005L
#define HELP_SETCONTENTS 0x0005L
#define HELP_CONTEXTPOPUP 0x0008L
#define HELP_FORCEFILE 0x0009L
#define HELP_FINDER 0x000BL
#define HELP_KEY 0x0101L
#define HELP_COMMAND 0x0102L
#define HELP_PARTIALKEY 0x0105L
#define HELP_MULTIKEY 0x0201L
#define HELP_SETWINPOS 0x0203L

/*
** A help file named without a directory lives in the program's directory (that of
** GetModuleFileName(NULL)); a ">window" suffix is ignored. A file named X.hlp is shown as
** the HTML page X.html beside it when that page exists. The file is opened with the
** desktop's viewer for its type; the topic (context number or keyword) cannot be passed
** to an outside viewer and only the file is opened. HELP_QUIT answers TRUE (the viewer is
** the desktop's own program and is left open). A missing file, or a viewer that cannot be
** started, shows a message box captioned "Help" naming the file, and answers FALSE.
*/
BOOL WinHelp(HWND owner, LPCSTR helpFile, UINT command, ULONG_PTR data);
#define WinHelpA WinHelp

/* Who opens an existing help file (its host path): the desktop by default; tests record.
** Answers whether the viewer started. Returns the previous opener. */
using HelpFileOpener = std::function<bool(const std::string& hostPath)>;
HelpFileOpener SetHelpFileOpener(HelpFileOpener opener);

#endif
