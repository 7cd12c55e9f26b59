/*
** Column selection: one column (TSS_COLSELECT, the current column) or any columns
** (TSS_MULTICOL, a flag per column), the clicks on headings and drags across them, and the
** column selection messages.
*/
#ifndef ZARNE_GRID_COLUMN_SELECTION_H
#define ZARNE_GRID_COLUMN_SELECTION_H

#include "grid/tessel_lock.h"

/* Whether column selection is single (TSS_COLSELECT) or multiple (TSS_MULTICOL). */
bool SingleColumnStyle();
bool MultipleColumnStyle();
/* Whether a column counts as selected. */
bool ColumnSelected(int column);
/* Sets one column's flag in multiple selection; true when it changed (repainted, notified). */
bool SetColumnSelection(int column, bool selected);
/* Every column from the anchor to column takes the flag. */
int SelectColumnRange(int column, bool selected);
LRESULT OnColumnSelectionMessage(UINT message, WPARAM wParam, LPARAM lParam);

#endif
