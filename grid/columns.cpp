/*
** Column definition messages. Every refusal keeps the old definition, so type, length and
** style sent in either order give the same column.
*/
#include "grid/columns.h"

#include "grid/layout.h"
#include "grid/library_state.h"
#include "grid/record_blocks.h"
#include "grid/rows.h"
#include "grid/sorting.h"
#include "grid/type_table.h"

#include <cstdio>
#include <cstring>

namespace {

bool LargeDataWithRows() { return (gCurrentStyle & TSS_LARGEDATA) && gLockedRecord->rowCount > 0; }

bool HasRowLabels() { return (gCurrentStyle & (TSS_ROWBUTTONS | TSS_ROWNUMBERS)) != 0; }

bool ValidColumn(WPARAM column) { return column < gLockedRecord->columnCount; }

/* Sort keys: bits 0x5000 name key 1 (0x4000), 2 (0x1000) or 3 (both). */
int SortKeyOfFlags(uint16_t flags) {
  switch (flags & 0x5000) {
    case 0x4000: return 1;
    case 0x1000: return 2;
    case 0x5000: return 3;
    default: return 0;
  }
}

void AssignSortKey(int column, uint16_t& flags) {
  TesselRecord* record = gLockedRecord;
  if ((flags & TSCS_SORTDES) && SortKeyOfFlags(flags) == 0) flags |= TSCS_SORTKEY1;
  int key = SortKeyOfFlags(flags);
  for (int k = 0; k < 3; ++k)
    if (record->sortKey[k] == column + 1) record->sortKey[k] = 0;
  if (key == 0) return;
  int holder = record->sortKey[key - 1] - 1;
  if (holder >= 0 && holder != column && holder < record->columnCount)
    gLockedColumns[holder].flags &= static_cast<uint16_t>(~0x5000);
  record->sortKey[key - 1] = static_cast<uint16_t>(column + 1);
}

int EffectiveWidth(const TesselColumn& column) {
  return (column.flags & TSCS_HIDDEN) ? 0 : column.width;
}

int SetStringChecked(int column, ColumnStringKind kind, const char* text, size_t limit) {
  if (!text) return TSERR_NULLPTR;
  if (strnlen(text, limit) >= limit) return TSERR_LIMIT;
  return SetColumnString(column, kind, text);
}

int HeadingLines(const char* text) {
  int lines = 1;
  for (const char* p = text; *p; ++p)
    if (p[0] == '\r' && p[1] == '\n') ++lines;
  return lines;
}

int SetHeading(int column, const char* text) {
  if (!text) return TSERR_NULLPTR;
  int oldLines = HeadingLines(ColumnString(column, kHeadingString));
  int result = SetStringChecked(column, kHeadingString, text, TS_HEADINGLIMIT);
  if (result < 0) return result;
  TesselRecord* record = gLockedRecord;
  if (HeadingLines(text) != oldLines) {
    int most = 1;
    for (int c = 0; c < record->columnCount; ++c)
      most = std::max(most, HeadingLines(ColumnString(c, kHeadingString)));
    if (most != record->headingLines) {
      record->headingLines = most;
      RecalcLayout();
      InvalidateWholeGrid(true);
      return 0;
    }
  }
  InvalidateGridCell(TSROW_HEADING, column);
  return 0;
}

LRESULT GetString(WPARAM column, LPARAM buffer, ColumnStringKind kind, size_t limit) {
  if (!ValidColumn(column)) return TSERR_BADCOL;
  if (!buffer) return TSERR_NULLPTR;
  CopyOut(reinterpret_cast<char*>(buffer), ColumnString(static_cast<int>(column), kind), limit);
  return 0;
}

LRESULT ListItemsSize(WPARAM column) {
  if (!ValidColumn(column)) return TSERR_BADCOL;
  return static_cast<LRESULT>(
      std::strlen(ColumnString(static_cast<int>(column), kListItemsString)) + 1);
}

LRESULT FindColumnName(const char* name) {
  if (!name) return TSERR_NULLPTR;
  for (int c = 0; c < gLockedRecord->columnCount; ++c)
    if (std::strcmp(ColumnString(c, kNameString), name) == 0) return c;
  return TSERR_BADCOL;
}

LRESULT GetMetric(WPARAM which) {
  TesselRecord* record = gLockedRecord;
  switch (which) {
    case 1: return record->rowHeight;
    case 2: return record->totalWidth - record->rowLabelWidth;
    case 3: return record->headingHeight;
    case 4: return record->rowLabelWidth;
    default: return TSERR_STATE;
  }
}

LRESULT SetColumnCount(WPARAM count) {
  if (count == 0) return TSERR_ZEROCOUNT;
  if (gLockedRecord->columnCount > 0) return TSERR_STATE;
  if (count > TS_MAXCOLUMNS) return TSERR_LIMIT;
  int result = AppendDefaultColumns(static_cast<int>(count));
  if (result < 0) return result;
  UpdateScrollBars();
  InvalidateGridRow(TSROW_HEADING);
  return 0;
}

LRESULT ColumnWidthUnits(WPARAM column) {
  if (column == TSCOL_ROWLABEL)
    return HasRowLabels() ? PixelsToUnits(gLockedRecord->rowLabelWidth) : TSERR_BADCOL;
  if (!ValidColumn(column)) return TSERR_BADCOL;
  return PixelsToUnits(gLockedColumns[column].width);
}

LRESULT SetColumnWidthUnits(WPARAM column, LPARAM units) {
  long width = static_cast<long>(static_cast<int32_t>(units));
  if (width < 0) return TSERR_BADWIDTH;
  if (width > 32767) width = 32767;
  if (column == TSCOL_ROWLABEL) {
    if (!HasRowLabels()) return TSERR_BADCOL;
    gLockedRecord->rowLabelWidth = UnitsToPixels(static_cast<int>(width));
    gLockedRecord->labelWidthFromRows = 0;
    RecalcLayout();
    InvalidateWholeGrid(true);
    return 0;
  }
  if (!ValidColumn(column)) return TSERR_BADCOL;
  return SetColumnWidthPixels(static_cast<int>(column), UnitsToPixels(static_cast<int>(width)),
                              true);
}

LRESULT GetColumnFlags(WPARAM column) {
  if (column == TSCOL_ROWLABEL) return gLockedRecord->labelColumnFlags;
  if (!ValidColumn(column)) return TSERR_BADCOL;
  return gLockedColumns[column].flags;
}

LRESULT SetColumnFlagsMessage(WPARAM column, LPARAM flags) {
  if (column == TSCOL_ROWLABEL) {
    gLockedRecord->labelColumnFlags = static_cast<uint16_t>(flags);
    return 0;
  }
  if (!ValidColumn(column)) return TSERR_BADCOL;
  return SetColumnFlags(static_cast<int>(column), static_cast<uint16_t>(flags));
}

LRESULT SetTypeMessage(WPARAM column, LPARAM type) {
  if (!ValidColumn(column)) return TSERR_BADCOL;
  return SetColumnType(static_cast<int>(column), static_cast<uint16_t>(type));
}

LRESULT SetLengthMessage(WPARAM column, LPARAM length) {
  if (!ValidColumn(column)) return TSERR_BADCOL;
  return SetColumnLength(static_cast<int>(column), static_cast<long>(static_cast<int32_t>(length)),
                         false);
}

LRESULT PlainField(UINT message, WPARAM column, LPARAM value) {
  if (!ValidColumn(column))
    return (message == TSM_GETCOLVALUE1 || message == TSM_GETCOLVALUE2) ? 0 : TSERR_BADCOL;
  TesselColumn& entry = gLockedColumns[column];
  switch (message) {
    case TSM_GETCOLVALUE1: return entry.value1;
    case TSM_GETCOLVALUE2: return entry.value2;
    case TSM_SETCOLVALUE1: entry.value1 = static_cast<int32_t>(value); return 0;
    case TSM_SETCOLVALUE2: entry.value2 = static_cast<int32_t>(value); return 0;
    case TSM_GETEDITSTYLE: return entry.editStyle;
    default: entry.editStyle = static_cast<uint32_t>(value); return 0;
  }
}

LRESULT SetStringMessage(UINT message, WPARAM column, const char* text) {
  if (!ValidColumn(column)) return TSERR_BADCOL;
  int c = static_cast<int>(column);
  switch (message) {
    case TSM_SETCOLFORMAT: {
      int result = SetStringChecked(c, kFormatString, text, TS_FORMATLIMIT);
      if (result == 0) InvalidateGridColumn(c);
      return result;
    }
    case TSM_SETCOLHEADING: return SetHeading(c, text);
    case TSM_SETCOLNAME: {
      int result = SetStringChecked(c, kNameString, text, TS_NAMELIMIT);
      if (result == 0) NotifyParentAt(TSN_COLNAMECHANGED, gLockedRecord->notifyRow, c);
      return result;
    }
    default: return SetColumnString(c, kListItemsString, text ? text : "");
  }
}

}  // namespace

