/*
** The current cell and the viewport. Moving the current cell does not scroll; callers
** that need the cell on screen call EnsureVisible. Every notification may change the grid
** under us, so each step after one checks that the grid still holds its record.
*/
#include "grid/navigation.h"

#include "grid/editing.h"
#include "grid/virtual_rows.h"

#include "grid/attributes.h"
#include "grid/layout.h"
#include "grid/painting.h"
#include "grid/selection.h"

#include <algorithm>

namespace {

bool VirtualOpen() {
  return (gCurrentStyle & TSS_VIRTUALMEM) &&
         (gLockedRecord->countUnknown || gLockedRecord->ownerFetch);
}

bool RowValid(int row) {
  TesselRecord* record = gLockedRecord;
  if (VirtualOpen()) return row >= 0;
  return row >= 0 && row < record->rowCount;
}

/* The next visible scrolling column at or after column, else the last one. */
int VisibleColumnFrom(int column) {
  for (int c = column; c < gLockedRecord->columnCount; ++c)
    if (!ColumnHidden(c)) return c;
  return LastScrollingColumn();
}

int DistanceBetweenRows(int from, int to) {
  int distance = 0;
  for (int r = std::min(from, to); r < std::max(from, to); ++r) distance += RowPixelHeight(r);
  return distance;
}

int DistanceBetweenColumns(int from, int to) {
  int distance = 0;
  for (int c = std::min(from, to); c < std::max(from, to); ++c)
    if (!ColumnHidden(c) && !ColumnLocked(c)) distance += gLockedColumns[c].width;
  return distance;
}

}  // namespace

int SetCurrentCell(int row, int column) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (column < 0 || column >= record->columnCount) return TSERR_BADCOL;
  if (!(RowValid(row) || (record->rowCount == 0 && row == 0))) return TSERR_BADROW;
  if (row == record->currentRow && column == record->currentColumn) {
    if (FollowSingleSelection(record->currentRow)) NotifyParentAt(TSN_SELCHANGED, row, column);
    return 0;
  }
  if (ColumnHidden(column)) column = std::max(0, VisibleColumnFrom(column));
  if (record->editing && (row != record->currentRow || column != record->currentColumn)) {
    // The open editor belongs to the cell being left: it stores there before the move.
    EndCellEdit(true);
    if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
    record = gLockedRecord;
    if (column >= record->columnCount) return TSERR_BADCOL;
    if (!RowValid(row)) return TSERR_BADROW;
  }
  int oldRow = record->currentRow;
  int oldColumn = record->currentColumn;
  HideFocusMark();
  record->currentRow = row;
  record->currentColumn = static_cast<uint16_t>(column);
  ShowFocusMark();
  bool selectionChanged = FollowSingleSelection(oldRow);
  record->notifyRow = row;
  record->notifyColumn = static_cast<uint16_t>(column);
  if (oldRow != row) {
    NotifyParent(TSN_ROWCHANGED);
    if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  }
  if (oldColumn != column) {
    NotifyParentAt(TSN_COLCHANGED, row, column);
    if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  }
  NotifyParentAt(TSN_CELLMOVED, row, column);
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  if (selectionChanged) {
    NotifyParentAt(TSN_SELCHANGED, row, column);
    if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  }
  record = gLockedRecord;
  if (record->currentCellColorIndex || record->currentCellFontIndex) {
    InvalidateGridCell(oldRow, oldColumn);
    InvalidateGridCell(record->currentRow, record->currentColumn);
  }
  return 0;
}

int SetTopRow(int row) {
  TesselRecord* record = gLockedRecord;
  if (VirtualActive()) return VirtualSetTopRow(row);
  if (record->rowCount == 0 || !RowValid(row)) return TSERR_BADROW;
  if (!record->redrawOn) {
    record->topRow = row;
    RecomputeLastVisibleRow();
    record->paintDeferred = 1;
    NotifyParent(TSN_TOPROWCHANGED);
    return 0;
  }
  if (row == record->topRow) {
    UpdateScrollBars();
    return 0;
  }
  UpdateWindow(gCurrentGrid);
  HideFocusMark();
  int distance = DistanceBetweenRows(record->topRow, row);
  bool down = row > record->topRow;
  record->topRow = row;
  RecomputeLastVisibleRow();
  if (distance < record->clientHeight - record->headingHeight)
    ScrollRows(down ? -distance : distance, record->headingHeight);
  else InvalidateDataArea();
  ShowFocusMark();
  UpdateScrollBars();
  if (record->dropDown && record->dropDownClosed) record->currentRow = row;
  NotifyParent(TSN_TOPROWCHANGED);
  return 0;
}

