#include "platform/user/tests/window_test_fixture.h"

using Tree = WindowTest;

TEST_F(Tree, ChildrenAreListedInCreationOrderAndZOrderFollowsSetWindowPos) {
  HWND top = TopWindow();
  HWND c1 = ChildWindow(top, 1);
  HWND c2 = ChildWindow(top, 2);
  HWND c3 = ChildWindow(top, 3);
  EXPECT_EQ(GetWindow(top, GW_CHILD), c1);
  EXPECT_EQ(GetWindow(c1, GW_HWNDNEXT), c2);
  EXPECT_EQ(GetWindow(c3, GW_HWNDNEXT), nullptr);
  EXPECT_EQ(GetWindow(c2, GW_HWNDPREV), c1);
  EXPECT_EQ(GetWindow(c2, GW_HWNDLAST), c3);
  ASSERT_TRUE(SetWindowPos(c3, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_EQ(GetWindow(top, GW_CHILD), c3);
  SetWindowPos(c3, c2, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(c2, GW_HWNDNEXT), c3);
  SetWindowPos(c1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(c2, GW_HWNDLAST), c1);
  EXPECT_EQ(GetDlgItem(top, 2), c2);
  EXPECT_EQ(GetDlgItem(top, 99), nullptr);
}

TEST_F(Tree, TopmostWindowsStayAboveOrdinaryOnesWhateverIsActivated) {
  HWND dialog = TopWindow();
  // A floating list as the grid makes it: a topmost child of the desktop over the dialog.
  HWND list = CreateWindowEx(WS_EX_TOPMOST, "TestWindow", "", WS_CHILD | WS_BORDER, 40, 40, 80, 60,
                             GetDesktopWindow(), nullptr, nullptr, nullptr);
  ASSERT_NE(list, nullptr);
  ShowWindow(list, SW_SHOWNA);
  HWND later = TopWindow();  // an ordinary window made afterwards goes below it
  EXPECT_EQ(GetWindow(dialog, GW_HWNDFIRST), list);
  SetActiveWindow(dialog);
  BringWindowToTop(dialog);
  EXPECT_EQ(GetWindow(dialog, GW_HWNDFIRST), list);
  EXPECT_EQ(GetWindow(list, GW_HWNDNEXT), dialog);
  POINT overBoth{50, 50};
  EXPECT_EQ(WindowFromPoint(overBoth), list);
  // Leaving the topmost band puts it among the ordinary windows again.
  SetWindowPos(list, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  BringWindowToTop(later);
  EXPECT_EQ(GetWindow(list, GW_HWNDFIRST), later);
  SetWindowPos(list, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetWindow(later, GW_HWNDFIRST), list);
}

TEST_F(Tree, ParentsOwnersAndEnumeration) {
  HWND top = TopWindow();
  HWND child = ChildWindow(top, 1);
  HWND grandchild = ChildWindow(child, 2);
  HWND popup = CreateWindow("TestWindow", "Popup", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, child,
                            nullptr, nullptr, nullptr);
  EXPECT_EQ(GetParent(child), top);
  EXPECT_EQ(GetParent(top), nullptr);
  EXPECT_EQ(GetParent(popup), top);  // a popup's owner is the top-level ancestor
  EXPECT_EQ(GetWindow(popup, GW_OWNER), top);
  EXPECT_TRUE(IsChild(top, grandchild));
  EXPECT_FALSE(IsChild(grandchild, top));
  EXPECT_FALSE(IsChild(top, popup));
  std::vector<HWND> seen;
  EnumChildWindows(
      top,
      [](HWND h, LPARAM l) {
        reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen, (std::vector<HWND>{child, grandchild}));
  EXPECT_EQ(FindWindow(nullptr, "popup"), popup);
  EXPECT_EQ(FindWindow("TestWindow", "Top"), top);
  EXPECT_EQ(FindWindow("Edit", nullptr), nullptr);
  DestroyWindow(top);  // owned windows go with their owner
  EXPECT_FALSE(IsWindow(popup));
}

TEST_F(Tree, SetParentMovesAChildUnderAnotherWindow) {
  HWND a = TopWindow();
  HWND b = TopWindow();
  HWND child = ChildWindow(a, 7, 5, 6, 20, 20);
  EXPECT_EQ(SetParent(child, b), a);
  EXPECT_EQ(GetParent(child), b);
  EXPECT_EQ(GetWindow(a, GW_CHILD), nullptr);
  EXPECT_EQ(GetDlgItem(b, 7), child);
  EXPECT_EQ(SetParent(b, child), nullptr);  // a window cannot go under its own child
}

TEST_F(Tree, RectanglesAndCoordinateMapping) {
  HWND top = TopWindow(WS_POPUP | WS_VISIBLE, 300, 200);
  SetWindowPos(top, nullptr, 100, 50, 300, 200, SWP_NOZORDER);
  HWND child = ChildWindow(top, 1, 10, 20, 80, 60, WS_CHILD | WS_VISIBLE | WS_BORDER);
  RECT r;
  GetClientRect(child, &r);
  EXPECT_EQ(r.right, 78);  // a one-pixel border on each side
  EXPECT_EQ(r.bottom, 58);
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 110);
  EXPECT_EQ(r.top, 70);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p.x, 111);
  EXPECT_EQ(p.y, 71);
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 11);
  POINT pts[2] = {{0, 0}, {5, 5}};
  MapWindowPoints(child, top, pts, 2);
  EXPECT_EQ(pts[1].x, 16);
  EXPECT_EQ(pts[1].y, 26);
  EXPECT_EQ(WindowFromPoint(POINT{115, 75}), child);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{1, 1}), top);
}

