// Row grids in use: the current cell, single and multiple selection, keys, clicks, a drag
// over the row buttons and the scroll bar. Positions are worked out from the grid's row
// and heading heights (TSM_GETMETRIC) and its client height.
#include "grid/tests/grid_fixture.h"

#include "platform/testing/synthetic_input.h"

#include <vector>

namespace {

class GridInput : public GridTest {
 protected:
  HWND IntGrid(DWORD style, int rows, int height = 200) {
    HWND grid = MakeGrid(TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | WS_VSCROLL | style, 300, height);
    Send(grid, TSM_SETCOLCOUNT, 2);
    Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
    Send(grid, TSM_SETCOLTYPE, 1, TST_INT4);
    for (int32_t r = 0; r < rows; ++r) {
      int32_t values[2] = {r, r * 2};
      Append(grid, values);
    }
    return grid;
  }
  static int FullRows(HWND grid) {
    RECT client;
    GetClientRect(grid, &client);
    return (client.bottom - static_cast<int>(Send(grid, TSM_GETMETRIC, 3))) /
           static_cast<int>(Send(grid, TSM_GETMETRIC, 1));
  }
  static int32_t FirstValue(HWND grid, int row) {
    int32_t values[2] = {};
    Send(grid, TSM_SETCURSOR, 0, row);
    Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(values));
    return values[0];
  }
  static std::pair<int, int> TopAndCurrent(HWND grid) {
    return {static_cast<int>(Send(grid, TSM_GETTOPROW)),
            static_cast<int>(Send(grid, TSM_GETCURROW))};
  }
};

}  // namespace

TEST_F(GridInput, AClickSelectsTheRowWithItsNotificationsInOrder) {
  NotificationRecorder recorder(parent_);
  HWND grid = MakeDepositGrid(420, 300);
  for (int i = 0; i < 5; ++i) {
    DepositRow row = Deposit("Pat", i, i);
    Append(grid, &row);
  }
  EXPECT_EQ(Send(grid, TSM_GETSELROWCOUNT), 0);
  EXPECT_EQ(Send(grid, TSM_GETSELROW), TSERR_NONE);
  UpdateWindow(grid);
  POINT at = CellCentre(grid, 2, 1);
  recorder.Clear();
  Click(grid, at.x, at.y);
  // The click moves the current cell, which selects its row; then it acts as a click on the
  // row label, which in a grid without editable columns goes to the left column.
  std::vector<int> expected = {TSN_LBUTTONDOWN, TSN_SETFOCUS,   TSN_ROWCHANGED, TSN_COLCHANGED,
                               TSN_CELLMOVED,   TSN_SELCHANGED, TSN_COLCHANGED, TSN_CELLMOVED};
  EXPECT_EQ(recorder.Codes(grid), expected);
  EXPECT_EQ(Send(grid, TSM_GETSELROW), 2);
  EXPECT_EQ(Send(grid, TSM_GETSELROWCOUNT), 1);
  EXPECT_EQ(Send(grid, TSM_ISROWSELECTED, 0, 2), 1);
  EXPECT_EQ(Send(grid, TSM_GETNOTIFYAREA), TSHT_CELL);
  // The selected row painted in the grid's selection colours: a screenshot looked at.
  COLORREF colors[4] = {RGB(255, 255, 255), RGB(0, 128, 0), RGB(0, 128, 0), RGB(255, 255, 255)};
  Send(grid, TSM_SETCOLORS, 0, reinterpret_cast<LPARAM>(colors));
  UpdateWindow(grid);
  SaveWindowScreenshot(grid, std::string(ZARNE_BUILD_DIR) + "/grid_deposit_selected.png");
  QImage image = GrabWindow(grid);
  RECT client;
  GetClientRect(grid, &client);
  int dx = (image.width() - client.right) / 2, dy = (image.height() - client.bottom) / 2;
  EXPECT_EQ(Send(grid, TSM_GETCURCOL), 0);
  EXPECT_EQ(image.pixel(dx + 200, dy + at.y) & 0xFFFFFF, qRgb(0, 128, 0) & 0xFFFFFF);
  EXPECT_EQ(image.pixel(dx + 200, dy + at.y + 2 * static_cast<int>(Send(grid, TSM_GETMETRIC, 1))) &
                0xFFFFFF,
            0xFFFFFFu);
  // Selecting another row moves the current cell; deselecting a row not current does nothing.
  recorder.Clear();
  EXPECT_EQ(Send(grid, TSM_SELECTROW, 1, 4), 0);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 4);
  EXPECT_EQ(recorder.Count(TSN_SELCHANGED), 1);
  recorder.Clear();
  EXPECT_EQ(Send(grid, TSM_SELECTROW, 0, 1), 0);
  EXPECT_EQ(Send(grid, TSM_GETSELROW), 4);
  EXPECT_EQ(recorder.Count(TSN_SELCHANGED), 0);
}

