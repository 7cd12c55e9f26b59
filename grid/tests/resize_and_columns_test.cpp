// Resizing columns and rows by mouse, and selecting columns: cursors over edges, widths in
// whole dialog units worked out from the dialog base unit, the pointer freed however a
// resize ends, a zero-width column widened again, and the column selection messages.
#include "grid/tests/grid_fixture.h"

#include "platform/testing/synthetic_input.h"

#include <vector>

namespace {

class GridResize : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    unit_ = LOWORD(GetDialogBaseUnits());
  }
  HWND ResizeGrid(DWORD style = 0) {
    HWND grid = MakeGrid(TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | style, 400, 200);
    Send(grid, TSM_SETCOLCOUNT, 4);
    Send(grid, TSM_SETCOLSTYLE, 0, TSCS_RESIZE);
    Send(grid, TSM_SETCOLSTYLE, 1, TSCS_FIXED);
    Send(grid, TSM_SETCOLSTYLE, 2, TSCS_RESIZE);
    Send(grid, TSM_SETCOLSTYLE, 3, TSCS_RESIZE);
    for (int c = 0; c < 4; ++c) Send(grid, TSM_SETCOLWIDTH, c, 40);
    std::vector<char> row(4096, 0);
    for (int r = 0; r < 5; ++r) Append(grid, row.data());
    UpdateWindow(grid);
    return grid;
  }
  int Px(int units) const { return units * unit_ / 4; }
  static bool PointerFree() {
    RECT clip{};
    GetClipCursor(&clip);
    return clip.left == 0 && clip.top == 0 && clip.right == GetSystemMetrics(SM_CXSCREEN) &&
           clip.bottom == GetSystemMetrics(SM_CYSCREEN);
  }
  int unit_ = 8;
};

}  // namespace

TEST_F(GridResize, EdgesShowTheResizeCursorAndADragGivesWholeDialogUnits) {
  HWND grid = ResizeGrid();
  NotificationRecorder recorder(parent_);
  int heading = static_cast<int>(Send(grid, TSM_GETMETRIC, 3));
  int y = heading / 2;
  int edge0 = Px(40), edge1 = 2 * Px(40);
  MouseMove(grid, edge0, y);
  EXPECT_EQ(GetCursor(), LoadCursor(library_, "ColResizeCursor"));
  MouseMove(grid, edge1, y);  // column 1 is fixed
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
  // Press on column 0's edge, release 119 pixels from its left edge: 59.5 units, cut to 59.
  MouseDown(grid, edge0, y);
  EXPECT_EQ(GetCapture(), grid);
  EXPECT_FALSE(PointerFree());
  MouseMove(grid, 119, y, Qt::LeftButton);
  MouseUp(grid, 119, y);
  EXPECT_EQ(Send(grid, TSM_GETCOLWIDTH, 0), 119 * 4 / unit_);
  EXPECT_EQ(recorder.Count(TSN_COLWIDTHCHANGED), 1);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(PointerFree());
}

