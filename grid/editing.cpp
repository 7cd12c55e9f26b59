/*
** In-cell editing. The editor is made read-only where the cell cannot be edited: hiding
** the caret would not keep a Qt edit from taking keys. Ending is re-entrant-safe: the
** editing flag is cleared first, and every notification is followed by a check that the
** grid still holds its record and the cell still exists.
*/
#include "grid/editing.h"

#include "grid/attributes.h"
#include "grid/layout.h"
#include "grid/library_state.h"
#include "grid/navigation.h"
#include "grid/record_blocks.h"
#include "grid/rows.h"
#include "grid/sorting.h"
#include "grid/tessel.h"
#include "grid/type_table.h"
#include "grid/values.h"
#include "platform/kernel/string_calls.h"

#include <algorithm>
#include <cstring>
#include <vector>

EditorSession gEditor;

GridScope::GridScope(HWND grid)
    : callerGrid_(gCurrentGrid), callerStyle_(gCurrentStyle), locked_(false) {
  gCurrentGrid = grid;
  gCurrentStyle = grid ? static_cast<DWORD>(GetWindowLongPtr(grid, GWL_STYLE)) : 0;
  locked_ = grid && IsWindow(grid) && LockTessel(grid);
}

GridScope::~GridScope() {
  if (locked_) UnlockTessel();
  gCurrentGrid = callerGrid_;
  gCurrentStyle = callerGrid_ ? static_cast<DWORD>(GetWindowLongPtr(callerGrid_, GWL_STYLE)) : 0;
}

