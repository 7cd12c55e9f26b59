/*
** Damaged tables and the repair operations: a damaged file is refused with an error naming
** it and without harm to it or to other tables; copy and restructure rebuild a table and
** keep the records they cannot place in a problems table.
*/
#include "platform/engine/tests/engine_test_support.h"

#include <sqlite3.h>

#include <fstream>
#include <iterator>

using namespace enginetest;

namespace {

class EngineRepairTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(EngineCreateTable(db_, 0, buyer_.Desc()), ENGINE_OK);
    ASSERT_EQ(EngineCreateTable(db_, 0, seller_.Desc()), ENGINE_OK);
    ASSERT_EQ(EngineCreateTable(db_, 0, account_.Desc()), ENGINE_OK);
    for (const char* table : {"BUYER", "SELLER"}) {
      EngineCursor c = Open(table);
      std::vector<char> r = NewRecord(c);
      for (int n = 0; n < 300; ++n) {
        EngineInitRecord(c, r.data());
        std::string number = "F" + std::to_string(1000 + n);
        PutText(c, r, 1, number.c_str());
        PutText(c, r, 2, std::string(50, 'x').c_str());
        ASSERT_EQ(EngineInsertRecord(c, 0, r.data()), ENGINE_OK);
      }
      EngineCloseCursor(&c);
    }
  }
  int Count(const char* table, WORD index = 0) {
    EngineCursor c = Open(table, index);
    if (!c) return -1;
    int n = 0;
    while (EngineGetNextRecord(c, 0, nullptr, nullptr) == ENGINE_OK) ++n;
    EngineCloseCursor(&c);
    return n;
  }
  std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void ExpectRefused(const char* table) {
    std::string before = Bytes(Path(std::string(table) + ".DB"));
    EngineCursor cursor = nullptr;
    EngineResult result =
        EngineOpenTable(db_, table, "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr, &cursor);
    EXPECT_EQ(result, ENGINE_ERR_TABLEDAMAGED);
    EXPECT_EQ(cursor, nullptr);
    EngineErrorInfo info{};
    EngineGetErrorInfo(1, &info);
    EXPECT_NE(std::string(info.context[0]).find(std::string(table) + ".DB"), std::string::npos);
    EXPECT_GT(std::strlen(info.context[1]), 0u);
    EXPECT_EQ(Bytes(Path(std::string(table) + ".DB")), before);
    EXPECT_EQ(Count("SELLER"), 300);  // other tables are untouched
  }
  void RawSql(const char* table, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(Path(table).c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
  }
  EngineResult Restructure(TableShape& shape, const char* problems) {
    return RestructureToShape(db_, shape, problems);
  }

  TableShape buyer_ = FileShape("BUYER");
  TableShape seller_ = FileShape("SELLER");
  TableShape account_ = AccountShape();
};

TEST_F(EngineRepairTest, TruncatedTableIsRefused) {
  std::filesystem::resize_file(Path("BUYER.DB"), 4096 * 2);
  ExpectRefused("BUYER");
}

TEST_F(EngineRepairTest, OverwrittenTableIsRefused) {
  std::ofstream(Path("BUYER.DB"), std::ios::binary | std::ios::trunc) << "not a table at all";
  ExpectRefused("BUYER");
}

TEST_F(EngineRepairTest, DatabaseWithoutTableDescriptorsIsRefused) {
  std::filesystem::remove(Path("BUYER.DB"));
  RawSql("BUYER.DB", "CREATE TABLE something(a, b); INSERT INTO something VALUES(1, 2);");
  ExpectRefused("BUYER");
}

TEST_F(EngineRepairTest, CopyMakesAnIndependentTableAndReplacesADamagedOne) {
  ASSERT_EQ(EngineCopyTable(db_, 1, "BUYER", "PARADOX", "BUYBU"), ENGINE_OK);
  EXPECT_EQ(Count("BUYBU"), 300);
  EXPECT_EQ(EngineCopyTable(db_, 0, "BUYER", "PARADOX", "BUYBU"), ENGINE_ERR_TABLEEXISTS);

  // A file that is not a table is copied as it is, so a backup keeps what was there.
  std::ofstream(Path("BUYER.DB"), std::ios::binary | std::ios::trunc) << "garbage";
  EXPECT_EQ(EngineCopyTable(db_, 1, "BUYER", "PARADOX", "OTHER"), ENGINE_OK);
  EXPECT_EQ(Bytes(Path("OTHER.DB")), "garbage");
  ASSERT_EQ(EngineCopyTable(db_, 1, "BUYBU", "PARADOX", "BUYER"), ENGINE_OK);
  EXPECT_EQ(Count("BUYER"), 300);
}

TEST_F(EngineRepairTest, ABackupOfAFileCutInsideAPageKeepsEveryByte) {
  // Cut 100 bytes into the last page, and the header's page count no longer trusted (its
  // change counter differs from the one it was written with): the file still opens.
  std::string bytes = Bytes(Path("BUYER.DB"));
  bytes.resize(bytes.size() - 100);
  bytes[27] = char(bytes[27] ^ 0x55);
  std::ofstream(Path("BUYER.DB"), std::ios::binary | std::ios::trunc) << bytes;
  EngineCursor open = Open("BUYER");
  ASSERT_NE(open, nullptr);
  EngineCloseCursor(&open);
  ASSERT_EQ(EngineCopyTable(db_, 1, "BUYER", "PARADOX", "BUYBU"), ENGINE_OK);
  EXPECT_EQ(Bytes(Path("BUYBU.DB")), bytes);
}

TEST_F(EngineRepairTest, RestructureRebuildsIndexesAndKeepsProblemRecords) {
  EngineCursor c = Open("ACCOUNT");
  std::vector<char> r = NewRecord(c);
  for (int n = 0; n < 5; ++n) {
    EngineInitRecord(c, r.data());
    PutText(c, r, 1, "F1");
    PutText(c, r, 2, "C");
    PutDouble(c, r, 3, n);
    PutDay(c, r, 7, Day(1, 10 - n, 2001));
    ASSERT_EQ(EngineInsertRecord(c, 0, r.data()), ENGINE_OK);
  }
  EngineCloseCursor(&c);
  // Damage of the kind the repair is for: lost indexes, a clashing key, a value of the
  // wrong kind in a number field.
  RawSql("ACCOUNT.DB",
         "DROP INDEX ix0; DROP INDEX ix1;"
         "INSERT INTO records SELECT * FROM records WHERE f3 = 2;"
         "UPDATE records SET f6 = 'not a number' WHERE rowid = 1;");

  ASSERT_EQ(EngineAcquireTableLock(db_, "ACCOUNT", "PARADOX"), ENGINE_OK);
  ASSERT_EQ(Restructure(account_, "ACTPROB"), ENGINE_OK);
  ASSERT_EQ(EngineReleaseTableLock(db_, "ACCOUNT", "PARADOX"), ENGINE_OK);

  EXPECT_EQ(Count("ACCOUNT"), 4);
  EXPECT_EQ(Count("ACTPROB"), 2);
  EngineCursor byDate = Open("ACCOUNT", 1);
  r = NewRecord(byDate);
  std::vector<double> seqs;
  while (EngineGetNextRecord(byDate, 0, r.data(), nullptr) == ENGINE_OK) {
    seqs.push_back(GetDouble(byDate, r, 3));
  }
  EXPECT_EQ(seqs, (std::vector<double>{4, 3, 2, 1}));
  // The unique key holds again.
  EngineInitRecord(byDate, r.data());
  PutText(byDate, r, 1, "F1");
  PutText(byDate, r, 2, "C");
  PutDouble(byDate, r, 3, 2);
  EXPECT_EQ(EngineInsertRecord(byDate, 0, r.data()), ENGINE_ERR_KEYVIOL);
}

TEST_F(EngineRepairTest, KeyClashesGoToTheirOwnTableWhenOneIsNamed) {
  RawSql("BUYER.DB",
         "DROP INDEX ix0; INSERT INTO records SELECT * FROM records WHERE f1 = 'F1000';"
         "UPDATE records SET f3 = 'not a date' WHERE f1 = 'F1001';");
  std::vector<EngineRestructureOp> fieldOps(buyer_.fields.size(), ENGINE_OP_KEEP);
  EngineTableCreateDesc* desc = buyer_.Desc();
  desc->fieldOps = fieldOps.data();
  EXPECT_EQ(EngineRestructureTable(db_, 1, desc, nullptr, "BUYVIOL", "BUYPROB", 0), ENGINE_OK);
  desc->fieldOps = nullptr;
  EXPECT_EQ(Count("BUYER"), 299);
  EXPECT_EQ(Count("BUYVIOL"), 1);
  EXPECT_EQ(Count("BUYPROB"), 1);
  // Without a table to keep them, problem records stop the restructure instead.
  RawSql("BUYER.DB", "UPDATE records SET f3 = 'bad' WHERE f1 = 'F1002';");
  EXPECT_EQ(Restructure(buyer_, nullptr), ENGINE_ERR_RESTRUCTURE);
  EXPECT_EQ(Count("BUYER"), 299);
}

TEST_F(EngineRepairTest, RestructureRefusesWhatItCannotDoAndLeavesTheTable) {
  std::vector<EngineRestructureOp> fieldOps(buyer_.fields.size(), ENGINE_OP_KEEP);
  fieldOps[1] = 1;  // add a field: not a repair
  EngineTableCreateDesc* desc = buyer_.Desc();
  desc->fieldOps = fieldOps.data();
  EXPECT_EQ(EngineRestructureTable(db_, 1, desc, nullptr, nullptr, "BUYPROB", 0),
            ENGINE_ERR_NOTSUPPORTED);
  desc->fieldOps = nullptr;

  // A table file the office marked read-only is not replaced, and keeps its mode.
  const std::string before = Bytes(Path("BUYER.DB"));
  std::filesystem::permissions(
      Path("BUYER.DB"), std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  EXPECT_EQ(Restructure(buyer_, "BUYPROB"), ENGINE_ERR_READONLY);
  EXPECT_EQ(Bytes(Path("BUYER.DB")), before);
  EXPECT_EQ(std::filesystem::status(Path("BUYER.DB")).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::group_read);

  EngineCursor open = Open("SELLER");
  EXPECT_EQ(Restructure(seller_, "SELPROB"), ENGINE_ERR_TABLELOCKED);
  EngineCloseCursor(&open);
  EXPECT_EQ(Restructure(seller_, "SELPROB"), ENGINE_OK);
  EXPECT_EQ(Count("SELLER"), 300);
  EXPECT_FALSE(std::filesystem::exists(Path("SELPROB.DB")));
}

TEST_F(EngineRepairTest, ClosedDatabaseHandleIsRefusedAndANewOneServes) {
  EngineDatabase closed = db_;
  ASSERT_EQ(EngineCloseDatabase(&db_), ENGINE_OK);
  EXPECT_EQ(db_, nullptr);
  EXPECT_EQ(EngineCloseDatabase(&closed), ENGINE_ERR_INVALIDHANDLE);
  EngineCursor cursor = nullptr;
  EXPECT_EQ(EngineOpenTable(closed, "BUYER", "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr,
                            &cursor),
            ENGINE_ERR_INVALIDHANDLE);
  EXPECT_EQ(EngineAcquireTableLock(closed, "BUYER", "PARADOX"), ENGINE_ERR_INVALIDHANDLE);

  ASSERT_EQ(EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &db_),
            ENGINE_OK);
  ASSERT_EQ(EngineSetDirectory(db_, dir_.c_str()), ENGINE_OK);
  EXPECT_EQ(Count("BUYER"), 300);
}

}  // namespace
