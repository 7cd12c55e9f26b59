/*
** List-box control: sorted inserts, the failure answers for bad indexes, searching, the
** three selection kinds driven by real clicks and keys, and the notifications they send.
*/
#include "platform/user/tests/window_test_fixture.h"

#include "platform/user/listbox_control.h"

#include <algorithm>
#include <string>
#include <vector>

using ListBoxControl = WindowTest;

namespace {

HWND CreateList(HWND parent, DWORD style, int id = 102) {
  return CreateWindow("listbox", "", WS_CHILD | WS_VISIBLE | WS_BORDER | style, 10, 10, 150, 120,
                      parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

void Add(HWND list, const std::vector<std::string>& texts) {
  for (const std::string& text : texts)
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::string> Items(HWND list) {
  std::vector<std::string> texts;
  LRESULT count = SendMessage(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char buffer[256] = {};
    SendMessage(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
    texts.push_back(buffer);
  }
  return texts;
}

std::vector<WORD> Notifications(HWND parent, HWND control) {
  std::vector<WORD> codes;
  for (const auto& m : LoggedOf(WM_COMMAND))
    if (m.hwnd == parent && reinterpret_cast<HWND>(m.lParam) == control)
      codes.push_back(HIWORD(m.wParam));
  return codes;
}

void ClickItem(HWND list, int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  RECT r{};
  ASSERT_EQ(SendMessage(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)), LB_OKAY);
  Click(list, r.left + 5, (r.top + r.bottom) / 2, Qt::LeftButton, modifiers);
}

std::vector<int> SelectedItems(HWND list) {
  std::vector<int> selected(static_cast<size_t>(SendMessage(list, LB_GETCOUNT, 0, 0)));
  LRESULT n =
      SendMessage(list, LB_GETSELITEMS, selected.size(), reinterpret_cast<LPARAM>(selected.data()));
  selected.resize(n < 0 ? 0 : static_cast<size_t>(n));
  return selected;
}

}  // namespace

TEST_F(ListBoxControl, SortedListsInsertWithoutRegardToCaseAndInsertStringKeepsItsPlace) {
  HWND top = TopWindow();
  HWND list = CreateList(top, LBS_SORT);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("delta")), 0);
  EXPECT_EQ(SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Bravo")), 0);
  EXPECT_EQ(SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("alpha")), 0);
  EXPECT_EQ(SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Charlie")), 2);
  EXPECT_EQ(SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("zulu")), 4);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"alpha", "Bravo", "Charlie", "delta", "zulu"}));
  // An explicit place is kept even in a sorted list; -1 appends.
  EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("Yankee")), 1);
  EXPECT_EQ(
      SendMessage(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("echo")),
      6);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"alpha", "Yankee", "Bravo", "Charlie", "delta",
                                                   "zulu", "echo"}));
  EXPECT_EQ(SendMessage(list, LB_GETTEXTLEN, 3, 0), 7);

  HWND plain = CreateList(top, 0, 103);
  Add(plain, {"b", "a", "c"});
  EXPECT_EQ(Items(plain), (std::vector<std::string>{"b", "a", "c"}));
}

TEST_F(ListBoxControl, BadIndexesAnswerLbErrAndChangeNothing) {
  HWND top = TopWindow();
  HWND list = CreateList(top, 0);
  Add(list, {"one", "two", "three"});
  SendMessage(list, LB_SETCURSEL, 1, 0);
  char buffer[32] = "untouched";
  EXPECT_EQ(SendMessage(list, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(SendMessage(list, LB_GETTEXT, 0, 0), LB_ERR);  // no buffer
  EXPECT_EQ(SendMessage(list, LB_GETTEXTLEN, static_cast<WPARAM>(-2), 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 7, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, 4, reinterpret_cast<LPARAM>("x")), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 3, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 3, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_SETITEMDATA, 3, 5), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETSEL, 9, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_SETTOPINDEX, 3, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETITEMRECT, 3, 0), LB_ERR);
  // Multiple-selection requests on a single-selection list.
  EXPECT_EQ(SendMessage(list, LB_SETSEL, TRUE, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETSELITEMS, 3, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
  // -1 removes the selection and still answers LB_ERR, as the platform does.
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ListBoxControl, DeletingAndResettingKeepSelectionAndDataInStep) {
  HWND top = TopWindow();
  HWND list = CreateList(top, 0);
  Add(list, {"a", "b", "c", "d"});
  for (int i = 0; i < 4; ++i) SendMessage(list, LB_SETITEMDATA, i, 100 + i);
  SendMessage(list, LB_SETCURSEL, 2, 0);
  EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 0, 0), 3);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);  // "c" moved up and stays selected
  EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 1, 0), 102);
  SendMessage(list, LB_DELETESTRING, 1, 0);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"b", "d"}));
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ListBoxControl, SearchesMatchPrefixesWithoutCaseAndWrapFromTheStart) {
  HWND top = TopWindow();
  HWND list = CreateList(top, 0);
  Add(list, {"Smith", "smithers", "Jones", "SMITH"});
  auto find = [&](UINT message, int start, const char* text) {
    return SendMessage(list, message, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text));
  };
  EXPECT_EQ(find(LB_FINDSTRING, -1, "smi"), 0);
  EXPECT_EQ(find(LB_FINDSTRING, 0, "smi"), 1);  // after the start
  EXPECT_EQ(find(LB_FINDSTRING, 3, "smi"), 0);  // wraps round
  EXPECT_EQ(find(LB_FINDSTRING, -1, ""), 0);    // an empty text begins every item
  EXPECT_EQ(find(LB_FINDSTRING, -1, "Brown"), LB_ERR);
  EXPECT_EQ(find(LB_FINDSTRINGEXACT, 0, "smith"), 3);
  EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, "smit"), LB_ERR);
  EXPECT_EQ(find(LB_FINDSTRING, 99, "jo"), 2);  // a bad start searches everything
  EXPECT_EQ(find(LB_SELECTSTRING, -1, "JO"), 2);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(find(LB_SELECTSTRING, -1, "nobody"), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
}

