/*
** Virtual rows: the requests to the owner, the paging operations and the scroll bar of
** virtual mode. Every request is followed by a check that the grid still holds its record
** and is still virtual; what the owner answers is used only inside the buffer, so a key
** that makes no sense costs nothing worse than a wrong row.
*/
#include "grid/virtual_rows.h"

#include "grid/attributes.h"
#include "grid/layout.h"
#include "grid/navigation.h"
#include "grid/painting.h"
#include "grid/record_blocks.h"
#include "grid/rows.h"
#include "grid/tessel.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

enum FetchResult { kDelivered, kRefused, kGone };

int PageSize() {
  TesselRecord* record = gLockedRecord;
  int n = std::max(0, static_cast<int>(record->visibleRows));
  if (!record->countUnknown && !record->ownerFetch)
    n = std::min(n, std::max(0, static_cast<int>(record->rowCount)));
  return n;
}

int Capacity() { return std::max(1, static_cast<int>(gLockedRecord->visibleRows)); }

/* The rows a page may hold once a row is gone: the rows that fit, but never past a known
   count. */
int PageSizeAfterRemoval() {
  TesselRecord* record = gLockedRecord;
  int n = Capacity();
  if (!record->countUnknown && !record->ownerFetch)
    n = std::min(n, static_cast<int>(record->rowCount) - record->topRow);
  return n;
}

uint8_t* Slot(int slot) {
  TesselRecord* record = gLockedRecord;
  auto* base = static_cast<uint8_t*>(BlockAddress(record->rowStore));
  if (!base || slot < 0 ||
      static_cast<uint64_t>(slot + 1) * record->rowLength > record->rowStoreSize)
    return nullptr;
  return base + static_cast<size_t>(slot) * record->rowLength;
}

uint32_t SlotHead(int slot) {
  uint8_t* address = Slot(slot);
  if (!address) return 0;
  uint32_t index = 0;
  std::memcpy(&index, address + RowHeaderSize() - 4, 4);
  return index;
}

void SetSlotHead(int slot, uint32_t index) {
  if (uint8_t* address = Slot(slot)) std::memcpy(address + RowHeaderSize() - 4, &index, 4);
}

int32_t SlotKey(int slot) {
  uint32_t head = SlotHead(slot);
  return head ? AttrHead(head)->rowKey : 0;
}

void SetSlotKey(int slot, int32_t key) {
  uint32_t head = SlotHead(slot);
  if (!head) {
    head = TakePoolRecord(kHeadPool);
    if (!head) return;
    SetSlotHead(slot, head);
  }
  AttrHead(head)->rowKey = key;
}

/* Empties a position: its head (key, colours, cell words) goes back to the pools. */
void ClearSlot(int slot) {
  if (uint32_t head = SlotHead(slot)) FreeAttrHead(head);
  if (uint8_t* address = Slot(slot)) std::memset(address, 0, gLockedRecord->rowLength);
}

/* Moves positions [from, from + count) to start at to (records whole, heads with them). */
void MoveSlots(int from, int to, int count) {
  if (count <= 0 || from == to) return;
  uint8_t* source = Slot(from);
  uint8_t* target = Slot(to);
  if (!source || !target) return;
  std::memmove(target, source, static_cast<size_t>(count) * gLockedRecord->rowLength);
}

HWND RequestTarget() { return NotificationTarget(gCurrentGrid); }

/* One request for one position. */
FetchResult FetchRow(int slot, int32_t key, UINT request, int32_t* delivered) {
  HGLOBAL handle = gLockedHandle;
  HWND target = RequestTarget();
  if (!target || !Slot(slot)) return kRefused;
  TesselRecord* record = gLockedRecord;
  record->fetchPosition = slot;
  uint32_t kept = SlotHead(slot);
  SetSlotHead(slot, 0);
  // The owner writes into a copy: a handler that deletes the rows or resizes the grid
  // meanwhile frees or moves the buffer under any pointer into it.
  uint32_t header = RowHeaderSize(), length = record->rowLength;
  std::vector<uint8_t> values(Slot(slot) + header, Slot(slot) + length);
  TesselVirtualRequest block{-1, key, values.data()};
  WORD id = static_cast<WORD>(GetWindowLongPtr(gCurrentGrid, GWL_ID));
  SendMessage(target, request, id, reinterpret_cast<LPARAM>(&block));
  if (!GridStillLocked(handle) || !gLockedRecord->virtualOn || !Slot(slot)) return kGone;
  if (gLockedRecord->rowLength != length || RowHeaderSize() != header) return kGone;
  if (block.result == 0) std::memcpy(Slot(slot) + header, values.data(), values.size());
  if (block.result != 0) {
    if (uint32_t fresh = SlotHead(slot)) FreeAttrHead(fresh);
    SetSlotHead(slot, kept);
    return kRefused;
  }
  if (kept) FreeAttrHead(kept);
  SetSlotKey(slot, block.key);
  *delivered = block.key;
  return kDelivered;
}

