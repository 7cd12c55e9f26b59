// Handlers that pull the ground away: the current row deleted inside TSN_KEYDOWN, the grid
// destroyed inside TSN_LBUTTONDOWN, the grid reset inside TSN_EDITSTORING, every row deleted
// inside TSN_SELCHANGED. Run under ASan as well: no memory error and no further change.
#include "grid/tests/grid_fixture.h"

#include "platform/testing/synthetic_input.h"

namespace {

class GridReentrancy : public GridTest {
 protected:
  HWND Rows(DWORD style, int count) {
    HWND grid = MakeGrid(TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | WS_VSCROLL | style, 300, 200);
    Send(grid, TSM_SETCOLCOUNT, 2);
    Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
    Send(grid, TSM_SETCOLTYPE, 1, TST_ZSTRING);
    Send(grid, TSM_SETCOLLEN, 1, 12);
    Send(grid, TSM_SETCOLSTYLE, 1, TSCS_EDIT);
    for (int32_t r = 0; r < count; ++r) {
      char values[16] = {};
      std::memcpy(values, &r, sizeof r);
      std::snprintf(values + 4, 12, "r%d", r);
      Append(grid, values);
    }
    UpdateWindow(grid);
    return grid;
  }
};

}  // namespace

TEST_F(GridReentrancy, DeletingTheCurrentRowInsideKeyDown) {
  HWND grid = Rows(TSS_ROWSELECT, 5);
  NotificationRecorder recorder(parent_);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.sender == grid && command.code == TSN_KEYDOWN) {
      Send(grid, TSM_SETCURSOR, 0, Send(grid, TSM_GETCURROW));
      Send(grid, TSM_DELETEROW, 0);
    }
  });
  SetFocus(grid);
  Send(grid, TSM_SETCURCELL, 0, 4);
  PressKey(VK_DOWN);  // the last row goes; Down has nowhere further to go
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 4);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 3);
  for (int i = 0; i < 6; ++i) PressKey(VK_UP);
  recorder.OnCommand(nullptr);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 0);
  UpdateWindow(grid);
}

TEST_F(GridReentrancy, DestroyingTheGridInsideButtonDown) {
  HWND grid = Rows(TSS_MULTIROW | TSS_ROWBUTTONS, 5);
  NotificationRecorder recorder(parent_);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.sender == grid && command.code == TSN_LBUTTONDOWN) DestroyWindow(grid);
  });
  POINT at = CellCentre(grid, 2, 0);
  Click(grid, at.x, at.y);
  recorder.OnCommand(nullptr);
  EXPECT_FALSE(IsWindow(grid));
}

TEST_F(GridReentrancy, ResettingInsideEditStoring) {
  HWND grid = Rows(0, 3);
  NotificationRecorder recorder(parent_);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.sender == grid && command.code == TSN_EDITSTORING) Send(grid, TSM_RESET);
  });
  SetFocus(grid);
  Send(grid, TSM_SETCURCELL, 1, 2);
  PressKey(VK_F2);
  ASSERT_EQ(Send(grid, TSM_EDIT, 0), 1);
  TypeText("lost");
  PressKey(VK_RETURN);
  recorder.OnCommand(nullptr);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 0);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 0);
  EXPECT_EQ(Send(grid, TSM_GETEDITWND), 0);
  EXPECT_EQ(recorder.Count(TSN_EDITSTORED), 0);  // nothing was stored, so nothing is announced
  UpdateWindow(grid);
}

TEST_F(GridReentrancy, DeletingEveryRowInsideSelectionChanged) {
  HWND grid = Rows(TSS_MULTIROW | TSS_ROWBUTTONS, 8);
  NotificationRecorder recorder(parent_);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.sender == grid && command.code == TSN_SELCHANGED) Send(grid, TSM_DELETEALLROWS);
  });
  int label = static_cast<int>(Send(grid, TSM_GETMETRIC, 4));
  POINT at = CellCentre(grid, 3, 0);
  MouseDown(grid, label / 2, at.y);
  MouseMove(grid, label / 2, at.y + 40, Qt::LeftButton);
  MouseUp(grid, label / 2, at.y + 40);
  SetFocus(grid);
  PressKey(VK_DOWN, Qt::ShiftModifier);
  recorder.OnCommand(nullptr);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 0);
  EXPECT_EQ(Send(grid, TSM_GETSELROWCOUNT), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  UpdateWindow(grid);
}
