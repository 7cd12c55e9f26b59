/*
** Control objects made as new child windows (as the statement window makes its edit line and
** choice list): the system classes behind them, their text limits, and their calls.
*/
#include "platform/framework/framework.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

#include <strings.h>

namespace {

class TOwner : public TWindow {
 public:
  TOwner() : TWindow(nullptr, "Owner") {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.W = 300;
    Attr.H = 200;
    edit = new TEdit(this, 101, "start", 1, 1, 60, 24, 10, true);
    list = new TListBox(this, 102, 1, 30, 60, 80);
    combo = new TComboBox(this, 103, 70, 1, 80, 100, CBS_DROPDOWNLIST, 0);
    check = new TCheckBox(this, 104, "Check", 70, 40, 80, 16);
  }
  TEdit* edit;
  TListBox* list;
  TComboBox* combo;
  TCheckBox* check;
};

std::string ClassOf(HWND hwnd) {
  char name[32] = "";
  GetClassName(hwnd, name, sizeof name);
  return name;
}

class ControlsTest : public GuiTest {};

TEST_F(ControlsTest, ChildControlsAreMadeWithTheirParentOfTheSystemClasses) {
  TOwner owner;
  ASSERT_TRUE(owner.Create());
  ASSERT_NE(owner.edit->HWindow, nullptr);
  EXPECT_EQ(strcasecmp(ClassOf(owner.edit->HWindow).c_str(), "edit"), 0);
  EXPECT_EQ(strcasecmp(ClassOf(owner.list->HWindow).c_str(), "listbox"), 0);
  EXPECT_EQ(strcasecmp(ClassOf(owner.combo->HWindow).c_str(), "combobox"), 0);
  EXPECT_EQ(GetDlgCtrlID(owner.edit->HWindow), 101);
  EXPECT_EQ(owner.ChildWithId(102), owner.list);
  EXPECT_TRUE(GetWindowLong(owner.edit->HWindow, GWL_STYLE) & ES_MULTILINE);
  EXPECT_EQ(owner.edit->GetText(), "start");
  // A limit of 10 leaves room for 9 characters and the terminator.
  EXPECT_EQ(SendMessage(owner.edit->HWindow, EM_GETLIMITTEXT, 0, 0), 9);
  EXPECT_EQ(TWindow::FromHandle(owner.edit->HWindow), owner.edit);
}

TEST_F(ControlsTest, EditCallsReachTheControl) {
  TOwner owner;
  ASSERT_TRUE(owner.Create());
  TEdit& edit = *owner.edit;
  edit.SetText("abcdef");
  edit.SetSelection(1, 3);
  UINT start = 0, end = 0;
  edit.GetSelection(start, end);
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 3u);
  edit.Insert("XY");
  EXPECT_EQ(edit.GetText(), "aXYdef");
  char small[4];
  edit.GetText(small, sizeof small);
  EXPECT_STREQ(small, "aXY");
  edit.ClearModify();
  EXPECT_FALSE(edit.IsModified());
}

TEST_F(ControlsTest, ListAndComboCallsReachTheControls) {
  TOwner owner;
  ASSERT_TRUE(owner.Create());
  TListBox& list = *owner.list;
  list.AddString("B");
  list.AddString("A");
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetString(0), "A");  // the standard list box sorts
  EXPECT_EQ(list.FindExactString("B"), 1);
  list.SetSelIndex(1);
  char text[8];
  EXPECT_EQ(list.GetSelString(text, sizeof text), 1);
  EXPECT_STREQ(text, "B");
  ::SendMessage(list.HWindow, LB_SETITEMHEIGHT, 0, 19);
  EXPECT_EQ(list.GetItemHeight(), 19);
  list.ClearList();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetSelString(text, sizeof text), LB_ERR);

  TComboBox& combo = *owner.combo;
  combo.AddString("January");
  combo.AddString("February");
  combo.SetItemData(1, 2);
  combo.SetSelIndex(1);
  EXPECT_EQ(combo.GetSelIndex(), 1);
  EXPECT_EQ(combo.GetText(), "February");
  EXPECT_EQ(combo.GetItemData(1), 2u);
  EXPECT_EQ(combo.GetString(0), "January");
}

