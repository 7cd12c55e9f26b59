/*
** The per-message context of the grid library: which grid is being handled, its locked
** record and column table, the stack of the levels a nested message interrupted, and the
** notifications a grid sends its owner.
**
** Handlers work on gLockedRecord and gLockedColumns. A notification or a message sent to
** the grid from inside a handler may delete rows, reset, attach another record or destroy
** the grid; after each one a handler checks GridStillLocked() before going on.
*/
#ifndef ZARNE_GRID_TESSEL_LOCK_H
#define ZARNE_GRID_TESSEL_LOCK_H

#include "grid/tessel_record.h"
#include "platform/user/winuser.h"

#define TESSEL_MAX_NESTING 99

// Owner: grid.
extern HWND gCurrentGrid;
extern DWORD gCurrentStyle;
extern HGLOBAL gLockedHandle;
extern TesselRecord* gLockedRecord;
extern TesselColumn* gLockedColumns;
extern int gNestingDepth;

/* Locks the grid's record (window word 0) and its column table as a new level; FALSE
   (after the box at the nesting limit) when there is no record or it does not lock. */
bool LockTessel(HWND grid);
/* Leaves the level LockTessel entered; frees a record whose window was destroyed
   meanwhile once no level holds it any more. */
void UnlockTessel();
/* Whether the level's record is still the grid's: word 0 unchanged and not destroyed. */
bool GridStillLocked(HGLOBAL expected);
/* After the column table was made, grown or freed: every level holding this record sees it. */
void RefreshLockedColumns();
/* After an attach replaced the record: every level that held the old one holds the new. */
void ReplaceLockedRecord(HGLOBAL oldHandle, HGLOBAL newHandle);
/* Whether any level holds this record (so it must not be freed now). */
bool RecordHeldByAnyLevel(HGLOBAL handle);

/* Sends a notification code as WM_COMMAND to the owner (the grid itself for class
   TesselVBX) and answers the reply the owner set with TSM_SETREPLY; 0 while notifications
   are off, without an owner or without a locked record. */
LRESULT NotifyParent(int code);
/* NotifyParent with the notification row and column set first. */
LRESULT NotifyParentAt(int code, int row, int column);
/* The parent notifications go to (the grid itself for class TesselVBX), or NULL. */
HWND NotificationTarget(HWND grid);

/* The address of a moveable block without keeping a lock (our blocks move only when we
   grow them, and every holder re-reads after that). */
void* BlockAddress(HGLOBAL block);

#endif
