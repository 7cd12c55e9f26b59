// Whole definitions, column records, restructuring and copies of a grid's state. Sizes
// are worked by hand: a record is 20 bytes plus its three strings with terminators.
#include "grid/tessel_record.h"
#include "grid/tests/grid_fixture.h"

#include <vector>

using GridDefinitions = GridTest;

namespace {

std::vector<uint8_t> Definition(HWND grid) {
  std::vector<uint8_t> bytes(static_cast<size_t>(SendMessage(grid, TSM_GETDEFSIZE, 0, 0)), 0xEE);
  SendMessage(grid, TSM_GETDEF, 0, reinterpret_cast<LPARAM>(bytes.data()));
  return bytes;
}

/* A definition buffer of version 25 with the given records after its header. */
std::vector<uint8_t> Buffer(uint16_t first, uint16_t count,
                            const std::vector<std::vector<uint8_t>>& records) {
  std::vector<uint8_t> bytes = {
      static_cast<uint8_t>(first),      0,    25, 0, static_cast<uint8_t>(count),
      static_cast<uint8_t>(count >> 8), 0x30, 0};
  for (const auto& record : records) bytes.insert(bytes.end(), record.begin(), record.end());
  return bytes;
}

std::vector<uint8_t> Record(uint16_t size, uint16_t type, uint16_t length,
                            const std::string& strings) {
  std::vector<uint8_t> record(20, 0);
  record[0] = static_cast<uint8_t>(size);
  record[1] = static_cast<uint8_t>(size >> 8);
  record[4] = static_cast<uint8_t>(type);
  record[6] = static_cast<uint8_t>(length);
  record[7] = static_cast<uint8_t>(length >> 8);
  record[8] = 40;
  record.insert(record.end(), strings.begin(), strings.end());
  return record;
}

}  // namespace

TEST_F(GridDefinitions, ADefinitionReadBackRebuildsTheSameGrid) {
  HWND grid = MakeDepositGrid();
  std::vector<uint8_t> saved = Definition(grid);
  ASSERT_EQ(saved.size(), 317u);
  EXPECT_EQ(saved[0], 8);
  EXPECT_EQ(saved[2], 25);
  EXPECT_EQ(saved[4], 10);
  // The first record: size 46, flags, type 0x87, length 61, width 105, then "", "Depositor", "PayeeDepositor".
  EXPECT_EQ(saved[8], 46);
  EXPECT_EQ(saved[12], TST_ZSTRING);
  EXPECT_EQ(saved[14], 61);
  EXPECT_EQ(saved[16], 105);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&saved[29])), "Depositor");
  HWND copy = MakeGrid(TSS_OWNERDEF, 300, 200, 300);
  ASSERT_EQ(Send(copy, TSM_SETDEF, 0, reinterpret_cast<LPARAM>(saved.data())), 0);
  EXPECT_EQ(Definition(copy), saved);
  for (int c = 0; c < 10; ++c)
    EXPECT_EQ(Send(copy, TSM_GETCOLOFFSET, c), Send(grid, TSM_GETCOLOFFSET, c));
  // With rows, definitions are refused and the rows stay.
  DepositRow row = Deposit("Evan", 1, 1);
  Append(copy, &row);
  EXPECT_EQ(Send(copy, TSM_SETDEF, 0, reinterpret_cast<LPARAM>(saved.data())), TSERR_STATE);
  EXPECT_EQ(Send(copy, TSM_GETROWCOUNT), 1);
}

TEST_F(GridDefinitions, MalformedBuffersAreRefusedAndChangeNothing) {
  HWND grid = MakeDepositGrid();
  std::vector<uint8_t> before = Definition(grid);
  std::vector<std::vector<uint8_t>> cases;
  cases.push_back(Buffer(8, 1, {Record(0, TST_INT4, 4, "")}));
  cases.push_back(Buffer(8, 1, {Record(19, TST_INT4, 4, "")}));
  cases.push_back(Buffer(8, 1, {Record(441, TST_INT4, 4, std::string(421, 'a'))}));
  cases.push_back(
      Buffer(8, 1, {Record(25, TST_ZSTRING, 10, std::string("abcde"))}));  // no terminator
  cases.push_back(Buffer(6, 1, {Record(20, TST_INT4, 4, "")}));            // wrong first word
  cases.push_back(Buffer(8, 1, {Record(20, TST_ZSTRING, 1001, "")}));
  std::vector<std::vector<uint8_t>> many(251, Record(20, TST_INT4, 4, ""));
  cases.push_back(Buffer(8, 251, many));
  std::string longFormat(120, '#');
  cases.push_back(Buffer(8, 1,
                         {Record(static_cast<uint16_t>(20 + 123), TST_INT4, 4,
                                 longFormat + std::string("\0\0\0", 3))}));
  const LRESULT expected[] = {TSERR_LIMIT, TSERR_LIMIT, TSERR_LIMIT, TSERR_LIMIT,
                              TSERR_STATE, TSERR_LIMIT, TSERR_LIMIT, TSERR_LIMIT};
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(Send(grid, TSM_SETDEF, 0, reinterpret_cast<LPARAM>(cases[i].data())), expected[i])
        << i;
    EXPECT_EQ(Definition(grid), before) << i;
  }
  EXPECT_EQ(Send(grid, TSM_SETDEF, 0, 0), TSERR_NULLPTR);
}

