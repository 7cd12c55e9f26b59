/*
** Scroll-bar control: the SBM_* messages keep range, page and position, and real clicks on
** its arrows reach the parent as WM_VSCROLL / WM_HSCROLL carrying the control's handle,
** without the thumb moving until the parent moves it.
*/
#include "platform/user/tests/window_test_fixture.h"

#include "platform/user/scrollbar_control.h"

#include <vector>

using ScrollBarControl = WindowTest;

namespace {

HWND CreateBar(HWND parent, DWORD style, int id, int x, int y, int w, int h) {
  return CreateWindow("scrollbar", "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                      reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

std::vector<WORD> ScrollCodes(HWND parent, UINT message, HWND bar) {
  std::vector<WORD> codes;
  for (const auto& m : LoggedOf(message))
    if (m.hwnd == parent && reinterpret_cast<HWND>(m.lParam) == bar)
      codes.push_back(LOWORD(m.wParam));
  return codes;
}

}  // namespace

TEST_F(ScrollBarControl, MessagesKeepRangePageAndPositionWithinBounds) {
  HWND top = TopWindow();
  HWND bar = CreateBar(top, SBS_VERT, 301, 200, 10, 16, 120);
  ASSERT_NE(bar, nullptr);
  SendMessage(bar, SBM_SETRANGE, 0, 10);
  EXPECT_EQ(SendMessage(bar, SBM_SETPOS, 4, TRUE), 0);  // answers the old position
  EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 4);
  SendMessage(bar, SBM_SETPOS, 40, TRUE);
  EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 10);
  SendMessage(bar, SBM_SETPOS, static_cast<WPARAM>(-3), TRUE);
  EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 0);
  int low = -1, high = -1;
  SendMessage(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 10);
  // With a page the thumb stops where the last page fills the bar.
  SCROLLINFO info{sizeof info, SIF_PAGE | SIF_POS, 0, 0, 4, 9, 0};
  EXPECT_EQ(SendMessage(bar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info)), 7);
  SCROLLINFO read{sizeof read, SIF_ALL};
  SendMessage(bar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&read));
  EXPECT_EQ(read.nPage, 4u);
  EXPECT_EQ(read.nPos, 7);
  EXPECT_EQ(read.nMax, 10);
  // Narrowing the range pulls the position in.
  SendMessage(bar, SBM_SETRANGE, 2, 5);
  EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 2);
}

TEST_F(ScrollBarControl, ArrowClicksTellTheParentWithTheControlsHandle) {
  HWND top = TopWindow();
  HWND vertical = CreateBar(top, SBS_VERT, 301, 200, 10, 16, 120);
  HWND horizontal = CreateBar(top, SBS_HORZ, 302, 10, 150, 150, 16);
  SendMessage(vertical, SBM_SETRANGE, 0, 10);
  SendMessage(horizontal, SBM_SETRANGE, 0, 10);
  MessageLog().clear();
  Click(vertical, 8, 115);  // the down arrow
  EXPECT_EQ(ScrollCodes(top, WM_VSCROLL, vertical), (std::vector<WORD>{SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(SendMessage(vertical, SBM_GETPOS, 0, 0), 0);  // the parent did not move it
  // A parent that answers by moving the thumb.
  Hook() = [vertical](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    if (message == WM_VSCROLL && reinterpret_cast<HWND>(lParam) == vertical &&
        LOWORD(wParam) == SB_LINEDOWN)
      SendMessage(vertical, SBM_SETPOS, SendMessage(vertical, SBM_GETPOS, 0, 0) + 1, TRUE);
    return std::nullopt;
  };
  Click(vertical, 8, 115);
  Click(vertical, 8, 115);
  EXPECT_EQ(SendMessage(vertical, SBM_GETPOS, 0, 0), 2);
  MessageLog().clear();
  Click(horizontal, 3, 8);  // the left arrow
  EXPECT_EQ(ScrollCodes(top, WM_HSCROLL, horizontal), (std::vector<WORD>{SB_LINEUP, SB_ENDSCROLL}));
  EXPECT_TRUE(ScrollCodes(top, WM_VSCROLL, horizontal).empty());
}

TEST_F(ScrollBarControl, KeysAtAFocusedBarBecomeScrollCodes) {
  HWND top = TopWindow();
  HWND bar = CreateBar(top, SBS_HORZ | WS_TABSTOP, 303, 10, 150, 150, 16);
  SendMessage(bar, SBM_SETRANGE, 0, 10);
  SetFocus(bar);
  MessageLog().clear();
  PressKey(VK_RIGHT);
  PressKey(VK_HOME);
  EXPECT_EQ(ScrollCodes(top, WM_HSCROLL, bar),
            (std::vector<WORD>{SB_LINEDOWN, SB_ENDSCROLL, SB_TOP, SB_ENDSCROLL}));
  EXPECT_EQ(SendMessage(bar, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}
