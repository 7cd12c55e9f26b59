/*
** Layout and geometry of the locked grid. Extents are inclusive pixel ranges; the walk's
** running sum, left + width, is a column's right edge: x up to and including it hits the
** column, and its resize zone is that edge plus or minus one.
*/
#include "grid/layout.h"

#include "grid/virtual_rows.h"

#include "grid/attributes.h"
#include "grid/library_state.h"

#include <algorithm>

namespace {

bool HasHeadings() { return (gCurrentStyle & TSS_OWNERDEF) != 0; }
bool HasRowLabels() { return (gCurrentStyle & (TSS_ROWBUTTONS | TSS_ROWNUMBERS)) != 0; }

int LineHeight() {
  TesselRecord* record = gLockedRecord;
  HDC dc = GetDC(gCurrentGrid);
  HGDIOBJ previous = record->font ? SelectObject(dc, record->font) : nullptr;
  TEXTMETRIC metrics{};
  GetTextMetrics(dc, &metrics);
  if (previous) SelectObject(dc, previous);
  ReleaseDC(gCurrentGrid, dc);
  return metrics.tmHeight + metrics.tmExternalLeading + 1;
}

void ComputeMetrics() {
  TesselRecord* record = gLockedRecord;
  int line = LineHeight();
  record->rowHeight = std::max(1, record->fixedRowHeight ? record->fixedRowHeight : line);
  if (!HasHeadings()) record->headingHeight = 0;
  else
    record->headingHeight =
        record->fixedHeadingHeight ? record->fixedHeadingHeight : record->headingLines * line + 4;
  // A width no message set is worked out again: row buttons follow the row height, which
  // changes when the font comes (a dialog's arrives after the grid is made).
  bool computed = record->rowLabelWidth == 0 || record->labelWidthFromRows;
  record->labelWidthFromRows = 0;
  if ((gCurrentStyle & TSS_ROWNUMBERS) && computed) {
    record->rowLabelWidth = 10 * gBaseUnitX;
  } else if ((gCurrentStyle & TSS_ROWBUTTONS) && computed) {
    record->rowLabelWidth = record->rowHeight;
    record->labelWidthFromRows = 1;
  } else if (!HasRowLabels()) {
    record->rowLabelWidth = 0;
  }
  int total = record->rowLabelWidth;
  for (int c = 0; c < record->columnCount; ++c) {
    TesselColumn& column = gLockedColumns[c];
    if (column.width < 0) column.width = 0;
    if (!(column.flags & TSCS_HIDDEN)) total += column.width;
  }
  record->totalWidth = total;
}

void ReadClientSize() {
  TesselRecord* record = gLockedRecord;
  RECT client{};
  GetClientRect(gCurrentGrid, &client);
  record->clientWidth = std::max<LONG>(0, client.right);
  record->clientHeight = std::max<LONG>(0, client.bottom);
  int below = record->clientHeight - record->headingHeight;
  record->visibleRows = below > 0 ? below / record->rowHeight : 0;
}

bool Scrolling(int column) { return !ColumnHidden(column) && !ColumnLocked(column); }

int NextScrollingFrom(int column) {
  for (int c = std::max(column, 0); c < gLockedRecord->columnCount; ++c)
    if (Scrolling(c)) return c;
  return -1;
}

int NextLockedAfter(int column) {
  for (int c = column + 1; c < gLockedRecord->columnCount; ++c)
    if (ColumnLocked(c) && !ColumnHidden(c)) return c;
  return -1;
}

bool Invalidate(const RECT& rect, bool erase) {
  TesselRecord* record = gLockedRecord;
  if (!record->redrawOn) {
    record->paintDeferred = 1;
    return true;
  }
  InvalidateRect(gCurrentGrid, &rect, erase);
  return true;
}

}  // namespace

