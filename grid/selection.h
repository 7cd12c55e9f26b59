/*
** Row selection: the single selected row that follows the current cell, the flags of
** multiple selection, ranges from the anchor, and the messages that read and set them.
** Every real change repaints what changed and sends TSN_SELCHANGED.
*/
#ifndef ZARNE_GRID_SELECTION_H
#define ZARNE_GRID_SELECTION_H

#include "grid/tessel_lock.h"

/* Sets one row's flag in multiple selection; true when it changed (repainted, notified). */
bool SetRowSelection(int row, bool selected, bool notify);
/* Every row from the anchor to row takes the flag; the row becomes the anchor. */
int SelectRowRange(int row, bool selected);
/* Brings the single selection in line with the current row; true when that changed it. */
bool FollowSingleSelection(int oldRow);

LRESULT OnSelectionMessage(UINT message, WPARAM wParam, LPARAM lParam);

#endif
