/*
** Grid input. Every notification may delete rows, reset or destroy the grid: after each
** one the handler checks that the grid still holds its record and that the cell it works
** on still exists before going on.
*/
#include "grid/input.h"

#include "grid/clipboard.h"
#include "grid/column_selection.h"
#include "grid/design_mouse.h"
#include "grid/dropdown.h"
#include "grid/editing.h"
#include "grid/layout.h"
#include "grid/library_state.h"
#include "grid/resize_tracking.h"
#include "grid/virtual_rows.h"
#include "grid/navigation.h"
#include "grid/rows.h"
#include "grid/selection.h"

#include <algorithm>

namespace {

// Owner: grid.
bool gSelectionDrag = false;
POINT gDragPoint{-32768, -32768};

bool Pressed(int key) { return (GetKeyState(key) & 0x8000) != 0; }
bool RowStyle() { return (gCurrentStyle & (TSS_ROWSELECT | TSS_MULTIROW)) != 0; }
bool Multiple() { return (gCurrentStyle & TSS_MULTIROW) != 0; }

bool HasEditableColumns() {
  for (int c = 0; c < gLockedRecord->columnCount; ++c)
    if (IsCellEditable(c)) return true;
  return false;
}

int FirstColumn() {
  for (int c = 0; c < gLockedRecord->columnCount; ++c)
    if (ColumnLocked(c) && !ColumnHidden(c)) return c;
  for (int c = 0; c < gLockedRecord->columnCount; ++c)
    if (!ColumnHidden(c)) return c;
  return 0;
}

int StepColumn(int column, int step) {
  for (int c = column + step; c >= 0 && c < gLockedRecord->columnCount; c += step)
    if (!ColumnHidden(c)) return c;
  return column;
}

/* Moves to the cell, keeps it visible; false when the grid went away meanwhile. */
bool MoveTo(int row, int column) {
  HGLOBAL handle = gLockedHandle;
  TesselRecord* record = gLockedRecord;
  row = std::clamp(row, 0, std::max(0, record->rowCount - 1));
  column = std::clamp(column, 0, std::max(0, record->columnCount - 1));
  if (row != record->currentRow || column != record->currentColumn) SetCurrentCell(row, column);
  if (!GridStillLocked(handle)) return false;
  EnsureVisible(gLockedRecord->currentRow, gLockedRecord->currentColumn);
  return GridStillLocked(handle);
}

int PageDownTarget() {
  TesselRecord* record = gLockedRecord;
  int largest = TopRowShowingAtBottom(record->rowCount - 1);
  if (record->topRow >= largest) return -1;  // the last page shows already
  return std::min(record->lastVisibleRow, largest);
}

void PageDown() {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  int top = PageDownTarget();
  if (top < 0) {
    MoveTo(record->lastVisibleRow, record->currentColumn);
    return;
  }
  SetTopRow(top);
  if (GridStillLocked(handle)) MoveTo(top, gLockedRecord->currentColumn);
}

void PageUp() {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (record->topRow == 0) {
    MoveTo(0, record->currentColumn);
    return;
  }
  int top = TopRowShowingAtBottom(record->topRow - 1);
  SetTopRow(top);
  if (GridStillLocked(handle)) MoveTo(top, gLockedRecord->currentColumn);
}

/* Ctrl+Page Down and Up: the left column moves by the fully visible scrolling columns (at
   least one), and the current cell with it. */
void PageColumns(int direction) {
  HGLOBAL handle = gLockedHandle;
  OnHorizontalScroll(direction > 0 ? SB_PAGERIGHT : SB_PAGELEFT, 0);
  if (!GridStillLocked(handle)) return;
  TesselRecord* record = gLockedRecord;
  int column = record->currentColumn;
  if (!ColumnLocked(column) && column < record->leftColumn) column = record->leftColumn;
  else if (!ColumnLocked(column) && column > record->lastVisibleColumn)
    column = record->lastVisibleColumn;
  if (direction > 0 && !ColumnLocked(column)) column = std::max<int>(column, record->leftColumn);
  MoveTo(record->currentRow, column);
}

/* Down on the last row of a grid that adds rows: an empty row at the end, once the last
   row holds data. */
bool AutoInsertRow() {
  TesselRecord* record = gLockedRecord;
  if (!(record->exStyle & TSXS_AUTOINSERT) || record->virtualOn || !HasEditableColumns() ||
      !LastRowHasData())
    return false;
  HGLOBAL handle = gLockedHandle;
  SendMessage(gCurrentGrid, TSM_SETCURSOR, 0, TSROW_APPEND);
  SendMessage(gCurrentGrid, TSM_INSERTROW, 0, 0);
  if (!GridStillLocked(handle)) return true;
  MoveTo(gLockedRecord->rowCount - 1, gLockedRecord->currentColumn);
  return true;
}

/* Up and Down; with Shift in multiple selection the row moved onto takes the state of the
   row left. */
void StepRow(int step, bool shift) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  int from = record->currentRow;
  if (step > 0 && !shift && from == record->rowCount - 1 && AutoInsertRow()) return;
  int to = std::clamp(from + step, 0, record->rowCount - 1);
  if (!MoveTo(to, record->currentColumn)) return;
  if (shift && Multiple() && to != from && GridStillLocked(handle)) {
    gLockedRecord->anchorRow = to;
    SetRowSelection(to, RowSelectedFlag(from), true);
  }
}

