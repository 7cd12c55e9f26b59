// A grid inside a dialog compiled from a template: it takes the dialog's font (its row buttons
// too), finds no saved configuration, takes and gives up the focus by Tab, and leaves Enter to
// the dialog's default button.
#include "grid/tests/grid_fixture.h"

#include "platform/testing/dialog_driver.h"

namespace {

int gOkPresses = 0;

INT_PTR DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
    ++gOkPresses;
    return TRUE;
  }
  return FALSE;
}

int FocusRectangles(HDC dc) {
  int count = 0;
  for (const GdiDrawRecord& call : GdiRecordedCalls(dc)) count += call.call == "DrawFocusRect";
  return count;
}

}  // namespace

using GridDialog = GridTest;

TEST_F(GridDialog, TheGridFollowsTheDialogFontAndTheFocusKeys) {
  gOkPresses = 0;
  HWND dialog = CreateDialog(GetModuleHandle(nullptr), "GRIDDIALOG", parent_, DialogProc);
  ASSERT_NE(dialog, nullptr);
  HWND grid = GetDlgItem(dialog, 200);
  ASSERT_NE(grid, nullptr);
  NotificationRecorder recorder(dialog);
  // No saved configuration and no box: the grid is empty until the dialog defines it.
  EXPECT_EQ(Send(grid, TSM_GETCOLCOUNT), 0);
  EXPECT_TRUE(Boxes().Shown().empty());
  HFONT font = reinterpret_cast<HFONT>(SendMessage(dialog, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessage(grid, WM_GETFONT, 0, 0)), font);
  HDC measure = GetDC(dialog);
  HGDIOBJ old = SelectObject(measure, font);
  TEXTMETRIC metrics{};
  GetTextMetrics(measure, &metrics);
  SelectObject(measure, old);
  ReleaseDC(dialog, measure);
  EXPECT_EQ(Send(grid, TSM_GETMETRIC, 1), metrics.tmHeight + metrics.tmExternalLeading + 1);
  // Row buttons are as wide as the rows of the dialog's font are high, though the grid was
  // made before the font came.
  EXPECT_EQ(Send(grid, TSM_GETMETRIC, 4), metrics.tmHeight + metrics.tmExternalLeading + 1);
  EXPECT_EQ(SendMessage(grid, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
  Send(grid, TSM_SETEXSTYLE, 0, TSXS_TABCELLS);
  EXPECT_EQ(SendMessage(grid, WM_GETDLGCODE, 0, 0),
            DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB);
  Send(grid, TSM_SETEXSTYLE, 0, 0);

  Define(grid, DepositColumns(), 10);
  DepositRow row = Deposit("Harper", 12.5, 1);
  Append(grid, &row);
  UpdateWindow(grid);
  SetFocus(GetDlgItem(dialog, 101));
  HDC dc = GetDC(grid);
  GdiStartRecording(dc);
  recorder.Clear();
  PressDialogKey(dialog, VK_TAB);
  EXPECT_EQ(GetFocus(), grid);
  EXPECT_EQ(recorder.Count(TSN_SETFOCUS), 1);
  EXPECT_EQ(FocusRectangles(dc), 1);
  gOkPresses = 0;
  PressDialogKey(dialog, VK_RETURN);
  EXPECT_EQ(gOkPresses, 1);
  EXPECT_EQ(GetFocus(), grid);
  GdiClearRecording(dc);
  PressDialogKey(dialog, VK_TAB);
  EXPECT_NE(GetFocus(), grid);
  EXPECT_EQ(recorder.Count(TSN_KILLFOCUS), 1);
  EXPECT_EQ(FocusRectangles(dc), 1);  // drawn again over itself: removed
  ReleaseDC(grid, dc);
  DestroyWindow(dialog);
}
