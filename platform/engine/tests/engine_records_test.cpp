/*
** Tables, cursors and records: creation, typed fields and blanks, key search, walking in
** primary and secondary order, writes, clones, memos and the failures callers rely on.
*/
#include "platform/engine/tests/engine_test_support.h"

#include <cmath>

using namespace enginetest;

namespace {

class EngineRecordsTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(EngineCreateTable(db_, 0, files_.Desc()), ENGINE_OK);
    cursor_ = Open("BUYER");
    ASSERT_NE(cursor_, nullptr);
    record_ = NewRecord(cursor_);
  }
  void InsertFile(const char* number, const char* name) {
    EngineInitRecord(cursor_, record_.data());
    PutText(cursor_, record_, 1, number);
    PutText(cursor_, record_, 2, name);
    ASSERT_EQ(EngineInsertRecord(cursor_, 0, record_.data()), ENGINE_OK);
  }
  std::vector<std::string> WalkNumbers(EngineCursor cursor) {
    std::vector<std::string> numbers;
    std::vector<char> record = NewRecord(cursor);
    EngineSetToBegin(cursor);
    while (EngineGetNextRecord(cursor, 0, record.data(), nullptr) == ENGINE_OK) {
      numbers.push_back(GetText(cursor, record, 1));
    }
    return numbers;
  }
  EngineResult SeekFile(const char* number, DWORD condition = ENGINE_KEY_EQ) {
    EngineInitRecord(cursor_, record_.data());
    PutText(cursor_, record_, 1, number);
    return EngineSetToKey(cursor_, condition, 0, 0, 0, record_.data());
  }

  TableShape files_ = FileShape();
  EngineCursor cursor_ = nullptr;
  std::vector<char> record_;
};

TEST_F(EngineRecordsTest, DescribesTheTableItMade) {
  EngineCursorProps props{};
  ASSERT_EQ(EngineGetCursorProps(cursor_, &props), ENGINE_OK);
  EXPECT_STREQ(props.name, "BUYER");
  EXPECT_EQ(WORD(props.fieldCount), 7);
  std::vector<EngineFieldDesc> descs(props.fieldCount);
  ASSERT_EQ(EngineGetFieldDescs(cursor_, descs.data()), ENGINE_OK);
  EXPECT_STREQ(descs[0].name, "FileNum");
  EXPECT_EQ(descs[0].length, 16);  // 15 characters and the terminator
  EXPECT_EQ(descs[3].type, ENGINE_FLD_FLOAT);
  EXPECT_EQ(descs[3].subtype, ENGINE_FLDSUB_MONEY);
  EXPECT_EQ(descs[6].subtype, ENGINE_FLDSUB_MEMO);
  for (const EngineFieldDesc& d : descs) {
    EXPECT_LE(d.offset + d.length, WORD(props.recordSize)) << d.name;
    EXPECT_LT(WORD(d.nullOffset), WORD(props.recordSize)) << d.name;
  }
}

TEST_F(EngineRecordsTest, CreateRefusesAnExistingTableUnlessOverwriting) {
  EXPECT_EQ(EngineCreateTable(db_, 0, files_.Desc()), ENGINE_ERR_TABLEEXISTS);
  TableShape other = FileShape("SELLER");
  EXPECT_EQ(EngineCreateTable(db_, 0, other.Desc()), ENGINE_OK);
  EXPECT_EQ(EngineCreateTable(db_, 1, other.Desc()), ENGINE_OK);
}

TEST_F(EngineRecordsTest, RejectsUnusableDescriptors) {
  TableShape badType("BAD", {Str("FileNum", 15), {"Odd", 4, 0, 1}});
  EXPECT_EQ(EngineCreateTable(db_, 0, badType.Desc()), ENGINE_ERR_INVALIDDESC);
  TableShape badKey("BAD2", {Str("FileNum", 15)});
  badKey.Index("", true, false, {2});
  EXPECT_EQ(EngineCreateTable(db_, 0, badKey.Desc()), ENGINE_ERR_INVALIDDESC);
  EngineErrorInfo info{};
  EngineGetErrorInfo(1, &info);
  EXPECT_EQ(info.code, ENGINE_ERR_INVALIDDESC);
  EXPECT_NE(std::string(info.context[0]).find("BAD2"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Path("BAD.DB")));
}

