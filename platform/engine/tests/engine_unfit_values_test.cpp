/*
** Stored values a record cannot hold exactly (text with a NUL inside or longer than its
** field, a whole number a double cannot hold, a date that is not a whole day): a walk in an
** order keyed on one stops there with a damaged-table error instead of meeting the row again
** and again, and a rebuild sets such records aside, byte for byte, so that every record it
** counts kept is read back from the rebuilt table exactly once.
*/
#include "platform/engine/tests/engine_salvage_support.h"
#include "platform/engine/tests/engine_test_support.h"

#include <algorithm>
#include <cstdio>

using namespace enginetest;

namespace {

constexpr int kRows = 10;
constexpr int kStepLimit = 1000;  // far more steps than rows: a walk that runs on loops

std::string FileNumber(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "R%04d", n);
  return text;
}

/* A forward (or backward) walk's FileNums up to its first failure, and that failure. */
struct Walk {
  std::vector<std::string> files;
  EngineResult end = ENGINE_OK;
};

class EngineUnfitValuesTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(EngineCreateTable(db_, 0, account_.Desc()), ENGINE_OK);
    EngineCursor c = Open("ACCOUNT");
    std::vector<char> r = NewRecord(c);
    for (int n = 0; n < kRows; ++n) {
      EngineInitRecord(c, r.data());
      PutText(c, r, 1, FileNumber(n).c_str());
      PutText(c, r, 2, "C");
      PutDouble(c, r, 3, n);
      PutDay(c, r, 7, Day(1, 1, 2000) + DWORD(n));
      PutText(c, r, 9, ("D" + std::to_string(n)).c_str());
      ASSERT_EQ(EngineInsertRecord(c, 0, r.data()), ENGINE_OK);
    }
    EngineCloseCursor(&c);
  }
  void Damage(const std::string& sql) { RawExec(Path("ACCOUNT.DB"), sql); }

  Walk WalkAccount(WORD index, bool forward) {
    Walk walk;
    EngineCursor c = Open("ACCOUNT", index);
    if (!c) return walk;
    std::vector<char> r = NewRecord(c);
    if (!forward) EngineSetToEnd(c);
    for (int step = 0; step < kStepLimit; ++step) {
      walk.end = forward ? EngineGetNextRecord(c, 0, r.data(), nullptr)
                         : EngineGetPriorRecord(c, 0, r.data(), nullptr);
      if (walk.end != ENGINE_OK) break;
      walk.files.push_back(GetText(c, r, 1));
    }
    EngineCloseCursor(&c);
    return walk;
  }
  std::vector<std::string> Files(std::vector<int> numbers) {
    std::vector<std::string> files;
    for (int n : numbers) files.push_back(FileNumber(n));
    return files;
  }
  /* One column of the rows of a table file as SQLite itself gives it, in row order. */
  std::vector<std::string> RawColumn(const std::string& file, const std::string& expression) {
    std::vector<std::string> values;
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(Path(file).c_str(), &db), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    std::string sql = "SELECT " + expression + " FROM records ORDER BY rowid";
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      values.push_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return values;
  }

  TableShape account_ = AccountShape();
};

TEST_F(EngineUnfitValuesTest, AWalkStopsAtAKeyItsFieldCannotHoldInsteadOfMeetingItAgain) {
  // R0005 becomes "R0005" NUL: it still sorts between R0004 and R0006, but its record
  // holds only "R0005", which sorts before it.
  Damage("UPDATE records SET f1 = CAST(X'523030303500' AS TEXT) WHERE f3 = 5");
  Walk forward = WalkAccount(0, true);
  EXPECT_EQ(forward.files, Files({0, 1, 2, 3, 4}));
  EXPECT_EQ(forward.end, ENGINE_ERR_TABLEDAMAGED);
  EngineErrorInfo info{};
  EngineGetErrorInfo(1, &info);
  EXPECT_NE(std::string(info.context[0]).find("ACCOUNT.DB"), std::string::npos);
  Walk backward = WalkAccount(0, false);
  EXPECT_EQ(backward.files, Files({9, 8, 7, 6}));
  EXPECT_EQ(backward.end, ENGINE_ERR_TABLEDAMAGED);
}

struct UnfitKey {
  const char* what;
  const char* sql;
  WORD index;
  std::vector<int> before;  // the rows read before the damaged one
};