int UnitsToPixels(int units) { return units * gBaseUnitX / 4; }

int PixelsToUnits(int pixels) { return gBaseUnitX ? pixels * 4 / gBaseUnitX : 0; }

void CopyOut(char* buffer, const char* text, size_t limit) {
  size_t length = strnlen(text, limit - 1);
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
}

int AppendDefaultColumns(int count) {
  TesselRecord* record = gLockedRecord;
  int first = record->columnCount;
  if (first + count > TS_MAXCOLUMNS) return TSERR_LIMIT;
  int result = EnsureColumnTable(first + count);
  if (result < 0) return result;
  for (int c = first; c < first + count; ++c) {
    gLockedColumns[c] = TesselColumn{};
    gLockedColumns[c].width = 10 * gBaseUnitX;
    record->columnCount = static_cast<uint16_t>(c + 1);
    result = InsertColumnStrings(c);
    if (result < 0) {
      record->columnCount = static_cast<uint16_t>(c);
      return result;
    }
    record->totalWidth += gLockedColumns[c].width;
  }
  ComputeValueOffsets(RowHeaderSize(), true);
  return 0;
}

int SetColumnType(int column, uint16_t type) {
  TesselColumn& entry = gLockedColumns[column];
  if (entry.type == type) return 0;
  uint16_t size = TypeFixedSize(type);
  if (size != 0 && LargeDataWithRows()) return TSERR_STATE;
  uint16_t oldType = entry.type;
  entry.type = type;
  int result = SetColumnLength(column, size, true);
  if (result < 0) gLockedColumns[column].type = oldType;
  return result;
}

