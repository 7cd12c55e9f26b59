/*
** Adding, copying, moving and removing columns while rows exist, and reading or writing
** one column's values in every row at once.
*/
#ifndef ZARNE_GRID_COLUMN_RESTRUCTURE_H
#define ZARNE_GRID_COLUMN_RESTRUCTURE_H

#include "grid/tessel_lock.h"

/* Inserts a blank column (no bytes, no strings but empty ones) at position. */
int InsertBlankColumn(int position);
/* Applies a column record of the TSM_GETCOLDEF form (or the version-25 form) to a column. */
LRESULT OnRestructureMessage(UINT message, WPARAM wParam, LPARAM lParam);

#endif
