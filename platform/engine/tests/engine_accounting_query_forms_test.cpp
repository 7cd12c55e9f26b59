/*
** The query forms the accounting commands produce, each answered with the right rows or a
** clean engine error: the reconciliation's section template for each section's type and
** status on the first and the last account, the book template's "2 OR >4", close dates in
** four- and two-digit years with blank dates counted, an empty close date, unpadded dates,
** and file-number literals quoted and unquoted.
*/
#include "platform/engine/tests/engine_test_support.h"

#include <cstdarg>
#include <cstdio>

using namespace enginetest;

namespace {

const char kFileRange[] =
    "ACCOUNT.DB | FileNum | Amount |\r\n           | Check %s | CheckPlus |\r\n";

class EngineAccountingQueryTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(EngineCreateTable(db_, 0, account_.Desc()), ENGINE_OK);
    EngineCursor a = Open("ACCOUNT");
    double seq = 0;
    // Every type and status on banks 0 and 19, each amount naming its row.
    for (SHORT bank : {SHORT(0), SHORT(19)})
      for (const char* type : {"C", "D", "B"})
        for (SHORT status = 0; status <= 7; ++status)
          Add(a, "S", type, ++seq, 100 + status, bank, status, Day(6, 15, 2005),
              bank * 1000 + status * 10 +
                  (type[0] == 'C'   ? 1
                   : type[0] == 'D' ? 2
                                    : 3));
    Add(a, "DATES", "D", ++seq, 0, 5, 6, Day(12, 31, 1999), 1999);
    Add(a, "DATES", "D", ++seq, 0, 5, 6, Day(1, 1, 2000), 2000);
    Add(a, "DATES", "D", ++seq, 0, 5, 6, ENGINE_BLANK_DATE, 1);  // blank: on or before any date
    Add(a, "DATES", "D", ++seq, 0, 6, 6, Day(1, 1, 2005), 10105);
    Add(a, "DATES", "D", ++seq, 0, 6, 6, Day(12, 31, 2005), 123105);
    Add(a, "DATES", "D", ++seq, 0, 6, 6, Day(1, 2, 2006), 10206);
    for (const char* file : {"A", "A,B", "B", "X", "X OR Y", "Y", "Z"})
      Add(a, file, "C", ++seq, 0, 7, 2, 0, 1);
    EngineCloseCursor(&a);
  }
  void Add(EngineCursor c, const char* file, const char* type, double seq, double number,
           SHORT bank, SHORT status, DWORD date, double amount) {
    std::vector<char> r = NewRecord(c);
    PutText(c, r, 1, file);
    PutText(c, r, 2, type);
    PutDouble(c, r, 3, seq);
    PutDouble(c, r, 4, number);
    PutShort(c, r, 5, bank);
    PutShort(c, r, 6, status);
    if (date != 0) PutDay(c, r, 7, date);
    PutText(c, r, 8, file);
    PutDouble(c, r, 10, amount);
    ASSERT_EQ(EngineInsertRecord(c, 0, r.data()), ENGINE_OK);
  }
  /* The answer's values of one field (text or whole number), in answer order. */
  std::vector<std::string> Column(const std::string& text, WORD field,
                                  EngineResult expected = ENGINE_OK) {
    EngineCursor answer = reinterpret_cast<EngineCursor>(1);
    EXPECT_EQ(EngineExecQuery(db_, ENGINE_QUERY_QBE, text.c_str(), &answer), expected) << text;
    std::vector<std::string> values;
    if (expected != ENGINE_OK) {
      EXPECT_EQ(answer, nullptr) << text;
      return values;
    }
    if (!answer) return values;
    EngineCursorProps props{};
    EngineGetCursorProps(answer, &props);
    std::vector<EngineFieldDesc> descs(props.fieldCount);
    EngineGetFieldDescs(answer, descs.data());
    std::vector<char> r(props.recordSize);
    while (EngineGetNextRecord(answer, 0, r.data(), nullptr) == ENGINE_OK) {
      if (descs[field - 1].type == ENGINE_FLD_FLOAT)
        values.push_back(std::to_string(long(GetDouble(answer, r, field))));
      else values.push_back(GetText(answer, r, field));
    }
    EngineCloseCursor(&answer);
    return values;
  }
  TableShape account_ = AccountShape();
};

