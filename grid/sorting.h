/*
** Keeping rows in the order of up to three sort-key columns: the row comparison by type,
** the full sort, the sorted place of a row, and the sort-key messages.
*/
#ifndef ZARNE_GRID_SORTING_H
#define ZARNE_GRID_SORTING_H

#include "grid/tessel_lock.h"

#include <cstdint>

/* Negative when row record a sorts before b under the grid's keys. */
int CompareRows(const uint8_t* a, const uint8_t* b);
/* Sorts every row; records move whole and the current row follows its record. */
int SortRows();
/* Where a row record would stand among the rows (binary search). */
int FindSortedRow(const uint8_t* row);
bool SortKeyOneSet();
bool IsSortKeyColumn(int column);

LRESULT OnSortMessage(UINT message, WPARAM wParam, LPARAM lParam);

#endif