TEST_F(GridDefinitions, ColumnRecordsReportTheirSizeAndRefuseSmallRoom) {
  HWND grid = MakeDepositGrid();
  uint8_t record[64] = {};
  record[0] = 19;
  EXPECT_EQ(Send(grid, TSM_GETCOLDEF, 0, reinterpret_cast<LPARAM>(record)), TSERR_LIMIT);
  record[0] = 30;
  EXPECT_EQ(Send(grid, TSM_GETCOLDEF, 0, reinterpret_cast<LPARAM>(record)), TSERR_SMALLBUF);
  EXPECT_EQ(record[0], 46);  // the fixed part is filled before the check
  record[0] = 64;
  EXPECT_EQ(Send(grid, TSM_GETCOLDEF, 0, reinterpret_cast<LPARAM>(record)), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(record + 21)), "Depositor");

  char format[TS_FORMATLIMIT] = "", heading[TS_HEADINGLIMIT] = "", name[TS_NAMELIMIT] = "",
       items[8] = "x";
  TesselColDefEx ex{25, 0, 0, 0, 0, 0, 0, 0, 0, format, heading, name, items};
  ASSERT_EQ(Send(grid, TSM_GETCOLDEFEX, 1, reinterpret_cast<LPARAM>(&ex)), 0);
  EXPECT_STREQ(format, "#,##0.00");
  EXPECT_STREQ(heading, "Amount");
  EXPECT_STREQ(items, "");
  EXPECT_EQ(ex.type, TST_REAL8);
  EXPECT_EQ(ex.width, 50);
  ex.version = 24;
  EXPECT_EQ(Send(grid, TSM_GETCOLDEFEX, 1, reinterpret_cast<LPARAM>(&ex)), TSERR_STATE);
  EXPECT_EQ(Send(grid, TSM_GETCOLDEFEX, 10, reinterpret_cast<LPARAM>(&ex)), TSERR_BADCOL);
  // A version-25 definition of the whole grid rebuilds it elsewhere.
  std::vector<TesselColDefEx> columns(10);
  std::vector<std::vector<char>> texts(40, std::vector<char>(TS_HEADINGLIMIT));
  for (int c = 0; c < 10; ++c)
    columns[c] = TesselColDefEx{25,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                texts[4 * c].data(),
                                texts[4 * c + 1].data(),
                                texts[4 * c + 2].data(),
                                texts[4 * c + 3].data()};
  TesselDefExHeader header{0, 25, 0, 0, 0, 0, 0, 0, 0, columns.data()};
  ASSERT_EQ(Send(grid, TSM_GETDEFEX, 0, reinterpret_cast<LPARAM>(&header)), 0);
  EXPECT_EQ(header.columnCount, 10);
  HWND copy = MakeGrid(TSS_OWNERDEF, 300, 200, 301);
  ASSERT_EQ(Send(copy, TSM_SETDEFEX, 0, reinterpret_cast<LPARAM>(&header)), 0);
  EXPECT_EQ(Definition(copy), Definition(grid));
}

