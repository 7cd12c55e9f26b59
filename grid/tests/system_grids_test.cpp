// The system's seven grid definitions replayed as their dialogs send them; offsets, sizes
// and styles are the ones system_grids_sizes.py works out from the row and pool rules
// (and, for the accounting rows, the offsets their row structs give).
#include "grid/tests/grid_fixture.h"

#include <vector>

namespace {

enum class Order { kTypeStyleLength, kTypeLengthStyle };

struct Column {
  WORD type;
  int length;
  int width;
  WORD flags;
  const char* format;
  const char* heading;
  const char* name;
};

struct SystemGrid {
  const char* what;
  DWORD style;
  Order order;
  std::vector<Column> columns;
  std::vector<int> offsets;
  int defSize;
  std::vector<int> columnDefSizes;
};

const WORD kShown = TSCS_FIXED | TSCS_PROTECT | TSCS_HEADCENTER;
const DWORD kWindow = WS_BORDER | WS_VSCROLL | WS_TABSTOP;

std::vector<SystemGrid> Grids() {
  return {
      {"requirements",
       TSS_NONE | TSS_HGRID | TSS_VGRID | TSS_ROWSELECT | TSS_ROWBUTTONS | kWindow,
       Order::kTypeStyleLength,
       {{TST_ZSTRING, 81, 210, TSCS_FIXED | TSCS_PROTECT, "", "", "Text"},
        {TST_REAL8, 8, 40, TSCS_HIDDEN, "", "", "Seq"},
        {TST_ZSTRING, 2, 40, TSCS_HIDDEN, "", "", "Policy"}},
       {0, 84, 92},
       90,
       {27, 26, 29}},
      {"checks",
       TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | TSS_ROWSELECT | kWindow,
       Order::kTypeStyleLength,
       {{TST_ZSTRING, 12, 36, TSCS_PROTECT, "", "Status", "AlphaStatus"},
        {TST_ZSTRING, 61, 130, kShown, "", "Payee", "Payee"},
        {TST_REAL8, 8, 50, kShown | TSCS_RIGHT, "#,##0.00", "Amount", "Amount"},
        {TST_ZSTRING, 16, 40, TSCS_HIDDEN, "", "", "FileNum"},
        {TST_ZSTRING, 2, 40, TSCS_HIDDEN, "", "", "Type"},
        {TST_INT4, 0, 40, TSCS_HIDDEN, "", "", "Number"},
        {TST_INT4, 0, 40, TSCS_HIDDEN, "", "", "Bank"},
        {TST_REAL8, 8, 40, TSCS_HIDDEN, "", "", "Seq"},
        {TST_INT4, 0, 40, TSCS_HIDDEN, "", "", "Status"},
        {TST_INT4, 0, 40, TSCS_HIDDEN, "", "", "Date"},
        {TST_ZSTRING, 61, 40, TSCS_HIDDEN, "", "", "Description"}},
       {0, 12, 76, 84, 100, 104, 108, 112, 120, 124, 128},
       353,
       {40, 33, 43, 30, 27, 29, 27, 26, 29, 27, 34}},
      {"posting",
       TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | TSS_MULTIROW | TSS_ROWBUTTONS | kWindow,
       Order::kTypeLengthStyle,
       {{TST_ZSTRING, 61, 82, TSCS_FIXED | TSCS_PROTECT, "", "Depositor", "Depositor"},
        {TST_REAL8, 8, 40, kShown | TSCS_RIGHT, "#,##0.00", "Amount", "Amount"},
        {TST_ZSTRING, 12, 36, kShown | TSCS_CENTER, "", "Post Date", "AlphaDate"},
        {TST_ZSTRING, 16, 40, TSCS_HIDDEN, "", "", "FileNum"},
        {TST_ZSTRING, 2, 40, TSCS_HIDDEN, "", "", "Type"},
        {TST_INT4, 0, 40, TSCS_HIDDEN, "", "", "Num"},
        {TST_INT4, 0, 40, TSCS_HIDDEN, "", "", "Bank"},
        {TST_REAL8, 8, 40, TSCS_HIDDEN, "", "", "Seq"},
        {TST_INT4, 0, 40, TSCS_HIDDEN, "", "", "Status"},
        {TST_INT4, 0, 40, TSCS_HIDDEN, "MM/DD/YY", "", "Date"},
        {TST_ZSTRING, 61, 40, TSCS_HIDDEN, "", "", "Description"}},
       {0, 64, 72, 84, 100, 104, 108, 112, 120, 124, 128},
       367,
       {41, 43, 41, 30, 27, 26, 27, 26, 29, 35, 34}},
      {"account",
       TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | TSS_ROWSELECT | TSS_LARGEDATA | TSS_ROWBUTTONS |
           kWindow,
       Order::kTypeStyleLength,
       {{TST_ZSTRING, 16, 52, kShown, "", "File Number", "FileNum"},
        {TST_INT4, 0, 50, kShown, "", "Check Number", "Number"},
        {TST_ZSTRING, 12, 34, kShown, "", "Date", "AlphaDate"},
        {TST_ZSTRING, 12, 40, kShown, "", "Status", "AlphaStatus"},
        {TST_REAL8, 8, 42, kShown | TSCS_RIGHT, "#,##0.00", "Amount", "Amount"},
        {TST_ZSTRING, 2, 40, TSCS_HIDDEN, "", "", "Type"},
        {TST_REAL8, 8, 40, TSCS_HIDDEN, "", "", "Seq"}},
       {0, 16, 20, 32, 44, 52, 56},
       262,
       {41, 41, 36, 40, 43, 27, 26}},
      {"adjustments",
       TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | TSS_ROWSELECT | TSS_LARGEDATA | TSS_ROWBUTTONS |
           kWindow,
       Order::kTypeStyleLength,
       {{TST_ZSTRING, 12, 34, kShown, "", "Date", "AlphaDate"},
        {TST_INT4, 0, 40, TSCS_HIDDEN, "", "", "Date"},
        {TST_ZSTRING, 16, 40, TSCS_HIDDEN, "", "", "FileNum"},
        {TST_ZSTRING, 2, 40, TSCS_HIDDEN, "", "", "Type"},
        {TST_REAL8, 8, 40, TSCS_HIDDEN, "", "", "Seq"},
        {TST_ZSTRING, 61, 94, kShown, "", "Description", "Description"},
        {TST_REAL8, 8, 46, kShown | TSCS_RIGHT, "#,##0.00", "Amount", ""}},
       {0, 12, 16, 32, 36, 44, 108},
       236,
       {36, 27, 30, 27, 26, 45, 37}},
      {"reconcile",
       TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | TSS_MULTIROW | TSS_LARGEDATA | TSS_ROWBUTTONS |
           kWindow | WS_HSCROLL,
       Order::kTypeStyleLength,
       {{TST_ZSTRING, 12, 38, kShown, "", "Status", "AlphaStatus"},
        {TST_ZSTRING, 16, 48, kShown, "", "File Number", "FileNum"},
        {TST_ZSTRING, 12, 31, kShown, "", "Date", "AlphaDate"},
        {TST_INT4, 4, 40, kShown, "", "Check Number", "Number"},
        {TST_REAL8, 8, 42, kShown | TSCS_RIGHT, "#,##0.00", "Amount", "Amount"},
        {TST_ZSTRING, 30, 90, kShown, "", "Depositor", "PayeeDepositor"},
        {TST_ZSTRING, 2, 40, TSCS_HIDDEN, "", "", "Type"},
        {TST_REAL8, 8, 40, TSCS_HIDDEN, "", "", "Seq"},
        {TST_INT4, 4, 40, TSCS_HIDDEN, "", "", "Status"}},
       {0, 12, 28, 40, 44, 52, 82, 84, 92},
       337,
       {40, 41, 36, 41, 43, 46, 27, 26, 29}},
  };
}

void Replay(HWND grid, const SystemGrid& definition) {
  SendMessage(grid, TSM_SETCOLCOUNT, definition.columns.size(), 0);
  for (size_t c = 0; c < definition.columns.size(); ++c) {
    const Column& column = definition.columns[c];
    SendMessage(grid, TSM_SETCOLTYPE, c, column.type);
    if (definition.order == Order::kTypeLengthStyle) {
      SendMessage(grid, TSM_SETCOLLEN, c, column.length);
      SendMessage(grid, TSM_SETCOLSTYLE, c, column.flags);
    } else {
      SendMessage(grid, TSM_SETCOLSTYLE, c, column.flags);
      SendMessage(grid, TSM_SETCOLLEN, c,
                  column.length);  // refused for fixed sizes; the dialogs do not look
    }
    SendMessage(grid, TSM_SETCOLWIDTH, c, column.width);
    SendMessage(grid, TSM_SETCOLFORMAT, c, reinterpret_cast<LPARAM>(column.format));
    SendMessage(grid, TSM_SETCOLHEADING, c, reinterpret_cast<LPARAM>(column.heading));
    SendMessage(grid, TSM_SETCOLNAME, c, reinterpret_cast<LPARAM>(column.name));
  }
}

}  // namespace

