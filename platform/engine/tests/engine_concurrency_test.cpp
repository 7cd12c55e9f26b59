/*
** Cursors under writes from another program: a walk stays in key order and sees each
** record at most once while records come and go, and a call that meets a busy file waits
** for it instead of failing.
*/
#include "platform/engine/tests/engine_test_support.h"

#include <sqlite3.h>

#include <fstream>

using namespace enginetest;

namespace {

constexpr int kRecords = 300;

class EngineConcurrencyTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(EngineCreateTable(db_, 0, shape_.Desc()), ENGINE_OK);
    EngineCursor c = Open("ACCOUNT");
    std::vector<char> r = NewRecord(c);
    for (int n = 0; n < kRecords; n += 2) Write(c, r, n, true);
    EngineCloseCursor(&c);
  }
  void Write(EngineCursor c, std::vector<char>& r, int seq, bool insert) {
    EngineInitRecord(c, r.data());
    EnginePutField(c, 1, r.data(), "F1");
    EnginePutField(c, 2, r.data(), "C");
    double value = seq;
    EnginePutField(c, 3, r.data(), &value);
    // The walk, not each write, is what these tests judge.
    if (insert) {
      (void)EngineInsertRecord(c, 0, r.data());
    } else if (EngineSetToKey(c, ENGINE_KEY_EQ, 0, 0, 0, r.data()) == ENGINE_OK &&
               EngineGetNextRecord(c, 0, nullptr, nullptr) == ENGINE_OK) {
      (void)EngineDeleteRecord(c, nullptr);
    }
  }
  /* Another program's write to a table file of the directory, through SQLite alone. */
  void AnotherProgramRuns(const char* file, const char* sql) {
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(Path(file).c_str(), &other), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
  }
  TableShape shape_ = AccountShape();
};

TEST_F(EngineConcurrencyTest, WalksStayOrderedWhileAnotherProgramWrites) {
  Child writer([this](Child& self) {
    EngineCursor c = Open("ACCOUNT");
    std::vector<char> r = NewRecord(c);
    self.Send('W');
    for (int round = 0; round < 3; ++round) {
      for (int n = 1; n < kRecords; n += 2) {
        Write(c, r, n, round != 1);  // odd records come, go and come again
        Write(c, r, n - 1, false);   // even ones are taken away one by one
        if (round == 0) Write(c, r, n - 1, true);
      }
    }
    self.Send('D');
    self.Receive();
  });
  ASSERT_EQ(writer.Receive(), 'W');
  EngineCursor walker = Open("ACCOUNT");
  std::vector<char> r = NewRecord(walker);
  int walks = 0;
  for (; walks < 3 || !writer.HasSent(); ++walks) {
    EngineSetToBegin(walker);
    double last = -1;
    EngineResult result;
    while ((result = EngineGetNextRecord(walker, 0, r.data(), nullptr)) == ENGINE_OK) {
      double seq = GetDouble(walker, r, 3);
      ASSERT_GT(seq, last);
      last = seq;
    }
    ASSERT_EQ(result, ENGINE_ERR_EOF);
  }
  EXPECT_EQ(writer.Receive(), 'D');
  // At the end the writer's last round left every odd record and no even one.
  EngineSetToBegin(walker);
  int count = 0;
  while (EngineGetNextRecord(walker, 0, r.data(), nullptr) == ENGINE_OK) {
    EXPECT_EQ(int(GetDouble(walker, r, 3)) % 2, 1);
    ++count;
  }
  EXPECT_EQ(count, kRecords / 2);
}

