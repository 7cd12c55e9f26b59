/*
** The dialog's own walks over its controls, as code calls them directly: the next and previous
** tab stop and the next and previous control of a group, in template order, wrapping at the
** ends and passing over controls that are disabled or hidden.
*/
#include "platform/testing/gui_test.h"
#include "platform/user/tests/dialogs/dialog_ids.h"
#include "platform/user/winuser.h"

namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class DialogItemWalk : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    dialog_ = CreateDialog(nullptr, MAKEINTRESOURCE(IDD_PARTY), nullptr, QuietProc);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(dialog_)) DestroyWindow(dialog_);
    GuiTest::TearDown();
  }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  int NextTab(int id, BOOL previous = FALSE) const {
    return GetDlgCtrlID(GetNextDlgTabItem(dialog_, Item(id), previous));
  }
  int NextInGroup(int id, BOOL previous = FALSE) const {
    return GetDlgCtrlID(GetNextDlgGroupItem(dialog_, Item(id), previous));
  }
  HWND dialog_ = nullptr;
};

TEST_F(DialogItemWalk, TabStopsInTemplateOrderWrapAndPassOverUnreachableControls) {
  EXPECT_EQ(NextTab(IDC_NAME), IDC_CITY);  // the label between them is no tab stop
  // Backwards from the first stop wraps to the end, where the disabled Help button is passed.
  EXPECT_EQ(NextTab(IDC_NAME, TRUE), IDCANCEL);
  EXPECT_EQ(NextTab(IDCANCEL), IDC_NAME);
  EnableWindow(Item(IDC_CITY), FALSE);
  EXPECT_EQ(NextTab(IDC_NAME), IDC_BUYER);
  EnableWindow(Item(IDC_CITY), TRUE);
  ShowWindow(Item(IDC_CITY), SW_HIDE);
  EXPECT_EQ(NextTab(IDC_NAME), IDC_BUYER);
  EXPECT_EQ(NextTab(IDC_BUYER, TRUE), IDC_NAME);
}

TEST_F(DialogItemWalk, GroupWalkStaysWithinItsGroupAndWraps) {
  EXPECT_EQ(NextInGroup(IDC_BUYER), IDC_SELLER);
  EXPECT_EQ(NextInGroup(IDC_LENDER), IDC_BUYER);  // the check box opens the next group
  EXPECT_EQ(NextInGroup(IDC_BUYER, TRUE), IDC_LENDER);
  EXPECT_EQ(NextInGroup(IDC_ESCROW), IDC_TRACKED);
  EXPECT_EQ(NextInGroup(IDC_TRACKED), IDC_ESCROW);
  EnableWindow(Item(IDC_SELLER), FALSE);
  EXPECT_EQ(NextInGroup(IDC_BUYER), IDC_LENDER);
  EXPECT_EQ(NextInGroup(IDC_LENDER, TRUE), IDC_BUYER);
}

}  // namespace