using SystemGrids = GridTest;

TEST_F(SystemGrids, EachDialogsDefinitionGivesTheOffsetsAndSizesWorkedOut) {
  int id = 400;
  for (const SystemGrid& definition : Grids()) {
    SCOPED_TRACE(definition.what);
    HWND grid = MakeGrid(definition.style, 400, 200, id++);
    ASSERT_NE(grid, nullptr);
    Replay(grid, definition);
    ASSERT_EQ(Send(grid, TSM_GETCOLCOUNT), static_cast<LRESULT>(definition.columns.size()));
    for (size_t c = 0; c < definition.offsets.size(); ++c) {
      EXPECT_EQ(Send(grid, TSM_GETCOLOFFSET, c), definition.offsets[c]) << "column " << c;
      EXPECT_EQ(Send(grid, TSM_GETCOLDEFSIZE, c), definition.columnDefSizes[c]) << "column " << c;
      EXPECT_EQ(Send(grid, TSM_GETCOLWIDTH, c), definition.columns[c].width) << "column " << c;
    }
    EXPECT_EQ(Send(grid, TSM_GETDEFSIZE), definition.defSize);
    // The style as set, with the scroll bars the window asked for.
    DWORD style = static_cast<DWORD>(Send(grid, TSM_GETSTYLE));
    EXPECT_EQ(style & 0xFFFF, definition.style & 0xFFFF);
    EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL), definition.style & (WS_VSCROLL | WS_HSCROLL));
  }
}

TEST_F(SystemGrids, ACheckRowGoesInAndComesBackByteForByte) {
  const SystemGrid checks = Grids()[1];
  HWND grid = MakeGrid(checks.style, 400, 200, 410);
  Replay(grid, checks);
  uint8_t row[192];
  for (size_t i = 0; i < sizeof row; ++i) row[i] = static_cast<uint8_t>(i * 7 + 1);
  std::memcpy(row, "Printed", 8);
  double amount = -1234.56;
  std::memcpy(row + 76, &amount, sizeof amount);  // a double at 4 mod 8, copied, never bound
  EXPECT_EQ(Append(grid, row), 0);
  uint8_t back[192];
  Send(grid, TSM_SETCURSOR, 0, 0);
  ASSERT_EQ(Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(back)), 0);
  EXPECT_EQ(std::memcmp(row, back, sizeof row), 0);
}
