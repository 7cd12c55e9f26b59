/*
** The row store and the row messages. Sizes are computed in 64 bits; a row record stays
** within 65,535 bytes and the store within 2^31 - 1. The store may hold more bytes than
** the rows use, so appending one row at a time does not copy the whole store each time.
*/
#include "grid/rows.h"

#include "grid/editing.h"
#include "grid/virtual_rows.h"

#include "grid/attributes.h"
#include "grid/layout.h"
#include "grid/record_blocks.h"
#include "grid/references.h"
#include "grid/sorting.h"
#include "grid/type_table.h"

#include <cstring>

namespace {

const uint64_t kMaxStoreBytes = 0x7FFFFFFF;

bool Multirow() { return (gCurrentStyle & TSS_MULTIROW) != 0; }

uint32_t AlignUp(uint32_t value, uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

/* Grows the store block to hold bytes, geometrically; false when it cannot. */
bool ReserveStore(uint64_t bytes) {
  TesselRecord* record = gLockedRecord;
  if (bytes > kMaxStoreBytes) return false;
  if (record->rowStore && record->rowStoreSize >= bytes) return true;
  uint64_t size = record->rowStoreSize + record->rowStoreSize / 2;
  if (size < bytes) size = bytes;
  if (size > kMaxStoreBytes) size = kMaxStoreBytes;
  HGLOBAL grown = GrowBlock(record->rowStore, static_cast<SIZE_T>(size));
  if (!grown) return false;
  record->rowStore = grown;
  record->rowStoreSize = static_cast<uint32_t>(size);
  record->rowBlockCount = 1;
  return true;
}

void FreeStore() {
  TesselRecord* record = gLockedRecord;
  if (record->rowStore) GlobalFree(record->rowStore);
  record->rowStore = nullptr;
  record->rowStoreSize = record->rowStoreUsed = 0;
  record->rowBlockCount = 0;
}

uint32_t ValuesLength() { return gLockedRecord->rowLength - RowHeaderSize(); }

/* The row a row message addresses, with the common "-1 without rows" rule. */
long RowOfReference(WPARAM reference, unsigned use) {
  if (gLockedRecord->rowCount == 0 && !(use & kAllowAppend)) return TSERR_STATE;
  return ResolveRowReference(reference, use);
}

/* Removes one record: later rows move up, the count and used bytes go down. */
void RemoveRowRecord(int row) {
  TesselRecord* record = gLockedRecord;
  uint8_t* base = RowAddress(0);
  uint32_t length = record->rowLength;
  if (base) {
    std::memmove(base + static_cast<size_t>(row) * length,
                 base + static_cast<size_t>(row + 1) * length,
                 static_cast<size_t>(record->rowCount - row - 1) * length);
    std::memset(base + static_cast<size_t>(record->rowCount - 1) * length, 0, length);
  }
  record->rowCount -= 1;
  record->rowStoreUsed = static_cast<uint32_t>(static_cast<uint64_t>(record->rowCount) * length);
  if (record->rowCount == 0) FreeStore();
}

void AdjustViewAfterDelete(int row, bool wasLastVisible) {
  TesselRecord* record = gLockedRecord;
  if (record->rowCount == 0) {
    record->topRow = record->lastVisibleRow = 0;
    return;
  }
  if (record->topRow > row || (record->topRow == row && wasLastVisible && record->topRow > 0))
    record->topRow -= 1;
  if (record->topRow >= record->rowCount) record->topRow = record->rowCount - 1;
  RecomputeLastVisibleRow();
}

void RepaintAfterDelete(int row, int top, int height, bool visible) {
  TesselRecord* record = gLockedRecord;
  if (record->rowCount == 0 || !visible) {
    InvalidateDataArea();
    return;
  }
  ScrollRows(-height, top);
  if (gCurrentStyle & (TSS_ROWBUTTONS | TSS_ROWNUMBERS)) {
    RECT labels{0, top, record->rowLabelWidth, record->clientHeight};
    InvalidateRect(gCurrentGrid, &labels, FALSE);
  }
}

void AdjustSelectionAfterDelete(int row, bool wasSelected) {
  TesselRecord* record = gLockedRecord;
  if (gCurrentStyle & TSS_ROWSELECT) {
    if (record->selectedRow == row || record->rowCount == 0) record->selectedRow = -1;
    else if (record->selectedRow > row) record->selectedRow -= 1;
  } else if (Multirow() && wasSelected) {
    record->selectedRowCount -= 1;
  }
  if (record->currentRow > row || (record->currentRow == row && row >= record->rowCount && row > 0))
    record->currentRow -= 1;
  if (record->rowCount == 0) record->currentRow = 0;
}

/* Rows at or after a new row at position move down by one in the view. */
void AdjustViewAfterInsert(int position) {
  TesselRecord* record = gLockedRecord;
  if (record->rowCount > 1) {
    if (record->currentRow >= position) record->currentRow += 1;
    if (record->topRow > position) record->topRow += 1;
    if ((gCurrentStyle & TSS_ROWSELECT) && record->selectedRow >= position)
      record->selectedRow += 1;
  }
  RecomputeLastVisibleRow();
}

/* A target position for move and copy: -2 after the last row, -1 the last row. */
long NormaliseTarget(LPARAM target) {
  int rows = gLockedRecord->rowCount;
  long position = static_cast<long>(static_cast<int32_t>(target));
  if (position == TSROW_APPEND) return rows;
  if (position == TSROW_LAST) return rows - 1;
  if (position < 0 || position > rows) return TSERR_BADROW;
  return position;
}

/* Puts a row whose key values changed back at its sorted place; answers the place. The
   current row follows the record; the top row stays. */
long MoveToSortedPlace(int row) {
  TesselRecord* record = gLockedRecord;
  std::vector<uint8_t> copy(RowAddress(row), RowAddress(row) + record->rowLength);
  bool wasCurrent = record->currentRow == row, wasSelected = record->selectedRow == row;
  RemoveRowRecord(row);
  int place = FindSortedRow(copy.data());
  int result = MakeRoomForRow(place);
  if (result < 0) return result;
  std::memcpy(RowAddress(place), copy.data(), copy.size());
  if (wasCurrent) record->currentRow = place;
  if (wasSelected) record->selectedRow = place;
  RecomputeLastVisibleRow();
  UpdateScrollBars();
  InvalidateDataArea();
  return place;
}

/* A row a delete may name: in virtual mode rows past the count while it is open or the
   rows are owner-fetched. */
bool RowExists(int row) {
  TesselRecord* record = gLockedRecord;
  if (row < 0) return false;
  if (row < record->rowCount) return true;
  return record->virtualOn && (record->countUnknown || record->ownerFetch);
}

int DeleteVirtualRow(int row, bool notify) {
  TesselRecord* record = gLockedRecord;
  bool wasSelected = RowSelectedFlag(row);
  bool ownerFetch = record->ownerFetch != 0;
  int result = RemoveVirtualRow(row);
  if (result < 0) return result;
  record = gLockedRecord;
  // The owner's keys do not move up with the rows; row numbers do.
  if (!ownerFetch) AdjustSelectionAfterDelete(row, wasSelected);
  else if (wasSelected) record->selectedRowCount -= 1;
  InvalidateDataArea();
  UpdateScrollBars();
  if (notify) NotifyParentAt(TSN_ROWDELETED, row, record->notifyColumn);
  return 0;
}

/* Room at position in either mode; answers the new row's record (NULL on failure, with the
   error in *error) and, in virtual mode, the row number it got in *position. */
uint8_t* MakeRoomAt(long* position, int32_t key, int* error) {
  if (gLockedRecord->virtualOn) {
    int at = static_cast<int>(*position);
    int slot = MakeVirtualRoom(&at, key);
    *error = slot < 0 ? slot : 0;
    if (slot < 0) return nullptr;
    *position = at;
    return VirtualSlotAddress(slot);
  }
  *error = MakeRoomForRow(static_cast<int>(*position));
  return *error < 0 ? nullptr : RowAddress(static_cast<int>(*position));
}

/* A row of a virtual grid copied before target (a move then closes the source): the values,
   the selection flag and the attributes go to a new slot. Owner-fetched rows are refused:
   the copy would carry the owner's key twice. */
long CopyVirtualRow(int row, int target, bool move) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (record->ownerFetch) return TSERR_STATE;
  uint8_t* from = RowAddress(row);
  if (!from) return TSERR_NOROW;
  std::vector<uint8_t> kept(from, from + record->rowLength);
  bool wasCurrent = record->currentRow == row;
  long at = target;
  int error = 0;
  uint8_t* to = MakeRoomAt(&at, 0, &error);
  if (!to) return error;
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  int source = row >= at ? row + 1 : row;
  uint32_t header = RowHeaderSize();
  std::memcpy(to + header, kept.data() + header, record->rowLength - header);
  int slot = VirtualSlotOfRow(static_cast<int>(at));
  uint32_t sourceHead = VirtualRowHead(source);
  SetVirtualRowHead(slot, sourceHead ? CopyAttrHead(sourceHead) : 0, static_cast<int32_t>(at));
  bool selected = Multirow() && kept[0] != 0;
  SetRowSelectedFlag(static_cast<int>(at), selected);
  if (selected) record->selectedRowCount += 1;
  AdjustViewAfterInsert(static_cast<int>(at));
  if (move) {
    int result = DeleteOneRow(source, false, true);
    if (result < 0 || !GridStillLocked(handle)) return result < 0 ? result : TSERR_LOCKFAILED;
    int final = at > source ? static_cast<int>(at) - 1 : static_cast<int>(at);
    if (wasCurrent) gLockedRecord->currentRow = final;
    RecordIterationRow(final);
  } else {
    RecordIterationRow(static_cast<int>(at));
  }
  InvalidateDataArea();
  UpdateScrollBars();
  return 0;
}

}  // namespace