DWORD NormalizeStyle(DWORD style) {
  DWORD low = style & 0xFFFF;
  if (low & TSS_MULTIROW) low &= ~static_cast<DWORD>(TSS_ROWSELECT);
  if (low & TSS_MULTICOL) low &= ~static_cast<DWORD>(TSS_COLSELECT);
  if (low & TSS_VIRTUALMEM) low &= ~static_cast<DWORD>(TSS_MULTIROW | TSS_LARGEDATA);
  if (low & 0x0300) low &= ~static_cast<DWORD>(0x0C00);
  if ((low & 0x0300) != TSS_ROWSELECT) low &= ~static_cast<DWORD>(0x8002);
  if (low & 0x8002) low &= ~static_cast<DWORD>(TSS_EDIT);
  if (!(low & 0x6000) && (low & TSS_MULTIROW) && (low & 0x0C04)) low |= TSS_ROWBUTTONS;
  if (!(low & 0x0030) && (low & TSS_MULTICOL) && (low & 0x0304)) low |= TSS_NUMBERS;
  return (style & 0xFFFF0000) | low;
}

void RecalcLayout() {
  TesselRecord* record = gLockedRecord;
  if (!record) return;
  ComputeMetrics();
  ReadClientSize();
  EnsureVirtualBuffer();
  RecomputeLastVisibleRow();
  RecomputeLastVisibleColumn();
  UpdateScrollBars();
}

bool ColumnHidden(int column) { return (gLockedColumns[column].flags & TSCS_HIDDEN) != 0; }
bool ColumnLocked(int column) { return (gLockedColumns[column].flags & TSCS_LOCKED) != 0; }

int FirstScrollingColumn() { return NextScrollingFrom(0); }

int LastScrollingColumn() {
  for (int c = gLockedRecord->columnCount - 1; c >= 0; --c)
    if (Scrolling(c)) return c;
  return -1;
}

int FirstDisplayColumn() {
  int locked = NextLockedAfter(-1);
  return locked >= 0 ? locked : NextScrollingFrom(gLockedRecord->leftColumn);
}

int NextDisplayColumn(int column) {
  if (ColumnLocked(column)) {
    int locked = NextLockedAfter(column);
    return locked >= 0 ? locked : NextScrollingFrom(gLockedRecord->leftColumn);
  }
  return NextScrollingFrom(column + 1);
}

int LockedWidth() {
  int width = 0;
  for (int c = 0; c < gLockedRecord->columnCount; ++c)
    if (ColumnLocked(c) && !ColumnHidden(c)) width += gLockedColumns[c].width;
  return width;
}

int RowPixelHeight(int row) {
  if (gCurrentStyle & TSS_VIRTUALMEM) return gLockedRecord->rowHeight;
  int own = RowOwnHeight(row);
  return own > 0 ? own : gLockedRecord->rowHeight;
}

void RecomputeLastVisibleRow() {
  TesselRecord* record = gLockedRecord;
  if (record->virtualOn) {
    record->lastVisibleRow = record->topRow + std::max(0, record->bufferedRows - 1);
    return;
  }
  if (record->rowCount == 0) {
    record->lastVisibleRow = 0;
    return;
  }
  int remaining = record->clientHeight - record->headingHeight;
  int row = record->topRow;
  while (row < record->rowCount - 1) {
    remaining -= RowPixelHeight(row);
    if (remaining < 1) break;
    ++row;
  }
  record->lastVisibleRow = row;
}

int TopRowShowingAtBottom(int row) {
  TesselRecord* record = gLockedRecord;
  int remaining = record->clientHeight - record->headingHeight;
  for (int r = row; r >= 0; --r) {
    remaining -= RowPixelHeight(r);
    if (remaining < 0) return std::min(r + 1, row);
  }
  return 0;
}

int LastFullyVisibleRow() {
  TesselRecord* record = gLockedRecord;
  int last = record->lastVisibleRow;
  if (last > record->topRow && TopRowShowingAtBottom(last) > record->topRow) --last;
  return last;
}

