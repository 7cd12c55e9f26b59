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

/* Rows by number (values {row, 2 row}, or {data[row], 2 row} when data is given), or with
   keys given, owner-fetched rows whose keys are those (values {key, 2 key}). */
struct VirtualOwner {
  int size = 0;
  bool silent = false;
  bool garbage = false;
  std::vector<int32_t> data;
  std::vector<int32_t> keys;
  std::vector<UINT> log;
  std::function<void(UINT, TesselVirtualRequest*)> during;
};
VirtualOwner* gOwner = nullptr;

bool Deliver(TesselVirtualRequest* block, int key) {
  int size = gOwner->data.empty() ? gOwner->size : static_cast<int>(gOwner->data.size());
  if (key < 0 || key >= size) return false;
  int32_t values[2] = {gOwner->data.empty() ? key : gOwner->data[key], key * 2};
  std::memcpy(block->values, values, sizeof values);
  block->key = gOwner->garbage ? key * 7919 - 1000000 : key;
  block->result = 0;
  return true;
}

/* The owner-fetch answers: index is the place in keys of the row wanted. */
void DeliverKeyed(TesselVirtualRequest* block, long index) {
  const std::vector<int32_t>& keys = gOwner->keys;
  if (index < 0 || index >= static_cast<long>(keys.size())) return;
  int32_t values[2] = {keys[index], keys[index] * 2};
  std::memcpy(block->values, values, sizeof values);
  block->key = keys[index];
  block->result = 0;
}

void AnswerKeyed(UINT message, TesselVirtualRequest* block) {
  const std::vector<int32_t>& keys = gOwner->keys;
  long at = std::find(keys.begin(), keys.end(), block->key) - keys.begin();
  long count = static_cast<long>(keys.size());
  switch (message) {
    case TSM_GETFIRSTROW: DeliverKeyed(block, 0); break;
    case TSM_GETLASTROW: DeliverKeyed(block, count - 1); break;
    case TSM_GETNEXTROW: DeliverKeyed(block, at < count ? at + 1 : count); break;
    case TSM_GETPREVROW: DeliverKeyed(block, at - 1); break;
    case TSM_GETROWBYKEY: DeliverKeyed(block, at); break;
    case TSM_GETROWAT: DeliverKeyed(block, count * block->key / 100); break;
    default: break;
  }
}

LRESULT OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message < TSM_GETROWBYKEY || message > TSM_GETROWAT || !gOwner)
    return DefWindowProc(window, message, wParam, lParam);
  auto* block = reinterpret_cast<TesselVirtualRequest*>(lParam);
  gOwner->log.push_back(message);
  if (gOwner->during) gOwner->during(message, block);
  if (gOwner->silent) return 0;
  if (!gOwner->keys.empty()) {
    AnswerKeyed(message, block);
    return 0;
  }
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
    host_ = CreateWindow("VirtualOwner", "Owner", WS_OVERLAPPED | WS_VISIBLE, 30, 30, 400, 300,
                         nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    if (IsWindow(host_)) DestroyWindow(host_);
    UnregisterClass("VirtualOwner", nullptr);
    gOwner = nullptr;
    GridTest::TearDown();
  }
  HWND VirtualGrid(DWORD extra = 0) {
    HWND grid = CreateWindow(
        "Tessel", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | TSS_VIRTUALMEM | TSS_OWNERDEF | extra,
        10, 10, 300, 200, host_, reinterpret_cast<HMENU>(400), nullptr, nullptr);
    Send(grid, TSM_SETCOLCOUNT, 2);
    Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
    Send(grid, TSM_SETCOLTYPE, 1, TST_INT4);
    return grid;
  }
  static int Rows(HWND grid) {
    RECT client{};
    GetClientRect(grid, &client);
    return (client.bottom - static_cast<int>(Send(grid, TSM_GETMETRIC, 3))) /
           static_cast<int>(Send(grid, TSM_GETMETRIC, 1));
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
  SetWindowPos(grid, nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Value(grid, n), n);
  EXPECT_EQ(Value(grid, n + 1), -99);  // no longer held
  // A height with part of a row left over is cut back to whole rows.
  SetWindowPos(grid, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + 5,
               SWP_NOMOVE | SWP_NOZORDER);
  RECT client{};
  GetClientRect(grid, &client);
  EXPECT_EQ((client.bottom - Send(grid, TSM_GETMETRIC, 3)) % Send(grid, TSM_GETMETRIC, 1), 0);
}

