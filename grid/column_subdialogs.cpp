/*
** The sub-dialogs of Column Setup that restructure the grid: Insert, Copy, Move and Delete
** Columns. Each checks its numbers, changes the grid with redrawing off, and reports a
** refused change; the columns done before it stay.
*/
#include "grid/column_setup.h"

#include "grid/design_exports.h"
#include "grid/design_help.h"
#include "grid/tessel_codes.h"

namespace {

enum {
  kFirst = 101,
  kSecond = 102,
  kBeforeNumber = 103,
  kBefore = 104,
  kAfterLast = 105,
  kCount = 131,
  kHelp = 998
};
const WORD kAppend = 0xFFFE;

ColumnSetupState* StateOf(HWND dialog) {
  return reinterpret_cast<ColumnSetupState*>(GetWindowLongPtr(dialog, DWLP_USER));
}
void Enable(HWND dialog, int id, bool on) { EnableWindow(GetDlgItem(dialog, id), on); }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

/* Stores the state; false (dialog ended) for the dialogs that need columns and find none. */
bool Begin(HWND dialog, LPARAM state, bool needsColumns) {
  SetWindowLongPtr(dialog, DWLP_USER, state);
  if (needsColumns && StateOf(dialog)->count == 0) {
    EndDialog(dialog, 0);
    return false;
  }
  return true;
}

void ChooseDestination(HWND dialog, int id) { CheckRadioButton(dialog, kBefore, kAfterLast, id); }

/* The destination as a 0-based position, kAppend after the last column; false when the
   typed column is out of range. */
bool Destination(HWND dialog, int count, WORD* position) {
  if (count == 0 || Checked(dialog, kAfterLast)) {
    *position = kAppend;
    return true;
  }
  int before = 0;
  if (!ReadRangedField(dialog, kBeforeNumber, "Target Column", 1, count, &before)) return false;
  *position = static_cast<WORD>(before - 1);
  return true;
}

/* Common commands: Help, Cancel, the destination radio buttons. True when handled. */
bool CommonCommand(HWND dialog, int id, const char* keyword) {
  switch (id) {
    case IDCANCEL: EndDialog(dialog, 0); return true;
    case kHelp: OpenTesselHelp(dialog, keyword); return true;
    case kBefore:
    case kAfterLast: ChooseDestination(dialog, id); return true;
    default: return false;
  }
}

void InsertOk(HWND dialog) {
  ColumnSetupState* state = StateOf(dialog);
  int count = state->count, number = 0;
  if (!ReadRangedField(dialog, kCount, "Number of Columns", 0, 0xFFFF, &number)) return;
  if (number == 0) {
    EndDialog(dialog, 0);
    return;
  }
  WORD position = 0;
  if (!Destination(dialog, count, &position)) return;
  GridRedraw(state->grid, false);
  bool failed = false;
  for (int i = 0; i < number && !failed; ++i) {
    int column = position == kAppend ? count + i : position;
    failed =
        SendMessage(state->grid, TSM_INSERTBLANKCOL, static_cast<WPARAM>(column), 0) < 0 ||
        SendMessage(state->grid, TSM_SETCOLWIDTH, static_cast<WPARAM>(column), 40) < 0 ||
        SendMessage(state->grid, TSM_SETEDITSTYLE, static_cast<WPARAM>(column), ES_AUTOHSCROLL) < 0;
  }
  GridRedraw(state->grid, true);
  if (failed) return ShowDialogFailure(dialog, "Can't insert columns");
  EndDialog(dialog, 1);
}

void CopyOk(HWND dialog) {
  ColumnSetupState* state = StateOf(dialog);
  int count = state->count, source = 0, copies = 0;
  if (!ReadRangedField(dialog, kCount, "Copies", 0, 0xFFFF, &copies)) return;
  if (copies == 0) {
    EndDialog(dialog, 0);
    return;
  }
  if (!ReadRangedField(dialog, kFirst, "Source Column", 1, count, &source)) return;
  WORD position = 0;
  if (!Destination(dialog, count, &position)) return;
  // Copies before the source push it right one place each; the cursor is put on it anew
  // before every copy, as the cursor's own advance is taken before the insertion and would
  // run off the last column.
  bool before = position != kAppend && position < source - 1;
  GridRedraw(state->grid, false);
  bool failed = false;
  for (int i = 0; i < copies && !failed; ++i) {
    SendMessage(state->grid, TSM_SETCURSOR, static_cast<WPARAM>(source - 1 + (before ? i : 0)), 0);
    failed = SendMessage(state->grid, TSM_COPYCOL, TSREF_CURSOR, position) < 0;
  }
  GridRedraw(state->grid, true);
  if (failed) return ShowDialogFailure(dialog, "Can't copy column");
  EndDialog(dialog, 1);
}

void MoveOk(HWND dialog) {
  ColumnSetupState* state = StateOf(dialog);
  int count = state->count, start = 0, end = 0;
  if (!ReadRangedField(dialog, kFirst, "Starting Column", 1, count, &start)) return;
  if (!ReadRangedField(dialog, kSecond, "Ending Column", start, count, &end)) return;
  WORD position = 0;
  if (!Destination(dialog, count, &position)) return;
  if (position != kAppend && position + 1 > start && position + 1 <= end)
    return ShowDialogFailure(dialog, "Ending Column must be outside of the range");
  bool before = position != kAppend && position + 1 <= start;
  SendMessage(state->grid, TSM_SETCURSOR, static_cast<WPARAM>(start - 1), 0);
  GridRedraw(state->grid, false);
  bool failed = false;
  for (int c = start; c <= end && !failed; ++c) {
    failed = SendMessage(state->grid, TSM_MOVECOL, TSREF_CURSOR | (before ? TSREF_FORWARD : 0),
                         position) < 0;
    if (before) ++position;
  }
  GridRedraw(state->grid, true);
  if (failed) return ShowDialogFailure(dialog, "Can't move columns");
  EndDialog(dialog, 1);
}

void DeleteOk(HWND dialog) {
  ColumnSetupState* state = StateOf(dialog);
  int count = state->count, start = 0, end = 0;
  if (!ReadRangedField(dialog, kFirst, "Starting Column", 1, count, &start)) return;
  if (!ReadRangedField(dialog, kSecond, "Ending Column", start, count, &end)) return;
  SendMessage(state->grid, TSM_SETCURSOR, static_cast<WPARAM>(start - 1), 0);
  GridRedraw(state->grid, false);
  bool failed = false;
  for (int c = start; c <= end && !failed; ++c)
    failed = SendMessage(state->grid, TSM_DELETECOL, TSREF_CURSOR, 0) < 0;
  GridRedraw(state->grid, true);
  if (failed) return ShowDialogFailure(dialog, "Can't delete columns");
  EndDialog(dialog, 1);
}

void FocusAndSelect(HWND dialog, int id) {
  HWND field = GetDlgItem(dialog, id);
  SetFocus(field);
  SendMessage(field, EM_SETSEL, 0, -1);
}

}  // namespace