TEST_F(GridInput, MovementKeysReachTheRowsWorkedOut) {
  NotificationRecorder recorder(parent_);
  HWND grid = IntGrid(TSS_ROWSELECT, 50);
  SetFocus(grid);
  int fit = FullRows(grid);
  ASSERT_GT(fit, 2);
  auto press = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    recorder.Clear();
    PressKey(key, modifiers);
    return TopAndCurrent(grid);
  };
  EXPECT_EQ(press(VK_DOWN), std::make_pair(0, 1));
  EXPECT_EQ(recorder.Count(TSN_TOPROWCHANGED), 0);
  EXPECT_EQ(press(VK_UP), std::make_pair(0, 0));
  EXPECT_EQ(press(VK_UP), std::make_pair(0, 0));
  // Page Down: the old last visible row (a partly shown one counts) becomes the top row.
  Send(grid, TSM_GETVISIBLEROWS);
  std::pair<int, int> paged = press(VK_NEXT);
  int lastVisible = paged.first;
  EXPECT_GE(lastVisible, fit - 1);
  EXPECT_LE(lastVisible, fit);
  EXPECT_EQ(paged.second, lastVisible);
  EXPECT_EQ(recorder.Count(TSN_TOPROWCHANGED), 1);
  EXPECT_EQ(press(VK_PRIOR), std::make_pair(0, 0));
  EXPECT_EQ(press(VK_PRIOR), std::make_pair(0, 0));
  // Ctrl+End: the last row at the bottom; the top row is 50 less the rows that fit.
  EXPECT_EQ(press(VK_END, Qt::ControlModifier), std::make_pair(50 - fit, 49));
  EXPECT_EQ(press(VK_DOWN), std::make_pair(50 - fit, 49));
  EXPECT_EQ(press(VK_NEXT), std::make_pair(50 - fit, 49));
  EXPECT_EQ(press(VK_HOME, Qt::ControlModifier), std::make_pair(0, 0));
  // Down past the last fully shown row scrolls by one.
  for (int i = 0; i < fit; ++i) press(VK_DOWN);
  EXPECT_EQ(TopAndCurrent(grid), std::make_pair(1, fit));
  EXPECT_EQ(Send(grid, TSM_GETSELROW), fit);  // the selection followed
}

TEST_F(GridInput, AKeyHandlerMovesRowsAsTheTitleDialogDoes) {
  NotificationRecorder recorder(parent_);
  HWND grid = IntGrid(TSS_ROWSELECT, 6);
  SetFocus(grid);
  Send(grid, TSM_SELECTROW, 1, 2);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.code != TSN_KEYDOWN || command.sender != grid) return;
    int key = static_cast<int>(Send(grid, TSM_GETUSERDATA));
    bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (key == VK_RETURN) {
      Send(grid, TSM_SETUSERDATA, VK_DOWN);
      return;
    }
    if (!ctrl || (key != VK_UP && key != VK_DOWN)) return;
    int row = static_cast<int>(Send(grid, TSM_GETSELROW));
    int target = key == VK_UP ? row - 1 : row + 2;
    if (row < 0 || target < 0 || target > static_cast<int>(Send(grid, TSM_GETROWCOUNT))) return;
    Send(grid, TSM_SETCURSOR, 0, row);
    Send(grid, TSM_MOVEROW, 0, target);
    int moved = key == VK_UP ? row - 1 : row + 1;
    Send(grid, TSM_SETTOPROW, 0, 0);
    Send(grid, TSM_SELECTROW, 1, moved);
    Send(grid, TSM_SETREPLY, 0, 1);
  });
  PressKey(VK_UP, Qt::ControlModifier);
  EXPECT_EQ(FirstValue(grid, 1), 2);
  EXPECT_EQ(FirstValue(grid, 2), 1);
  EXPECT_EQ(Send(grid, TSM_GETSELROW), 1);
  PressKey(VK_DOWN, Qt::ControlModifier);
  PressKey(VK_DOWN, Qt::ControlModifier);
  EXPECT_EQ(FirstValue(grid, 3), 2);
  EXPECT_EQ(Send(grid, TSM_GETSELROW), 3);
  PressKey(VK_DOWN);
  EXPECT_EQ(Send(grid, TSM_GETSELROW), 4);
  PressKey(VK_RETURN);  // the handler made it Down
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 5);
  recorder.OnCommand(nullptr);
}