int SetColumnLength(int column, long length, bool forced) {
  if (LargeDataWithRows()) return TSERR_STATE;
  TesselColumn& entry = gLockedColumns[column];
  if (!forced) {
    if (length == entry.length) return 0;
    if (TypeFixedSize(entry.type) != 0) return TSERR_FIXEDLEN;
  }
  if (length < 0 || length > TS_MAXCOLLEN) return TSERR_LIMIT;
  RowLayout old = CurrentRowLayout();
  uint16_t oldLength = entry.length;
  entry.length = static_cast<uint16_t>(length);
  // One pass lays the columns out; a row that would grow too long takes the old layout back.
  long rowLength = ComputeValueOffsets(RowHeaderSize(), true);
  if (rowLength < 0) {
    entry.length = oldLength;
    RestoreRowLayout(old);
    return static_cast<int>(rowLength);
  }
  int result = RelayRows(old, column);
  if (result < 0) {
    // Back to the old layout: the rows were not touched.
    gLockedColumns[column].length = oldLength;
    ComputeValueOffsets(old.headerSize, true);
    return result;
  }
  InvalidateGridColumn(column);
  return 0;
}

int SetColumnWidthPixels(int column, int pixels, bool notify) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  TesselColumn& entry = gLockedColumns[column];
  if (entry.width == pixels) return 0;
  int before = EffectiveWidth(entry);
  entry.width = pixels;
  record->totalWidth += EffectiveWidth(entry) - before;
  int left = 0, right = 0;
  if (ColumnExtent(column, &left, &right)) {
    RECT moved{left, 0, record->clientWidth, record->clientHeight};
    if (record->redrawOn) InvalidateRect(gCurrentGrid, &moved, TRUE);
    else record->paintDeferred = 1;
  }
  RecomputeLastVisibleColumn();
  if (notify) {
    NotifyParentAt(TSN_COLWIDTHCHANGED, record->notifyRow, column);
    if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  }
  RecalcLayout();
  return 0;
}

