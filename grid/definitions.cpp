/*
** Reset, style and whole definitions. A definition buffer is checked whole before the
** grid is reset, so a damaged one changes nothing.
*/
#include "grid/definitions.h"

#include "grid/dropdown.h"

#include "grid/attributes.h"
#include "grid/columns.h"
#include "grid/layout.h"
#include "grid/record_blocks.h"
#include "grid/rows.h"
#include "grid/tessel.h"
#include "grid/type_table.h"

#include <cstring>
#include <vector>

namespace {

const size_t kColDefMaxSize = 20 + TS_FORMATLIMIT + TS_HEADINGLIMIT + TS_NAMELIMIT;

size_t ColDefSize(int column) {
  return 20 + std::strlen(ColumnString(column, kFormatString)) +
         std::strlen(ColumnString(column, kHeadingString)) +
         std::strlen(ColumnString(column, kNameString)) + 3;
}

LRESULT GetColDef(WPARAM column, void* buffer) {
  if (column >= gLockedRecord->columnCount) return TSERR_BADCOL;
  if (!buffer) return TSERR_NULLPTR;
  auto* record = static_cast<uint8_t*>(buffer);
  TesselColDef fixed;
  std::memcpy(&fixed, record, sizeof fixed);
  if (fixed.size < 20) return TSERR_LIMIT;
  const TesselColumn& entry = gLockedColumns[column];
  uint16_t room = fixed.size;
  fixed = TesselColDef{static_cast<uint16_t>(ColDefSize(static_cast<int>(column))),
                       entry.flags,
                       entry.type,
                       entry.length,
                       static_cast<uint16_t>(PixelsToUnits(entry.width)),
                       0,
                       static_cast<uint32_t>(entry.value1),
                       static_cast<uint32_t>(entry.value2)};
  std::memcpy(record, &fixed, sizeof fixed);
  if (room < fixed.size) return TSERR_SMALLBUF;
  char* out = reinterpret_cast<char*>(record + 20);
  for (ColumnStringKind kind : {kFormatString, kHeadingString, kNameString}) {
    const char* text = ColumnString(static_cast<int>(column), kind);
    size_t length = std::strlen(text) + 1;
    std::memcpy(out, text, length);
    out += length;
  }
  return 0;
}

/* The three strings of a column record, checked against the record's size and limits. */
bool RecordStrings(const uint8_t* record, size_t size, const char* strings[3]) {
  size_t at = 20;
  const size_t limits[3] = {TS_FORMATLIMIT, TS_HEADINGLIMIT, TS_NAMELIMIT};
  for (int i = 0; i < 3; ++i) {
    if (at >= size) return false;
    const char* text = reinterpret_cast<const char*>(record + at);
    size_t length = strnlen(text, size - at);
    if (length == size - at || length >= limits[i]) return false;
    strings[i] = text;
    at += length + 1;
  }
  return true;
}

struct ColumnValues {
  uint16_t flags;
  uint16_t type;
  uint16_t length;
  int width;
  int32_t value1;
  int32_t value2;
};

/* Type, length (the type's own size when it has one), width, values and flags. */
int ApplyColumnValues(int column, const ColumnValues& values, bool inserting) {
  if (inserting) SetColumnFlags(column, values.flags);
  gLockedColumns[column].type = values.type;
  uint16_t size = TypeFixedSize(values.type);
  int result = SetColumnLength(column, size ? size : values.length, true);
  if (result < 0) return result;
  SetColumnWidthPixels(column, values.width, false);
  gLockedColumns[column].value1 = values.value1;
  gLockedColumns[column].value2 = values.value2;
  if (!inserting) SetColumnFlags(column, values.flags);
  return 0;
}

/* Format, heading, name and list items; a null text leaves that string as it is. */
int ApplyColumnStrings(int column, const char* const texts[4]) {
  const ColumnStringKind kinds[4] = {kFormatString, kHeadingString, kNameString, kListItemsString};
  for (int i = 0; i < 4; ++i) {
    if (!texts[i]) continue;
    int result = SetColumnString(column, kinds[i], texts[i]);
    if (result < 0) return result;
  }
  return 0;
}

int ApplyColDef(int column, const uint8_t* bytes, bool widthInPixels, bool inserting = false) {
  if (gLockedRecord->rowCount > 0 && !inserting) return TSERR_STATE;
  TesselColDef fixed;
  std::memcpy(&fixed, bytes, sizeof fixed);
  if (fixed.size < 20 || fixed.size > kColDefMaxSize) return TSERR_LIMIT;
  if (fixed.length > TS_MAXCOLLEN) return TSERR_LIMIT;
  const char* strings[3] = {"", "", ""};
  if (fixed.size > 20 && !RecordStrings(bytes, fixed.size, strings)) return TSERR_LIMIT;
  uint16_t flags = fixed.flags;
  if (gCurrentStyle & TSS_VIRTUALMEM) flags &= static_cast<uint16_t>(~0xD400);
  ColumnValues values{flags,
                      fixed.type,
                      fixed.length,
                      widthInPixels ? fixed.width : UnitsToPixels(fixed.width),
                      static_cast<int32_t>(fixed.value1),
                      static_cast<int32_t>(fixed.value2)};
  int result = ApplyColumnValues(column, values, inserting);
  if (result < 0) return result;
  const char* list = "";
  const char* texts[4] = {strings[0], strings[1], strings[2], list};
  return ApplyColumnStrings(column, texts);
}

/* A string of a version-25 record, bounded by its limit; NULL for a null pointer. */
const char* BoundedString(const char* text, size_t limit, bool* tooLong) {
  if (!text) return nullptr;
  if (strnlen(text, limit) >= limit) *tooLong = true;
  return text;
}

int ApplyColDefEx(int column, const TesselColDefEx* record, bool inserting) {
  if (!record) return TSERR_NULLPTR;
  if (record->version != 25) return TSERR_STATE;
  if (gLockedRecord->rowCount > 0 && !inserting) return TSERR_STATE;
  if (record->length > TS_MAXCOLLEN) return TSERR_LIMIT;
  bool tooLong = false;
  const char* texts[4] = {BoundedString(record->format, TS_FORMATLIMIT, &tooLong),
                          BoundedString(record->heading, TS_HEADINGLIMIT, &tooLong),
                          BoundedString(record->name, TS_NAMELIMIT, &tooLong), record->listItems};
  if (tooLong) return TSERR_LIMIT;
  uint16_t flags = record->flags;
  if (gCurrentStyle & TSS_VIRTUALMEM) flags &= static_cast<uint16_t>(~0xD400);
  ColumnValues values{flags,
                      record->type,
                      record->length,
                      UnitsToPixels(record->width),
                      static_cast<int32_t>(record->value1),
                      static_cast<int32_t>(record->value2)};
  int result = ApplyColumnValues(column, values, inserting);
  if (result < 0) return result;
  gLockedColumns[column].editStyle = record->editStyle;
  if (inserting)
    for (const char*& text : texts)
      if (!text) text = "";
  return ApplyColumnStrings(column, texts);
}

LRESULT GetColDefEx(WPARAM column, TesselColDefEx* record) {
  if (!record) return TSERR_NULLPTR;
  if (column >= gLockedRecord->columnCount) return TSERR_BADCOL;
  if (record->version != 25) return TSERR_STATE;
  const TesselColumn& entry = gLockedColumns[column];
  record->flags = entry.flags;
  record->type = entry.type;
  record->length = entry.length;
  record->width = static_cast<uint16_t>(PixelsToUnits(entry.width));
  record->value1 = static_cast<uint32_t>(entry.value1);
  record->value2 = static_cast<uint32_t>(entry.value2);
  record->editStyle = entry.editStyle;
  const ColumnStringKind kinds[4] = {kFormatString, kHeadingString, kNameString, kListItemsString};
  char* targets[4] = {record->format, record->heading, record->name, record->listItems};
  for (int i = 0; i < 4; ++i)
    if (targets[i]) std::strcpy(targets[i], ColumnString(static_cast<int>(column), kinds[i]));
  return 0;
}

LRESULT SetColDef(WPARAM column, const void* buffer) {
  if (column >= gLockedRecord->columnCount) return TSERR_BADCOL;
  if (!buffer) return TSERR_NULLPTR;
  return ApplyColDef(static_cast<int>(column), static_cast<const uint8_t*>(buffer), false);
}

LRESULT GetDefSize() {
  return 20 * gLockedRecord->columnCount + gLockedRecord->stringPoolLength + 8;
}

LRESULT GetDef(void* buffer) {
  if (!buffer) return TSERR_NULLPTR;
  TesselRecord* record = gLockedRecord;
  auto* bytes = static_cast<uint8_t*>(buffer);
  TesselDefHeader header{8, 25, record->columnCount, static_cast<uint16_t>(gCurrentStyle & 0xFFFF)};
  std::memcpy(bytes, &header, sizeof header);
  size_t at = sizeof header;
  for (int c = 0; c < record->columnCount; ++c) {
    uint16_t room = static_cast<uint16_t>(kColDefMaxSize);
    std::memcpy(bytes + at, &room, 2);
    GetColDef(static_cast<WPARAM>(c), bytes + at);
    at += ColDefSize(c);
  }
  return 0;
}

/* Checks a whole definition buffer: its header, every record's size and strings. */
int ValidateDefinition(const uint8_t* bytes, std::vector<size_t>* records) {
  TesselDefHeader header;
  std::memcpy(&header, bytes, sizeof header);
  if (header.version < 11 || header.version > 25) return TSERR_STATE;
  if (header.recordsOffset != (header.version == 11 ? 6 : 8)) return TSERR_STATE;
  if (header.columnCount == 0) return TSERR_ZEROCOUNT;
  if (header.columnCount > TS_MAXCOLUMNS) return TSERR_LIMIT;
  size_t at = header.recordsOffset;
  for (int c = 0; c < header.columnCount; ++c) {
    uint16_t size;
    std::memcpy(&size, bytes + at, 2);
    if (size < 20 || size > kColDefMaxSize) return TSERR_LIMIT;
    const char* strings[3];
    if (size > 20 && !RecordStrings(bytes + at, size, strings)) return TSERR_LIMIT;
    TesselColDef fixed;
    std::memcpy(&fixed, bytes + at, sizeof fixed);
    if (fixed.length > TS_MAXCOLLEN) return TSERR_LIMIT;
    records->push_back(at);
    at += size;
  }
  return 0;
}

LRESULT SetDef(const void* buffer) {
  if (!buffer) return TSERR_NULLPTR;
  if (gLockedRecord->rowCount > 0) return TSERR_STATE;
  auto* bytes = static_cast<const uint8_t*>(buffer);
  std::vector<size_t> records;
  int valid = ValidateDefinition(bytes, &records);
  if (valid < 0) return valid;
  TesselDefHeader header;
  std::memcpy(&header, bytes, sizeof header);
  int result = ResetTessel();
  if (result < 0) return result;
  if (header.version >= 12 && header.style) {
    DWORD style =
        (static_cast<DWORD>(GetWindowLongPtr(gCurrentGrid, GWL_STYLE)) & 0xFFFF0000) | header.style;
    SetWindowLongPtr(gCurrentGrid, GWL_STYLE, static_cast<LONG_PTR>(NormalizeStyle(style)));
    gCurrentStyle = static_cast<DWORD>(GetWindowLongPtr(gCurrentGrid, GWL_STYLE));
  }
  TesselRecord* record = gLockedRecord;
  record->rowLabelWidth = 0;
  record->labelColumnFlags = TSCS_CENTER;
  record->headingRowStyle = 0;
  result = AppendDefaultColumns(header.columnCount);
  for (int c = 0; result == 0 && c < header.columnCount; ++c)
    result = ApplyColDef(c, bytes + records[c], header.version < 13);
  record->leftColumn = static_cast<uint16_t>(std::max(0, FirstScrollingColumn()));
  RecalcLayout();
  InvalidateWholeGrid(true);
  return result;
}

LRESULT GetDefEx(TesselDefExHeader* header) {
  if (!header) return TSERR_NULLPTR;
  if (header->version != 25) return TSERR_STATE;
  TesselRecord* record = gLockedRecord;
  header->columnCount = record->columnCount;
  header->style = static_cast<uint16_t>(gCurrentStyle & 0xFFFF);
  header->exStyle = record->exStyle;
  header->rowLabelWidth = static_cast<uint16_t>(record->rowLabelWidth);
  header->labelColumnFlags = record->labelColumnFlags;
  header->headingRowStyle = record->headingRowStyle;
  if (!header->columns) return 0;
  for (int c = 0; c < record->columnCount; ++c) {
    header->columns[c].version = 25;
    GetColDefEx(static_cast<WPARAM>(c), &header->columns[c]);
  }
  return 0;
}

/* Checks every version-25 column record before anything changes. */
int ValidateDefinitionEx(const TesselDefExHeader* header) {
  if (header->version != 25) return TSERR_STATE;
  if (header->columnCount == 0) return TSERR_ZEROCOUNT;
  if (header->columnCount > TS_MAXCOLUMNS) return TSERR_LIMIT;
  if (!header->columns) return 0;
  uint64_t rowBytes = 8;
  for (int c = 0; c < header->columnCount; ++c) {
    const TesselColDefEx& column = header->columns[c];
    if (column.version != 25) return TSERR_STATE;
    if (column.length > TS_MAXCOLLEN) return TSERR_LIMIT;
    bool tooLong = false;
    BoundedString(column.format, TS_FORMATLIMIT, &tooLong);
    BoundedString(column.heading, TS_HEADINGLIMIT, &tooLong);
    BoundedString(column.name, TS_NAMELIMIT, &tooLong);
    if (tooLong) return TSERR_LIMIT;
    uint16_t size = TypeFixedSize(column.type);
    rowBytes += (size ? size : column.length) + 3;
  }
  return rowBytes > TS_MAXROWLEN ? TSERR_LIMIT : 0;
}

LRESULT SetDefEx(const TesselDefExHeader* header) {
  if (!header) return TSERR_NULLPTR;
  if (gLockedRecord->rowCount > 0) return TSERR_STATE;
  int valid = ValidateDefinitionEx(header);
  if (valid < 0) return valid;
  int result = ResetTessel();
  if (result < 0) return result;
  if (header->style) {
    DWORD style = (static_cast<DWORD>(GetWindowLongPtr(gCurrentGrid, GWL_STYLE)) & 0xFFFF0000) |
                  header->style;
    SetWindowLongPtr(gCurrentGrid, GWL_STYLE, static_cast<LONG_PTR>(NormalizeStyle(style)));
    gCurrentStyle = static_cast<DWORD>(GetWindowLongPtr(gCurrentGrid, GWL_STYLE));
  }
  TesselRecord* record = gLockedRecord;
  record->rowLabelWidth = header->rowLabelWidth;
  record->labelWidthFromRows = 0;
  record->exStyle = header->exStyle;
  record->labelColumnFlags = header->labelColumnFlags;
  record->headingRowStyle = header->headingRowStyle;
  result = AppendDefaultColumns(header->columnCount);
  for (int c = 0; result == 0 && header->columns && c < header->columnCount; ++c)
    result = ApplyColDefEx(c, &header->columns[c], false);
  record->leftColumn = static_cast<uint16_t>(std::max(0, FirstScrollingColumn()));
  RecalcLayout();
  InvalidateWholeGrid(true);
  return result;
}

LRESULT CloneData() {
  DeleteAllRows();
  HGLOBAL copy = CloneTesselRecord(gLockedRecord);
  return reinterpret_cast<LRESULT>(copy);
}

LRESULT AttachData(HGLOBAL handle) {
  if (!handle) return TSERR_STATE;
  auto* incoming = static_cast<TesselRecord*>(GlobalLock(handle));
  if (!incoming) return TSERR_LOCKFAILED;
  GlobalUnlock(handle);
  HGLOBAL old = gLockedHandle;
  if (old == handle) return 0;
  // Every level that held the old record now holds the new one; the old one goes.
  ReplaceLockedRecord(old, handle);
  SetWindowLongPtr(gCurrentGrid, 0, reinterpret_cast<LONG_PTR>(handle));
  GlobalLock(old);
  auto* oldRecord = static_cast<TesselRecord*>(BlockAddress(old));
  if (oldRecord) FreeRecordBlocks(oldRecord);
  GlobalUnlock(old);
  GlobalFree(old);
  RecalcLayout();
  InvalidateWholeGrid(true);
  return 0;
}

}  // namespace