void RecomputeLastVisibleColumn() {
  TesselRecord* record = gLockedRecord;
  if (record->totalWidth <= record->clientWidth) {
    int last = LastScrollingColumn();
    record->lastVisibleColumn = static_cast<uint16_t>(last < 0 ? 0 : last);
    return;
  }
  int edge = record->rowLabelWidth;
  int last = -1;
  for (int c = FirstDisplayColumn(); c >= 0; c = NextDisplayColumn(c)) {
    edge += gLockedColumns[c].width;
    if (!ColumnLocked(c)) last = c;
    if (edge >= record->clientWidth) break;
  }
  record->lastVisibleColumn = static_cast<uint16_t>(last < 0 ? record->leftColumn : last);
}

bool RowExtent(int row, int* top, int* bottom) {
  TesselRecord* record = gLockedRecord;
  if (row == TSROW_HEADING) {
    *top = 0;
    *bottom = record->headingHeight - 1;
    return true;
  }
  if (row == -10 || row == -11) {
    int lastTop = 0, lastBottom = record->headingHeight - 1;
    if (record->rowCount > 0) RowExtent(record->lastVisibleRow, &lastTop, &lastBottom);
    *top = row == -10 ? 0 : record->headingHeight;
    *bottom = lastBottom;
    return true;
  }
  if (record->dropDown && record->dropDownClosed) {
    if (row != record->topRow) return false;
    *top = record->headingHeight;
    *bottom = *top + record->rowHeight - 1;
    return true;
  }
  bool designEmpty = record->designMode && record->rowCount == 0;
  if (!designEmpty && (row < 0 || row >= record->rowCount)) return false;
  if (row < record->topRow || (!designEmpty && row > record->lastVisibleRow)) return false;
  int y = record->headingHeight;
  for (int r = record->topRow; r < row; ++r)
    y += designEmpty ? record->rowHeight : RowPixelHeight(r);
  *top = y;
  *bottom = y + (designEmpty ? record->rowHeight : RowPixelHeight(row)) - 1;
  return true;
}

bool ColumnExtent(int column, int* left, int* right) {
  TesselRecord* record = gLockedRecord;
  if (column == TSCOL_ROWLABEL) {
    *left = 0;
    *right = record->rowLabelWidth - 1;
    return true;
  }
  if (column == 0xFFF6 || column == 0xFFF5) {
    int lastLeft = 0, lastRight = record->rowLabelWidth - 1;
    ColumnExtent(record->lastVisibleColumn, &lastLeft, &lastRight);
    *left = column == 0xFFF6 ? 0 : record->rowLabelWidth;
    *right = lastRight;
    return true;
  }
  if (column < 0 || column >= record->columnCount) return false;
  if (!ColumnLocked(column) && (column < record->leftColumn || column > record->lastVisibleColumn))
    return false;
  int x = record->rowLabelWidth;
  for (int c = FirstDisplayColumn(); c >= 0; c = NextDisplayColumn(c)) {
    if (c == column) {
      *left = x;
      *right = ColumnHidden(c) ? x : x + gLockedColumns[c].width - 1;
      return true;
    }
    x += gLockedColumns[c].width;
  }
  *left = *right = x;  // a hidden column takes no room
  return ColumnHidden(column);
}

int CellRect(int row, int column, bool inset, RECT* rect) {
  int top = 0, bottom = 0, left = 0, right = 0;
  if (!RowExtent(row, &top, &bottom)) return TSERR_BADROW;
  if (!ColumnExtent(column, &left, &right)) return TSERR_BADCOL;
  if (inset) {
    left += 2;
    right -= 3;
  }
  // Right and bottom are the cell's last pixels, where its grid lines run.
  SetRect(rect, left, top, right, bottom);
  return 0;
}

bool IsColumnResizable(int column) {
  uint16_t flags =
      column == TSCOL_ROWLABEL ? gLockedRecord->labelColumnFlags : gLockedColumns[column].flags;
  if (flags & (TSCS_HIDDEN | TSCS_FIXED)) return false;
  return (flags & TSCS_RESIZE) || (gCurrentStyle & TSS_RESIZE);
}

