/*
** The rebuild against other programs and failed steps: a table another program holds a
** record lock in, or merely has open, is not touched; a file of garbage is restored byte
** for byte; a failed restore and a failed release each say so, in the order of the steps.
*/
#include "rebuild/tests/rebuild_test_support.h"

#include "platform/engine/engine_test_hooks.h"
#include "platform/engine/tests/engine_salvage_support.h"

#include <filesystem>

using namespace enginetest;
using namespace rebuildtest;

namespace {

constexpr UINT kStop = MB_OK | MB_ICONSTOP;

class RebuildLocksRestoreTest : public RebuildTest {
 protected:
  void TearDown() override {
    EngineTestClearFailures();
    RebuildTest::TearDown();
  }
  void MakeBuyerWithARecord() {
    CreateTables(kDataDir, {"BUYER", "SELLER"});
    WithEngine(kDataDir, [](EngineDatabase database) {
      EngineCursor cursor = nullptr;
      ASSERT_EQ(EngineOpenTable(database, "BUYER", "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0,
                                nullptr, &cursor),
                ENGINE_OK);
      EngineCursorProps props{};
      EngineGetCursorProps(cursor, &props);
      std::vector<char> record(props.recordSize);
      EngineInitRecord(cursor, record.data());
      EnginePutField(cursor, 1, record.data(), "F1");
      ASSERT_EQ(EngineInsertRecord(cursor, 0, record.data()), ENGINE_OK);
      EngineCloseCursor(&cursor);
    });
  }
  /* The lock refusal: its own box and the three error boxes naming the table. */
  void ExpectLockRefused() {
    std::vector<Box> shown = BoxesShown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0],
              (Box{"Unable to continue - could not lock C:\\ZARNE\\DATA\\BUYER", "Error", kStop}));
    EXPECT_EQ(shown[1], (Box{"Error No.: 10242", "Database Error", kStop}));
    EXPECT_EQ(shown[2], (Box{"Table is locked by another user.", "Database Error", kStop}));
    EXPECT_EQ(shown[3].caption, "Error Context");
    EXPECT_NE(shown[3].text.find("BUYER"), std::string::npos) << shown[3].text;
    EXPECT_FALSE(std::filesystem::exists(DataFile("BUYBU.DB")));
  }
};

TEST_F(RebuildLocksRestoreTest, ARecordLockOrAnOpenTableElsewhereStopsTheRebuild) {
  MakeBuyerWithARecord();
  StartUtility();
  for (const char* hold : {"hold-record", "hold-open"}) {
    Boxes().Clear();
    HoldingClient client(HostDir(kDataDir), hold, "BUYER");
    ASSERT_EQ(client.FirstLine(), "0") << hold;
    RebuildByKeys("BUYER");
    ExpectLockRefused();
    client.Stop();
  }
  // Once the other program has gone, the rebuild works.
  Boxes().Clear();
  RebuildByKeys("BUYER");
  EXPECT_EQ(
      BoxesShown(),
      (std::vector<Box>{{"C:\\ZARNE\\DATA\\BUYER was successfully rebuilt.\n\n1 record was kept.",
                         "Success", MB_OK}}));
}

TEST_F(RebuildLocksRestoreTest, AFileOfGarbageBecomesAnEmptyTableAndItsBytesStayInTheBackup) {
  CreateTables(kDataDir, {"SELLER"});
  const std::string garbage(5000, '\x5A');
  WriteBytes(DataFile("SELLER.DB"), garbage);
  StartUtility();
  RebuildByKeys("SELLER");
  EXPECT_EQ(
      BoxesShown(),
      (std::vector<Box>{
          {"Nothing of C:\\ZARNE\\DATA\\SELLER could be read, so no record could be kept. It is now "
           "an empty table, so that work can go on. The file as it was before the rebuild is kept in "
           "C:\\ZARNE\\DATA\\SELBU.",
           "Success", MB_OK | MB_ICONEXCLAMATION}}));
  EXPECT_EQ(FileBytes(DataFile("SELBU.DB")), garbage);
  // The empty table opens in another program, with the table lock free again.
  EXPECT_EQ(RunClient(HostDir(kDataDir), "open", "SELLER"), "0 0");
  EXPECT_EQ(RunClient(HostDir(kDataDir), "lock", "SELLER"), "0");
}

TEST_F(RebuildLocksRestoreTest, AFailedRestructureSaysTheTableWasNotChangedAndCopiesNothingBack) {
  CreateTables(kDataDir, {"SELLER"});
  const std::string before = FileBytes(DataFile("SELLER.DB"));
  StartUtility();
  EngineTestFailCall("EngineRestructureTable", 1, ENGINE_ERR_FILEIO,
                     {"Table C:\\ZARNE\\DATA\\SELLER", "The disk is full"});
  // A copy back would fail: none is made.
  EngineTestFailCall("EngineCopyTable", 2, ENGINE_ERR_FILEIO);
  RebuildByKeys("SELLER");
  std::vector<Box> expected = {
      {"Rebuild of C:\\ZARNE\\DATA\\SELLER failed - the table was not changed.", "Error", kStop}};
  for (const Box& box : EngineErrorBoxes(9219, "File read or write failed.",
                                         "Table C:\\ZARNE\\DATA\\SELLER; The disk is full; ")) {
    expected.push_back(box);
  }
  EXPECT_EQ(BoxesShown(), expected);
  EXPECT_EQ(FileBytes(DataFile("SELLER.DB")), before);
}

TEST_F(RebuildLocksRestoreTest, AFailedReleaseSaysSo) {
  CreateTables(kDataDir, {"PROPERTY"});
  StartUtility();
  // The backup's lock is released first; its release fails.
  EngineTestFailCall("EngineReleaseTableLock", 1, ENGINE_ERR_NOTLOCKED);
  RebuildByKeys("PROPERTY");
  std::vector<Box> expected = {
      {"C:\\ZARNE\\DATA\\PROPERTY was successfully rebuilt.\n\n0 records were kept.", "Success",
       MB_OK},
      {"Unable to release lock on C:\\ZARNE\\DATA\\PROBU.", "Error", kStop}};
  for (const Box& box : EngineErrorBoxes(10243, "Record or table is not locked.", "None"))
    expected.push_back(box);
  EXPECT_EQ(BoxesShown(), expected);
}

}  // namespace
