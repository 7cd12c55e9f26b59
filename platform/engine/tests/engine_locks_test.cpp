/*
** Record and table locks between real programs: a second process contends for a record
** lock, and the lock is free again once its holder is killed.
*/
#include "platform/engine/tests/engine_test_support.h"

using namespace enginetest;

namespace {

class EngineLocksTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(EngineCreateTable(db_, 0, shape_.Desc()), ENGINE_OK);
  }
  /* Opens BUYER, making F1 and F2 when missing, and leaves the cursor on F1. */
  EngineCursor OpenOnFile(const char* number, std::vector<char>* record) {
    EngineCursor cursor = Open("BUYER");
    *record = NewRecord(cursor);
    for (const char* n : {"F1", "F2"}) {
      EngineInitRecord(cursor, record->data());
      EnginePutField(cursor, 1, record->data(), n);
      (void)EngineInsertRecord(cursor, 0, record->data());  // refused when it is there
    }
    EngineInitRecord(cursor, record->data());
    EnginePutField(cursor, 1, record->data(), number);
    EngineSetToKey(cursor, ENGINE_KEY_EQ, 0, 0, 0, record->data());
    EngineGetNextRecord(cursor, 0, record->data(), nullptr);
    return cursor;
  }

  TableShape shape_ = FileShape();
};

TEST_F(EngineLocksTest, AnotherProgramsLockHoldsUntilItIsKilled) {
  Child holder([this](Child& self) {
    std::vector<char> record;
    EngineCursor cursor = OpenOnFile("F1", &record);
    self.Send(EngineGetRecord(cursor, ENGINE_WRITE_LOCK, nullptr, nullptr) == ENGINE_OK ? 'L'
                                                                                        : 'x');
    self.Receive();  // hold until killed
  });
  ASSERT_EQ(holder.Receive(), 'L');

  std::vector<char> record;
  EngineCursor cursor = OpenOnFile("F1", &record);
  EXPECT_EQ(EngineGetRecord(cursor, ENGINE_WRITE_LOCK, nullptr, nullptr), ENGINE_ERR_RECLOCKED);
  DWORD locked = 1;
  EXPECT_EQ(EngineIsRecordLocked(cursor, &locked), ENGINE_OK);
  EXPECT_EQ(locked, 0u);
  EnginePutField(cursor, 2, record.data(), "intruder");
  EXPECT_EQ(EngineModifyRecord(cursor, record.data(), 0), ENGINE_ERR_RECLOCKED);
  EXPECT_EQ(EngineDeleteRecord(cursor, nullptr), ENGINE_ERR_RECLOCKED);
  // The holder's lock covers one record only, and keeps the table from being locked.
  EngineCursor other = OpenOnFile("F2", &record);
  EXPECT_EQ(EngineGetRecord(other, ENGINE_WRITE_LOCK, nullptr, nullptr), ENGINE_OK);
  EXPECT_EQ(EngineReleaseRecordLock(other, 0), ENGINE_OK);
  EXPECT_EQ(EngineAcquireTableLock(db_, "BUYER", "PARADOX"), ENGINE_ERR_TABLELOCKED);

  holder.Kill();
  EXPECT_EQ(EngineGetRecord(cursor, ENGINE_WRITE_LOCK, nullptr, nullptr), ENGINE_OK);
  EXPECT_EQ(EngineIsRecordLocked(cursor, &locked), ENGINE_OK);
  EXPECT_EQ(locked, 1u);
}

TEST_F(EngineLocksTest, ThisProgramsOwnLockAnswersAlreadyLocked) {
  std::vector<char> record;
  EngineCursor first = OpenOnFile("F1", &record);
  EngineCursor second = OpenOnFile("F1", &record);
  ASSERT_EQ(EngineGetRecord(first, ENGINE_WRITE_LOCK, nullptr, nullptr), ENGINE_OK);
  EXPECT_EQ(EngineGetRecord(second, ENGINE_WRITE_LOCK, nullptr, nullptr), ENGINE_ERR_ALREADYLOCKED);
  EXPECT_EQ(EngineReleaseRecordLock(second, 0), ENGINE_ERR_NOTLOCKED);
  // Our own lock does not stop our own writes.
  EnginePutField(second, 2, record.data(), "mine");
  EXPECT_EQ(EngineModifyRecord(second, record.data(), 0), ENGINE_OK);
  ASSERT_EQ(EngineCloseCursor(&first), ENGINE_OK);  // closing releases
  EXPECT_EQ(EngineGetRecord(second, ENGINE_WRITE_LOCK, nullptr, nullptr), ENGINE_OK);
}

