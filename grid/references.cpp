/*
** Resolving the references of the grid's messages. The data cursor may stand on a row or
** on the special places: -1 the last row, -2 the append position, -4 the heading row,
** -3 past the end after an advance; column 0xFFFB is the row-label column.
*/
#include "grid/references.h"

#include "grid/rows.h"

namespace {

bool VirtualMode() { return (gCurrentStyle & TSS_VIRTUALMEM) != 0; }

/* The first selected row at or after from, or -1. */
int SelectedRowFrom(int from) {
  TesselRecord* record = gLockedRecord;
  if (gCurrentStyle & TSS_MULTIROW) {
    for (int row = from < 0 ? 0 : from; row < record->rowCount; ++row)
      if (RowSelectedFlag(row)) return row;
    return -1;
  }
  if ((gCurrentStyle & TSS_ROWSELECT) && record->selectedRow >= from && record->selectedRow >= 0 &&
      record->selectedRow < record->rowCount)
    return record->selectedRow;
  return -1;
}

void AdvanceCursorRow(WPARAM reference) {
  TesselRecord* record = gLockedRecord;
  if (VirtualMode()) return;
  if (reference & TSREF_FORWARD)
    record->cursorRow =
        record->cursorRow + 1 < record->rowCount ? record->cursorRow + 1 : TSROW_PASTEND;
  else if (reference & TSREF_BACKWARD)
    record->cursorRow = record->cursorRow > 0 ? record->cursorRow - 1 : TSROW_PASTEND;
}

long CursorRow(unsigned use) {
  TesselRecord* record = gLockedRecord;
  int row = record->cursorRow;
  if (row == TSROW_HEADING) return (use & kAllowHeading) ? row : TSERR_BADROW;
  if (row == TSROW_APPEND) return (use & kAllowAppend) ? record->rowCount : TSERR_BADROW;
  if (row < 0 || row >= record->rowCount) {
    bool openVirtual = VirtualMode() && (record->countUnknown || record->ownerFetch);
    if (!(openVirtual && row >= 0)) return TSERR_BADROW;
  }
  return row;
}

long SelectedRowReference(bool first) {
  TesselRecord* record = gLockedRecord;
  if (VirtualMode()) return TSERR_STATE;
  if (!first && !record->rowIterationRunning) return TSERR_STATE;
  if (!(gCurrentStyle & (TSS_ROWSELECT | TSS_MULTIROW))) return TSERR_STATE;
  int row = SelectedRowFrom(first ? 0 : record->rowIterationLast + 1);
  if (row < 0) {
    record->rowIterationRunning = 0;
    return first ? TSERR_BADROW : TSERR_NONE;
  }
  record->rowIterationRunning = 1;
  return row;
}

/* One step of the cursor through the cells, along the row or down the column. */
void AdvanceCursorCell(WPARAM reference) {
  TesselRecord* record = gLockedRecord;
  if (VirtualMode() || !(reference & (TSREF_FORWARD | TSREF_BACKWARD))) return;
  int rows = record->rowCount;
  int columns = record->columnCount;
  int row = record->cursorRow;
  int column = record->cursorColumn == TSCOL_ROWLABEL ? -1 : record->cursorColumn;
  bool forward = (reference & TSREF_FORWARD) != 0;
  bool byColumn = (reference & TSREF_BYCOLUMN) != 0;
  int& minor = byColumn ? row : column;
  int& major = byColumn ? column : row;
  int minorCount = byColumn ? rows : columns;
  int majorCount = byColumn ? columns : rows;
  minor += forward ? 1 : -1;
  if (minor >= minorCount) {
    minor = 0;
    ++major;
  } else if (minor < 0) {
    minor = minorCount - 1;
    --major;
  }
  if (major < 0 || major >= majorCount) {
    record->cursorRow = TSROW_PASTEND;
    record->cursorColumn = static_cast<uint16_t>(TSROW_PASTEND);
    return;
  }
  record->cursorRow = row;
  record->cursorColumn = static_cast<uint16_t>(column);
}

}  // namespace