// Owner: grid.
bool gFocusWasShown = false;

/* Before every refill or scroll of the buffer. */
bool BeginRefill() {
  HGLOBAL handle = gLockedHandle;
  NotifyParent(TSN_VIRTUALREFILL);
  if (!GridStillLocked(handle) || !gLockedRecord->virtualOn) return false;
  gFocusWasShown = gLockedRecord->focusDrawn && gLockedRecord->redrawOn;
  HideFocusMark();
  return true;
}

void RefillDone(int moved, bool down) {
  TesselRecord* record = gLockedRecord;
  int before = record->topRow;
  record->topRow = record->bufferedRows > 0 ? (record->ownerFetch ? 0 : SlotKey(0)) : 0;
  if (record->ownerFetch) record->topRow = 0;
  record->lastVisibleRow = record->topRow + std::max(0, record->bufferedRows - 1);
  if (!record->ownerFetch && record->bufferedRows > 0 &&
      record->lastVisibleRow + 1 > record->rowCount)
    record->rowCount = record->lastVisibleRow + 1;
  if (moved > 0 && moved < Capacity())
    ScrollRows((down ? -moved : moved) * record->rowHeight, record->headingHeight);
  else InvalidateDataArea();
  if (gFocusWasShown) ShowFocusMark();
  UpdateScrollBars();
  if (record->dropDown && record->dropDownClosed) record->currentRow = record->topRow;
  if (moved > 0 || before != record->topRow) NotifyParent(TSN_TOPROWCHANGED);
}

/* Fills positions from slot on with the rows after key; answers how many were delivered. */
int FillForward(int slot, int32_t key, int last) {
  int delivered = 0;
  for (int s = slot; s <= last; ++s) {
    int32_t next = 0;
    FetchResult result = FetchRow(s, key, TSM_GETNEXTROW, &next);
    if (result == kGone) return -1;
    if (result != kDelivered) break;
    key = next;
    ++delivered;
  }
  return delivered;
}

/* Fills positions slot down to 0 with the rows before key; answers how many. */
int FillBackward(int slot, int32_t key) {
  int delivered = 0;
  for (int s = slot; s >= 0; --s) {
    int32_t previous = 0;
    FetchResult result = FetchRow(s, key, TSM_GETPREVROW, &previous);
    if (result == kGone) return -1;
    if (result != kDelivered) break;
    key = previous;
    ++delivered;
  }
  return delivered;
}

void ClearFrom(int slot) {
  for (int s = slot; s < Capacity(); ++s) ClearSlot(s);
}

/* Loads a row by its key at position 0 and the rows after it. */
int LoadAt(int32_t key) {
  int n = std::max(1, PageSize());
  if (!BeginRefill()) return TSERR_LOCKFAILED;
  gLockedRecord->bufferValid = 0;
  ClearFrom(0);
  int32_t first = 0;
  FetchResult result = FetchRow(0, key, TSM_GETROWBYKEY, &first);
  if (result == kGone) return TSERR_LOCKFAILED;
  if (result != kDelivered) {
    gLockedRecord->bufferedRows = 0;
    RefillDone(0, true);
    return 0;
  }
  int more = FillForward(1, first, n - 1);
  if (more < 0) return TSERR_LOCKFAILED;
  gLockedRecord->bufferedRows = 1 + more;
  RefillDone(0, true);
  return 1 + more;
}

/* Loads a row by its key as the bottom row: the positions above it are filled backwards,
   and when the owner stops early the rows close up to the top. */