TEST_F(EngineLocksTest, ReleasedLocksAndTableLocksBindTheOtherProgram) {
  Child other([this](Child& self) {
    std::vector<char> record;
    EngineCursor cursor = OpenOnFile("F1", &record);
    EngineGetRecord(cursor, ENGINE_WRITE_LOCK, nullptr, nullptr);
    self.Send('L');
    self.Receive();
    self.Send(EngineReleaseRecordLock(cursor, 0) == ENGINE_OK ? 'R' : 'x');
    self.Receive();
    // With the table open here, the parent cannot take the table lock; once it is
    // closed, the parent holds it, also on a table that does not exist yet.
    EngineCloseCursor(&cursor);
    self.Send('C');
    self.Receive();
    EngineResult table = EngineAcquireTableLock(db_, "BUYER", "PARADOX");
    EngineCursor again = nullptr;
    EngineResult open =
        EngineOpenTable(db_, "BUYER", "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr, &again);
    EngineResult fresh = EngineAcquireTableLock(db_, "NEWTABLE", "PARADOX");
    self.Send(table == ENGINE_ERR_TABLELOCKED && open == ENGINE_ERR_TABLELOCKED &&
                      again == nullptr && fresh == ENGINE_ERR_TABLELOCKED
                  ? 'T'
                  : 'x');
    self.Receive();
  });
  ASSERT_EQ(other.Receive(), 'L');
  std::vector<char> record;
  EngineCursor cursor = OpenOnFile("F1", &record);
  EXPECT_EQ(EngineGetRecord(cursor, ENGINE_WRITE_LOCK, nullptr, nullptr), ENGINE_ERR_RECLOCKED);
  other.Send('g');
  ASSERT_EQ(other.Receive(), 'R');
  EXPECT_EQ(EngineGetRecord(cursor, ENGINE_WRITE_LOCK, nullptr, nullptr), ENGINE_OK);
  EXPECT_EQ(EngineReleaseRecordLock(cursor, 1), ENGINE_OK);
  EXPECT_EQ(EngineAcquireTableLock(db_, "BUYER", "PARADOX"), ENGINE_ERR_TABLELOCKED);
  other.Send('c');
  ASSERT_EQ(other.Receive(), 'C');
  // Our own open cursor does not stand in the way of our own lock.
  ASSERT_EQ(EngineAcquireTableLock(db_, "BUYER", "PARADOX"), ENGINE_OK);
  ASSERT_EQ(EngineAcquireTableLock(db_, "NEWTABLE", "PARADOX"), ENGINE_OK);
  EXPECT_EQ(EngineAcquireTableLock(db_, "BUYER", "PARADOX"), ENGINE_ERR_ALREADYLOCKED);
  other.Send('t');
  EXPECT_EQ(other.Receive(), 'T');
  EXPECT_EQ(EngineReleaseTableLock(db_, "BUYER", "PARADOX"), ENGINE_OK);
  EXPECT_EQ(EngineReleaseTableLock(db_, "NEWTABLE", "PARADOX"), ENGINE_OK);
  EXPECT_EQ(EngineReleaseTableLock(db_, "BUYER", "PARADOX"), ENGINE_ERR_NOTLOCKED);
}

}  // namespace

namespace {

TEST_F(EngineLocksTest, AnExclusiveOpenHoldsTheTableLockUntilClosed) {
  auto openExclusive = [this](EngineCursor* cursor) {
    return EngineOpenTable(db_, "BUYER", "PARADOX", nullptr, nullptr, 0, 0, ENGINE_SHARE_EXCLUSIVE,
                           2, 0, nullptr, cursor);
  };
  Child other([&](Child& self) {
    self.Receive();  // the parent has opened the table
    EngineCursor cursor = nullptr;
    self.Send(openExclusive(&cursor) == ENGINE_ERR_TABLELOCKED ? 'E' : 'x');
    self.Receive();  // the parent has closed it
    self.Send(openExclusive(&cursor) == ENGINE_OK ? 'O' : 'x');
  });
  EngineCursor exclusive = nullptr;
  ASSERT_EQ(openExclusive(&exclusive), ENGINE_OK);
  other.Send('o');
  EXPECT_EQ(other.Receive(), 'E');
  ASSERT_EQ(EngineCloseCursor(&exclusive), ENGINE_OK);
  other.Send('c');
  EXPECT_EQ(other.Receive(), 'O');
}

TEST_F(EngineLocksTest, ATableOpenElsewhereIsNotReplaced) {
  Child user([this](Child& self) {
    EngineCursor cursor = Open("BUYER");
    self.Send(cursor ? 'O' : 'x');
    self.Receive();
  });
  ASSERT_EQ(user.Receive(), 'O');
  EXPECT_EQ(EngineCreateTable(db_, 1, shape_.Desc()), ENGINE_ERR_TABLELOCKED);
  user.Kill();
  EXPECT_EQ(EngineCreateTable(db_, 1, shape_.Desc()), ENGINE_OK);
}

TEST_F(EngineLocksTest, EndingTheEngineReleasesItsTableLocks) {
  ASSERT_EQ(EngineAcquireTableLock(db_, "BUYER", "PARADOX"), ENGINE_OK);
  ASSERT_EQ(EngineExit(), ENGINE_OK);
  ASSERT_EQ(EngineInit(ENGINE_VERSION, nullptr), ENGINE_OK);
  ASSERT_EQ(EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &db_),
            ENGINE_OK);
  ASSERT_EQ(EngineSetDirectory(db_, dir_.c_str()), ENGINE_OK);
  Child other([this](Child& self) {
    self.Send(EngineAcquireTableLock(db_, "BUYER", "PARADOX") == ENGINE_OK ? 'T' : 'x');
  });
  EXPECT_EQ(other.Receive(), 'T');
}

}  // namespace
