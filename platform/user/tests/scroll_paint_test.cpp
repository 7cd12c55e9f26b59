/*
** Scrolling a window while part of it still waits to be painted: after the scroll and the
** paint that follows, the window must show exactly what a full repaint of the same content
** shows. The window draws a document of coloured, labelled cells under a fixed heading, the
** way a grid or a report view does; a test changes some cells, invalidates them, scrolls,
** and compares the screenshot with one taken after repainting everything. The same holds when
** a child control that lay over changed cells is hidden, moved, resized or destroyed.
*/
#include "platform/user/tests/window_test_fixture.h"

#include "platform/gdi/gdi.h"
#include "platform/testing/screenshot.h"

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kCellWidth = 40;
constexpr int kCellHeight = 16;
constexpr int kWidth = 200;
constexpr int kHeight = 160;

/* The document: which cell shows at a client point depends only on the origin. */
struct Document {
  int originX = 0;
  int originY = 0;
  int heading = 0;                           // rows of pixels at the top that never scroll
  std::map<std::pair<int, int>, int> edits;  // (column, row) -> how often it changed

  RECT CellRect(int column, int row) const {
    int x = column * kCellWidth - originX;
    int y = heading + row * kCellHeight - originY;
    return RECT{x, y, x + kCellWidth, y + kCellHeight};
  }
  void Change(HWND hwnd, int column, int row) {
    edits[{column, row}]++;
    RECT r = CellRect(column, row);
    InvalidateRect(hwnd, &r, FALSE);
  }
};

COLORREF CellColour(int column, int row, int edits) {
  return RGB((column * 53 + edits * 101) % 256, (row * 29) % 256,
             (column * row * 7 + edits * 60) % 256);
}

void PaintDocument(const Document& doc, HDC dc, const RECT& area) {
  int firstColumn = (area.left + doc.originX) / kCellWidth;
  int firstRow = std::max(0, (area.top - doc.heading + doc.originY) / kCellHeight);
  SetBkMode(dc, TRANSPARENT);
  for (int row = firstRow;; ++row) {
    if (doc.CellRect(0, row).top >= area.bottom) break;
    for (int column = firstColumn;; ++column) {
      RECT cell = doc.CellRect(column, row);
      if (cell.left >= area.right) break;
      auto edit = doc.edits.find({column, row});
      HBRUSH brush =
          CreateSolidBrush(CellColour(column, row, edit == doc.edits.end() ? 0 : edit->second));
      FillRect(dc, &cell, brush);
      DeleteObject(brush);
      char label[16];
      int length = std::snprintf(label, sizeof label, "%d:%d", column, row);
      // Clipped to the cell: text that spilled over its edge would make the picture depend on
      // the order in which parts are painted.
      ExtTextOutA(dc, cell.left + 2, cell.top + 1, ETO_CLIPPED, &cell, label, length, nullptr);
    }
  }
  if (doc.heading > 0 && area.top < doc.heading) {
    RECT heading{0, 0, kWidth, doc.heading};
    FillRect(dc, &heading, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    ExtTextOutA(dc, 2 - doc.originX, 1, ETO_CLIPPED, &heading, "Heading", 7, nullptr);
  }
}

class ScrollPaint : public WindowTest {
 protected:
  Document doc;
  HWND window = nullptr;

  void Open(int heading) {
    doc.heading = heading;
    Hook() = [this](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (msg != WM_PAINT || hwnd != window) return std::nullopt;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintDocument(doc, dc, ps.rcPaint);
      EndPaint(hwnd, &ps);
      return 0;
    };
    window = TopWindow(WS_POPUP | WS_VISIBLE, kWidth, kHeight);
    UpdateWindow(window);
    ProcessPendingMessages();
  }

  /* What the window shows when everything is painted afresh. */
  QImage FullRepaint() {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    return GrabWindow(window);
  }

  /* The number of pixels that differ, and the first of them for the message. */
  std::string Differences(const QImage& shown, const QImage& expected) {
    if (shown.size() != expected.size()) return "sizes differ";
    int count = 0;
    std::string first;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x)
        if (shown.pixel(x, y) != expected.pixel(x, y) && count++ == 0)
          first = " first at (" + std::to_string(x) + "," + std::to_string(y) + ")";
    return count == 0 ? "" : std::to_string(count) + " pixels differ," + first;
  }

  void ExpectSameAsFullRepaint(const char* what) {
    UpdateWindow(window);
    QImage shown = GrabWindow(window);
    QImage expected = FullRepaint();
    EXPECT_EQ(Differences(shown, expected), "") << what;
  }
};

}  // namespace

