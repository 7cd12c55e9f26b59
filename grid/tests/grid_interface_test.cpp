// The grid's message interface as the dialogs use it: definitions, offsets and sizes
// worked by hand, rows in and out, references, refusals and notifications.
#include "grid/tests/grid_fixture.h"

#include <vector>

using GridInterface = GridTest;

TEST_F(GridInterface, TheDepositGridLaysItsRowOutAsTheDialogPacksIt) {
  HWND grid = MakeDepositGrid();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(Send(grid, TSM_GETCOLCOUNT), 10);
  // Header of 4 bytes, then each value after the last, 8- and 4-byte types at multiples of 4.
  const int offsets[10] = {0, 64, 72, 88, 92, 96, 100, 108, 112, 116};
  for (int c = 0; c < 10; ++c) EXPECT_EQ(Send(grid, TSM_GETCOLOFFSET, c), offsets[c]) << c;
  EXPECT_EQ(Send(grid, TSM_GETCOLLEN, 4), 4);  // the type set the length
  EXPECT_EQ(Send(grid, TSM_GETCOLTYPE, 1), TST_REAL8);
  EXPECT_EQ(Send(grid, TSM_GETCOLWIDTH, 0), 105);
  // String pool: per column format, heading, name with terminators = 109 bytes.
  EXPECT_EQ(Send(grid, TSM_GETDEFSIZE), 20 * 10 + 109 + 8);
  EXPECT_EQ(Send(grid, TSM_GETCOLDEFSIZE, 0), 20 + 0 + 9 + 14 + 3);
  EXPECT_EQ(Send(grid, TSM_GETCOLDEFSIZE, 1), 20 + 8 + 6 + 0 + 3);
  EXPECT_EQ(Send(grid, TSM_FINDCOLNAME, 0, Text("Description")), 9);
  EXPECT_EQ(Send(grid, TSM_FINDCOLNAME, 0, Text("description")), TSERR_BADCOL);
  char text[256];
  Send(grid, TSM_GETCOLFORMAT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "#,##0.00");
  Send(grid, TSM_GETCOLHEADING, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Depositor");

  DepositRow in = Deposit("Avery Title Co.", 1234.5, 7);
  EXPECT_EQ(Append(grid, &in), 0);
  DepositRow second = Deposit("Blake", -2.25, 8);
  EXPECT_EQ(Append(grid, &second), 1);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 2);
  DepositRow out;
  std::memset(&out, 0x5A, sizeof out);
  Send(grid, TSM_SETCURSOR, 0, 0);
  ASSERT_EQ(Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(&out)), 0);
  EXPECT_EQ(std::memcmp(&in, &out, sizeof in), 0);
  double amount;
  std::memcpy(&amount, reinterpret_cast<const char*>(&out) + 64, sizeof amount);
  EXPECT_EQ(amount, 1234.5);
}

TEST_F(GridInterface, TypeStyleAndLengthInEitherOrderGiveTheSameColumn) {
  HWND a = MakeGrid(TSS_OWNERDEF, 300, 200, 201);
  HWND b = MakeGrid(TSS_OWNERDEF, 300, 200, 202);
  Send(a, TSM_SETCOLCOUNT, 1);
  Send(b, TSM_SETCOLCOUNT, 1);
  Send(a, TSM_SETCOLTYPE, 0, TST_ZSTRING);
  Send(a, TSM_SETCOLLEN, 0, 30);
  Send(a, TSM_SETCOLSTYLE, 0, TSCS_PROTECT);
  Send(b, TSM_SETCOLSTYLE, 0, TSCS_PROTECT);
  Send(b, TSM_SETCOLLEN, 0, 30);  // length before type: refused? no, no fixed size yet
  Send(b, TSM_SETCOLTYPE, 0, TST_ZSTRING);
  EXPECT_EQ(Send(a, TSM_GETCOLLEN, 0), 30);
  EXPECT_EQ(Send(a, TSM_GETCOLSTYLE, 0), Send(b, TSM_GETCOLSTYLE, 0));
  EXPECT_EQ(Send(a, TSM_GETCOLTYPE, 0), Send(b, TSM_GETCOLTYPE, 0));
  // A string type imposes no length, so b's type change cleared it to the type's size 0.
  EXPECT_EQ(Send(b, TSM_GETCOLLEN, 0), 0);
  Send(b, TSM_SETCOLLEN, 0, 30);
  EXPECT_EQ(Send(b, TSM_GETCOLLEN, 0), 30);
  // A fixed-size type refuses a length and keeps its own.
  Send(a, TSM_SETCOLTYPE, 0, TST_INT4);
  EXPECT_EQ(Send(a, TSM_SETCOLLEN, 0, 8), TSERR_FIXEDLEN);
  EXPECT_EQ(Send(a, TSM_GETCOLLEN, 0), 4);
}

