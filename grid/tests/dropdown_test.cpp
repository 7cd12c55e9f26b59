// Drop-down grids in a dialog compiled from a template: folding by Alt+Up over a sibling
// button that must show again, opening by Alt+Down to the creation height, one
// TSN_DROPDOWN each, Down while folded, and the automatic drop-down opening when tabbed
// into and folding when tabbed out of.
#include "grid/tests/grid_fixture.h"

#include "platform/testing/dialog_driver.h"
#include "platform/testing/synthetic_input.h"

namespace {

INT_PTR DropDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

class GridDropDown : public GridTest {
 protected:
  static void Fill(HWND grid, int rows) {
    Send(grid, TSM_SETCOLCOUNT, 1);
    Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
    Send(grid, TSM_SETCOLWIDTH, 0, 40);
    Send(grid, TSM_SETCOLHEADING, 0, Text("Code"));
    for (int32_t r = 0; r < rows; ++r) Append(grid, &r);
    UpdateWindow(grid);
  }
  static int Height(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
  }
  static int FoldedHeight(HWND grid) {
    return static_cast<int>(Send(grid, TSM_GETMETRIC, 1) + Send(grid, TSM_GETMETRIC, 3)) + 1;
  }
};

}  // namespace

TEST_F(GridDropDown, AltUpFoldsOverTheButtonAndAltDownOpensAgain) {
  HWND dialog = CreateDialog(GetModuleHandle(nullptr), "DROPDIALOG", parent_, DropDialogProc);
  ASSERT_NE(dialog, nullptr);
  HWND grid = GetDlgItem(dialog, 301), button = GetDlgItem(dialog, 103);
  Fill(grid, 12);
  NotificationRecorder recorder(dialog);
  int full = Height(grid);
  EXPECT_EQ(Send(grid, TSM_ISDROPCLOSED), 0);  // a plain drop-down starts open
  SetFocus(grid);
  UpdateWindow(dialog);
  SaveWindowScreenshot(dialog, std::string(ZARNE_BUILD_DIR) + "/grid_dropdown_open.png");
  RECT buttonRect{};
  GetWindowRect(button, &buttonRect);
  RECT dialogRect{};
  GetWindowRect(dialog, &dialogRect);
  QImage open = GrabWindow(dialog);

  PressKey(VK_UP, Qt::AltModifier);
  EXPECT_EQ(Send(grid, TSM_ISDROPCLOSED), 1);
  EXPECT_EQ(Height(grid), FoldedHeight(grid));
  EXPECT_EQ(recorder.Count(TSN_DROPDOWN), 1);
  UpdateWindow(dialog);
  SaveWindowScreenshot(dialog, std::string(ZARNE_BUILD_DIR) + "/grid_dropdown_closed.png");
  // The button's face shows again where the open grid covered it.
  QImage closed = GrabWindow(dialog);
  QImage buttonAlone = GrabWindow(button);
  int bx = buttonRect.left - dialogRect.left + (buttonRect.right - buttonRect.left) / 2;
  int by = buttonRect.bottom - dialogRect.top - 3;
  EXPECT_NE(open.pixel(bx, by), closed.pixel(bx, by));
  EXPECT_EQ(closed.pixel(bx, by), buttonAlone.pixel((buttonRect.right - buttonRect.left) / 2,
                                                    buttonRect.bottom - buttonRect.top - 3));

  // Down while folded changes the row shown.
  int before = static_cast<int>(Send(grid, TSM_GETTOPROW));
  PressKey(VK_DOWN);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), before + 1);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), before + 1);

  recorder.Clear();
  PressKey(VK_DOWN, Qt::AltModifier);
  EXPECT_EQ(Send(grid, TSM_ISDROPCLOSED), 0);
  EXPECT_EQ(Height(grid), full);
  EXPECT_EQ(recorder.Count(TSN_DROPDOWN), 1);
  // Folded, then no longer a drop-down: it opens to its creation height.
  PressKey(VK_UP, Qt::AltModifier);
  ASSERT_EQ(Height(grid), FoldedHeight(grid));
  Send(grid, TSM_SETSTYLE, 0,
       TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | TSS_ROWSELECT | WS_TABSTOP | WS_CHILD | WS_VISIBLE);
  EXPECT_EQ(Height(grid), full);
  EXPECT_EQ(Send(grid, TSM_ISDROPCLOSED), 1);  // not a drop-down
  HWND plainGrid = MakeGrid(TSS_OWNERDEF, 100, 60, 205);
  EXPECT_EQ(Send(plainGrid, TSM_ISDROPCLOSED), 1);
  EXPECT_EQ(Send(plainGrid, TSM_DROPDOWN, 0, 1), TSERR_STATE);
  DestroyWindow(dialog);
}