long PutRowAtSortedPlace(int row) { return MoveToSortedPlace(row); }

uint32_t RowHeaderSize() { return Multirow() ? 8 : 4; }

uint8_t* RowAddress(int row) {
  TesselRecord* record = gLockedRecord;
  if (record->virtualOn) return VirtualSlotAddress(VirtualSlotOfRow(row));
  auto* base = static_cast<uint8_t*>(BlockAddress(record->rowStore));
  if (!base || row < 0 || row >= record->rowCount) return nullptr;
  return base + static_cast<size_t>(row) * record->rowLength;
}

uint32_t RowHeadIndex(int row) {
  uint8_t* address = RowAddress(row);
  if (!address) return 0;
  uint32_t index;
  std::memcpy(&index, address + RowHeaderSize() - 4, 4);
  return index;
}

void SetRowHeadIndex(int row, uint32_t index) {
  if (uint8_t* address = RowAddress(row)) std::memcpy(address + RowHeaderSize() - 4, &index, 4);
}

bool RowSelectedFlag(int row) {
  uint8_t* address = RowAddress(row);
  return Multirow() && address && address[0] != 0;
}

void SetRowSelectedFlag(int row, bool selected) {
  uint8_t* address = RowAddress(row);
  if (Multirow() && address) address[0] = selected ? 1 : 0;
}

