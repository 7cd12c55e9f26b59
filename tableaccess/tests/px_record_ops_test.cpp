/*
** Record operations of TPXRecord: navigation, key search, post as overwrite-or-insert,
** insert, delete, locks, memo and blob fields, merge, and query answers.
*/
#include "tableaccess/tests/px_test_tables.h"

#include <memory>

using namespace pxtest;

namespace {

class RecordOpsTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    items_ = std::make_unique<TPXTable>("ITEMS", 0);
    ledger_ = std::make_unique<TPXTable>("LEDGER", 0);
  }
  void TearDown() override {
    items_.reset();
    ledger_.reset();
    TablesTest::TearDown();
  }
  void AddItem(const char* file, const char* name) {
    TPXRecord record(items_.get(), true);
    record.SetString(kFileNum, file);
    record.SetString(kName, name);
    ASSERT_TRUE(record.Post());
  }
  /* Seeks a file's ITEMS record into the given record's buffer. */
  static bool Find(TPXRecord& record, const char* file) {
    record.Clear();
    record.SetString(kFileNum, file);
    return record.Seek(1, ENGINE_KEY_EQ) && record.Read(0);
  }

  std::unique_ptr<TPXTable> items_;
  std::unique_ptr<TPXTable> ledger_;
};

}  // namespace

TEST_F(RecordOpsTest, NavigationWalksKeyOrderAndEndsQuietly) {
  TPXRecord record(ledger_.get(), true);
  EXPECT_FALSE(record.First());
  EXPECT_EQ(ENGINE_ERR_EOF, gLastDbResult);
  AddLedger(record, "B", 1, 10);
  AddLedger(record, "A", 2, 20);
  AddLedger(record, "A", 1, 30);
  ASSERT_TRUE(record.First());
  ASSERT_TRUE(record.Read(0));
  EXPECT_EQ("A", Text(record, kLedgerFileNum));
  LONG seq = 0;
  record.GetLong(kLedgerSeq, seq);
  EXPECT_EQ(1, seq);
  ASSERT_TRUE(record.ReadNext(0));
  record.GetLong(kLedgerSeq, seq);
  EXPECT_EQ(2, seq);
  ASSERT_TRUE(record.Next());
  ASSERT_TRUE(record.Read(0));
  EXPECT_EQ("B", Text(record, kLedgerFileNum));
  EXPECT_FALSE(record.Next());
  EXPECT_EQ(ENGINE_ERR_EOF, gLastDbResult);
  EXPECT_FALSE(record.ReadNext(0));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordOpsTest, SeekEqualAndAtOrAfter) {
  TPXRecord record(ledger_.get(), true);
  AddLedger(record, "A", 1, 10);
  AddLedger(record, "C", 5, 50);
  AddLedger(record, "C", 7, 70);

  record.Clear();
  record.SetString(kLedgerFileNum, "C");
  ASSERT_TRUE(record.Seek(1, ENGINE_KEY_EQ));
  ASSERT_TRUE(record.Read(0));
  LONG seq = 0;
  record.GetLong(kLedgerSeq, seq);
  EXPECT_EQ(5, seq);

  record.Clear();
  record.SetString(kLedgerFileNum, "C");
  record.SetLong(kLedgerSeq, 6);
  ASSERT_TRUE(record.Seek(2, ENGINE_KEY_GEQ));
  ASSERT_TRUE(record.Read(0));
  record.GetLong(kLedgerSeq, seq);
  EXPECT_EQ(7, seq);

  record.Clear();
  record.SetString(kLedgerFileNum, "B");
  ASSERT_TRUE(record.Seek(1, ENGINE_KEY_GEQ));
  ASSERT_TRUE(record.Read(0));
  EXPECT_EQ("C", Text(record, kLedgerFileNum));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordOpsTest, SeekOnAbsentKeyAnswersFalseWithoutABox) {
  TPXRecord record(ledger_.get(), true);
  AddLedger(record, "A", 1, 10);
  record.Clear();
  record.SetString(kLedgerFileNum, "Z");
  EXPECT_FALSE(record.Seek(1, ENGINE_KEY_EQ));
  EXPECT_EQ(ENGINE_ERR_RECNOTFOUND, gLastDbResult);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordOpsTest, SeekAtOrAfterPastTheLastRecordIsAnOutcome) {
  TPXRecord record(ledger_.get(), true);
  AddLedger(record, "A", 1, 10);
  record.Clear();
  record.SetString(kLedgerFileNum, "Z");
  EXPECT_FALSE(record.Seek(1, ENGINE_KEY_GEQ));
  EXPECT_TRUE(gLastDbResult == ENGINE_ERR_EOF || gLastDbResult == ENGINE_ERR_RECNOTFOUND)
      << gLastDbResult;
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordOpsTest, PostOverwritesAnExistingKeyAndInsertsANewOne) {
  AddItem("F1", "First");
  TPXRecord record(items_.get(), true);
  record.SetString(kFileNum, "F1");
  record.SetString(kName, "Replaced");
  ASSERT_TRUE(record.Post());
  EXPECT_FALSE(record.IsModified());
  record.Clear();
  record.SetString(kFileNum, "F2");
  record.SetString(kName, "Second");
  ASSERT_TRUE(record.Post());

  TPXRecord reader(items_.get(), true);
  ASSERT_TRUE(Find(reader, "F1"));
  EXPECT_EQ("Replaced", Text(reader, kName));
  ASSERT_TRUE(Find(reader, "F2"));
  EXPECT_EQ("Second", Text(reader, kName));
  int count = 0;
  for (bool more = reader.First(); more; more = reader.Next()) ++count;
  EXPECT_EQ(2, count);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordOpsTest, PostOfAnUnmodifiedRecordWritesNothing) {
  AddItem("F1", "Kept");
  TPXRecord record(items_.get(), true);
  ASSERT_TRUE(Find(record, "F1"));
  /* Change the stored record behind this buffer's back: an unmodified post must not undo it. */
  AddItem("F1", "Changed elsewhere");
  EXPECT_TRUE(record.Post());
  TPXRecord reader(items_.get(), true);
  ASSERT_TRUE(Find(reader, "F1"));
  EXPECT_EQ("Changed elsewhere", Text(reader, kName));
}

