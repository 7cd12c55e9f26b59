/*
** EngineTotalBeforeKey: which records it totals (those before the key in the cursor's order:
** blank dates in, the key's own date out), its groups, its whole cents and what it refuses
** to count as cents, over a file of one page and one of many. Expected figures are the
** amounts' cents added by hand, or by engine_totals_many_pages.py.
*/
#include "engine_test_support.h"

#include <sqlite3.h>

#include <map>
#include <string>
#include <tuple>

using namespace enginetest;

namespace {

struct Totals {
  long long cents, magnitude;
  DWORD records, inexact;
  bool operator==(const Totals&) const = default;
};
using GroupName = std::tuple<std::string, SHORT, SHORT>;  // type, bank, status
using Found = std::map<GroupName, Totals>;

class EngineTotalsTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(EngineCreateTable(db_, TRUE, shape_.Desc()), ENGINE_OK);
    cursor_ = Open("ACCOUNT", 1);  // AcctDate
  }

  void Put(int seq, const char* type, SHORT bank, SHORT status, DWORD day, const double* amount,
           const char* payee = "") {
    std::vector<char> r = NewRecord(cursor_);
    PutText(cursor_, r, 1, "F1");
    PutText(cursor_, r, 8, payee);
    PutText(cursor_, r, 2, type);
    PutDouble(cursor_, r, 3, seq);
    PutShort(cursor_, r, 5, bank);
    PutShort(cursor_, r, 6, status);
    if (day != ENGINE_BLANK_DATE) PutDay(cursor_, r, 7, day);
    if (amount) PutDouble(cursor_, r, 10, *amount);
    ASSERT_EQ(EngineInsertRecord(cursor_, ENGINE_NO_LOCK, r.data()), ENGINE_OK);
  }
  void Put(int seq, const char* type, SHORT bank, SHORT status, DWORD day, double amount,
           const char* payee = "") {
    Put(seq, type, bank, status, day, &amount, payee);
  }

  static void Take(const void* record, const EngineCentsTotal* total, void* context) {
    auto* self = static_cast<EngineTotalsTest*>(context);
    std::vector<char> r(static_cast<const char*>(record),
                        static_cast<const char*>(record) + self->NewRecord(self->cursor_).size());
    SHORT bank = -1, status = -1;
    EXPECT_EQ(EngineGetField(self->cursor_, 5, r.data(), &bank, nullptr), ENGINE_OK);
    EXPECT_EQ(EngineGetField(self->cursor_, 6, r.data(), &status, nullptr), ENGINE_OK);
    EXPECT_EQ(GetText(self->cursor_, r, 1), "");  // fields outside the group stay blank
    self->found_[{GetText(self->cursor_, r, 2), bank, status}] =
        Totals{total->cents, total->magnitude, total->records, total->inexact};
  }

  EngineResult TotalBefore(DWORD day, Found* found) {
    std::vector<char> key = NewRecord(cursor_);
    PutDay(cursor_, key, 7, day);
    const WORD groups[] = {2, 5, 6};
    found_.clear();
    EngineResult result = EngineTotalBeforeKey(cursor_, 1, key.data(), 10, 3, groups, Take, this);
    *found = found_;
    return result;
  }

  TableShape shape_ = AccountShape();
  EngineCursor cursor_ = nullptr;
  Found found_;
};