long ComputeValueOffsets(uint32_t headerSize, bool store) {
  TesselRecord* record = gLockedRecord;
  uint32_t offset = headerSize;
  for (int c = 0; c < record->columnCount; ++c) {
    TesselColumn& column = gLockedColumns[c];
    offset = AlignUp(offset, TypeAlignment(column.type));
    if (offset > TS_MAXROWLEN) return TSERR_LIMIT;
    if (store) column.valueOffset = static_cast<uint16_t>(offset);
    offset += column.length;
  }
  uint32_t length = AlignUp(offset, 4);
  if (length > TS_MAXROWLEN) return TSERR_LIMIT;
  if (store) record->rowLength = length;
  return static_cast<long>(length);
}

RowLayout CurrentRowLayout() {
  RowLayout layout;
  layout.headerSize = RowHeaderSize();
  layout.rowLength = gLockedRecord->rowLength;
  int count = gLockedRecord->columnCount;
  layout.offsets.resize(count);
  layout.lengths.resize(count);
  for (int c = 0; c < count; ++c) {
    layout.offsets[c] = gLockedColumns[c].valueOffset;
    layout.lengths[c] = gLockedColumns[c].length;
  }
  return layout;
}

void RestoreRowLayout(const RowLayout& layout) {
  for (size_t c = 0; c < layout.offsets.size(); ++c)
    gLockedColumns[c].valueOffset = layout.offsets[c];
  gLockedRecord->rowLength = layout.rowLength;
}