// A walk whose rows read ahead reached the end of the table still meets the records added
// after them, by another program and by this one, before it ends.
TEST_F(EngineConcurrencyTest, AWalkThatReadToTheEndMeetsRecordsAddedAfter) {
  Child writer([this](Child& self) {
    EngineCursor c = Open("ACCOUNT");
    std::vector<char> r = NewRecord(c);
    self.Receive();
    Write(c, r, kRecords + 1, true);
    EngineCloseCursor(&c);
    self.Send('A');
    self.Receive();
  });
  EngineCursor walker = Open("ACCOUNT");
  EngineCursor mine = Open("ACCOUNT");
  std::vector<char> r = NewRecord(walker);
  // The setup's records are the even numbers below kRecords, the last one kRecords - 2.
  for (int n = 0; n < kRecords / 2; ++n) {
    ASSERT_EQ(EngineGetNextRecord(walker, 0, r.data(), nullptr), ENGINE_OK);
  }
  ASSERT_EQ(GetDouble(walker, r, 3), kRecords - 2);
  writer.Send('G');
  ASSERT_EQ(writer.Receive(), 'A');
  ASSERT_EQ(EngineGetNextRecord(walker, 0, r.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetDouble(walker, r, 3), kRecords + 1);
  std::vector<char> added = NewRecord(mine);
  Write(mine, added, kRecords + 3, true);
  ASSERT_EQ(EngineGetNextRecord(walker, 0, r.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetDouble(walker, r, 3), kRecords + 3);
  EXPECT_EQ(EngineGetNextRecord(walker, 0, r.data(), nullptr), ENGINE_ERR_EOF);
  EngineCloseCursor(&mine);
  EngineCloseCursor(&walker);
}

// The file's change counter, which every committed write moves.
uint32_t ChangeCounter(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  unsigned char bytes[28] = {};
  file.read(reinterpret_cast<char*>(bytes), sizeof bytes);
  return (uint32_t(bytes[24]) << 24) | (uint32_t(bytes[25]) << 16) | (uint32_t(bytes[26]) << 8) |
         bytes[27];
}

// Writing back a record exactly as it was read stores nothing new, so the file is left alone;
// once another program has written since the read, the write goes to the file as any write.
TEST_F(EngineConcurrencyTest, AnUnchangedRecordIsWrittenOnlyAfterAnotherProgramsWrite) {
  EngineCursor c = Open("ACCOUNT");
  std::vector<char> r = NewRecord(c);
  ASSERT_EQ(EngineSetToBegin(c), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(c, ENGINE_WRITE_LOCK, r.data(), nullptr), ENGINE_OK);
  const std::string path = Path("ACCOUNT.DB");
  uint32_t read = ChangeCounter(path);
  EXPECT_EQ(EngineModifyRecord(c, r.data(), TRUE), ENGINE_OK);
  EXPECT_EQ(ChangeCounter(path), read);
  DWORD locked = 1;
  ASSERT_EQ(EngineIsRecordLocked(c, &locked), ENGINE_OK);
  EXPECT_EQ(locked, 0u);  // the lock was given up as asked, write or not
  double mine = 1000;
  EnginePutField(c, 4, r.data(), &mine);
  EXPECT_EQ(EngineModifyRecord(c, r.data(), FALSE), ENGINE_OK);
  EXPECT_NE(ChangeCounter(path), read);

  ASSERT_EQ(EngineGetRecord(c, 0, r.data(), nullptr), ENGINE_OK);
  Child other([this](Child& self) {
    EngineCursor o = Open("ACCOUNT");
    std::vector<char> theirs = NewRecord(o);
    EngineSetToBegin(o);
    EngineGetNextRecord(o, 0, theirs.data(), nullptr);
    double value = 2000;
    EnginePutField(o, 4, theirs.data(), &value);
    self.Send(EngineModifyRecord(o, theirs.data(), FALSE) == ENGINE_OK ? 'M' : 'F');
    self.Receive();
  });
  ASSERT_EQ(other.Receive(), 'M');
  uint32_t theirs = ChangeCounter(path);
  EXPECT_EQ(EngineModifyRecord(c, r.data(), FALSE), ENGINE_OK);
  EXPECT_NE(ChangeCounter(path), theirs);
  ASSERT_EQ(EngineGetRecord(c, 0, r.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetDouble(c, r, 4), 1000);
  other.Send('E');
  EngineCloseCursor(&c);
}

// An overwrite stores the caller's whole record, key fields included, even when another
// program changed the record's keys after it was read; the indexes then agree with the rows.
TEST_F(EngineConcurrencyTest, AnOverwriteStoresTheWholeRecordWhateverAnotherProgramChanged) {
  EngineCursor c = Open("ACCOUNT");
  std::vector<char> r = NewRecord(c);
  ASSERT_EQ(EngineSetToBegin(c), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_OK);  // F1 C 0, no number
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(Path("ACCOUNT.DB").c_str(), &other), SQLITE_OK);
  // Number (f4) is the key of the AcctNumber index; PayeeDepositor (f8) is no key.
  ASSERT_EQ(sqlite3_exec(other, "UPDATE records SET f4 = 77.0, f8 = 'Theirs' WHERE f3 = 0", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  PutText(c, r, 9, "Mine");
  EXPECT_EQ(EngineModifyRecord(c, r.data(), FALSE), ENGINE_OK);
  // Again, now with the keys as stored: only a field that is no key changes.
  PutDouble(c, r, 10, 12.5);
  EXPECT_EQ(EngineModifyRecord(c, r.data(), FALSE), ENGINE_OK);

  EngineCursor byNumber = Open("ACCOUNT", 2);
  std::vector<char> key = NewRecord(byNumber);
  PutDouble(byNumber, key, 4, 77);
  EXPECT_EQ(EngineSetToKey(byNumber, ENGINE_KEY_EQ, 0, 1, 0, key.data()), ENGINE_ERR_RECNOTFOUND);
  EngineCursor primary = Open("ACCOUNT");
  std::vector<char> row = NewRecord(primary);
  PutText(primary, row, 1, "F1");
  PutText(primary, row, 2, "C");
  PutDouble(primary, row, 3, 0);
  ASSERT_EQ(EngineSetToKey(primary, ENGINE_KEY_EQ, 0, 3, 0, row.data()), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(primary, 0, row.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(primary, row, 8), "");
  EXPECT_EQ(GetText(primary, row, 9), "Mine");
  EXPECT_EQ(GetDouble(primary, row, 10), 12.5);
  sqlite3_stmt* check = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(other, "PRAGMA integrity_check", -1, &check, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
  sqlite3_finalize(check);
  sqlite3_close(other);
}

TEST_F(EngineConcurrencyTest, CallsWaitForAFileAnotherProgramKeepsBusy) {
  Child holder([this](Child& self) {
    sqlite3* db = nullptr;
    sqlite3_open(Path("ACCOUNT.DB").c_str(), &db);
    bool began = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    self.Send(began ? 'B' : 'x');
    ::usleep(300 * 1000);  // the file stays locked for a while
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    self.Receive();
  });
  ASSERT_EQ(holder.Receive(), 'B');
  EngineCursor c = Open("ACCOUNT");
  std::vector<char> r = NewRecord(c);
  EngineInitRecord(c, r.data());
  EnginePutField(c, 1, r.data(), "F2");
  EnginePutField(c, 2, r.data(), "D");
  EXPECT_EQ(EngineInsertRecord(c, 0, r.data()), ENGINE_OK);
  EngineSetToBegin(c);
  EXPECT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_OK);
}

}  // namespace

// A search for the whole key of the record a cursor stands on may answer with that record
// while the file is unchanged; a change another program commits meanwhile is read, and the
// walk goes on from the record found either way.
TEST_F(EngineConcurrencyTest, ASearchForTheCurrentRecordSeesAnotherProgramsChange) {
  TableShape shape = FileShape();
  ASSERT_EQ(EngineCreateTable(db_, 0, shape.Desc()), ENGINE_OK);
  EngineCursor c = Open("BUYER");
  std::vector<char> r = NewRecord(c);
  for (const char* number : {"1001", "1002"}) {
    EngineInitRecord(c, r.data());
    PutText(c, r, 1, number);
    PutText(c, r, 2, number[3] == '1' ? "Ours" : "Next");
    ASSERT_EQ(EngineInsertRecord(c, 0, r.data()), ENGINE_OK);
  }
  auto seek = [&](const char* number) {
    EngineInitRecord(c, r.data());
    PutText(c, r, 1, number);
    EXPECT_EQ(EngineSetToKey(c, ENGINE_KEY_EQ, FALSE, 1, 0, r.data()), ENGINE_OK);
    EXPECT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_OK);
    return GetText(c, r, 2);
  };
  EXPECT_EQ(seek("1001"), "Ours");
  EXPECT_EQ(seek("1001"), "Ours");
  ASSERT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(c, r, 1), "1002");

  EXPECT_EQ(seek("1001"), "Ours");
  AnotherProgramRuns("BUYER.DB", "UPDATE records SET f2 = 'Theirs' WHERE f1 = '1001'");
  EXPECT_EQ(seek("1001"), "Theirs");
  EngineCloseCursor(&c);
}

/* A seek that found nothing is not asked again while the file is unchanged; any change
   makes it ask: another program's insert, this program's own through another cursor, and
   a delete rolled back, which brings the record back. A step on after a search that found
   nothing ends the walk likewise. */
TEST_F(EngineConcurrencyTest, ASeekThatFoundNothingFindsWhatIsWrittenAfterIt) {
  TableShape shape = FileShape();
  ASSERT_EQ(EngineCreateTable(db_, 0, shape.Desc()), ENGINE_OK);
  EngineCursor c = Open("BUYER");
  EngineCursor writer = Open("BUYER");
  std::vector<char> r = NewRecord(c);
  auto seek = [&](const char* number) {
    EngineInitRecord(c, r.data());
    PutText(c, r, 1, number);
    return EngineSetToKey(c, ENGINE_KEY_EQ, FALSE, 1, 0, r.data());
  };
  EXPECT_EQ(seek("2001"), ENGINE_ERR_RECNOTFOUND);
  EXPECT_EQ(seek("2001"), ENGINE_ERR_RECNOTFOUND);
  AnotherProgramRuns("BUYER.DB", "INSERT INTO records (f1, f2) VALUES ('2001', 'Theirs')");
  ASSERT_EQ(seek("2001"), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(c, r, 2), "Theirs");

  EXPECT_EQ(seek("2002"), ENGINE_ERR_RECNOTFOUND);
  std::vector<char> w = NewRecord(writer);
  EngineInitRecord(writer, w.data());
  PutText(writer, w, 1, "2002");
  PutText(writer, w, 2, "Ours");
  ASSERT_EQ(EngineInsertRecord(writer, 0, w.data()), ENGINE_OK);
  EXPECT_EQ(seek("2002"), ENGINE_OK);

  EngineTransaction transaction = nullptr;
  ASSERT_EQ(EngineBeginTran(db_, &transaction), ENGINE_OK);
  ASSERT_EQ(EngineSetToKey(writer, ENGINE_KEY_EQ, FALSE, 1, 0, w.data()), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(writer, 0, w.data(), nullptr), ENGINE_OK);
  ASSERT_EQ(EngineDeleteRecord(writer, nullptr), ENGINE_OK);
  EXPECT_EQ(seek("2002"), ENGINE_ERR_RECNOTFOUND);
  ASSERT_EQ(EngineEndTran(db_, transaction, ENGINE_XEND_ABORT), ENGINE_OK);
  EXPECT_EQ(seek("2002"), ENGINE_OK);

  // A search from past the last record finds nothing, nor does a step on from there, until
  // a record arrives after it.
  auto searchFrom = [&](const char* number) {
    EngineInitRecord(c, r.data());
    PutText(c, r, 1, number);
    return EngineSetToKey(c, ENGINE_KEY_GEQ, FALSE, 1, 0, r.data());
  };
  EXPECT_EQ(searchFrom("3000"), ENGINE_ERR_RECNOTFOUND);
  EXPECT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_ERR_EOF);
  EXPECT_EQ(searchFrom("3000"), ENGINE_ERR_RECNOTFOUND);
  AnotherProgramRuns("BUYER.DB", "INSERT INTO records (f1, f2) VALUES ('3001', 'Later')");
  ASSERT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(c, r, 1), "3001");
  EngineCloseCursor(&writer);
  EngineCloseCursor(&c);
}

