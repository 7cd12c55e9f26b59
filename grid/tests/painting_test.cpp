// Painting the deposit grid: a screenshot looked at, pixels of its lines, text and
// headings, the recorded drawing calls, and the vertical scroll bar's range.
#include "grid/tests/grid_fixture.h"

#include <QColor>
#include <QImage>

#include <set>

using GridPainting = GridTest;

namespace {

void FillDeposits(HWND grid, int count) {
  const char* names[] = {"Avery Title", "Blake Escrow", "Casey Lender", "Drew Realty",
                         "Ellis Bank"};
  for (int i = 0; i < count; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "%s %d", names[i % 5], i + 1);
    DepositRow row{};
    std::strcpy(row.depositor, name);
    row.amount = 1000.0 * (i + 1) + 0.25 * i;
    row.number = i;
    SendMessage(grid, TSM_SETCURSOR, 0, TSROW_APPEND);
    SendMessage(grid, TSM_INSERTROW, 0, reinterpret_cast<LPARAM>(&row));
  }
}

void SetDepositColors(HWND grid) {
  COLORREF colors[4] = {RGB(255, 255, 255), RGB(0, 128, 0), RGB(0, 128, 0), RGB(255, 255, 255)};
  SendMessage(grid, TSM_SETCOLORS, 0, reinterpret_cast<LPARAM>(colors));
}

bool HasPixel(const QImage& image, QRgb wanted, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF)) return true;
  return false;
}

}  // namespace