int RelayRows(const RowLayout& old, int clearedColumn) {
  TesselRecord* record = gLockedRecord;
  // A virtual grid's store is its buffer: every position is re-laid, delivered or not.
  int rows = record->virtualOn
                 ? static_cast<int>(old.rowLength ? record->rowStoreSize / old.rowLength : 0)
                 : record->rowCount;
  if (rows == 0 || !record->rowStore) return 0;
  uint32_t newLength = record->rowLength;
  uint64_t bytes = static_cast<uint64_t>(rows) * newLength;
  if (bytes > kMaxStoreBytes) return TSERR_LIMIT;
  HGLOBAL fresh = GlobalAlloc(GHND, static_cast<SIZE_T>(bytes ? bytes : 1));
  auto* to = fresh ? static_cast<uint8_t*>(GlobalLock(fresh)) : nullptr;
  auto* from = static_cast<uint8_t*>(BlockAddress(record->rowStore));
  if (!to || !from) {
    if (fresh) GlobalFree(fresh);
    return fresh ? TSERR_LOCKFAILED : TSERR_NOMEMORY;
  }
  uint32_t newHeader = RowHeaderSize();
  for (int r = 0; r < rows; ++r) {
    const uint8_t* source = from + static_cast<size_t>(r) * old.rowLength;
    uint8_t* target = to + static_cast<size_t>(r) * newLength;
    // The attribute index ends the header; a selection flag leads it with TSS_MULTIROW.
    std::memcpy(target + newHeader - 4, source + old.headerSize - 4, 4);
    if (newHeader == 8 && old.headerSize == 8) std::memcpy(target, source, 4);
    size_t kept = old.offsets.size() < static_cast<size_t>(record->columnCount)
                      ? old.offsets.size()
                      : record->columnCount;
    for (size_t c = 0; c < kept; ++c) {
      if (static_cast<int>(c) == clearedColumn) continue;
      uint16_t length = std::min(old.lengths[c], gLockedColumns[c].length);
      std::memcpy(target + gLockedColumns[c].valueOffset, source + old.offsets[c], length);
    }
  }
  GlobalUnlock(fresh);
  GlobalFree(record->rowStore);
  record->rowStore = fresh;
  record->rowStoreSize = static_cast<uint32_t>(bytes);
  record->rowStoreUsed = static_cast<uint32_t>(bytes);
  return 0;
}

int MakeRoomForRow(int position) {
  TesselRecord* record = gLockedRecord;
  if (record->columnCount == 0 || record->rowLength == 0) return TSERR_STATE;
  uint64_t used = static_cast<uint64_t>(record->rowCount) * record->rowLength;
  if (!ReserveStore(used + record->rowLength))
    return used + record->rowLength > kMaxStoreBytes ? TSERR_LIMIT : TSERR_NOMEMORY;
  auto* base = static_cast<uint8_t*>(BlockAddress(record->rowStore));
  if (!base) return TSERR_LOCKFAILED;
  size_t at = static_cast<size_t>(position) * record->rowLength;
  std::memmove(base + at + record->rowLength, base + at, static_cast<size_t>(used) - at);
  std::memset(base + at, 0, record->rowLength);
  record->rowCount += 1;
  record->rowStoreUsed = static_cast<uint32_t>(used + record->rowLength);
  return 0;
}

