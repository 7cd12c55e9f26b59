/*
** Column restructuring. Each change keeps the column table, both string pools, the cell
** attributes and every row record consistent; in the large data model nothing changes
** while rows exist.
*/
#include "grid/column_restructure.h"

#include "grid/attributes.h"
#include "grid/columns.h"
#include "grid/definitions.h"
#include "grid/layout.h"
#include "grid/record_blocks.h"
#include "grid/references.h"
#include "grid/rows.h"
#include "grid/sorting.h"

#include <cstring>

namespace {

bool Refused() { return (gCurrentStyle & TSS_LARGEDATA) && gLockedRecord->rowCount > 0; }

void ShiftSortKeys(int from, int delta) {
  for (uint16_t& key : gLockedRecord->sortKey) {
    if (!key) continue;
    int column = key - 1;
    if (delta < 0 && column == from) key = 0;
    else if (column >= from + (delta < 0 ? 1 : 0)) key = static_cast<uint16_t>(key + delta);
  }
}

/* Removes a column whose value already takes no bytes. */
void RemoveColumnEntry(int column) {
  TesselRecord* record = gLockedRecord;
  FreeColumnAttributes(column);
  RemoveColumnStrings(column);
  ShiftCellColumns(column, -1);
  ShiftSortKeys(column, -1);
  std::memmove(&gLockedColumns[column], &gLockedColumns[column + 1],
               sizeof(TesselColumn) * static_cast<size_t>(record->columnCount - column - 1));
  record->columnCount -= 1;
  ComputeValueOffsets(RowHeaderSize(), true);
  if (record->leftColumn >= record->columnCount)
    record->leftColumn = static_cast<uint16_t>(std::max(0, FirstScrollingColumn()));
  if (record->currentColumn >= record->columnCount && record->currentColumn > 0)
    record->currentColumn -= 1;
}

int DeleteColumnInternal(int column) {
  SetColumnWidthPixels(column, 0, false);
  TesselColumn& entry = gLockedColumns[column];
  if (entry.type != 0 || entry.length != 0) {
    entry.type = 0;
    int result = SetColumnLength(column, 0, true);
    if (result < 0) return result;
  }
  RemoveColumnEntry(column);
  RecalcLayout();
  InvalidateWholeGrid(true);
  return 0;
}

/* The definition of one column copied onto another (move and copy). */
int CopyDefinition(int from, int to) {
  TesselColumn source = gLockedColumns[from];
  SetColumnFlags(to, source.flags);
  gLockedColumns[to].type = source.type;
  int result = SetColumnLength(to, source.length, true);
  if (result < 0) return result;
  SetColumnWidthPixels(to, source.width, false);
  TesselColumn& target = gLockedColumns[to];
  target.value1 = source.value1;
  target.value2 = source.value2;
  target.editStyle = source.editStyle;
  for (ColumnStringKind kind : {kFormatString, kHeadingString, kNameString, kListItemsString}) {
    std::string text = ColumnString(from, kind);
    result = SetColumnString(to, kind, text.c_str());
    if (result < 0) return result;
  }
  return 0;
}

void CopyValues(int from, int to) {
  TesselRecord* record = gLockedRecord;
  uint16_t length = gLockedColumns[to].length;
  for (int r = 0; r < record->rowCount; ++r) {
    uint8_t* row = RowAddress(r);
    std::memmove(row + gLockedColumns[to].valueOffset, row + gLockedColumns[from].valueOffset,
                 length);
  }
}

long TargetPosition(LPARAM target) {
  int count = gLockedRecord->columnCount;
  uint16_t position = static_cast<uint16_t>(target);
  if (position == 0xFFFE) return count;
  if (position == 0xFFFF) return count - 1;
  return position < count ? position : TSERR_BADCOL;
}

LRESULT InsertColumn(WPARAM reference, const void* definition, bool extended) {
  HGLOBAL handle = gLockedHandle;
  if (Refused()) return TSERR_STATE;
  long position = ResolveColumnReference(reference, kAllowAppend);
  if (position < 0) {
    // Positions past the end append.
    if ((reference & 3) == TSREF_CURSOR &&
        gLockedRecord->cursorColumn > gLockedRecord->columnCount &&
        gLockedRecord->cursorColumn != TSCOL_ROWLABEL)
      position = gLockedRecord->columnCount;
    else return position;
  }
  int column = static_cast<int>(position);
  int result = InsertBlankColumn(column);
  if (result < 0) return result;
  if (!definition) {
    InvalidateWholeGrid(true);
    UpdateWindow(gCurrentGrid);
    return 0;
  }
  result = ApplyColumnRecord(column, definition, extended, true);
  if (result < 0) return result;
  InvalidateGridColumn(column);
  NotifyParentAt(TSN_COLINSERTED, gLockedRecord->notifyRow, column);
  return GridStillLocked(handle) ? 0 : TSERR_LOCKFAILED;
}

LRESULT DeleteColumn(WPARAM reference) {
  if (gLockedRecord->columnCount == 0) return TSERR_STATE;
  if (Refused()) return TSERR_STATE;
  long column = ResolveColumnReference(reference, kPlainReference);
  if (column < 0) return column;
  int result = DeleteColumnInternal(static_cast<int>(column));
  if (result < 0) return result;
  gLockedRecord->columnIterationLast = static_cast<int32_t>(column) - 1;
  NotifyParentAt(TSN_COLDELETED, gLockedRecord->notifyRow, static_cast<int>(column));
  return 0;
}

LRESULT MoveOrCopyColumn(WPARAM reference, LPARAM target, bool move) {
  if (gLockedRecord->columnCount == 0 || Refused()) return TSERR_STATE;
  long source = ResolveColumnReference(reference, kPlainReference);
  if (source < 0) return source;
  long position = TargetPosition(target);
  if (position < 0) return position;
  if (move && (position == source || position == source + 1)) return 0;
  int result = InsertBlankColumn(static_cast<int>(position));
  if (result < 0) return result;
  int from = static_cast<int>(source >= position ? source + 1 : source);
  result = CopyDefinition(from, static_cast<int>(position));
  if (result < 0) return result;
  CopyValues(from, static_cast<int>(position));
  int place = static_cast<int>(position);
  if (move) {
    result = DeleteColumnInternal(from);
    if (result < 0) return result;
    if (from < place) place -= 1;
    NotifyParentAt(TSN_COLMOVED, gLockedRecord->notifyRow, place);
    return 0;
  }
  RecalcLayout();
  InvalidateWholeGrid(true);
  return 0;
}

LRESULT ColumnData(WPARAM reference, void* array, bool set) {
  TesselRecord* record = gLockedRecord;
  if (record->columnCount == 0 || (gCurrentStyle & (TSS_LARGEDATA | TSS_VIRTUALMEM)))
    return TSERR_STATE;
  if (!array) return TSERR_NULLPTR;
  long column = ResolveColumnReference(reference, kPlainReference);
  if (column < 0) return column;
  const TesselColumn& entry = gLockedColumns[column];
  auto* packed = static_cast<uint8_t*>(array);
  for (int r = 0; r < record->rowCount; ++r) {
    uint8_t* value = RowAddress(r) + entry.valueOffset;
    if (set) std::memcpy(value, packed + static_cast<size_t>(r) * entry.length, entry.length);
    else std::memcpy(packed + static_cast<size_t>(r) * entry.length, value, entry.length);
  }
  if (set && SortKeyOneSet() && IsSortKeyColumn(static_cast<int>(column))) return SortRows();
  if (set) InvalidateGridColumn(static_cast<int>(column));
  return 0;
}

}  // namespace