int LoadAsBottom(int32_t key) {
  int n = std::max(1, PageSize());
  if (!BeginRefill()) return TSERR_LOCKFAILED;
  gLockedRecord->bufferValid = 0;
  ClearFrom(0);
  int32_t bottom = 0;
  FetchResult result = FetchRow(n - 1, key, TSM_GETROWBYKEY, &bottom);
  if (result == kGone) return TSERR_LOCKFAILED;
  if (result != kDelivered) {
    gLockedRecord->bufferedRows = 0;
    RefillDone(0, true);
    return 0;
  }
  int before = FillBackward(n - 2, bottom);
  if (before < 0) return TSERR_LOCKFAILED;
  int delivered = before + 1;
  int first = n - delivered;
  MoveSlots(first, 0, delivered);
  for (int s = delivered; s < n; ++s) std::memset(Slot(s), 0, gLockedRecord->rowLength);
  gLockedRecord->bufferedRows = delivered;
  RefillDone(0, true);
  return delivered;
}

int ThumbTo(int percent) {
  if (percent <= 0) return LoadFirstPage(true);
  if (percent >= 100) return LoadLastPage();
  int n = std::max(1, PageSize());
  if (!BeginRefill()) return TSERR_LOCKFAILED;
  gLockedRecord->bufferValid = 0;
  std::vector<uint8_t> saved;
  int32_t first = 0;
  uint32_t kept = SlotHead(0);
  (void)kept;
  FetchResult result = FetchRow(0, percent, TSM_GETROWAT, &first);
  if (result == kGone) return TSERR_LOCKFAILED;
  if (result != kDelivered) {
    InvalidateDataArea();
    return 0;
  }
  ClearFrom(1);
  int more = FillForward(1, first, n - 1);
  if (more < 0) return TSERR_LOCKFAILED;
  gLockedRecord->bufferedRows = 1 + more;
  RefillDone(0, true);
  return 1 + more;
}

/* Towards the first row by k. */
int ScrollBack(int k) {
  TesselRecord* record = gLockedRecord;
  if (!record->countUnknown && !record->ownerFetch)
    k = std::min(k, static_cast<int>(record->topRow));
  int n = std::max(1, PageSize());
  k = std::min(k, n);
  if (k <= 0 || record->bufferedRows == 0) return 0;
  if (!BeginRefill()) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  record->bufferValid = 0;
  int32_t firstKey = SlotKey(0);
  int kept = std::min(record->bufferedRows, n - k);
  for (int s = kept; s < record->bufferedRows; ++s) ClearSlot(s);
  MoveSlots(0, k, kept);
  for (int s = 0; s < k; ++s) std::memset(Slot(s), 0, record->rowLength);
  int delivered = FillBackward(k - 1, firstKey);
  if (delivered < 0) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  int rows = kept + delivered;
  if (delivered < k) {
    // Fewer rows before: close up to the top and fill the end from the last row kept.
    MoveSlots(k - delivered, 0, rows);
    for (int s = rows; s < n; ++s) std::memset(Slot(s), 0, record->rowLength);
    int more = rows > 0 ? FillForward(rows, SlotKey(rows - 1), n - 1) : 0;
    if (more < 0) return TSERR_LOCKFAILED;
    rows += more;
  }
  gLockedRecord->bufferedRows = rows;
  RefillDone(delivered, false);
  return delivered;
}

/* Towards the last row by k. */
int ScrollForward(int k) {
  TesselRecord* record = gLockedRecord;
  int n = std::max(1, PageSize());
  if (record->bufferedRows < n) return 0;  // the rows shown do not fill a page
  if (!record->countUnknown && !record->ownerFetch) {
    int lastFull = record->topRow + n - 1;
    k = std::min(k, static_cast<int>(record->rowCount) - 1 - lastFull);
  }
  k = std::min(k, n);
  if (k <= 0) return 0;
  if (!BeginRefill()) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  record->bufferValid = 0;
  int32_t lastKey = SlotKey(n - 1);
  for (int s = 0; s < k; ++s) ClearSlot(s);
  MoveSlots(k, 0, n - k);
  for (int s = n - k; s < n; ++s) std::memset(Slot(s), 0, record->rowLength);
  int delivered = FillForward(n - k, lastKey, n - 1);
  if (delivered < 0) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  int rows = n - k + delivered;
  if (delivered < k) {
    // The owner stopped early: move the rows back to fill the page from the front.
    int missing = k - delivered;
    MoveSlots(0, missing, rows);
    for (int s = 0; s < missing; ++s) std::memset(Slot(s), 0, record->rowLength);
    int back = FillBackward(missing - 1, SlotKey(missing));
    if (back < 0) return TSERR_LOCKFAILED;
    if (back < missing) {
      MoveSlots(missing - back, 0, rows + back);
      for (int s = rows + back; s < n; ++s) std::memset(Slot(s), 0, gLockedRecord->rowLength);
    }
    rows += back;
  }
  gLockedRecord->bufferedRows = rows;
  RefillDone(delivered, true);
  return delivered;
}

