// Selection with the dialogs' own handlers: a parent flipping the row of every cell click
// without Shift, as the posting and reconciliation dialogs do, sees each click flip the
// clicked row exactly once; a row-button drag carried below the bottom edge scrolls and
// extends; Space selects the current row of a single-selection grid.
#include "grid/tests/grid_fixture.h"

#include "platform/testing/synthetic_input.h"

namespace {

class GridSelectionHandlers : public GridTest {
 protected:
  HWND Rows(DWORD style, int count, int height = 200) {
    HWND grid = MakeGrid(TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | WS_VSCROLL | style, 300, height);
    Send(grid, TSM_SETCOLCOUNT, 2);
    Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
    Send(grid, TSM_SETCOLTYPE, 1, TST_INT4);
    for (int32_t r = 0; r < count; ++r) {
      int32_t values[2] = {r, r};
      Append(grid, values);
    }
    UpdateWindow(grid);
    return grid;
  }
};

}  // namespace

TEST_F(GridSelectionHandlers, PlainCtrlAndShiftClicksEachFlipTheRowOnce) {
  HWND grid = Rows(TSS_MULTIROW | TSS_ROWBUTTONS, 10);
  NotificationRecorder recorder(parent_);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.sender != grid || command.code != TSN_LBUTTONDOWN) return;
    if (Send(grid, TSM_GETNOTIFYAREA) != TSHT_CELL || (GetKeyState(VK_SHIFT) & 0x8000)) return;
    LRESULT row = Send(grid, TSM_GETNOTIFYROW);
    Send(grid, TSM_SELECTROW, Send(grid, TSM_ISROWSELECTED, 0, row) ? 0 : 1, row);
  });
  POINT two = CellCentre(grid, 2, 1), four = CellCentre(grid, 4, 1), six = CellCentre(grid, 6, 1);
  Click(grid, two.x, two.y);
  Click(grid, four.x, four.y, Qt::LeftButton, Qt::ControlModifier);
  Click(grid, six.x, six.y, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(Send(grid, TSM_ISROWSELECTED, 0, 2), 1);
  EXPECT_EQ(Send(grid, TSM_ISROWSELECTED, 0, 4), 1);
  EXPECT_EQ(Send(grid, TSM_ISROWSELECTED, 0, 6), 1);
  EXPECT_EQ(Send(grid, TSM_GETSELROWCOUNT), 3);
  Click(grid, two.x, two.y);
  Click(grid, four.x, four.y, Qt::LeftButton, Qt::ControlModifier);
  Click(grid, six.x, six.y, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(Send(grid, TSM_GETSELROWCOUNT), 0);
  // A flag set to what it already is sends nothing.
  recorder.OnCommand(nullptr);
  Send(grid, TSM_SELECTROW, 1, 3);
  recorder.Clear();
  Send(grid, TSM_SELECTROW, 1, 3);
  EXPECT_EQ(recorder.Count(TSN_SELCHANGED), 0);
}

TEST_F(GridSelectionHandlers, ADragBelowTheBottomEdgeScrollsAndExtends) {
  HWND grid = Rows(TSS_MULTIROW | TSS_ROWBUTTONS, 40, 150);
  int label = static_cast<int>(Send(grid, TSM_GETMETRIC, 4));
  RECT client{};
  GetClientRect(grid, &client);
  int heading = static_cast<int>(Send(grid, TSM_GETMETRIC, 3));
  int rowHeight = static_cast<int>(Send(grid, TSM_GETMETRIC, 1));
  int lastFull = (client.bottom - heading) / rowHeight - 1;
  POINT start = CellCentre(grid, lastFull - 1, 0);
  MouseDown(grid, label / 2, start.y);
  MouseMove(grid, label / 2, client.bottom + 5, Qt::LeftButton);
  MouseMove(grid, label / 2, client.bottom + 10, Qt::LeftButton);
  MouseUp(grid, label / 2, client.bottom + 10);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 2);
  // From the anchor to the last row shown after two steps.
  int last =
      static_cast<int>(Send(grid, TSM_GETTOPROW)) + (client.bottom - heading - 1) / rowHeight;
  EXPECT_EQ(Send(grid, TSM_GETFIRSTSELROW), lastFull - 1);
  EXPECT_EQ(Send(grid, TSM_GETSELROWCOUNT), last - (lastFull - 1) + 1);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(GridSelectionHandlers, SpaceSelectsTheCurrentRow) {
  HWND grid = Rows(TSS_ROWSELECT, 5);
  SetFocus(grid);
  Send(grid, TSM_SETCURCELL, 0, 3);
  Send(grid, TSM_SELECTROW, 0, 3);
  ASSERT_EQ(Send(grid, TSM_GETSELROWCOUNT), 0);
  PressKey(VK_SPACE);
  EXPECT_EQ(Send(grid, TSM_GETSELROW), 3);
}