int DeleteOneRow(int row, bool notify, bool freeAttributes) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (!RowExists(row)) return TSERR_BADROW;
  if (notify) {
    if (NotifyParentAt(TSN_ROWDELETING, row, record->notifyColumn) != 0) return 0;
    // The handler may have deleted rows, reset, attached a record or destroyed the grid.
    if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
    record = gLockedRecord;
    if (!RowExists(row)) return TSERR_BADROW;
  }
  if (record->virtualOn) return DeleteVirtualRow(row, notify);
  bool wasSelected = RowSelectedFlag(row);
  uint32_t head = RowHeadIndex(row);
  int height = RowPixelHeight(row);
  int top = 0, bottom = 0;
  bool visible = RowExtent(row, &top, &bottom);
  bool wasLastVisible = row == record->lastVisibleRow && row == record->topRow;
  if (freeAttributes && head) FreeAttrHead(head);
  RemoveRowRecord(row);
  AdjustViewAfterDelete(row, wasLastVisible);
  RepaintAfterDelete(row, top, height, visible);
  AdjustSelectionAfterDelete(row, wasSelected);
  UpdateScrollBars();
  if (notify) NotifyParentAt(TSN_ROWDELETED, row, record->notifyColumn);
  return 0;
}

int DeleteAllRows() {
  HGLOBAL handle = gLockedHandle;
  if (gLockedRecord->editing) {
    EndCellEdit(false);
    if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  }
  TesselRecord* record = gLockedRecord;
  FreeRowAttributes();
  FreeStore();
  record->bufferedRows = 0;
  record->bufferValid = 0;
  record->rowCount = 0;
  record->currentRow = record->topRow = record->lastVisibleRow = 0;
  record->selectedRow = -1;
  record->selectedRowCount = 0;
  record->anchorRow = -1;
  record->cursorRow = 0;
  record->cursorColumn = 0;
  record->rowIterationRunning = record->columnIterationRunning = 0;
  record->rowIterationLast = record->columnIterationLast = 0;
  int first = FirstScrollingColumn();
  record->leftColumn = static_cast<uint16_t>(first < 0 ? 0 : first);
  record->currentColumn = record->leftColumn;
  RecalcLayout();
  InvalidateWholeGrid(true);
  return 0;
}

bool LastRowHasData() {
  TesselRecord* record = gLockedRecord;
  uint8_t* row = RowAddress(record->rowCount - 1);
  if (!row) return false;
  for (uint32_t i = RowHeaderSize(); i < record->rowLength; ++i)
    if (row[i]) return true;
  return false;
}

LRESULT OnGetRowCount() { return gLockedRecord->rowCount; }

LRESULT OnGetRow(WPARAM reference, void* buffer) {
  if (!buffer) return TSERR_NULLPTR;
  long row = RowOfReference(reference, kPlainReference);
  if (row < 0) return row;
  uint8_t* address = RowAddress(static_cast<int>(row));
  if (!address) return gLockedRecord->virtualOn ? TSERR_NOROW : TSERR_LOCKFAILED;
  std::memcpy(buffer, address + RowHeaderSize(), ValuesLength());
  RecordIterationRow(static_cast<int>(row));
  return 0;
}

LRESULT OnSetRow(WPARAM reference, const void* values) {
  if (!values) return TSERR_NULLPTR;
  long row = RowOfReference(reference, kPlainReference);
  if (row < 0) return row;
  uint8_t* address = RowAddress(static_cast<int>(row));
  if (!address) return TSERR_LOCKFAILED;
  std::memcpy(address + RowHeaderSize(), values, ValuesLength());
  RecordIterationRow(static_cast<int>(row));
  if (SortKeyOneSet() && !gLockedRecord->virtualOn) return MoveToSortedPlace(static_cast<int>(row));
  InvalidateGridRow(static_cast<int>(row));
  return 0;
}