TEST_F(GridDefinitions, ColumnsAreInsertedMovedCopiedAndDeletedWithTheirValues) {
  HWND grid = MakeGrid(TSS_OWNERDEF);
  Send(grid, TSM_SETCOLCOUNT, 3);
  for (int c = 0; c < 3; ++c) {
    Send(grid, TSM_SETCOLTYPE, c, TST_INT4);
    Send(grid, TSM_SETCOLNAME, c, Text(c == 0 ? "A" : c == 1 ? "B" : "C"));
  }
  for (int32_t r = 0; r < 3; ++r) {
    int32_t values[3] = {r * 10, r * 10 + 1, r * 10 + 2};
    Append(grid, values);
  }
  // Column 0 moved to position 2: B, A, C.
  Send(grid, TSM_SETCURSOR, 0, 0);
  ASSERT_EQ(Send(grid, TSM_MOVECOL, 0, 2), 0);
  EXPECT_EQ(Send(grid, TSM_FINDCOLNAME, 0, Text("B")), 0);
  EXPECT_EQ(Send(grid, TSM_FINDCOLNAME, 0, Text("A")), 1);
  int32_t row[3];
  Send(grid, TSM_SETCURSOR, 0, 2);
  Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(row));
  EXPECT_EQ(row[0], 21);
  EXPECT_EQ(row[1], 20);
  EXPECT_EQ(row[2], 22);
  // The values of one column, packed.
  int32_t column[3] = {};
  Send(grid, TSM_SETCURSOR, 1, 0);
  ASSERT_EQ(Send(grid, TSM_GETCOLDATA, 0, reinterpret_cast<LPARAM>(column)), 0);
  EXPECT_EQ(column[0], 0);
  EXPECT_EQ(column[2], 20);
  // A copy of C at the front, then deleting every column leaves rows of headers only.
  Send(grid, TSM_SETCURSOR, 2, 0);
  ASSERT_EQ(Send(grid, TSM_COPYCOL, 0, 0), 0);
  EXPECT_EQ(Send(grid, TSM_FINDCOLNAME, 0, Text("C")), 0);
  Send(grid, TSM_SETCURSOR, 0, 1);
  Send(grid, TSM_GETCELL, 0, reinterpret_cast<LPARAM>(&column[0]));
  EXPECT_EQ(column[0], 12);
  while (Send(grid, TSM_GETCOLCOUNT) > 0) {
    Send(grid, TSM_SETCURSOR, 0, 0);
    ASSERT_EQ(Send(grid, TSM_DELETECOL, 0), 0);
  }
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 3);
  EXPECT_EQ(Send(grid, TSM_DELETECOL, 0), TSERR_STATE);
  // 250 blank columns at most; a blank column is 0 pixels wide.
  for (int c = 0; c < 250; ++c) ASSERT_EQ(Send(grid, TSM_INSERTBLANKCOL, 0xFFFE), 0);
  EXPECT_EQ(Send(grid, TSM_INSERTBLANKCOL, 0xFFFE), TSERR_LIMIT);
  EXPECT_EQ(Send(grid, TSM_GETCOLCOUNT), 250);
  EXPECT_EQ(Send(grid, TSM_GETCOLWIDTH, 0), 0);
}

TEST_F(GridDefinitions, AStateCopyAttachesToAnotherGridAndFreesCleanly) {
  HWND grid = MakeDepositGrid();
  DepositRow row = Deposit("Finley", 2, 1);
  Append(grid, &row);
  HGLOBAL copy = reinterpret_cast<HGLOBAL>(Send(grid, TSM_CLONEDATA));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 0);  // rows go first
  HWND other = MakeGrid(TSS_OWNERDEF, 300, 200, 302);
  ASSERT_EQ(Send(other, TSM_ATTACHDATA, 0, reinterpret_cast<LPARAM>(copy)), 0);
  // The columns come with the state; the window style (header word 3) stays the window's.
  std::vector<uint8_t> attached = Definition(other), original = Definition(grid);
  ASSERT_EQ(attached.size(), original.size());
  EXPECT_TRUE(std::equal(attached.begin() + 8, attached.end(), original.begin() + 8));
  EXPECT_EQ(Append(other, &row), 0);
  HGLOBAL spare = reinterpret_cast<HGLOBAL>(Send(grid, TSM_CLONEDATA));
  EXPECT_EQ(Send(grid, TSM_FREEDATA, 0, reinterpret_cast<LPARAM>(spare)), 0);
  EXPECT_EQ(Send(grid, TSM_ATTACHDATA, 0, 0), TSERR_STATE);
}

TEST_F(GridDefinitions, AttachingACloneInsideAWidthNotificationKeepsTheOuterMessageSafe) {
  NotificationRecorder recorder(parent_);
  HWND grid = MakeDepositGrid();
  HWND donor = MakeDepositGrid();
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.code != TSN_COLWIDTHCHANGED || command.sender != grid) return;
    HGLOBAL copy = reinterpret_cast<HGLOBAL>(Send(donor, TSM_CLONEDATA));
    Send(grid, TSM_ATTACHDATA, 0, reinterpret_cast<LPARAM>(copy));
  });
  EXPECT_EQ(Send(grid, TSM_SETCOLWIDTH, 0, 77), TSERR_LOCKFAILED);
  recorder.OnCommand(nullptr);
  EXPECT_EQ(Send(grid, TSM_GETCOLWIDTH, 0), 105);  // the attached copy's width
  EXPECT_EQ(Send(grid, TSM_GETCOLCOUNT), 10);
}