TEST_F(ListBoxControl, ClicksAndKeysSelectAndNotifyOnlyWithLbsNotify) {
  HWND top = TopWindow();
  HWND list = CreateList(top, LBS_NOTIFY);
  HWND quiet = CreateList(top, 0, 103);
  Add(list, {"apple", "banana", "cherry", "blueberry"});
  Add(quiet, {"x", "y"});
  MessageLog().clear();
  ClickItem(list, 2);
  EXPECT_EQ(GetFocus(), list);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Notifications(top, list), (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE}));
  MessageLog().clear();
  PressKey(VK_UP);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
  PressKey(VK_END);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 3);
  PressKey(VK_DOWN);  // already last: nothing changes, nothing told
  TypeText("b");      // the next item after the selection that begins with 'b', wrapping
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Notifications(top, list),
            (std::vector<WORD>{LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}));
  // Setting the selection by message tells nobody.
  MessageLog().clear();
  SendMessage(list, LB_SETCURSEL, 0, 0);
  EXPECT_TRUE(Notifications(top, list).empty());
  DoubleClick(list, 5, 5);
  EXPECT_EQ(Notifications(top, list).back(), LBN_DBLCLK);

  MessageLog().clear();
  ClickItem(quiet, 1);
  EXPECT_EQ(SendMessage(quiet, LB_GETCURSEL, 0, 0), 1);
  // Without LBS_NOTIFY only the focus is told.
  EXPECT_EQ(Notifications(top, quiet), std::vector<WORD>{LBN_SETFOCUS});
  EXPECT_EQ(Notifications(top, list), std::vector<WORD>{LBN_KILLFOCUS});
}

TEST_F(ListBoxControl, MultipleSelectionTogglesItemsByClickAndByMessage) {
  HWND top = TopWindow();
  HWND list = CreateList(top, LBS_MULTIPLESEL | LBS_NOTIFY);
  Add(list, {"a", "b", "c", "d", "e"});
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 1, 0), LB_ERR);  // not for multiple selection
  MessageLog().clear();
  ClickItem(list, 1);
  ClickItem(list, 3);
  EXPECT_EQ(SelectedItems(list), (std::vector<int>{1, 3}));
  ClickItem(list, 1);
  EXPECT_EQ(SelectedItems(list), (std::vector<int>{3}));
  std::vector<WORD> codes = Notifications(top, list);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), LBN_SELCHANGE), 3);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);  // the caret item
  PressKey(VK_DOWN);
  PressKey(VK_SPACE);
  EXPECT_EQ(SelectedItems(list), (std::vector<int>{2, 3}));
  EXPECT_EQ(SendMessage(list, LB_SETSEL, TRUE, static_cast<LPARAM>(-1)), LB_OKAY);
  EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), 5);
  SendMessage(list, LB_SELITEMRANGE, FALSE, MAKELPARAM(1, 3));
  EXPECT_EQ(SelectedItems(list), (std::vector<int>{0, 4}));
  EXPECT_EQ(SendMessage(list, LB_SETSEL, TRUE, 5), LB_ERR);
  EXPECT_GT(SendMessage(list, LB_GETSEL, 4, 0), 0);
  EXPECT_EQ(SendMessage(list, LB_GETSEL, 2, 0), 0);
  // Only as many as the caller's array holds.
  int two[2] = {-1, -1};
  SendMessage(list, LB_SETSEL, TRUE, 2);
  EXPECT_EQ(SendMessage(list, LB_GETSELITEMS, 2, reinterpret_cast<LPARAM>(two)), 2);
  EXPECT_EQ(two[0], 0);
  EXPECT_EQ(two[1], 2);
}

