/*
** The fixture of the grid tests: the library loaded by name, a visible parent window with
** the dialog font, and helpers that define the system's grids by messages as the dialogs do.
*/
#ifndef ZARNE_GRID_TESTS_GRID_FIXTURE_H
#define ZARNE_GRID_TESTS_GRID_FIXTURE_H

#include "grid/tessel.h"
#include "platform/gdi/gdi.h"
#include "platform/testing/gui_test.h"
#include "platform/testing/notification_recorder.h"

#include <cstddef>
#include <cstring>

/* The deposit row as the accounting dialog packs it: 8-byte values aligned to 4. */
#pragma pack(push, 4)
struct DepositRow {
  char depositor[61];
  double amount;
  char fileNumber[16];
  char type[2];
  int32_t number;
  int32_t bank;
  double key;
  int32_t status;
  int32_t date;
  char description[61];
};
#pragma pack(pop)
static_assert(sizeof(DepositRow) == 180);
static_assert(offsetof(DepositRow, amount) == 64 && offsetof(DepositRow, fileNumber) == 72);
static_assert(offsetof(DepositRow, type) == 88 && offsetof(DepositRow, number) == 92);
static_assert(offsetof(DepositRow, bank) == 96 && offsetof(DepositRow, key) == 100);
static_assert(offsetof(DepositRow, status) == 108 && offsetof(DepositRow, date) == 112);
static_assert(offsetof(DepositRow, description) == 116);

class GridTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    library_ = LoadLibrary("vgrd32.dll");
    ASSERT_NE(library_, nullptr);
    parent_ = CreateWindow("static", "Parent", WS_OVERLAPPED | WS_VISIBLE, 20, 20, 700, 500,
                           nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(parent_)) DestroyWindow(parent_);
    FreeLibrary(library_);
    GuiTest::TearDown();
  }

  HWND MakeGrid(DWORD style, int width = 500, int height = 300, int id = 200) {
    HWND grid =
        CreateWindow("Tessel", "", WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, parent_,
                     reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    return grid;
  }
  static LRESULT Send(HWND grid, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessage(grid, message, wParam, lParam);
  }
  /* The client point at the middle of a cell, from the grid's own cell rectangle. */
  static POINT CellCentre(HWND grid, int row, int column) {
    Send(grid, TSM_SETCURSOR, column, row);
    RECT cell{};
    Send(grid, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&cell));
    return POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
  }
  static LPARAM Text(const char* text) { return reinterpret_cast<LPARAM>(text); }

  struct ColumnSpec {
    const char* heading;
    const char* name;
    WORD type;
    int length;
    int width;
    WORD flags;
    const char* format;
  };
  /* Defines columns in the deposit dialog's order: type, style, length, width, format,
     heading, name. */
  static void Define(HWND grid, const ColumnSpec* columns, int count) {
    Send(grid, TSM_SETCOLCOUNT, count);
    for (int c = 0; c < count; ++c) {
      const ColumnSpec& spec = columns[c];
      Send(grid, TSM_SETCOLTYPE, c, spec.type);
      Send(grid, TSM_SETCOLSTYLE, c, spec.flags);
      if (spec.length) Send(grid, TSM_SETCOLLEN, c, spec.length);
      Send(grid, TSM_SETCOLWIDTH, c, spec.width);
      Send(grid, TSM_SETCOLFORMAT, c, Text(spec.format));
      Send(grid, TSM_SETCOLHEADING, c, Text(spec.heading));
      Send(grid, TSM_SETCOLNAME, c, Text(spec.name));
    }
  }
  static const ColumnSpec* DepositColumns() {
    static const ColumnSpec columns[10] = {
        {"Depositor", "PayeeDepositor", TST_ZSTRING, 61, 105,
         TSCS_FIXED | TSCS_PROTECT | TSCS_HEADCENTER, ""},
        {"Amount", "", TST_REAL8, 8, 50, TSCS_FIXED | TSCS_PROTECT | TSCS_RIGHT | TSCS_HEADCENTER,
         "#,##0.00"},
        {"", "FileNum", TST_ZSTRING, 16, 40, TSCS_HIDDEN, ""},
        {"", "Type", TST_ZSTRING, 2, 40, TSCS_HIDDEN, ""},
        {"", "Num", TST_INT4, 0, 40, TSCS_HIDDEN, ""},
        {"", "Bank", TST_INT4, 0, 40, TSCS_HIDDEN, ""},
        {"", "Seq", TST_REAL8, 8, 40, TSCS_HIDDEN, ""},
        {"", "Status", TST_INT4, 0, 40, TSCS_HIDDEN, ""},
        {"", "Date", TST_INT4, 0, 40, TSCS_HIDDEN, ""},
        {"", "Description", TST_ZSTRING, 61, 40, TSCS_HIDDEN, ""},
    };
    return columns;
  }
  HWND MakeDepositGrid(int width = 500, int height = 300) {
    HWND grid =
        MakeGrid(TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | TSS_ROWSELECT | WS_BORDER | WS_VSCROLL,
                 width, height);
    Define(grid, DepositColumns(), 10);
    return grid;
  }
  static DepositRow Deposit(const char* depositor, double amount, int32_t number) {
    DepositRow row{};
    std::strncpy(row.depositor, depositor, sizeof row.depositor - 1);
    row.amount = amount;
    std::strcpy(row.fileNumber, "F-100");
    std::strcpy(row.type, "D");
    row.number = number;
    row.bank = 3;
    row.key = number * 1.0;
    row.status = 1;
    row.date = 730000 + number;
    std::strcpy(row.description, "Earnest money");
    return row;
  }
  static LRESULT Append(HWND grid, const void* values) {
    Send(grid, TSM_SETCURSOR, 0, TSROW_APPEND);
    return Send(grid, TSM_INSERTROW, 0, reinterpret_cast<LPARAM>(values));
  }

  HMODULE library_ = nullptr;
  HWND parent_ = nullptr;
};

#endif