int SetColumnFlags(int column, uint16_t flags) {
  TesselRecord* record = gLockedRecord;
  if (gCurrentStyle & TSS_VIRTUALMEM) flags &= static_cast<uint16_t>(~0xD400);
  TesselColumn& entry = gLockedColumns[column];
  uint16_t old = entry.flags;
  AssignSortKey(column, flags);
  int before = EffectiveWidth(entry);
  entry.flags = flags;
  record->totalWidth += EffectiveWidth(entry) - before;
  bool nowOff = (flags & (TSCS_HIDDEN | TSCS_LOCKED)) && !(old & (TSCS_HIDDEN | TSCS_LOCKED));
  if (nowOff && record->leftColumn == column) {
    int first = FirstScrollingColumn();
    record->leftColumn = static_cast<uint16_t>(first < 0 ? 0 : first);
  }
  if (nowOff && record->currentColumn == column && (flags & TSCS_HIDDEN)) {
    int next = FirstScrollingColumn();
    record->currentColumn = static_cast<uint16_t>(next < 0 ? 0 : next);
  }
  RecalcLayout();
  if ((flags ^ old) & 0xD400) return SortRows();
  if ((flags ^ old) & TSCS_LOCKED) {
    int first = FirstScrollingColumn();
    record->leftColumn = static_cast<uint16_t>(first < 0 ? 0 : first);
    InvalidateWholeGrid(true);
  } else if (EffectiveWidth(entry) != before) {
    InvalidateWholeGrid(true);
  } else {
    InvalidateGridColumn(column);
  }
  return 0;
}

void ColumnHeadingText(int column, char* text) {
  text[0] = '\0';
  switch (gCurrentStyle & TSS_OWNERDEF) {
    case TSS_NONE: return;
    case TSS_NUMBERS: std::snprintf(text, 16, "%d", column + 1); return;
    case TSS_LETTERS:
      if (column < 26) std::snprintf(text, 16, "%c", 'A' + column);
      else std::snprintf(text, 16, "%c%c", 'A' + column / 26, 'A' + column % 26);
      return;
    default: CopyOut(text, ColumnString(column, kHeadingString), TS_HEADINGLIMIT);
  }
}

LRESULT OnColumnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  WPARAM column = wParam & 0xFFFF;
  auto text = reinterpret_cast<const char*>(lParam);
  switch (message) {
    case TSM_GETCOLCOUNT: return gLockedRecord->columnCount;
    case TSM_SETCOLCOUNT: return SetColumnCount(column);
    case TSM_GETCOLSTYLE: return GetColumnFlags(column);
    case TSM_SETCOLSTYLE: return SetColumnFlagsMessage(column, lParam);
    case TSM_GETCOLTYPE: return ValidColumn(column) ? gLockedColumns[column].type : TSERR_BADCOL;
    case TSM_SETCOLTYPE: return SetTypeMessage(column, lParam);
    case TSM_GETCOLLEN: return ValidColumn(column) ? gLockedColumns[column].length : TSERR_BADCOL;
    case TSM_SETCOLLEN: return SetLengthMessage(column, lParam);
    case TSM_GETCOLWIDTH: return ColumnWidthUnits(column);
    case TSM_SETCOLWIDTH: return SetColumnWidthUnits(column, lParam);
    case TSM_GETCOLFORMAT: return GetString(column, lParam, kFormatString, TS_FORMATLIMIT);
    case TSM_GETCOLNAME: return GetString(column, lParam, kNameString, TS_NAMELIMIT);
    case TSM_GETLISTITEMS:
      return GetString(column, lParam, kListItemsString,
                       static_cast<size_t>(ListItemsSize(column) > 0 ? ListItemsSize(column) : 1));
    case TSM_GETCOLHEADING:
      if (!ValidColumn(column)) return TSERR_BADCOL;
      if (!lParam) return TSERR_NULLPTR;
      ColumnHeadingText(static_cast<int>(column), reinterpret_cast<char*>(lParam));
      return 0;
    case TSM_SETCOLFORMAT:
    case TSM_SETCOLHEADING:
    case TSM_SETCOLNAME:
    case TSM_SETLISTITEMS: return SetStringMessage(message, column, text);
    case TSM_FINDCOLNAME: return FindColumnName(text);
    case TSM_GETLISTITEMSSIZE: return ListItemsSize(column);
    case TSM_GETMETRIC: return GetMetric(wParam);
    default: return PlainField(message, column, lParam);
  }
}
