/*
** A rebuild killed at any moment: a process runs the repair utility's steps (both table
** locks, the backup copy, the restructure, the releases) on a 100,000-row ACCOUNT and is
** SIGKILLed at points spread over the time a whole run takes. Each time the table opens
** clean with exactly its old or its new content, a backup present is complete, and no lock
** stays behind.
*/
#include "platform/engine/tests/engine_salvage_support.h"
#include "platform/engine/tests/engine_test_support.h"

#include <chrono>
#include <thread>

using namespace enginetest;

namespace {

constexpr int kRows = 100000;

struct Content {
  long long rows = -1;
  double numberSum = 0;
  std::string integrity;
};

/* What a file holds, read with SQLite itself. */
Content ContentOf(const std::string& path) {
  Content content;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
      content.integrity = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    }
    sqlite3_finalize(stmt);
    if (sqlite3_prepare_v2(db, "SELECT count(*), total(f4) FROM records", -1, &stmt, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
      content.rows = sqlite3_column_int64(stmt, 0);
      content.numberSum = sqlite3_column_double(stmt, 1);
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return content;
}

class EngineRestructureKillTest : public EngineTest {
 protected:
  /* The utility's steps, as a separate process would run them. */
  void RunRebuild() {
    if (EngineAcquireTableLock(db_, "ACCOUNT", "PARADOX") ||
        EngineAcquireTableLock(db_, "ACTBU", "PARADOX") ||
        EngineCopyTable(db_, 1, "ACCOUNT", "PARADOX", "ACTBU") ||
        RestructureToShape(db_, account_, "ACTPROB") ||
        EngineReleaseTableLock(db_, "ACTBU", "PARADOX") ||
        EngineReleaseTableLock(db_, "ACCOUNT", "PARADOX")) {
      ::_exit(1);
    }
  }
  /* Starts a rebuild process; answers its pid. */
  pid_t StartRebuild() {
    pid_t pid = ::fork();
    if (pid == 0) {
      RunRebuild();
      ::_exit(0);
    }
    return pid;
  }
  bool AnotherProgramTakesTheLock() {
    Child other([this](Child& self) {
      self.Send(EngineAcquireTableLock(db_, "ACCOUNT", "PARADOX") == ENGINE_OK ? 'T' : 'x');
    });
    return other.Receive() == 'T';
  }
  void Reset(const std::string& pristine) {
    std::filesystem::copy_file(pristine, Path("ACCOUNT.DB"),
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(Path("ACTBU.DB"));
    std::filesystem::remove(Path("ACTPROB.DB"));
  }

  TableShape account_ = AccountShape();
};

TEST_F(EngineRestructureKillTest, AKilledRebuildLeavesTheOldOrTheNewTable) {
  ASSERT_EQ(EngineCreateTable(db_, 0, account_.Desc()), ENGINE_OK);
  // The old content: 100,000 entries and one more that clashes on the key, which the
  // rebuild sets aside.
  RawExec(Path("ACCOUNT.DB"),
          "BEGIN; DROP INDEX ix0;"
          "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
              std::to_string(kRows - 1) +
              ") INSERT INTO records SELECT 'F' || (i / 10), 'C', i % 10, i, 0, 0,"
              " 730000 + i % 365, 'A payee of reasonable length', printf('MK%06d', i),"
              " i * 1.25 FROM n;"
              "INSERT INTO records SELECT f1, f2, f3, 1000000, f5, f6, f7, f8, f9, f10"
              " FROM records WHERE f9 = 'MK000042'; COMMIT;");
  const std::string pristine = Path("pristine.db");
  std::filesystem::copy_file(Path("ACCOUNT.DB"), pristine);
  const double sum = double(kRows - 1) * kRows / 2;
  Content old = ContentOf(pristine);
  ASSERT_EQ(old.rows, kRows + 1);
  ASSERT_EQ(old.numberSum, sum + 1000000);

  auto started = std::chrono::steady_clock::now();
  pid_t whole = StartRebuild();
  int status = 0;
  ::waitpid(whole, &status, 0);
  auto length = std::chrono::steady_clock::now() - started;
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  Content rebuilt = ContentOf(Path("ACCOUNT.DB"));
  ASSERT_EQ(rebuilt.rows, kRows);
  ASSERT_EQ(rebuilt.numberSum, sum);

  int sawOld = 0, sawNew = 0;
  // Points from a tenth of a whole run to a little past its end (the sync and rename of
  // the rebuilt table come last).
  for (int point = 1; point <= 11; ++point) {
    Reset(pristine);
    pid_t victim = StartRebuild();
    std::this_thread::sleep_for(length * point / 10);
    ::kill(victim, SIGKILL);
    ::waitpid(victim, nullptr, 0);

    Content now = ContentOf(Path("ACCOUNT.DB"));
    EXPECT_EQ(now.integrity, "ok") << "point " << point;
    bool isOld = now.rows == old.rows && now.numberSum == old.numberSum;
    bool isNew = now.rows == rebuilt.rows && now.numberSum == rebuilt.numberSum;
    EXPECT_TRUE(isOld || isNew) << "point " << point << ": " << now.rows << " rows";
    sawOld += isOld;
    sawNew += isNew;
    if (std::filesystem::exists(Path("ACTBU.DB"))) {
      Content backup = ContentOf(Path("ACTBU.DB"));
      EXPECT_EQ(backup.integrity, "ok") << "point " << point;
      EXPECT_EQ(backup.rows, old.rows) << "point " << point;
    }
    EXPECT_TRUE(AnotherProgramTakesTheLock()) << "point " << point;
    EngineCursor cursor = Open("ACCOUNT");
    EXPECT_NE(cursor, nullptr) << "point " << point;
    if (cursor) EngineCloseCursor(&cursor);
  }
  // The early points fall before the install; how many later ones found the rebuilt table
  // depends on the machine's load, so it is only reported.
  EXPECT_GT(sawOld, 0);
  RecordProperty("killed_before_install", sawOld);
  RecordProperty("killed_after_install", sawNew);
  // A finished rebuild clears the work files the killed ones left.
  Reset(pristine);
  pid_t last = StartRebuild();
  ::waitpid(last, &status, 0);
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().filename().string().find(".rst"), std::string::npos) << entry.path();
  }
}

}  // namespace