void SelectByKey(bool shift, bool ctrl) {
  TesselRecord* record = gLockedRecord;
  if (!shift && !ctrl) {
    if (RowStyle()) shift = true;
    else if (SingleColumnStyle() || MultipleColumnStyle()) ctrl = true;
    else return;
  }
  if (!shift) {
    if (MultipleColumnStyle()) {
      record->anchorColumn = record->currentColumn;
      SetColumnSelection(record->currentColumn, !ColumnSelected(record->currentColumn));
    } else if (SingleColumnStyle()) {
      SendMessage(gCurrentGrid, TSM_SELECTCOL, record->currentColumn, 1);
    }
    return;
  }
  if (Multiple()) {
    record->anchorRow = record->currentRow;
    SetRowSelection(record->currentRow, !RowSelectedFlag(record->currentRow), true);
  } else if (gCurrentStyle & TSS_ROWSELECT) {
    SendMessage(gCurrentGrid, TSM_SELECTROW, 1, record->currentRow);
  }
}

bool Movement(int key, bool shift, bool ctrl) {
  TesselRecord* record = gLockedRecord;
  if (VirtualActive() && !shift && VirtualMovementKey(key, ctrl)) return true;
  int row = record->currentRow, column = record->currentColumn;
  switch (key) {
    case VK_UP:
      if (ctrl) MoveTo(record->topRow, column);
      else StepRow(-1, shift);
      return true;
    case VK_DOWN:
      if (ctrl) MoveTo(LastFullyVisibleRow(), column);
      else StepRow(1, shift);
      return true;
    case VK_LEFT:
    case VK_RIGHT: {
      int to = key == VK_LEFT ? (ctrl ? FirstColumn() : StepColumn(column, -1))
                              : (ctrl ? std::max(0, static_cast<int>(record->lastVisibleColumn))
                                      : StepColumn(column, 1));
      HGLOBAL handle = gLockedHandle;
      if (!MoveTo(row, to)) return true;
      // With Shift in multiple column selection the column moved onto takes the state of the
      // column left.
      if (shift && MultipleColumnStyle() && to != column && GridStillLocked(handle)) {
        gLockedRecord->anchorColumn = to;
        SetColumnSelection(to, ColumnSelected(column));
      }
      return true;
    }
    case VK_NEXT:
      if (ctrl) PageColumns(1);
      else PageDown();
      return true;
    case VK_PRIOR:
      if (ctrl) PageColumns(-1);
      else PageUp();
      return true;
    case VK_HOME: {
      HGLOBAL handle = gLockedHandle;
      SetLeftColumn(std::max(0, FirstScrollingColumn()));
      if (GridStillLocked(handle)) MoveTo(ctrl ? 0 : row, FirstColumn());
      return true;
    }
    case VK_END:
      MoveTo(ctrl ? record->rowCount - 1 : row, std::max(0, LastScrollingColumn()));
      return true;
    case VK_SPACE:
      if (!(shift && ctrl)) SelectByKey(shift, ctrl);
      return true;
    default: return false;
  }
}