int InsertBlankColumn(int position) {
  TesselRecord* record = gLockedRecord;
  if (record->columnCount >= TS_MAXCOLUMNS) return TSERR_LIMIT;
  if (position > record->columnCount) position = record->columnCount;
  bool noScrolling = FirstScrollingColumn() < 0;
  int result = EnsureColumnTable(record->columnCount + 1);
  if (result < 0) return result;
  std::memmove(&gLockedColumns[position + 1], &gLockedColumns[position],
               sizeof(TesselColumn) * static_cast<size_t>(record->columnCount - position));
  gLockedColumns[position] = TesselColumn{};
  record->columnCount += 1;
  result = InsertColumnStrings(position);
  if (result < 0) return result;
  ShiftCellColumns(position, +1);
  ShiftSortKeys(position, +1);
  ComputeValueOffsets(RowHeaderSize(), true);
  if (noScrolling) record->leftColumn = static_cast<uint16_t>(position);
  else if (record->leftColumn > position) record->leftColumn += 1;
  UpdateScrollBars();
  return 0;
}

LRESULT OnRestructureMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  void* pointer = reinterpret_cast<void*>(lParam);
  switch (message) {
    case TSM_INSERTBLANKCOL:
      if (Refused()) return TSERR_STATE;
      return InsertBlankColumn(static_cast<int>(wParam & 0xFFFF));
    case TSM_INSERTCOL: return InsertColumn(wParam, pointer, false);
    case TSM_INSERTCOLEX: return InsertColumn(wParam, pointer, true);
    case TSM_DELETECOL: return DeleteColumn(wParam);
    case TSM_MOVECOL: return MoveOrCopyColumn(wParam, lParam, true);
    case TSM_COPYCOL: return MoveOrCopyColumn(wParam, lParam, false);
    case TSM_GETCOLDATA: return ColumnData(wParam, pointer, false);
    case TSM_SETCOLDATA: return ColumnData(wParam, pointer, true);
    default: return TSERR_BADMESSAGE;
  }
}
