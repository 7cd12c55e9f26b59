/*
** File New, Open and Delete driven by keys as a user types them (Alt+F, the item's letter,
** the number, Enter) in the running application over a fresh root: the thirteen records of
** a new file with their defaults, opening an existing file once, and Delete removing
** exactly the chosen ledger statuses with the file's records and title items while its
** neighbours in key order stay untouched.
*/
#include "zarne_app_fixture.h"

#include "../lock_probe_runner.h"

#include "../shell_tables.h"
#include "platform/framework/mdi.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "filenumber/file_windows.h"
#include "shell/shell_ids.h"
#include "shell/zarne_mdi_client.h"
#include "statement/respa_window.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "platform/engine/engine.h"

#include <ctime>
#include <set>

namespace {

constexpr int kFileTables = 13;
constexpr int kAccount = 14;

class FileCommandsTest : public ZarneAppTest {
 protected:
  void SetUp() override {
    ZarneAppTest::SetUp();
    StartApp();
    ASSERT_TRUE(app_->StartedUp());
    Boxes().Clear();
  }

  bool Has(int table, const std::string& number) {
    TPXRecord record(gTables[table], true);
    record.SetString(1, number.c_str());
    return record.Seek(0, 0);
  }
  void Put(int table, const std::string& number) {
    TPXRecord record(gTables[table], true);
    record.Clear();
    record.SetString(1, number.c_str());
    EXPECT_TRUE(record.Post());
  }
  void PutEntry(const std::string& number, double seq, SHORT status) {
    TPXRecord record(gTables[kAccount], true);
    record.Clear();
    record.SetString(1, number.c_str());
    record.SetString(2, "C");
    record.SetDouble(3, seq);
    record.SetShort(6, status);
    EXPECT_TRUE(record.Post());
  }
  void PutTitleItem(const std::string& number, double seq) {
    TPXRecord record(gTables[kTitleBTable], true);
    record.Clear();
    record.SetString(1, number.c_str());
    record.SetString(2, "1A");
    record.SetDouble(3, seq);
    record.SetString(5, "B");
    EXPECT_TRUE(record.Post());
  }
  /* The statuses of the file's ledger entries, and how many title items it has. */
  std::multiset<int> Statuses(const std::string& number) {
    std::multiset<int> statuses;
    TPXRecord record(gTables[kAccount], true);
    if (!record.First()) return statuses;
    do {
      char file[32] = "";
      SHORT status = -1;
      record.Read(0);
      record.GetString(1, file, sizeof file);
      record.GetShort(6, status);
      if (number == file) statuses.insert(status);
    } while (record.Next());
    return statuses;
  }
  /* The file's thirteen records as the engine holds them, byte for byte. */
  std::vector<std::string> RawRecords(const std::string& number) {
    std::vector<std::string> raw;
    for (int table = 0; table < kFileTables; ++table) {
      TPXRecord record(gTables[table], true);
      record.SetString(1, number.c_str());
      if (!record.Seek(0, 0)) {
        raw.push_back("<missing>");
        continue;
      }
      EngineCursorProps props{};
      EngineGetCursorProps(record.Cursor(), &props);
      std::string bytes(props.recordSize, '\0');
      EngineGetRecord(record.Cursor(), ENGINE_NO_LOCK, bytes.data(), nullptr);
      raw.push_back(bytes);
    }
    return raw;
  }
  void CloseFrontFile() {
    SetFocus(Frame()->HWindow);
    PressKey('F', Qt::AltModifier);
    PressKey('C');
    PumpUntilIdle();
  }
  int TitleItems(const std::string& number) {
    int count = 0;
    TPXRecord record(gTables[kTitleBTable], true);
    if (!record.First()) return 0;
    do {
      char file[32] = "";
      record.Read(0);
      record.GetString(1, file, sizeof file);
      count += number == file;
    } while (record.Next());
    return count;
  }
};

TEST_F(FileCommandsTest, NewMakesTheThirteenRecordsWithTheirDefaults) {
  FileCommandByKeys('N', "NEW1");
  TMDIChild* child = FindFileWindow(Client(), "NEW1");
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(CountFileWindows(Client()), 1);
  for (int table = 0; table < kFileTables; ++table) EXPECT_TRUE(Has(table, "NEW1")) << table;
  EXPECT_FALSE(Has(kTitleBTable, "NEW1"));
  // The day counts of the prorations and the 1201 columns: defaults written back.
  TPXRecord summary(gTables[kSummary1Table], true);
  summary.SetString(1, "NEW1");
  ASSERT_TRUE(summary.Seek(0, 0));
  summary.Read(0);
  SHORT days = 0;
  summary.GetShort(18, days);
  EXPECT_EQ(days, 365);
  TPXRecord property(gTables[kPropertyTable], true);
  property.SetString(1, "NEW1");
  ASSERT_TRUE(property.Seek(0, 0));
  property.Read(0);
  LONG taxYear = 0;
  property.GetLong(8, taxYear);
  std::time_t now = std::time(nullptr);
  EXPECT_EQ(taxYear, std::localtime(&now)->tm_year + 1900);
  std::string ini = Ini();
  EXPECT_NE(ini.find("PA106DAYS=365"), std::string::npos) << ini;
  EXPECT_NE(ini.find("P1201D=B"), std::string::npos) << ini;
}

TEST_F(FileCommandsTest, AnAcceptedEmptyNumberOpensNothing) {
  Boxes().QueueAnswer(IDYES);
  FileCommandByKeys('N', "");
  ASSERT_EQ(BoxTexts(),
            std::vector<std::string>{"No file number has been entered.  Do you wish to continue?"});
  EXPECT_EQ(CountFileWindows(Client()), 0);
  EXPECT_EQ(Client()->GetActiveMDIChild(), nullptr);
  for (int table = 0; table < kFileTables; ++table) EXPECT_FALSE(Has(table, "")) << table;
}

TEST_F(FileCommandsTest, OpeningAnOpenFileBringsItsWindowBack) {
  Put(0, "OPEN1");
  FileCommandByKeys('O', "OPEN1");
  ASSERT_NE(FindFileWindow(Client(), "OPEN1"), nullptr);
  FileCommandByKeys('O', "OPEN1");
  EXPECT_EQ(CountFileWindows(Client()), 1);
  EXPECT_TRUE(Boxes().Shown().empty());
  // A listed number whose SELLER record was missing has one now.
  EXPECT_TRUE(Has(1, "OPEN1"));
}

TEST_F(FileCommandsTest, DeleteRemovesTheChosenStatusesAndTheFileButNotItsNeighbours) {
  // Neighbours in key order on both sides, with entries of every status and title items.
  for (const char* neighbour : {"D0", "D2"}) {
    for (int table = 0; table < kFileTables; ++table) Put(table, neighbour);
    for (SHORT status = 0; status < 8; ++status) PutEntry(neighbour, status, status);
    PutTitleItem(neighbour, 1);
  }
  const std::multiset<int> every = {0, 1, 2, 3, 4, 5, 6, 7};
  for (int answers = 0; answers < 8; ++answers) {
    for (int table = 0; table < kFileTables; ++table) Put(table, "D1");
    for (SHORT status = 0; status < 8; ++status) PutEntry("D1", 10 + status, status);
    PutTitleItem("D1", 1);
    PutTitleItem("D1", 2);
    bool ready = answers & 1, escrow = answers & 2, unposted = answers & 4;
    if (answers == 5) FileCommandByKeys('O', "D1");  // an open window is closed first
    Boxes().Clear();
    for (bool yes : {true, ready, escrow, unposted}) Boxes().QueueAnswer(yes ? IDYES : IDNO);
    FileCommandByKeys('E', "D1");
    ASSERT_EQ(BoxTexts(),
              (std::vector<std::string>{"Are you sure you want to delete file number [D1]",
                                        "Do you want to delete unprinted/ready checks?",
                                        "Do you want to delete unprinted/escrow checks?",
                                        "Do you want to delete unposted deposits?"}));
    std::multiset<int> kept = {2, 4, 5, 6, 7};
    if (!ready) kept.insert(0);
    if (!escrow) kept.insert(1);
    if (!unposted) kept.insert(3);
    EXPECT_EQ(Statuses("D1"), kept) << answers;
    for (int table = 0; table < kFileTables; ++table)
      EXPECT_FALSE(Has(table, "D1")) << table << " " << answers;
    EXPECT_EQ(TitleItems("D1"), 0) << answers;
    EXPECT_EQ(FindFileWindow(Client(), "D1"), nullptr) << answers;
    for (const char* neighbour : {"D0", "D2"}) {
      for (int table = 0; table < kFileTables; ++table)
        EXPECT_TRUE(Has(table, neighbour)) << neighbour;
      EXPECT_EQ(Statuses(neighbour), every) << neighbour;
      EXPECT_EQ(TitleItems(neighbour), 1) << neighbour;
    }
    // Clear what this round kept, for the next one.
    TPXRecord record(gTables[kAccount], true);
    record.SetString(1, "D1");
    while (record.Seek(1, 0)) ASSERT_TRUE(record.Delete());
  }
}

/* Another station sees a file opened here as taken, and free again once this program is done
** with it, whichever command held it. */
TEST_F(FileCommandsTest, AnOpenFileIsLockedAgainstOtherProgramsUntilItsWindowCloses) {
  FileCommandByKeys('N', "L1");
  ASSERT_NE(FindFileWindow(Client(), "L1"), nullptr);
  EXPECT_EQ(ProbeLock(ZarneDir(), "L1"), "refused");
  CloseFrontFile();
  EXPECT_EQ(FindFileWindow(Client(), "L1"), nullptr);
  EXPECT_EQ(ProbeLock(ZarneDir(), "L1"), "locked");

  FileCommandByKeys('O', "L1");
  ASSERT_NE(FindFileWindow(Client(), "L1"), nullptr);
  EXPECT_EQ(ProbeLock(ZarneDir(), "L1"), "refused");
  CloseFrontFile();
  EXPECT_EQ(ProbeLock(ZarneDir(), "L1"), "locked");

  // Delete takes the file for its questions; No keeps the file and lets it go.
  Boxes().Clear();
  Boxes().QueueAnswer(IDNO);
  FileCommandByKeys('E', "L1");
  EXPECT_EQ(BoxTexts(),
            std::vector<std::string>{"Are you sure you want to delete file number [L1]"});
  EXPECT_TRUE(Has(0, "L1"));
  EXPECT_EQ(ProbeLock(ZarneDir(), "L1"), "locked");
  EXPECT_EQ(CountFileWindows(Client()), 0);
}

TEST_F(FileCommandsTest, AFileAnotherProgramHoldsIsNeitherOpenedNorMadeAgain) {
  for (int table = 0; table < kFileTables; ++table) Put(table, "H1");
  std::vector<std::string> before = RawRecords("H1");
  LockHolder holder(ZarneDir(), "H1");
  ASSERT_EQ(holder.Answer(), "held");

  bool stayedOpen = false;
  {
    DialogDriver driver;
    driver.OnDialog(IDD_FILEDLG, [&](HWND dialog) {
      SetFocus(FindControl(dialog, 101));
      TypeIntoDialog(dialog, "H1");
      PressDialogKey(dialog, VK_RETURN);
      stayedOpen = IsWindowVisible(dialog) != FALSE;
      if (stayedOpen) PressButton(dialog, IDCANCEL);
    });
    SetFocus(Frame()->HWindow);
    PressKey('F', Qt::AltModifier);
    PressKey('O');
    PumpUntilIdle();
  }
  EXPECT_TRUE(stayedOpen) << "the dialog stays after the engine's message";
  ASSERT_FALSE(Boxes().Shown().empty());
  EXPECT_EQ(Boxes().Shown()[0].caption, "Database Error");
  EXPECT_EQ(CountFileWindows(Client()), 0);

  Boxes().Clear();
  Boxes().QueueAnswer(IDYES);  // should the dialog ask whether to replace the file
  FileCommandByKeys('N', "H1");
  EXPECT_EQ(CountFileWindows(Client()), 0);
  EXPECT_EQ(RawRecords("H1"), before);
}

TEST_F(FileCommandsTest, NoToTheFirstDeleteQuestionDeletesNothing) {
  for (int table = 0; table < kFileTables; ++table) Put(table, "K1");
  PutEntry("K1", 1, 0);
  Boxes().QueueAnswer(IDNO);
  FileCommandByKeys('E', "K1");
  EXPECT_EQ(BoxTexts(),
            std::vector<std::string>{"Are you sure you want to delete file number [K1]"});
  for (int table = 0; table < kFileTables; ++table) EXPECT_TRUE(Has(table, "K1")) << table;
  EXPECT_EQ(Statuses("K1"), std::multiset<int>{0});
}

}  // namespace
