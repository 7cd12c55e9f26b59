// Copy, cut and paste by Ctrl+C, Ctrl+X and Ctrl+V: the texts worked out by hand from the
// general text of each type, the dialogs' hidden key columns left alone, and cut and paste
// confined to editable cells.
#include "grid/tessel_record.h"
#include "grid/tests/grid_fixture.h"

#include "platform/testing/synthetic_input.h"
#include "platform/user/clipboard.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

void PutClipboardText(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  std::memcpy(GlobalLock(block), text.data(), text.size());
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<not open>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  } else {
    text = "<none>";
  }
  CloseClipboard();
  return text;
}

/* A row of the editable test grid: name (edit), hidden key, protected number, amount
   (edit), all in the grid's own value layout. */
#pragma pack(push, 4)
struct EditRow {
  char name[12];
  int32_t key;
  int32_t locked;
  double amount;
};
#pragma pack(pop)
static_assert(sizeof(EditRow) == 28);

class GridClipboard : public GridTest {
 protected:
  std::vector<uint8_t> RowBytes(HWND grid, int row, size_t size) {
    std::vector<uint8_t> bytes(size, 0xEE);
    Send(grid, TSM_SETCURSOR, 0, row);
    Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(bytes.data()));
    return bytes;
  }
  HWND EditGrid(DWORD style) {
    HWND grid = MakeGrid(TSS_OWNERDEF | style, 400, 200);
    static const ColumnSpec columns[4] = {
        {"Name", "Name", TST_ZSTRING, 12, 60, TSCS_EDIT, ""},
        {"", "Key", TST_INT4, 0, 30, TSCS_HIDDEN | TSCS_EDIT, ""},
        {"No", "Locked", TST_INT4, 0, 30, TSCS_PROTECT | TSCS_EDIT, ""},
        {"Amount", "Amount", TST_REAL8, 8, 50, TSCS_EDIT, "#,##0.00"},
    };
    Define(grid, columns, 4);
    EXPECT_EQ(Send(grid, TSM_GETCOLOFFSET, 3), 20);
    for (int i = 0; i < 3; ++i) {
      EditRow row{};
      std::snprintf(row.name, sizeof row.name, "n%d", i);
      row.key = 100 + i;
      row.locked = 200 + i;
      row.amount = 1.25 + i;
      Append(grid, &row);
    }
    return grid;
  }
  EditRow ReadEditRow(HWND grid, int row) {
    EditRow values{};
    Send(grid, TSM_SETCURSOR, 0, row);
    Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(&values));
    return values;
  }
};

const char kDeposit7[] = "Pat\t1250.5\tF-100\tD\t7\t3\t7\t1\t730007\tEarnest money\t\n";

}  // namespace

TEST_F(GridClipboard, RowSelectCopiesTheSelectedRowAndTheDepositGridTakesNothingBack) {
  HWND grid = MakeDepositGrid(420, 300);
  for (int i = 5; i < 10; ++i) {
    DepositRow row = Deposit(i == 7 ? "Pat" : "Lee", i == 7 ? 1250.5 : 10.0 * i, i);
    Append(grid, &row);
  }
  SetFocus(grid);
  PutClipboardText("previous");
  PressKey('C', Qt::ControlModifier);  // nothing selected yet
  EXPECT_EQ(ClipboardText(), "previous");
  Send(grid, TSM_SETCURCELL, 0, 2);
  ASSERT_EQ(Send(grid, TSM_GETSELROW), 2);
  PressKey('C', Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), kDeposit7);
  // Pasted onto another check, nothing of the first one's keys or status arrives.
  std::vector<uint8_t> before = RowBytes(grid, 3, sizeof(DepositRow));
  UpdateWindow(grid);
  Send(grid, TSM_SETCURSOR, 1, 3);
  RECT cell{};
  Send(grid, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&cell));
  Click(grid, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);  // the other check
  ASSERT_EQ(Send(grid, TSM_GETSELROW), 3);
  PressKey('V', Qt::ControlModifier);
  EXPECT_EQ(RowBytes(grid, 3, sizeof(DepositRow)), before);
  // Cut in a grid without editable columns copies and clears nothing.
  PressKey('X', Qt::ControlModifier);
  EXPECT_EQ(RowBytes(grid, 3, sizeof(DepositRow)), before);
  EXPECT_EQ(ClipboardText(), "Lee\t80\tF-100\tD\t8\t3\t8\t1\t730008\tEarnest money\t\n");
}

