// Scrolling by the real scroll bar and by messages: the down arrow, a thumb dragged to the
// end of 100,000 rows, every row count from 32,767 to 40,000 at the bar's end, what one
// line down draws, and a top row set to itself drawing nothing.
#include "grid/tests/grid_fixture.h"

#include "platform/testing/synthetic_input.h"

#include <set>
#include <string>

namespace {

class GridScrolling : public GridTest {
 protected:
  /* A grid whose data area holds exactly `rows` whole rows. */
  HWND ExactGrid(int rows, int count) {
    HWND grid = MakeGrid(TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | WS_VSCROLL, 300, 200);
    Send(grid, TSM_SETCOLCOUNT, 2);
    Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
    Send(grid, TSM_SETCOLTYPE, 1, TST_INT4);
    RECT window{}, client{};
    GetWindowRect(grid, &window);
    GetClientRect(grid, &client);
    int frame = (window.bottom - window.top) - client.bottom;
    int height =
        static_cast<int>(Send(grid, TSM_GETMETRIC, 3) + rows * Send(grid, TSM_GETMETRIC, 1));
    SetWindowPos(grid, nullptr, 0, 0, window.right - window.left, height + frame,
                 SWP_NOMOVE | SWP_NOZORDER);
    Grow(grid, 0, count);
    return grid;
  }
  static void Grow(HWND grid, int from, int to) {
    SendMessage(grid, WM_SETREDRAW, FALSE, 0);
    for (int32_t r = from; r < to; ++r) {
      int32_t values[2] = {r, 1000000 + r};
      Append(grid, values);
    }
    SendMessage(grid, WM_SETREDRAW, TRUE, 0);
    UpdateWindow(grid);
  }
  static std::set<std::string> TextsDrawn(HDC dc) {
    std::set<std::string> texts;
    for (const GdiDrawRecord& call : GdiRecordedCalls(dc))
      if (call.call == "DrawText" || call.call == "TextOut" || call.call == "ExtTextOut")
        texts.insert(call.text);
    return texts;
  }
};

}  // namespace

TEST_F(GridScrolling, TheDownArrowAndTheThumbByMouse) {
  HWND grid = ExactGrid(8, 100000);
  RECT window{};
  GetWindowRect(grid, &window);
  int width = window.right - window.left, height = window.bottom - window.top;
  int bar = GetSystemMetrics(SM_CXVSCROLL), arrow = GetSystemMetrics(SM_CYVSCROLL);
  ClickWindowPart(grid, width - bar / 2, height - arrow / 2);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 1);
  // The thumb, just below the up arrow, dragged past the bottom arrow.
  PressWindowPart(grid, width - bar / 2, arrow + 3);
  for (int y = arrow + 20; y < height; y += 20) DragWindowPart(grid, width - bar / 2, y);
  DragWindowPart(grid, width - bar / 2, height - 1);
  ReleaseWindowPart(grid, width - bar / 2, height - 1);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 100000 - 8);
  RECT last{};
  Send(grid, TSM_SETCURSOR, 0, 99999);
  EXPECT_EQ(Send(grid, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&last)), 0);
}

TEST_F(GridScrolling, TheBarsEndShowsTheLastRowForEveryCountFrom32767To40000) {
  HWND grid = ExactGrid(8, 32766);
  int wrong = 0;
  for (int rows = 32767; rows <= 40000; ++rows) {
    int32_t values[2] = {rows - 1, 0};
    Append(grid, values);
    int low = 0, high = 0;
    GetScrollRange(grid, SB_VERT, &low, &high);
    SendMessage(grid, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, high), 0);
    if (Send(grid, TSM_GETTOPROW) != rows - 8) ++wrong;
    if (high > 32767) ++wrong;
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(GridScrolling, OneLineDownDrawsOneRowAndTheSameTopDrawsNothing) {
  HWND grid = ExactGrid(8, 50);
  NotificationRecorder recorder(parent_);
  HDC dc = GetDC(grid);
  GdiStartRecording(dc);
  GdiClearRecording(dc);
  SendMessage(grid, WM_VSCROLL, SB_LINEDOWN, 0);
  UpdateWindow(grid);
  // Rows 1 to 8 show now; only row 8 was uncovered.
  EXPECT_EQ(TextsDrawn(dc), (std::set<std::string>{"8", "1000008"}));
  EXPECT_EQ(recorder.Count(TSN_TOPROWCHANGED), 1);
  GdiClearRecording(dc);
  recorder.Clear();
  EXPECT_EQ(Send(grid, TSM_SETTOPROW, 0, 1), 0);
  UpdateWindow(grid);
  EXPECT_TRUE(GdiRecordedCalls(dc).empty());
  EXPECT_TRUE(recorder.Commands().empty());
  ReleaseDC(grid, dc);
}