TEST_F(GridInterface, OffsetsFollowAlignmentAndLimitsRefuseWithoutChange) {
  HWND grid = MakeGrid(TSS_OWNERDEF);
  Send(grid, TSM_SETCOLCOUNT, 3);
  Send(grid, TSM_SETCOLTYPE, 0, TST_INT1);
  Send(grid, TSM_SETCOLTYPE, 1, TST_INT4);
  Send(grid, TSM_SETCOLTYPE, 2, TST_ZSTRING);
  Send(grid, TSM_SETCOLLEN, 2, 5);
  // Values at 4, 8, 12 from the row's start; minus the 4-byte header.
  EXPECT_EQ(Send(grid, TSM_GETCOLOFFSET, 0), 0);
  EXPECT_EQ(Send(grid, TSM_GETCOLOFFSET, 1), 4);
  EXPECT_EQ(Send(grid, TSM_GETCOLOFFSET, 2), 8);
  EXPECT_EQ(Send(grid, TSM_SETCOLLEN, 2, 1000), 0);
  EXPECT_EQ(Send(grid, TSM_SETCOLLEN, 2, 1001), TSERR_LIMIT);
  EXPECT_EQ(Send(grid, TSM_GETCOLLEN, 2), 1000);
  EXPECT_EQ(Send(grid, TSM_SETCOLCOUNT, 2), TSERR_STATE);
  std::string format(119, '#');
  EXPECT_EQ(Send(grid, TSM_SETCOLFORMAT, 0, Text(format.c_str())), 0);
  format += '#';
  EXPECT_EQ(Send(grid, TSM_SETCOLFORMAT, 0, Text(format.c_str())), TSERR_LIMIT);
  std::string name(99, 'n');
  EXPECT_EQ(Send(grid, TSM_SETCOLNAME, 0, Text(name.c_str())), 0);
  EXPECT_EQ(Send(grid, TSM_SETCOLNAME, 0, Text((name + "n").c_str())), TSERR_LIMIT);
  std::string heading(199, 'h');
  EXPECT_EQ(Send(grid, TSM_SETCOLHEADING, 0, Text(heading.c_str())), 0);
  EXPECT_EQ(Send(grid, TSM_SETCOLHEADING, 0, Text((heading + "h").c_str())), TSERR_LIMIT);
  char buffer[256];
  Send(grid, TSM_GETCOLNAME, 0, reinterpret_cast<LPARAM>(buffer));
  EXPECT_EQ(std::string(buffer), name);
  // Strings of later columns survive the earlier column's growth.
  Send(grid, TSM_SETCOLNAME, 2, Text("Last"));
  Send(grid, TSM_SETCOLFORMAT, 0, Text("0"));
  Send(grid, TSM_GETCOLNAME, 2, reinterpret_cast<LPARAM>(buffer));
  EXPECT_STREQ(buffer, "Last");
  // 250 x 1000 bytes would pass 65,535 bytes a row.
  HWND wide = MakeGrid(TSS_OWNERDEF, 300, 200, 203);
  EXPECT_EQ(Send(wide, TSM_SETCOLCOUNT, 251), TSERR_LIMIT);
  EXPECT_EQ(Send(wide, TSM_GETCOLCOUNT), 0);
  ASSERT_EQ(Send(wide, TSM_SETCOLCOUNT, 250), 0);
  int refused = 0;
  for (int c = 0; c < 250; ++c) {
    Send(wide, TSM_SETCOLTYPE, c, TST_ZSTRING);
    if (Send(wide, TSM_SETCOLLEN, c, 1000) == TSERR_LIMIT) ++refused;
  }
  EXPECT_EQ(refused, 250 - 65);  // 4 + 65 x 1000 fits, the 66th does not
  EXPECT_LE(Send(wide, TSM_GETCOLOFFSET, 65), 65535);
  // Column 65 gets 600 bytes once column 0 gives up 100; column 0 taking them back would
  // end the row at 4 + 65,000 + 600, so it is refused and every column stays where it was.
  ASSERT_EQ(Send(wide, TSM_SETCOLLEN, 0, 900), 0);
  ASSERT_EQ(Send(wide, TSM_SETCOLLEN, 65, 600), 0);
  EXPECT_EQ(Send(wide, TSM_SETCOLLEN, 0, 1000), TSERR_LIMIT);
  EXPECT_EQ(Send(wide, TSM_GETCOLLEN, 0), 900);
  EXPECT_EQ(Send(wide, TSM_GETCOLOFFSET, 1), 900);
  EXPECT_EQ(Send(wide, TSM_GETCOLOFFSET, 65), 64900);
  EXPECT_EQ(Send(wide, TSM_GETCOLOFFSET, 249), 65500);
}

