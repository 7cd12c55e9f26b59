/*
** A walk decodes only the fields its caller reads, yet every field it hands out is whole: a
** field the caller turns to late, a record changed and written back, a memo, and another
** program's write made in the middle of the walk, which the next step must see, and a
** buffer the caller cleared between steps. A walk may also read fields straight from the
** cursor, with no buffer at all.
*/
#include "platform/engine/tests/engine_test_support.h"

using namespace enginetest;

namespace {

constexpr int kRecords = 100;

std::string Number(int n) { return Format("F%03d", n); }
std::string Name(int n) { return Format("Name %d", n); }

class EngineWalkFieldsTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(EngineCreateTable(db_, 0, shape_.Desc()), ENGINE_OK);
    EngineCursor c = Open("BUYER");
    std::vector<char> r = NewRecord(c);
    for (int n = 0; n < kRecords; ++n) {
      EngineInitRecord(c, r.data());
      PutText(c, r, 1, Number(n).c_str());
      PutText(c, r, 2, Name(n).c_str());
      PutDay(c, r, 3, Day(1, 1, 2000) + DWORD(n));
      PutDouble(c, r, 4, n * 1.25);
      PutShort(c, r, 5, SHORT(n));
      std::string note = "note " + std::to_string(n);
      ASSERT_EQ(EngineOpenBlob(c, r.data(), 7, 0), ENGINE_OK);
      ASSERT_EQ(EnginePutBlob(c, r.data(), 7, 0, DWORD(note.size()), note.data()), ENGINE_OK);
      ASSERT_EQ(EngineInsertRecord(c, 0, r.data()), ENGINE_OK);
      EngineFreeBlob(c, r.data(), 7);
    }
    EngineCloseCursor(&c);
  }
  std::string Memo(EngineCursor c, std::vector<char>& r) {
    char text[64] = {};
    DWORD count = 0;
    EXPECT_EQ(EngineOpenBlob(c, r.data(), 7, 0), ENGINE_OK);
    EXPECT_EQ(EngineGetBlob(c, r.data(), 7, 0, sizeof text - 1, text, &count), ENGINE_OK);
    EngineFreeBlob(c, r.data(), 7);
    return text;
  }
  TableShape shape_ = FileShape();
};

TEST_F(EngineWalkFieldsTest, FieldsReadLateOrWrittenBackAreWhole) {
  EngineCursor c = Open("BUYER");
  std::vector<char> r = NewRecord(c);
  ASSERT_EQ(EngineSetToBegin(c), ENGINE_OK);
  for (int n = 0; n < kRecords; ++n) {
    ASSERT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_OK) << n;
    ASSERT_EQ(GetText(c, r, 1), Number(n));
    if (n == 50) EXPECT_EQ(GetText(c, r, 2), Name(50));
    if (n >= 60) EXPECT_EQ(GetDouble(c, r, 4), n * 1.25) << n;
    if (n == 65) EXPECT_EQ(Memo(c, r), "note 65");
    if (n == 70) {
      PutShort(c, r, 5, 777);
      ASSERT_EQ(EngineModifyRecord(c, r.data(), FALSE), ENGINE_OK);
    }
  }
  EXPECT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_ERR_EOF);
  // Record 70 was written back with every field it had, not only the ones the walk read.
  EngineInitRecord(c, r.data());
  PutText(c, r, 1, Number(70).c_str());
  ASSERT_EQ(EngineSetToKey(c, ENGINE_KEY_EQ, 0, 0, 0, r.data()), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_OK);
  SHORT count = 0;
  EXPECT_EQ(EngineGetField(c, 5, r.data(), &count, nullptr), ENGINE_OK);
  EXPECT_EQ(count, 777);
  EXPECT_EQ(GetText(c, r, 2), Name(70));
  EXPECT_EQ(GetDay(c, r, 3), Day(1, 1, 2000) + 70);
  EXPECT_EQ(GetDouble(c, r, 4), 87.5);
  EXPECT_EQ(Memo(c, r), "note 70");
  EngineCloseCursor(&c);
}

TEST_F(EngineWalkFieldsTest, ABufferTheCallerClearedBetweenStepsStillReadsWhole) {
  // A buffer freed and made again at the same address between two steps is the same
  // buffer to the engine, but it holds zeros, not the fields the walk left unread.
  EngineCursor c = Open("BUYER");
  std::vector<char> r = NewRecord(c);
  ASSERT_EQ(EngineSetToBegin(c), ENGINE_OK);
  for (int n = 0; n < kRecords; ++n) {
    std::fill(r.begin(), r.end(), 0);
    ASSERT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_OK) << n;
    ASSERT_EQ(GetText(c, r, 1), Number(n));
    if (n % 10 == 9) EXPECT_EQ(GetText(c, r, 2), Name(n)) << n;
  }
  EngineCloseCursor(&c);
}