TEST_F(RecordOpsTest, InsertOfADuplicateKeyIsReported) {
  AddItem("F1", "First");
  TPXRecord record(items_.get(), true);
  record.SetString(kFileNum, "F1");
  EXPECT_FALSE(record.Insert());
  ASSERT_EQ(2u, Shown().size());
  EXPECT_EQ("Database Error", Shown()[0].caption);
  EXPECT_EQ("Error Context", Shown()[1].caption);
  EXPECT_TRUE(record.IsModified());
}

TEST_F(RecordOpsTest, InsertModifyAndDelete) {
  TPXRecord record(items_.get(), true);
  record.SetString(kFileNum, "F1");
  record.SetString(kName, "Inserted");
  ASSERT_TRUE(record.Insert());
  EXPECT_FALSE(record.IsModified());
  EXPECT_TRUE(record.Modify());  // nothing changed: nothing to write
  record.SetString(kName, "Modified");
  ASSERT_TRUE(record.Modify());
  ASSERT_TRUE(record.Flush());
  TPXRecord reader(items_.get(), true);
  ASSERT_TRUE(Find(reader, "F1"));
  EXPECT_EQ("Modified", Text(reader, kName));
  ASSERT_TRUE(reader.Delete());
  EXPECT_FALSE(Find(reader, "F1"));
  EXPECT_EQ(ENGINE_ERR_RECNOTFOUND, gLastDbResult);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordOpsTest, RecordsSharingTheTableCursorMoveTogether) {
  AddItem("F1", "One");
  AddItem("F2", "Two");
  TPXRecord first(items_.get(), false);
  TPXRecord second(items_.get(), false);
  ASSERT_TRUE(first.First());
  ASSERT_TRUE(second.Next());
  ASSERT_TRUE(first.Read(0));
  EXPECT_EQ("F2", Text(first, kFileNum));
}

