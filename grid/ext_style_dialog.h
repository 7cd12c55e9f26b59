/*
** The Extended Style dialog of the style dialog: the grid's extended style, the row-label
** column's width mode and the heading row's height mode.
*/
#ifndef ZARNE_GRID_EXT_STYLE_DIALOG_H
#define ZARNE_GRID_EXT_STYLE_DIALOG_H

#include "platform/user/winuser.h"

/* 1 after OK, 0 after Cancel or without a grid (then nothing opens). */
int RunExtStyleDialog(HWND owner, HWND grid);

#endif