TEST_F(EngineWalkFieldsTest, AWalkSeesAnotherProgramsWriteAtItsNextStep) {
  Child other([this](Child& self) {
    EngineCursor o = Open("BUYER");
    std::vector<char> theirs = NewRecord(o);
    self.Receive();
    PutText(o, theirs, 1, Number(80).c_str());
    bool ok = EngineSetToKey(o, ENGINE_KEY_EQ, 0, 0, 0, theirs.data()) == ENGINE_OK &&
              EngineGetNextRecord(o, 0, theirs.data(), nullptr) == ENGINE_OK;
    PutText(o, theirs, 2, "Renamed");
    ok = ok && EngineModifyRecord(o, theirs.data(), FALSE) == ENGINE_OK;
    EngineInitRecord(o, theirs.data());
    PutText(o, theirs, 1, "F075a");
    ok = ok && EngineInsertRecord(o, 0, theirs.data()) == ENGINE_OK;
    self.Send(ok ? 'W' : 'F');
    self.Receive();
  });
  EngineCursor c = Open("BUYER");
  std::vector<char> r = NewRecord(c);
  ASSERT_EQ(EngineSetToBegin(c), ENGINE_OK);
  std::vector<std::string> seen;
  for (;;) {
    if (EngineGetNextRecord(c, 0, r.data(), nullptr) != ENGINE_OK) break;
    seen.push_back(GetText(c, r, 1));
    if (seen.back() == Number(75)) {
      other.Send('G');
      ASSERT_EQ(other.Receive(), 'W');
    }
    if (seen.back() == Number(80)) EXPECT_EQ(GetText(c, r, 2), "Renamed");
  }
  ASSERT_EQ(seen.size(), size_t(kRecords + 1));
  EXPECT_EQ(seen[76], "F075a");
  other.Send('E');
  EngineCloseCursor(&c);
}

TEST_F(EngineWalkFieldsTest, FieldsReadFromTheCursorAreWholeAndSeeAnotherProgramsWrite) {
  Child other([this](Child& self) {
    EngineCursor o = Open("BUYER");
    std::vector<char> theirs = NewRecord(o);
    self.Receive();
    PutText(o, theirs, 1, Number(80).c_str());
    bool ok = EngineSetToKey(o, ENGINE_KEY_EQ, 0, 0, 0, theirs.data()) == ENGINE_OK &&
              EngineGetNextRecord(o, 0, theirs.data(), nullptr) == ENGINE_OK;
    PutText(o, theirs, 2, "Renamed");
    ok = ok && EngineModifyRecord(o, theirs.data(), FALSE) == ENGINE_OK;
    self.Send(ok ? 'W' : 'F');
    self.Receive();
  });
  EngineCursor c = Open("BUYER");
  char text[64];
  EXPECT_EQ(EngineGetCurrentField(c, 1, text, nullptr), ENGINE_ERR_NOCURRREC);
  ASSERT_EQ(EngineSetToBegin(c), ENGINE_OK);
  int n = 0;
  for (; EngineGetNextRecord(c, 0, nullptr, nullptr) == ENGINE_OK; ++n) {
    ASSERT_EQ(EngineGetCurrentField(c, 1, text, nullptr), ENGINE_OK) << n;
    ASSERT_EQ(std::string(text), Number(n));
    // A field the walk did not decode until now comes whole.
    if (n == 50) {
      ASSERT_EQ(EngineGetCurrentField(c, 2, text, nullptr), ENGINE_OK);
      EXPECT_EQ(std::string(text), "Name 50");
      double amount = 0;
      ASSERT_EQ(EngineGetCurrentField(c, 4, &amount, nullptr), ENGINE_OK);
      EXPECT_EQ(amount, 62.5);
    }
    if (n == 75) {
      other.Send('G');
      ASSERT_EQ(other.Receive(), 'W');
    }
    if (n == 80) {
      ASSERT_EQ(EngineGetCurrentField(c, 2, text, nullptr), ENGINE_OK);
      EXPECT_EQ(std::string(text), "Renamed");
    }
  }
  EXPECT_EQ(n, kRecords);
  EXPECT_EQ(EngineGetCurrentField(c, 43, text, nullptr), ENGINE_ERR_FLDOUTOFRANGE);
  other.Send('E');
  EngineCloseCursor(&c);
}

}  // namespace