namespace {

/* The texts a full repaint of the grid draws, and its focus rectangles. */
struct Repaint {
  std::vector<std::string> texts;
  std::vector<RECT> focus;
  int Count(const std::string& text) const {
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
  }
};

Repaint RepaintOf(HWND grid) {
  HDC dc = GetDC(grid);
  GdiStartRecording(dc);
  GdiClearRecording(dc);
  InvalidateRect(grid, nullptr, TRUE);
  UpdateWindow(grid);
  Repaint repaint;
  for (const GdiDrawRecord& call : GdiRecordedCalls(dc)) {
    if (call.call == "DrawFocusRect") repaint.focus.push_back(call.rect);
    else if (!call.text.empty()) repaint.texts.push_back(call.text);
  }
  ReleaseDC(grid, dc);
  return repaint;
}

}  // namespace

// The owner stores first, then tells the grid, as an owner of a table would.
TEST_F(GridVirtual, RowsInsertedDeletedMovedAndCopiedInTheBuffer) {
  for (int32_t i = 0; i < 20; ++i) owner_.data.push_back(100 + i);
  HWND grid = VirtualGrid();
  int n = Rows(grid);
  ASSERT_GE(n, 7);
  ASSERT_LT(n, 19);
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 0, 20), 0);
  NotificationRecorder recorder(host_);
  // Inserted at a buffered row: the rows below move down a slot, the last falls out, and
  // the owner is asked nothing.
  owner_.data.insert(owner_.data.begin() + 2, 555);
  owner_.log.clear();
  int32_t values[2] = {555, 0};
  Send(grid, TSM_SETCURSOR, 0, 2);
  EXPECT_EQ(Send(grid, TSM_INSERTROW, 0, reinterpret_cast<LPARAM>(values)), 2);
  EXPECT_TRUE(owner_.log.empty());
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 21);
  EXPECT_EQ(Value(grid, 2), 555);
  EXPECT_EQ(Value(grid, 3), 102);
  EXPECT_EQ(Value(grid, n - 1), 100 + n - 2);
  EXPECT_EQ(Value(grid, n), -99);
  EXPECT_EQ(recorder.Count(TSN_ROWINSERTING), 1);
  EXPECT_EQ(recorder.Count(TSN_ROWINSERTED), 1);
  // The buffered rows were renumbered: the next row asked for is the owner's row n.
  SendMessage(grid, WM_VSCROLL, SB_LINEDOWN, 0);
  ASSERT_EQ(Send(grid, TSM_GETTOPROW), 1);
  EXPECT_EQ(Value(grid, n), owner_.data[n]);
  // Deleted: the later rows move up and the freed last slot is asked of the owner.
  owner_.data.erase(owner_.data.begin() + 3);
  owner_.log.clear();
  recorder.Clear();
  Send(grid, TSM_SETCURSOR, 0, 3);
  EXPECT_EQ(Send(grid, TSM_DELETEROW, 0), 0);
  EXPECT_EQ(owner_.log, std::vector<UINT>{TSM_GETNEXTROW});
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 20);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 1);
  EXPECT_EQ(Value(grid, 3), 103);
  EXPECT_EQ(Value(grid, n), 100 + n);
  EXPECT_EQ(Value(grid, n + 1), -99);
  EXPECT_EQ(recorder.Codes(grid), (std::vector<int>{TSN_ROWDELETING, TSN_ROWDELETED}));
  // Rows 1..5 hold 101 555 103 104 105. Moved before row 5, 555 ends as row 4; the count
  // stays, and the slot the move freed is the one row asked for.
  owner_.log.clear();
  Send(grid, TSM_SETCURSOR, 0, 2);
  EXPECT_EQ(Send(grid, TSM_MOVEROW, 0, 5), 0);
  EXPECT_EQ(owner_.log, std::vector<UINT>{TSM_GETNEXTROW});
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 20);
  std::vector<int32_t> shown;
  for (int r = 1; r <= 5; ++r) shown.push_back(Value(grid, r));
  EXPECT_EQ(shown, (std::vector<int32_t>{101, 103, 104, 555, 105}));
  // Copied to row 1: 555 101 103 104 555, one row more.
  Send(grid, TSM_SETCURSOR, 0, 4);
  EXPECT_EQ(Send(grid, TSM_COPYROW, 0, 1), 0);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 21);
  shown.clear();
  for (int r = 1; r <= 5; ++r) shown.push_back(Value(grid, r));
  EXPECT_EQ(shown, (std::vector<int32_t>{555, 101, 103, 104, 555}));
}