LRESULT SetVirtual(WPARAM ownerFetch, LPARAM count) {
  if (!(gCurrentStyle & TSS_VIRTUALMEM) || !GetParent(gCurrentGrid)) return TSERR_STATE;
  HGLOBAL handle = gLockedHandle;
  TesselRecord* record = gLockedRecord;
  record->virtualOn = 0;
  DeleteAllRows();
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  record->ownerFetch = ownerFetch ? 1 : 0;
  int32_t rows = static_cast<int32_t>(count);
  record->countUnknown = rows <= 0 ? 1 : 0;
  record->rowCount = rows <= 0 ? 1 : rows;
  record->virtualOn = 1;
  record->bufferedRows = 0;
  record->bufferValid = 0;
  record->topRow = record->lastVisibleRow = 0;
  RecalcLayout();
  EnsureVirtualBuffer();
  // A fresh buffer is always loaded: the first page is not in it yet, whatever the top row.
  int loaded = LoadFirstPage(true);
  if (loaded < 0) return loaded == TSERR_LOCKFAILED ? 0 : loaded;
  InvalidateWholeGrid(true);
  return 0;
}

LRESULT SetFetchCellAttribute(WPARAM column, LPARAM word) {
  TesselRecord* record = gLockedRecord;
  int slot = static_cast<int>(record->fetchPosition);
  if (!record->virtualOn || !Slot(slot)) return TSERR_LOCKFAILED;
  if (static_cast<int>(column & 0xFFFF) >= record->columnCount) return TSERR_BADCOL;
  uint32_t head = SlotHead(slot);
  int result =
      SetCellWordInHead(&head, static_cast<int>(column & 0xFFFF), static_cast<uint16_t>(word));
  SetSlotHead(slot, head);
  return result;
}

}  // namespace

bool VirtualActive() {
  return gLockedRecord && gLockedRecord->virtualOn && (gCurrentStyle & TSS_VIRTUALMEM);
}

int VirtualSlotOfRow(int row) {
  TesselRecord* record = gLockedRecord;
  if (record->ownerFetch) {
    for (int s = 0; s < record->bufferedRows; ++s)
      if (SlotKey(s) == row) return s;
    return -1;
  }
  int slot = row - record->topRow;
  return slot >= 0 && slot < record->bufferedRows ? slot : -1;
}

uint8_t* VirtualSlotAddress(int slot) {
  if (slot < 0 || slot >= gLockedRecord->bufferedRows) return nullptr;
  return Slot(slot);
}

void EnsureVirtualBuffer() {
  TesselRecord* record = gLockedRecord;
  if (!record->virtualOn || record->rowLength == 0) return;
  uint64_t bytes = static_cast<uint64_t>(Capacity()) * record->rowLength;
  if (record->rowStore && record->rowStoreSize >= bytes) return;
  HGLOBAL grown = GrowBlock(record->rowStore, static_cast<SIZE_T>(bytes));
  if (!grown) return;
  record->rowStore = grown;
  record->rowStoreSize = static_cast<uint32_t>(bytes);
  record->rowStoreUsed = static_cast<uint32_t>(bytes);
  record->rowBlockCount = 1;
}

int LoadFirstPage(bool force) {
  TesselRecord* record = gLockedRecord;
  int n = PageSize();
  if (n == 0) return 0;
  if (!force && !record->countUnknown && record->topRow == 0 && record->bufferValid) return 0;
  EnsureVirtualBuffer();
  if (!BeginRefill()) return TSERR_LOCKFAILED;
  ClearFrom(0);
  int32_t first = 0;
  FetchResult result = FetchRow(0, 0, TSM_GETFIRSTROW, &first);
  if (result == kGone) return TSERR_LOCKFAILED;
  int delivered = 0;
  if (result == kDelivered) {
    int more = FillForward(1, first, n - 1);
    if (more < 0) return TSERR_LOCKFAILED;
    delivered = 1 + more;
  }
  record = gLockedRecord;
  record->bufferedRows = delivered;
  if (record->countUnknown) record->rowCount = delivered;
  record->bufferValid = delivered > 0 ? 1 : 0;
  RefillDone(0, false);
  return delivered;
}