TEST_F(Tree, CaptionBorderAndScrollBarsShrinkTheClientArea) {
  HWND w = CreateWindow("TestWindow", "", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL, 0, 0, 300,
                        200, nullptr, nullptr, nullptr, nullptr);
  RECT r;
  GetClientRect(w, &r);
  int frame = GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(r.right, 300 - 2 * frame - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(r.bottom,
            200 - 2 * frame - GetSystemMetrics(SM_CYCAPTION) - GetSystemMetrics(SM_CYHSCROLL));
}

TEST_F(Tree, MovingAndSizingSendPositionMessagesAndKeepTheRectangle) {
  HWND top = TopWindow();
  HWND child = ChildWindow(top, 1, 0, 0, 100, 50);
  ResetLog();
  ASSERT_TRUE(MoveWindow(child, 10, 15, 120, 40, TRUE));
  EXPECT_EQ(MessagesOf(child, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE,
                               WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE,
                               WM_SIZE}));
  auto sizes = LoggedOf(WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(sizes[0].lParam), 120);
  EXPECT_EQ(HIWORD(sizes[0].lParam), 40);
  ResetLog();
  SetWindowPos(child, nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(MessagesOf(child, {WM_SIZE}).empty());
  EXPECT_EQ(MessagesOf(child, {WM_MOVE}).size(), 1u);
}

TEST_F(Tree, ShowStatesMaximiseMinimiseAndRestore) {
  HWND top = TopWindow(WS_OVERLAPPEDWINDOW);
  HWND child = ChildWindow(top, 1, 5, 5, 100, 80, WS_CHILD | WS_CAPTION | WS_THICKFRAME);
  EXPECT_FALSE(IsWindowVisible(top));
  EXPECT_FALSE(ShowWindow(top, SW_SHOWNORMAL));
  EXPECT_TRUE(IsWindowVisible(top));
  EXPECT_FALSE(IsWindowVisible(child));
  ResetLog();
  ShowWindow(child, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(child));
  RECT parentClient, client;
  GetClientRect(top, &parentClient);
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, parentClient.right);
  EXPECT_EQ(client.bottom, parentClient.bottom);
  auto sizes = LoggedOf(WM_SIZE);
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.back().wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
  EXPECT_EQ(MessagesOf(child, {WM_SHOWWINDOW}).size(), 1u);
  ShowWindow(child, SW_SHOWMINNOACTIVE);
  EXPECT_TRUE(IsIconic(child));
  EXPECT_FALSE(IsZoomed(child));
  ShowWindow(child, SW_RESTORE);
  EXPECT_FALSE(IsIconic(child));
  RECT r;
  GetWindowRect(child, &r);
  POINT origin{r.left, r.top};
  ScreenToClient(top, &origin);
  EXPECT_EQ(origin.x, 5);
  EXPECT_EQ(r.right - r.left, 100);
  EXPECT_TRUE(ShowWindow(child, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(child));
}

TEST_F(Tree, FocusAndActivationMessagesFollowTheWindows) {
  HWND top = TopWindow();
  HWND a = ChildWindow(top, 1);
  HWND b = ChildWindow(top, 2);
  ProcessPendingMessages();
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(GetFocus(), top);  // activation gives the window the focus
  ResetLog();
  EXPECT_EQ(SetFocus(a), top);
  EXPECT_EQ(GetFocus(), a);
  auto kill = LoggedOf(WM_KILLFOCUS);
  ASSERT_EQ(kill.size(), 1u);
  EXPECT_EQ(kill[0].hwnd, top);
  EXPECT_EQ(reinterpret_cast<HWND>(kill[0].wParam), a);
  SetFocus(b);
  auto set = LoggedOf(WM_SETFOCUS);
  ASSERT_EQ(set.size(), 2u);
  EXPECT_EQ(set[1].hwnd, b);
  EXPECT_EQ(reinterpret_cast<HWND>(set[1].wParam), a);
  // Disabling takes the focus away and refuses it afterwards.
  ResetLog();
  EXPECT_FALSE(EnableWindow(b, FALSE));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(MessagesOf(b, {WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE}),
            (std::vector<UINT>{WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE}));
  EXPECT_FALSE(IsWindowEnabled(b));
  EXPECT_EQ(SetFocus(b), nullptr);
  EXPECT_TRUE(EnableWindow(b, TRUE));
  // A second top-level window takes the activation.
  HWND other = TopWindow();
  EXPECT_EQ(GetActiveWindow(), other);
  auto activates = LoggedOf(WM_ACTIVATE);
  ASSERT_GE(activates.size(), 2u);
  EXPECT_EQ(activates[0].hwnd, top);
  EXPECT_EQ(LOWORD(activates[0].wParam), WA_INACTIVE);
  SetActiveWindow(top);
  EXPECT_EQ(GetActiveWindow(), top);
  DestroyWindow(top);
  EXPECT_EQ(GetActiveWindow(), other);
}

TEST_F(Tree, TheControlThatHadTheFocusGetsItBackWhenAnOwnedBoxEnds) {
  HWND top = TopWindow();
  ChildWindow(top, 1);
  HWND field = ChildWindow(top, 2);
  SetFocus(field);
  // A box owned by the window takes the activation and the focus, then goes, as a modal one does.
  HWND box = CreateWindow("TestWindow", "Box", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 100, 50,
                          top, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetActiveWindow(), box);
  EXPECT_EQ(GetFocus(), box);
  DestroyWindow(box);
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(GetFocus(), field);
  // A modal dialog or box disables its owner before it shows, which takes the focus away
  // before the activation moves; enabled again before the box goes, the field still gets it.
  EnableWindow(top, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  box = CreateWindow("TestWindow", "Box", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 100, 50, top,
                     nullptr, nullptr, nullptr);
  EXPECT_EQ(GetActiveWindow(), box);
  EnableWindow(top, TRUE);
  DestroyWindow(box);
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(GetFocus(), field);
}

TEST_F(Tree, TextOfWindowsRoundTripsAndIsTruncatedToTheBuffer) {
  HWND w = TopWindow();
  EXPECT_TRUE(SetWindowText(w, "Zarne - [12345]"));
  EXPECT_EQ(GetWindowTextLength(w), 15);
  char small[6];
  EXPECT_EQ(GetWindowText(w, small, sizeof small), 5);
  EXPECT_STREQ(small, "Zarne");
  EXPECT_EQ(FindWindow(nullptr, "zarne - [12345]"), w);
}