TEST_F(EngineAccountingQueryTest, EachSectionTemplateAnswersItsTypeStatusAndBankOnly) {
  struct Section {
    char type;
    int status;
    int code;
  };
  const Section sections[] = {{'D', 6, 2}, {'D', 5, 2}, {'C', 6, 1}, {'C', 2, 1}, {'B', 6, 3}};
  for (int bank : {0, 19})
    for (const Section& s : sections) {
      const std::vector<std::string> amounts =
          Column(Format(kSectionQuery, s.type, bank, s.status, "12/31/2005"), 4);
      EXPECT_EQ(amounts,
                (std::vector<std::string>{std::to_string(bank * 1000 + s.status * 10 + s.code)}))
          << s.type << s.status << " bank " << bank;
    }
}

TEST_F(EngineAccountingQueryTest, TheBookTemplateTakesPrintedAndEverythingAbovePosted) {
  for (int bank : {0, 19}) {
    std::vector<std::string> amounts = Column(Format(kBookQuery, bank, "12/31/2005"), 3);
    std::sort(amounts.begin(), amounts.end());
    std::vector<std::string> expected;
    for (int status : {2, 5, 6, 7})
      for (int code : {1, 2, 3})
        expected.push_back(std::to_string(bank * 1000 + status * 10 + code));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(amounts, expected) << "bank " << bank;
  }
}

TEST_F(EngineAccountingQueryTest, CloseDatesInEveryFormTheReportSends) {
  // Two-digit years are 19YY; a blank date counts under "on or before".
  EXPECT_EQ(Column(Format(kSectionQuery, 'D', 5, 6, "12/31/99"), 4),
            (std::vector<std::string>{"1", "1999"}));
  EXPECT_EQ(Column(Format(kSectionQuery, 'D', 5, 6, "12/31/1999"), 4),
            (std::vector<std::string>{"1", "1999"}));
  EXPECT_EQ(Column(Format(kSectionQuery, 'D', 5, 6, "01/01/2000"), 4),
            (std::vector<std::string>{"1", "1999", "2000"}));
  // Unpadded dates equal their padded forms.
  EXPECT_EQ(Column(Format(kSectionQuery, 'D', 6, 6, "1/1/2005"), 4),
            Column(Format(kSectionQuery, 'D', 6, 6, "01/01/2005"), 4));
  EXPECT_EQ(Column(Format(kSectionQuery, 'D', 6, 6, "1/1/2005"), 4),
            (std::vector<std::string>{"10105"}));
  EXPECT_EQ(Column(Format(kSectionQuery, 'D', 6, 6, "12/31/2005"), 4),
            (std::vector<std::string>{"10105", "123105"}));
  EXPECT_EQ(Column(Format(kBookQuery, 6, "12/31/2005"), 3),
            (std::vector<std::string>{"10105", "123105"}));
  // A blank close date leaves "Check <=" without a literal: refused, no answer.
  Column(Format(kSectionQuery, 'D', 6, 6, ""), 4, ENGINE_ERR_QUERYSYNTAX);
  Column(Format(kBookQuery, 6, ""), 3, ENGINE_ERR_QUERYSYNTAX);
}

TEST_F(EngineAccountingQueryTest, FileNumberLiteralsQuotedAndUnquoted) {
  EXPECT_EQ(Column(Format(kFileRange, ">= \"A,B\", <= \"A,B\""), 1),
            (std::vector<std::string>{"A,B"}));
  EXPECT_EQ(Column(Format(kFileRange, ">= \"X OR Y\", <= \"X OR Y\""), 1),
            (std::vector<std::string>{"X OR Y"}));
  EXPECT_EQ(Column(Format(kFileRange, "\"X OR Y\""), 1), (std::vector<std::string>{"X OR Y"}));
  // Unquoted, the same texts split: at ',' into more conditions, at " OR " into choices.
  EXPECT_NE(Column(Format(kFileRange, ">= A,B, <= A,B"), 1), (std::vector<std::string>{"A,B"}));
  EXPECT_EQ(Column(Format(kFileRange, "X OR Y"), 1), (std::vector<std::string>{"X", "Y"}));
  // An empty bound is a syntax error.
  Column(Format(kFileRange, ">= , <= Z"), 1, ENGINE_ERR_QUERYSYNTAX);
}

}  // namespace
