/*
** Row selection. With TSS_ROWSELECT the selected row is the current row once the
** selection has been shown; with TSS_MULTIROW each row record carries its flag and the
** record counts the selected rows.
*/
#include "grid/selection.h"

#include "grid/layout.h"
#include "grid/navigation.h"
#include "grid/rows.h"

#include <algorithm>

namespace {

bool Single() { return (gCurrentStyle & TSS_ROWSELECT) != 0; }
bool Multiple() { return (gCurrentStyle & TSS_MULTIROW) != 0; }

void RepaintRowWithLabel(int row) {
  if (row >= 0 && row < gLockedRecord->rowCount) InvalidateGridRow(row);
}

int LastRowOr(int row) { return row == TSROW_LAST ? gLockedRecord->rowCount - 1 : row; }

/* Sets the flags of rows first..last; answers whether any changed. */
bool SetFlags(int first, int last, bool selected) {
  TesselRecord* record = gLockedRecord;
  bool changed = false;
  for (int r = std::min(first, last); r <= std::max(first, last); ++r) {
    if (RowSelectedFlag(r) == selected) continue;
    SetRowSelectedFlag(r, selected);
    record->selectedRowCount += selected ? 1 : -1;
    RepaintRowWithLabel(r);
    changed = true;
  }
  return changed;
}

LRESULT IsRowSelected(int row) {
  TesselRecord* record = gLockedRecord;
  row = LastRowOr(row);
  if (!Single() && !Multiple()) return TSERR_STATE;
  if (row < 0 || row >= record->rowCount) return TSERR_BADROW;
  if (Single())
    return record->selectedRow >= 0 && row == record->currentRow && record->selectedRow == row ? 1
                                                                                               : 0;
  return RowSelectedFlag(row) ? 1 : 0;
}

LRESULT SelectRowSingle(int row, bool selected) {
  TesselRecord* record = gLockedRecord;
  if (row == TSROW_PASTEND) {
    row = record->currentRow;
    selected = false;
  }
  if (row < 0 || row >= record->rowCount) return TSERR_BADROW;
  if (selected) {
    if (record->selectedRow == row && record->currentRow == row) return 0;
    if (record->currentRow == row) {
      FollowSingleSelection(row);
      NotifyParentAt(TSN_SELCHANGED, row, record->currentColumn);
      return 0;
    }
    return SetCurrentCell(row, record->currentColumn);
  }
  if (row != record->currentRow || record->selectedRow < 0) return 0;
  record->selectedRow = -1;
  RepaintRowWithLabel(row);
  NotifyParentAt(TSN_SELCHANGED, row, record->currentColumn);
  return 0;
}

LRESULT SelectAllRows(bool selected) {
  TesselRecord* record = gLockedRecord;
  if (!Multiple()) return TSERR_STATE;
  if (record->rowCount == 0) return TSERR_BADROW;
  bool changed = SetFlags(0, record->rowCount - 1, selected);
  record->anchorRow = record->rowCount - 1;
  if (changed) NotifyParentAt(TSN_SELCHANGED, record->rowCount - 1, record->notifyColumn);
  return 0;
}

LRESULT SelectRow(int row, bool selected) {
  TesselRecord* record = gLockedRecord;
  row = LastRowOr(row);
  if (Single()) return SelectRowSingle(row, selected);
  if (!Multiple()) return TSERR_STATE;
  if (row == TSROW_PASTEND) return SelectAllRows(selected);
  if (row < 0 || row >= record->rowCount) return TSERR_BADROW;
  record->anchorRow = row;
  SetRowSelection(row, selected, true);
  return 0;
}

/* The first selected row after row (from row 0 for -16). */
LRESULT SelectedRowAfter(int row) {
  TesselRecord* record = gLockedRecord;
  if (!Multiple()) return TSERR_STATE;
  if (record->rowCount == 0 || record->selectedRowCount <= 0) return TSERR_BADROW;
  for (int r = row < 0 ? 0 : row + 1; r < record->rowCount; ++r)
    if (RowSelectedFlag(r)) return r;
  return TSERR_NONE;
}

LRESULT SelectedRows(LPARAM array) {
  if (!Multiple()) return TSERR_STATE;
  if (!array) return TSERR_NULLPTR;
  auto* rows = reinterpret_cast<int32_t*>(array);
  int n = 0;
  for (int r = 0; r < gLockedRecord->rowCount; ++r)
    if (RowSelectedFlag(r)) rows[n++] = r;
  return 0;
}

}  // namespace

bool FollowSingleSelection(int oldRow) {
  TesselRecord* record = gLockedRecord;
  if (!Single() || record->rowCount == 0) return false;
  if (record->dropDown && record->dropDownClosed) return false;
  if (record->selectedRow == record->currentRow) return false;
  int previous = record->selectedRow;
  record->selectedRow = record->currentRow;
  RepaintRowWithLabel(previous);
  RepaintRowWithLabel(oldRow);
  RepaintRowWithLabel(record->currentRow);
  return true;
}

bool SetRowSelection(int row, bool selected, bool notify) {
  if (!SetFlags(row, row, selected)) return false;
  if (notify) NotifyParentAt(TSN_SELCHANGED, row, gLockedRecord->notifyColumn);
  return true;
}

int SelectRowRange(int row, bool selected) {
  TesselRecord* record = gLockedRecord;
  if (!Multiple()) return TSERR_STATE;
  row = LastRowOr(row);
  if (row < 0 || row >= record->rowCount) return TSERR_BADROW;
  if (record->anchorRow < 0 || record->anchorRow >= record->rowCount) record->anchorRow = row;
  bool changed = SetFlags(record->anchorRow, row, selected);
  record->anchorRow = row;
  if (changed) NotifyParentAt(TSN_SELCHANGED, row, record->notifyColumn);
  return 0;
}

LRESULT OnSelectionMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TesselRecord* record = gLockedRecord;
  int row = static_cast<int>(lParam);
  switch (message) {
    case TSM_ISROWSELECTED: return IsRowSelected(row);
    case TSM_SELECTROW: return SelectRow(row, wParam != 0);
    case TSM_SELECTROWRANGE: return SelectRowRange(row, wParam != 0);
    case TSM_SELECTALLROWS: return SelectAllRows(wParam != 0);
    case TSM_GETSELROWCOUNT:
      if (Single())
        return record->selectedRow >= 0 && record->selectedRow < record->rowCount ? 1 : 0;
      return Multiple() ? record->selectedRowCount : TSERR_STATE;
    case TSM_GETSELROW:
      if (!Single()) return TSERR_STATE;
      return record->selectedRow >= 0 && record->selectedRow < record->rowCount
                 ? record->selectedRow
                 : TSERR_NONE;
    case TSM_GETFIRSTSELROW: return SelectedRowAfter(-16);
    case TSM_GETNEXTSELROW: return SelectedRowAfter(row);
    case TSM_GETSELROWS: return SelectedRows(lParam);
    default: return TSERR_BADMESSAGE;
  }
}