TEST_F(GridClipboard, MultipleRowsAndNoSelectionStyle) {
  HWND multi = MakeGrid(TSS_OWNERDEF | TSS_MULTIROW);
  Define(multi, DepositColumns(), 10);
  for (int i = 5; i < 10; ++i) {
    DepositRow row = Deposit(i == 7 ? "Pat" : "Lee", i == 7 ? 1250.5 : 10.0 * i, i);
    Append(multi, &row);
  }
  SetFocus(multi);
  Send(multi, TSM_SELECTROW, 1, 2);
  Send(multi, TSM_SELECTROW, 1, 0);
  PressKey('C', Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(),
            std::string("Lee\t50\tF-100\tD\t5\t3\t5\t1\t730005\tEarnest money\t\n") + kDeposit7);

  HWND plain = MakeGrid(TSS_OWNERDEF, 300, 100, 201);
  Define(plain, DepositColumns(), 10);
  DepositRow row = Deposit("Pat", 1, 1);
  Append(plain, &row);
  SetFocus(plain);
  PressKey('C', Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), "");
}

TEST_F(GridClipboard, ColumnSelectCopiesTheColumnOfEveryRow) {
  HWND grid = MakeGrid(TSS_OWNERDEF | TSS_COLSELECT, 300, 150);
  Send(grid, TSM_SETCOLCOUNT, 2);
  Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
  Send(grid, TSM_SETCOLTYPE, 1, TST_REAL8);
  for (int32_t i = 0; i < 3; ++i) {
    char row[16] = {};
    double amount = i * 1000.5;
    std::memcpy(row + Send(grid, TSM_GETCOLOFFSET, 0), &i, sizeof i);
    std::memcpy(row + Send(grid, TSM_GETCOLOFFSET, 1), &amount, sizeof amount);
    Append(grid, row);
  }
  SetFocus(grid);
  PutClipboardText("kept");
  PressKey('C', Qt::ControlModifier);  // no column selected
  EXPECT_EQ(ClipboardText(), "kept");
  ASSERT_EQ(Send(grid, TSM_SELECTCOL, 1, 1), 0);
  PressKey('C', Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), "0\t\n1000.5\t\n2001\t\n");
}

TEST_F(GridClipboard, AwkwardAmountsCopyAndEditAsTheirShortestText) {
  // Each text by hand: the fewest digits that name the same double (1e15 - 0.01 is 1e15 in a
  // double, whose neighbours lie 0.125 apart); 1e300 has no 20-character plain form.
  const std::vector<std::pair<double, std::string>> amounts = {{0.1, "0.1"},
                                                               {1234.56, "1234.56"},
                                                               {12345.6, "12345.6"},
                                                               {-0.005, "-0.005"},
                                                               {1e15 - 0.01, "1000000000000000"},
                                                               {1e300, "1e+300"}};
  const size_t editorLimit = 20;  // an 8-byte real's
  HWND grid = MakeGrid(TSS_OWNERDEF | TSS_COLSELECT, 300, 200);
  Send(grid, TSM_SETCOLCOUNT, 1);
  Send(grid, TSM_SETCOLTYPE, 0, TST_REAL8);
  Send(grid, TSM_SETCOLSTYLE, 0, TSCS_EDIT);
  for (const auto& amount : amounts) {
    char row[16] = {};
    std::memcpy(row + Send(grid, TSM_GETCOLOFFSET, 0), &amount.first, sizeof amount.first);
    Append(grid, row);
  }
  SetFocus(grid);
  ASSERT_EQ(Send(grid, TSM_SELECTCOL, 0, 1), 0);
  PressKey('C', Qt::ControlModifier);
  std::string copied = ClipboardText();
  for (const auto& [value, text] : amounts) {
    size_t end = copied.find("\t\n");
    ASSERT_NE(end, std::string::npos) << copied;
    std::string piece = copied.substr(0, end);
    copied.erase(0, end + 2);
    EXPECT_EQ(piece, text);
    EXPECT_EQ(std::strtod(piece.c_str(), nullptr), value) << piece;
    EXPECT_LE(piece.size(), editorLimit);
  }
  // The editor opens with the same text.
  Send(grid, TSM_SETCURCELL, 0, 1);
  PressKey(VK_F2);
  char text[64] = "";
  GetWindowText(reinterpret_cast<HWND>(Send(grid, TSM_GETEDITWND)), text, sizeof text);
  EXPECT_STREQ(text, "1234.56");
}

