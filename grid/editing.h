/*
** In-cell editing: one editor window per library laid over a grid's current cell, the
** messages that begin, end and query it, storing its text, and the check-box toggle that
** takes an editor's place on check-box columns.
*/
#ifndef ZARNE_GRID_EDITING_H
#define ZARNE_GRID_EDITING_H

#include "grid/tessel_lock.h"

#include <string>

/* The library's one editor. typing is false for a pick list (a list column that cannot be
   typed into). */
struct EditorSession {
  HWND grid = nullptr;
  HWND editor = nullptr;
  int column = -1;
  bool combo = false;
  bool typing = true;
  HWND list = nullptr;
  WNDPROC listBaseProc = nullptr;
  bool listShown = false;
  bool listDragging = false;
  HFONT ownFont = nullptr;
  std::string startText;
};
// Owner: grid.
extern EditorSession gEditor;

/* Begins editing the current cell of the locked grid: 0, or -1, -4, -5, -21, -22, -28. */
int BeginCellEdit();
/* Ends editing (storing the text first when store); 0. */
int EndCellEdit(bool store);
/* Flips an editable check-box cell with its notifications. */
void ToggleCheckBox(int row, int column);
/* Whether an editor may be opened on the column at all (F2, typing, clicks). */
bool ColumnOpensEditor(int column);
/* Whether the column's editor is a combo editor (it has list items). */
bool ColumnHasListItems(int column);
/* Whether the grid's combo editor on that cell shows its list (the cell's list button is
   then drawn pressed). */
bool EditListShownAt(int row, int column);
/* Shows or hides the combo editor's list. */
void ToggleEditList();
/* The answer of WM_CTLCOLOREDIT and WM_CTLCOLORLISTBOX while an editor is open. */
LRESULT EditorColors(HDC dc);
LRESULT OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam);

/* The grid's record locked for the length of a scope, as its window procedure locks it,
   for the editor windows, which run outside the grid's own messages. */
class GridScope {
 public:
  explicit GridScope(HWND grid);
  ~GridScope();
  GridScope(const GridScope&) = delete;
  GridScope& operator=(const GridScope&) = delete;
  bool Locked() const { return locked_; }

 private:
  HWND callerGrid_;
  DWORD callerStyle_;
  bool locked_;
};

#endif