TEST_F(RecordOpsTest, LockAndTheAlreadyLockedOutcome) {
  AddItem("F1", "Locked");
  TPXRecord record(items_.get(), true);
  ASSERT_TRUE(Find(record, "F1"));
  ASSERT_TRUE(record.Lock());
  EXPECT_EQ(ENGINE_OK, gLastDbResult);
  DWORD locked = 0;
  ASSERT_EQ(ENGINE_OK, EngineIsRecordLocked(record.Cursor(), &locked));
  EXPECT_NE(0u, locked);

  /* A second record of this program asking for the same lock is told it is held already. */
  TPXRecord other(items_.get(), true);
  ASSERT_TRUE(Find(other, "F1"));
  EXPECT_TRUE(other.Lock());
  EXPECT_EQ(ENGINE_ERR_ALREADYLOCKED, gLastDbResult);

  record.Unlock();
  ASSERT_EQ(ENGINE_OK, EngineIsRecordLocked(record.Cursor(), &locked));
  EXPECT_EQ(0u, locked);
  record.Unlock();  // nothing held: nothing released, no box
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordOpsTest, MemoStoresTextWithItsNulAndPostsAtOnce) {
  TPXRecord record(items_.get(), true);
  record.SetString(kFileNum, "F1");
  ASSERT_TRUE(record.SetString(kNotes, "Line one\x0BLine two"));
  EXPECT_FALSE(record.IsModified());  // the memo setter posted the record

  TPXRecord reader(items_.get(), true);
  ASSERT_TRUE(Find(reader, "F1"));
  EXPECT_EQ(std::strlen("Line one\x0BLine two") + 1, reader.FieldSize(kNotes));
  EXPECT_EQ("Line one\x0BLine two", Text(reader, kNotes));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordOpsTest, BlobFillingTheWholeBufferStaysTerminated) {
  TPXRecord record(items_.get(), true);
  record.SetString(kFileNum, "F1");
  ASSERT_TRUE(record.SetBlob(kRaw, "ABCDEFGH", 8));
  TPXRecord reader(items_.get(), true);
  ASSERT_TRUE(Find(reader, "F1"));
  ASSERT_EQ(8u, reader.FieldSize(kRaw));
  char exact[9];
  std::memset(exact, '#', sizeof exact);
  ASSERT_TRUE(reader.GetString(kRaw, exact, 8));
  EXPECT_STREQ("ABCDEFG", exact);  // the last byte holds the terminator
  EXPECT_EQ('#', exact[8]);
  char roomy[9];
  ASSERT_TRUE(reader.GetString(kRaw, roomy, sizeof roomy));
  EXPECT_STREQ("ABCDEFGH", roomy);
  char tooSmall[4];
  EXPECT_FALSE(reader.GetString(kRaw, tooSmall, sizeof tooSmall));
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ("Target buffer too small", Shown()[0].text);
}

