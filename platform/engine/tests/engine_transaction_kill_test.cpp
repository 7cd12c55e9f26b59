/*
** A transaction over fourteen tables, as one save of a closing file writes them: a writer
** killed at each change to disk of its transaction, one run per change, leaves every table
** as it was before or every table as saved, never some of each, whoever opens the files
** next: another station opening one of them alone, the repair utility rebuilding one alone,
** or a program reading all. A super-journal lost or damaged after a kill still leaves every
** table whole, old or new (every fifth change is tried for that). An abort stores nothing.
** ZARNE_KILL_STEP=n tries every n-th change only.
*/
#include "platform/engine/engine_test_hooks.h"
#include "platform/engine/tests/engine_test_support.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace enginetest;

namespace {

constexpr int kTables = 14;

class EngineTransactionKillTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    for (int t = 0; t < kTables; ++t) {
      TableShape& shape = shapes_.emplace_back(
          Name(t), std::vector<FieldShape>{{"Key", ENGINE_FLD_STRING, 0, 15},
                                           {"Amount", ENGINE_FLD_FLOAT, 21, 0}});
      shape.Index("", true, false, {1});
      ASSERT_EQ(EngineCreateTable(db_, 0, shape.Desc()), ENGINE_OK);
      EngineCursor cursor = Open(Name(t).c_str());
      std::vector<char> r = NewRecord(cursor);
      EngineInitRecord(cursor, r.data());
      EnginePutField(cursor, 1, r.data(), "F");
      double zero = 0;
      EnginePutField(cursor, 2, r.data(), &zero);
      ASSERT_EQ(EngineInsertRecord(cursor, 0, r.data()), ENGINE_OK);
      EngineCloseCursor(&cursor);
    }
  }
  static std::string Name(int t) { return "T" + std::to_string(10 + t); }

  /* Sets every table's amount to value in one transaction, in a child process killed at
       the killAt-th change to disk (0: not killed; then the changes made are answered). */
  long SaveInChild(double value, long killAt, DWORD end = ENGINE_XEND_COMMIT) {
    int counts[2];
    if (::pipe(counts) != 0) return -1;
    pid_t child = ::fork();
    if (child == 0) {
      ::close(counts[0]);
      std::vector<EngineCursor> cursors;
      for (int t = 0; t < kTables; ++t) cursors.push_back(Open(Name(t).c_str()));
      const long before = EngineTestWriteCount();
      EngineTestKillAtWrite(killAt);
      EngineTransaction transaction = nullptr;
      if (EngineBeginTran(db_, &transaction) != ENGINE_OK) ::_exit(1);
      for (EngineCursor cursor : cursors) {
        std::vector<char> r = NewRecord(cursor);
        if (EngineGetNextRecord(cursor, 0, r.data(), nullptr) != ENGINE_OK) ::_exit(1);
        EnginePutField(cursor, 2, r.data(), &value);
        if (EngineModifyRecord(cursor, r.data(), 0) != ENGINE_OK) ::_exit(1);
      }
      if (EngineEndTran(db_, transaction, end) != ENGINE_OK) ::_exit(1);
      long writes = EngineTestWriteCount() - before;
      if (::write(counts[1], &writes, sizeof writes) != sizeof writes) ::_exit(1);
      ::_exit(0);
    }
    ::close(counts[1]);
    long writes = -1;
    if (::read(counts[0], &writes, sizeof writes) != sizeof writes) writes = -1;
    ::close(counts[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    killed_ = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    return writes;
  }

  /* Another station opens the table alone and reads it, then ends. */
  bool ReadAloneElsewhere(int t) {
    pid_t child = ::fork();
    if (child == 0) {
      EngineDatabase db = nullptr;
      EngineCursor cursor = nullptr;
      bool read = EngineInit(ENGINE_VERSION, nullptr) == ENGINE_OK &&
                  EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &db) ==
                      ENGINE_OK &&
                  EngineSetDirectory(db, dir_.c_str()) == ENGINE_OK &&
                  EngineOpenTable(db, Name(t).c_str(), "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0,
                                  nullptr, &cursor) == ENGINE_OK &&
                  EngineGetNextRecord(cursor, 0, nullptr, nullptr) == ENGINE_OK;
      ::_exit(read ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  /* Whoever comes first after a kill: another station reading one table alone, the repair
       utility rebuilding one alone, or (nothing here) the program that reads them all. */
  void SettleFirst(long killAt) {
    const int t = static_cast<int>(killAt % kTables);
    if (killAt % 3 == 1) {
      EXPECT_TRUE(ReadAloneElsewhere(t)) << Name(t);
    } else if (killAt % 3 == 2) {
      EXPECT_EQ(RestructureToShape(db_, shapes_[t], "PROBLEMS"), ENGINE_OK) << Name(t);
    }
  }

  /* The super-journal of a commit in progress, or empty. */
  std::string SuperJournal() const {
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
      if (entry.path().filename().string().find("-mj") != std::string::npos)
        return entry.path().string();
    return {};
  }

  /* Every table's amount, read by this program afresh. */
  std::vector<double> Amounts() {
    std::vector<double> amounts;
    for (int t = 0; t < kTables; ++t) {
      EngineCursor cursor = Open(Name(t).c_str());
      std::vector<char> r = NewRecord(cursor);
      EXPECT_EQ(EngineGetNextRecord(cursor, 0, r.data(), nullptr), ENGINE_OK) << Name(t);
      amounts.push_back(GetDouble(cursor, r, 2));
      EngineCloseCursor(&cursor);
    }
    return amounts;
  }

  /* Journals that still hold a transaction (an empty one, or one whose header was never
       written, is as good as none). A super-journal left by a kill before any journal named
       it stays behind, harmless: nothing reads it. */
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      if (name.find("-journal") == std::string::npos) continue;
      std::FILE* journal = std::fopen(entry.path().c_str(), "rb");
      const int first = journal ? std::fgetc(journal) : EOF;
      if (journal) std::fclose(journal);
      if (first != EOF && first != 0) left.push_back(name);
    }
    return left;
  }

  bool killed_ = false;
  std::vector<TableShape> shapes_;

  static long Step(long otherwise) {
    const char* stepText = std::getenv("ZARNE_KILL_STEP");
    return stepText ? std::max(1L, std::atol(stepText)) : otherwise;
  }
};

TEST_F(EngineTransactionKillTest, AWriterKilledAtAnyChangeOfItsCommitLeavesAllTablesOldOrAllNew) {
  const long writes = SaveInChild(1, 0);
  ASSERT_GT(writes, 2 * kTables);  // at least a journal and a table write each
  EXPECT_EQ(std::vector<double>(kTables, 1.0), Amounts());
  EXPECT_TRUE(Leftovers().empty());

  const long step = Step(1);
  double stored = 1;
  int sawOld = 0, sawNew = 0;
  for (long killAt = 1; killAt <= writes;
       killAt += (killAt + step > writes && killAt != writes) ? writes - killAt : step) {
    const double saved = static_cast<double>(killAt + 1);
    SaveInChild(saved, killAt);
    ASSERT_TRUE(killed_) << "kill at " << killAt;
    SettleFirst(killAt);
    const std::vector<double> amounts = Amounts();
    const std::set<double> distinct(amounts.begin(), amounts.end());
    ASSERT_EQ(1u, distinct.size()) << "kill at change " << killAt << " of " << writes << ": "
                                   << ::testing::PrintToString(amounts);
    const double now = *distinct.begin();
    ASSERT_TRUE(now == stored || now == saved) << now;
    (now == stored ? sawOld : sawNew) += 1;
    stored = now;
    // Reading every table threw away or played back every journal the kill left.
    ASSERT_TRUE(Leftovers().empty()) << ::testing::PrintToString(Leftovers());
  }
  std::printf("%ld kills: %d left the tables as before, %d as saved\n", writes, sawOld, sawNew);
  EXPECT_GT(sawOld, 0);
  EXPECT_GT(sawNew, 0);

  // An abort stores nothing.
  ASSERT_GE(SaveInChild(-5, 0, ENGINE_XEND_ABORT), 0);
  EXPECT_EQ(std::vector<double>(kTables, stored), Amounts());
}

TEST_F(EngineTransactionKillTest,
       ASuperJournalLostOrDamagedAfterAKillLeavesEveryTableWholeOldOrNew) {
  const long writes = SaveInChild(1, 0);
  ASSERT_GT(writes, 2 * kTables);
  double stored = 1;
  int tampered = 0;
  for (long killAt = 1; killAt <= writes; killAt += Step(5)) {
    const double saved = static_cast<double>(killAt + 1);
    SaveInChild(saved, killAt);
    ASSERT_TRUE(killed_) << "kill at " << killAt;
    const std::string super = SuperJournal();
    if (!super.empty()) {
      // Cleaned away by hand, or cut short: the journals that name it can no longer
      // tell their tables to roll back.
      if (++tampered % 2) {
        std::filesystem::remove(super);
      } else {
        std::FILE* file = std::fopen(super.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fputs("BUY", file);
        std::fclose(file);
      }
    }
    const std::vector<double> amounts = Amounts();
    for (int t = 0; t < kTables; ++t)
      ASSERT_TRUE(amounts[t] == stored || amounts[t] == saved)
          << Name(t) << " holds " << amounts[t] << " after a kill at change " << killAt;
    // Whatever each table now holds, the next save stores all of them together again.
    ASSERT_GE(SaveInChild(stored, 0), 0);
    ASSERT_EQ(std::vector<double>(kTables, stored), Amounts())
        << "after a kill at change " << killAt;
  }
  std::printf("%d kills left a super-journal, each lost or damaged; every table stayed whole\n",
              tampered);
  EXPECT_GT(tampered, 0);
}

}  // namespace
