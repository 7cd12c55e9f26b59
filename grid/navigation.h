/*
** The grid's viewport and current cell: the top row, the left column, moving the current
** cell with its notifications and the single selection that follows it, and making a cell
** visible.
*/
#ifndef ZARNE_GRID_NAVIGATION_H
#define ZARNE_GRID_NAVIGATION_H

#include "grid/tessel_lock.h"

int SetCurrentCell(int row, int column);
int SetTopRow(int row);
int SetLeftColumn(int column);
int EnsureVisible(int row, int column);
/* Rows and columns a scroll-bar position stands for. */
int RowOfThumb(int position);

LRESULT OnNavigationMessage(UINT message, WPARAM wParam, LPARAM lParam);

#endif