TEST_F(RecordOpsTest, EmptyBlobReadsAsEmptyText) {
  AddItem("F1", "No notes");
  TPXRecord reader(items_.get(), true);
  ASSERT_TRUE(Find(reader, "F1"));
  EXPECT_EQ(0u, reader.FieldSize(kNotes));
  EXPECT_EQ("", Text(reader, kNotes));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordOpsTest, MergeFillsOnlyEmptyFields) {
  TPXRecord source(items_.get(), true);
  source.SetString(kFileNum, "SRC");
  source.SetString(kName, "From source");
  source.SetDouble(kAmount, 99.5);
  source.SetShort(kCount, 3);
  source.SetLong(kTotal, 12);
  source.SetLong(kWhen, 738000);
  ASSERT_TRUE(source.Post());
  ASSERT_TRUE(source.SetString(kNotes, "Source notes"));

  TPXRecord target(items_.get(), true);
  target.SetString(kFileNum, "DST");
  target.SetDouble(kAmount, 1.25);
  ASSERT_TRUE(target.Post());
  ASSERT_TRUE(Find(source, "SRC"));
  ASSERT_TRUE(Find(target, "DST"));

  ASSERT_TRUE(target.Merge(source));
  ASSERT_TRUE(target.Post());
  TPXRecord reader(items_.get(), true);
  ASSERT_TRUE(Find(reader, "DST"));
  EXPECT_EQ("DST", Text(reader, kFileNum));  // not empty: kept
  EXPECT_EQ("From source", Text(reader, kName));
  double amount = 0;
  reader.GetDouble(kAmount, amount);
  EXPECT_DOUBLE_EQ(1.25, amount);  // not empty: kept
  SHORT count = 0;
  reader.GetShort(kCount, count);
  EXPECT_EQ(3, count);
  LONG total = 0, when = 0;
  reader.GetLong(kTotal, total);
  reader.GetLong(kWhen, when);
  EXPECT_EQ(12, total);
  EXPECT_EQ(738000, when);
  EXPECT_EQ("Source notes", Text(reader, kNotes));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordOpsTest, MergeFieldAnswersFalseWhenNothingIsCopied) {
  TPXRecord a(items_.get(), true);
  TPXRecord b(items_.get(), true);
  a.SetString(kName, "Has a name");
  b.SetString(kName, "Other name");
  EXPECT_FALSE(a.MergeField(kName, b));
  EXPECT_EQ("Has a name", Text(a, kName));
  EXPECT_FALSE(a.MergeField(kRatio, b));  // both empty
  EXPECT_FALSE(a.MergeField(0, b));
  ASSERT_EQ(1u, Shown().size());
}

TEST_F(RecordOpsTest, MergeOfRecordsOfDifferentTablesChangesNothing) {
  TPXRecord item(items_.get(), true);
  TPXRecord entry(ledger_.get(), true);
  entry.SetString(kLedgerFileNum, "L");
  EXPECT_FALSE(item.Merge(entry));
  EXPECT_EQ("", Text(item, kFileNum));
}

TEST_F(RecordOpsTest, QueryAnswerIsATableWithoutName) {
  TPXRecord record(ledger_.get(), true);
  AddLedger(record, "A", 1, 10);
  AddLedger(record, "B", 1, 20);
  std::unique_ptr<TPXTable> answer(
      ledger_->QueryQBE("LEDGER.DB | FileNum | Seq   | Amount    |\r\n"
                        "          | Check B | Check | CheckPlus |\r\n"));
  ASSERT_NE(nullptr, answer);
  EXPECT_EQ(nullptr, answer->Name());
  TPXRecord row(answer.get(), false);
  ASSERT_TRUE(row.First());
  ASSERT_TRUE(row.Read(0));
  EXPECT_EQ("B", Text(row, 1));
  EXPECT_FALSE(row.Next());
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordOpsTest, FailedQueryIsReportedAndGivesNoTable) {
  EXPECT_EQ(nullptr, ledger_->QueryQBE("NOT A QUERY"));
  ASSERT_EQ(2u, Shown().size());
  EXPECT_EQ("Database Error", Shown()[0].caption);
}

TEST_F(RecordOpsTest, FailedOpenLeavesAnEmptyTableAndReports) {
  TPXTable missing("NOSUCH", 0);
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_EQ(nullptr, missing.Name());
  EXPECT_EQ(0, missing.FieldCount());
  ASSERT_EQ(2u, Shown().size());
  EXPECT_EQ("Database Error", Shown()[0].caption);
  EXPECT_EQ("Error Context", Shown()[1].caption);
  EXPECT_NE(0, gLastDbResult);
}

TEST_F(RecordOpsTest, IndexForFieldOfThePrimaryKey) {
  EXPECT_EQ(0, items_->IndexForField(kFileNum));
  EXPECT_TRUE(Shown().empty());
}