TEST_F(ScrollPaint, WholeWindowScrollsWithChangedCellsStillUnpaintedShowWhatAFullRepaintShows) {
  Open(0);
  // Down a row: a changed cell that stays in view, one that scrolls off, one in the last row.
  doc.Change(window, 1, 3);
  doc.Change(window, 2, 0);
  doc.Change(window, 4, 9);
  doc.originY += kCellHeight;
  ScrollWindow(window, 0, -kCellHeight, nullptr, nullptr);
  ExpectSameAsFullRepaint("one row down");
  // Back up by two rows and a part of a row, so the moved update region falls between rows.
  doc.Change(window, 0, 5);
  doc.originY -= kCellHeight + 10;
  ScrollWindow(window, 0, kCellHeight + 10, nullptr, nullptr);
  ExpectSameAsFullRepaint("up by 26 pixels");
  // Sideways, with a changed cell at the left edge that leaves the window.
  doc.Change(window, 0, 2);
  doc.Change(window, 3, 4);
  doc.originX += kCellWidth;
  ScrollWindow(window, -kCellWidth, 0, nullptr, nullptr);
  ExpectSameAsFullRepaint("one column right");
  // Both directions at once.
  doc.Change(window, 2, 6);
  doc.originX -= 15;
  doc.originY += 7;
  ScrollWindow(window, 15, -7, nullptr, nullptr);
  ExpectSameAsFullRepaint("diagonal");
}

TEST_F(ScrollPaint, ABandBelowAFixedHeadingScrollsWithItsPendingPaintAndLeavesTheHeadingAlone) {
  Open(kCellHeight);
  RECT band{0, kCellHeight, kWidth, kHeight};
  // The current row moves from the last visible row to the next one, then the band scrolls
  // by a row: the two changed rows must both show their new look.
  int lastVisible = (kHeight - kCellHeight) / kCellHeight - 1;
  for (int column = 0; column < 5; ++column) {
    doc.Change(window, column, lastVisible);
    doc.Change(window, column, lastVisible + 1);
  }
  doc.originY += kCellHeight;
  ScrollWindow(window, 0, -kCellHeight, &band, &band);
  UpdateWindow(window);
  SaveWindowScreenshot(window, "scroll_band_after_scroll.png");
  ExpectSameAsFullRepaint("band one row down");
  // A pending area reaching from the heading into the band: only its band part moves.
  RECT across{30, 5, 90, 40};
  InvalidateRect(window, &across, FALSE);
  doc.Change(window, 1, 2);
  doc.originY -= 2 * kCellHeight;
  ScrollWindow(window, 0, 2 * kCellHeight, &band, &band);
  ExpectSameAsFullRepaint("band two rows up");
}

TEST_F(ScrollPaint, ScrollWindowExHandsBackTheUncoveredAreaForTheCallerToInvalidate) {
  Open(0);
  doc.Change(window, 2, 4);
  doc.Change(window, 0, 0);
  doc.originY += 3 * kCellHeight;
  HRGN uncovered = CreateRectRgn(0, 0, 0, 0);
  RECT box{};
  int kind = ScrollWindowEx(window, 0, -3 * kCellHeight, nullptr, nullptr, uncovered, &box, 0);
  EXPECT_EQ(kind, SIMPLEREGION);
  EXPECT_EQ(box.top, kHeight - 3 * kCellHeight);
  EXPECT_EQ(box.bottom, kHeight);
  InvalidateRgn(window, uncovered, FALSE);
  DeleteObject(uncovered);
  ExpectSameAsFullRepaint("caller-invalidated band");
}

