// Virtual rows against a test owner that answers from a vector and logs every request: the
// requests of a load and of scrolling, the refill notification, the thumb with an open
// count, cell words set while a row is delivered, the last page and far rows, an owner that
// never answers, one that answers garbage and one that empties the grid mid-request.
#include "grid/tests/grid_fixture.h"

#include "platform/testing/synthetic_input.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

struct VirtualOwner {
  int size = 0;
  bool silent = false;
  bool garbage = false;
  std::vector<UINT> log;
  std::function<void(UINT, TesselVirtualRequest*)> during;
};
VirtualOwner* gOwner = nullptr;

bool Deliver(TesselVirtualRequest* block, int key) {
  if (key < 0 || key >= gOwner->size) return false;
  int32_t values[2] = {key, key * 2};
  std::memcpy(block->values, values, sizeof values);
  block->key = gOwner->garbage ? key * 7919 - 1000000 : key;
  block->result = 0;
  return true;
}

LRESULT OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message < TSM_GETROWBYKEY || message > TSM_GETROWAT || !gOwner)
    return DefWindowProc(window, message, wParam, lParam);
  auto* block = reinterpret_cast<TesselVirtualRequest*>(lParam);
  gOwner->log.push_back(message);
  if (gOwner->during) gOwner->during(message, block);
  if (gOwner->silent) return 0;
  int key = block->key;
  switch (message) {
    case TSM_GETFIRSTROW: Deliver(block, 0); break;
    case TSM_GETLASTROW: Deliver(block, gOwner->size - 1); break;
    case TSM_GETNEXTROW: Deliver(block, key + 1); break;
    case TSM_GETPREVROW: Deliver(block, key - 1); break;
    case TSM_GETROWBYKEY: Deliver(block, key); break;
    case TSM_GETROWAT: Deliver(block, gOwner->size * key / 100); break;
    default: break;
  }
  return 0;
}

class GridVirtual : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    gOwner = &owner_;
    WNDCLASS owner{};
    owner.lpfnWndProc = OwnerProc;
    owner.lpszClassName = "VirtualOwner";
    RegisterClass(&owner);
    host_ = CreateWindow("VirtualOwner", "Owner", WS_OVERLAPPED | WS_VISIBLE, 30, 30, 400, 300, nullptr, nullptr,
                         nullptr, nullptr);
  }
  void TearDown() override {
    if (IsWindow(host_)) DestroyWindow(host_);
    UnregisterClass("VirtualOwner", nullptr);
    gOwner = nullptr;
    GridTest::TearDown();
  }
  HWND VirtualGrid() {
    HWND grid = CreateWindow("Tessel", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | TSS_VIRTUALMEM | TSS_OWNERDEF, 10, 10, 300,
                             200, host_, reinterpret_cast<HMENU>(400), nullptr, nullptr);
    Send(grid, TSM_SETCOLCOUNT, 2);
    Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
    Send(grid, TSM_SETCOLTYPE, 1, TST_INT4);
    return grid;
  }
  static int Rows(HWND grid) {
    RECT client{};
    GetClientRect(grid, &client);
    return (client.bottom - static_cast<int>(Send(grid, TSM_GETMETRIC, 3))) / static_cast<int>(Send(grid, TSM_GETMETRIC, 1));
  }
  static int32_t Value(HWND grid, int row) {
    int32_t values[2] = {-1, -1};
    Send(grid, TSM_SETCURSOR, 0, row);
    if (Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(values)) != 0) return -99;
    return values[0];
  }
  int Count(UINT request) const {
    int n = 0;
    for (UINT m : owner_.log) n += m == request;
    return n;
  }

  VirtualOwner owner_;
  HWND host_ = nullptr;
};

}  // namespace

TEST_F(GridVirtual, ALoadAndScrollingAskOnlyForWhatIsMissing) {
  owner_.size = 50;
  HWND grid = VirtualGrid();
  NotificationRecorder recorder(host_);
  int n = Rows(grid);
  ASSERT_GT(n, 3);
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 0, 50), 0);  // a known count loads too
  ASSERT_EQ(owner_.log.size(), static_cast<size_t>(n));
  EXPECT_EQ(owner_.log[0], static_cast<UINT>(TSM_GETFIRSTROW));
  EXPECT_EQ(Count(TSM_GETNEXTROW), n - 1);
  EXPECT_EQ(recorder.Count(TSN_VIRTUALREFILL), 1);
  EXPECT_EQ(Value(grid, n - 1), n - 1);
  EXPECT_EQ(Value(grid, n), -99);  // not buffered
  // Down inside the buffer asks nothing; at its edge exactly one row.
  SetFocus(grid);
  owner_.log.clear();
  recorder.Clear();
  for (int i = 0; i < n - 1; ++i) PressKey(VK_DOWN);
  EXPECT_TRUE(owner_.log.empty());
  EXPECT_EQ(Send(grid, TSM_GETCURROW), n - 1);
  PressKey(VK_DOWN);
  EXPECT_EQ(owner_.log, std::vector<UINT>{TSM_GETNEXTROW});
  EXPECT_EQ(recorder.Count(TSN_VIRTUALREFILL), 1);
  std::vector<int> codes = recorder.Codes(grid);
  auto refill = std::find(codes.begin(), codes.end(), TSN_VIRTUALREFILL);
  auto moved = std::find(codes.begin(), codes.end(), TSN_TOPROWCHANGED);
  EXPECT_TRUE(refill < moved && moved != codes.end());  // the refill is announced before it
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 1);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), n);
  EXPECT_EQ(Value(grid, n), n);
  // Ctrl+End: the last page, the last row at the bottom.
  PressKey(VK_END, Qt::ControlModifier);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 50 - n);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 49);
  // A far row made visible comes in as the bottom row.
  PressKey(VK_HOME, Qt::ControlModifier);
  ASSERT_EQ(Send(grid, TSM_GETTOPROW), 0);
  EXPECT_EQ(Send(grid, TSM_ENSUREVISIBLE, 0, 30), 0);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 30 - n + 1);
  EXPECT_EQ(Value(grid, 30), 30);
}

