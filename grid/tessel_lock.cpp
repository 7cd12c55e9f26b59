/*
** Locking a grid's record per message, the nesting stack, and notifications.
*/
#include "grid/tessel_lock.h"

#include "grid/tessel.h"

#include <cstring>

HWND gCurrentGrid = nullptr;
DWORD gCurrentStyle = 0;
HGLOBAL gLockedHandle = nullptr;
TesselRecord* gLockedRecord = nullptr;
TesselColumn* gLockedColumns = nullptr;
int gNestingDepth = 0;

namespace {

/* What a level interrupted: the context before it, and what it locked itself. */
struct NestingLevel {
  HGLOBAL savedHandle;
  TesselRecord* savedRecord;
  TesselColumn* savedColumns;
  HGLOBAL lockedColumnTable;  // the column table this level locked, to unlock on leaving
};

// Owner: grid.
NestingLevel gStack[TESSEL_MAX_NESTING];

}  // namespace

void* BlockAddress(HGLOBAL block) {
  if (!block) return nullptr;
  void* address = GlobalLock(block);
  if (address) GlobalUnlock(block);
  return address;
}

bool LockTessel(HWND grid) {
  if (gNestingDepth >= TESSEL_MAX_NESTING) {
    MessageBox(nullptr, "Maximum Message Nesting has been exceeded!", "LockTessel", MB_ICONHAND);
    return false;
  }
  HGLOBAL handle = reinterpret_cast<HGLOBAL>(GetWindowLongPtr(grid, 0));
  if (!handle) return false;
  auto* record = static_cast<TesselRecord*>(GlobalLock(handle));
  if (!record) return false;
  NestingLevel& level = gStack[gNestingDepth++];
  level.savedHandle = gLockedHandle;
  level.savedRecord = gLockedRecord;
  level.savedColumns = gLockedColumns;
  level.lockedColumnTable = nullptr;
  gLockedHandle = handle;
  gLockedRecord = record;
  gLockedColumns = nullptr;
  if (record->columnTable) {
    gLockedColumns = static_cast<TesselColumn*>(GlobalLock(record->columnTable));
    if (gLockedColumns) level.lockedColumnTable = record->columnTable;
  }
  return true;
}

void UnlockTessel() {
  if (gNestingDepth <= 0) return;
  NestingLevel& level = gStack[--gNestingDepth];
  HGLOBAL handle = gLockedHandle;
  TesselRecord* record = gLockedRecord;
  // A column table freed or replaced meanwhile is no longer ours to unlock.
  if (level.lockedColumnTable && record && record->columnTable == level.lockedColumnTable)
    GlobalUnlock(level.lockedColumnTable);
  bool doomed = record && record->destroyPending;
  if (handle) GlobalUnlock(handle);
  gLockedHandle = level.savedHandle;
  gLockedRecord = level.savedRecord;
  gLockedColumns = level.savedColumns;
  if (doomed && !RecordHeldByAnyLevel(handle)) FreeTesselData(handle);
}

bool RecordHeldByAnyLevel(HGLOBAL handle) {
  if (!handle) return false;
  if (gLockedHandle == handle) return true;
  for (int i = 0; i < gNestingDepth; ++i)
    if (gStack[i].savedHandle == handle) return true;
  return false;
}

bool GridStillLocked(HGLOBAL expected) {
  if (!expected || gLockedHandle != expected || !gLockedRecord) return false;
  if (gLockedRecord->destroyPending) return false;
  return reinterpret_cast<HGLOBAL>(GetWindowLongPtr(gCurrentGrid, 0)) == expected;
}

void RefreshLockedColumns() {
  if (!gLockedRecord) return;
  auto* columns = static_cast<TesselColumn*>(BlockAddress(gLockedRecord->columnTable));
  gLockedColumns = columns;
  for (int i = 0; i < gNestingDepth; ++i)
    if (gStack[i].savedHandle == gLockedHandle) gStack[i].savedColumns = columns;
}

void ReplaceLockedRecord(HGLOBAL oldHandle, HGLOBAL newHandle) {
  auto* record = static_cast<TesselRecord*>(BlockAddress(newHandle));
  auto* columns = record ? static_cast<TesselColumn*>(BlockAddress(record->columnTable)) : nullptr;
  // Each level holding the old record took one lock on it: move that lock to the new one.
  auto swap = [&](HGLOBAL& held, TesselRecord*& heldRecord, TesselColumn*& heldColumns) {
    if (held != oldHandle) return;
    GlobalUnlock(oldHandle);
    GlobalLock(newHandle);
    held = newHandle;
    heldRecord = record;
    heldColumns = columns;
  };
  for (int i = 0; i < gNestingDepth; ++i) {
    gStack[i].lockedColumnTable =
        gStack[i].savedHandle == oldHandle ? nullptr : gStack[i].lockedColumnTable;
    swap(gStack[i].savedHandle, gStack[i].savedRecord, gStack[i].savedColumns);
  }
  if (gNestingDepth > 0 && gLockedHandle == oldHandle)
    gStack[gNestingDepth - 1].lockedColumnTable = nullptr;
  swap(gLockedHandle, gLockedRecord, gLockedColumns);
}

HWND NotificationTarget(HWND grid) {
  char className[16] = "";
  GetClassName(grid, className, sizeof className);
  if (lstrcmpi(className, "TesselVBX") == 0) return grid;
  return GetParent(grid);
}

LRESULT NotifyParent(int code) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (!record || !record->notificationsOn) return 0;
  HWND target = NotificationTarget(gCurrentGrid);
  if (!target) return 0;
  record->notifyReply = 0;
  HWND grid = gCurrentGrid;
  WORD id = static_cast<WORD>(GetWindowLongPtr(grid, GWL_ID));
  SendMessage(target, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(grid));
  // The handler may have attached another record; the reply is in whichever is locked now.
  if (!gLockedRecord || (gLockedHandle != handle && !GridStillLocked(gLockedHandle))) return 0;
  return gLockedRecord->notifyReply;
}

LRESULT NotifyParentAt(int code, int row, int column) {
  if (!gLockedRecord) return 0;
  gLockedRecord->notifyRow = row;
  gLockedRecord->notifyColumn = static_cast<uint16_t>(column);
  return NotifyParent(code);
}
