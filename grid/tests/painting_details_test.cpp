// Details of painting seen through the recording DC: the owner-draw hook, substitute text,
// check boxes and list buttons, and how a cell's colours fall through to its row, column
// and grid.
#include "grid/tessel_record.h"
#include "grid/tests/grid_fixture.h"

#include <set>

namespace {

class GridPaintingDetails : public GridTest {
 protected:
  HWND TwoColumnGrid(DWORD style = TSS_OWNERDEF | TSS_HGRID | TSS_VGRID) {
    HWND grid = MakeGrid(style, 400, 200);
    Send(grid, TSM_SETCOLCOUNT, 2);
    Send(grid, TSM_SETCOLTYPE, 0, TST_ZSTRING);
    Send(grid, TSM_SETCOLLEN, 0, 12);
    Send(grid, TSM_SETCOLTYPE, 1, TST_CHECKBOX);
    Send(grid, TSM_SETCOLHEADING, 0, Text("Name"));
    Send(grid, TSM_SETCOLHEADING, 1, Text("Done"));
    return grid;
  }
  static void AddRow(HWND grid, const char* name, int32_t ticked) {
    uint8_t values[16] = {};
    std::strncpy(reinterpret_cast<char*>(values), name, 11);
    std::memcpy(values + 12, &ticked, 4);
    Append(grid, values);
  }
  /* The calls of one full repaint of the grid. */
  static std::vector<GdiDrawRecord> Repaint(HWND grid) {
    UpdateWindow(grid);
    HDC dc = GetDC(grid);
    GdiStartRecording(dc);
    GdiClearRecording(dc);
    InvalidateRect(grid, nullptr, TRUE);
    UpdateWindow(grid);
    std::vector<GdiDrawRecord> calls = GdiRecordedCalls(dc);
    GdiClearRecording(dc);
    ReleaseDC(grid, dc);
    return calls;
  }
  static std::set<std::string> Texts(const std::vector<GdiDrawRecord>& calls) {
    std::set<std::string> texts;
    for (const GdiDrawRecord& call : calls)
      if (call.call == "DrawText") texts.insert(call.text);
    return texts;
  }
  static const GdiDrawRecord* TextCall(const std::vector<GdiDrawRecord>& calls,
                                       const std::string& text) {
    for (const GdiDrawRecord& call : calls)
      if (call.call == "DrawText" && call.text == text) return &call;
    return nullptr;
  }
};

}  // namespace

TEST_F(GridPaintingDetails, AnOwnerThatDrawsTheHeadingsSuppressesThem) {
  NotificationRecorder recorder(parent_);
  HWND grid = TwoColumnGrid();
  AddRow(grid, "Ivy", 0);
  Send(grid, TSM_SETEXSTYLE, 0, TSXS_OWNERDRAW);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.code == TSN_OWNERDRAW && Send(grid, TSM_GETNOTIFYROW) == TSROW_HEADING)
      Send(grid, TSM_SETREPLY, 0, 1);
  });
  std::set<std::string> texts = Texts(Repaint(grid));
  EXPECT_FALSE(texts.count("Name"));
  EXPECT_FALSE(texts.count("Done"));
  EXPECT_TRUE(texts.count("Ivy"));
  recorder.OnCommand(nullptr);
  texts = Texts(Repaint(grid));
  EXPECT_TRUE(texts.count("Name"));
}

TEST_F(GridPaintingDetails, TheSubstituteTextShowsOnlyWhileItIsNotEmpty) {
  HWND grid = TwoColumnGrid();
  AddRow(grid, "Jude", 0);
  Send(grid, TSM_SETCURSOR, 0, 0);
  Send(grid, TSM_SETCELLATTR, 0, 1);
  EXPECT_TRUE(Texts(Repaint(grid)).count("[NULL]"));  // the text after a reset
  Send(grid, TSM_SETSUBSTTEXT, 0, Text(""));
  std::set<std::string> texts = Texts(Repaint(grid));
  EXPECT_TRUE(texts.count("Jude"));
  EXPECT_FALSE(texts.count("[NULL]"));
  Send(grid, TSM_SETSUBSTTEXT, 0, Text("withheld"));
  texts = Texts(Repaint(grid));
  EXPECT_TRUE(texts.count("withheld"));
  EXPECT_FALSE(texts.count("Jude"));
  char back[TS_SUBSTTEXTSIZE];
  Send(grid, TSM_GETSUBSTTEXT, 0, reinterpret_cast<LPARAM>(back));
  EXPECT_STREQ(back, "withheld");
}

TEST_F(GridPaintingDetails, CheckBoxesDrawACrossAndListColumnsAButton) {
  HWND grid = TwoColumnGrid();
  AddRow(grid, "Kai", 1);
  Send(grid, TSM_SETLISTITEMS, 0, Text("Kai\tLee"));
  EXPECT_EQ(Send(grid, TSM_GETLISTITEMSSIZE, 0), 8);
  std::vector<GdiDrawRecord> calls = Repaint(grid);
  SaveWindowScreenshot(grid, std::string(ZARNE_BUILD_DIR) + "/grid_checkbox_list.png");
  RECT box;
  Send(grid, TSM_SETCURSOR, 1, 0);
  ASSERT_EQ(Send(grid, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&box)), 0);
  // The cross: two 2-pixel diagonals inside the 14-pixel box centred in the cell.
  int width = box.right - box.left, height = box.bottom - box.top;
  int x = box.left + (width >= 15 ? (width - 14) / 2 : 0);
  int y = box.top + (height >= 15 ? (height - 14) / 2 : 0);
  int diagonals = 0;
  for (size_t i = 1; i < calls.size(); ++i) {
    const GdiDrawRecord& call = calls[i];
    if (call.call != "LineTo" || call.points.empty()) continue;
    POINT end = call.points.back();
    if ((end.x == x + 10 && end.y == y + 10) || (end.x == x + 4 && end.y == y + 10)) ++diagonals;
  }
  EXPECT_EQ(diagonals, 2);
  // The list button: a grey 14-pixel fill at the right end of the text rectangle.
  RECT cell;
  Send(grid, TSM_SETCURSOR, 0, 0);
  Send(grid, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&cell));
  bool button = false;
  for (const GdiDrawRecord& call : calls)
    if (call.call == "FillRect" && call.rect.right == cell.right - 3 &&
        call.rect.right - call.rect.left == 14 && call.brushColor == RGB(0xC0, 0xC0, 0xC0))
      button = true;
  EXPECT_TRUE(button);
  const GdiDrawRecord* text = TextCall(calls, "Kai");
  ASSERT_NE(text, nullptr);
  EXPECT_LE(text->rect.right, cell.right - 3 - 14);
}