class EngineUnfitKeyTest : public EngineUnfitValuesTest,
                           public ::testing::WithParamInterface<UnfitKey> {};

TEST_P(EngineUnfitKeyTest, StopsTheWalkOfItsOrder) {
  Damage(GetParam().sql);
  Walk walk = WalkAccount(GetParam().index, true);
  EXPECT_EQ(walk.files, Files(GetParam().before));
  EXPECT_EQ(walk.end, ENGINE_ERR_TABLEDAMAGED);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EngineUnfitKeyTest,
    ::testing::Values(
        // A field definition cut short: no stored FileNum fits two characters.
        UnfitKey{"ShortenedField", "UPDATE engine_fields SET units1 = 2 WHERE number = 1", 0, {}},
        // 2^53 + 1 reads as 2^53, which sorts before it.
        UnfitKey{"InexactWholeNumber",
                 "UPDATE records SET f3 = 9007199254740993 WHERE f3 = 5",
                 0,
                 {0, 1, 2, 3, 4}},
        UnfitKey{"PartOfADay", "UPDATE records SET f7 = f7 + 0.5 WHERE f3 = 3", 1, {0, 1, 2}}),
    [](const ::testing::TestParamInfo<UnfitKey>& info) { return std::string(info.param.what); });

TEST_F(EngineUnfitValuesTest, AnUnfitValueOutsideTheKeyStillReads) {
  // Problems tables hold such records on purpose and must stay readable.
  Damage("UPDATE records SET f6 = 'not a number', f9 = CAST(X'4400' AS TEXT) WHERE f3 = 5");
  Walk walk = WalkAccount(0, true);
  EXPECT_EQ(walk.files, Files({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(walk.end, ENGINE_ERR_EOF);
}

TEST_F(EngineUnfitValuesTest, ARebuildSetsAsideWhatARecordCannotHoldAndKeepsWhatItCounts) {
  Damage(
      "UPDATE records SET f1 = CAST(X'523030303200' AS TEXT) WHERE f3 = 2;"
      "UPDATE records SET f9 = CAST(X'44003400' AS TEXT) WHERE f3 = 4;"
      "UPDATE records SET f3 = 9007199254740993 WHERE f3 = 6;"
      "UPDATE records SET f7 = f7 + 0.5 WHERE f3 = 8;");
  ASSERT_EQ(EngineAcquireTableLock(db_, "ACCOUNT", "PARADOX"), ENGINE_OK);
  ASSERT_EQ(RestructureToShape(db_, account_, "ACTPROB"), ENGINE_OK);
  ASSERT_EQ(EngineReleaseTableLock(db_, "ACCOUNT", "PARADOX"), ENGINE_OK);

  EngineRestructureCounts counts{};
  ASSERT_EQ(EngineGetRestructureCounts(&counts), ENGINE_OK);
  EXPECT_EQ(counts.kept, 6u);
  EXPECT_EQ(counts.setAside, 4u);
  for (WORD index : {0, 1, 2}) {
    SCOPED_TRACE(index);
    Walk walk = WalkAccount(index, true);
    EXPECT_EQ(walk.end, ENGINE_ERR_EOF);
    EXPECT_EQ(walk.files.size(), counts.kept);
    std::sort(walk.files.begin(), walk.files.end());
    EXPECT_EQ(walk.files, Files({0, 1, 3, 5, 7, 9}));
  }
  // The records set aside keep their stored bytes and kinds.
  EXPECT_EQ(RawColumn("ACTPROB.DB", "hex(CAST(f1 AS BLOB))"),
            (std::vector<std::string>{"523030303200", "5230303034", "5230303036", "5230303038"}));
  EXPECT_EQ(RawColumn("ACTPROB.DB", "hex(CAST(f9 AS BLOB))")[1], "44003400");
  EXPECT_EQ(RawColumn("ACTPROB.DB", "typeof(f3) || ' ' || f3")[2], "integer 9007199254740993");
  EXPECT_EQ(RawColumn("ACTPROB.DB", "typeof(f7)")[3], "real");
  // And the problems table reads through the engine, in its record order.
  EngineCursor problems = Open("ACTPROB");
  ASSERT_NE(problems, nullptr);
  int read = 0;
  while (EngineGetNextRecord(problems, 0, nullptr, nullptr) == ENGINE_OK) ++read;
  EngineCloseCursor(&problems);
  EXPECT_EQ(read, 4);
}

}  // namespace