void RecordIterationRow(int row) {
  gLockedRecord->rowIterationLast = row;
  gLockedRecord->rowIterationRunning = 1;
}

long ResolveRowReference(WPARAM reference, unsigned use) {
  TesselRecord* record = gLockedRecord;
  switch (reference & 3) {
    case TSREF_CURSOR: {
      long row = CursorRow(use);
      if (row >= 0 || row == TSROW_HEADING) AdvanceCursorRow(reference);
      return row;
    }
    case TSREF_CURRENT:
      if (record->currentRow < 0 || record->currentRow >= record->rowCount) return TSERR_BADROW;
      return record->currentRow;
    case TSREF_FIRSTSEL: return SelectedRowReference(true);
    default: return SelectedRowReference(false);
  }
}

long ResolveCellReference(WPARAM reference, unsigned use, int* row, int* column) {
  TesselRecord* record = gLockedRecord;
  if ((reference & 3) >= TSREF_FIRSTSEL) return TSERR_STATE;
  if ((reference & 3) == TSREF_CURRENT) {
    if (record->columnCount == 0 || record->currentColumn >= record->columnCount)
      return TSERR_BADCOL;
    if (record->currentRow < 0 || record->currentRow >= record->rowCount) return TSERR_BADROW;
    *row = record->currentRow;
    *column = record->currentColumn;
    return 0;
  }
  long resolvedRow = CursorRow(use & kAllowHeading);
  if (resolvedRow < 0 && resolvedRow != TSROW_HEADING) return resolvedRow;
  int resolvedColumn = record->cursorColumn;
  bool label = resolvedColumn == TSCOL_ROWLABEL && (use & kAllowHeading);
  if (!label && resolvedColumn >= record->columnCount) return TSERR_BADCOL;
  *row = static_cast<int>(resolvedRow);
  *column = label ? TSCOL_ROWLABEL : resolvedColumn;
  AdvanceCursorCell(reference);
  return 0;
}

long ResolveColumnReference(WPARAM reference, unsigned use) {
  TesselRecord* record = gLockedRecord;
  long column;
  switch (reference & 3) {
    case TSREF_CURSOR: {
      column = record->cursorColumn;
      if (column == 0xFFFE && (use & kAllowAppend)) return record->columnCount;
      if (column >= record->columnCount) return TSERR_BADCOL;
      if (reference & TSREF_FORWARD)
        record->cursorColumn =
            static_cast<uint16_t>(column + 1 < record->columnCount ? column + 1 : 0xFFFD);
      else if (reference & TSREF_BACKWARD)
        record->cursorColumn = static_cast<uint16_t>(column > 0 ? column - 1 : 0xFFFD);
      break;
    }
    case TSREF_CURRENT: column = record->currentColumn; break;
    default: {
      bool first = (reference & 3) == TSREF_FIRSTSEL;
      if (!first && !record->columnIterationRunning) return TSERR_STATE;
      column = TSERR_NONE;
      for (int c = first ? 0 : record->columnIterationLast + 1; c < record->columnCount; ++c)
        if (gLockedColumns[c].selected) {
          column = c;
          break;
        }
      record->columnIterationRunning = column >= 0;
      if (column < 0) return column;
      record->columnIterationLast = static_cast<int32_t>(column);
    }
  }
  if (column < 0 || column >= record->columnCount) return TSERR_BADCOL;
  return column;
}

LRESULT OnSetCursor(WPARAM column, LPARAM row) {
  TesselRecord* record = gLockedRecord;
  int target = static_cast<int>(row);
  if (target == TSROW_LAST) target = record->rowCount > 0 ? record->rowCount - 1 : 0;
  record->cursorRow = target;
  record->cursorColumn = static_cast<uint16_t>(column);
  return 0;
}

LRESULT OnGetRefCol(WPARAM reference) {
  if (gLockedRecord->columnCount == 0) return TSERR_BADCOL;
  return ResolveColumnReference(reference, kPlainReference);
}
