/*
** Combo-box control: the order of its notifications under real keys and clicks for the
** three kinds, its list's answers (sorted inserts, CB_ERR for bad indexes), and the field
** height it keeps while the template's height becomes the dropped list's.
*/
#include "platform/user/tests/window_test_fixture.h"

#include "platform/user/combobox_control.h"
#include "platform/user/listbox_control.h"

#include <string>
#include <vector>

using ComboBoxControl = WindowTest;

namespace {

HWND CreateCombo(HWND parent, DWORD style, int id = 201, int height = 120) {
  return CreateWindow("combobox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, 10, 160,
                      height, parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr,
                      nullptr);
}

void Add(HWND combo, const std::vector<std::string>& texts) {
  for (const std::string& text : texts)
    SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<WORD> Notifications(HWND parent, HWND control) {
  std::vector<WORD> codes;
  for (const auto& m : LoggedOf(WM_COMMAND))
    if (m.hwnd == parent && reinterpret_cast<HWND>(m.lParam) == control)
      codes.push_back(HIWORD(m.wParam));
  return codes;
}

std::string TextOf(HWND hwnd) {
  char buffer[256] = {};
  GetWindowText(hwnd, buffer, sizeof buffer);
  return buffer;
}

void ClickListItem(HWND combo, int index) {
  HWND list = ComboBoxListWindow(combo);
  RECT r{};
  ASSERT_EQ(SendMessage(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)), LB_OKAY);
  Click(list, r.left + 5, (r.top + r.bottom) / 2);
}

}  // namespace

TEST_F(ComboBoxControl, DropDownListTellsItsParentInThePlatformsOrder) {
  HWND top = TopWindow();
  HWND other = CreateWindow("edit", "", WS_CHILD | WS_VISIBLE, 10, 150, 100, 20, top,
                            reinterpret_cast<HMENU>(300), nullptr, nullptr);
  HWND combo = CreateCombo(top, CBS_DROPDOWNLIST);
  ASSERT_NE(combo, nullptr);
  Add(combo, {"January", "February", "March", "April"});
  MessageLog().clear();
  SetFocus(combo);
  PressKey(VK_DOWN);
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 0);
  PressKey(VK_DOWN);
  EXPECT_EQ(TextOf(combo), "February");
  TypeText("a");  // the next item that begins with the letter
  EXPECT_EQ(TextOf(combo), "April");
  EXPECT_EQ(Notifications(top, combo),
            (std::vector<WORD>{CBN_SETFOCUS, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE}));

  MessageLog().clear();
  PressKey(VK_F4);
  EXPECT_TRUE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
  HWND list = ComboBoxListWindow(combo);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(GetFocus(), combo);
  ClickListItem(combo, 2);
  EXPECT_FALSE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(GetFocus(), combo);  // the click left the focus where it was
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(TextOf(combo), "March");
  EXPECT_EQ(Notifications(top, combo),
            (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));

  // Opened and left with Esc: nothing chosen.
  MessageLog().clear();
  PressKey(VK_DOWN, Qt::AltModifier);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Notifications(top, combo),
            (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 2);

  // Losing the focus while open closes the list first.
  MessageLog().clear();
  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  SetFocus(other);
  EXPECT_EQ(Notifications(top, combo),
            (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}));
}