TEST_F(GridDropDown, AnAutomaticDropDownOpensWhenTabbedIntoAndFoldsWhenLeft) {
  HWND dialog = CreateDialog(GetModuleHandle(nullptr), "DROPDIALOG", parent_, DropDialogProc);
  ASSERT_NE(dialog, nullptr);
  HWND grid = GetDlgItem(dialog, 300);
  Fill(grid, 8);
  EXPECT_EQ(Send(grid, TSM_ISDROPCLOSED), 1);
  EXPECT_EQ(Height(grid), FoldedHeight(grid));
  SetFocus(GetDlgItem(dialog, 101));
  PressDialogKey(dialog, VK_TAB);
  ASSERT_EQ(GetFocus(), grid);
  EXPECT_EQ(Send(grid, TSM_ISDROPCLOSED), 0);
  EXPECT_GT(Height(grid), FoldedHeight(grid));
  PressDialogKey(dialog, VK_TAB);
  EXPECT_NE(GetFocus(), grid);
  EXPECT_EQ(Send(grid, TSM_ISDROPCLOSED), 1);
  EXPECT_EQ(Height(grid), FoldedHeight(grid));
  DestroyWindow(dialog);
}

TEST_F(GridDropDown, MadeAutomaticLaterItFoldsWithoutTheFocusAndStaysOpenWithIt) {
  HWND dialog = CreateDialog(GetModuleHandle(nullptr), "DROPDIALOG", parent_, DropDialogProc);
  ASSERT_NE(dialog, nullptr);
  HWND grid = GetDlgItem(dialog, 301), edit = GetDlgItem(dialog, 101);
  Fill(grid, 12);
  int full = Height(grid);
  SetFocus(edit);
  NotificationRecorder recorder(dialog);
  LPARAM automatic = static_cast<LPARAM>(GetWindowLongPtr(grid, GWL_STYLE) | TSS_AUTODROPDN);
  ASSERT_EQ(Send(grid, TSM_SETSTYLE, 0, automatic), 0);
  EXPECT_EQ(Send(grid, TSM_GETSTYLE) & 0x8002, 0x8002);
  EXPECT_EQ(Send(grid, TSM_ISDROPCLOSED), 1);
  EXPECT_EQ(Height(grid), FoldedHeight(grid));
  EXPECT_EQ(recorder.Count(TSN_DROPDOWN), 1);
  // With the focus mark shown the same style opens it, or leaves it open.
  SetFocus(grid);
  EXPECT_EQ(Send(grid, TSM_ISDROPCLOSED), 0);
  EXPECT_EQ(Height(grid), full);
  recorder.Clear();
  ASSERT_EQ(Send(grid, TSM_SETSTYLE, 0, automatic), 0);
  EXPECT_EQ(Send(grid, TSM_ISDROPCLOSED), 0);
  EXPECT_EQ(Height(grid), full);
  EXPECT_EQ(recorder.Count(TSN_DROPDOWN), 0);
  // Left, it folds as an automatic drop-down does.
  SetFocus(edit);
  EXPECT_EQ(Send(grid, TSM_ISDROPCLOSED), 1);
  EXPECT_EQ(recorder.Count(TSN_DROPDOWN), 1);
  DestroyWindow(dialog);
}
