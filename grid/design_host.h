/*
** Helpers of design-host detection shared with the stash.
*/
#ifndef ZARNE_GRID_DESIGN_HOST_H
#define ZARNE_GRID_DESIGN_HOST_H

#include "platform/user/winuser.h"

#include <string>

/* The part after the last "\" (else ":"), cut at its first full stop, 8 characters at
   most, upper-cased. */
std::string ModuleBaseName(const char* path);
/* ASCII comparison without regard to case. */
bool EqualNoCase(const char* a, const char* b);
/* Whether the window's class is that name. */
bool SameClass(HWND window, const char* className, bool ignoreCase);

#endif
