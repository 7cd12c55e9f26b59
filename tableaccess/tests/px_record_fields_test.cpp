/*
** Typed field access of TPXRecord: getters and setters by field number across the field
** types, blank numbers and dates, "%.0lf" conversions, field-number checks and the messages
** for fields of the wrong type.
*/
#include "tableaccess/tests/px_test_tables.h"

using namespace pxtest;

namespace {

class RecordFieldsTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    table_ = new TPXTable("ITEMS", 0);
    record_ = new TPXRecord(table_, true);
  }
  void TearDown() override {
    delete record_;
    delete table_;
    TablesTest::TearDown();
  }
  /* Stores the buffer as file "F1" and reads it back into a fresh buffer. */
  void StoreAndReload() {
    ASSERT_TRUE(record_->Post());
    record_->Clear();
    record_->SetString(kFileNum, "F1");
    ASSERT_TRUE(record_->Seek(1, ENGINE_KEY_EQ));
    ASSERT_TRUE(record_->Read(0));
  }

  TPXTable* table_ = nullptr;
  TPXRecord* record_ = nullptr;
};

}  // namespace

TEST_F(RecordFieldsTest, TableDescribesItsFields) {
  EXPECT_TRUE(table_->IsOpen());
  EXPECT_EQ(kItemFieldCount, table_->FieldCount());
  EXPECT_STREQ("ITEMS", table_->Name());
  EXPECT_EQ(ENGINE_FLD_BLOB, table_->FieldDesc(kNotes)->type);
  EXPECT_EQ(nullptr, table_->FieldDesc(0));
  EXPECT_EQ(nullptr, table_->FieldDesc(kItemFieldCount + 1));
}

TEST_F(RecordFieldsTest, ValuesOfEveryTypeSurviveAPost) {
  ASSERT_TRUE(record_->SetString(kFileNum, "F1"));
  ASSERT_TRUE(record_->SetString(kName, "Ann Smith"));
  ASSERT_TRUE(record_->SetDouble(kAmount, 1234.56));
  ASSERT_TRUE(record_->SetShort(kCount, -7));
  ASSERT_TRUE(record_->SetLong(kTotal, 70000));
  ASSERT_TRUE(record_->SetLong(kWhen, 730120));
  ASSERT_TRUE(record_->SetDouble(kRatio, 0.125));
  StoreAndReload();
  EXPECT_EQ("Ann Smith", Text(*record_, kName));
  double amount = 0, ratio = 0;
  SHORT count = 0;
  LONG total = 0, when = 0;
  EXPECT_TRUE(record_->GetDouble(kAmount, amount));
  EXPECT_DOUBLE_EQ(1234.56, amount);
  EXPECT_TRUE(record_->GetShort(kCount, count));
  EXPECT_EQ(-7, count);
  EXPECT_TRUE(record_->GetLong(kTotal, total));
  EXPECT_EQ(70000, total);
  EXPECT_TRUE(record_->GetLong(kWhen, when));
  EXPECT_EQ(730120, when);
  EXPECT_TRUE(record_->GetDouble(kRatio, ratio));
  EXPECT_DOUBLE_EQ(0.125, ratio);
  EXPECT_FALSE(record_->IsModified());
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordFieldsTest, WholeNumbersWidenAndNarrow) {
  record_->SetLong(kTotal, 0x12345);
  record_->SetShort(kCount, -2);
  SHORT low = 0;
  LONG widened = 0;
  double asDouble = 0;
  EXPECT_TRUE(record_->GetShort(kTotal, low));
  EXPECT_EQ(0x2345, low);
  EXPECT_TRUE(record_->GetLong(kCount, widened));
  EXPECT_EQ(-2, widened);
  EXPECT_TRUE(record_->GetDouble(kCount, asDouble));
  EXPECT_DOUBLE_EQ(-2.0, asDouble);
  record_->SetShort(kTotal, -3);
  EXPECT_TRUE(record_->GetLong(kTotal, widened));
  EXPECT_EQ(-3, widened);
  record_->SetLong(kCount, 0x10005);
  EXPECT_TRUE(record_->GetShort(kCount, low));
  EXPECT_EQ(5, low);
}