TEST_F(ScrollPaint, AScrollClippedToPartOfTheWindowChangesNothingOutsideTheClip) {
  Open(0);
  QImage before = GrabWindow(window);
  RECT clip{0, 0, kWidth / 2, kHeight};
  ScrollWindowEx(window, 0, -kCellHeight, nullptr, &clip, nullptr, nullptr, 0);
  QImage after = GrabWindow(window);
  // Right half as it was; left half moved up by a row.
  EXPECT_EQ(after.copy(kWidth / 2, 0, kWidth / 2, kHeight),
            before.copy(kWidth / 2, 0, kWidth / 2, kHeight));
  EXPECT_EQ(after.copy(0, 0, kWidth / 2, kHeight - kCellHeight),
            before.copy(0, kCellHeight, kWidth / 2, kHeight - kCellHeight));
}

TEST_F(ScrollPaint, APendingPaintOutsideTheClipStaysWhereItsPixelsStayed) {
  Open(0);
  // Only the left half moves. A cell of the right half changed and waits to be painted: its
  // pixels stay, so it must be painted in its own place, not a row higher.
  RECT clip{0, 0, kWidth / 2, kHeight};
  doc.Change(window, 3, 4);
  ScrollWindowEx(window, 0, -kCellHeight, nullptr, &clip, nullptr, nullptr, 0);
  UpdateWindow(window);
  QImage shown = GrabWindow(window);
  COLORREF changed = CellColour(3, 4, 1);
  QRgb expected = qRgb(GetRValue(changed), GetGValue(changed), GetBValue(changed));
  // Right of the cell's label, where only its fill shows.
  EXPECT_EQ(shown.pixel(3 * kCellWidth + 36, 4 * kCellHeight + 13), expected);
  COLORREF above = CellColour(3, 3, 0);
  EXPECT_EQ(shown.pixel(3 * kCellWidth + 36, 3 * kCellHeight + 13),
            qRgb(GetRValue(above), GetGValue(above), GetBValue(above)));
}

TEST_F(ScrollPaint, AChildHiddenMovedResizedOrDestroyedUncoversWhatAFullRepaintShows) {
  Open(0);
  // As an edit line over a field: the cells under it change while it covers them, and nobody
  // invalidates them; taking the child away must show them.
  auto cover = [&](int column, int row) {
    RECT r = doc.CellRect(column, row);
    return ChildWindow(window, 101, r.left, r.top, 2 * kCellWidth, kCellHeight,
                       WS_CHILD | WS_VISIBLE, "edit");
  };
  HWND child = cover(1, 2);
  UpdateWindow(window);
  doc.edits[{1, 2}]++;
  doc.edits[{2, 2}]++;
  ShowWindow(child, SW_HIDE);
  ExpectSameAsFullRepaint("hidden");

  ShowWindow(child, SW_SHOW);
  doc.edits[{1, 2}]++;
  doc.edits[{2, 2}]++;
  RECT to = doc.CellRect(2, 5);
  MoveWindow(child, to.left, to.top, kCellWidth, kCellHeight, TRUE);
  ShowWindow(child, SW_HIDE);  // what the moved child covers now was never changed
  ExpectSameAsFullRepaint("moved away");

  ShowWindow(child, SW_SHOW);
  doc.edits[{2, 5}]++;
  SetWindowPos(child, nullptr, 0, 0, kCellWidth / 2, kCellHeight, SWP_NOMOVE | SWP_NOZORDER);
  DestroyWindow(child);
  ExpectSameAsFullRepaint("shrunk, then destroyed");
}