int LoadLastPage() {
  int n = std::max(1, PageSize());
  if (!BeginRefill()) return TSERR_LOCKFAILED;
  gLockedRecord->bufferValid = 0;
  ClearFrom(0);
  int32_t last = 0;
  FetchResult result = FetchRow(n - 1, 0, TSM_GETLASTROW, &last);
  if (result == kGone) return TSERR_LOCKFAILED;
  if (result != kDelivered) {
    gLockedRecord->bufferedRows = 0;
    RefillDone(0, true);
    return 0;
  }
  int before = FillBackward(n - 2, last);
  if (before < 0) return TSERR_LOCKFAILED;
  int delivered = before + 1;
  MoveSlots(n - delivered, 0, delivered);
  for (int s = delivered; s < n; ++s) std::memset(Slot(s), 0, gLockedRecord->rowLength);
  gLockedRecord->bufferedRows = delivered;
  RefillDone(0, true);
  return delivered;
}

int VirtualSetTopRow(int row) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (row < 0) return TSERR_BADROW;
  if (row == record->topRow && record->bufferedRows > 0) return 0;
  int n = std::max(1, PageSize());
  int result = 0;
  if (record->bufferedRows > 0 && row > record->topRow && row - record->topRow < n)
    result = ScrollForward(row - record->topRow);
  else if (record->bufferedRows > 0 && row < record->topRow && record->topRow - row < n)
    result = ScrollBack(record->topRow - row);
  else if (row == 0) result = LoadFirstPage(true);
  else result = LoadAt(row);
  if (result == TSERR_LOCKFAILED || !GridStillLocked(handle)) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  return record->topRow == row && record->bufferedRows > 0 ? 0 : TSERR_NOSCROLL;
}

int VirtualEnsureVisible(int row) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (VirtualSlotOfRow(row) >= 0 && row <= record->topRow + PageSize() - 1) return 0;
  if (record->ownerFetch) {
    // The owner's keys say nothing of order: a held key shows, any other comes in at the top.
    int slot = VirtualSlotOfRow(row);
    if (slot >= 0 && slot < std::max(1, PageSize())) return 0;
    int result = LoadAt(row);
    if (result == TSERR_LOCKFAILED || !GridStillLocked(handle)) return TSERR_LOCKFAILED;
    return VirtualSlotOfRow(row) >= 0 ? 0 : TSERR_NOSCROLL;
  }
  int n = std::max(1, PageSize());
  int result = 0;
  if (row < record->topRow) {
    result = VirtualSetTopRow(row);
  } else {
    int lastFull = record->topRow + n - 1;
    if (record->bufferedRows >= n && row - lastFull < n) result = ScrollForward(row - lastFull);
    else result = LoadAsBottom(row);
    if (result == TSERR_LOCKFAILED || !GridStillLocked(handle)) return TSERR_LOCKFAILED;
  }
  if (result == TSERR_LOCKFAILED || !GridStillLocked(handle)) return TSERR_LOCKFAILED;
  return VirtualSlotOfRow(row) >= 0 ? 0 : TSERR_NOSCROLL;
}

void VirtualScroll(int code, int position) {
  TesselRecord* record = gLockedRecord;
  int n = std::max(1, PageSize());
  switch (code) {
    case SB_LINEUP: ScrollBack(1); break;
    case SB_LINEDOWN: ScrollForward(1); break;
    case SB_PAGEUP: ScrollBack(n); break;
    case SB_PAGEDOWN: ScrollForward(n); break;
    case SB_TOP: LoadFirstPage(true); break;
    case SB_BOTTOM: LoadLastPage(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      if (record->countUnknown || record->ownerFetch) ThumbTo(position);
      else VirtualSetTopRow(RowOfThumb(position));
      break;
    default: break;
  }
}

namespace {

/* Up or Down among owner-fetched rows: the owner's keys need not follow each other, so the
   step is one buffer position, scrolling by one at either edge. */
bool OwnerFetchStep(bool down) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (record->bufferedRows == 0) return true;
  int screen = ScreenRowOf(record->currentRow);
  int next = screen < 0 ? record->topRow : screen + (down ? 1 : -1);
  int last = record->topRow + record->bufferedRows - 1;
  if (next > last || next < record->topRow) {
    if (down) ScrollForward(1);
    else ScrollBack(1);
    if (!GridStillLocked(handle)) return true;
    record = gLockedRecord;
    next = down ? record->topRow + record->bufferedRows - 1 : record->topRow;
  }
  int target = PaintedRow(next);
  if (target >= 0 && target != record->currentRow)
    SendMessage(gCurrentGrid, TSM_SETCURCELL, static_cast<WPARAM>(record->currentColumn), target);
  return true;
}

}  // namespace