TEST_F(GridVirtual, AppendingAfterAFullPageAndRemovingTheOnlyRow) {
  for (int32_t i = 0; i < 30; ++i) owner_.data.push_back(100 + i);
  HWND grid = VirtualGrid();
  int n = Rows(grid);
  ASSERT_LT(n, 29);
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 0, 30), 0);
  // Appended from the top of the list: the last page comes in and moves on by one, so the
  // new row shows at the bottom.
  owner_.data.push_back(777);
  int32_t values[2] = {777, 0};
  Send(grid, TSM_SETCURSOR, 0, TSROW_APPEND);
  EXPECT_EQ(Send(grid, TSM_INSERTROW, 0, reinterpret_cast<LPARAM>(values)), 30);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 31);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 31 - n);
  EXPECT_EQ(Value(grid, 30), 777);
  EXPECT_EQ(Value(grid, 29), 129);
  EXPECT_EQ(Value(grid, 31 - n), 100 + 31 - n);
  // An owner with one row: deleting it asks for the row before it, and there is none.
  owner_.data = {100};
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 0, 1), 0);
  owner_.data.clear();
  owner_.log.clear();
  Send(grid, TSM_SETCURSOR, 0, 0);
  EXPECT_EQ(Send(grid, TSM_DELETEROW, 0), 0);
  EXPECT_EQ(owner_.log, std::vector<UINT>{TSM_GETPREVROW});
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 0);
  UpdateWindow(grid);
  // Into no rows at all: the new row is row 0, alone at the top.
  owner_.data = {888};
  int32_t first[2] = {888, 0};
  Send(grid, TSM_SETCURSOR, 0, TSROW_APPEND);
  EXPECT_EQ(Send(grid, TSM_INSERTROW, 0, reinterpret_cast<LPARAM>(first)), 0);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 1);
  EXPECT_EQ(Send(grid, TSM_GETTOPROW), 0);
  EXPECT_EQ(Value(grid, 0), 888);
}

