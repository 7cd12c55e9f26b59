/*
** Layout and geometry: style normalisation, metrics from the font, the display order of
** columns, visible rows and columns, row, column and cell extents, the hit test, repaint
** requests, and the scroll-bar state and scrolling that layout and row changes call.
*/
#ifndef ZARNE_GRID_LAYOUT_H
#define ZARNE_GRID_LAYOUT_H

#include "grid/tessel_lock.h"

#include <cstdint>

#define TS_NOWHERE_ROW (-6)
#define TS_NOWHERE_COL 0xFFFA

/* Resolves conflicting style bits of the low word; the high word passes unchanged. */
DWORD NormalizeStyle(DWORD style);
/* Recomputes the metrics, visible ranges and scroll bars of the locked grid. */
void RecalcLayout();

bool ColumnHidden(int column);
bool ColumnLocked(int column);
/* Display order: locked columns first, then the scrolling columns from the left column. */
int FirstDisplayColumn();
int NextDisplayColumn(int column);
int FirstScrollingColumn();
int LastScrollingColumn();
int LockedWidth();

/* The height of a row: its own, else the grid's row height. */
int RowPixelHeight(int row);
void RecomputeLastVisibleRow();
void RecomputeLastVisibleColumn();
int LastFullyVisibleRow();
/* Top row that shows row as the bottom row. */
int TopRowShowingAtBottom(int row);

bool RowExtent(int row, int* top, int* bottom);
bool ColumnExtent(int column, int* left, int* right);
/* The cell's rectangle from its extents: right and bottom are its last pixels (so a fill
   of it leaves the grid lines); with inset the text rectangle. -5 or -4 off screen. */
int CellRect(int row, int column, bool inset, RECT* rect);

struct HitResult {
  int area;
  int row;
  int column;
};
HitResult HitTest(int x, int y);

bool IsColumnResizable(int column);
bool IsRowResizable(int row);
bool IsCellEditable(int column);

void InvalidateWholeGrid(bool erase);
int InvalidateGridRow(int row);
int InvalidateGridColumn(int column);
int InvalidateGridCell(int row, int column);
/* Everything below the headings. */
void InvalidateDataArea();

/* The scroll bars brought up to date with the rows, top row and left column. */
void UpdateScrollBars();
void UpdateVerticalBar();
/* The vertical bar's integers: m the largest useful top row (or the top row when larger),
   r the range maximum. */
void VerticalBarState(int64_t* m, int64_t* r);
/* The left column that shows the last scrolling column at the right edge. */
int LargestUsefulLeftColumn();
void UpdateHorizontalBar();
/* Moves the data area by distance pixels (positive: the content goes down / right). */
void ScrollRows(int distance, int fromY);
void ScrollColumns(int distance, int fromX);

LRESULT OnGetVisibleRows();
LRESULT OnGetVisibleCols();
LRESULT OnSetDefRowHeight(WPARAM height);
LRESULT OnSetVAlign(WPARAM align);
LRESULT OnSetGridColor(COLORREF color);
LRESULT OnInvalidateRow(LPARAM row);
LRESULT OnInvalidateCol(WPARAM column);
LRESULT OnInvalidateCell(WPARAM column, LPARAM row);
LRESULT OnRedraw();

#endif
