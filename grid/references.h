/*
** Row, column and cell references of the grid's messages: the data cursor, the current
** cell, and the first and next selected row or column, with the cursor's advance.
*/
#ifndef ZARNE_GRID_REFERENCES_H
#define ZARNE_GRID_REFERENCES_H

#include "grid/tessel_lock.h"

/* What a message may address beyond existing rows and columns. */
enum ReferenceUse : unsigned {
  kPlainReference = 0,
  kAllowHeading = 1,  // row -4 and column 0xFFFB
  kAllowAppend = 2,   // row -2 (the row count) and column 0xFFFE
};

/* The row the reference names (advancing the cursor where asked), or an error. */
long ResolveRowReference(WPARAM reference, unsigned use);
/* The cell: row and column, or an error. */
long ResolveCellReference(WPARAM reference, unsigned use, int* row, int* column);
/* The column (Part of the restructuring and TSM_GETREFCOL), or an error. */
long ResolveColumnReference(WPARAM reference, unsigned use);
/* Records the row a message worked on for the selection iteration. */
void RecordIterationRow(int row);

LRESULT OnSetCursor(WPARAM column, LPARAM row);
LRESULT OnGetRefCol(WPARAM reference);

#endif