/* Begins editing the current cell and hands the editor the key or character that began it. */
void BeginAndPost(UINT message, WPARAM value) {
  HGLOBAL handle = gLockedHandle;
  if (BeginCellEdit() != 0 || !GridStillLocked(handle)) return;
  if (HWND editor = gLockedRecord->editorWindow) PostMessage(editor, message, value, 0);
}

bool IsCheckBoxColumn(int column) {
  return column < gLockedRecord->columnCount && gLockedColumns[column].type == TST_CHECKBOX;
}

void SpaceOnEditableGrid() {
  TesselRecord* record = gLockedRecord;
  int column = record->currentColumn;
  if (column >= record->columnCount || !IsCellEditable(column)) return;
  if (IsCheckBoxColumn(column)) ToggleCheckBox(record->currentRow, column);
  else BeginAndPost(WM_CHAR, ' ');
}

/* The characters the accept and cancel keys type: Enter's 13, Escape's 27; function keys
   type none. */
bool IsEndKeyCharacter(WPARAM character) {
  for (int k = 1; k <= 2; ++k) {
    uint32_t key = gLockedRecord->editKeys[k];
    if ((key == VK_RETURN && character == 13) || (key == VK_ESCAPE && character == 27)) return true;
  }
  return false;
}

bool TypedCharacter(WPARAM character) {
  TesselRecord* record = gLockedRecord;
  if (character == '\t') return false;
  if (record->editing || record->columnCount == 0 || record->rowCount == 0) return false;
  if (character == ' ' || IsEndKeyCharacter(character) || Pressed(VK_CONTROL)) return true;
  int column = record->currentColumn;
  if (column >= record->columnCount || !IsCellEditable(column) || IsCheckBoxColumn(column))
    return true;
  BeginAndPost(WM_CHAR, character);
  return true;
}

bool AltArrow(WPARAM key) {
  TesselRecord* record = gLockedRecord;
  if (key != VK_UP && key != VK_DOWN) return false;
  if (record->dropDown) {
    ToggleDropDown();
    return true;
  }
  if (record->editing || record->rowCount == 0 || !ColumnHasListItems(record->currentColumn))
    return false;
  if (!ColumnOpensEditor(record->currentColumn)) return false;
  HGLOBAL handle = gLockedHandle;
  if (BeginCellEdit() != 0 || !GridStillLocked(handle)) return true;
  // The editor's list drops at once: the key is the editor's Alt+Down.
  if (HWND editor = gLockedRecord->editorWindow) SendMessage(editor, WM_SYSKEYDOWN, key, 0);
  return true;
}

bool TabKey() {
  TesselRecord* record = gLockedRecord;
  bool ctrl = Pressed(VK_CONTROL);
  bool cells = (record->exStyle & TSXS_TABCELLS) ? !ctrl : ctrl;
  if (!cells) return false;  // the dialog's
  if (Pressed(VK_SHIFT)) PreviousCell();
  else NextCell();
  return true;
}

bool ClipboardKey(int key, bool ctrl) {
  if (!ctrl) return false;
  switch (key) {
    case 'C': CopyCells(false); return true;
    case 'X': CopyCells(true); return true;
    case 'V': PasteCells(); return true;
    default: return false;
  }
}

bool OnListButton(const HitResult& hit, int x) {
  RECT cell{};
  if (CellRect(hit.row, hit.column, false, &cell) != 0) return false;
  return x >= cell.right - 14 && x <= cell.right;
}

/* A plain click on an editable check box toggles it; on a list column's button it opens
   the editor with its list dropped. True when the click was used so. */
bool CellClickEdits(const HitResult& hit, int x) {
  HGLOBAL handle = gLockedHandle;
  if (IsCheckBoxColumn(hit.column)) {
    if (!IsCellEditable(hit.column)) return false;
    ToggleCheckBox(hit.row, hit.column);
    return true;
  }
  if (!ColumnHasListItems(hit.column) || !ColumnOpensEditor(hit.column) || !OnListButton(hit, x))
    return false;
  if (BeginCellEdit() == 0 && GridStillLocked(handle)) ToggleEditList();
  return true;
}