bool VirtualMovementKey(int key, bool ctrl) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  int column = record->currentColumn;
  int target = -1;
  if (record->ownerFetch && (key == VK_UP || key == VK_DOWN) && !ctrl)
    return OwnerFetchStep(key == VK_DOWN);
  switch (key) {
    case VK_UP:
    case VK_DOWN: {
      if (ctrl) return false;
      int row = record->currentRow + (key == VK_DOWN ? 1 : -1);
      if (row < 0) return true;
      if (VirtualEnsureVisible(row) != 0 || !GridStillLocked(handle)) return true;
      target = row;
      break;
    }
    case VK_NEXT:
    case VK_PRIOR:
      if (ctrl) return false;
      if (key == VK_NEXT) ScrollForward(std::max(1, PageSize()));
      else ScrollBack(std::max(1, PageSize()));
      if (!GridStillLocked(handle)) return true;
      target = gLockedRecord->topRow;
      break;
    case VK_HOME:
    case VK_END:
      if (!ctrl) return false;
      if (key == VK_HOME) LoadFirstPage(true);
      else LoadLastPage();
      if (!GridStillLocked(handle)) return true;
      target = key == VK_HOME ? gLockedRecord->topRow : gLockedRecord->lastVisibleRow;
      break;
    default: return false;
  }
  // Owner-fetched rows: the place reached holds the owner's key of the row to move to.
  target = PaintedRow(target);
  if (gLockedRecord->bufferedRows > 0 && target >= 0 && target != gLockedRecord->currentRow)
    SendMessage(gCurrentGrid, TSM_SETCURCELL, static_cast<WPARAM>(column), target);
  return true;
}

namespace {

/* Row numbers kept in the buffered rows from slot on move by delta (never with owner-fetched
   rows, whose keys are the owner's). */
void RenumberFrom(int slot, int delta) {
  TesselRecord* record = gLockedRecord;
  if (record->ownerFetch) return;
  for (int s = slot; s < record->bufferedRows; ++s) SetSlotKey(s, SlotKey(s) + delta);
}

void ViewFromBuffer() {
  TesselRecord* record = gLockedRecord;
  record->topRow = record->ownerFetch || record->bufferedRows == 0 ? 0 : SlotKey(0);
  RecomputeLastVisibleRow();
}

/* The slot a new row at position takes when the buffer holds the position: its own, or the
   one after the last buffered row for the row that follows them; -1 otherwise. */
int SlotForNewRow(int position) {
  TesselRecord* record = gLockedRecord;
  int slot = VirtualSlotOfRow(position);
  if (slot >= 0) return slot;
  bool follows = record->ownerFetch ? position >= record->rowCount
                                    : position == record->topRow + record->bufferedRows;
  return follows ? record->bufferedRows : -1;
}

}  // namespace

int MakeVirtualRoom(int* position, int32_t key) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (record->columnCount == 0 || record->rowLength == 0) return TSERR_STATE;
  EnsureVirtualBuffer();
  if (!Slot(Capacity() - 1)) return TSERR_NOMEMORY;
  if (record->bufferedRows == 0) {
    // Without rows the new one is the only row, at the top.
    std::memset(Slot(0), 0, record->rowLength);
    *position = record->ownerFetch ? key : 0;
    SetSlotKey(0, *position);
    record->bufferedRows = 1;
    record->rowCount = 1;
    record->topRow = record->lastVisibleRow = 0;
    return 0;
  }
  int slot = SlotForNewRow(*position);
  if (slot < 0) {
    // Brought in: an appended row after the last row, any other as it stands.
    bool append = !record->ownerFetch && *position >= record->rowCount;
    int shown = append ? record->rowCount - 1 : *position;
    int result = VirtualEnsureVisible(shown);
    if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
    record = gLockedRecord;
    if (result != 0) return TSERR_BADROW;
    slot = SlotForNewRow(*position);
    if (slot < 0) return TSERR_BADROW;
  }
  int32_t number = record->ownerFetch            ? key
                   : slot < record->bufferedRows ? SlotKey(slot)
                                                 : SlotKey(record->bufferedRows - 1) + 1;
  int n = Capacity();
  if (record->bufferedRows == n) {
    if (slot == n) {
      // After a full page: the page moves on by one so the new row shows at the bottom.
      ClearSlot(0);
      MoveSlots(1, 0, n - 1);
      std::memset(Slot(n - 1), 0, record->rowLength);
      slot = n - 1;
    } else {
      ClearSlot(n - 1);  // the last buffered row falls out
    }
    record->bufferedRows = n - 1;
  }
  MoveSlots(slot, slot + 1, record->bufferedRows - slot);
  std::memset(Slot(slot), 0, record->rowLength);  // its head went down with the moved row
  record->bufferedRows += 1;
  RenumberFrom(slot + 1, 1);
  *position = number;
  SetSlotKey(slot, number);
  if (!record->countUnknown) record->rowCount += 1;
  ViewFromBuffer();
  return slot;
}