TEST_F(GridVirtual, AnOpenCountKeepsTheThumbInTheMiddle) {
  owner_.size = 1000;
  HWND grid = VirtualGrid();
  int n = Rows(grid);
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 0, 0), 0);
  EXPECT_EQ(GetScrollPos(grid, SB_VERT), 50);
  SendMessage(grid, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 1);
  EXPECT_EQ(GetScrollPos(grid, SB_VERT), 50);
  SendMessage(grid, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 100), 0);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 1000 - n);
  EXPECT_EQ(Value(grid, 999), 999);
  EXPECT_EQ(GetScrollPos(grid, SB_VERT), 50);
}

TEST_F(GridVirtual, CellWordsSetWhileARowIsDeliveredShowItsSubstituteText) {
  owner_.size = 20;
  HWND grid = VirtualGrid();
  Send(grid, TSM_SETSUBSTTEXT, 0, Text("(held)"));
  owner_.during = [&](UINT request, TesselVirtualRequest* block) {
    if (request == TSM_GETNEXTROW && block->key == 2) Send(grid, TSM_SETFETCHCELLATTR, 1, 1);
  };
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 0, 20), 0);
  Send(grid, TSM_SETCURSOR, 1, 3);
  EXPECT_EQ(Send(grid, TSM_GETCELLATTR, 0), 1);
  Send(grid, TSM_SETCURSOR, 1, 2);
  EXPECT_EQ(Send(grid, TSM_GETCELLATTR, 0), 0);
  HDC dc = GetDC(grid);
  GdiStartRecording(dc);
  GdiClearRecording(dc);
  InvalidateRect(grid, nullptr, TRUE);
  UpdateWindow(grid);
  int held = 0;
  for (const GdiDrawRecord& call : GdiRecordedCalls(dc)) held += call.text == "(held)";
  ReleaseDC(grid, dc);
  EXPECT_EQ(held, 1);
}

TEST_F(GridVirtual, SilentGarbageAndEmptyingOwnersDoNoHarm) {
  owner_.size = 40;
  owner_.silent = true;
  HWND grid = VirtualGrid();
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 0, 40), 0);
  EXPECT_EQ(Value(grid, 0), -99);  // an empty page
  EXPECT_EQ(Send(grid, TSM_SETTOPROW, 0, 5), TSERR_NOSCROLL);
  UpdateWindow(grid);
  // Keys that make no sense: the rows come where the grid asked for them, nothing else.
  owner_.silent = false;
  owner_.garbage = true;
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 0, 40), 0);
  SetFocus(grid);
  for (int i = 0; i < 30; ++i) PressKey(VK_DOWN);
  SendMessage(grid, WM_VSCROLL, SB_PAGEDOWN, 0);
  SendMessage(grid, WM_VSCROLL, SB_BOTTOM, 0);
  UpdateWindow(grid);
  // An owner that deletes every row in the middle of a request.
  owner_.garbage = false;
  owner_.during = [&](UINT request, TesselVirtualRequest*) {
    if (request == TSM_GETNEXTROW) Send(grid, TSM_DELETEALLROWS);
  };
  Send(grid, TSM_SETVIRTUAL, 0, 40);
  UpdateWindow(grid);
  SendMessage(grid, WM_VSCROLL, SB_LINEDOWN, 0);
  UpdateWindow(grid);
  owner_.during = nullptr;
  EXPECT_TRUE(IsWindow(grid));
}

TEST_F(GridVirtual, ATallerGridFetchesTheRowsThatNowFit) {
  owner_.size = 100;
  HWND grid = VirtualGrid();
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 0, 100), 0);
  int n = Rows(grid);
  SendMessage(grid, WM_VSCROLL, SB_LINEDOWN, 0);
  ASSERT_EQ(Send(grid, TSM_GETTOPROW), 1);
  EXPECT_EQ(Value(grid, n + 1), -99);
  RECT window{};
  GetWindowRect(grid, &window);
  int more = 3 * static_cast<int>(Send(grid, TSM_GETMETRIC, 1));
  SetWindowPos(grid, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + more,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Rows(grid), n + 3);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 1);
  EXPECT_EQ(Value(grid, n + 3), n + 3);  // the last row that fits now
  SetWindowPos(grid, nullptr, 0, 0, window.right - window.left, window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Value(grid, n), n);
  EXPECT_EQ(Value(grid, n + 1), -99);  // no longer held
  // A height with part of a row left over is cut back to whole rows.
  SetWindowPos(grid, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + 5, SWP_NOMOVE | SWP_NOZORDER);
  RECT client{};
  GetClientRect(grid, &client);
  EXPECT_EQ((client.bottom - Send(grid, TSM_GETMETRIC, 3)) % Send(grid, TSM_GETMETRIC, 1), 0);
}
