/*
** The design-time dialogs' help: the page Tessel.html beside the library, at a keyword.
*/
#ifndef ZARNE_GRID_DESIGN_HELP_H
#define ZARNE_GRID_DESIGN_HELP_H

#include "platform/user/winuser.h"

/* Opens "Tessel.hlp" of the library's own directory at the keyword, whichever program hosts
   the library. */
void OpenTesselHelp(HWND owner, const char* keyword);

#endif