TEST_F(GridInterface, UnknownNumbersRecordlessGridsAndNullBuffers) {
  HWND grid = MakeDepositGrid();
  EXPECT_EQ(Send(grid, TESSEL_WM_USER + 31), TSERR_BADMESSAGE);
  EXPECT_EQ(Send(grid, TESSEL_WM_USER + 252), TSERR_BADMESSAGE);
  EXPECT_EQ(Send(grid, TESSEL_WM_USER + 200), TSERR_BADMESSAGE);
  EXPECT_EQ(Send(grid, TSM_GETROWBYKEY), TSERR_BADMESSAGE);
  EXPECT_EQ(Send(grid, TESSEL_WM_USER + 300), 0);  // default processing
  EXPECT_EQ(Send(grid, TSM_GETROW, 0, 0), TSERR_NULLPTR);
  EXPECT_EQ(Send(grid, TSM_GETCOLFORMAT, 0, 0), TSERR_NULLPTR);
  EXPECT_EQ(Send(grid, TSM_SETCOLNAME, 0, 0), TSERR_NULLPTR);
  EXPECT_EQ(Send(grid, TSM_GETCOLORS, 0, 0), TSERR_NULLPTR);
  EXPECT_EQ(Send(grid, TSM_GETCELLRECT, 0, 0), TSERR_NULLPTR);

  UINT notify = RegisterWindowMessage("CUSTCNTL_NOTIFY");
  HGLOBAL record = reinterpret_cast<HGLOBAL>(Send(grid, notify, 1));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(Send(grid, TSM_GETCOLCOUNT), TSERR_LOCKFAILED);
  EXPECT_EQ(Send(grid, TSM_NOOP), TSERR_LOCKFAILED);
  Send(grid, notify, 2, reinterpret_cast<LPARAM>(record));
  EXPECT_EQ(Send(grid, TSM_GETCOLCOUNT), 10);
}

