/*
** Durability: a writer killed in the middle of a stream of inserts, or of posts that
** overwrite a record when its key is in use, loses nothing it was told was written, and the
** table opens clean afterwards; a table file another tool left in WAL mode is written with
** the rollback journal again.
*/
#include "platform/engine/tests/engine_test_support.h"

#include <sqlite3.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace enginetest;

namespace {

class EngineDurabilityTest : public EngineTest {};

/* Waits for `count` acknowledged writes, kills the writer mid-stream, and answers the number
   of the last write it acknowledged (-1 when the pipe broke early). */
int KillAfterAcknowledgements(pid_t writer, int acks, int count) {
  int last = -1;
  for (int received = 0; received < count; ++received) {
    if (::read(acks, &last, sizeof last) != ssize_t(sizeof last)) break;
  }
  ::kill(writer, SIGKILL);
  ::waitpid(writer, nullptr, 0);
  int more;
  while (::read(acks, &more, sizeof more) == ssize_t(sizeof more)) last = more;
  ::close(acks);
  return last;
}

TEST_F(EngineDurabilityTest, KilledWriterKeepsEveryAcknowledgedInsert) {
  TableShape shape = AccountShape();
  ASSERT_EQ(EngineCreateTable(db_, 0, shape.Desc()), ENGINE_OK);
  int acks[2];
  ASSERT_EQ(::pipe(acks), 0);
  pid_t writer = ::fork();
  if (writer == 0) {
    ::close(acks[0]);
    EngineCursor cursor = Open("ACCOUNT");
    std::vector<char> r = NewRecord(cursor);
    for (int n = 0;; ++n) {
      EngineInitRecord(cursor, r.data());
      EnginePutField(cursor, 1, r.data(), "F1");
      EnginePutField(cursor, 2, r.data(), "D");
      double seq = n;
      EnginePutField(cursor, 3, r.data(), &seq);
      EnginePutField(cursor, 8, r.data(), "a payee with a reasonably long name");
      if (EngineInsertRecord(cursor, 0, r.data()) != ENGINE_OK) ::_exit(1);
      if (::write(acks[1], &n, sizeof n) != sizeof n) ::_exit(1);
    }
  }
  ::close(acks[1]);
  int last = KillAfterAcknowledgements(writer, acks[0], 150);
  ASSERT_GE(last, 149);

  EngineCursor cursor = Open("ACCOUNT");
  ASSERT_NE(cursor, nullptr);
  std::vector<char> r = NewRecord(cursor);
  int count = 0;
  double expected = 0;
  while (EngineGetNextRecord(cursor, 0, r.data(), nullptr) == ENGINE_OK) {
    ASSERT_EQ(GetDouble(cursor, r, 3), expected);  // no gaps, in order
    expected += 1;
    ++count;
  }
  EXPECT_GE(count, last + 1);
  EXPECT_LE(count, last + 2);  // at most the insert in flight

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(Path("ACCOUNT.DB").c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
  sqlite3_stmt* check = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
  sqlite3_finalize(check);
  sqlite3_close(db);
}

/* Posts as the table wrapper makes them: the whole key searched, the record overwritten when
   found, inserted when not. Each of a few files is posted over and over with a rising count. */
TEST_F(EngineDurabilityTest, KilledWriterKeepsEveryAcknowledgedOverwrite) {
  constexpr int kFiles = 7;
  TableShape shape = FileShape();
  ASSERT_EQ(EngineCreateTable(db_, 0, shape.Desc()), ENGINE_OK);
  int acks[2];
  ASSERT_EQ(::pipe(acks), 0);
  pid_t writer = ::fork();
  if (writer == 0) {
    ::close(acks[0]);
    EngineCursor cursor = Open("BUYER");
    std::vector<char> r = NewRecord(cursor);
    for (int n = 0;; ++n) {
      std::string file = "F" + std::to_string(n % kFiles);
      EngineInitRecord(cursor, r.data());
      EnginePutField(cursor, 1, r.data(), file.c_str());
      LONG count = n;
      EnginePutField(cursor, 6, r.data(), &count);
      EngineResult found = EngineSetToKey(cursor, ENGINE_KEY_EQ, 0, 0, 0, r.data());
      EngineResult written = found == ENGINE_OK
                                 ? (EngineGetNextRecord(cursor, 0, nullptr, nullptr) == ENGINE_OK
                                        ? EngineModifyRecord(cursor, r.data(), 0)
                                        : ENGINE_ERR_NOCURRREC)
                                 : EngineInsertRecord(cursor, 0, r.data());
      if (written != ENGINE_OK) ::_exit(1);
      if (::write(acks[1], &n, sizeof n) != sizeof n) ::_exit(1);
    }
  }
  ::close(acks[1]);
  int last = KillAfterAcknowledgements(writer, acks[0], 200);
  ASSERT_GE(last, 199);

  EngineCursor cursor = Open("BUYER");
  ASSERT_NE(cursor, nullptr);
  std::vector<char> r = NewRecord(cursor);
  int files = 0;
  while (EngineGetNextRecord(cursor, 0, r.data(), nullptr) == ENGINE_OK) {
    int file = std::atoi(GetText(cursor, r, 1).c_str() + 1);
    LONG count = -1;
    ASSERT_EQ(EngineGetField(cursor, 6, r.data(), &count, nullptr), ENGINE_OK);
    // The last acknowledged post of this file, or the one in flight when it was killed.
    int acknowledged = last - ((last - file) % kFiles + kFiles) % kFiles;
    bool inFlight = count == last + 1 && (last + 1) % kFiles == file;
    EXPECT_TRUE(count == acknowledged || inFlight) << "F" << file << " holds " << count;
    ++files;
  }
  EXPECT_EQ(files, kFiles);
}

TEST_F(EngineDurabilityTest, TableLeftInWalModeIsWrittenWithTheRollbackJournal) {
  TableShape shape = AccountShape();
  ASSERT_EQ(EngineCreateTable(db_, 0, shape.Desc()), ENGINE_OK);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(Path("ACCOUNT.DB").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);

  EngineCursor cursor = Open("ACCOUNT");
  ASSERT_NE(cursor, nullptr);
  std::vector<char> r = NewRecord(cursor);
  EngineInitRecord(cursor, r.data());
  EnginePutField(cursor, 1, r.data(), "F1");
  EnginePutField(cursor, 2, r.data(), "D");
  ASSERT_EQ(EngineInsertRecord(cursor, 0, r.data()), ENGINE_OK);
  ASSERT_EQ(EngineCloseCursor(&cursor), ENGINE_OK);

  // Bytes 18 and 19 of the header: 1 for the rollback journal, 2 for WAL.
  std::ifstream file(Path("ACCOUNT.DB"), std::ios::binary);
  char header[20] = {};
  ASSERT_TRUE(file.read(header, sizeof header));
  EXPECT_EQ(header[18], 1);
  EXPECT_EQ(header[19], 1);
  EXPECT_FALSE(std::filesystem::exists(Path("ACCOUNT.DB-wal")));
}

}  // namespace
