#include "platform/user/tests/window_test_fixture.h"

#include "platform/testing/synthetic_input.h"

using ScrollBars = WindowTest;

namespace {

std::vector<int> ScrollCodes(UINT message) {
  std::vector<int> codes;
  for (const auto& m : LoggedOf(message)) codes.push_back(LOWORD(m.wParam));
  return codes;
}

/* The window answers each scroll request as a real window does: it moves the thumb. */
MessageHook FollowScrolls(HWND hwnd) {
  return [hwnd](HWND h, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (h != hwnd || msg != WM_VSCROLL) return std::nullopt;
    int pos = GetScrollPos(hwnd, SB_VERT);
    switch (LOWORD(wParam)) {
      case SB_LINEDOWN: pos += 1; break;
      case SB_LINEUP: pos -= 1; break;
      case SB_PAGEDOWN: pos += 10; break;
      case SB_PAGEUP: pos -= 10; break;
      case SB_THUMBPOSITION: pos = HIWORD(wParam); break;
      default: return 0;
    }
    SetScrollPos(hwnd, SB_VERT, pos, TRUE);
    return 0;
  };
}

}  // namespace

TEST_F(ScrollBars, RangeAndPositionAreKeptAndClamped) {
  HWND w = TopWindow(WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 200, 150);
  int lo = -1, hi = -1;
  GetScrollRange(w, SB_VERT, &lo, &hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 100);
  ASSERT_TRUE(SetScrollRange(w, SB_VERT, 0, 139, FALSE));
  EXPECT_EQ(SetScrollPos(w, SB_VERT, 40, TRUE), 0);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 40);
  SetScrollPos(w, SB_VERT, 500, TRUE);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 139);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 20, 0, 0};
  SetScrollInfo(w, SB_VERT, &info, TRUE);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 120);  // the last page fills the bar
  SCROLLINFO back{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &back));
  EXPECT_EQ(back.nMax, 139);
  EXPECT_EQ(back.nPage, 20u);
  EXPECT_EQ(GetScrollPos(reinterpret_cast<HWND>(0x55), SB_VERT), 0);
  EXPECT_FALSE(SetScrollRange(w, SB_CTL, 0, 1, FALSE));  // not a scroll-bar control
}

TEST_F(ScrollBars, AnEmptyRangeHidesTheBarAndTheClientGrows) {
  HWND w = TopWindow(WS_POPUP | WS_VISIBLE | WS_VSCROLL, 200, 150);
  RECT r;
  GetClientRect(w, &r);
  EXPECT_EQ(r.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
  ResetLog();
  SetScrollRange(w, SB_VERT, 0, 0, TRUE);
  EXPECT_FALSE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  GetClientRect(w, &r);
  EXPECT_EQ(r.right, 200);
  auto sizes = LoggedOf(WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(sizes[0].lParam), 200);
  ShowScrollBar(w, SB_VERT, TRUE);
  GetClientRect(w, &r);
  EXPECT_EQ(r.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
}

TEST_F(ScrollBars, ClicksOnTheBarSendEveryScrollCode) {
  HWND w = TopWindow(WS_POPUP | WS_VISIBLE | WS_VSCROLL, 200, 150);
  SetScrollRange(w, SB_VERT, 0, 100, TRUE);
  ProcessPendingMessages();
  Hook() = FollowScrolls(w);
  int barX = 200 - GetSystemMetrics(SM_CXVSCROLL) / 2;
  ClickWindowPart(w, barX, 146);  // the down arrow
  EXPECT_EQ(ScrollCodes(WM_VSCROLL), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 1);
  MessageLog().clear();
  ClickWindowPart(w, barX, 120);  // the trough below the thumb
  EXPECT_EQ(ScrollCodes(WM_VSCROLL), (std::vector<int>{SB_PAGEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 11);
  MessageLog().clear();
  ClickWindowPart(w, barX, 3);  // the up arrow
  EXPECT_EQ(ScrollCodes(WM_VSCROLL), (std::vector<int>{SB_LINEUP, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 10);
  for (const auto& m : LoggedOf(WM_VSCROLL)) EXPECT_EQ(m.lParam, 0);  // a window's own bar
}

TEST_F(ScrollBars, DraggingTheThumbTracksThenSetsThePosition) {
  HWND w = TopWindow(WS_POPUP | WS_VISIBLE | WS_VSCROLL, 200, 150);
  SetScrollRange(w, SB_VERT, 0, 100, TRUE);
  ProcessPendingMessages();
  Hook() = FollowScrolls(w);
  int barX = 200 - GetSystemMetrics(SM_CXVSCROLL) / 2;
  // The thumb sits just below the up arrow at position 0.
  PressWindowPart(w, barX, GetSystemMetrics(SM_CYVSCROLL) + 4);
  DragWindowPart(w, barX, 75);
  ReleaseWindowPart(w, barX, 75);
  std::vector<int> codes = ScrollCodes(WM_VSCROLL);
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(codes[0], SB_THUMBTRACK);
  EXPECT_EQ(codes[codes.size() - 2], SB_THUMBPOSITION);
  EXPECT_EQ(codes.back(), SB_ENDSCROLL);
  int finalPos = HIWORD(LoggedOf(WM_VSCROLL)[codes.size() - 2].wParam);
  EXPECT_GT(finalPos, 30);
  EXPECT_LT(finalPos, 70);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), finalPos);
}

TEST_F(ScrollBars, TheWheelScrollsThreeLinesANotchAndAControlWithoutBarsPassesItToItsParent) {
  HWND w = TopWindow(WS_POPUP | WS_VISIBLE | WS_VSCROLL, 200, 150);
  HWND child = ChildWindow(w, 7, 0, 0, 100, 50);
  SetScrollRange(w, SB_VERT, 0, 100, TRUE);
  ResetLog();
  Hook() = FollowScrolls(w);
  Wheel(child, 10, 10, -1);  // one notch down over the child, which has nothing to scroll
  EXPECT_EQ(ScrollCodes(WM_VSCROLL),
            (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 3);
  Wheel(w, 150, 100, -2);  // two notches down over the window itself: six lines
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 9);
  Wheel(w, 150, 100, 1);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 6);
  // Without a bar that can move, a top-level window leaves the wheel alone.
  SetScrollRange(w, SB_VERT, 0, 0, TRUE);
  MessageLog().clear();
  Wheel(w, 150, 100, -1);
  EXPECT_TRUE(ScrollCodes(WM_VSCROLL).empty());
}