bool IsRowResizable(int row) {
  int style = row == TSROW_HEADING ? gLockedRecord->headingRowStyle : RowStyleWord(row);
  if (style == 2) return false;
  return style == 1 || (gLockedRecord->exStyle & TSXS_ROWRESIZE);
}

bool IsCellEditable(int column) {
  uint16_t flags = gLockedColumns[column].flags;
  if (flags & (TSCS_HIDDEN | TSCS_PROTECT)) return false;
  return (flags & TSCS_EDIT) || (gCurrentStyle & TSS_EDIT);
}

namespace {

bool OnEdge(int x, int edge) { return x >= std::max(0, edge - 1) && x <= edge + 1; }

/* The row a y hits and whether it is on that row's resizable bottom edge. */
void HitRow(int y, HitResult& hit, bool& rowResize) {
  TesselRecord* record = gLockedRecord;
  rowResize = false;
  hit.row = TS_NOWHERE_ROW;
  if (record->dropDown && record->dropDownClosed) {
    if (y < record->headingHeight) hit.row = TSROW_HEADING;
    else if (y <= record->clientHeight) hit.row = record->topRow;
    return;
  }
  if (y < record->headingHeight) {
    hit.row = TSROW_HEADING;
    return;
  }
  if (HasHeadings() && OnEdge(y, record->headingHeight) && IsRowResizable(TSROW_HEADING)) {
    hit.row = TSROW_HEADING;
    rowResize = true;
    return;
  }
  if (record->rowCount == 0) {
    if (record->designMode)
      hit.row = record->topRow + (y - record->headingHeight) / record->rowHeight;
    return;
  }
  int edge = record->headingHeight;
  for (int r = record->topRow; r <= record->lastVisibleRow; ++r) {
    edge += RowPixelHeight(r);
    if (OnEdge(y, edge) && IsRowResizable(r)) {
      hit.row = r;
      rowResize = true;
      return;
    }
    if (y <= edge) {
      hit.row = r;
      return;
    }
  }
}

void HitColumn(int x, HitResult& hit, bool& columnResize) {
  TesselRecord* record = gLockedRecord;
  columnResize = false;
  hit.column = TS_NOWHERE_COL;
  if (HasRowLabels()) {
    if (OnEdge(x, record->rowLabelWidth) && IsColumnResizable(TSCOL_ROWLABEL)) {
      hit.column = TSCOL_ROWLABEL;
      columnResize = true;
      return;
    }
    if (x <= record->rowLabelWidth) {
      hit.column = TSCOL_ROWLABEL;
      return;
    }
  }
  int edge = record->rowLabelWidth;
  for (int c = FirstDisplayColumn(); c >= 0 && edge <= record->clientWidth;
       c = NextDisplayColumn(c)) {
    edge += gLockedColumns[c].width;
    if (OnEdge(x, edge) && x >= edge) {
      // Zero-width columns after c share its edge: at or right of it, theirs is the zone,
      // or a column dragged to nothing could never be widened again.
      int shared = -1;
      for (int n = NextDisplayColumn(c); n >= 0 && gLockedColumns[n].width == 0;
           n = NextDisplayColumn(n))
        if (IsColumnResizable(n)) shared = n;
      if (shared >= 0) {
        hit.column = shared;
        columnResize = true;
        return;
      }
    }
    if (OnEdge(x, edge) && IsColumnResizable(c)) {
      hit.column = c;
      columnResize = true;
      return;
    }
    if (x <= edge) {
      hit.column = c;
      return;
    }
  }
}

}  // namespace

HitResult HitTest(int x, int y) {
  HitResult hit{TSHT_NOWHERE, TS_NOWHERE_ROW, TS_NOWHERE_COL};
  if (gLockedRecord->columnCount == 0 || FirstDisplayColumn() < 0) return hit;
  bool rowResize = false, columnResize = false;
  HitRow(y, hit, rowResize);
  HitColumn(x, hit, columnResize);
  if (hit.row == TS_NOWHERE_ROW || hit.column == TS_NOWHERE_COL) hit.area = TSHT_NOWHERE;
  else if (columnResize) hit.area = TSHT_COLRESIZE;
  else if (rowResize) hit.area = TSHT_ROWRESIZE;
  else if (hit.column == TSCOL_ROWLABEL) hit.area = TSHT_ROWLABEL;
  else if (hit.row >= 0) hit.area = TSHT_CELL;
  else hit.area = TSHT_HEADING;
  return hit;
}