/* A click on a heading in a column-selection style: a column drag begins there. */
void HeadingClick(int column, bool ctrl) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  bool columnStyle = SingleColumnStyle() || MultipleColumnStyle();
  if (!columnStyle) {
    if (HasEditableColumns()) MoveTo(record->currentRow, column);
    return;
  }
  (void)ctrl;
  SetCapture(gCurrentGrid);
  gSelectionDrag = true;
  gDragPoint = POINT{-32768, -32768};
  int row = HasEditableColumns() ? record->currentRow : record->topRow;
  if (row != record->currentRow || column != record->currentColumn) SetCurrentCell(row, column);
  if (!GridStillLocked(handle)) return;
  if (MultipleColumnStyle()) {
    gLockedRecord->anchorColumn = column;
    SetColumnSelection(column, !ColumnSelected(column));
  } else {
    SendMessage(gCurrentGrid, TSM_SELECTCOL, static_cast<WPARAM>(column), 1);
  }
}

/* A column drag: beyond the left or right edge the columns scroll, and the column under the
   mouse extends the selection. */
void DragColumnsTo(int x) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (x >= record->clientWidth && record->lastVisibleColumn + 1 < record->columnCount)
    SetLeftColumn(std::min<int>(record->columnCount - 1, record->leftColumn + 1));
  else if (x < record->rowLabelWidth && record->leftColumn > 0)
    SetLeftColumn(record->leftColumn - 1);
  if (!GridStillLocked(handle)) return;
  record = gLockedRecord;
  int clamped = std::clamp(x, record->rowLabelWidth,
                           std::max(record->rowLabelWidth, record->clientWidth - 1));
  int column = HitTest(clamped, std::max(0, record->headingHeight / 2)).column;
  if (column < 0 || column >= record->columnCount) return;
  if (MultipleColumnStyle()) {
    int anchor = record->anchorColumn;
    if (anchor < 0 || anchor >= record->columnCount) return;
    SelectColumnRange(column, ColumnSelected(anchor));
    if (GridStillLocked(handle)) gLockedRecord->anchorColumn = anchor;
  } else if (column != record->currentColumn) {
    SetCurrentCell(record->currentRow, column);
  }
}

/* A click on a row label in a row-selection style: the drag begins there. */
void RowLabelClick(int row) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (!RowStyle()) {
    if (HasEditableColumns()) MoveTo(row, record->currentColumn);
    return;
  }
  SetCapture(gCurrentGrid);
  gSelectionDrag = true;
  gDragPoint = POINT{-32768, -32768};
  int column = HasEditableColumns() ? record->currentColumn : std::max(0, FirstScrollingColumn());
  if (row != record->currentRow || column != record->currentColumn) SetCurrentCell(row, column);
  if (!GridStillLocked(handle)) return;
  if (Multiple()) {
    gLockedRecord->anchorRow = row;
    SetRowSelection(row, !RowSelectedFlag(row), true);
  }
}