TEST_F(RecordFieldsTest, FloatToWholeGoesThroughItsPrintedText) {
  LONG whole = 0;
  SHORT shortWhole = 0;
  record_->SetDouble(kAmount, 2.5);
  EXPECT_TRUE(record_->GetLong(kAmount, whole));
  EXPECT_EQ(2, whole);  // "%.0lf" of 2.5 is "2": no rounding of our own
  record_->SetDouble(kAmount, 3.5);
  EXPECT_TRUE(record_->GetLong(kAmount, whole));
  EXPECT_EQ(4, whole);
  record_->SetDouble(kAmount, 65537.4);
  EXPECT_TRUE(record_->GetShort(kAmount, shortWhole));
  EXPECT_EQ(1, shortWhole);
  record_->SetDouble(kAmount, 1e30);  // beyond 32 bits: held at the largest value
  EXPECT_TRUE(record_->GetLong(kAmount, whole));
  EXPECT_EQ(INT32_MAX, whole);
  record_->SetDouble(kTotal, 99.7);
  EXPECT_TRUE(record_->GetLong(kTotal, whole));
  EXPECT_EQ(100, whole);
  record_->SetLong(kAmount, 41);
  double value = 0;
  EXPECT_TRUE(record_->GetDouble(kAmount, value));
  EXPECT_DOUBLE_EQ(41.0, value);
}

TEST_F(RecordFieldsTest, BlankMoneyReadsZeroAndIsWrittenBack) {
  record_->SetString(kFileNum, "F1");
  StoreAndReload();
  EXPECT_FALSE(record_->IsModified());
  double amount = -1;
  EXPECT_TRUE(record_->GetDouble(kAmount, amount));
  EXPECT_DOUBLE_EQ(0.0, amount);
  EXPECT_TRUE(record_->IsModified());
  /* Posting now stores 0.00: the field is no longer blank. */
  StoreAndReload();
  double stored = -1;
  EXPECT_TRUE(record_->GetDouble(kAmount, stored));
  EXPECT_FALSE(record_->IsModified());
  EXPECT_DOUBLE_EQ(0.0, stored);
}

TEST_F(RecordFieldsTest, BlankWholeNumbersReadZeroAndMarkModified) {
  record_->SetString(kFileNum, "F1");
  StoreAndReload();
  SHORT count = -1;
  EXPECT_TRUE(record_->GetShort(kCount, count));
  EXPECT_EQ(0, count);
  EXPECT_TRUE(record_->IsModified());
  StoreAndReload();
  LONG total = -1;
  EXPECT_TRUE(record_->GetLong(kTotal, total));
  EXPECT_EQ(0, total);
  EXPECT_TRUE(record_->IsModified());
}

TEST_F(RecordFieldsTest, BlankDateStaysBlankAndUnmodified) {
  record_->SetString(kFileNum, "F1");
  StoreAndReload();
  LONG when = 0;
  EXPECT_TRUE(record_->GetLong(kWhen, when));
  EXPECT_EQ(static_cast<LONG>(0x80000000u), when);
  EXPECT_FALSE(record_->IsModified());
  record_->SetLong(kWhen, 738000);
  record_->SetLong(kWhen, static_cast<LONG>(0x80000000u));
  StoreAndReload();
  EXPECT_TRUE(record_->GetLong(kWhen, when));
  EXPECT_EQ(static_cast<LONG>(0x80000000u), when);
}

TEST_F(RecordFieldsTest, BlankStringReadsEmpty) {
  record_->SetString(kFileNum, "F1");
  StoreAndReload();
  EXPECT_EQ("", Text(*record_, kName));
  EXPECT_FALSE(record_->IsModified());
}

