// The selection as the user sees it in a dialog compiled from a template: a default grid
// paints the selected row in the system highlight colour, and after a move by key exactly one
// focus rectangle shows, on the new row (the recording DC's inverted rectangles counted).
#include "grid/tests/grid_fixture.h"

#include "platform/testing/dialog_driver.h"
#include "platform/testing/synthetic_input.h"

namespace {

INT_PTR PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

using GridSelectionPainting = GridTest;

TEST_F(GridSelectionPainting, TheSelectedRowInHighlightAndOneFocusRectangleEachWay) {
  HWND dialog = CreateDialog(GetModuleHandle(nullptr), "GRIDDIALOG", parent_, PlainDialogProc);
  ASSERT_NE(dialog, nullptr);
  HWND grid = GetDlgItem(dialog, 200);
  Define(grid, DepositColumns(), 10);
  for (int i = 0; i < 4; ++i) {
    DepositRow row = Deposit("Quinn", 100.0 + i, i);
    Append(grid, &row);
  }
  UpdateWindow(grid);
  Send(grid, TSM_SETCURSOR, 1, 2);
  RECT cell{};
  Send(grid, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&cell));
  Click(grid, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
  ASSERT_EQ(Send(grid, TSM_GETSELROW), 2);
  UpdateWindow(grid);
  SaveWindowScreenshot(dialog, std::string(ZARNE_BUILD_DIR) + "/grid_default_selection.png");
  QImage image = GrabWindow(grid);
  RECT client{};
  GetClientRect(grid, &client);
  int dx = (image.width() - client.right) / 2, dy = (image.height() - client.bottom) / 2;
  COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  QRgb expected = qRgb(GetRValue(highlight), GetGValue(highlight), GetBValue(highlight));
  // Inside the amount cell, left of its right-aligned text.
  EXPECT_EQ(image.pixel(dx + cell.left + 3, dy + cell.top + 2) & 0xFFFFFF, expected & 0xFFFFFF);
  Send(grid, TSM_SETCURSOR, 1, 1);
  Send(grid, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&cell));
  EXPECT_NE(image.pixel(dx + cell.left + 3, dy + cell.top + 2) & 0xFFFFFF, expected & 0xFFFFFF);

  RECT oldCell = cell;
  Send(grid, TSM_SETCURSOR, 0, 2);
  Send(grid, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&oldCell));
  HDC dc = GetDC(grid);
  GdiStartRecording(dc);
  GdiClearRecording(dc);
  PressKey(VK_DOWN);
  UpdateWindow(grid);
  // A focus rectangle is drawn by inverting: it shows where the rectangles drawn since the
  // row's last fill are odd in number. Row 3 shows one, row 2 none.
  auto shown = [&](const RECT& row) {
    int count = 0;
    for (const GdiDrawRecord& call : GdiRecordedCalls(dc)) {
      bool same = call.rect.top == row.top;
      if (call.call == "FillRect" && call.rect.top <= row.top && call.rect.bottom >= row.bottom)
        count = 0;
      else if (call.call == "DrawFocusRect" && same) ++count;
    }
    return count;
  };
  RECT newCell{};
  Send(grid, TSM_SETCURSOR, 0, 3);
  Send(grid, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&newCell));
  EXPECT_EQ(shown(newCell), 1);
  EXPECT_EQ(shown(oldCell), 0);
  ReleaseDC(grid, dc);
  DestroyWindow(dialog);
}