bool LeftButtonDown(WPARAM keys, int x, int y) {
  HGLOBAL handle = gLockedHandle;
  TesselRecord* record = gLockedRecord;
  HitResult hit = HitTest(x, y);
  record->notifyArea = hit.area;
  if (NotifyParentAt(TSN_LBUTTONDOWN, hit.row, hit.column) != 0) return true;
  if (!GridStillLocked(handle)) return true;
  record = gLockedRecord;
  if (record->editing) {
    if (hit.area == TSHT_CELL && hit.row == record->currentRow &&
        hit.column == record->currentColumn && ColumnHasListItems(hit.column) &&
        OnListButton(hit, x)) {
      ToggleEditList();
      return true;
    }
    if (!(record->exStyle & TSXS_CLICKENDSEDIT)) {
      SetFocus(record->editorWindow);
      return true;
    }
    EndCellEdit(true);
    if (!GridStillLocked(handle)) return true;
    hit = HitTest(x, y);
  }
  SetFocus(gCurrentGrid);
  if (!GridStillLocked(handle)) return true;
  bool shift = (keys & MK_SHIFT) != 0, ctrl = (keys & MK_CONTROL) != 0;
  if (shift && ctrl) return true;
  if (hit.area == TSHT_CELL) {
    if (shift && RowStyle()) {
      RowLabelClick(hit.row);
      return true;
    }
    bool columnStyle = SingleColumnStyle() || MultipleColumnStyle();
    if (columnStyle && (ctrl || (shift && !RowStyle()))) {
      HeadingClick(hit.column, ctrl);
      return true;
    }
    SetCurrentCell(hit.row, hit.column);
    if (!GridStillLocked(handle)) return true;
    if (!shift && !ctrl && CellClickEdits(hit, x)) return true;
    if (!GridStillLocked(handle)) return true;
    // A plain click selects the row in single selection; multiple selection leaves the
    // row's flag to Shift clicks and the row buttons.
    if ((gCurrentStyle & TSS_ROWSELECT) && !gLockedRecord->columnSelectionMode)
      RowLabelClick(hit.row);
    else if ((gCurrentStyle & TSS_COLSELECT) && gLockedRecord->columnSelectionMode)
      HeadingClick(hit.column, false);
    return true;
  }
  if (hit.area == TSHT_ROWLABEL && hit.row >= 0 && !ctrl) {
    RowLabelClick(hit.row);
    return true;
  }
  if (hit.area == TSHT_COLRESIZE || hit.area == TSHT_ROWRESIZE) {
    BeginResize(hit, x, y);
    return true;
  }
  if (hit.area == TSHT_HEADING && hit.column >= 0 && hit.column < gLockedRecord->columnCount &&
      !shift) {
    HeadingClick(hit.column, ctrl);
    return true;
  }
  return true;
}

void DragTo(int y) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (y >= record->clientHeight && record->lastVisibleRow < record->rowCount - 1) {
    SetTopRow(record->topRow + 1);
  } else if (y < record->headingHeight && record->topRow > 0) {
    SetTopRow(record->topRow - 1);
  }
  if (!GridStillLocked(handle)) return;
  record = gLockedRecord;
  int row = -1;
  int clampedY = std::clamp(y, record->headingHeight,
                            std::max(record->headingHeight, record->clientHeight - 1));
  if (y >= record->clientHeight) row = record->lastVisibleRow;
  else if (y < record->headingHeight) row = record->topRow;
  else row = HitTest(std::max(0, record->rowLabelWidth / 2), clampedY).row;
  if (row < 0 || row >= record->rowCount) return;
  if (Multiple()) {
    int anchor = record->anchorRow;
    if (anchor < 0 || anchor >= record->rowCount) return;
    bool state = RowSelectedFlag(anchor);
    SelectRowRange(row, state);
    if (GridStillLocked(handle)) gLockedRecord->anchorRow = anchor;
  } else if (row != record->currentRow) {
    SetCurrentCell(row, record->currentColumn);
  }
}

void MouseMove(int x, int y) {
  TesselRecord* record = gLockedRecord;
  if (record->editing && !(record->exStyle & TSXS_CLICKENDSEDIT)) return;
  if (Resizing()) {
    TrackResize(x, y);
    return;
  }
  if (gSelectionDrag && GetCapture() == gCurrentGrid) {
    SetCursor(gArrowCursor ? gArrowCursor : LoadCursor(nullptr, IDC_ARROW));
    // A move reported again at the same point (scrolling under a captured mouse makes one)
    // must not scroll a second step.
    if (x == gDragPoint.x && y == gDragPoint.y) return;
    gDragPoint = POINT{x, y};
    if (record->columnSelectionMode) DragColumnsTo(x);
    else DragTo(y);
    return;
  }
  SetCursor(CursorForHit(HitTest(x, y)));
}

bool NotifyMouse(int code, int x, int y) {
  HitResult hit = HitTest(x, y);
  gLockedRecord->notifyArea = hit.area;
  return NotifyParentAt(code, hit.row, hit.column) != 0;
}

bool LeftDoubleClick(int x, int y) {
  HGLOBAL handle = gLockedHandle;
  HitResult hit = HitTest(x, y);
  gLockedRecord->notifyArea = hit.area;
  if (NotifyParentAt(TSN_LBUTTONDBLCLK, hit.row, hit.column) != 0) return true;
  if (!GridStillLocked(handle)) return true;
  OpenDesignColumnSetup(hit.area, hit.column);
  return true;
}

}  // namespace

