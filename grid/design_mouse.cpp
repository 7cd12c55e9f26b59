/*
** The design-time mouse of a grid hosted by a dialog editor: taking and releasing it, and
** the column setup a double click opens while it is held.
*/
#include "grid/design_mouse.h"

#include "grid/design_services.h"
#include "grid/library_state.h"
#include "grid/tessel.h"

#include <cstring>

extern "C" LRESULT TesselWndFn(HWND grid, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

/* The grid's client rectangle in screen coordinates, one pixel wider and taller, so that the
   pointer can reach the last column's right edge and the bottom grid line. */
RECT DesignClipRect(HWND grid) {
  RECT client{};
  GetClientRect(grid, &client);
  POINT topLeft{client.left, client.top};
  POINT bottomRight{client.right + 1, client.bottom + 1};
  ClientToScreen(grid, &topLeft);
  ClientToScreen(grid, &bottomRight);
  return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

bool ParentIsDialogEditor(HWND parent) {
  char name[32] = "";
  if (!parent || GetClassName(parent, name, sizeof name) == 0) return false;
  return std::strcmp(name, "Corvane") == 0;
}

}  // namespace

bool HoldsDesignMouse() { return gLockedRecord && gLockedRecord->designMouseMode != 0; }

void TakeDesignMouse() {
  TesselRecord* record = gLockedRecord;
  HWND grid = gCurrentGrid;
  if (!record || record->designMouseMode) return;
  // A dialog editor that subclassed the grid gets its procedure back on release; while the
  // grid holds the mouse its own procedure sees every message.
  WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtr(grid, GWLP_WNDPROC));
  if (current && current != TesselWndFn) {
    record->keptWindowProc = current;
    SetWindowLongPtr(grid, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TesselWndFn));
  }
  record->designMouseMode = 1;
  RECT clip = DesignClipRect(grid);
  ClipCursor(&clip);
  SetCapture(grid);
  POINT at{};
  GetCursorPos(&at);
  SetCursorPos(at.x, at.y);
}

void ReleaseDesignMouse() {
  TesselRecord* record = gLockedRecord;
  HWND grid = gCurrentGrid;
  if (!record || !record->designMouseMode) return;
  ClipCursor(nullptr);
  if (GetCapture() == grid) ReleaseCapture();
  if (record->keptWindowProc) {
    SetWindowLongPtr(grid, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->keptWindowProc));
    record->keptWindowProc = nullptr;
  }
  record->designMouseMode = 0;
  SetCursor(gArrowCursor ? gArrowCursor : LoadCursor(nullptr, IDC_ARROW));
}

void ToggleDesignMouse() {
  if (HoldsDesignMouse()) ReleaseDesignMouse();
  else TakeDesignMouse();
}

void OpenDesignColumnSetup(int area, int column) {
  if (!HoldsDesignMouse() || gLockedRecord->editing) return;
  if (area != TSHT_HEADING && area != TSHT_CELL && area != TSHT_COLRESIZE) return;
  if (gLockedRecord->columnCount == 0 || column < 0) column = 0;
  HGLOBAL handle = gLockedHandle;
  HWND grid = gCurrentGrid;
  HWND parent = GetParent(grid);
  ReleaseDesignMouse();
  if (ParentIsDialogEditor(parent))
    SendMessage(parent, TSM_COLUMNSETUP, static_cast<WPARAM>(column), 0);
  else OpenColumnSetup(parent, grid, column);
  // The setup may have rebuilt or destroyed the grid: take the mouse again only when it is
  // still this record's.
  if (GridStillLocked(handle) && IsWindow(grid)) TakeDesignMouse();
}