TEST_F(GridInterface, TheCursorWalksRowsAndCellsAndStopsPastTheEnd) {
  HWND grid = MakeGrid(TSS_OWNERDEF);
  Send(grid, TSM_SETCOLCOUNT, 2);
  Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
  Send(grid, TSM_SETCOLTYPE, 1, TST_INT4);
  EXPECT_EQ(Send(grid, TSM_SETCURSOR, 0, 0), 0);
  EXPECT_EQ(Send(grid, TSM_INSERTROW, 0, 0), TSERR_BADROW);  // row 0 of an empty grid
  for (int32_t v = 0; v < 3; ++v) {
    int32_t values[2] = {v * 10, v * 10 + 1};
    EXPECT_EQ(Append(grid, values), v);
  }
  Send(grid, TSM_SETCURSOR, 0, TSROW_LAST);
  EXPECT_EQ(Send(grid, TSM_GETCURSORROW), 2);
  Send(grid, TSM_SETCURSOR, 0, 0);
  int32_t values[2];
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(Send(grid, TSM_GETROW, TSREF_FORWARD, reinterpret_cast<LPARAM>(values)), 0);
  EXPECT_EQ(values[0], 20);
  EXPECT_EQ(Send(grid, TSM_GETCURSORROW), TSROW_PASTEND);
  EXPECT_EQ(Send(grid, TSM_GETROW, TSREF_FORWARD, reinterpret_cast<LPARAM>(values)), TSERR_BADROW);
  // Cells along the rows, then down the columns.
  std::vector<int32_t> seen;
  Send(grid, TSM_SETCURSOR, 0, 0);
  int32_t cell = 0;
  while (Send(grid, TSM_GETCELL, TSREF_FORWARD, reinterpret_cast<LPARAM>(&cell)) == 0)
    seen.push_back(cell);
  EXPECT_EQ(seen, (std::vector<int32_t>{0, 1, 10, 11, 20, 21}));
  seen.clear();
  Send(grid, TSM_SETCURSOR, 0, 0);
  while (Send(grid, TSM_GETCELL, TSREF_FORWARD | TSREF_BYCOLUMN, reinterpret_cast<LPARAM>(&cell)) ==
         0)
    seen.push_back(cell);
  EXPECT_EQ(seen, (std::vector<int32_t>{0, 10, 20, 1, 11, 21}));
}

TEST_F(GridInterface, MovingARowKeepsSelectionAndCurrentRowWithTheirRecords) {
  HWND grid = MakeGrid(TSS_OWNERDEF | TSS_MULTIROW);
  Send(grid, TSM_SETCOLCOUNT, 1);
  Send(grid, TSM_SETCOLTYPE, 0, TST_INT4);
  EXPECT_EQ(Send(grid, TSM_GETCOLOFFSET, 0), 0);
  for (int32_t v = 0; v < 5; ++v) Append(grid, &v);
  // Row 3 before row 2 swaps them; targets 3 and 4 change nothing.
  Send(grid, TSM_SETCURSOR, 0, 3);
  EXPECT_EQ(Send(grid, TSM_MOVEROW, 0, 2), 0);
  int32_t order[5];
  for (int r = 0; r < 5; ++r) {
    Send(grid, TSM_SETCURSOR, 0, r);
    Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(&order[r]));
  }
  EXPECT_EQ(std::vector<int32_t>(order, order + 5), (std::vector<int32_t>{0, 1, 3, 2, 4}));
  Send(grid, TSM_SETCURSOR, 0, 2);
  EXPECT_EQ(Send(grid, TSM_MOVEROW, 0, 2), 0);
  EXPECT_EQ(Send(grid, TSM_MOVEROW, 0, 3), 0);
  Send(grid, TSM_SETCURSOR, 0, 2);
  int32_t value = 0;
  Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(&value));
  EXPECT_EQ(value, 3);
  // A grid with a bad target refuses.
  Send(grid, TSM_SETCURSOR, 0, 0);
  EXPECT_EQ(Send(grid, TSM_MOVEROW, 0, 9), TSERR_BADROW);
  EXPECT_EQ(Send(grid, TSM_COPYROW, 0, 9), TSERR_BADROW);
}