extern "C" INT_PTR ColInsertDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Begin(dialog, lParam, false);
    ColumnSetupState* state = StateOf(dialog);
    SetDlgItemInt(dialog, kCount, 1, FALSE);
    SetDlgItemInt(dialog, kBeforeNumber, state->current, FALSE);
    ChooseDestination(dialog, state->count ? kBefore : kAfterLast);
    for (int id : {kBefore, kBeforeNumber, kAfterLast}) Enable(dialog, id, state->count > 0);
    FocusAndSelect(dialog, state->count ? kBeforeNumber : kCount);
    return FALSE;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  if (LOWORD(wParam) == IDOK) InsertOk(dialog);
  else CommonCommand(dialog, LOWORD(wParam), "Inserting Columns at Design Time");
  return TRUE;
}

extern "C" INT_PTR ColCopyDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    if (!Begin(dialog, lParam, true)) return TRUE;
    ColumnSetupState* state = StateOf(dialog);
    SetDlgItemInt(dialog, kFirst, state->current, FALSE);
    SetDlgItemInt(dialog, kCount, 1, FALSE);
    SetDlgItemInt(dialog, kBeforeNumber, 1, FALSE);
    ChooseDestination(dialog, kBefore);
    if (state->count == 1)
      for (int id : {kFirst, kBeforeNumber}) Enable(dialog, id, false);
    return TRUE;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  if (LOWORD(wParam) == IDOK) CopyOk(dialog);
  else CommonCommand(dialog, LOWORD(wParam), "Copying Columns at Design time");
  return TRUE;
}

extern "C" INT_PTR ColMoveDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    if (!Begin(dialog, lParam, true)) return TRUE;
    ColumnSetupState* state = StateOf(dialog);
    SetDlgItemInt(dialog, kFirst, state->current, FALSE);
    SetDlgItemInt(dialog, kSecond, state->current, FALSE);
    SetDlgItemInt(dialog, kBeforeNumber, 1, FALSE);
    ChooseDestination(dialog, kBefore);
    if (state->count == 1)
      for (int id : {kFirst, kSecond, kBeforeNumber}) Enable(dialog, id, false);
    return TRUE;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  if (LOWORD(wParam) == IDOK) MoveOk(dialog);
  else CommonCommand(dialog, LOWORD(wParam), "Moving Columns at Design time");
  return TRUE;
}

extern "C" INT_PTR ColDeleteDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    if (!Begin(dialog, lParam, true)) return TRUE;
    ColumnSetupState* state = StateOf(dialog);
    SetDlgItemInt(dialog, kFirst, state->current, FALSE);
    SetDlgItemInt(dialog, kSecond, state->current, FALSE);
    if (state->count == 1)
      for (int id : {kFirst, kSecond}) Enable(dialog, id, false);
    return TRUE;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  if (LOWORD(wParam) == IDOK) DeleteOk(dialog);
  else CommonCommand(dialog, LOWORD(wParam), "Deleting Columns at Design Time");
  return TRUE;
}