TEST_F(GridDefinitions, HeadingsSortKeysAndAttributes) {
  HWND grid = MakeGrid(TSS_LETTERS);
  Send(grid, TSM_SETCOLCOUNT, 30);
  char text[16];
  Send(grid, TSM_GETCOLHEADING, 25, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Z");
  Send(grid, TSM_GETCOLHEADING, 26, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "BA");
  Send(grid, TSM_SETCOLSTYLE, 0, TSCS_SORTKEY1);
  Send(grid, TSM_SETCOLSTYLE, 2, TSCS_SORTKEY1);
  EXPECT_EQ(Send(grid, TSM_GETCOLSTYLE, 0) & 0x5000, 0);
  EXPECT_EQ(Send(grid, TSM_GETCOLSTYLE, 2) & 0x5000, TSCS_SORTKEY1);
  Send(grid, TSM_SETCOLSTYLE, 1, TSCS_SORTKEY3);
  EXPECT_EQ(Send(grid, TSM_GETCOLSTYLE, 1) & 0x5000, 0x5000);

  Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
  int32_t value = 5;
  Append(grid, &value);
  TesselColors colors{};
  Send(grid, TSM_SETCURSOR, 0, 0);
  ASSERT_EQ(Send(grid, TSM_GETROWCOLORS, 0, reinterpret_cast<LPARAM>(&colors)), 0);
  EXPECT_EQ(colors.background, static_cast<COLORREF>(TSCLR_DEFAULT));
  EXPECT_EQ(colors.selectedText, static_cast<COLORREF>(TSCLR_DEFAULT));
  Send(grid, TSM_SETROWLABEL, 0, Text("first"));
  Send(grid, TSM_SETROWLABEL, 0, Text("second label"));
  char label[TS_LABELSIZE];
  Send(grid, TSM_GETROWLABEL, 0, reinterpret_cast<LPARAM>(label));
  EXPECT_STREQ(label, "second label");
  std::string longLabel(1500, 'L');
  Send(grid, TSM_SETROWLABEL, 0, Text(longLabel.c_str()));
  Send(grid, TSM_GETROWLABEL, 0, reinterpret_cast<LPARAM>(label));
  EXPECT_EQ(std::strlen(label), 999u);
  Send(grid, TSM_SETCELLATTR, 0, 1);
  TesselColors cell{RGB(1, 2, 3), TSCLR_DEFAULT, TSCLR_DEFAULT, TSCLR_DEFAULT};
  Send(grid, TSM_SETCELLCOLORS, 0, reinterpret_cast<LPARAM>(&cell));
  Send(grid, TSM_RESETCELLCOLORS, 0);
  EXPECT_EQ(Send(grid, TSM_GETCELLATTR, 0), 1);  // the word outlives the colours
  EXPECT_EQ(Send(grid, TSM_SETROWHEIGHT, 0, -1), TSERR_BADWIDTH);
  Send(grid, TSM_SETROWHEIGHT, 0, 40);
  EXPECT_EQ(Send(grid, TSM_GETROWHEIGHT, 0), 40);
  Send(grid, TSM_SETROWHEIGHT, 0, 0);
  EXPECT_EQ(Send(grid, TSM_GETROWHEIGHT, 0), Send(grid, TSM_GETMETRIC, 1));
  TesselColors grid_colors{};
  Send(grid, TSM_GETCOLORS, 0, reinterpret_cast<LPARAM>(&grid_colors));
  EXPECT_EQ(grid_colors.text, static_cast<COLORREF>(TSCLR_DEFAULT));  // never set
}

TEST_F(GridDefinitions, AThousandGridsComeAndGo) {
  for (int i = 0; i < 1000; ++i) {
    HWND grid = MakeDepositGrid(200, 100);
    DepositRow row = Deposit("Gale", i, i);
    Append(grid, &row);
    Send(grid, TSM_SETCURSOR, 0, 0);
    Send(grid, TSM_SETROWLABEL, 0, Text("row"));
    ASSERT_TRUE(DestroyWindow(grid));
  }
}
