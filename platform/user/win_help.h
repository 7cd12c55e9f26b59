/*
** Help: WinHelp opens the HTML page that stands for a program's help file in the desktop's
** browser.
*/
#ifndef ZARNE_PLATFORM_USER_WIN_HELP_H
#define ZARNE_PLATFORM_USER_WIN_HELP_H

#include "platform/kernel/wintypes.h"

#include <functional>
#include <string>
#include <type_traits>

#define HELP_CONTEXT      0x0001L
#define HELP_QUIT         0x0002L
#define HELP_INDEX        0x0003L
#define HELP_CONTENTS     0x0003L
#define HELP_HELPONHELP   0x0004L
#define HELP_SETINDEX     0x0005L
#define HELP_SETCONTENTS  0x0005L
#define HELP_CONTEXTPOPUP 0x0008L
#define HELP_FORCEFILE    0x0009L
#define HELP_FINDER       0x000BL
#define HELP_KEY          0x0101L
#define HELP_COMMAND      0x0102L
#define HELP_PARTIALKEY   0x0105L
#define HELP_MULTIKEY     0x0201L
#define HELP_SETWINPOS    0x0203L

/*
** "name.hlp" stands for the page "name.html" (any case of ".hlp"); a file named without a
** directory lives in the program's directory (that of GetModuleFileName(NULL)); a ">window"
** suffix is ignored. HELP_CONTEXT opens the page at "#<context number>", HELP_KEY at the
** keyword's anchor (lower case, each run of characters other than letters and digits one
** "-", none at the ends: "the-column-configuration-dialog"), every other command the page
** itself. HELP_QUIT does nothing and answers TRUE (the browser is the desktop's own
** program and is left open). A missing page, or a browser that cannot be started, shows a
** message box captioned "Help" naming the page, and answers FALSE.
*/
BOOL WinHelp(HWND owner, LPCSTR helpFile, UINT command, ULONG_PTR data);
#define WinHelpA WinHelp

/* Who opens an existing help page (its host path, and the topic after '#' or ""): the desktop
** by default; tests record. Answers whether the browser started. Returns the previous one. */
using HelpFileOpener = std::function<bool(const std::string& hostPath, const std::string& topic)>;
HelpFileOpener SetHelpFileOpener(HelpFileOpener opener);
/* An opener that wants the page's path only. */
template <typename Opener,
          typename = std::enable_if_t<std::is_invocable_r_v<bool, Opener, const std::string&>>>
HelpFileOpener SetHelpFileOpener(Opener opener) {
  return SetHelpFileOpener(HelpFileOpener(
      [opener](const std::string& hostPath, const std::string&) { return opener(hostPath); }));
}

#endif