int SetLeftColumn(int column) {
  TesselRecord* record = gLockedRecord;
  if (column < 0 || column >= record->columnCount) return TSERR_BADCOL;
  if (ColumnHidden(column)) column = std::max(0, VisibleColumnFrom(column));
  if (ColumnLocked(column)) return 0;
  if (!record->redrawOn) {
    record->leftColumn = static_cast<uint16_t>(column);
    RecomputeLastVisibleColumn();
    record->paintDeferred = 1;
    NotifyParent(TSN_LEFTCOLCHANGED);
    return 0;
  }
  if (column == record->leftColumn) {
    UpdateHorizontalBar();
    return 0;
  }
  UpdateWindow(gCurrentGrid);
  HideFocusMark();
  int distance = DistanceBetweenColumns(record->leftColumn, column);
  bool right = column > record->leftColumn;
  record->leftColumn = static_cast<uint16_t>(column);
  RecomputeLastVisibleColumn();
  ScrollColumns(right ? -distance : distance, record->rowLabelWidth + LockedWidth());
  ShowFocusMark();
  UpdateHorizontalBar();
  NotifyParent(TSN_LEFTCOLCHANGED);
  return 0;
}

int EnsureVisible(int row, int column) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (column < 0 || column >= record->columnCount) return TSERR_BADCOL;
  if (!RowValid(row)) return TSERR_BADROW;
  if (ColumnHidden(column)) return TSERR_STATE;
  if (VirtualActive()) {
    int brought = VirtualEnsureVisible(row);
    if (brought < 0) return brought;
    record = gLockedRecord;
  } else {
    int top = record->topRow;
    int largest = TopRowShowingAtBottom(record->rowCount - 1);
    if (row < top) top = std::min(row, largest);
    else if (row > LastFullyVisibleRow()) top = TopRowShowingAtBottom(row);
    if (top != record->topRow) {
      SetTopRow(top);
      if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
    }
  }
  if (ColumnLocked(column)) return 0;
  int left = record->leftColumn;
  int usefulLeft = std::max(0, LargestUsefulLeftColumn());
  if (column < left) {
    left = std::min(column, usefulLeft);
  } else {
    int cellLeft = 0, cellRight = 0;
    bool shown = ColumnExtent(column, &cellLeft, &cellRight);
    if (!shown || cellRight >= record->clientWidth) {
      // The left column that puts this column at the right edge.
      int room = record->clientWidth - record->rowLabelWidth - LockedWidth();
      left = column;
      for (int c = column; c >= 0; --c) {
        if (ColumnHidden(c) || ColumnLocked(c)) continue;
        room -= gLockedColumns[c].width;
        if (room < 0) break;
        left = c;
      }
    }
  }
  if (left != record->leftColumn) SetLeftColumn(left);
  return 0;
}

int RowOfThumb(int position) {
  int64_t m = 0, r = 0;
  VerticalBarState(&m, &r);
  if (r == 0) return 0;
  return static_cast<int>(static_cast<int64_t>(position) * m / r);
}

LRESULT OnNavigationMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TesselRecord* record = gLockedRecord;
  int column = static_cast<int>(wParam & 0xFFFF);
  int row = static_cast<int>(lParam);
  switch (message) {
    case TSM_GETTOPROW: return record->topRow;
    case TSM_SETTOPROW: return SetTopRow(row);
    case TSM_GETLEFTCOL: return record->leftColumn;
    case TSM_SETLEFTCOL: return SetLeftColumn(column);
    case TSM_GETCURROW: return record->rowCount == 0 ? TSERR_NONE : record->currentRow;
    case TSM_GETCURCOL: return record->columnCount == 0 ? TSERR_NONE : record->currentColumn;
    case TSM_SETCURCELL: return SetCurrentCell(row, column);
    case TSM_ENSUREVISIBLE: return EnsureVisible(row, column);
    default: return TSERR_BADMESSAGE;
  }
}