void InvalidateWholeGrid(bool erase) {
  if (!gLockedRecord->redrawOn) {
    gLockedRecord->paintDeferred = 1;
    return;
  }
  InvalidateRect(gCurrentGrid, nullptr, erase);
}

void InvalidateDataArea() {
  TesselRecord* record = gLockedRecord;
  RECT below{0, record->headingHeight, record->clientWidth, record->clientHeight};
  Invalidate(below, false);
}

int InvalidateGridRow(int row) {
  TesselRecord* record = gLockedRecord;
  int top = 0, bottom = 0;
  if (!RowExtent(row, &top, &bottom)) return TSERR_BADROW;
  RECT band{0, top, record->clientWidth, bottom + 1};
  Invalidate(band, false);
  return 0;
}

int InvalidateGridColumn(int column) {
  TesselRecord* record = gLockedRecord;
  int left = 0, right = 0;
  if (!ColumnExtent(column, &left, &right)) return TSERR_BADCOL;
  RECT band{left, 0, right + 1, record->clientHeight};
  Invalidate(band, false);
  return 0;
}

int InvalidateGridCell(int row, int column) {
  RECT cell;
  int result = CellRect(row, column, false, &cell);
  if (result < 0) return result;
  cell.right += 1;
  cell.bottom += 1;
  Invalidate(cell, false);
  return 0;
}

LRESULT OnGetVisibleRows() {
  TesselRecord* record = gLockedRecord;
  if (record->rowCount == 0) return 0;
  return LastFullyVisibleRow() - record->topRow + 1;
}

LRESULT OnGetVisibleCols() {
  TesselRecord* record = gLockedRecord;
  int locked = 0;
  for (int c = 0; c < record->columnCount; ++c)
    if (ColumnLocked(c) && !ColumnHidden(c)) ++locked;
  int first = FirstScrollingColumn();
  if (first < 0) return locked;
  int last = record->lastVisibleColumn;
  int left = 0, right = 0;
  if (last > record->leftColumn && ColumnExtent(last, &left, &right) &&
      right >= record->clientWidth)
    --last;
  return last - record->leftColumn + 1 + locked;
}

LRESULT OnSetDefRowHeight(WPARAM height) {
  long pixels = static_cast<long>(static_cast<int32_t>(height));
  if (pixels < 0) return TSERR_BADWIDTH;
  gLockedRecord->fixedRowHeight = static_cast<int32_t>(std::min(pixels, 32767L));
  RecalcLayout();
  InvalidateWholeGrid(true);
  return 0;
}

LRESULT OnSetVAlign(WPARAM align) {
  gLockedRecord->verticalAlign = static_cast<int32_t>(align & 12);
  RecalcLayout();
  InvalidateWholeGrid(true);
  return 0;
}

LRESULT OnSetGridColor(COLORREF color) {
  gLockedRecord->gridLineColor = color;
  InvalidateWholeGrid(true);
  return 0;
}

LRESULT OnInvalidateRow(LPARAM row) { return InvalidateGridRow(static_cast<int>(row)); }

LRESULT OnInvalidateCol(WPARAM column) {
  TesselRecord* record = gLockedRecord;
  if (column >= record->columnCount) return TSERR_BADCOL;
  return InvalidateGridColumn(static_cast<int>(column));
}

LRESULT OnInvalidateCell(WPARAM column, LPARAM row) {
  int target = static_cast<int>(column & 0xFFFF);
  return InvalidateGridCell(static_cast<int>(row), target);
}

LRESULT OnRedraw() {
  RecalcLayout();
  InvalidateWholeGrid(true);
  return 0;
}