void EndMouseTracking() {
  if (Resizing()) EndResize(false);
  if (!gSelectionDrag) return;
  gSelectionDrag = false;
  if (GetCapture() == gCurrentGrid) ReleaseCapture();
  ClipCursor(nullptr);
}

bool OnTesselKey(UINT message, WPARAM key, LPARAM) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (message == WM_CHAR) return TypedCharacter(key);
  if (message == WM_SYSKEYDOWN) return AltArrow(key);
  if (message != WM_KEYDOWN) return false;
  if (record->editing || record->columnCount == 0) return false;
  record->userData = static_cast<int32_t>(key);
  if (NotifyParentAt(TSN_KEYDOWN, record->currentRow, record->currentColumn) != 0) return true;
  if (!GridStillLocked(handle)) return true;
  record = gLockedRecord;
  int handled = record->userData;
  if (record->rowCount == 0) return false;
  // An owner's key is no row number: it may lie past the rows counted.
  bool keyed = VirtualActive() && record->ownerFetch;
  if (record->currentRow >= record->rowCount && !keyed) record->currentRow = record->rowCount - 1;
  if (handled != 0 && static_cast<uint32_t>(handled) == record->editKeys[0]) {
    if (ColumnOpensEditor(record->currentColumn)) BeginCellEdit();
    return true;
  }
  if (handled == VK_TAB) return TabKey();
  if (handled == VK_RETURN || handled == VK_ESCAPE) return false;  // the dialog's
  if (ClipboardKey(handled, Pressed(VK_CONTROL))) return true;
  if (handled == VK_F4) {
    if (ColumnHasListItems(record->currentColumn) && ColumnOpensEditor(record->currentColumn))
      BeginAndPost(WM_KEYDOWN, VK_F4);
    return true;
  }
  if (handled == VK_SPACE && !Pressed(VK_SHIFT) && !Pressed(VK_CONTROL) && HasEditableColumns()) {
    SpaceOnEditableGrid();
    return true;
  }
  return Movement(handled, Pressed(VK_SHIFT), Pressed(VK_CONTROL));
}

bool OnTesselMouse(UINT message, WPARAM keys, int x, int y) {
  switch (message) {
    case WM_LBUTTONDOWN: return LeftButtonDown(keys, x, y);
    case WM_MOUSEMOVE: MouseMove(x, y); return true;
    case WM_LBUTTONUP:
      if (Resizing()) EndResize(true);
      else EndMouseTracking();
      return true;
    case WM_LBUTTONDBLCLK: return LeftDoubleClick(x, y);
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      // In design mode each right press (a quick second one included) takes or gives back
      // the design-time mouse instead of notifying.
      if (gLockedRecord->designMode) {
        ToggleDesignMouse();
        return true;
      }
      return NotifyMouse(message == WM_RBUTTONDOWN ? TSN_RBUTTONDOWN : TSN_RBUTTONDBLCLK, x, y);
    case WM_RBUTTONUP: return gLockedRecord->designMode != 0;
    default: return false;
  }
}

void OnVerticalScroll(int code, int position) {
  TesselRecord* record = gLockedRecord;
  if (record->editing) return;
  if (VirtualActive()) {
    VirtualScroll(code, position);
    return;
  }
  if (record->rowCount == 0) return;
  int largest = TopRowShowingAtBottom(record->rowCount - 1);
  int top = record->topRow;
  switch (code) {
    case SB_LINEUP: top -= 1; break;
    case SB_LINEDOWN: top += 1; break;
    case SB_PAGEUP: top = record->topRow > 0 ? TopRowShowingAtBottom(record->topRow - 1) : 0; break;
    case SB_PAGEDOWN: top = std::min(record->lastVisibleRow, largest); break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = largest; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: top = RowOfThumb(position); break;
    default: return;
  }
  top = std::clamp(top, 0, std::max(largest, 0));
  if (top != record->topRow) SetTopRow(top);
}

