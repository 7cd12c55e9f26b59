/*
** Whole definitions of a grid: reset, style, the definition buffers and records, and
** copying, attaching and freeing a grid's state.
*/
#ifndef ZARNE_GRID_DEFINITIONS_H
#define ZARNE_GRID_DEFINITIONS_H

#include "grid/tessel_lock.h"

int ResetTessel();
LRESULT OnSetStyle(DWORD style);
LRESULT OnGetStyle();
LRESULT OnDefinitionMessage(UINT message, WPARAM wParam, LPARAM lParam);
/* Applies a TSM_GETCOLDEF record, or with extended a version-25 record, to a column; an
   inserted column takes it while rows exist. */
int ApplyColumnRecord(int column, const void* definition, bool extended, bool inserting);

#endif