TEST_F(GridVirtual, OwnerFetchedRowsPaintByTheirKeys) {
  // Keys 0, 3, 6, ...: values {3k, 6k}, row labels 3k + 1 (never a multiple of three).
  for (int32_t k = 0; k < 40; ++k) owner_.keys.push_back(3 * k);
  HWND grid = VirtualGrid(TSS_ROWNUMBERS);
  int n = Rows(grid);
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 1, 0), 0);
  std::vector<int> notified;
  NotificationRecorder recorder(host_);
  recorder.OnCommand([&](const RecordedCommand& command) {
    int row = static_cast<int>(Send(grid, TSM_GETNOTIFYROW));
    if (command.code == TSN_OWNERDRAW && Send(grid, TSM_GETNOTIFYCOL) == 0 && row != TSROW_HEADING)
      notified.push_back(row);
  });
  Send(grid, TSM_SETEXSTYLE, 0, TSXS_OWNERDRAW);
  SetFocus(grid);
  UpdateWindow(grid);
  notified.clear();
  Repaint repaint = RepaintOf(grid);
  recorder.OnCommand(nullptr);
  SaveWindowScreenshot(grid, std::string(ZARNE_BUILD_DIR) + "/grid_virtual_owner_fetch.png");
  std::vector<int> keys;
  for (int k = 0; k < n; ++k) {
    keys.push_back(3 * k);
    EXPECT_EQ(repaint.Count(std::to_string(3 * k + 1)), 1) << "label of key " << 3 * k;
    EXPECT_GE(repaint.Count(std::to_string(3 * k)), 1) << "value of key " << 3 * k;
  }
  EXPECT_EQ(notified, keys);  // the owner-draw hook hears the key of each row
  // The current row 0 is key 0, at the top: one focus rectangle there. Scrolled on, key 0
  // is no longer held and no focus rectangle is drawn.
  ASSERT_EQ(repaint.focus.size(), 1u);
  EXPECT_EQ(repaint.focus[0].top, Send(grid, TSM_GETMETRIC, 3));
  SendMessage(grid, WM_VSCROLL, SB_LINEDOWN, 0);
  Repaint scrolled = RepaintOf(grid);
  EXPECT_TRUE(scrolled.focus.empty());
  EXPECT_EQ(scrolled.Count("1"), 0);
  EXPECT_EQ(scrolled.Count(std::to_string(3 * n + 1)), 1);
}

TEST_F(GridVirtual, OwnersMayEmptyOrDestroyTheGridWhileADeleteRefills) {
  for (int32_t i = 0; i < 20; ++i) owner_.data.push_back(100 + i);
  HWND grid = VirtualGrid();
  ASSERT_LT(Rows(grid), 15);
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 0, 20), 0);
  Send(grid, TSM_SETCURSOR, 0, 15);  // a row of the count, not buffered
  int32_t values[2] = {0, 0};
  EXPECT_EQ(Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(values)), TSERR_NOROW);
  owner_.during = [&](UINT request, TesselVirtualRequest*) {
    if (request == TSM_GETNEXTROW) Send(grid, TSM_DELETEALLROWS);
  };
  Send(grid, TSM_SETCURSOR, 0, 1);
  Send(grid, TSM_DELETEROW, 0);
  UpdateWindow(grid);
  EXPECT_TRUE(IsWindow(grid));
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 0);
  owner_.during = nullptr;
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 0, 20), 0);
  owner_.during = [&](UINT request, TesselVirtualRequest*) {
    if (request == TSM_GETNEXTROW) DestroyWindow(grid);
  };
  Send(grid, TSM_SETCURSOR, 0, 1);
  Send(grid, TSM_DELETEROW, 0);
  owner_.during = nullptr;
  EXPECT_FALSE(IsWindow(grid));
}

TEST_F(GridVirtual, UpAndDownStepThroughOwnerFetchedKeysThatDoNotFollowEachOther) {
  for (int32_t k = 0; k < 40; ++k) owner_.keys.push_back(3 * k);
  HWND grid = VirtualGrid();
  int n = Rows(grid);
  ASSERT_EQ(Send(grid, TSM_SETVIRTUAL, 1, 0), 0);
  SetFocus(grid);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 6);
  EXPECT_EQ(Value(grid, 6), 6);
  // To the bottom place, then one more: the buffer moves on by one row.
  for (int i = 2; i < n - 1; ++i) PressKey(VK_DOWN);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 3 * (n - 1));
  owner_.log.clear();
  PressKey(VK_DOWN);
  EXPECT_EQ(owner_.log, std::vector<UINT>{TSM_GETNEXTROW});
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 3 * n);
  EXPECT_EQ(Value(grid, 3 * n), 3 * n);
  EXPECT_EQ(Value(grid, 0), -99);
  // Back up past the top place: key 0 comes in again.
  for (int i = 0; i < n; ++i) PressKey(VK_UP);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 0);
  EXPECT_EQ(Value(grid, 0), 0);
  // Page Down lands on the key at the top of the next page.
  PressKey(VK_NEXT);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 3 * n);
}
