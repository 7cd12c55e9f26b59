/*
** Grid timings of the grid in use, each beside a baseline from the same run:
**  (c) TSM_SORT of 10,000 rows of about 100 bytes on three keys (case-insensitive text
**      ascending, double descending, 4-byte integer ascending) against std::stable_sort of a
**      std::vector of the same structs under the same keys, on random, all-equal, sorted,
**      reversed and eight-value inputs; and 100,000 rows with one key value;
**  (d) scrolling by one row (SB_LINEDOWN and UpdateWindow; Down at the bottom edge) at 100
**      and 100,000 rows against a full repaint of the same grid (InvalidateRect, UpdateWindow).
** Run with QT_QPA_PLATFORM=offscreen from the build's bin directory.
*/
#include "grid/tessel.h"
#include "platform/gdi/gdi.h"
#include "platform/testing/gui_test.h"
#include "platform/testing/synthetic_input.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

LRESULT Send(HWND grid, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessage(grid, message, wParam, lParam);
}

#pragma pack(push, 4)
struct SortRow {
  char name[40];
  double amount;
  int32_t number;
  char note[48];
};
#pragma pack(pop)
static_assert(sizeof(SortRow) == 100);

char Upper(unsigned char c) {
  bool folded = (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
  return static_cast<char>(folded ? c - 0x20 : c);
}

/* The baseline's comparator: the same three keys, written plainly. */
bool Before(const SortRow& a, const SortRow& b) {
  for (size_t i = 0; i < sizeof a.name; ++i) {
    unsigned char x = static_cast<unsigned char>(Upper(static_cast<unsigned char>(a.name[i])));
    unsigned char y = static_cast<unsigned char>(Upper(static_cast<unsigned char>(b.name[i])));
    if (x != y) return x < y;
    if (x == 0) break;
  }
  if (a.amount != b.amount) return a.amount > b.amount;
  return a.number < b.number;
}

std::vector<SortRow> Input(const char* kind, int count) {
  std::mt19937 random(7);
  std::vector<SortRow> rows(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    SortRow& row = rows[static_cast<size_t>(i)];
    int value = 0;
    if (!std::strcmp(kind, "random")) value = static_cast<int>(random() % 1000000);
    else if (!std::strcmp(kind, "sorted")) value = i;
    else if (!std::strcmp(kind, "reversed")) value = count - i;
    else if (!std::strcmp(kind, "eight-value")) value = static_cast<int>(random() % 8);
    std::snprintf(row.name, sizeof row.name, "%s %07d", (value & 1) ? "party" : "PARTY", value);
    row.amount = value * 0.25;
    row.number = -value;
    std::snprintf(row.note, sizeof row.note, "note %d", i);
  }
  return rows;
}

HWND SortGrid(HWND parent) {
  HWND grid = CreateWindow("Tessel", "", WS_CHILD | TSS_OWNERDEF | TSS_ROWSELECT, 0, 0, 400, 300,
                           parent, reinterpret_cast<HMENU>(300), nullptr, nullptr);
  Send(grid, TSM_SETCOLCOUNT, 4);
  Send(grid, TSM_SETCOLTYPE, 0, TST_ZSTRING);
  Send(grid, TSM_SETCOLLEN, 0, 40);
  Send(grid, TSM_SETCOLTYPE, 1, TST_REAL8);
  Send(grid, TSM_SETCOLTYPE, 2, TST_INT4);
  Send(grid, TSM_SETCOLTYPE, 3, TST_ZSTRING);
  Send(grid, TSM_SETCOLLEN, 3, 48);
  return grid;
}

void Load(HWND grid, const std::vector<SortRow>& rows) {
  Send(grid, TSM_SETCOLSTYLE, 0, 0);
  Send(grid, TSM_SETCOLSTYLE, 1, 0);
  Send(grid, TSM_SETCOLSTYLE, 2, 0);
  Send(grid, TSM_DELETEALLROWS);
  Send(grid, WM_SETREDRAW, FALSE);
  for (const SortRow& row : rows) {
    Send(grid, TSM_SETCURSOR, 0, TSROW_APPEND);
    Send(grid, TSM_INSERTROW, 0, reinterpret_cast<LPARAM>(&row));
  }
  Send(grid, TSM_SETCOLSTYLE, 0, TSCS_SORTKEY1 | TSCS_SORTCASEI);
  Send(grid, TSM_SETCOLSTYLE, 1, TSCS_SORTKEY2 | TSCS_SORTDES);
  Send(grid, TSM_SETCOLSTYLE, 2, TSCS_SORTKEY3);
}

double GridSort(HWND grid, const std::vector<SortRow>& rows) {
  Load(grid, rows);
  Clock::time_point start = Clock::now();
  Send(grid, TSM_SORT);
  return Seconds(start);
}

double BaselineSort(std::vector<SortRow> rows) {
  Clock::time_point start = Clock::now();
  std::stable_sort(rows.begin(), rows.end(), Before);
  return Seconds(start);
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

void SortFigures(HWND parent) {
  HWND grid = SortGrid(parent);
  const char* kinds[] = {"random", "all-equal", "sorted", "reversed", "eight-value"};
  for (const char* kind : kinds) {
    std::vector<SortRow> rows = Input(kind, 10000);
    std::vector<double> gridTimes, baseTimes;
    for (int i = 0; i < 5; ++i) {
      gridTimes.push_back(GridSort(grid, rows));
      baseTimes.push_back(BaselineSort(rows));
    }
    double g = Median(gridTimes), b = Median(baseTimes);
    std::printf(
        "(c) sort 10,000 rows, %-12s grid %8.2f ms  baseline %8.2f ms  ratio %5.2f (goal <= %d)\n",
        kind, g * 1e3, b * 1e3, g / b, std::strcmp(kind, "random") ? 5 : 3);
  }
  std::vector<SortRow> equal = Input("all-equal", 100000);
  double g = GridSort(grid, equal), b = BaselineSort(equal);
  std::printf(
      "(c) sort 100,000 equal-key rows: grid %.3f s  baseline %.3f s  ratio %5.2f (goal < 1 s)\n",
      g, b, g / b);
  DestroyWindow(grid);
}

HWND ScrollGrid(HWND parent, int rows) {
  HWND grid = CreateWindow(
      "Tessel", "",
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | TSS_ROWSELECT, 0,
      0, 600, 400, parent, reinterpret_cast<HMENU>(301), nullptr, nullptr);
  SendMessage(grid, WM_SETFONT, SendMessage(parent, WM_GETFONT, 0, 0), 0);
  Send(grid, TSM_SETCOLCOUNT, 4);
  Send(grid, TSM_SETCOLTYPE, 0, TST_ZSTRING);
  Send(grid, TSM_SETCOLLEN, 0, 40);
  Send(grid, TSM_SETCOLWIDTH, 0, 120);
  Send(grid, TSM_SETCOLTYPE, 1, TST_REAL8);
  Send(grid, TSM_SETCOLFORMAT, 1, reinterpret_cast<LPARAM>("#,##0.00"));
  Send(grid, TSM_SETCOLTYPE, 2, TST_INT4);
  Send(grid, TSM_SETCOLTYPE, 3, TST_ZSTRING);
  Send(grid, TSM_SETCOLLEN, 3, 48);
  Send(grid, WM_SETREDRAW, FALSE);
  std::vector<SortRow> values = Input("sorted", rows);
  for (const SortRow& row : values) {
    Send(grid, TSM_SETCURSOR, 0, TSROW_APPEND);
    Send(grid, TSM_INSERTROW, 0, reinterpret_cast<LPARAM>(&row));
  }
  Send(grid, WM_SETREDRAW, TRUE);
  UpdateWindow(grid);
  return grid;
}

struct ScrollTimes {
  double line;
  double focusedLine;
  double key;
  double message;
  double overhead;
  double full;
};

ScrollTimes ScrollFigures(HWND parent, int rows, int times) {
  HWND grid = ScrollGrid(parent, rows);
  int visible = static_cast<int>(Send(grid, TSM_GETVISIBLEROWS));
  std::vector<double> line, key, full;
  for (int i = 0; i < times; ++i) {
    if (Send(grid, TSM_GETTOPROW) + visible + 2 >= rows)
      Send(grid, TSM_SETTOPROW, 0, 0), UpdateWindow(grid);
    Clock::time_point start = Clock::now();
    SendMessage(grid, WM_VSCROLL, SB_LINEDOWN, 0);
    UpdateWindow(grid);
    line.push_back(Seconds(start));
  }
  // The same with the focus in the grid: its focus rectangle is drawn outside painting,
  // through a window DC, before and after each scroll.
  Send(grid, TSM_SETTOPROW, 0, 0);
  SetFocus(grid);
  std::vector<double> focusedLine;
  for (int i = 0; i < times; ++i) {
    if (Send(grid, TSM_GETTOPROW) + visible + 2 >= rows)
      Send(grid, TSM_SETTOPROW, 0, 0), UpdateWindow(grid);
    Clock::time_point start = Clock::now();
    SendMessage(grid, WM_VSCROLL, SB_LINEDOWN, 0);
    UpdateWindow(grid);
    focusedLine.push_back(Seconds(start));
  }
  Send(grid, TSM_SETTOPROW, 0, 0);
  Send(grid, TSM_SETCURCELL, 0, std::max(0, visible - 2));
  UpdateWindow(grid);
  for (int i = 0; i < times; ++i) {
    if (Send(grid, TSM_GETCURROW) + 2 >= rows) {
      Send(grid, TSM_SETTOPROW, 0, 0);
      Send(grid, TSM_SETCURCELL, 0, std::max(0, visible - 2));
      UpdateWindow(grid);
    }
    Clock::time_point start = Clock::now();
    PressKey(VK_DOWN);  // the current row sits at the bottom edge: each press scrolls one row
    UpdateWindow(grid);
    key.push_back(Seconds(start));
  }
  // The same step as a message, and the cost of a real key press the grid ignores: the
  // synthetic input's own share of the Down figure.
  std::vector<double> message, overhead;
  for (int i = 0; i < times; ++i) {
    if (Send(grid, TSM_GETCURROW) + 2 >= rows) {
      Send(grid, TSM_SETTOPROW, 0, 0);
      Send(grid, TSM_SETCURCELL, 0, std::max(0, visible - 2));
      UpdateWindow(grid);
    }
    Clock::time_point start = Clock::now();
    SendMessage(grid, WM_KEYDOWN, VK_DOWN, 0);
    UpdateWindow(grid);
    message.push_back(Seconds(start));
    start = Clock::now();
    PressKey(VK_F9);
    UpdateWindow(grid);
    overhead.push_back(Seconds(start));
  }
  for (int i = 0; i < times; ++i) {
    Clock::time_point start = Clock::now();
    InvalidateRect(grid, nullptr, TRUE);
    UpdateWindow(grid);
    full.push_back(Seconds(start));
  }
  DestroyWindow(grid);
  return ScrollTimes{Median(line),    Median(focusedLine), Median(key),
                     Median(message), Median(overhead),    Median(full)};
}

}  // namespace

int main(int argc, char** argv) {
  EnsureTestApplication();
  HMODULE library = LoadLibrary("vgrd32.dll");
  if (!library) {
    std::fprintf(stderr, "vgrd32.dll did not load\n");
    return 1;
  }
  HWND parent = CreateWindow("static", "Bench", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                             nullptr, nullptr, nullptr);
  SendMessage(parent, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  int times = argc > 1 ? std::atoi(argv[1]) : 60;
  if (argc > 2 && std::strcmp(argv[2], "keys") == 0) {  // only the key figure, for a profiler
    ScrollFigures(parent, 100000, times);
    return 0;
  }
  SortFigures(parent);
  ScrollTimes small = ScrollFigures(parent, 100, times);
  ScrollTimes large = ScrollFigures(parent, 100000, times);
  for (const auto& [label, t] :
       {std::pair<const char*, ScrollTimes>{"100 rows", small}, {"100,000 rows", large}}) {
    std::printf(
        "(d) SB_LINEDOWN, %-12s grid %8.1f us  full repaint %8.1f us  ratio %5.2f (goal <= 0.2)\n",
        label, t.line * 1e6, t.full * 1e6, t.line / t.full);
    std::printf(
        "(d) SB_LINEDOWN with the focus, %-6s grid %8.1f us  full repaint %8.1f us  ratio %5.2f\n",
        label, t.focusedLine * 1e6, t.full * 1e6, t.focusedLine / t.full);
    std::printf(
        "(d) Down at the bottom, %-6s grid %8.1f us  full repaint %8.1f us  ratio %5.2f (goal <= 0.2)\n",
        label, t.key * 1e6, t.full * 1e6, t.key / t.full);
    std::printf(
        "(d)   of which a pressed key the grid ignores costs %8.1f us; Down less that %8.1f us, ratio %5.2f\n",
        t.overhead * 1e6, (t.key - t.overhead) * 1e6, (t.key - t.overhead) / t.full);
    std::printf(
        "(d) WM_KEYDOWN Down at the bottom, %-6s grid %8.1f us  full repaint %8.1f us  ratio %5.2f (goal <= 0.2)\n",
        label, t.message * 1e6, t.full * 1e6, t.message / t.full);
  }
  std::printf("(d) 100,000 against 100 rows: SB_LINEDOWN x %.2f, Down x %.2f (goal within 1.25)\n",
              large.line / small.line, large.key / small.key);
  DestroyWindow(parent);
  FreeLibrary(library);
  return 0;
}