TEST_F(GridResize, FocusLossMidDragFreesThePointerAndZeroWidthColumnsWidenAgain) {
  HWND grid = ResizeGrid();
  HWND other = CreateWindow("button", "Other", WS_CHILD | WS_VISIBLE, 450, 10, 80, 24, parent_,
                            nullptr, nullptr, nullptr);
  int y = static_cast<int>(Send(grid, TSM_GETMETRIC, 3)) / 2;
  int edge2 = 3 * Px(40);
  SetFocus(grid);
  MouseDown(grid, edge2, y);
  ASSERT_EQ(GetCapture(), grid);
  MouseMove(grid, edge2 + 9, y, Qt::LeftButton);
  SetFocus(other);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(PointerFree());
  EXPECT_EQ(Send(grid, TSM_GETCOLWIDTH, 2), 40);  // an abandoned resize changes nothing
  // Column 2 dragged down to nothing: its edge now meets column 1's, and the press just
  // right of that shared edge takes column 2 again.
  int left2 = 2 * Px(40);
  Send(grid, TSM_SETCOLSTYLE, 1, TSCS_RESIZE);  // both columns at the shared edge resizable
  MouseDown(grid, edge2, y);
  MouseMove(grid, left2, y, Qt::LeftButton);
  MouseUp(grid, left2, y);
  ASSERT_EQ(Send(grid, TSM_GETCOLWIDTH, 2), 0);
  NotificationRecorder recorder(parent_);
  MouseDown(grid, left2, y);  // the notify column of the press: the zero-width column
  MouseUp(grid, left2, y);
  EXPECT_EQ(Send(grid, TSM_GETNOTIFYCOL), 2);
  EXPECT_EQ(Send(grid, TSM_GETNOTIFYAREA), TSHT_COLRESIZE);
  MouseDown(grid, left2 - 1, y);  // left of the edge it is column 1's
  MouseUp(grid, left2 - 1, y);
  EXPECT_EQ(Send(grid, TSM_GETNOTIFYCOL), 1);
  EXPECT_EQ(Send(grid, TSM_GETCOLWIDTH, 1), 40);
  MouseMove(grid, left2, y);
  EXPECT_EQ(GetCursor(), LoadCursor(library_, "ColResizeCursor"));
  MouseDown(grid, left2, y);
  MouseMove(grid, left2 + Px(12), y, Qt::LeftButton);
  MouseUp(grid, left2 + Px(12), y);
  EXPECT_EQ(Send(grid, TSM_GETCOLWIDTH, 2), 12);
  EXPECT_EQ(Send(grid, TSM_GETCOLWIDTH, 1), 40);
  // Cancel mode ends a resize the same way.
  MouseDown(grid, left2 + Px(12), y);
  SendMessage(grid, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(PointerFree());
  // A click without a move on a zero-width column's edge, one pixel right of it (half a unit,
  // which a press rounds up), leaves the column as it was.
  Send(grid, TSM_SETCOLWIDTH, 2, 0);
  Send(grid, TSM_SETCOLSTYLE, 1, TSCS_FIXED);
  MouseDown(grid, left2 + 1, y);
  MouseUp(grid, left2 + 1, y);
  EXPECT_EQ(Send(grid, TSM_GETCOLWIDTH, 2), 0);
}

TEST_F(GridResize, RowResizeSetsTheRowHeight) {
  HWND grid = ResizeGrid();
  Send(grid, TSM_SETEXSTYLE, 0, TSXS_ROWRESIZE);
  int heading = static_cast<int>(Send(grid, TSM_GETMETRIC, 3));
  int rowHeight = static_cast<int>(Send(grid, TSM_GETMETRIC, 1));
  int unitY = HIWORD(GetDialogBaseUnits());
  int top1 = heading + rowHeight;  // row 1's top: row 0's bottom edge
  int bottom1 = top1 + rowHeight;
  int x = Px(40) / 2;
  MouseMove(grid, x, bottom1);
  EXPECT_EQ(GetCursor(), LoadCursor(library_, "RowResizeCursor"));
  MouseDown(grid, x, bottom1);
  MouseMove(grid, x, bottom1 + 11, Qt::LeftButton);
  MouseUp(grid, x, bottom1 + 11);
  // The line stands on whole eighths of the vertical unit below the row's top.
  int line = top1 + ((bottom1 + 11 - top1) * 8 + unitY / 2) / unitY * unitY / 8;
  Send(grid, TSM_SETCURSOR, 0, 1);
  EXPECT_EQ(Send(grid, TSM_GETROWHEIGHT, 0), line - top1);
  EXPECT_TRUE(PointerFree());
}

TEST_F(GridResize, ColumnSelectionByMessagesClicksAndCopy) {
  HWND multi = ResizeGrid(TSS_MULTICOL);
  NotificationRecorder recorder(parent_);
  EXPECT_EQ(Send(multi, TSM_GETSELCOLCOUNT), 0);
  EXPECT_EQ(Send(multi, TSM_GETFIRSTSELCOL), TSERR_BADCOL);
  Send(multi, TSM_SELECTCOL, 1, 1);
  Send(multi, TSM_SELECTCOLRANGE, 3, 1);
  EXPECT_EQ(Send(multi, TSM_GETSELCOLCOUNT), 3);
  EXPECT_EQ(recorder.Count(TSN_SELCHANGED), 2);
  recorder.Clear();
  Send(multi, TSM_SELECTCOL, 2, 1);  // already selected: nothing sent
  EXPECT_EQ(recorder.Count(TSN_SELCHANGED), 0);
  uint16_t columns[4] = {};
  EXPECT_EQ(Send(multi, TSM_GETSELCOLS, 0, 0), TSERR_NULLPTR);
  Send(multi, TSM_GETSELCOLS, 0, reinterpret_cast<LPARAM>(columns));
  EXPECT_EQ(columns[0], 1);
  EXPECT_EQ(columns[2], 3);
  EXPECT_EQ(Send(multi, TSM_GETFIRSTSELCOL), 1);
  EXPECT_EQ(Send(multi, TSM_GETNEXTSELCOL, 3), TSERR_NONE);
  EXPECT_EQ(Send(multi, TSM_ISCOLSELECTED, 9), TSERR_BADCOL);
  EXPECT_EQ(Send(multi, TSM_GETSELCOL), TSERR_STATE);
  // A heading click toggles in multiple style.
  int y = static_cast<int>(Send(multi, TSM_GETMETRIC, 3)) / 2;
  Click(multi, Px(40) / 2, y);
  EXPECT_EQ(Send(multi, TSM_ISCOLSELECTED, 0), 1);
  Click(multi, Px(40) / 2, y);
  EXPECT_EQ(Send(multi, TSM_ISCOLSELECTED, 0), 0);
  // Shift+Right carries the column's state onto the next one.
  Send(multi, TSM_SELECTCOL, 0, 1);
  SetFocus(multi);
  Send(multi, TSM_SETCURCELL, 0, 0);
  Send(multi, TSM_SELECTCOL, 1, 0);
  PressKey(VK_RIGHT, Qt::ShiftModifier);
  EXPECT_EQ(Send(multi, TSM_GETCURCOL), 1);
  EXPECT_EQ(Send(multi, TSM_ISCOLSELECTED, 1), 1);
  // A row style has no column selection.
  HWND rows = MakeGrid(TSS_OWNERDEF | TSS_ROWSELECT, 200, 100, 201);
  Send(rows, TSM_SETCOLCOUNT, 2);
  EXPECT_EQ(Send(rows, TSM_SELECTCOL, 0, 1), TSERR_STATE);
  EXPECT_EQ(Send(rows, TSM_GETSELCOLCOUNT), TSERR_STATE);
  EXPECT_EQ(Send(rows, TSM_ISROWSELECTED, 0, 7), TSERR_BADROW);
}