namespace {

constexpr int kListButtonWidth = 14;

bool CellCanBeEdited(int column) {
  uint16_t flags = gLockedColumns[column].flags;
  if (flags & (TSCS_HIDDEN | TSCS_PROTECT)) return false;
  return (flags & TSCS_EDIT) || (gCurrentStyle & TSS_EDIT);
}

bool TextType(uint16_t type) {
  return type == TST_ZSTRING || type == TST_SQLCHAR || type == TST_SQLVARCHAR;
}

/* EM_LIMITTEXT's value: the type's limit; -1 marks a text column too short to hold any
   character, whose editor is then read-only (a limit of 0 would mean no limit). */
int EditLimit(const TesselColumn& column) {
  const TesselTypeInfo* info = FindTesselType(column.type);
  if (!info) return 0;
  if (info->editLimit == -1 || TextType(column.type)) {
    int limit = static_cast<int>(column.length) - 1;
    return limit > 0 ? limit : -1;
  }
  return info->editLimit;
}

std::string StartText(int row, int column) {
  const TesselColumn& definition = gLockedColumns[column];
  uint8_t* address = RowAddress(row);
  if (!address) return "";
  std::vector<char> text(TS_MAXTEXT, '\0');
  FormatData(nullptr, text.data(),
             StandardPicture(ColumnString(column, kFormatString), definition.type),
             address + definition.valueOffset, definition.type, definition.length, 0, 0);
  return text.data();
}

/* The editor's rectangle: the cell's, kept inside the client area. */
RECT EditorRect(int row, int column) {
  RECT cell{};
  CellRect(row, column, false, &cell);
  TesselRecord* record = gLockedRecord;
  cell.right = std::min<LONG>(cell.right, record->clientWidth);
  cell.bottom = std::min<LONG>(cell.bottom, record->clientHeight);
  return cell;
}

DWORD EditorStyle(int column, bool readOnly) {
  const TesselColumn& definition = gLockedColumns[column];
  DWORD style = definition.editStyle | WS_CHILD | ES_AUTOHSCROLL;
  if (definition.flags & TSCS_RIGHT) style |= ES_RIGHT;
  else if (definition.flags & TSCS_CENTER) style |= ES_CENTER;
  if (readOnly) style |= ES_READONLY;
  return style;
}

void ApplyEditorFont(HWND editor, int row, int column) {
  const LOGFONT* own = ResolveCellFont(row, column);
  gEditor.ownFont = own ? CreateFontIndirect(own) : nullptr;
  HFONT font = gEditor.ownFont ? gEditor.ownFont : gLockedRecord->font;
  if (font) SendMessage(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

/* Ends an editor another grid holds, storing, so one editor serves the whole library. */
bool EndForeignEditor() {
  if (!gEditor.editor || gEditor.grid == gCurrentGrid) return true;
  HGLOBAL handle = gLockedHandle;
  HWND other = gEditor.grid;
  if (IsWindow(other)) SendMessage(other, TSM_EDIT, 2, 0);
  if (gEditor.grid == other) gEditor = EditorSession{};  // that grid could not end it
  return GridStillLocked(handle);
}

/* The substitute text typed (in any case) only marks the cell; anything else is stored. */
bool StoreEditorText(HWND editor) {
  TesselRecord* record = gLockedRecord;
  int row = record->currentRow, column = record->currentColumn;
  if (column >= record->columnCount || row < 0 || row >= record->rowCount || !RowAddress(row))
    return false;
  char text[1024] = "";
  GetWindowText(editor, text, sizeof text);
  int savedRow = record->cursorRow, savedColumn = record->cursorColumn;
  record->cursorRow = row;
  record->cursorColumn = static_cast<uint16_t>(column);
  bool substitute = record->substituteText[0] != '\0';
  uint16_t word = CellAttributeWord(row, column);
  if (substitute && lstrcmpi(text, record->substituteText) == 0) {
    SendMessage(gCurrentGrid, TSM_SETCELLATTR, 0, word | 1);
  } else {
    if (substitute && (word & 1)) SendMessage(gCurrentGrid, TSM_SETCELLATTR, 0, word & ~1);
    const TesselColumn& definition = gLockedColumns[column];
    if (uint8_t* address = RowAddress(row))
      GetCellData(address + definition.valueOffset, text, ColumnString(column, kFormatString),
                  definition.length, definition.type);
  }
  if (gLockedRecord) {
    gLockedRecord->cursorRow = savedRow;
    gLockedRecord->cursorColumn = static_cast<uint16_t>(savedColumn);
  }
  return true;
}

void InvalidateEditedCells(int row, int column) {
  for (int r = row; r <= row + 1; ++r) {
    RECT cell{};
    if (CellRect(r, column, false, &cell) != 0) continue;
    cell.right += 1;
    cell.bottom += 1;
    InvalidateRect(gCurrentGrid, &cell, FALSE);
  }
}

LRESULT EditKeyMessage(UINT message, WPARAM which, LPARAM key) {
  uint32_t* keys = gLockedRecord->editKeys;
  if (message == TSM_GETEDITKEY) {
    if (which == 66) return static_cast<LRESULT>((keys[1] & 0xFFFF) | ((keys[2] & 0xFFFF) << 16));
    if (which < 1 || which > 3) return -1;
    return keys[which - 1];
  }
  if (which < 1 || which > 3) return -1;
  uint32_t code = static_cast<uint32_t>(key);
  for (int k = 0; k < 3; ++k)
    if (code != 0 && k != static_cast<int>(which) - 1 && keys[k] == code) return -1;
  keys[which - 1] = code;
  return 0;
}

}  // namespace

bool ColumnHasListItems(int column) { return *ColumnString(column, kListItemsString) != '\0'; }

bool ColumnOpensEditor(int column) {
  if (column < 0 || column >= gLockedRecord->columnCount) return false;
  const TesselColumn& definition = gLockedColumns[column];
  if (definition.type == TST_CHECKBOX || (definition.flags & TSCS_HIDDEN)) return false;
  return CellCanBeEdited(column) || ColumnHasListItems(column);
}

int BeginCellEdit() {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  int column = record->currentColumn;
  if (column >= record->columnCount) return TSERR_BADCOL;
  const TesselColumn& definition = gLockedColumns[column];
  if ((definition.flags & TSCS_HIDDEN) || definition.type == TST_CHECKBOX) return -1;
  if (record->editing) return 0;
  if (!EndForeignEditor()) return TSERR_LOCKFAILED;
  int ensured = EnsureVisible(gLockedRecord->currentRow, column);
  if (ensured < 0) return ensured;
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  UpdateWindow(gCurrentGrid);
  int row = record->currentRow;
  if (!RowAddress(row)) return TSERR_LOCKFAILED;
  RECT rect = EditorRect(row, column);
  ResolveCellColors(row, column, false, &record->editorText, &record->editorBackground);
  bool combo = ColumnHasListItems(column);
  bool editable = CellCanBeEdited(column);
  int limit = EditLimit(gLockedColumns[column]);
  // A protected list column is still a pick list; every other cell that cannot be edited
  // shows its text read-only.
  bool readOnly = combo ? false : (!editable || limit < 0);
  uint16_t flags = gLockedColumns[column].flags;
  gEditor = EditorSession{};
  gEditor.grid = gCurrentGrid;
  gEditor.column = column;
  gEditor.combo = combo;
  gEditor.typing = !(flags & TSCS_PROTECT) && ((flags & TSCS_EDIT) || (gCurrentStyle & TSS_EDIT));
  gEditor.startText = StartText(row, column);
  int width = rect.right - rect.left - (combo ? kListButtonWidth : 0);
  HWND editor = CreateWindow(combo ? "tsComboBox" : "tsedit", gEditor.startText.c_str(),
                             EditorStyle(column, readOnly), rect.left, rect.top, std::max(1, width),
                             std::max<LONG>(1, rect.bottom - rect.top), gCurrentGrid, nullptr,
                             gTesselModule, nullptr);
  if (!editor) {
    gEditor = EditorSession{};
    return TSERR_NOMEMORY;
  }
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  record = gLockedRecord;
  record->editorBrush = CreateSolidBrush(record->editorBackground);
  gEditor.editor = editor;
  record->editing = 1;
  record->editorWindow = editor;
  ApplyEditorFont(editor, row, column);
  if (limit > 0) SendMessage(editor, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
  SendMessage(editor, EM_SETSEL, 0, 32767);
  record->notificationsOn = 0;
  InvalidateRect(gCurrentGrid, nullptr, FALSE);
  UpdateWindow(gCurrentGrid);
  ShowWindow(editor, SW_SHOW);
  SetFocus(editor);
  if (!GridStillLocked(handle)) return TSERR_LOCKFAILED;
  gLockedRecord->notificationsOn = 1;
  NotifyParentAt(TSN_BEGINEDIT, row, column);
  return 0;
}

int EndCellEdit(bool store) {
  TesselRecord* record = gLockedRecord;
  HGLOBAL handle = gLockedHandle;
  if (!record->editing) return 0;
  record->editing = 0;
  HWND editor = record->editorWindow;
  // A handler of TSN_EDITSTORING may reset the grid or delete the row: then nothing is
  // stored, the editor still goes, and no end is announced.
  bool cellGone = false;
  if (store) {
    NotifyParentAt(TSN_EDITSTORING, record->currentRow, record->currentColumn);
    if (!GridStillLocked(handle)) return 0;
    cellGone = !(IsWindow(editor) && StoreEditorText(editor));
    if (!GridStillLocked(handle)) return 0;
  }
  record = gLockedRecord;
  record->notificationsOn = 0;
  HFONT ownFont = gEditor.ownFont;
  HWND list = gEditor.editor == editor ? gEditor.list : nullptr;
  record->editorWindow = nullptr;
  if (IsWindow(editor)) DestroyWindow(editor);
  if (list && IsWindow(list)) DestroyWindow(list);
  if (gEditor.editor == editor) gEditor = EditorSession{};
  if (!GridStillLocked(handle)) return 0;
  record = gLockedRecord;
  if (record->editorBrush) DeleteObject(record->editorBrush);
  record->editorBrush = nullptr;
  if (ownFont && ownFont != record->font) DeleteObject(ownFont);
  int column = record->currentColumn;
  if (store && !cellGone && column < record->columnCount && record->currentRow < record->rowCount &&
      SortKeyOneSet() && IsSortKeyColumn(column))
    PutRowAtSortedPlace(record->currentRow);
  SetFocus(gCurrentGrid);
  if (!GridStillLocked(handle)) return 0;
  record = gLockedRecord;
  record->notificationsOn = 1;
  if (cellGone) return 0;
  InvalidateEditedCells(record->currentRow, record->currentColumn);
  NotifyParentAt(store ? TSN_EDITSTORED : TSN_EDITCANCELLED, record->currentRow,
                 record->currentColumn);
  return 0;
}

void ToggleCheckBox(int row, int column) {
  HGLOBAL handle = gLockedHandle;
  NotifyParentAt(TSN_BEGINEDIT, row, column);
  if (!GridStillLocked(handle)) return;
  NotifyParentAt(TSN_EDITSTORING, row, column);
  if (!GridStillLocked(handle)) return;
  TesselRecord* record = gLockedRecord;
  if (column >= record->columnCount || gLockedColumns[column].type != TST_CHECKBOX) return;
  uint8_t* address = RowAddress(row);
  if (!address) return;
  uint8_t* value = address + gLockedColumns[column].valueOffset;
  int32_t state = 0;
  std::memcpy(&state, value, sizeof state);
  state = state == 0 ? 1 : 0;
  std::memcpy(value, &state, sizeof state);
  InvalidateGridCell(row, column);
  NotifyParentAt(TSN_EDITSTORED, row, column);
}

bool EditListShownAt(int row, int column) {
  return gEditor.grid == gCurrentGrid && gEditor.listShown && gEditor.column == column &&
         gLockedRecord->currentRow == row;
}

void ToggleEditList() {
  if (!gEditor.combo || !gEditor.list || gEditor.grid != gCurrentGrid) return;
  HGLOBAL handle = gLockedHandle;
  HWND grid = gCurrentGrid;
  if (gEditor.listShown) {
    ShowWindow(gEditor.list, SW_HIDE);
    gEditor.listShown = false;
    NotifyParentAt(TSN_LISTCLOSED, gLockedRecord->currentRow, gLockedRecord->currentColumn);
  } else {
    RECT editor{};
    GetWindowRect(gEditor.editor, &editor);
    RECT list{};
    GetWindowRect(gEditor.list, &list);
    SetWindowPos(gEditor.list, HWND_TOPMOST, editor.left, editor.bottom + 1, list.right - list.left,
                 list.bottom - list.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    gEditor.listShown = true;
    NotifyParentAt(TSN_LISTDROPPED, gLockedRecord->currentRow, gLockedRecord->currentColumn);
  }
  if (!GridStillLocked(handle)) return;
  // The list button is the grid's own 14-pixel strip at the cell's right edge.
  RECT cell{};
  if (CellRect(gLockedRecord->currentRow, gLockedRecord->currentColumn, false, &cell) == 0) {
    RECT strip{cell.right - kListButtonWidth, cell.top, cell.right + 1, cell.bottom + 1};
    InvalidateRect(grid, &strip, FALSE);
    UpdateWindow(grid);
  }
}

LRESULT EditorColors(HDC dc) {
  TesselRecord* record = gLockedRecord;
  SetTextColor(dc, record->editorText);
  SetBkColor(dc, record->editorBackground);
  return reinterpret_cast<LRESULT>(record->editorBrush);
}

LRESULT OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TesselRecord* record = gLockedRecord;
  switch (message) {
    case TSM_GETEDITKEY:
    case TSM_SETEDITKEY: return EditKeyMessage(message, wParam, lParam);
    case TSM_EDIT:
      switch (wParam) {
        case 0: return record->editing ? 1 : 0;
        case 1: return BeginCellEdit();
        case 2: return EndCellEdit(true);
        case 3: return EndCellEdit(false);
        default: return -1;
      }
    case TSM_GETEDITWND:
      return record->editing ? reinterpret_cast<LRESULT>(record->editorWindow) : 0;
    case TSM_GETEDITSEL:
      return record->editing ? SendMessage(record->editorWindow, EM_GETSEL, wParam, lParam) : -1;
    case TSM_SETEDITSEL:
      if (!record->editing) return -1;
      SendMessage(record->editorWindow, EM_SETSEL, wParam, lParam);
      return 0;
    case TSM_GETEDITBASEPROC:
      return record->editing ? reinterpret_cast<LRESULT>(gEditClassProc) : 0;
    case TSM_DROPEDITLIST:
      if (!record->editing || !gEditor.combo || gEditor.grid != gCurrentGrid) return 0;
      return SendMessage(record->editorWindow, WM_USER + 101, 0, 0);
    case TSM_GETCLICKENDSEDIT: return (record->exStyle & TSXS_CLICKENDSEDIT) ? 1 : 0;
    case TSM_SETCLICKENDSEDIT:
      if (wParam) record->exStyle |= TSXS_CLICKENDSEDIT;
      else record->exStyle &= ~static_cast<uint32_t>(TSXS_CLICKENDSEDIT);
      return 0;
    default: return TSERR_BADMESSAGE;
  }
}
