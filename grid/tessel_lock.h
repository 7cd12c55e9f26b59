/*
** The per-message context of the grid library: which grid is being handled, its locked
** record and column table, and the stack of the levels a nested message interrupted.
*/
#ifndef ZARNE_GRID_TESSEL_LOCK_H
#define ZARNE_GRID_TESSEL_LOCK_H

#include "platform/user/winuser.h"

#define TESSEL_MAX_NESTING 99

extern HWND gCurrentGrid;
extern DWORD gCurrentStyle;
extern int gNestingDepth;

#endif