// The engine keeps its tables in rollback-journal mode and does not look for a write-ahead
// log at each read; a table another program put in WAL mode meanwhile says so in its header,
// and a change that program left in its log is read all the same.
TEST_F(EngineTest, AChangeLeftInTheLogOfATableInWalModeIsRead) {
  TableShape shape = FileShape();
  ASSERT_EQ(EngineCreateTable(db_, 0, shape.Desc()), ENGINE_OK);
  EngineCursor c = Open("BUYER");
  std::vector<char> r = NewRecord(c);
  EngineInitRecord(c, r.data());
  PutText(c, r, 1, "1001");
  PutText(c, r, 2, "Ours");
  ASSERT_EQ(EngineInsertRecord(c, 0, r.data()), ENGINE_OK);
  auto seek = [&] {
    EngineInitRecord(c, r.data());
    PutText(c, r, 1, "1001");
    EXPECT_EQ(EngineSetToKey(c, ENGINE_KEY_EQ, FALSE, 1, 0, r.data()), ENGINE_OK);
    EXPECT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_OK);
    return GetText(c, r, 2);
  };
  EXPECT_EQ(seek(), "Ours");

  // The other program closes without copying its log into the file.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(Path("BUYER.DB").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_db_config(other, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other,
                         "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                         "UPDATE records SET f2 = 'Theirs' WHERE f1 = '1001'",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(other);
  ASSERT_TRUE(std::filesystem::exists(Path("BUYER.DB-wal")));
  EXPECT_EQ(seek(), "Theirs");
  EngineCloseCursor(&c);

  c = Open("BUYER");
  EXPECT_EQ(seek(), "Theirs");
  EngineCloseCursor(&c);
}

