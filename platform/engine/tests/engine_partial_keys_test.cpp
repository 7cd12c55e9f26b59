/*
** Key searches on leading parts of a composite key: ACCOUNT's primary key is FileNum, Type,
** Seq, and callers search on one, two or all three of those fields, equal or at-or-after.
*/
#include "platform/engine/tests/engine_test_support.h"

using namespace enginetest;

namespace {

class EnginePartialKeysTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    TableShape account = AccountShape();
    ASSERT_EQ(EngineCreateTable(db_, 0, account.Desc()), ENGINE_OK);
    cursor_ = Open("ACCOUNT");
    record_ = NewRecord(cursor_);
    struct Entry {
      const char* file;
      const char* type;
      double seq;
    };
    const Entry entries[] = {{"F2", "D", 1}, {"F1", "D", 2},  {"F1", "C", 10},
                             {"F1", "C", 9}, {"F3", "C", -1}, {"F1", "D", 1}};
    for (const Entry& e : entries) {
      EngineInitRecord(cursor_, record_.data());
      PutText(cursor_, record_, 1, e.file);
      PutText(cursor_, record_, 2, e.type);
      PutDouble(cursor_, record_, 3, e.seq);
      ASSERT_EQ(EngineInsertRecord(cursor_, 0, record_.data()), ENGINE_OK);
    }
  }

  /* Searches with the given leading key values and answers the record it reaches. */
  std::string Search(WORD count, DWORD condition, const char* file, const char* type = "",
                     double seq = 0) {
    std::vector<char> key = NewRecord(cursor_);
    PutText(cursor_, key, 1, file);
    if (count == 0 || count >= 2) PutText(cursor_, key, 2, type);
    if (count == 0 || count >= 3) PutDouble(cursor_, key, 3, seq);
    EngineResult result = EngineSetToKey(cursor_, condition, 0, count, 0, key.data());
    if (result != ENGINE_OK) return "error " + std::to_string(result);
    if (EngineGetNextRecord(cursor_, 0, record_.data(), nullptr) != ENGINE_OK) return "end";
    return GetText(cursor_, record_, 1) + "/" + GetText(cursor_, record_, 2) + "/" +
           std::to_string(int(GetDouble(cursor_, record_, 3)));
  }

  EngineCursor cursor_ = nullptr;
  std::vector<char> record_;
};

TEST_F(EnginePartialKeysTest, EqualSearchOnLeadingFieldsFindsTheFirstMatchInKeyOrder) {
  EXPECT_EQ(Search(1, ENGINE_KEY_EQ, "F1"), "F1/C/9");
  EXPECT_EQ(Search(2, ENGINE_KEY_EQ, "F1", "D"), "F1/D/1");
  EXPECT_EQ(Search(3, ENGINE_KEY_EQ, "F1", "C", 10), "F1/C/10");
  EXPECT_EQ(Search(0, ENGINE_KEY_EQ, "F1", "D", 2), "F1/D/2");
  EXPECT_EQ(Search(1, ENGINE_KEY_EQ, "F0"), "error " + std::to_string(ENGINE_ERR_RECNOTFOUND));
  EXPECT_EQ(Search(2, ENGINE_KEY_EQ, "F2", "C"), "error " + std::to_string(ENGINE_ERR_RECNOTFOUND));
  EXPECT_EQ(Search(3, ENGINE_KEY_EQ, "F1", "C", 11),
            "error " + std::to_string(ENGINE_ERR_RECNOTFOUND));
}

TEST_F(EnginePartialKeysTest, AtOrAfterSearchOnLeadingFieldsStartsAtTheNextKey) {
  EXPECT_EQ(Search(1, ENGINE_KEY_GEQ, "F1"), "F1/C/9");
  EXPECT_EQ(Search(1, ENGINE_KEY_GEQ, "F15"), "F2/D/1");
  EXPECT_EQ(Search(2, ENGINE_KEY_GEQ, "F1", "E"), "F2/D/1");
  EXPECT_EQ(Search(2, ENGINE_KEY_GEQ, "F2", "E"), "F3/C/-1");
  EXPECT_EQ(Search(3, ENGINE_KEY_GEQ, "F1", "C", 9.5), "F1/C/10");
  EXPECT_EQ(Search(3, ENGINE_KEY_GEQ, "F3", "C", -5), "F3/C/-1");
  // The walk goes on in key order from the record found.
  ASSERT_EQ(Search(2, ENGINE_KEY_GEQ, "F1", "C"), "F1/C/9");
  ASSERT_EQ(EngineGetNextRecord(cursor_, 0, record_.data(), nullptr), ENGINE_OK);
  EXPECT_DOUBLE_EQ(GetDouble(cursor_, record_, 3), 10.0);
}

}  // namespace