int ApplyColumnRecord(int column, const void* definition, bool extended, bool inserting) {
  if (extended)
    return ApplyColDefEx(column, static_cast<const TesselColDefEx*>(definition), inserting);
  return ApplyColDef(column, static_cast<const uint8_t*>(definition), false, inserting);
}

int ResetTessel() {
  int result = DeleteAllRows();
  if (result < 0) return result;
  TesselRecord* record = gLockedRecord;
  FreeAllAttributes();
  HGLOBAL blocks[] = {record->columnTable, record->stringPool, record->listItemsPool};
  for (HGLOBAL block : blocks)
    if (block) GlobalFree(block);
  record->columnTable = record->stringPool = record->listItemsPool = nullptr;
  record->stringPoolLength = record->listItemsPoolLength = 0;
  RefreshLockedColumns();
  record->columnCount = 0;
  record->headingLines = 1;
  record->designMouseMode = 0;
  record->redrawOn = 1;
  record->notificationsOn = 1;
  record->editKeys[0] = VK_F2;
  record->editKeys[1] = VK_RETURN;
  record->editKeys[2] = VK_ESCAPE;
  record->fixedRowHeight = record->fixedHeadingHeight = 0;
  record->selectedRow = -1;
  record->selectedRowCount = record->selectedColumnCount = 0;
  record->leftColumn = record->currentColumn = 0;
  record->sortKey[0] = record->sortKey[1] = record->sortKey[2] = 0;
  std::strcpy(record->substituteText, "[NULL]");
  record->rowLength = RowHeaderSize();
  record->rowLabelWidth = 0;
  RecalcLayout();
  InvalidateWholeGrid(true);
  return 0;
}

