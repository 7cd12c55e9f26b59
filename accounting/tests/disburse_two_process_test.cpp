// Another station at work on the same ledger: this test program run again as a child on the
// same root marks a listed check Printed, posts a listed deposit, or holds an entry's lock,
// and the disbursing and posting dialogs neither undo its work nor write past its lock.
#include "accounting/post_deposits.h"
#include "disburse_fixture.h"
#include "grid/tessel_codes.h"
#include "platform/engine/engine.h"
#include "platform/testing/other_programs.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/winuser.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr char kChildVariable[] = "LEDGER_OTHER_STATION";

/* The other station: LEDGER_OTHER_STATION="<action> <directory> <file> <type> <seq> <date>",
   action print (Printed, number 3001), post (Posted) or hold (locks, prints "held" and keeps
   the lock until its standard input closes). */
TEST(LedgerOtherStation, Act) {
  const char* order = std::getenv(kChildVariable);
  if (order == nullptr) GTEST_SKIP() << "run only as the other station";
  char action[16], directory[512], file[16], type[2];
  double seq = 0;
  long date = 0;
  ASSERT_EQ(
      std::sscanf(order, "%15s %511s %15s %1s %lf %ld", action, directory, file, type, &seq, &date),
      6);
  EngineDatabase database = nullptr;
  EngineCursor cursor = nullptr;
  ASSERT_EQ(EngineInit(300, nullptr), 0);
  ASSERT_EQ(EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &database), 0);
  ASSERT_EQ(EngineSetDirectory(database, directory), 0);
  ASSERT_EQ(EngineOpenTable(database, "ACCOUNT", "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0,
                            nullptr, &cursor),
            0);
  EngineCursorProps props{};
  EngineGetCursorProps(cursor, &props);
  std::vector<char> record(props.recordSize);
  EngineInitRecord(cursor, record.data());
  EnginePutField(cursor, 1, record.data(), file);
  EnginePutField(cursor, 2, record.data(), type);
  EnginePutField(cursor, 3, record.data(), &seq);
  ASSERT_EQ(EngineSetToKey(cursor, ENGINE_KEY_EQ, 0, 0, 0, record.data()), 0);
  ASSERT_EQ(EngineGetNextRecord(cursor, 0, record.data(), nullptr), 0);
  if (std::strcmp(action, "hold") == 0) {
    ASSERT_EQ(EngineGetRecord(cursor, ENGINE_WRITE_LOCK, nullptr, nullptr), 0);
    std::puts("held");
    std::fflush(stdout);
    char line[16];
    while (std::fgets(line, sizeof line, stdin)) {}
  } else {
    const bool print = std::strcmp(action, "print") == 0;
    const SHORT status = print ? 2 : 5;
    const DWORD day = static_cast<DWORD>(date);
    EnginePutField(cursor, 6, record.data(), &status);
    EnginePutField(cursor, 7, record.data(), &day);
    if (print) {
      const double number = 3001;
      EnginePutField(cursor, 4, record.data(), &number);
    }
    ASSERT_EQ(EngineModifyRecord(cursor, record.data(), FALSE), 0);
    std::puts("done");
  }
  EngineExit();
}

std::string Order(const std::string& action, const std::string& directory, const std::string& file,
                  char type, double seq, LONG date) {
  char text[1024];
  std::snprintf(text, sizeof text, "%s %s %s %c %.17g %ld", action.c_str(), directory.c_str(),
                file.c_str(), type, seq, static_cast<long>(date));
  return text;
}

std::string ChildCommand(const std::string& order) {
  char self[1024] = "";
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n > 0) self[n] = '\0';
  return std::string(kChildVariable) + "='" + order + "' QT_QPA_PLATFORM=offscreen '" + self +
         "' --gtest_filter=LedgerOtherStation.Act";
}

/* Runs the other station to the end of its action. */
void OtherStationDoes(const std::string& order) {
  ASSERT_EQ(std::system((ChildCommand(order) + " > /dev/null").c_str()), 0);
}

/* The other station holding an entry's lock while this object lives; only its "held" line
   comes back (the test program's banner comes first). */
class HeldLock {
 public:
  HeldLock(const std::string& order, const std::string& answerFile)
      : station_(ChildCommand(order) + " | grep --line-buffered '^held$'", answerFile) {}
  bool Held() const { return station_.Answer() == "held"; }

 private:
  HeldProgram station_;
};

class OtherStationTest : public DisburseTest {
 protected:
  std::string Directory() const { return Root() + "/drive_c/ZARNE/DATA"; }
};