LRESULT OnInsertRow(WPARAM reference, const void* values) {
  HGLOBAL handle = gLockedHandle;
  long position = ResolveRowReference(reference, kAllowAppend);
  if (position < 0) return position;
  bool virtualRows = gLockedRecord->virtualOn != 0;
  if (values && SortKeyOneSet() && !virtualRows) {
    // The place the values sort to, judged as a whole record with an empty header.
    std::vector<uint8_t> probe(gLockedRecord->rowLength, 0);
    std::memcpy(probe.data() + RowHeaderSize(), values, ValuesLength());
    position = FindSortedRow(probe.data());
  }
  if (NotifyParentAt(TSN_ROWINSERTING, static_cast<int>(position), gLockedRecord->notifyColumn) !=
      0)
    return position;  // cancelled: the answer is still the place it would have had
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  TesselRecord* record = gLockedRecord;
  if (position > record->rowCount && !virtualRows) return TSERR_BADROW;
  // Owner-fetched rows: the first 4 bytes given are the new row's key, the values follow.
  bool keyed = virtualRows && record->ownerFetch;
  int32_t key = 0;
  if (keyed && values) std::memcpy(&key, values, 4);
  const uint8_t* from = static_cast<const uint8_t*>(values) + (keyed && values ? 4 : 0);
  int error = 0;
  uint8_t* address = MakeRoomAt(&position, key, &error);
  if (!address) return error;
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  if (values) std::memcpy(address + RowHeaderSize(), from, ValuesLength());
  if (keyed) RecomputeLastVisibleRow();
  else AdjustViewAfterInsert(static_cast<int>(position));
  RecordIterationRow(static_cast<int>(position));
  int top = 0, bottom = 0;
  if (virtualRows) {
    InvalidateDataArea();
  } else if (RowExtent(static_cast<int>(position), &top, &bottom)) {
    RECT below{0, top, record->clientWidth, record->clientHeight};
    if (record->redrawOn) InvalidateRect(gCurrentGrid, &below, FALSE);
    else record->paintDeferred = 1;
  }
  UpdateScrollBars();
  NotifyParentAt(TSN_ROWINSERTED, static_cast<int>(position), record->notifyColumn);
  return position;
}

LRESULT OnDeleteRow(WPARAM reference) {
  // Storing may move the edited row to its sorted place: end first, then resolve which
  // row the reference names.
  HGLOBAL handle = gLockedHandle;
  if (gLockedRecord->editing) {
    EndCellEdit(true);
    if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  }
  long row = RowOfReference(reference, kPlainReference);
  if (row < 0) return row;
  int result = DeleteOneRow(static_cast<int>(row), true, true);
  if (result < 0 || !gLockedRecord) return result;
  // Iterating through the selection: the next step continues with the row that moved up.
  if ((reference & 3) >= TSREF_FIRSTSEL)
    gLockedRecord->rowIterationLast = row > 0 ? static_cast<int>(row) - 1 : -16;
  return 0;
}

LRESULT OnMoveRow(WPARAM reference, LPARAM target) {
  TesselRecord* record = gLockedRecord;
  if (record->rowCount == 0 || SortKeyOneSet()) return TSERR_STATE;
  long row = ResolveRowReference(reference, kPlainReference);
  if (row < 0) return row;
  long position = NormaliseTarget(target);
  if (position < 0) return position;
  if (position == row || position == row + 1) return 0;
  if (record->virtualOn)
    return CopyVirtualRow(static_cast<int>(row), static_cast<int>(position), true);
  // The record travels whole: its selection flag and attributes stay with it, and so does
  // the current (and selected) row.
  long final = position > row ? position - 1 : position;
  uint32_t length = record->rowLength;
  std::vector<uint8_t> moving(length);
  uint8_t* base = RowAddress(0);
  if (!base) return TSERR_LOCKFAILED;
  std::memcpy(moving.data(), base + static_cast<size_t>(row) * length, length);
  if (final > row)
    std::memmove(base + static_cast<size_t>(row) * length,
                 base + static_cast<size_t>(row + 1) * length,
                 static_cast<size_t>(final - row) * length);
  else
    std::memmove(base + static_cast<size_t>(final + 1) * length,
                 base + static_cast<size_t>(final) * length,
                 static_cast<size_t>(row - final) * length);
  std::memcpy(base + static_cast<size_t>(final) * length, moving.data(), length);
  auto follow = [&](int32_t& place) {
    if (place == row) place = static_cast<int32_t>(final);
    else if (final > row && place > row && place <= final) place -= 1;
    else if (final < row && place >= final && place < row) place += 1;
  };
  follow(record->currentRow);
  if (record->selectedRow >= 0) follow(record->selectedRow);
  RecordIterationRow(static_cast<int>(final));
  InvalidateDataArea();
  return 0;
}