TEST_F(ComboBoxControl, DropDownEditTypingAndSettingBySelection) {
  HWND top = TopWindow();
  HWND combo = CreateCombo(top, CBS_DROPDOWN | CBS_AUTOHSCROLL);
  Add(combo, {"and/or assigns", "its successors and/or assigns"});
  HWND edit = ComboBoxEditWindow(combo);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(GetDlgCtrlID(edit), COMBO_EDIT_ID);
  MessageLog().clear();
  SetFocus(combo);
  EXPECT_EQ(GetFocus(), edit);
  TypeText("ab");
  EXPECT_EQ(TextOf(combo), "ab");
  EXPECT_EQ(Notifications(top, combo),
            (std::vector<WORD>{CBN_SETFOCUS, CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE,
                               CBN_EDITCHANGE}));
  // The combo's own changes of the field are not edits.
  MessageLog().clear();
  EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(TextOf(combo), "its successors and/or assigns");
  EXPECT_TRUE(Notifications(top, combo).empty());
  PressKey(VK_UP);
  EXPECT_EQ(TextOf(combo), "and/or assigns");
  EXPECT_EQ(Notifications(top, combo), std::vector<WORD>{CBN_SELCHANGE});
  // CB_SHOWDROPDOWN opens and closes without a choice being made.
  MessageLog().clear();
  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  SendMessage(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(Notifications(top, combo), (std::vector<WORD>{CBN_DROPDOWN, CBN_CLOSEUP}));
  // A text of one's own, set and limited.
  MessageLog().clear();
  SetWindowText(combo, "work text");
  EXPECT_EQ(TextOf(combo), "work text");
  EXPECT_TRUE(Notifications(top, combo).empty());
  SendMessage(combo, CB_LIMITTEXT, 5, 0);
  SendMessage(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  TypeText("1234567");
  EXPECT_EQ(TextOf(combo), "12345");
}

TEST_F(ComboBoxControl, SimpleComboShowsItsListAndAClickChoosesAtOnce) {
  HWND top = TopWindow();
  HWND combo = CreateCombo(top, CBS_SIMPLE | CBS_SORT, 202, 140);
  Add(combo, {"S", "B", "/"});
  HWND list = ComboBoxListWindow(combo);
  EXPECT_TRUE(IsChild(combo, list));
  EXPECT_TRUE(IsWindowVisible(list));
  MessageLog().clear();
  ClickListItem(combo, 1);
  EXPECT_EQ(TextOf(combo), "B");
  EXPECT_EQ(GetFocus(), ComboBoxEditWindow(combo));
  std::vector<WORD> codes = Notifications(top, combo);
  EXPECT_EQ(codes, (std::vector<WORD>{CBN_SETFOCUS, CBN_SELCHANGE}));
  // Typing moves the list to the first item that begins with the text.
  SendMessage(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  TypeText("s");
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(ComboBoxControl, ListRequestsSortAndAnswerCbErrForBadIndexes) {
  HWND top = TopWindow();
  HWND combo = CreateCombo(top, CBS_DROPDOWNLIST | CBS_SORT);
  EXPECT_EQ(SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Seller")), 0);
  EXPECT_EQ(SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("buyer")), 0);
  EXPECT_EQ(SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Lender")), 1);
  EXPECT_EQ(SendMessage(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("Agent")), 0);
  EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 4);
  char buffer[32] = "untouched";
  EXPECT_EQ(SendMessage(combo, CB_GETLBTEXT, 4, reinterpret_cast<LPARAM>(buffer)), CB_ERR);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(SendMessage(combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(buffer)), 6);
  EXPECT_STREQ(buffer, "Lender");
  EXPECT_EQ(SendMessage(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(-5), 0), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_DELETESTRING, 9, 0), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 9, 0), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_SETITEMDATA, 9, 1), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 1, 0), 1);
  // An index past the end answers CB_ERR and leaves nothing selected.
  EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 12, 0), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(TextOf(combo), "");
  EXPECT_EQ(
      SendMessage(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("SEL")),
      3);
  EXPECT_EQ(SendMessage(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>("sel")),
            CB_ERR);
  EXPECT_EQ(
      SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("le")),
      2);
  EXPECT_EQ(TextOf(combo), "Lender");
  EXPECT_EQ(
      SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("x")),
      CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(SendMessage(combo, CB_GETEDITSEL, 0, 0), CB_ERR);  // a drop-down list has no field
  SendMessage(combo, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST_F(ComboBoxControl, DropDownKindsKeepTheirFieldHeightAndDropTheRest) {
  HWND top = TopWindow();
  HWND combo = CreateCombo(top, CBS_DROPDOWNLIST, 203, 150);
  RECT window{};
  GetWindowRect(combo, &window);
  int field = window.bottom - window.top;
  EXPECT_LT(field, 40);
  RECT dropped{};
  SendMessage(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_EQ(dropped.bottom - dropped.top, 150);
  // Moving it with a new full height keeps the field and takes the new dropped height.
  MoveWindow(combo, 10, 10, 160, 200, TRUE);
  GetWindowRect(combo, &window);
  EXPECT_EQ(window.bottom - window.top, field);
  SendMessage(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_EQ(dropped.bottom - dropped.top, 200);
  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  RECT listRect{};
  GetWindowRect(ComboBoxListWindow(combo), &listRect);
  EXPECT_EQ(listRect.top, window.bottom);
  EXPECT_EQ(listRect.bottom - listRect.top, 200 - field);
  // WS_VSCROLL asks for a bar on the list, none on the combo box itself.
  HWND scrolled = CreateCombo(top, CBS_DROPDOWNLIST | WS_VSCROLL, 204, 150);
  RECT client{}, outer{};
  GetClientRect(scrolled, &client);
  GetWindowRect(scrolled, &outer);
  EXPECT_EQ(client.right, outer.right - outer.left);
  for (int i = 0; i < 30; ++i) Add(scrolled, {"item " + std::to_string(i)});
  EXPECT_TRUE(GetWindowLong(ComboBoxListWindow(scrolled), GWL_STYLE) &
              WS_VSCROLL);  // shown once needed
  // Hiding the combo box closes its list.
  SendMessage(scrolled, CB_SHOWDROPDOWN, TRUE, 0);
  ShowWindow(scrolled, SW_HIDE);
  EXPECT_FALSE(SendMessage(scrolled, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(IsWindowVisible(ComboBoxListWindow(scrolled)));
  // The floating list goes with its combo box.
  HWND list = ComboBoxListWindow(combo);
  DestroyWindow(combo);
  EXPECT_FALSE(IsWindow(list));
}

TEST_F(ComboBoxControl, AClickElsewhereClosesTheListAndGoesNoFurther) {
  HWND top = TopWindow();
  HWND target = CreateWindow("TestWindow", "", WS_CHILD | WS_VISIBLE, 200, 120, 60, 40, top,
                             reinterpret_cast<HMENU>(400), nullptr, nullptr);
  HWND combo = CreateCombo(top, CBS_DROPDOWNLIST);
  Add(combo, {"B", "S", "/"});
  SetFocus(combo);
  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  MessageLog().clear();
  Click(target, 10, 10);
  EXPECT_FALSE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(Notifications(top, combo), (std::vector<WORD>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_TRUE(LoggedOf(WM_LBUTTONDOWN).empty());
  // With the list closed, clicks reach their window again.
  Click(target, 10, 10);
  EXPECT_FALSE(LoggedOf(WM_LBUTTONDOWN).empty());
}