TEST_F(GridClipboard, CutAndPasteTouchOnlyEditableCells) {
  HWND grid = EditGrid(TSS_MULTIROW);
  SetFocus(grid);
  Send(grid, TSM_SETCURSOR, 0, 1);
  TesselColors cell{RGB(1, 2, 3), TSCLR_DEFAULT, TSCLR_DEFAULT, TSCLR_DEFAULT};
  Send(grid, TSM_SETCELLCOLORS, 0, reinterpret_cast<LPARAM>(&cell));
  Send(grid, TSM_SETCELLATTR, 0, 1);
  Send(grid, TSM_SELECTROW, 1, 1);
  PressKey('X', Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), "n1\t101\t201\t2.25\t\n");
  EditRow cut = ReadEditRow(grid, 1);
  EXPECT_STREQ(cut.name, "");
  EXPECT_EQ(static_cast<int32_t>(cut.key), 101);
  EXPECT_EQ(static_cast<int32_t>(cut.locked), 201);
  EXPECT_EQ(static_cast<double>(cut.amount), 0.0);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 3);
  Send(grid, TSM_SETCURSOR, 0, 1);
  EXPECT_EQ(Send(grid, TSM_GETCELLATTR, 0), 1);
  EXPECT_EQ(Send(grid, TSM_ISROWSELECTED, 0, 1), 1);

  // From cell (1, 0): the hidden and protected cells keep their values but use up their
  // pieces; a fifth piece has no column, a CR stays in its piece, the third line no row.
  Send(grid, TSM_SETCURCELL, 0, 1);
  PutClipboardText("ab\t99\t77\t3.5\textra\ncd\r\n\t\t\t8\nzz\n");
  PressKey('V', Qt::ControlModifier);
  EditRow first = ReadEditRow(grid, 1), second = ReadEditRow(grid, 2), zero = ReadEditRow(grid, 0);
  EXPECT_STREQ(first.name, "ab");
  EXPECT_EQ(static_cast<int32_t>(first.key), 101);
  EXPECT_EQ(static_cast<int32_t>(first.locked), 201);
  EXPECT_EQ(static_cast<double>(first.amount), 3.5);
  EXPECT_STREQ(second.name, "cd\r");
  EXPECT_EQ(static_cast<double>(second.amount), 3.25);
  EXPECT_STREQ(zero.name, "n0");
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 3);
}

TEST_F(GridClipboard, APasteIntoASortKeySortsAgain) {
  HWND grid = EditGrid(TSS_ROWSELECT);
  Send(grid, TSM_SETCOLSTYLE, 0, TSCS_EDIT | TSCS_SORTKEY1);
  SetFocus(grid);
  Send(grid, TSM_SETCURCELL, 0, 0);
  PutClipboardText("zed\t\n");
  PressKey('V', Qt::ControlModifier);
  EXPECT_STREQ(ReadEditRow(grid, 0).name, "n1");
  EXPECT_STREQ(ReadEditRow(grid, 2).name, "zed");
  EXPECT_EQ(static_cast<int32_t>(ReadEditRow(grid, 2).key), 100);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 2);  // the current row followed its record
}

TEST_F(GridClipboard, LongTextsAndEveryByteRunClean) {
  HWND grid = MakeGrid(TSS_OWNERDEF | TSS_ROWSELECT | TSS_EDIT, 300, 120);
  Send(grid, TSM_SETCOLCOUNT, 2);
  Send(grid, TSM_SETCOLTYPE, 0, TST_ZSTRING);
  Send(grid, TSM_SETCOLLEN, 0, 1000);
  Send(grid, TSM_SETCOLTYPE, 1, TST_ZSTRING);
  Send(grid, TSM_SETCOLLEN, 1, 1000);
  std::vector<char> full(2000, 'w');  // both values full length: no NUL inside either
  Append(grid, full.data());
  SetFocus(grid);
  Send(grid, TSM_SETCURCELL, 0, 0);
  PressKey('C', Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), std::string(1000, 'w') + "\t" + std::string(1000, 'w') + "\t\n");
  // One megabyte in one piece, then every byte from 1 to 255 but the separators.
  PutClipboardText(std::string(1 << 20, 'm'));
  PressKey('V', Qt::ControlModifier);
  std::vector<char> back(2000, 0);
  Send(grid, TSM_SETCURSOR, 0, 0);
  Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(back.data()));
  EXPECT_EQ(std::string(back.data(), strnlen(back.data(), 1000)),
            std::string(1000, 'm'));  // the reading fills the whole length
  std::string bytes;
  for (int b = 1; b < 256; ++b)
    if (b != '\t' && b != '\n') bytes.push_back(static_cast<char>(b));
  PutClipboardText(bytes);
  PressKey('V', Qt::ControlModifier);
  Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(back.data()));
  EXPECT_EQ(std::string(back.data(), strnlen(back.data(), 1000)), bytes);
  PressKey('C', Qt::ControlModifier);
  EXPECT_EQ(ClipboardText().substr(0, bytes.size() + 1), bytes + "\t");
}