TEST_F(OtherStationTest, ACheckPrintedElsewhereIsShownAsStoredAndNotWritten) {
  Put("TWO", 'C', 743000.1, 0, 85.0);
  Put("TWO", 'D', 743000.2, 3, 100.0);
  const LONG printedOn = DateOf(8, 1, 2024);
  std::vector<BYTE> afterChild;
  Driver().OnDialog(20901, [&](HWND entry) {
    SetControlText(entry, 104, "Typed over a stale copy");
    SetControlText(entry, 102, "99.00");
    PressButton(entry, IDOK);
  });
  RunDisburse("TWO", [&](HWND dialog, TDisburse&) {
    EXPECT_STREQ(CheckRow(dialog, 0).StatusText, "Ready");
    OtherStationDoes(Order("print", Directory(), "TWO", 'C', 743000.1, printedOn));
    afterChild = RawRecord("TWO", 'C', 743000.1);
    SelectRow(dialog, 300, 0);
    PressButton(dialog, 402);
    TDisburseCheckRow row = CheckRow(dialog, 0);
    EXPECT_STREQ(row.StatusText, "Printed");
    EXPECT_EQ(row.Number, 3001);
    EXPECT_EQ(row.Date, printedOn);
    EXPECT_EQ(RowAmount(row), 85.0);
    EXPECT_EQ(Text(dialog, 103), "15.00");
  });
  EXPECT_EQ(RawRecord("TWO", 'C', 743000.1), afterChild);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "This check has been printed and can't be modified.");
}

TEST_F(OtherStationTest, AnEntryLockedElsewhereIsNotWritten) {
  Put("LOCK", 'C', 744000.1, 0, 60.0);
  const std::vector<BYTE> before = RawRecord("LOCK", 'C', 744000.1);
  Driver().OnDialog(20901, [&](HWND entry) {
    SetControlText(entry, 102, "61.00");
    PressButton(entry, IDOK);
  });
  bool held = false;
  RunDisburse("LOCK", [&](HWND dialog, TDisburse&) {
    HeldLock lock(Order("hold", Directory(), "LOCK", 'C', 744000.1, 0), Root() + "/held.txt");
    held = lock.Held();
    ASSERT_TRUE(held);
    SelectRow(dialog, 300, 0);
    PressButton(dialog, 402);
    EXPECT_EQ(RowAmount(CheckRow(dialog, 0)), 60.0);
    EXPECT_EQ(Text(dialog, 103), "-60.00");
  });
  EXPECT_EQ(RawRecord("LOCK", 'C', 744000.1), before);
  ASSERT_FALSE(Shown().empty());
  EXPECT_EQ(Shown()[0].caption, "Database Error");
}

TEST_F(OtherStationTest, ADepositPostedElsewhereIsRefusedAsPosted) {
  Put("POSTED", 'D', 745000.1, 3, 500.0);
  const LONG postedOn = DateOf(8, 2, 2024);
  std::vector<BYTE> afterChild;
  Driver().OnDialog(20902, [&](HWND entry) {
    SetControlText(entry, 104, "400.00");
    PressButton(entry, IDOK);
  });
  RunDisburse("POSTED", [&](HWND dialog, TDisburse&) {
    OtherStationDoes(Order("post", Directory(), "POSTED", 'D', 745000.1, postedOn));
    afterChild = RawRecord("POSTED", 'D', 745000.1);
    SelectRow(dialog, 200, 0);
    PressButton(dialog, 202);
    EXPECT_EQ(DepositRow(dialog, 0).Status, 5);
    EXPECT_EQ(DepositRow(dialog, 0).Date, postedOn);
    EXPECT_EQ(Text(dialog, 103), "500.00");
  });
  EXPECT_EQ(RawRecord("POSTED", 'D', 745000.1), afterChild);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "This deposit has been posted and can't be modified.");
  EXPECT_EQ(Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
}

TEST_F(OtherStationTest, ADepositLockedElsewhereStaysUnpostedAndSelected) {
  Put("PLOCK", 'D', 746000.1, 3, 10.0);
  Put("PLOCK", 'D', 746000.2, 3, 20.0);
  const std::vector<BYTE> before = RawRecord("PLOCK", 'D', 746000.2);
  TPostDeposits dialog(nullptr);
  CopyLedgerText(dialog.FileNumber, sizeof dialog.FileNumber, "PLOCK");
  Driver().OnDialog(kPostDepositsTemplate, [&](HWND hwnd) {
    HWND grid = FindControl(hwnd, 200);
    for (int row = 0; row < 2; ++row) {
      SendMessage(grid, TSM_SETCURSOR, 0, row);
      RECT cell{};
      SendMessage(grid, TSM_GETCELLRECT, TSREF_CURSOR, reinterpret_cast<LPARAM>(&cell));
      Click(grid, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
      PumpDialogMessages(hwnd);
    }
    HeldLock lock(Order("hold", Directory(), "PLOCK", 'D', 746000.2, 0), Root() + "/held.txt");
    ASSERT_TRUE(lock.Held());
    SetControlText(hwnd, 102, "08/05/24");
    PressButton(hwnd, 319);
    EXPECT_EQ(SendMessage(grid, TSM_ISROWSELECTED, 0, 0), 0);
    EXPECT_EQ(SendMessage(grid, TSM_ISROWSELECTED, 0, 1), 1);
    PressButton(hwnd, IDOK);
  });
  dialog.Execute();
  EXPECT_EQ(StoredEntry("PLOCK", 'D', 746000.1)->Status, 5);
  EXPECT_EQ(RawRecord("PLOCK", 'D', 746000.2), before);
  ASSERT_FALSE(Shown().empty());
  EXPECT_EQ(Shown()[0].caption, "Database Error");
}

}  // namespace