// Tables are read through a mapping of their file. A file another program grows is read
// whole, its changes included; one it cuts short (without taking SQLite's locks, as a copy
// or a damaged disk would) is refused as damaged, never read past its end: touching a
// mapped page the file no longer has would end this program.
TEST_F(EngineTest, ATableAnotherProgramGrowsOrCutsShortIsReadOrRefused) {
  constexpr int kFirst = 30000, kAll = 60000;
  TableShape shape = FileShape();
  ASSERT_EQ(EngineCreateTable(db_, 0, shape.Desc()), ENGINE_OK);
  auto fill = [&](int from, int to, const char* name) {
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(Path("BUYER.DB").c_str(), &other), SQLITE_OK);
    const std::string sql = Format(
        "WITH RECURSIVE n(i) AS (SELECT %d UNION ALL SELECT i + 1 FROM n WHERE i < %d) "
        "INSERT INTO records (f1, f2) SELECT printf('%%05d', i), '%s' FROM n;"
        "UPDATE records SET f2 = '%s' WHERE f1 = '00001'",
        from, to - 1, name, name);
    ASSERT_EQ(sqlite3_exec(other, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
  };
  // Larger than SQLite's page cache, so that its pages are read through the mapping.
  fill(0, kFirst, "a name long enough to fill a page with few records");
  ASSERT_GT(std::filesystem::file_size(Path("BUYER.DB")), 2000u * 1024);
  EngineCursor c = Open("BUYER");
  std::vector<char> r = NewRecord(c);
  auto walk = [&](EngineResult* result) {
    int count = 0;
    EXPECT_EQ(EngineSetToBegin(c), ENGINE_OK);
    while ((*result = EngineGetNextRecord(c, 0, r.data(), nullptr)) == ENGINE_OK) ++count;
    return count;
  };
  EngineResult result = ENGINE_OK;
  // Every record walked, and their change to the first read by key.
  auto readsWholeWithTheirChange = [&] {
    EXPECT_EQ(walk(&result), kAll);
    EXPECT_EQ(result, ENGINE_ERR_EOF);
    EngineInitRecord(c, r.data());
    PutText(c, r, 1, "00001");
    ASSERT_EQ(EngineSetToKey(c, ENGINE_KEY_EQ, FALSE, 1, 0, r.data()), ENGINE_OK);
    ASSERT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_OK);
    EXPECT_EQ(GetText(c, r, 2), "theirs");
  };
  EXPECT_EQ(walk(&result), kFirst);
  EXPECT_EQ(result, ENGINE_ERR_EOF);

  fill(kFirst, kAll, "theirs");
  readsWholeWithTheirChange();

  // Cut to a third, then to a third with the change counter moved (SQLite then lets its
  // mapping go), then cut and filled back with zeros to the old size, without and with the
  // counter moved (a mapping of a file of its old size is kept).
  const auto size = std::filesystem::file_size(Path("BUYER.DB"));
  std::filesystem::copy_file(Path("BUYER.DB"), Path("GOOD.DB"));
  for (int way = 0; way < 4; ++way) {
    SCOPED_TRACE(way);
    ASSERT_EQ(::truncate(Path("BUYER.DB").c_str(), off_t(size / 3)), 0);
    if (way == 1 || way == 3) {
      std::fstream file(Path("BUYER.DB"), std::ios::binary | std::ios::in | std::ios::out);
      file.seekp(24);
      file.put(char(way));
    }
    if (way >= 2) { ASSERT_EQ(::truncate(Path("BUYER.DB").c_str(), off_t(size)), 0); }
    EXPECT_LT(walk(&result), kAll);
    EXPECT_EQ(result, ENGINE_ERR_TABLEDAMAGED);
  }
  // Whole again (the same file, written over), then cut short in the middle of a walk.
  std::filesystem::copy_file(Path("GOOD.DB"), Path("BUYER.DB"),
                             std::filesystem::copy_options::overwrite_existing);
  readsWholeWithTheirChange();
  ASSERT_EQ(EngineSetToBegin(c), ENGINE_OK);
  int count = 0;
  while (count < kFirst / 2 && EngineGetNextRecord(c, 0, r.data(), nullptr) == ENGINE_OK) ++count;
  ASSERT_EQ(::truncate(Path("BUYER.DB").c_str(), off_t(size / 3)), 0);
  while ((result = EngineGetNextRecord(c, 0, r.data(), nullptr)) == ENGINE_OK) ++count;
  EXPECT_LT(count, kAll);
  EXPECT_EQ(result, ENGINE_ERR_TABLEDAMAGED);
  EngineCloseCursor(&c);
}
