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

#endif