TEST_F(GridInput, MultipleSelectionByButtonsDragsShiftAndMessages) {
  NotificationRecorder recorder(parent_);
  HWND grid = IntGrid(TSS_MULTIROW | TSS_ROWBUTTONS, 30);
  UpdateWindow(grid);
  int heading = static_cast<int>(Send(grid, TSM_GETMETRIC, 3));
  int rowHeight = static_cast<int>(Send(grid, TSM_GETMETRIC, 1));
  int label = static_cast<int>(Send(grid, TSM_GETMETRIC, 4));
  ASSERT_GT(label, 4);
  auto labelY = [&](int row) { return heading + row * rowHeight + rowHeight / 2; };
  // A row-button click toggles; one TSN_SELCHANGED per real change.
  recorder.Clear();
  Click(grid, label / 2, labelY(1));
  EXPECT_EQ(Send(grid, TSM_ISROWSELECTED, 0, 1), 1);
  EXPECT_EQ(recorder.Count(TSN_SELCHANGED), 1);
  Click(grid, label / 2, labelY(1));
  EXPECT_EQ(Send(grid, TSM_ISROWSELECTED, 0, 1), 0);
  // A plain click on a cell moves the current cell and leaves the flag; Shift toggles it.
  POINT cell = CellCentre(grid, 3, 1);
  Click(grid, cell.x, cell.y);
  EXPECT_EQ(Send(grid, TSM_ISROWSELECTED, 0, 3), 0);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 3);
  Click(grid, cell.x, cell.y, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(Send(grid, TSM_ISROWSELECTED, 0, 3), 1);
  // Press on row 5's button and drag over four more: rows 5 to 9 take row 5's new state.
  Send(grid, TSM_SELECTALLROWS, 0);
  MouseDown(grid, label / 2, labelY(5));
  for (int row = 6; row <= 9; ++row) MouseMove(grid, label / 2, labelY(row), Qt::LeftButton);
  MouseUp(grid, label / 2, labelY(9));
  EXPECT_EQ(Send(grid, TSM_GETSELROWCOUNT), 5);
  std::vector<int32_t> rows(5, -1);
  Send(grid, TSM_GETSELROWS, 0, reinterpret_cast<LPARAM>(rows.data()));
  EXPECT_EQ(rows, (std::vector<int32_t>{5, 6, 7, 8, 9}));
  EXPECT_EQ(Send(grid, TSM_GETSELROWS, 0, 0), TSERR_NULLPTR);
  EXPECT_EQ(Send(grid, TSM_GETFIRSTSELROW), 5);
  EXPECT_EQ(Send(grid, TSM_GETNEXTSELROW, 0, 5), 6);
  EXPECT_EQ(Send(grid, TSM_GETNEXTSELROW, 0, 9), TSERR_NONE);
  // Shift+Down from row 9 carries its state onto row 10.
  SetFocus(grid);
  Send(grid, TSM_SETCURCELL, 0, 9);
  PressKey(VK_DOWN, Qt::ShiftModifier);
  EXPECT_EQ(Send(grid, TSM_ISROWSELECTED, 0, 10), 1);
  // Moving selected rows keeps the count; deleting while counting leaves none selected.
  Send(grid, TSM_SETCURSOR, 0, 5);
  Send(grid, TSM_MOVEROW, 0, 0);
  Send(grid, TSM_SETCURSOR, 0, 20);
  Send(grid, TSM_MOVEROW, 0, 1);
  EXPECT_EQ(Send(grid, TSM_GETSELROWCOUNT), 6);
  LRESULT count = Send(grid, TSM_GETSELROWCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT row = Send(grid, TSM_GETFIRSTSELROW);
    ASSERT_GE(row, 0);
    Send(grid, TSM_SETCURSOR, 0, row);
    Send(grid, TSM_DELETEROW, 0);
  }
  EXPECT_EQ(Send(grid, TSM_GETSELROWCOUNT), 0);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 24);
  EXPECT_EQ(Send(grid, TSM_GETFIRSTSELROW), TSERR_BADROW);
}

TEST_F(GridInput, TheScrollBarMovesTheTopRowAndItsEndShowsTheLastRow) {
  HWND grid = IntGrid(TSS_ROWSELECT, 50);
  SendMessage(grid, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 1);
  SendMessage(grid, WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 0);
  NotificationRecorder recorder(parent_);
  EXPECT_EQ(Send(grid, TSM_SETTOPROW, 0, 0), 0);
  EXPECT_EQ(recorder.Count(TSN_TOPROWCHANGED), 0);
  int low = 0, high = 0;
  GetScrollRange(grid, SB_VERT, &low, &high);
  SendMessage(grid, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, high), 0);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 50 - FullRows(grid));
  // Beyond 32,767 rows the bar's end still stands for the last top row.
  HWND big = IntGrid(TSS_ROWSELECT, 0);
  SendMessage(big, WM_SETREDRAW, FALSE, 0);
  for (int32_t i = 0; i < 40000; ++i) Append(big, &i);
  SendMessage(big, WM_SETREDRAW, TRUE, 0);
  GetScrollRange(big, SB_VERT, &low, &high);
  SendMessage(big, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, high), 0);
  EXPECT_EQ(Send(big, TSM_GETTOPROW), 40000 - FullRows(big));
  RECT last{};
  Send(big, TSM_SETCURSOR, 0, 39999);
  EXPECT_EQ(Send(big, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&last)), 0);
}