TEST_F(ListBoxControl, ExtendedSelectionTakesShiftRangesAndControlToggles) {
  HWND top = TopWindow();
  HWND list = CreateList(top, LBS_EXTENDEDSEL);
  Add(list, {"a", "b", "c", "d", "e", "f"});
  ClickItem(list, 1);
  ClickItem(list, 3, Qt::ShiftModifier);
  EXPECT_EQ(SelectedItems(list), (std::vector<int>{1, 2, 3}));
  ClickItem(list, 5, Qt::ControlModifier);
  EXPECT_EQ(SelectedItems(list), (std::vector<int>{1, 2, 3, 5}));
  ClickItem(list, 2, Qt::ControlModifier);
  EXPECT_EQ(SelectedItems(list), (std::vector<int>{1, 3, 5}));
  ClickItem(list, 4);
  EXPECT_EQ(SelectedItems(list), (std::vector<int>{4}));
  PressKey(VK_DOWN, Qt::ShiftModifier);
  EXPECT_EQ(SelectedItems(list), (std::vector<int>{4, 5}));
  PressKey(VK_HOME);
  EXPECT_EQ(SelectedItems(list), (std::vector<int>{0}));
}

TEST_F(ListBoxControl, ScrollingKeepsTheSelectionInViewAndFollowsTheBar) {
  HWND top = TopWindow();
  HWND list = CreateList(top, WS_VSCROLL);
  for (int i = 0; i < 40; ++i) Add(list, {"item " + std::to_string(i)});
  int height = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
  ASSERT_GT(height, 0);
  RECT client{};
  GetClientRect(list, &client);
  int rows = client.bottom / height;
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 0);
  SendMessage(list, LB_SETCURSEL, 30, 0);
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 30 - rows + 1);
  SCROLLINFO info{sizeof info, SIF_ALL};
  ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
  EXPECT_EQ(info.nMax, 39);
  EXPECT_EQ(info.nPos, 30 - rows + 1);
  SendMessage(list, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 0);
  SendMessage(list, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(GetScrollPos(list, SB_VERT), 1);
  SendMessage(list, LB_SETTOPINDEX, 39, 0);  // the last page stays full
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 40 - rows);
  // A click lands on the item drawn there.
  RECT r{};
  SendMessage(list, LB_GETITEMRECT, 38, reinterpret_cast<LPARAM>(&r));
  Click(list, 5, r.top + 2);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 38);
}

TEST_F(ListBoxControl, AFillWithRoomTakenAndRedrawOffEndsAsOneByOne) {
  HWND top = TopWindow();
  HWND list = CreateList(top, WS_VSCROLL);
  Add(list, {"item 0", "item 1", "item 2"});
  SendMessage(list, LB_SETCURSEL, 2, 0);
  SendMessage(list, WM_SETREDRAW, FALSE, 0);
  EXPECT_GE(SendMessage(list, LB_INITSTORAGE, 37, 37 * 8), 40);
  std::vector<std::string> expected{"item 0", "item 1", "item 2"};
  for (int i = 3; i < 40; ++i) expected.push_back("item " + std::to_string(i));
  Add(list, std::vector<std::string>(expected.begin() + 3, expected.end()));
  SendMessage(list, WM_SETREDRAW, TRUE, 0);
  EXPECT_EQ(Items(list), expected);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
  // The bar, left alone while redraw was off, spans every item once it is back on.
  SCROLLINFO info{sizeof info, SIF_ALL};
  ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
  EXPECT_EQ(info.nMax, 39);
  EXPECT_EQ(info.nPos, 0);
  int height = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
  ASSERT_GT(height, 0);
  RECT client{};
  GetClientRect(list, &client);
  EXPECT_EQ(static_cast<int>(info.nPage), client.bottom / height);
}

namespace {

std::vector<UINT> gFloatingSaw;
WNDPROC gListProc = nullptr;

LRESULT CALLBACK WatchingList(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LBUTTONDOWN || msg == WM_KEYDOWN) gFloatingSaw.push_back(msg);
  return CallWindowProc(gListProc, hwnd, msg, wParam, lParam);
}

}  // namespace

TEST_F(ListBoxControl, ChildOfTheDesktopFloatsWithoutTakingActivationOrFocus) {
  HWND top = TopWindow();
  HWND edit = CreateWindow("edit", "", WS_CHILD | WS_VISIBLE, 10, 10, 80, 20, top,
                           reinterpret_cast<HMENU>(101), nullptr, nullptr);
  SetFocus(edit);
  POINT below{10, 40};
  ClientToScreen(top, &below);
  HWND list = CreateWindow("listbox", "", WS_CHILD | WS_BORDER | WS_VSCROLL, below.x, below.y, 100,
                           80, GetDesktopWindow(), reinterpret_cast<HMENU>(555), nullptr, nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(GetWindowLong(list, GWL_ID), 555);
  Add(list, {"B", "S", "/"});
  gListProc = reinterpret_cast<WNDPROC>(
      SetWindowLong(list, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(WatchingList)));
  gFloatingSaw.clear();
  SetWindowPos(list, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ShowWindow(list, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(list));
  RECT placed{};
  GetWindowRect(list, &placed);
  EXPECT_EQ(placed.left, below.x);
  EXPECT_EQ(placed.top, below.y);
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(GetFocus(), edit);
  ClickItem(list, 1);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(gFloatingSaw, std::vector<UINT>{WM_LBUTTONDOWN});  // the subclass saw the click first
  DestroyWindow(list);
  EXPECT_EQ(GetFocus(), edit);
}