TEST_F(GridPainting, TheDepositGridShowsItsRowsLinesAndHeadings) {
  HWND grid = MakeDepositGrid(420, 300);
  SendMessage(grid, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  SetDepositColors(grid);
  FillDeposits(grid, 20);
  UpdateWindow(grid);
  std::string shot = std::string(ZARNE_BUILD_DIR) + "/grid_deposit.png";
  ASSERT_TRUE(SaveWindowScreenshot(grid, shot));
  QImage image = GrabWindow(grid);
  RECT client;
  GetClientRect(grid, &client);
  int heading = static_cast<int>(Send(grid, TSM_GETMETRIC, 3));
  int rowHeight = static_cast<int>(Send(grid, TSM_GETMETRIC, 1));
  ASSERT_GT(heading, 0);
  ASSERT_GT(rowHeight, 0);
  QPoint origin(0, 0);
  if (image.width() > client.right)
    origin = QPoint((image.width() - client.right) / 2, (image.height() - client.bottom) / 2);
  // The bottom line of the first row in the grid-line colour.
  int lineY = origin.y() + heading + rowHeight - 1;
  EXPECT_TRUE(HasPixel(image, qRgb(0xC0, 0xC0, 0xC0), QRect(origin.x() + 20, lineY, 100, 1)));
  // Dark-green text in the first row.
  EXPECT_TRUE(HasPixel(image, qRgb(0, 128, 0),
                       QRect(origin.x() + 2, origin.y() + heading, 150, rowHeight - 1)));
  // Grey heading buttons with a white top edge and a dark shadow.
  EXPECT_TRUE(
      HasPixel(image, qRgb(0xC0, 0xC0, 0xC0), QRect(origin.x() + 30, origin.y() + 3, 10, 2)));
  EXPECT_TRUE(HasPixel(image, qRgb(255, 255, 255), QRect(origin.x() + 30, origin.y(), 10, 1)));
  EXPECT_TRUE(HasPixel(image, qRgb(0x80, 0x80, 0x80),
                       QRect(origin.x() + 30, origin.y() + heading - 3, 10, 2)));
}

TEST_F(GridPainting, AmountsAreDrawnRightAlignedAndHiddenColumnsNotAtAll) {
  HWND grid = MakeDepositGrid(420, 300);
  SetDepositColors(grid);
  FillDeposits(grid, 3);
  UpdateWindow(grid);
  HDC dc = GetDC(grid);
  ASSERT_TRUE(GdiStartRecording(dc));
  InvalidateRect(grid, nullptr, TRUE);
  UpdateWindow(grid);
  std::vector<GdiDrawRecord> calls = GdiRecordedCalls(dc);
  std::set<std::string> texts;
  bool amountRight = false;
  for (const GdiDrawRecord& call : calls) {
    if (call.call != "DrawText") continue;
    texts.insert(call.text);
    if (call.text == "2,000.25") amountRight = (call.flags & DT_RIGHT) != 0;
  }
  EXPECT_TRUE(texts.count("1,000.00"));
  EXPECT_TRUE(texts.count("3,000.50"));
  EXPECT_TRUE(amountRight);
  EXPECT_TRUE(texts.count("Avery Title 1"));
  EXPECT_TRUE(texts.count("Depositor"));
  EXPECT_FALSE(texts.count("F-100"));
  EXPECT_FALSE(texts.count("Earnest money"));
  // After invalidating one cell only that cell is drawn again.
  UpdateWindow(grid);
  GdiClearRecording(dc);
  EXPECT_EQ(Send(grid, TSM_INVALIDATECELL, 1, 1), 0);
  UpdateWindow(grid);
  texts.clear();
  for (const GdiDrawRecord& call : GdiRecordedCalls(dc))
    if (call.call == "DrawText") texts.insert(call.text);
  EXPECT_TRUE(texts.count("2,000.25"));
  EXPECT_FALSE(texts.count("1,000.00"));
  EXPECT_FALSE(texts.count("Avery Title 1"));
  ReleaseDC(grid, dc);
}

TEST_F(GridPainting, TheVerticalRangeFollowsTheRowsAndHidesWhenAllFit) {
  HWND grid = MakeDepositGrid(420, 200);
  FillDeposits(grid, 50);
  int heading = static_cast<int>(Send(grid, TSM_GETMETRIC, 3));
  int rowHeight = static_cast<int>(Send(grid, TSM_GETMETRIC, 1));
  RECT client;
  GetClientRect(grid, &client);
  // The largest useful top row is the row count less the rows that fit whole.
  int fit = (client.bottom - heading) / rowHeight;
  int low = -1, high = -1;
  GetScrollRange(grid, SB_VERT, &low, &high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 50 - fit);
  while (Send(grid, TSM_GETROWCOUNT) > fit) {
    Send(grid, TSM_SETCURSOR, 0, 0);
    Send(grid, TSM_DELETEROW, 0);
  }
  GetScrollRange(grid, SB_VERT, &low, &high);
  EXPECT_EQ(high, 0);
}

TEST_F(GridPainting, AHundredThousandRowsKeepTheRangeWithinSixteenBits) {
  HWND grid = MakeGrid(TSS_OWNERDEF | WS_VSCROLL, 300, 200);
  Send(grid, TSM_SETCOLCOUNT, 1);
  Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
  SendMessage(grid, WM_SETREDRAW, FALSE, 0);
  for (int32_t i = 0; i < 100000; ++i) Append(grid, &i);
  SendMessage(grid, WM_SETREDRAW, TRUE, 0);
  int heading = static_cast<int>(Send(grid, TSM_GETMETRIC, 3));
  int rowHeight = static_cast<int>(Send(grid, TSM_GETMETRIC, 1));
  RECT client;
  GetClientRect(grid, &client);
  // m = 100,000 less the rows that fit; the scale m / 32,767 + 1 divides it into range.
  long m = 100000 - (client.bottom - heading) / rowHeight;
  long scale = m / 32767 + 1;
  int low = -1, high = -1;
  GetScrollRange(grid, SB_VERT, &low, &high);
  EXPECT_EQ(high, m / scale);
  EXPECT_LE(high, 32767);
  // The last top row puts the thumb at the end of the bar.
  Send(grid, TSM_SETCURSOR, 0, 0);
  EXPECT_EQ(GetScrollPos(grid, SB_VERT), 0);
}

TEST_F(GridPainting, TheParentsListBrushPaintsWhileTheGridHasNoColours) {
  HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
  WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtr(parent_, GWL_WNDPROC));
  static WNDPROC sOriginal;
  static HBRUSH sYellow;
  sOriginal = original;
  sYellow = yellow;
  SetWindowLongPtr(parent_, GWL_WNDPROC,
                   reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
                     if (m == WM_CTLCOLORLISTBOX) {
                       SetBkColor(reinterpret_cast<HDC>(wp), RGB(255, 255, 0));
                       return reinterpret_cast<LRESULT>(sYellow);
                     }
                     return CallWindowProc(sOriginal, w, m, wp, lp);
                   }));
  HWND grid = MakeDepositGrid(300, 200);
  FillDeposits(grid, 2);
  UpdateWindow(grid);
  QImage image = GrabWindow(grid);
  EXPECT_TRUE(
      HasPixel(image, qRgb(255, 255, 0), QRect(image.width() / 2, image.height() - 20, 10, 5)));
  SetWindowLongPtr(parent_, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  DestroyWindow(grid);
  DeleteObject(yellow);
}