TEST_F(GridPaintingDetails, ACellColourWithTheMarkerFallsThroughToRowColumnAndGrid) {
  HWND grid = TwoColumnGrid();
  AddRow(grid, "Lane", 0);
  AddRow(grid, "Mira", 0);
  TesselColors gridColors{RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 128), RGB(255, 255, 255)};
  Send(grid, TSM_SETCOLORS, 0, reinterpret_cast<LPARAM>(&gridColors));
  TesselColors cell{RGB(0, 0, 255), TSCLR_DEFAULT, TSCLR_DEFAULT, TSCLR_DEFAULT};
  TesselColors row{TSCLR_DEFAULT, RGB(200, 0, 0), TSCLR_DEFAULT, TSCLR_DEFAULT};
  TesselColors column{TSCLR_DEFAULT, RGB(0, 150, 0), TSCLR_DEFAULT, TSCLR_DEFAULT};
  Send(grid, TSM_SETCURSOR, 0, 0);
  Send(grid, TSM_SETCELLCOLORS, 0, reinterpret_cast<LPARAM>(&cell));
  Send(grid, TSM_SETROWCOLORS, 0, reinterpret_cast<LPARAM>(&row));
  Send(grid, TSM_SETCURSOR, 0, 1);
  Send(grid, TSM_SETCELLCOLORS, 0, reinterpret_cast<LPARAM>(&cell));
  Send(grid, TSM_SETCOLCOLORS, 0, reinterpret_cast<LPARAM>(&column));
  std::vector<GdiDrawRecord> calls = Repaint(grid);
  const GdiDrawRecord* lane = TextCall(calls, "Lane");
  const GdiDrawRecord* mira = TextCall(calls, "Mira");
  ASSERT_NE(lane, nullptr);
  ASSERT_NE(mira, nullptr);
  EXPECT_EQ(lane->textColor, RGB(200, 0, 0));  // the row's, before the column's
  EXPECT_EQ(mira->textColor, RGB(0, 150, 0));  // no row record: the column's
  bool blue = false;
  for (const GdiDrawRecord& call : calls)
    blue |= call.call == "FillRect" && call.brushColor == RGB(0, 0, 255);
  EXPECT_TRUE(blue);
  // The check-box column has none of these: the grid's text colour there.
  Send(grid, TSM_RESETCOLCOLORS, 0);
  mira = TextCall(Repaint(grid), "Mira");
  ASSERT_NE(mira, nullptr);
  EXPECT_EQ(mira->textColor, RGB(0, 0, 0));
}

TEST_F(GridPaintingDetails, AVbxGridNotifiesItselfAndHandlersMayDriveAnotherGrid) {
  static std::vector<int> selfCodes;
  selfCodes.clear();
  WNDCLASS vbx{};
  GetClassInfo(nullptr, "Tessel", &vbx);
  static WNDPROC tessel;
  tessel = vbx.lpfnWndProc;
  vbx.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_COMMAND) selfCodes.push_back(HIWORD(wp));
    return tessel(w, m, wp, lp);
  };
  vbx.lpszClassName = "TesselVBX";
  vbx.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  ASSERT_NE(RegisterClass(&vbx), 0);
  HWND self = CreateWindow("TesselVBX", "", WS_CHILD | WS_VISIBLE | TSS_OWNERDEF, 0, 0, 100, 80,
                           parent_, reinterpret_cast<HMENU>(9), nullptr, nullptr);
  ASSERT_NE(self, nullptr);
  ASSERT_FALSE(selfCodes.empty());
  EXPECT_EQ(selfCodes.front(), TSN_CREATED);
  DestroyWindow(self);
  EXPECT_EQ(selfCodes.back(), TSN_DESTROYED);
  UnregisterClass("TesselVBX", nullptr);

  NotificationRecorder recorder(parent_);
  HWND first = MakeDepositGrid();
  HWND second = MakeGrid(TSS_OWNERDEF, 300, 100, 301);
  Send(second, TSM_SETCOLCOUNT, 1);
  Send(second, TSM_SETCOLTYPE, 0, TST_INT4);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.sender != first || command.code != TSN_ROWINSERTED) return;
    int32_t value = static_cast<int32_t>(Send(first, TSM_GETNOTIFYROW));
    Append(second, &value);
    EXPECT_EQ(Send(first, TSM_GETCOLCOUNT), 10);
  });
  DepositRow row = Deposit("Noor", 3, 1);
  Append(first, &row);
  Append(first, &row);
  recorder.OnCommand(nullptr);
  EXPECT_EQ(Send(first, TSM_GETROWCOUNT), 2);
  EXPECT_EQ(Send(second, TSM_GETROWCOUNT), 2);
  EXPECT_EQ(Send(second, TSM_GETCOLCOUNT), 1);
}
