/*
** Column selection. In single style the selection is a flag for whichever column is
** current; in multiple style each column entry keeps its own flag and the grid counts them.
*/
#include "grid/column_selection.h"

#include "grid/layout.h"
#include "grid/navigation.h"

#include <algorithm>

namespace {

bool ValidColumn(int column) { return column >= 0 && column < gLockedRecord->columnCount; }

bool SetFlags(int first, int last, bool selected) {
  TesselRecord* record = gLockedRecord;
  bool changed = false;
  for (int c = std::min(first, last); c <= std::max(first, last); ++c) {
    if ((gLockedColumns[c].selected != 0) == selected) continue;
    gLockedColumns[c].selected = selected ? 1 : 0;
    record->selectedColumnCount += selected ? 1 : -1;
    InvalidateGridColumn(c);
    changed = true;
  }
  return changed;
}

void NotifyColumn(int column) { NotifyParentAt(TSN_SELCHANGED, gLockedRecord->notifyRow, column); }

LRESULT SelectColumnSingle(int column, bool selected) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (selected) {
    bool was = record->selectedColumnCount != 0 && record->currentColumn == column;
    if (record->currentColumn != column) {
      int moved = SetCurrentCell(record->currentRow, column);
      if (moved < 0) return moved;
      if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
      record = gLockedRecord;
    }
    if (was) return 0;
    record->selectedColumnCount = 1;
    InvalidateGridColumn(column);
    NotifyColumn(column);
    return 0;
  }
  if (column != record->currentColumn || !record->selectedColumnCount) return 0;
  record->selectedColumnCount = 0;
  InvalidateGridColumn(column);
  NotifyColumn(column);
  return 0;
}

LRESULT SelectAllColumns(bool selected) {
  TesselRecord* record = gLockedRecord;
  if (!MultipleColumnStyle()) return TSERR_STATE;
  if (record->columnCount == 0) return TSERR_BADCOL;
  bool changed = SetFlags(0, record->columnCount - 1, selected);
  record->anchorColumn = record->columnCount - 1;
  if (changed) NotifyColumn(record->columnCount - 1);
  return 0;
}

LRESULT SelectedColumnAfter(int column) {
  TesselRecord* record = gLockedRecord;
  if (!MultipleColumnStyle()) return TSERR_STATE;
  if (record->columnCount == 0 || record->selectedColumnCount <= 0) return TSERR_BADCOL;
  int from = (column == 0xFFF0 || column < 0) ? 0 : column + 1;
  for (int c = from; c < record->columnCount; ++c)
    if (gLockedColumns[c].selected) return c;
  return TSERR_NONE;
}

LRESULT SelectedColumns(LPARAM array) {
  if (!MultipleColumnStyle()) return TSERR_STATE;
  if (!array) return TSERR_NULLPTR;
  auto* columns = reinterpret_cast<uint16_t*>(array);
  int n = 0;
  for (int c = 0; c < gLockedRecord->columnCount; ++c)
    if (gLockedColumns[c].selected) columns[n++] = static_cast<uint16_t>(c);
  return 0;
}

}  // namespace

bool SingleColumnStyle() {
  return (gCurrentStyle & TSS_COLSELECT) != 0 && !(gCurrentStyle & TSS_MULTICOL);
}
bool MultipleColumnStyle() { return (gCurrentStyle & TSS_MULTICOL) != 0; }

bool ColumnSelected(int column) {
  TesselRecord* record = gLockedRecord;
  if (!ValidColumn(column)) return false;
  if (SingleColumnStyle())
    return record->selectedColumnCount != 0 && column == record->currentColumn;
  return MultipleColumnStyle() && gLockedColumns[column].selected != 0;
}

bool SetColumnSelection(int column, bool selected) {
  if (!MultipleColumnStyle() || !ValidColumn(column)) return false;
  if (!SetFlags(column, column, selected)) return false;
  NotifyColumn(column);
  return true;
}

int SelectColumnRange(int column, bool selected) {
  TesselRecord* record = gLockedRecord;
  if (!MultipleColumnStyle()) return TSERR_STATE;
  if (!ValidColumn(column)) return TSERR_BADCOL;
  if (!ValidColumn(record->anchorColumn)) record->anchorColumn = column;
  bool changed = SetFlags(record->anchorColumn, column, selected);
  record->anchorColumn = column;
  if (changed) NotifyColumn(column);
  return 0;
}

LRESULT OnColumnSelectionMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TesselRecord* record = gLockedRecord;
  int column = static_cast<int>(wParam & 0xFFFF);
  bool styled = SingleColumnStyle() || MultipleColumnStyle();
  switch (message) {
    case TSM_ISCOLSELECTED:
      if (!styled) return TSERR_STATE;
      if (!ValidColumn(column)) return TSERR_BADCOL;
      return ColumnSelected(column) ? 1 : 0;
    case TSM_SELECTCOL:
      if (!styled) return TSERR_STATE;
      if (!ValidColumn(column)) return TSERR_BADCOL;
      if (SingleColumnStyle()) return SelectColumnSingle(column, lParam != 0);
      record->anchorColumn = column;
      SetColumnSelection(column, lParam != 0);
      return 0;
    case TSM_SELECTCOLRANGE: return SelectColumnRange(column, lParam != 0);
    case TSM_SELECTALLCOLS: return SelectAllColumns(lParam != 0);
    case TSM_GETSELCOLCOUNT:
      if (!styled) return TSERR_STATE;
      return SingleColumnStyle() ? (record->selectedColumnCount ? 1 : 0)
                                 : record->selectedColumnCount;
    case TSM_GETSELCOL:
      if (!SingleColumnStyle()) return TSERR_STATE;
      return record->selectedColumnCount ? record->currentColumn : TSERR_NONE;
    case TSM_GETFIRSTSELCOL: return SelectedColumnAfter(0xFFF0);
    case TSM_GETNEXTSELCOL: return SelectedColumnAfter(column);
    case TSM_GETSELCOLS: return SelectedColumns(lParam);
    default: return TSERR_BADMESSAGE;
  }
}