TEST_F(EngineRecordsTest, BlankFieldsAreDistinctFromZero) {
  PutText(cursor_, record_, 1, "F1");
  PutDouble(cursor_, record_, 4, 0.0);
  ASSERT_EQ(EngineInsertRecord(cursor_, 0, record_.data()), ENGINE_OK);
  std::vector<char> read = NewRecord(cursor_);
  ASSERT_EQ(EngineGetRecord(cursor_, 0, read.data(), nullptr), ENGINE_OK);
  DWORD blank = 9;
  double money = -1;
  EXPECT_EQ(EngineGetField(cursor_, 4, read.data(), &money, &blank), ENGINE_OK);
  EXPECT_EQ(blank, 0u);
  EXPECT_EQ(money, 0.0);
  SHORT count = -1;
  EXPECT_EQ(EngineGetField(cursor_, 5, read.data(), &count, &blank), ENGINE_OK);
  EXPECT_EQ(blank, 1u);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(GetDay(cursor_, read, 3), ENGINE_BLANK_DATE);
  EXPECT_EQ(EngineGetField(cursor_, 2, read.data(), nullptr, &blank), ENGINE_OK);
  EXPECT_EQ(blank, 1u);
  EXPECT_EQ(GetText(cursor_, read, 2), "");
}

TEST_F(EngineRecordsTest, TypedValuesRoundTripAndTextIsCutToTheField) {
  PutText(cursor_, record_, 1, "0123456789ABCDEFGHIJ");  // 20 characters into 15
  PutDay(cursor_, record_, 3, 730657);
  PutDouble(cursor_, record_, 4, 1234.56);
  PutShort(cursor_, record_, 5, -7);
  LONG big = 2000000000;
  ASSERT_EQ(EnginePutField(cursor_, 6, record_.data(), &big), ENGINE_OK);
  ASSERT_EQ(EngineInsertRecord(cursor_, 0, record_.data()), ENGINE_OK);
  std::vector<char> read = NewRecord(cursor_);
  EngineSetToBegin(cursor_);
  ASSERT_EQ(EngineGetNextRecord(cursor_, 0, read.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(cursor_, read, 1), "0123456789ABCDE");
  EXPECT_EQ(GetDay(cursor_, read, 3), 730657u);
  EXPECT_EQ(GetDouble(cursor_, read, 4), 1234.56);
  SHORT count = 0;
  EngineGetField(cursor_, 5, read.data(), &count, nullptr);
  EXPECT_EQ(count, -7);
  LONG back = 0;
  EngineGetField(cursor_, 6, read.data(), &back, nullptr);
  EXPECT_EQ(back, 2000000000);
}

TEST_F(EngineRecordsTest, FieldNumbersOutOfRangeAndWrongTypesFail) {
  char text[32];
  EXPECT_EQ(EngineGetField(cursor_, 0, record_.data(), text, nullptr), ENGINE_ERR_FLDOUTOFRANGE);
  EXPECT_EQ(EngineGetField(cursor_, 8, record_.data(), text, nullptr), ENGINE_ERR_FLDOUTOFRANGE);
  EXPECT_EQ(EnginePutField(cursor_, 8, record_.data(), "x"), ENGINE_ERR_FLDOUTOFRANGE);
  EXPECT_EQ(EngineGetField(cursor_, 7, record_.data(), text, nullptr), ENGINE_ERR_INVALIDFLDTYPE);
  EXPECT_EQ(EngineOpenBlob(cursor_, record_.data(), 2, 0), ENGINE_ERR_INVALIDFLDTYPE);
  double nan = std::nan("");
  EXPECT_EQ(EnginePutField(cursor_, 4, record_.data(), &nan), ENGINE_ERR_INVALIDPARAM);
}

TEST_F(EngineRecordsTest, SearchFindsEqualAndAtOrAfterKeys) {
  InsertFile("2001-003", "Carol");
  InsertFile("2001-001", "Alice");
  InsertFile("2001-002", "Bob");
  EXPECT_EQ(WalkNumbers(cursor_), (std::vector<std::string>{"2001-001", "2001-002", "2001-003"}));

  ASSERT_EQ(SeekFile("2001-002"), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(cursor_, 0, record_.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(cursor_, record_, 2), "Bob");

  EXPECT_EQ(SeekFile("2001-0025"), ENGINE_ERR_RECNOTFOUND);
  ASSERT_EQ(SeekFile("2001-0025", ENGINE_KEY_GEQ), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(cursor_, 0, record_.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(cursor_, record_, 2), "Carol");
  EXPECT_EQ(EngineGetNextRecord(cursor_, 0, record_.data(), nullptr), ENGINE_ERR_EOF);
  EXPECT_EQ(SeekFile("2002", ENGINE_KEY_GEQ), ENGINE_ERR_RECNOTFOUND);
}

TEST_F(EngineRecordsTest, WalksBackwardAndReportsBothEnds) {
  InsertFile("A", "1");
  InsertFile("B", "2");
  EngineSetToEnd(cursor_);
  ASSERT_EQ(EngineGetPriorRecord(cursor_, 0, record_.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(cursor_, record_, 1), "B");
  ASSERT_EQ(EngineGetPriorRecord(cursor_, 0, record_.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(cursor_, record_, 1), "A");
  EXPECT_EQ(EngineGetPriorRecord(cursor_, 0, record_.data(), nullptr), ENGINE_ERR_BOF);
  ASSERT_EQ(EngineGetNextRecord(cursor_, 0, record_.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(cursor_, record_, 1), "A");
}

TEST_F(EngineRecordsTest, ModifyMayChangeTheKeyAndDuplicatesAreRefused) {
  InsertFile("A", "first");
  InsertFile("C", "third");
  ASSERT_EQ(SeekFile("A"), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(cursor_, 0, record_.data(), nullptr), ENGINE_OK);
  PutText(cursor_, record_, 1, "B");
  ASSERT_EQ(EngineModifyRecord(cursor_, record_.data(), 0), ENGINE_OK);
  EXPECT_EQ(WalkNumbers(cursor_), (std::vector<std::string>{"B", "C"}));

  ASSERT_EQ(SeekFile("B"), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(cursor_, 0, record_.data(), nullptr), ENGINE_OK);
  PutText(cursor_, record_, 1, "C");
  EXPECT_EQ(EngineModifyRecord(cursor_, record_.data(), 0), ENGINE_ERR_KEYVIOL);
  EXPECT_EQ(EngineInsertRecord(cursor_, 0, record_.data()), ENGINE_ERR_KEYVIOL);
  EXPECT_EQ(WalkNumbers(cursor_), (std::vector<std::string>{"B", "C"}));
}

TEST_F(EngineRecordsTest, AfterDeleteTheNextStepReachesTheFollower) {
  InsertFile("A", "1");
  InsertFile("B", "2");
  InsertFile("C", "3");
  ASSERT_EQ(SeekFile("B"), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(cursor_, 0, nullptr, nullptr), ENGINE_OK);
  ASSERT_EQ(EngineDeleteRecord(cursor_, nullptr), ENGINE_OK);
  EXPECT_EQ(EngineGetRecord(cursor_, 0, record_.data(), nullptr), ENGINE_ERR_NOCURRREC);
  ASSERT_EQ(EngineGetNextRecord(cursor_, 0, record_.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(cursor_, record_, 1), "C");
  EXPECT_EQ(WalkNumbers(cursor_), (std::vector<std::string>{"A", "C"}));
}

TEST_F(EngineRecordsTest, ClonesKeepTheirOwnPositions) {
  InsertFile("A", "1");
  InsertFile("B", "2");
  EngineSetToBegin(cursor_);
  ASSERT_EQ(EngineGetNextRecord(cursor_, 0, nullptr, nullptr), ENGINE_OK);
  EngineCursor clone = nullptr;
  ASSERT_EQ(EngineCloneCursor(cursor_, 0, 0, &clone), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(clone, 0, record_.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(clone, record_, 1), "B");
  ASSERT_EQ(EngineGetRecord(cursor_, 0, record_.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(cursor_, record_, 1), "A");
  ASSERT_EQ(EngineCloseCursor(&clone), ENGINE_OK);
  EXPECT_EQ(clone, nullptr);
  EXPECT_EQ(EngineGetNextRecord(clone, 0, nullptr, nullptr), ENGINE_ERR_INVALIDHANDLE);
}

TEST_F(EngineRecordsTest, ReadOnlyCursorsReadButDoNotWrite) {
  InsertFile("A", "1");
  EngineCursor reader = nullptr;
  ASSERT_EQ(EngineOpenTable(db_, "BUYER", "PARADOX", nullptr, nullptr, 0, ENGINE_OPEN_READONLY, 0,
                            2, 0, nullptr, &reader),
            ENGINE_OK);
  std::vector<char> r = NewRecord(reader);
  ASSERT_EQ(EngineGetNextRecord(reader, 0, r.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(EngineModifyRecord(reader, r.data(), 0), ENGINE_ERR_NOTSUPPORTED);
  EXPECT_EQ(EngineDeleteRecord(reader, nullptr), ENGINE_ERR_NOTSUPPORTED);
  PutText(reader, r, 1, "B");
  EXPECT_EQ(EngineInsertRecord(reader, 0, r.data()), ENGINE_ERR_NOTSUPPORTED);
  EXPECT_EQ(WalkNumbers(cursor_), (std::vector<std::string>{"A"}));
}

TEST_F(EngineRecordsTest, CursorsSeeWritesMadeThroughOthers) {
  InsertFile("A", "old");
  EngineCursor reader = Open("BUYER");
  std::vector<char> seen = NewRecord(reader);
  ASSERT_EQ(EngineGetNextRecord(reader, 0, seen.data(), nullptr), ENGINE_OK);
  ASSERT_EQ(SeekFile("A"), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(cursor_, 0, record_.data(), nullptr), ENGINE_OK);
  PutText(cursor_, record_, 2, "new");
  ASSERT_EQ(EngineModifyRecord(cursor_, record_.data(), 0), ENGINE_OK);
  InsertFile("B", "added");
  ASSERT_EQ(EngineGetRecord(reader, 0, seen.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(reader, seen, 2), "new");
  ASSERT_EQ(EngineGetNextRecord(reader, 0, seen.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(reader, seen, 1), "B");
}

TEST_F(EngineRecordsTest, MemosHoldLongTextAndFollowTheirRecord) {
  std::string text(20000, 'm');
  text[19999] = 'z';
  PutText(cursor_, record_, 1, "F1");
  ASSERT_EQ(EngineOpenBlob(cursor_, record_.data(), 7, 1), ENGINE_OK);
  ASSERT_EQ(EnginePutBlob(cursor_, record_.data(), 7, 0, DWORD(text.size() + 1), text.c_str()),
            ENGINE_OK);
  ASSERT_EQ(EngineInsertRecord(cursor_, 0, record_.data()), ENGINE_OK);
  ASSERT_EQ(EngineModifyRecord(cursor_, record_.data(), 0), ENGINE_OK);
  ASSERT_EQ(EngineFreeBlob(cursor_, record_.data(), 7), ENGINE_OK);

  // A shorter text replaces the whole memo.
  ASSERT_EQ(EngineOpenBlob(cursor_, record_.data(), 7, 1), ENGINE_OK);
  ASSERT_EQ(EnginePutBlob(cursor_, record_.data(), 7, 0, 6, "short"), ENGINE_OK);
  PutText(cursor_, record_, 2, "named");
  ASSERT_EQ(EngineModifyRecord(cursor_, record_.data(), 0), ENGINE_OK);
  ASSERT_EQ(EngineFreeBlob(cursor_, record_.data(), 7), ENGINE_OK);

  // Modifying another field leaves the memo as stored.
  PutText(cursor_, record_, 2, "renamed");
  ASSERT_EQ(EngineModifyRecord(cursor_, record_.data(), 0), ENGINE_OK);

  EngineCursor reader = Open("BUYER");
  std::vector<char> read = NewRecord(reader);
  ASSERT_EQ(EngineGetNextRecord(reader, 0, read.data(), nullptr), ENGINE_OK);
  DWORD size = 0;
  EXPECT_EQ(EngineGetBlobSize(reader, read.data(), 7, &size), ENGINE_ERR_BLOBNOTOPEN);
  ASSERT_EQ(EngineOpenBlob(reader, read.data(), 7, 0), ENGINE_OK);
  ASSERT_EQ(EngineGetBlobSize(reader, read.data(), 7, &size), ENGINE_OK);
  EXPECT_EQ(size, 6u);
  char back[16] = {};
  DWORD count = 0;
  ASSERT_EQ(EngineGetBlob(reader, read.data(), 7, 0, size, back, &count), ENGINE_OK);
  EXPECT_STREQ(back, "short");
  EXPECT_EQ(EngineFreeBlob(reader, read.data(), 7), ENGINE_OK);

  // A long memo survives a copy of its record under another key.
  ASSERT_EQ(EngineOpenBlob(cursor_, record_.data(), 7, 1), ENGINE_OK);
  ASSERT_EQ(EnginePutBlob(cursor_, record_.data(), 7, 0, DWORD(text.size()), text.data()),
            ENGINE_OK);
  ASSERT_EQ(EngineModifyRecord(cursor_, record_.data(), 0), ENGINE_OK);
  EngineFreeBlob(cursor_, record_.data(), 7);
  PutText(cursor_, record_, 1, "F2");
  ASSERT_EQ(EngineInsertRecord(cursor_, 0, record_.data()), ENGINE_OK);
  ASSERT_EQ(EngineOpenBlob(cursor_, record_.data(), 7, 0), ENGINE_OK);
  std::string copy(text.size(), '\0');
  ASSERT_EQ(EngineGetBlob(cursor_, record_.data(), 7, 0, DWORD(copy.size()), copy.data(), &count),
            ENGINE_OK);
  EXPECT_EQ(copy, text);
  EXPECT_EQ(EnginePutBlob(cursor_, record_.data(), 7, 0xFFFFFFF0u, 32, text.data()),
            ENGINE_ERR_INVALIDPARAM);
}

class EngineAccountTest : public EngineTest {};

TEST_F(EngineAccountTest, SecondaryIndexesOrderByTheirFieldThenThePrimaryKey) {
  TableShape account = AccountShape();
  ASSERT_EQ(EngineCreateTable(db_, 0, account.Desc()), ENGINE_OK);
  EngineCursor primary = Open("ACCOUNT");
  std::vector<char> r = NewRecord(primary);
  struct Entry {
    const char* file;
    double seq;
    DWORD day;
  };
  const Entry entries[] = {{"F2", 1, Day(3, 1, 2001)},
                           {"F1", 2, Day(1, 15, 2001)},
                           {"F1", 1, Day(3, 1, 2001)},
                           {"F3", 1, ENGINE_BLANK_DATE}};
  for (const Entry& e : entries) {
    EngineInitRecord(primary, r.data());
    PutText(primary, r, 1, e.file);
    PutText(primary, r, 2, "C");
    PutDouble(primary, r, 3, e.seq);
    PutDay(primary, r, 7, e.day);
    ASSERT_EQ(EngineInsertRecord(primary, 0, r.data()), ENGINE_OK);
  }
  EngineIndexDesc index{};
  ASSERT_EQ(EngineGetIndexForField(primary, 7, 0, &index), ENGINE_OK);
  EXPECT_STREQ(index.name, "AcctDate");
  EXPECT_EQ(WORD(index.caseInsensitive), 1);
  EXPECT_EQ(WORD(index.unique), 0);
  EngineIndexDesc byNumber{};
  ASSERT_EQ(EngineGetIndexForField(primary, 4, 0, &byNumber), ENGINE_OK);
  EXPECT_STREQ(byNumber.name, "AcctNumber");
  EXPECT_NE(WORD(byNumber.indexId), WORD(index.indexId));
  EXPECT_EQ(EngineGetIndexForField(primary, 9, 0, &byNumber), ENGINE_ERR_NOSUCHINDEX);

  EngineCursor byDate = Open("ACCOUNT", index.indexId);
  std::vector<std::string> order;
  while (EngineGetNextRecord(byDate, 0, r.data(), nullptr) == ENGINE_OK) {
    order.push_back(GetText(byDate, r, 1) + "/" + std::to_string(int(GetDouble(byDate, r, 3))));
  }
  // Blank dates first, then by date, equal dates in primary-key order.
  EXPECT_EQ(order, (std::vector<std::string>{"F3/1", "F1/2", "F1/1", "F2/1"}));

  // A search on the date reaches the first entry of that day.
  EngineInitRecord(byDate, r.data());
  PutDay(byDate, r, 7, Day(3, 1, 2001));
  ASSERT_EQ(EngineSetToKey(byDate, ENGINE_KEY_EQ, 0, 1, 0, r.data()), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(byDate, 0, r.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetText(byDate, r, 1), "F1");

  // A search on a leading part of the primary key.
  EngineInitRecord(primary, r.data());
  PutText(primary, r, 1, "F1");
  ASSERT_EQ(EngineSetToKey(primary, ENGINE_KEY_EQ, 0, 1, 0, r.data()), ENGINE_OK);
  ASSERT_EQ(EngineGetNextRecord(primary, 0, r.data(), nullptr), ENGINE_OK);
  EXPECT_EQ(GetDouble(primary, r, 3), 1.0);
  EXPECT_EQ(EngineSetToKey(primary, ENGINE_KEY_EQ, 0, 4, 0, r.data()), ENGINE_ERR_INVALIDPARAM);

  EngineCursor none = nullptr;
  EXPECT_EQ(
      EngineOpenTable(db_, "ACCOUNT", "PARADOX", nullptr, nullptr, 9, 0, 0, 2, 0, nullptr, &none),
      ENGINE_ERR_NOSUCHINDEX);
}

TEST_F(EngineAccountTest, MissingTablesAndBadHandlesGiveErrorsNamingTheProblem) {
  EngineCursor cursor = nullptr;
  EXPECT_EQ(
      EngineOpenTable(db_, "NOSUCH", "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr, &cursor),
      ENGINE_ERR_TABLENOTFOUND);
  EngineErrorInfo info{};
  ASSERT_EQ(EngineGetErrorInfo(1, &info), ENGINE_OK);
  EXPECT_EQ(info.code, ENGINE_ERR_TABLENOTFOUND);
  EXPECT_NE(std::string(info.context[0]).find("NOSUCH.DB"), std::string::npos);
  EXPECT_EQ(EngineSetDirectory(db_, Path("missing").c_str()), ENGINE_ERR_DIRNOTFOUND);
  EXPECT_EQ(EngineSetToBegin(reinterpret_cast<EngineCursor>(&info)), ENGINE_ERR_INVALIDHANDLE);

  char text[128];
  for (EngineResult code :
       {ENGINE_ERR_EOF, ENGINE_ERR_BOF, ENGINE_ERR_RECNOTFOUND, ENGINE_ERR_ALREADYLOCKED,
        ENGINE_ERR_BLOBNOTOPEN, ENGINE_ERR_FLDOUTOFRANGE, ENGINE_ERR_TABLEDAMAGED}) {
    EXPECT_EQ(EngineGetErrorText(code, text), ENGINE_OK) << code;
    EXPECT_GT(std::strlen(text), 5u);
  }
  EXPECT_EQ(EngineGetErrorText(0x7777, text), ENGINE_ERR_INVALIDPARAM);
  EXPECT_EQ(EngineDoIdleWork(), ENGINE_OK);

  char dir[264];
  ASSERT_EQ(EngineGetDirectory(db_, 0, dir), ENGINE_OK);
  EXPECT_EQ(std::string(dir), dir_);
}

}  // namespace

namespace {

class EnginePathsTest : public EngineTest {};

TEST_F(EnginePathsTest, WindowsPathsMapBelowTheRootWhateverTheirCase) {
  const char* saved = std::getenv("ZARNE_ROOT");
  std::string previous = saved ? saved : "";
  ::setenv("ZARNE_ROOT", dir_.c_str(), 1);
  std::filesystem::create_directories(Path("drive_c/Zarne"));
  ASSERT_EQ(EngineSetDirectory(db_, "C:\\ZARNE"), ENGINE_OK);
  TableShape shape = FileShape("BUYER");
  ASSERT_EQ(EngineCreateTable(db_, 0, shape.Desc()), ENGINE_OK);
  EXPECT_TRUE(std::filesystem::exists(Path("drive_c/Zarne/BUYER.DB")));
  EngineCursor cursor = nullptr;
  EXPECT_EQ(EngineOpenTable(db_, "c:\\zarne\\buyer", "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0,
                            nullptr, &cursor),
            ENGINE_OK);
  EXPECT_EQ(EngineOpenTable(db_, "Buyer.db", "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr,
                            &cursor),
            ENGINE_OK);
  EXPECT_EQ(EngineSetDirectory(db_, "C:\\NOWHERE"), ENGINE_ERR_DIRNOTFOUND);
  if (saved) ::setenv("ZARNE_ROOT", previous.c_str(), 1);
  else ::unsetenv("ZARNE_ROOT");
}

}  // namespace
