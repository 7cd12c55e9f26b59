/*
** Column and row resize tracking. Positions are kept in whole dialog units of the column
** (eighths of the vertical unit for rows), so the width set on release is what was shown.
** A press rounds to the nearest unit; a move truncates, as the width set on release does;
** a release without a move changes nothing.
*/
#include "grid/resize_tracking.h"

#include "grid/design_mouse.h"
#include "grid/library_state.h"
#include "grid/rows.h"

#include <algorithm>

namespace {

enum { kNoDrag = 0, kColumnDrag = 1, kRowDrag = 2 };

int RoundToUnits(int pixels, int unit, int parts) {
  if (unit <= 0) return pixels;
  int units = (pixels * parts + unit / 2) / unit;
  return units * unit / parts;
}

int TruncateToUnits(int pixels, int unit, int parts) {
  if (unit <= 0) return pixels;
  return pixels * parts / unit * unit / parts;
}

/* Whether the pointer left both where it was pressed and the edge the press put it on: only
   then does a release resize. */
// Owner: grid.
bool gResizeMoved = false;
int gResizePress = 0;

/* Draws (or, drawn again, erases) the tracking line at position by inverting it. */
void InvertLine(int position) {
  TesselRecord* record = gLockedRecord;
  HDC dc = GetDC(gCurrentGrid);
  if (!dc) return;
  RECT line{};
  if (record->dragMode == kColumnDrag) {
    int bottom = record->headingHeight;
    for (int r = record->topRow; r <= record->lastVisibleRow && r < record->rowCount; ++r)
      bottom += RowPixelHeight(r);
    line = RECT{position, 0, position + 1,
                std::min(std::max(bottom, record->headingHeight), record->clientHeight)};
  } else {
    line = RECT{0, position, record->clientWidth, position + 1};
  }
  InvertRect(dc, &line);
  ReleaseDC(gCurrentGrid, dc);
}

void ConfinePointer(int left, int top, int right, int bottom) {
  POINT topLeft{left, top}, bottomRight{right, bottom};
  ClientToScreen(gCurrentGrid, &topLeft);
  ClientToScreen(gCurrentGrid, &bottomRight);
  RECT clip{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  ClipCursor(&clip);
}

void PlacePointer(int x, int y) {
  POINT at{x, y};
  ClientToScreen(gCurrentGrid, &at);
  SetCursorPos(at.x, at.y);
}

void SetRowHeightByCursor(int row, int height) {
  TesselRecord* record = gLockedRecord;
  int savedRow = record->cursorRow, savedColumn = record->cursorColumn;
  record->cursorRow = row;
  SendMessage(gCurrentGrid, TSM_SETROWHEIGHT, TSREF_CURSOR, height);
  if (gLockedRecord) {
    gLockedRecord->cursorRow = savedRow;
    gLockedRecord->cursorColumn = static_cast<uint16_t>(savedColumn);
  }
}

/* Starts dragging an edge of the column or row `index` (mode kColumnDrag or kRowDrag) whose
   other edge is at `origin`: the edge starts at `edge`, both lines are shown inverted and the
   grid takes the mouse. `press` is the pointer's position along the drag. */
void StartDrag(int mode, int index, int origin, int edge, int press) {
  TesselRecord* record = gLockedRecord;
  record->dragMode = mode;
  record->dragIndex = index;
  record->dragOrigin = origin;
  record->dragStart = record->dragCurrent = edge;
  gResizeMoved = false;
  gResizePress = press;
  InvertLine(origin);
  InvertLine(edge);
  SetCapture(gCurrentGrid);
}

}  // namespace

bool Resizing() { return gLockedRecord && gLockedRecord->dragMode != kNoDrag; }

bool BeginResize(const HitResult& hit, int x, int y) {
  TesselRecord* record = gLockedRecord;
  if (record->dragMode != kNoDrag) return false;
  if (hit.area == TSHT_COLRESIZE) {
    if (record->designMode && !HoldsDesignMouse()) return false;
    int left = 0, right = 0;
    if (hit.column == TSCOL_ROWLABEL) {
      right = record->rowLabelWidth;
    } else if (!ColumnExtent(hit.column, &left, &right)) {
      return false;
    }
    if (hit.column == TSCOL_ROWLABEL) left = 0;
    int edge = left + RoundToUnits(std::max(0, x - left), gBaseUnitX, 4);
    StartDrag(kColumnDrag, hit.column, left, edge, x);
    int rowTop = 0, rowBottom = 0, middle = y;
    if (hit.row >= 0 && RowExtent(hit.row, &rowTop, &rowBottom)) middle = (rowTop + rowBottom) / 2;
    ConfinePointer(left, middle, record->clientWidth, middle + 1);
    PlacePointer(edge, middle);
    return true;
  }
  if (hit.area == TSHT_ROWRESIZE) {
    if (record->designMode) return false;
    int top = 0, bottom = 0;
    if (hit.row == TSROW_HEADING) bottom = record->headingHeight;
    else if (!RowExtent(hit.row, &top, &bottom)) return false;
    int edge = top + RoundToUnits(std::max(0, y - top), gBaseUnitY, 8);
    StartDrag(kRowDrag, hit.row, top, edge, y);
    int columnLeft = 0, columnRight = 0, middle = x;
    if (hit.column >= 0 && hit.column < record->columnCount &&
        ColumnExtent(hit.column, &columnLeft, &columnRight))
      middle = (columnLeft + columnRight) / 2;
    ConfinePointer(middle, top, middle + 1, record->clientHeight);
    PlacePointer(middle, edge);
    return true;
  }
  return false;
}

void TrackResize(int x, int y) {
  TesselRecord* record = gLockedRecord;
  if (record->dragMode == kNoDrag) return;
  bool columns = record->dragMode == kColumnDrag;
  SetCursor(columns ? gColResizeCursor : gRowResizeCursor);
  int at = columns ? x : y;
  if (at != record->dragStart && at != gResizePress) gResizeMoved = true;
  int from = record->dragOrigin;
  int position = columns ? from + TruncateToUnits(std::max(0, x - from), gBaseUnitX, 4)
                         : from + RoundToUnits(std::max(0, y - from), gBaseUnitY, 8);
  if (position == record->dragCurrent) return;
  InvertLine(record->dragCurrent);
  record->dragCurrent = position;
  InvertLine(position);
}

void EndResize(bool apply) {
  TesselRecord* record = gLockedRecord;
  if (!record || record->dragMode == kNoDrag) return;
  int mode = record->dragMode, index = record->dragIndex;
  int size = record->dragCurrent - record->dragOrigin;
  InvertLine(record->dragOrigin);
  InvertLine(record->dragCurrent);
  record->dragMode = kNoDrag;
  // The pointer is freed whatever ended the resize: a clip left behind confines it in every
  // window of the program.
  if (GetCapture() == gCurrentGrid) ReleaseCapture();
  ClipCursor(nullptr);
  if (!apply || !gResizeMoved) return;
  if (mode == kColumnDrag) {
    int units = gBaseUnitX > 0 ? std::max(0, size) * 4 / gBaseUnitX : 0;
    SendMessage(gCurrentGrid, TSM_SETCOLWIDTH, static_cast<WPARAM>(index), units);
  } else {
    SetRowHeightByCursor(index, std::max(0, size));
  }
}

HCURSOR CursorForHit(const HitResult& hit) {
  TesselRecord* record = gLockedRecord;
  if (hit.area == TSHT_COLRESIZE && (!record->designMode || HoldsDesignMouse()))
    return gColResizeCursor;
  if (hit.area == TSHT_ROWRESIZE && !record->designMode) return gRowResizeCursor;
  if (HoldsDesignMouse() && gColSetupCursor) return gColSetupCursor;
  return gArrowCursor ? gArrowCursor : LoadCursor(nullptr, IDC_ARROW);
}
