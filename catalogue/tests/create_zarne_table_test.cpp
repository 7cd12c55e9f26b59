/*
** _CreateZarneTable through the real engine: every catalogue table created in an empty
** directory with its fields and indexes, names matched in any case, refused names, an
** existing table left alone, and the working directory always put back.
*/
#include "catalogue/tabgen32.h"
#include "catalogue/table_catalog.h"
#include "engine_test_session.h"

#include <cstring>
#include <string>

namespace {

class CreateZarneTable : public EngineTestSession {};

void ExpectNotValidNameBox(const std::vector<MessageBoxRequest>& boxes) {
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Not a valid Zarne table name.");
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
}

void ExpectEngineErrorBoxes(const std::vector<MessageBoxRequest>& boxes) {
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, "Database Error");
  EXPECT_FALSE(boxes[0].text.empty());
  EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(boxes[1].caption, "Error Context");
  EXPECT_FALSE(boxes[1].text.empty());
}

}  // namespace

TEST_F(CreateZarneTable, CreatesEverySeventeenTablesWithTheirFieldsAndIndexes) {
  std::string directory = MakeEmptyDirectory("data");
  for (const CatalogEntry& entry : kTableCatalog) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(_CreateZarneTable(database_, entry.name, directory.c_str()), 1);
    EXPECT_TRUE(TableFileExists(directory, entry.name));

    EngineCursor cursor = OpenTable(directory, entry.name);
    ASSERT_NE(cursor, nullptr);
    EngineCursorProps props{};
    ASSERT_EQ(EngineGetCursorProps(cursor, &props), ENGINE_OK);
    EXPECT_EQ(WORD(props.fieldCount), WORD(entry.desc->fieldCount));
    EXPECT_EQ(WORD(props.indexCount), WORD(entry.desc->indexCount));

    std::vector<EngineFieldDesc> fields(props.fieldCount);
    ASSERT_EQ(EngineGetFieldDescs(cursor, fields.data()), ENGINE_OK);
    for (int i = 0; i < props.fieldCount; ++i) {
      const EngineFieldDesc& expected = entry.desc->fields[i];
      EXPECT_STREQ(fields[i].name, expected.name);
      EXPECT_EQ(fields[i].type, expected.type) << expected.name;
      EXPECT_EQ(fields[i].subtype, expected.subtype) << expected.name;
      if (expected.type == ENGINE_FLD_STRING) { EXPECT_EQ(fields[i].units1, expected.units1); }
    }
    // A created table starts empty.
    EXPECT_EQ(EngineSetToBegin(cursor), ENGINE_OK);
    EXPECT_EQ(EngineGetNextRecord(cursor, ENGINE_NO_LOCK, nullptr, nullptr), ENGINE_ERR_EOF);
    EXPECT_EQ(EngineCloseCursor(&cursor), ENGINE_OK);
  }
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(CreateZarneTable, MatchesTheNameInAnyCase) {
  std::string directory = MakeEmptyDirectory("data");
  EXPECT_EQ(_CreateZarneTable(database_, "buyer", directory.c_str()), 1);
  EXPECT_EQ(_CreateZarneTable(database_, "Account", directory.c_str()), 1);
  EXPECT_TRUE(TableFileExists(directory, "BUYER"));
  EXPECT_TRUE(TableFileExists(directory, "ACCOUNT"));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(CreateZarneTable, AccountGetsItsTwoLookupIndexes) {
  std::string directory = MakeEmptyDirectory("data");
  ASSERT_EQ(_CreateZarneTable(database_, "ACCOUNT", directory.c_str()), 1);
  for (const char* index : {"AcctDate", "AcctNumber"}) {
    EngineCursor cursor = OpenTable(directory, "ACCOUNT", index);
    ASSERT_NE(cursor, nullptr) << index;
    EngineCursorProps props{};
    ASSERT_EQ(EngineGetCursorProps(cursor, &props), ENGINE_OK);
    EXPECT_EQ(WORD(props.keyFieldCount), 1) << index;
    EXPECT_NE(WORD(props.indexId), 0) << index;
    EngineCloseCursor(&cursor);
  }
}

TEST_F(CreateZarneTable, RefusesNamesOutsideTheCatalogueWithABox) {
  std::string directory = MakeEmptyDirectory("data");
  std::string before = WorkingDirectory();
  for (const char* name : {"BUYER.DB", "NOSUCH", "", "BUYERS"}) {
    SCOPED_TRACE(name);
    boxes_.clear();
    EXPECT_EQ(_CreateZarneTable(database_, name, directory.c_str()), 0);
    ExpectNotValidNameBox(boxes_);
  }
  boxes_.clear();
  EXPECT_EQ(_CreateZarneTable(database_, nullptr, directory.c_str()), 0);
  ExpectNotValidNameBox(boxes_);
  EXPECT_TRUE(FilesIn(directory).empty());
  EXPECT_EQ(WorkingDirectory(), before);
}

TEST_F(CreateZarneTable, PutsTheWorkingDirectoryBackAfterSuccessAndFailure) {
  std::string home = MakeEmptyDirectory("home");
  std::string directory = MakeEmptyDirectory("data");
  ASSERT_EQ(EngineSetDirectory(database_, home.c_str()), ENGINE_OK);

  EXPECT_EQ(_CreateZarneTable(database_, "LENDER", directory.c_str()), 1);
  EXPECT_EQ(WorkingDirectory(), home);

  // The second creation fails because the table exists.
  EXPECT_EQ(_CreateZarneTable(database_, "LENDER", directory.c_str()), 0);
  EXPECT_EQ(WorkingDirectory(), home);
  EXPECT_TRUE(FilesIn(home).empty());
}

TEST_F(CreateZarneTable, LeavesAnExistingTableAndItsRecordsAlone) {
  std::string directory = MakeEmptyDirectory("data");
  ASSERT_EQ(_CreateZarneTable(database_, "BANK", directory.c_str()), 1);

  EngineCursor cursor = OpenTable(directory, "BANK");
  ASSERT_NE(cursor, nullptr);
  EngineCursorProps props{};
  ASSERT_EQ(EngineGetCursorProps(cursor, &props), ENGINE_OK);
  std::vector<char> record(props.recordSize);
  ASSERT_EQ(EngineInitRecord(cursor, record.data()), ENGINE_OK);
  SHORT key = 7;
  ASSERT_EQ(EnginePutField(cursor, 1, record.data(), &key), ENGINE_OK);
  ASSERT_EQ(EnginePutField(cursor, 2, record.data(), "Trust account"), ENGINE_OK);
  ASSERT_EQ(EngineInsertRecord(cursor, ENGINE_NO_LOCK, record.data()), ENGINE_OK);
  ASSERT_EQ(EngineCloseCursor(&cursor), ENGINE_OK);

  EXPECT_EQ(_CreateZarneTable(database_, "bank", directory.c_str()), 0);
  ExpectEngineErrorBoxes(boxes_);

  cursor = OpenTable(directory, "BANK");
  ASSERT_NE(cursor, nullptr);
  ASSERT_EQ(EngineSetToBegin(cursor), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(cursor, ENGINE_NO_LOCK, record.data(), nullptr), ENGINE_OK);
  char name[41] = {};
  ASSERT_EQ(EngineGetField(cursor, 2, record.data(), name, nullptr), ENGINE_OK);
  EXPECT_STREQ(name, "Trust account");
  EngineCloseCursor(&cursor);
}

TEST_F(CreateZarneTable, CreatesNothingWhenTheDirectoryCannotBeSet) {
  std::string home = MakeEmptyDirectory("home");
  ASSERT_EQ(EngineSetDirectory(database_, home.c_str()), ENGINE_OK);
  std::string missing = home + "/no/such/place";

  EXPECT_EQ(_CreateZarneTable(database_, "SUMMARY1", missing.c_str()), 0);
  ExpectEngineErrorBoxes(boxes_);
  // Creating anyway would have put the table in the working directory.
  EXPECT_TRUE(FilesIn(home).empty());
  EXPECT_EQ(WorkingDirectory(), home);
}

TEST_F(CreateZarneTable, CreatesNothingOnADatabaseThatIsNotOpen) {
  std::string directory = MakeEmptyDirectory("data");
  EngineDatabase closed = database_;
  ASSERT_EQ(EngineCloseDatabase(&database_), ENGINE_OK);

  EXPECT_EQ(_CreateZarneTable(closed, "TITLEB", directory.c_str()), 0);
  ExpectEngineErrorBoxes(boxes_);
  EXPECT_TRUE(FilesIn(directory).empty());
}