TEST_F(RecordFieldsTest, FieldNumbersOutOfRangeShowTheEngineMessage) {
  char expected[128] = {};
  EngineGetErrorText(0x2701, expected);
  char text[64];
  double value = 0;
  LONG whole = 0;
  SHORT small = 0;
  EXPECT_FALSE(record_->GetString(0, text, sizeof text));
  EXPECT_FALSE(record_->GetDouble(kItemFieldCount + 1, value));
  EXPECT_FALSE(record_->GetLong(0, whole));
  EXPECT_FALSE(record_->GetShort(kItemFieldCount + 1, small));
  EXPECT_FALSE(record_->SetString(0, "x"));
  EXPECT_FALSE(record_->SetDouble(kItemFieldCount + 1, 1.0));
  EXPECT_FALSE(record_->SetLong(0, 1));
  EXPECT_FALSE(record_->SetShort(-1, 1));
  EXPECT_FALSE(record_->SetBlob(kItemFieldCount + 1, "x", 1));
  EXPECT_EQ(0u, record_->FieldSize(0));
  ASSERT_EQ(10u, Shown().size());
  for (const MessageBoxRequest& box : Shown()) {
    EXPECT_EQ("Database Error", box.caption);
    EXPECT_EQ(std::string(expected), box.text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), box.type & MB_ICONMASK);
  }
  EXPECT_EQ(0x2701, gLastDbResult);
}

TEST_F(RecordFieldsTest, WrongFieldTypesShowTheirMessages) {
  char text[64];
  double value = 0;
  LONG whole = 0;
  SHORT small = 0;
  EXPECT_FALSE(record_->GetDouble(kName, value));
  EXPECT_FALSE(record_->GetDouble(kWhen, value));
  EXPECT_FALSE(record_->GetLong(kName, whole));
  EXPECT_FALSE(record_->GetShort(kWhen, small));
  EXPECT_FALSE(record_->GetString(kAmount, text, sizeof text));
  EXPECT_FALSE(record_->SetDouble(kWhen, 1.0));
  EXPECT_FALSE(record_->SetLong(kName, 1));
  EXPECT_FALSE(record_->SetShort(kNotes, 1));
  EXPECT_FALSE(record_->SetString(kAmount, "1"));
  EXPECT_FALSE(record_->SetString(kRaw, "not a memo"));
  EXPECT_FALSE(record_->SetBlob(kName, "x", 1));
  std::vector<std::string> texts;
  for (const MessageBoxRequest& box : Shown()) {
    EXPECT_EQ("Database Error", box.caption);
    texts.push_back(box.text);
  }
  std::vector<std::string> expected = {"Fiel not valid for DFLOAT",
                                       "Fiel not valid for DFLOAT",
                                       "Field not valid for INT32",
                                       "Field not valid for UINT16",
                                       "Invalid type",
                                       "Field not valid for DFLOAT",
                                       "Field not valid for UINT32/DBIDATE",
                                       "Field not valid for UINT16",
                                       "Not a valid field for a string",
                                       "Not a valid field for a string",
                                       "Not a valid field for blob data"};
  EXPECT_EQ(expected, texts);
}

TEST_F(RecordFieldsTest, SettersMarkModifiedEvenWhenRefused) {
  record_->SetString(kFileNum, "F1");
  StoreAndReload();
  EXPECT_FALSE(record_->IsModified());
  record_->SetDouble(kWhen, 1.0);
  EXPECT_TRUE(record_->IsModified());
  record_->Clear();
  EXPECT_FALSE(record_->IsModified());
  record_->SetShort(0, 1);
  EXPECT_TRUE(record_->IsModified());
  record_->Clear();
  record_->SetString(0, "x");  // the text setters check the number first
  EXPECT_FALSE(record_->IsModified());
}

TEST_F(RecordFieldsTest, StringBufferTooSmallIsRefused) {
  char small[4];
  record_->SetString(kName, "Long enough");
  EXPECT_FALSE(record_->GetString(kName, small, sizeof small));
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ("Target buffer too small", Shown()[0].text);
  EXPECT_EQ(table_->FieldDesc(kName)->length, record_->FieldSize(kName));
}