TEST_F(GridInterface, NotificationsArriveInOrderAndAReplyKeepsTheRow) {
  NotificationRecorder recorder(parent_);
  HWND grid = MakeDepositGrid();
  EXPECT_EQ(recorder.Count(TSN_CREATED), 1);
  DepositRow row = Deposit("Casey", 10, 1);
  recorder.Clear();
  Append(grid, &row);
  std::vector<int> codes = recorder.Codes(grid);
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(codes[0], TSN_ROWINSERTING);
  EXPECT_EQ(codes.back(), TSN_ROWINSERTED);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.code == TSN_ROWDELETING) {
      EXPECT_EQ(Send(grid, TSM_GETNOTIFYROW), 0);
      Send(grid, TSM_SETREPLY, 0, 1);
    }
  });
  recorder.Clear();
  Send(grid, TSM_SETCURSOR, 0, 0);
  EXPECT_EQ(Send(grid, TSM_DELETEROW, 0), 0);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 1);
  EXPECT_EQ(recorder.Count(TSN_ROWDELETED), 0);
  recorder.OnCommand(nullptr);
  recorder.Clear();
  DestroyWindow(grid);
  EXPECT_EQ(recorder.Count(TSN_DESTROYED), 1);
}

TEST_F(GridInterface, HandlersThatDeleteResetOrDestroyLeaveTheOuterMessageSafe) {
  NotificationRecorder recorder(parent_);
  HWND grid = MakeDepositGrid();
  DepositRow row = Deposit("Drew", 5, 1);
  Append(grid, &row);
  Append(grid, &row);
  // Deleting every row while a delete asks.
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.code == TSN_ROWDELETING) Send(grid, TSM_DELETEALLROWS);
  });
  Send(grid, TSM_SETCURSOR, 0, 1);
  EXPECT_EQ(Send(grid, TSM_DELETEROW, 0), TSERR_BADROW);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 0);
  // Resetting while an insert asks: the insert answers an error and adds nothing.
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.code == TSN_ROWINSERTING) Send(grid, TSM_RESET);
  });
  Send(grid, TSM_SETCURSOR, 0, TSROW_APPEND);
  EXPECT_LT(Send(grid, TSM_INSERTROW, 0, reinterpret_cast<LPARAM>(&row)), 0);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 0);
  EXPECT_EQ(Send(grid, TSM_GETCOLCOUNT), 0);
  // Destroying the grid once its row is in.
  Define(grid, DepositColumns(), 10);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.code == TSN_ROWINSERTED && IsWindow(grid)) DestroyWindow(grid);
  });
  Append(grid, &row);
  EXPECT_FALSE(IsWindow(grid));
  recorder.OnCommand(nullptr);
}

TEST_F(GridInterface, TheHundredthNestedMessageIsRefusedWithABox) {
  HWND grid = MakeDepositGrid();
  int depth = 0;
  std::vector<LRESULT> answers;
  NotificationRecorder recorder(parent_);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.code != 77) return;
    ++depth;
    answers.push_back(Send(grid, TSM_NOTIFY, 77));
  });
  Boxes().QueueAnswer(IDOK);
  Send(grid, TSM_NOTIFY, 77);
  // Levels 1 to 99 hold the record; the 100th message is refused.
  EXPECT_EQ(depth, 99);
  ASSERT_FALSE(answers.empty());
  EXPECT_EQ(answers.front(), TSERR_LOCKFAILED);
  EXPECT_EQ(Boxes().Shown().size(), 1u);
  ASSERT_FALSE(Boxes().Shown().empty());
  EXPECT_EQ(Boxes().Shown().back().text, "Maximum Message Nesting has been exceeded!");
  EXPECT_EQ(Boxes().Shown().back().caption, "LockTessel");
  recorder.OnCommand(nullptr);
  EXPECT_EQ(Send(grid, TSM_GETCOLCOUNT), 10);
}

TEST_F(GridInterface, ACancelledInsertStillAnswersItsPlace) {
  NotificationRecorder recorder(parent_);
  HWND grid = MakeDepositGrid();
  DepositRow row = Deposit("Orla", 1, 1);
  Append(grid, &row);
  Append(grid, &row);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.code == TSN_ROWINSERTING) Send(grid, TSM_SETREPLY, 0, 1);
  });
  EXPECT_EQ(Append(grid, &row), 2);
  recorder.OnCommand(nullptr);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 2);
  EXPECT_EQ(recorder.Count(TSN_ROWINSERTED), 2);
}