void OnHorizontalScroll(int code, int position) {
  TesselRecord* record = gLockedRecord;
  if (record->editing || record->columnCount == 0) return;
  std::vector<int> scrolling;
  for (int c = 0; c < record->columnCount; ++c)
    if (!ColumnHidden(c) && !ColumnLocked(c)) scrolling.push_back(c);
  if (scrolling.empty()) return;
  int useful = std::max(0, LargestUsefulLeftColumn());
  int index = static_cast<int>(std::find(scrolling.begin(), scrolling.end(), record->leftColumn) -
                               scrolling.begin());
  int last =
      static_cast<int>(std::find(scrolling.begin(), scrolling.end(), useful) - scrolling.begin());
  switch (code) {
    case SB_LINELEFT: index -= 1; break;
    case SB_LINERIGHT: index += 1; break;
    case SB_PAGELEFT:
      index -= std::max(1, static_cast<int>(SendMessage(gCurrentGrid, TSM_GETVISIBLECOLS, 0, 0)));
      break;
    case SB_PAGERIGHT:
      index += std::max(1, static_cast<int>(SendMessage(gCurrentGrid, TSM_GETVISIBLECOLS, 0, 0)));
      break;
    case SB_LEFT: index = 0; break;
    case SB_RIGHT: index = last; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: index = position; break;
    default: return;
  }
  index = std::clamp(index, 0, std::max(0, std::min(last, static_cast<int>(scrolling.size()) - 1)));
  if (scrolling[index] != record->leftColumn) SetLeftColumn(scrolling[index]);
}

/* The next cell: along the row (or down the column with TSXS_ROWSINCOLS), on to the next
   row or column at the end; at the last cell a row is added when TSXS_AUTOINSERT allows. */
int NextCell() {
  TesselRecord* record = gLockedRecord;
  if (record->columnCount == 0) return TSERR_BADCOL;
  if (record->rowCount == 0) return TSERR_BADROW;
  int row = record->currentRow, column = record->currentColumn;
  int last = std::max(0, LastScrollingColumn());
  if (!(record->exStyle & TSXS_ROWSINCOLS)) {
    int next = StepColumn(column, 1);
    if (next != column && column < last) return MoveTo(row, next) ? 0 : TSERR_LOCKFAILED;
    if (row + 1 >= record->rowCount) return 0;
    HGLOBAL handle = gLockedHandle;
    SetLeftColumn(std::max(0, FirstScrollingColumn()));
    if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
    return MoveTo(row + 1, FirstColumn()) ? 0 : TSERR_LOCKFAILED;
  }
  if (row + 1 < record->rowCount) return MoveTo(row + 1, column) ? 0 : TSERR_LOCKFAILED;
  int next = StepColumn(column, 1);
  if (next != column && column < last) return MoveTo(0, next) ? 0 : TSERR_LOCKFAILED;
  if ((record->exStyle & TSXS_AUTOINSERT) && !record->ownerFetch && LastRowHasData()) {
    HGLOBAL handle = gLockedHandle;
    SendMessage(gCurrentGrid, TSM_SETCURSOR, 0, TSROW_APPEND);
    SendMessage(gCurrentGrid, TSM_INSERTROW, 0, 0);
    if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
    return MoveTo(gLockedRecord->rowCount - 1, FirstColumn()) ? 0 : TSERR_LOCKFAILED;
  }
  return 0;
}

int PreviousCell() {
  TesselRecord* record = gLockedRecord;
  if (record->columnCount == 0) return TSERR_BADCOL;
  if (record->rowCount == 0) return TSERR_BADROW;
  int row = record->currentRow, column = record->currentColumn;
  int first = FirstColumn();
  if (!(record->exStyle & TSXS_ROWSINCOLS)) {
    int previous = StepColumn(column, -1);
    if (previous != column && column != first) return MoveTo(row, previous) ? 0 : TSERR_LOCKFAILED;
    if (row == 0) return 0;
    return MoveTo(row - 1, std::max(0, LastScrollingColumn())) ? 0 : TSERR_LOCKFAILED;
  }
  if (row > 0) return MoveTo(row - 1, column) ? 0 : TSERR_LOCKFAILED;
  int previous = StepColumn(column, -1);
  if (previous != column && column != first)
    return MoveTo(record->rowCount - 1, previous) ? 0 : TSERR_LOCKFAILED;
  return 0;
}
