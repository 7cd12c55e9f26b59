/*
** Copy, cut and paste of grid cells as clipboard text: each cell's text and a TAB, an LF
** after each row. Cut and paste change only cells a user may edit, so the hidden key and
** status columns the dialogs keep in their rows never take another row's values.
*/
#ifndef ZARNE_GRID_CLIPBOARD_H
#define ZARNE_GRID_CLIPBOARD_H

#include "grid/tessel_lock.h"

/* Copies the cells the selection names (every column of each selected row, or each
   selected column of every row); with cut, the editable ones among them are cleared. */
void CopyCells(bool cut);
/* Stores clipboard text into the editable cells from the current cell on; 0 when the
   clipboard holds no text, else the result of closing it. */
int PasteCells();

#endif
