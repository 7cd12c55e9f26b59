/*
** Opening and closing a drop-down grid. Closing repaints, in the parent, everything the
** grid covered before it shrank, so that siblings under the open list show again.
*/
#include "grid/dropdown.h"

#include "grid/layout.h"
#include "grid/navigation.h"

#include <algorithm>

namespace {

int ClosedHeight() {
  TesselRecord* record = gLockedRecord;
  RECT window{}, client{};
  GetWindowRect(gCurrentGrid, &window);
  GetClientRect(gCurrentGrid, &client);
  int frame = (window.bottom - window.top) - client.bottom;
  return record->rowHeight + record->headingHeight + 1 + frame;
}

/* The grid's window rectangle in its parent's client coordinates. */
RECT RectInParent() {
  RECT window{};
  GetWindowRect(gCurrentGrid, &window);
  HWND parent = GetParent(gCurrentGrid);
  POINT topLeft{window.left, window.top}, bottomRight{window.right, window.bottom};
  if (parent && (GetWindowLongPtr(gCurrentGrid, GWL_STYLE) & WS_CHILD)) {
    ScreenToClient(parent, &topLeft);
    ScreenToClient(parent, &bottomRight);
  }
  return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

}  // namespace

int DropDown(bool open) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (!record->dropDown) return TSERR_STATE;
  int target = open ? record->fullHeight : ClosedHeight();
  if (target <= 0) return TSERR_NOWINDOW;
  RECT before = RectInParent();
  if ((record->dropDownClosed != 0) == !open && before.bottom - before.top == target) return 0;
  record->dropDownClosed = open ? 0 : 1;
  bool redraw = record->redrawOn != 0;
  SendMessage(gCurrentGrid, WM_SETREDRAW, FALSE, 0);
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  if (!open) {
    record->savedTopRow = static_cast<uint32_t>(record->topRow);
    record->topRow = std::max(0, record->currentRow);
    if (record->currentColumn < record->columnCount && !ColumnLocked(record->currentColumn))
      record->leftColumn = record->currentColumn;
  }
  SetWindowPos(gCurrentGrid, nullptr, before.left, before.top, before.right - before.left, target,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  int top = record->topRow;
  if (open) top = static_cast<int>(record->savedTopRow);
  RecalcLayout();
  if (!open) {
    HWND parent = GetParent(gCurrentGrid);
    if (parent) InvalidateRect(parent, &before, TRUE);
  } else if (record->rowCount > 0) {
    // The current row shows, not as the bottom row when that means scrolling down.
    int largest = TopRowShowingAtBottom(record->rowCount - 1);
    if (record->currentRow < top) top = record->currentRow;
    else if (record->currentRow > LastFullyVisibleRow())
      top = std::min(largest, TopRowShowingAtBottom(record->currentRow) + 1);
    top = std::clamp(top, 0, std::max(0, largest));
  }
  NotifyParent(TSN_DROPDOWN);
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  if (top != record->topRow && record->rowCount > 0) record->topRow = top;
  RecalcLayout();
  if (redraw) SendMessage(gCurrentGrid, WM_SETREDRAW, TRUE, 0);
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  InvalidateRect(gCurrentGrid, nullptr, TRUE);
  if (GetFocus() == gCurrentGrid) BringWindowToTop(gCurrentGrid);
  return 0;
}

HWND gGridInCreation = nullptr;

int FollowAutomaticDropDown() {
  TesselRecord* record = gLockedRecord;
  if (!record->autoDropDown || gCurrentGrid == gGridInCreation) return 0;
  bool fold = !record->focusDrawn && !record->designMode;
  int result = DropDown(!fold);
  return result == TSERR_LOCKFAILED ? result : 0;
}

void ToggleDropDown() { DropDown(gLockedRecord->dropDownClosed != 0); }

LRESULT OnDropDownMessage(UINT message, WPARAM, LPARAM lParam) {
  TesselRecord* record = gLockedRecord;
  switch (message) {
    case TSM_DROPDOWN: return DropDown(lParam != 0);
    case TSM_ISDROPCLOSED: return (!record->dropDown || record->dropDownClosed) ? 1 : 0;
    default: return TSERR_BADMESSAGE;
  }
}