int RemoveVirtualRow(int row) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  int slot = VirtualSlotOfRow(row);
  if (!record->countUnknown && record->rowCount > 0) record->rowCount -= 1;
  if (slot < 0) {
    // Not buffered: only the numbers of the rows after it change.
    if (!record->ownerFetch && row < record->topRow) RenumberFrom(0, -1);
    ViewFromBuffer();
    return 0;
  }
  int32_t key = SlotKey(slot);
  ClearSlot(slot);
  MoveSlots(slot + 1, slot, record->bufferedRows - slot - 1);
  std::memset(Slot(record->bufferedRows - 1), 0, record->rowLength);  // its head moved up
  record->bufferedRows -= 1;
  RenumberFrom(slot, -1);
  int32_t delivered = 0;
  if (record->bufferedRows == 0) {
    // The only buffered row: the one before it shows, and without one no row remains.
    FetchResult result = FetchRow(0, key, TSM_GETPREVROW, &delivered);
    if (result == kGone) return TSERR_LOCKFAILED;
    record = gLockedRecord;
    if (result == kDelivered) record->bufferedRows = 1;
    else record->rowCount = 0;
  } else if (record->bufferedRows < PageSizeAfterRemoval()) {
    FetchResult result = FetchRow(record->bufferedRows, SlotKey(record->bufferedRows - 1),
                                  TSM_GETNEXTROW, &delivered);
    if (result == kGone) return TSERR_LOCKFAILED;
    record = gLockedRecord;
    if (result == kDelivered) record->bufferedRows += 1;
  }
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  ViewFromBuffer();
  return 0;
}

int PaintedRow(int screenRow) {
  TesselRecord* record = gLockedRecord;
  if (!record->virtualOn || !record->ownerFetch) return screenRow;
  int slot = screenRow - record->topRow;
  return slot >= 0 && slot < record->bufferedRows ? SlotKey(slot) : -1;
}

int ScreenRowOf(int row) {
  TesselRecord* record = gLockedRecord;
  if (!record->virtualOn || !record->ownerFetch) return row;
  int slot = VirtualSlotOfRow(row);
  return slot < 0 ? -1 : record->topRow + slot;
}

uint32_t VirtualRowHead(int row) { return SlotHead(VirtualSlotOfRow(row)); }

void SetVirtualRowHead(int slot, uint32_t head, int32_t key) {
  if (uint32_t old = SlotHead(slot)) FreeAttrHead(old);
  SetSlotHead(slot, head);
  SetSlotKey(slot, key);
}

LRESULT OnVirtualMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TSM_SETVIRTUAL: return SetVirtual(wParam, lParam);
    case TSM_SETFETCHCELLATTR: return SetFetchCellAttribute(wParam, lParam);
    default: return TSERR_BADMESSAGE;
  }
}

void FitVirtualBuffer() {
  TesselRecord* record = gLockedRecord;
  if (!VirtualActive() || record->bufferedRows == 0) return;
  int fit = std::max(0, static_cast<int>(record->visibleRows));
  if (record->bufferedRows > fit) {
    for (int s = fit; s < record->bufferedRows; ++s) ClearSlot(s);
    record->bufferedRows = fit;
    RecomputeLastVisibleRow();
    return;
  }
  if (record->bufferedRows == fit) return;
  int top = record->topRow;
  if (top == 0 && !record->ownerFetch) LoadFirstPage(true);
  else LoadAt(record->ownerFetch ? SlotKey(0) : top);
}