TEST_F(EngineTotalsTest, TotalsTheRecordsBeforeTheKeyByGroupInWholeCents) {
  const DWORD jan2 = Day(1, 2, 2026), jan3 = Day(1, 3, 2026);
  Put(1, "D", 1, 5, ENGINE_BLANK_DATE, 300.10);  // blank dates come first
  Put(2, "D", 1, 5, jan2, 10000.00);
  Put(3, "D", 1, 5, jan2, -12.34);
  Put(4, "C", 1, 2, jan2, 2500.25);
  Put(11, "C", 1, 2, jan2, 0.1 + 0.2);  // a hair above 0.30: still 30 cents
  Put(5, "C", 2, 2, jan2, 0.125);       // not whole cents
  Put(6, "C", 2, 2, jan2, 7.00);
  Put(7, "B", 1, 6, jan2, 2e13);     // too large to be sure of its cents
  Put(8, "D", 1, 6, jan2, nullptr);  // blank amount: 0
  Put(9, "D", 1, 5, jan3, 99.99);    // on the key: not before it
  Put(10, "C", 3, 2, Day(2, 1, 2026), 45.67);

  Found found;
  ASSERT_EQ(TotalBefore(jan3, &found), ENGINE_OK);
  Found expected = {
      {{"D", 1, 5}, {30010 + 1000000 - 1234, 30010 + 1000000 + 1234, 3, 0}},
      {{"C", 1, 2}, {250025 + 30, 250025 + 30, 2, 0}},
      {{"C", 2, 2}, {700, 700, 2, 1}},
      {{"B", 1, 6}, {0, 0, 1, 1}},
      {{"D", 1, 6}, {0, 0, 1, 0}},
  };
  EXPECT_EQ(found, expected);
  // A key near the start of the file (the range is read through the index, not the whole
  // file): only the blank-dated record comes before January 2.
  ASSERT_EQ(TotalBefore(jan2, &found), ENGINE_OK);
  EXPECT_EQ(found, (Found{{{"D", 1, 5}, {30010, 30010, 1, 0}}}));

  // The cursor stays where it was: on the record of the key's date, the next one after it.
  std::vector<char> r = NewRecord(cursor_);
  PutDay(cursor_, r, 7, jan3);
  ASSERT_EQ(EngineSetToKey(cursor_, ENGINE_KEY_GEQ, FALSE, 1, 0, r.data()), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(cursor_, ENGINE_NO_LOCK, r.data(), nullptr), ENGINE_OK);
  // Before a blank key nothing comes.
  ASSERT_EQ(TotalBefore(ENGINE_BLANK_DATE, &found), ENGINE_OK);
  EXPECT_TRUE(found.empty());
  ASSERT_EQ(EngineGetRecord(cursor_, ENGINE_NO_LOCK, r.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetDouble(cursor_, r, 10), 99.99);
  ASSERT_EQ(EngineGetNextRecord(cursor_, ENGINE_NO_LOCK, r.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetDouble(cursor_, r, 10), 45.67);
}

class EngineTotalsManyPagesTest : public EngineTotalsTest {
 protected:
  /* Entries 1..20000 (engine_totals_many_pages.py): large enough (some 4 MB) to be read
     through a mapping of the file, its leaves split among threads. */
  void SetUp() override {
    EngineTotalsTest::SetUp();
    EngineTransaction transaction = nullptr;
    ASSERT_EQ(EngineBeginTran(db_, &transaction), ENGINE_OK);
    const char payee[] = "A payee or depositor whose name fills the whole of the field";
    for (int i = 1; i <= 20000; ++i) {
      const bool deposit = i % 3 == 0;
      Put(i, deposit ? "D" : "C", SHORT(1 + i % 2), deposit ? 5 : 2, jan1 + i / 100,
          i + (i % 100) / 100.0, payee);
    }
    ASSERT_EQ(EngineEndTran(db_, transaction, ENGINE_XEND_COMMIT), ENGINE_OK);
  }

  const DWORD jan1 = Day(1, 1, 2026);
};

TEST_F(EngineTotalsManyPagesTest, TotalsAFileOfManyPagesAsAnotherConnectionLeftIt) {
  // Figures: engine_totals_many_pages.py.
  Found expected = {
      {{"C", 1, 2}, {6599828434, 6599828434, 6633, 0}},
      {{"C", 2, 2}, {6599834933, 6599834933, 6633, 0}},
      {{"D", 1, 5}, {3299914116, 3299914116, 3316, 0}},
      {{"D", 2, 5}, {3300912567, 3300912567, 3317, 0}},
  };
  Found found;
  ASSERT_EQ(TotalBefore(jan1 + 199, &found), ENGINE_OK);
  EXPECT_EQ(found, expected);

  // Another connection commits a deposit before the key: the next total counts it. Then it
  // makes one record too large for its page (its description spills onto pages of its own):
  // that record still counts.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(Path("ACCOUNT.DB").c_str(), &other), SQLITE_OK);
  const std::string insert =
      "INSERT INTO records(f1, f2, f3, f5, f6, f7, f10) VALUES('F2', 'D', 1.0, 1, 5, " +
      std::to_string(jan1 + 3) + ", 12.34)";
  ASSERT_EQ(sqlite3_exec(other, insert.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_EQ(TotalBefore(jan1 + 199, &found), ENGINE_OK);
  expected[{"D", 1, 5}] = {3299915350, 3299915350, 3317, 0};
  EXPECT_EQ(found, expected);
  ASSERT_EQ(sqlite3_exec(other, "UPDATE records SET f9 = hex(zeroblob(2500)) WHERE f3 = 10",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(other);
  ASSERT_EQ(TotalBefore(jan1 + 199, &found), ENGINE_OK);
  EXPECT_EQ(found, expected);
}

TEST_F(EngineTotalsTest, ARecordThatCannotBeReadBeforeTheKeyRefusesTheTotal) {
  const DWORD jan2 = Day(1, 2, 2026), jan9 = Day(1, 9, 2026);
  Put(1, "D", 1, 5, jan2, 10.00);
  Put(2, "D", 1, 5, jan9, 20.00);
  EngineCloseCursor(&cursor_);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(Path("ACCOUNT.DB").c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "UPDATE records SET f6 = 'no status' WHERE f3 = 2", nullptr, nullptr,
                         nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  cursor_ = Open("ACCOUNT", 1);

  Found found;
  ASSERT_EQ(TotalBefore(Day(1, 5, 2026), &found), ENGINE_OK);  // the damage lies after the key
  EXPECT_EQ(found.size(), 1u);
  EXPECT_EQ(TotalBefore(Day(1, 10, 2026), &found), ENGINE_ERR_TABLEDAMAGED);
  EXPECT_TRUE(found.empty());
}

TEST_F(EngineTotalsManyPagesTest, ARecordThatCannotBeReadAnywhereAmongManyPagesRefusesTheTotal) {
  // Entries 2, 9,000 and 19,899 lie on pages far apart (read by whichever thread takes
  // them), 19,950 on the key's day: each damaged alone.
  for (int damaged : {2, 9000, 19899, 19950}) {
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(Path("ACCOUNT.DB").c_str(), &other), SQLITE_OK);
    const std::string damage =
        "UPDATE records SET f6 = 'no status' WHERE f3 = " + std::to_string(damaged);
    ASSERT_EQ(sqlite3_exec(other, damage.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    Found found;
    EXPECT_EQ(TotalBefore(jan1 + 199, &found),
              damaged < 19900 ? ENGINE_ERR_TABLEDAMAGED : ENGINE_OK)
        << damaged;
    EXPECT_EQ(found.size(), damaged < 19900 ? 0u : 4u) << damaged;
    const std::string repair = "UPDATE records SET f6 = " + std::string(damaged % 3 ? "2" : "5") +
                               " WHERE f3 = " + std::to_string(damaged);
    ASSERT_EQ(sqlite3_exec(other, repair.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
  }
}

}  // namespace