TEST_F(ControlsTest, CheckBoxStateAndChildControlsCloseWithTheParent) {
  TOwner owner;
  ASSERT_TRUE(owner.Create());
  owner.check->Check();
  EXPECT_EQ(owner.check->GetCheck(), static_cast<UINT>(BST_CHECKED));
  owner.check->Toggle();
  EXPECT_EQ(owner.check->GetCheck(), static_cast<UINT>(BST_UNCHECKED));
  HWND edit = owner.edit->HWindow;
  owner.Destroy();
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(owner.edit->HWindow, nullptr);
  EXPECT_EQ(TWindow::FromHandle(edit), nullptr);
}

TEST_F(ControlsTest, SortingListsTransferTheirSelectionsByText) {
  struct TListsXfer {
    TListBoxData list;
    TComboBoxData combo;
  } xfer;
  TWindow owner(nullptr, "Lists");
  owner.Attr.Style = WS_POPUP;
  auto* list = new TListBox(&owner, 102, 1, 30, 60, 80);  // sorted, as the standard style is
  auto* combo = new TComboBox(&owner, 103, 70, 1, 80, 100, CBS_DROPDOWNLIST | CBS_SORT, 0);
  xfer.list.AddString("Void");
  xfer.list.AddString("Escrow");
  xfer.list.AddString("Ready", true);
  xfer.combo.AddString("S");
  xfer.combo.AddString("B");
  xfer.combo.AddString("/", true);
  owner.SetTransferBuffer(&xfer);
  ASSERT_TRUE(owner.Create());
  EXPECT_EQ(list->GetString(0), "Escrow");
  EXPECT_EQ(list->GetString(list->GetSelIndex()), "Ready");
  EXPECT_EQ(combo->GetText(), "/");
  list->SetSelIndex(0);  // "Escrow", the second string of the record
  combo->SetSelIndex(combo->FindExactString("S"));
  owner.TransferData(tdGetData);
  ASSERT_EQ(xfer.list.GetSelCount(), 1);
  EXPECT_EQ(xfer.list.GetSelIndices()[0], 1);
  EXPECT_STREQ(xfer.combo.GetSelection(), "S");
}

TEST_F(ControlsTest, ListsKeepingTheirOrderTellEqualStringsApartByPlace) {
  // Twenty accounts of which the unused ones have no name: the place is the account.
  struct TListsXfer {
    TListBoxData list;
    TComboBoxData combo;
  } xfer;
  TWindow owner(nullptr, "Accounts");
  owner.Attr.Style = WS_POPUP;
  auto* list = new TListBox(&owner, 102, 1, 30, 60, 80);
  list->Attr.Style &= ~LBS_SORT;
  auto* combo = new TComboBox(&owner, 103, 70, 1, 80, 100, CBS_DROPDOWNLIST, 0);
  for (const char* name : {"Operating", "", "", "Trust", ""}) {
    xfer.list.AddString(name);
    xfer.combo.AddString(name);
  }
  xfer.list.Select(2);
  xfer.combo.Select(4);
  xfer.list.GetSelIndices().push_back(9);  // a place the record has no string for
  owner.SetTransferBuffer(&xfer);
  ASSERT_TRUE(owner.Create());
  EXPECT_EQ(list->GetSelIndex(), 2);
  EXPECT_EQ(combo->GetSelIndex(), 4);
  owner.TransferData(tdGetData);
  ASSERT_EQ(xfer.list.GetSelCount(), 1);
  EXPECT_EQ(xfer.list.GetSelIndices()[0], 2);
  EXPECT_EQ(xfer.combo.GetSelIndex(), 4);

  list->SetSelIndex(4);
  combo->SetSelIndex(1);
  owner.TransferData(tdGetData);
  ASSERT_EQ(xfer.list.GetSelCount(), 1);
  EXPECT_EQ(xfer.list.GetSelIndices()[0], 4);
  EXPECT_EQ(xfer.combo.GetSelIndex(), 1);
}

}  // namespace