LRESULT OnCopyRow(WPARAM reference, LPARAM target) {
  HGLOBAL handle = gLockedHandle;
  TesselRecord* record = gLockedRecord;
  if (record->rowCount == 0) return TSERR_STATE;
  long row = ResolveRowReference(reference, kPlainReference);
  if (row < 0) return row;
  long position = SortKeyOneSet() ? row + 1 : NormaliseTarget(target);
  if (position < 0) return position;
  if (record->virtualOn)
    return CopyVirtualRow(static_cast<int>(row), static_cast<int>(position), false);
  int result = MakeRoomForRow(static_cast<int>(position));
  if (result < 0) return result;
  int source = position <= row ? static_cast<int>(row) + 1 : static_cast<int>(row);
  uint8_t* from = RowAddress(source);
  uint8_t* to = RowAddress(static_cast<int>(position));
  std::memcpy(to + RowHeaderSize(), from + RowHeaderSize(), ValuesLength());
  bool selected = RowSelectedFlag(source);
  SetRowSelectedFlag(static_cast<int>(position), selected);
  if (selected) record->selectedRowCount += 1;
  SetRowHeadIndex(static_cast<int>(position), CopyAttrHead(RowHeadIndex(source)));
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  AdjustViewAfterInsert(static_cast<int>(position));
  RecordIterationRow(static_cast<int>(position));
  InvalidateDataArea();
  UpdateScrollBars();
  return 0;
}

namespace {

/* The row and column a cell reference names and where the cell's value lies in its row;
   0, or the error the reference or the row's storage gave. */
long LocateCellValue(WPARAM reference, int* row, int* column, uint8_t** value) {
  long result = ResolveCellReference(reference, kPlainReference, row, column);
  if (result < 0) return result;
  uint8_t* address = RowAddress(*row);
  if (!address) return TSERR_LOCKFAILED;
  *value = address + gLockedColumns[*column].valueOffset;
  return 0;
}

}  // namespace

LRESULT OnGetCell(WPARAM reference, void* buffer) {
  if (!buffer) return TSERR_NULLPTR;
  int row = 0, column = 0;
  uint8_t* cell = nullptr;
  if (long result = LocateCellValue(reference, &row, &column, &cell); result != 0) return result;
  std::memcpy(buffer, cell, gLockedColumns[column].length);
  return 0;
}

LRESULT OnSetCell(WPARAM reference, const void* value) {
  if (!value) return TSERR_NULLPTR;
  int row = 0, column = 0;
  uint8_t* cell = nullptr;
  if (long result = LocateCellValue(reference, &row, &column, &cell); result != 0) return result;
  std::memcpy(cell, value, gLockedColumns[column].length);
  if (SortKeyOneSet() && IsSortKeyColumn(column) && !gLockedRecord->virtualOn)
    return MoveToSortedPlace(row);
  InvalidateGridCell(row, column);
  return 0;
}

LRESULT OnGetCellRect(WPARAM reference, RECT* rect) {
  if (!rect) return TSERR_NULLPTR;
  int row = 0, column = 0;
  long result = ResolveCellReference(reference, kAllowHeading, &row, &column);
  if (result < 0) return result;
  return CellRect(row, column, false, rect);
}

LRESULT OnGetColOffset(WPARAM column) {
  if (column >= gLockedRecord->columnCount) return TSERR_BADCOL;
  return gLockedColumns[column].valueOffset - RowHeaderSize();
}
