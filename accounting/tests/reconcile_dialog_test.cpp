/*
** The reconcile dialog's own behaviour: each plain, Ctrl- and Shift-click flips exactly the
** clicked row and re-totals the deposits; Clear leaves the total as it was and clears an
** Unposted deposit too; the adjustments kind lists nothing; choosing checks in Range starts
** from All; a file range stops by byte order, the order of the key walk; the file number
** column shows the longest number whole.
*/
#include "reconcile_fixture.h"
#include "grid/tessel_codes.h"
#include "platform/gdi/gdi.h"
#include "platform/user/winuser.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

namespace {

class ReconcileDialogTest : public ReconcileTest {
 protected:
  void SetUp() override {
    ReconcileTest::SetUp();
    Put("A-1", 'D', 1.0, 3, 10.00, kBlankDate, 0, "Unposted");
    Put("A-2", 'D', 2.0, 5, 20.00, DateOf(2, 2, 2024), 0, "Two");
    Put("A0", 'D', 3.0, 5, 30.00, DateOf(2, 3, 2024), 0, "Three");
    Put("A1", 'D', 4.0, 5, 40.05, DateOf(2, 4, 2024), 0, "Four");
    Put("A10", 'D', 5.0, 5, 50.10, DateOf(2, 5, 2024), 0, "Five");
    Put("A-1", 'C', 6.0, 2, 15.00, DateOf(1, 10, 2024), 77, "Check");
    Put("0", 'B', 7.0, 6, -3.00, DateOf(2, 1, 2024), 0, "Fee");
  }
  void Run(const Script& script) {
    EXPECT_TRUE(RunReconcile(
        [&](HWND info) {
          SendMessage(FindControl(info, 136), CB_SETCURSEL, kBank, 0);
          SendMessage(info, WM_COMMAND, MAKEWPARAM(136, CBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(FindControl(info, 136)));
          TypeStatement(info, "0.00", "02/29/24");
        },
        script));
  }
  static std::vector<bool> Selection(HWND dialog) {
    std::vector<bool> selected;
    for (int row = 0; row < RowCount(dialog); ++row) selected.push_back(Selected(dialog, row));
    return selected;
  }
  static void PressRange(HWND dialog, const std::function<void(HWND)>& script) {
    DialogDriver driver;
    driver.OnDialog(20942, script);
    PressButton(dialog, 103);
  }
};

TEST_F(ReconcileDialogTest, EachClickFlipsExactlyTheClickedRow) {
  Run([&](HWND dialog) {
    ASSERT_EQ(RowCount(dialog), 5);
    ClickRow(dialog, 0);
    EXPECT_EQ(Selection(dialog), (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(ControlTextOf(dialog, 261), "10.00");
    ClickRow(dialog, 2, Qt::ControlModifier);
    EXPECT_EQ(Selection(dialog), (std::vector<bool>{true, false, true, false, false}));
    EXPECT_EQ(ControlTextOf(dialog, 261), "40.00");
    ClickRow(dialog, 4, Qt::ShiftModifier);  // no range: the one row
    EXPECT_EQ(Selection(dialog), (std::vector<bool>{true, false, true, false, true}));
    EXPECT_EQ(ControlTextOf(dialog, 261), "90.10");
    ClickRow(dialog, 4, Qt::ShiftModifier);
    EXPECT_EQ(Selection(dialog), (std::vector<bool>{true, false, true, false, false}));
    ClickRow(dialog, 0, Qt::ControlModifier);
    EXPECT_EQ(Selection(dialog), (std::vector<bool>{false, false, true, false, false}));
    EXPECT_EQ(ControlTextOf(dialog, 261), "30.00");
    ClickRow(dialog, 3);
    EXPECT_EQ(ControlTextOf(dialog, 261), "70.05");
    // Clear takes the rows away but the total stays as it was.
    PressButton(dialog, 104);
    EXPECT_EQ(RowCount(dialog), 3);
    EXPECT_EQ(ControlTextOf(dialog, 261), "70.05");
    // An Unposted deposit is listed and can be cleared.
    ClickRow(dialog, 0);
    PressButton(dialog, 104);
    EXPECT_EQ(RowCount(dialog), 2);
  });
  EXPECT_EQ(StoredStatus("A0", 'D', 3.0), 6);
  EXPECT_EQ(StoredStatus("A1", 'D', 4.0), 6);
  EXPECT_EQ(StoredStatus("A-1", 'D', 1.0), 6);
  EXPECT_EQ(StoredStatus("A-2", 'D', 2.0), 5);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ReconcileDialogTest, RangeKindsAndModesListWhatTheyShould) {
  Run([&](HWND dialog) {
    // Adjustments are born Reconciled: the kind lists nothing.
    ChooseRange(dialog, 103, "02/29/24");
    EXPECT_EQ(RowCount(dialog), 0);
    EXPECT_EQ(ControlTextOf(dialog, 101), "ADJUSTMENTS: Dates  - 02/29/2024");
    EXPECT_FALSE(IsWindowVisible(FindControl(dialog, 261)));
    // Choosing checks puts the mode back to All.
    PressRange(dialog, [](HWND range) {
      PressButton(range, 101);
      PressButton(range, IDOK);
    });
    EXPECT_EQ(ControlTextOf(dialog, 101), "CHECKS: All");
    EXPECT_EQ(RowCount(dialog), 1);
    // Deposits of files "A-1" to "A1" in key order: "A10" sorts after "A1".
    PressRange(dialog, [](HWND range) {
      PressButton(range, 102);
      PressButton(range, 300);
      SetControlText(range, 301, "A-1");
      SetControlText(range, 302, "A1");
      PressButton(range, IDOK);
    });
    EXPECT_EQ(ControlTextOf(dialog, 101), "DEPOSITS: Files A-1 - A1");
    ASSERT_EQ(RowCount(dialog), 4);
    EXPECT_EQ(RowOf(dialog, "A-1"), 0);
    EXPECT_EQ(RowOf(dialog, "A-2"), 1);
    EXPECT_EQ(RowOf(dialog, "A0"), 2);
    EXPECT_EQ(RowOf(dialog, "A1"), 3);
    EXPECT_EQ(ControlTextOf(dialog, 264), "Account 3");
    // The account cannot be changed in this dialog's range.
    PressRange(dialog, [](HWND range) {
      EXPECT_FALSE(IsWindowEnabled(FindControl(range, 136)));
      PressButton(range, IDCANCEL);
    });
  });
}

TEST_F(ReconcileDialogTest, FileNumberColumnShowsTheLongestNumberWhole) {
  // Fifteen characters, the most a file number holds; digits are the widest a number uses.
  const std::string longest = "202412310000015";
  Put(longest, 'D', 8.0, 5, 1.00, DateOf(2, 6, 2024), 0, "Long");
  Run([&](HWND dialog) {
    const int row = RowOf(dialog, longest);
    ASSERT_GE(row, 0);
    HWND grid = GridOf(dialog);
    SendMessage(grid, TSM_SETCURSOR, 1, row);
    RECT cell{};
    ASSERT_EQ(SendMessage(grid, TSM_GETCELLRECT, TSREF_CURSOR, reinterpret_cast<LPARAM>(&cell)), 0);
    // A cell's text runs from two pixels inside its left edge to three before its grid line.
    const int room = (cell.right - 3) - (cell.left + 2);
    HDC dc = GetDC(grid);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(grid, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32(dc, longest.c_str(), static_cast<int>(longest.size()), &text);
    SelectObject(dc, old);
    ReleaseDC(grid, dc);
    EXPECT_GT(text.cx, 0);
    EXPECT_LE(text.cx, room) << longest << " needs " << text.cx << " pixels, the column gives "
                             << room;
  });
}

}  // namespace