LRESULT OnGetStyle() {
  TesselRecord* record = gLockedRecord;
  DWORD style = static_cast<DWORD>(GetWindowLongPtr(gCurrentGrid, GWL_STYLE));
  style &= ~static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL | 0x8002);
  if (record->horizontalBar) style |= WS_HSCROLL;
  if (record->verticalBar) style |= WS_VSCROLL;
  if (record->dropDown) style |= record->autoDropDown ? 0x8002 : 0x8000;
  return static_cast<LRESULT>(style);
}

LRESULT OnSetStyle(DWORD style) {
  TesselRecord* record = gLockedRecord;
  record->horizontalBar = (style & WS_HSCROLL) != 0;
  record->verticalBar = (style & WS_VSCROLL) != 0;
  DWORD old = static_cast<DWORD>(GetWindowLongPtr(gCurrentGrid, GWL_STYLE));
  DWORD normal = NormalizeStyle(style);
  bool multirowChanged = ((normal ^ old) & TSS_MULTIROW) != 0;
  if (multirowChanged && (old & TSS_LARGEDATA) && record->rowCount > 0) {
    normal = (normal & ~static_cast<DWORD>(TSS_MULTIROW)) | (old & TSS_MULTIROW);
    multirowChanged = false;
  }
  RowLayout before = CurrentRowLayout();
  SetWindowLongPtr(gCurrentGrid, GWL_STYLE, static_cast<LONG_PTR>(normal));
  gCurrentStyle = static_cast<DWORD>(GetWindowLongPtr(gCurrentGrid, GWL_STYLE));
  record->columnSelectionMode =
      (normal & (TSS_COLSELECT | TSS_MULTICOL)) && !(normal & (TSS_ROWSELECT | TSS_MULTIROW));
  bool wasFolded = record->dropDown && record->dropDownClosed;
  record->dropDown = (normal & 0x8000) != 0;
  record->autoDropDown = (normal & 0x8002) == 0x8002;
  if (!record->dropDown) record->dropDownClosed = 0;
  if (wasFolded && !record->dropDown && record->fullHeight > 0) {
    // No longer a drop-down: the grid opens to the height it was made with.
    RECT window{};
    GetWindowRect(gCurrentGrid, &window);
    SetWindowPos(gCurrentGrid, nullptr, 0, 0, window.right - window.left, record->fullHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    record->topRow = static_cast<int32_t>(record->savedTopRow);
  }
  if (multirowChanged) {
    ComputeValueOffsets(RowHeaderSize(), true);
    RelayRows(before, -1);
  } else {
    ComputeValueOffsets(RowHeaderSize(), true);
  }
  ShowScrollBar(gCurrentGrid, SB_HORZ, record->horizontalBar);
  ShowScrollBar(gCurrentGrid, SB_VERT, record->verticalBar);
  RecalcLayout();
  HGLOBAL handle = gLockedHandle;
  if (FollowAutomaticDropDown() < 0 || !GridStillLocked(handle)) return 0;
  InvalidateWholeGrid(true);
  return 0;
}

LRESULT OnDefinitionMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  void* pointer = reinterpret_cast<void*>(lParam);
  switch (message) {
    case TSM_RESET: return ResetTessel();
    case TSM_GETSTYLE: return OnGetStyle();
    case TSM_SETSTYLE: return OnSetStyle(static_cast<DWORD>(lParam));
    case TSM_GETDEFSIZE: return GetDefSize();
    case TSM_GETDEF: return GetDef(pointer);
    case TSM_SETDEF: return SetDef(pointer);
    case TSM_GETCOLDEFSIZE:
      return (wParam & 0xFFFF) < gLockedRecord->columnCount
                 ? static_cast<LRESULT>(ColDefSize(static_cast<int>(wParam & 0xFFFF)))
                 : TSERR_BADCOL;
    case TSM_GETCOLDEF: return GetColDef(wParam & 0xFFFF, pointer);
    case TSM_SETCOLDEF: return SetColDef(wParam & 0xFFFF, pointer);
    case TSM_GETCOLDEFEX:
      return GetColDefEx(wParam & 0xFFFF, static_cast<TesselColDefEx*>(pointer));
    case TSM_SETCOLDEFEX:
      if ((wParam & 0xFFFF) >= gLockedRecord->columnCount) return TSERR_BADCOL;
      return ApplyColDefEx(static_cast<int>(wParam & 0xFFFF),
                           static_cast<const TesselColDefEx*>(pointer), false);
    case TSM_GETDEFEX: return GetDefEx(static_cast<TesselDefExHeader*>(pointer));
    case TSM_SETDEFEX: return SetDefEx(static_cast<const TesselDefExHeader*>(pointer));
    case TSM_CLONEDATA: return CloneData();
    case TSM_ATTACHDATA: return AttachData(reinterpret_cast<HGLOBAL>(lParam));
    case TSM_FREEDATA: return FreeTesselData(reinterpret_cast<HGLOBAL>(lParam));
    default: return TSERR_BADMESSAGE;
  }
}

extern "C" int FreeTesselData(HGLOBAL handle) {
  if (!handle) return TSERR_LOCKFAILED;
  auto* record = static_cast<TesselRecord*>(GlobalLock(handle));
  if (!record) {
    GlobalFree(handle);
    return TSERR_LOCKFAILED;
  }
  FreeRecordBlocks(record);
  GlobalUnlock(handle);
  GlobalFree(handle);
  return 0;
}
