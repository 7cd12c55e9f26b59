/*
** Query by example: the reconciliation, book-balance and 1099 query texts answer the right
** rows in the right order, and malformed texts give engine errors.
*/
#include "platform/engine/tests/engine_test_support.h"

#include <cstdarg>
#include <cstdio>
#include <random>

using namespace enginetest;

namespace {

const char kByDates[] =
    "SUMMARY1.DB | FileNum | CDATE |\r\n            | Check   | >= %s, <= %s |\r\n";
const char kByFiles[] = "SUMMARY1.DB | FileNum |\r\n            | Check >= %s, <= %s |\r\n";

class EngineQueryTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(EngineCreateTable(db_, 0, account_.Desc()), ENGINE_OK);
    ASSERT_EQ(EngineCreateTable(db_, 0, summary_.Desc()), ENGINE_OK);
    EngineCursor a = Open("ACCOUNT");
    // file, type, seq, number, bank, status, date, payee, amount
    AddEntry(a, "F1", "C", 1, 1002, 1, 2, Day(3, 5, 2001), "Zed Title", 300.00);
    AddEntry(a, "F1", "C", 2, 1001, 1, 2, Day(3, 9, 2001), "Acme Bank", 150.25);
    AddEntry(a, "F2", "C", 1, 1001, 1, 2, Day(3, 2, 2001), "Acme Bank", 99.00);
    AddEntry(a, "F2", "C", 2, 1003, 1, 2, ENGINE_BLANK_DATE, "Undated", 10.00);
    AddEntry(a, "F3", "C", 1, 1004, 1, 2, Day(4, 1, 2001), "Too Late", 5.00);
    AddEntry(a, "F3", "C", 2, 1005, 2, 2, Day(3, 1, 2001), "Other Bank", 7.00);
    AddEntry(a, "F3", "C", 3, 1006, 1, 5, Day(3, 1, 2001), "Posted", 8.00);
    AddEntry(a, "F4", "D", 1, 0, 1, 2, Day(3, 3, 2001), "Deposit", 1000.00);
    AddEntry(a, "F4", "C", 2, 1002, 1, 2, Day(3, 5, 2001), "Zed Title", 300.00);  // twin
    AddEntry(a, "F4", "C", 3, 1007, 1, 3, Day(3, 4, 2001), "Unposted", 1.00);
    AddEntry(a, "F4", "A", 4, 0, 1, 7, Day(2, 1, 2001), "Balanced", 2.00);
    AddEntry(a, "F5", "C", 1, 1008, 1, 4, Day(3, 4, 2001), "Void", 3.00);
    AddEntry(a, "F5", "D", 2, 0, 1, 6, Day(12, 31, 1999), "Old", 4.00);
    EngineCloseCursor(&a);

    EngineCursor s = Open("SUMMARY1");
    AddClosing(s, "2001-010", Day(6, 21, 2001), 1000);
    AddClosing(s, "2001-002", Day(1, 5, 2001), 2000);
    AddClosing(s, "2000-077", Day(12, 30, 2000), 3000);
    AddClosing(s, "2001-005", Day(12, 31, 2001), 4000);
    AddClosing(s, "2002-001", Day(1, 1, 2002), 5000);
    AddClosing(s, "1999-100", ENGINE_BLANK_DATE, 6000);
    EngineCloseCursor(&s);
  }

  void AddEntry(EngineCursor c, const char* file, const char* type, double seq, double number,
                SHORT bank, SHORT status, DWORD date, const char* payee, double amount) {
    std::vector<char> r = NewRecord(c);
    PutText(c, r, 1, file);
    PutText(c, r, 2, type);
    PutDouble(c, r, 3, seq);
    PutDouble(c, r, 4, number);
    PutShort(c, r, 5, bank);
    PutShort(c, r, 6, status);
    PutDay(c, r, 7, date);
    PutText(c, r, 8, payee);
    PutDouble(c, r, 10, amount);
    ASSERT_EQ(EngineInsertRecord(c, 0, r.data()), ENGINE_OK);
  }
  void AddClosing(EngineCursor c, const char* file, DWORD date, double amount) {
    std::vector<char> r = NewRecord(c);
    PutText(c, r, 1, file);
    PutDay(c, r, 2, date);
    PutDouble(c, r, 3, amount);
    ASSERT_EQ(EngineInsertRecord(c, 0, r.data()), ENGINE_OK);
  }

  /* The answer's rows, each as its fields joined by ';' (dates as M/D/Y). */
  std::vector<std::string> Answer(const std::string& text) {
    EngineCursor answer = nullptr;
    EXPECT_EQ(EngineExecQuery(db_, ENGINE_QUERY_QBE, text.c_str(), &answer), ENGINE_OK) << text;
    std::vector<std::string> rows;
    if (!answer) return rows;
    EngineCursorProps props{};
    EngineGetCursorProps(answer, &props);
    std::vector<EngineFieldDesc> descs(props.fieldCount);
    EngineGetFieldDescs(answer, descs.data());
    std::vector<char> r(props.recordSize);
    while (EngineGetNextRecord(answer, 0, r.data(), nullptr) == ENGINE_OK) {
      std::string row;
      for (WORD f = 1; f <= props.fieldCount; ++f) {
        if (f > 1) row += ";";
        row += FieldText(answer, r, f, descs[f - 1].type);
      }
      rows.push_back(row);
    }
    EXPECT_EQ(EngineCloseCursor(&answer), ENGINE_OK);
    return rows;
  }
  static std::string FieldText(EngineCursor c, const std::vector<char>& r, WORD f, WORD type) {
    char text[128] = {};
    if (type == ENGINE_FLD_DATE) {
      DWORD day = GetDay(c, r, f);
      WORD m, d;
      SHORT y;
      if (EngineDecodeDate(day, &m, &d, &y) != ENGINE_OK) return "blank";
      std::snprintf(text, sizeof text, "%d/%d/%d", m, d, y);
      return text;
    }
    if (type == ENGINE_FLD_FLOAT) {
      std::snprintf(text, sizeof text, "%.2f", GetDouble(c, r, f));
      return text;
    }
    return GetText(c, r, f);
  }
  TableShape account_ = AccountShape();
  TableShape summary_ = [] {
    TableShape shape("SUMMARY1", {Str("FileNum", 15), Date("CDATE"), Money("A101")});
    shape.Index("", true, false, {1});
    return shape;
  }();
};

TEST_F(EngineQueryTest, ReconciliationSectionKeepsDuplicatesInNumberThenDateOrder) {
  std::vector<std::string> rows = Answer(Format(kSectionQuery, 'C', 1, 2, "03/31/2001"));
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "1001.00;3/2/2001;Acme Bank;99.00", "1001.00;3/9/2001;Acme Bank;150.25",
                      "1002.00;3/5/2001;Zed Title;300.00", "1002.00;3/5/2001;Zed Title;300.00",
                      "1003.00;blank;Undated;10.00",  // a blank date counts as on or before
                  }));
  // Deposits of the same bank and status; a two-digit year is 19YY.
  EXPECT_EQ(Answer(Format(kSectionQuery, 'D', 1, 2, "3/31/2001")),
            (std::vector<std::string>{"0.00;3/3/2001;Deposit;1000.00"}));
  EXPECT_EQ(Answer(Format(kSectionQuery, 'D', 1, 6, "12/31/99")),
            (std::vector<std::string>{"0.00;12/31/1999;Old;4.00"}));
  EXPECT_TRUE(Answer(Format(kSectionQuery, 'D', 1, 6, "12/30/99")).empty());
}

TEST_F(EngineQueryTest, BookBalanceQuerySelectsPrintedAndPostedStatusesInDateOrder) {
  std::vector<std::string> rows = Answer(Format(kBookQuery, 1, "03/31/2001"));
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "C;blank;10.00",
                      "D;12/31/1999;4.00",
                      "A;2/1/2001;2.00",
                      "C;3/1/2001;8.00",
                      "C;3/2/2001;99.00",
                      "D;3/3/2001;1000.00",
                      "C;3/5/2001;300.00",
                      "C;3/5/2001;300.00",
                      "C;3/9/2001;150.25",
                  }));
}

TEST_F(EngineQueryTest, ExportQueriesGiveEachFileNumberOnceInOrder) {
  EXPECT_EQ(Answer(Format(kByDates, "01/01/2001", "12/31/2001")),
            (std::vector<std::string>{"2001-002", "2001-005", "2001-010"}));
  EXPECT_EQ(Answer(Format(kByFiles, "2000-000", "2001-005")),
            (std::vector<std::string>{"2000-077", "2001-002", "2001-005"}));
}

TEST_F(EngineQueryTest, AnswersAreTemporaryTablesInThePrivateDirectory) {
  EngineCursor first = nullptr, second = nullptr;
  std::string text = Format(kByFiles, "2000", "2002");
  ASSERT_EQ(EngineExecQuery(db_, 1, text.c_str(), &first), ENGINE_OK);
  ASSERT_EQ(EngineExecQuery(db_, 1, text.c_str(), &second), ENGINE_OK);
  auto answers = [this] {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Path("private"))) {
      count += entry.path().extension() == ".DB";
    }
    return count;
  };
  EXPECT_EQ(answers(), 2);
  EngineCursorProps props{};
  ASSERT_EQ(EngineGetCursorProps(first, &props), ENGINE_OK);
  EXPECT_STREQ(props.name, "ANSWER");
  EXPECT_EQ(WORD(props.fieldCount), 1);
  EngineCloseCursor(&first);
  EngineCloseCursor(&second);
  EXPECT_EQ(answers(), 0);
}

TEST_F(EngineQueryTest, MalformedQueriesGiveEngineErrors) {
  struct Case {
    const char* text;
    EngineResult code;
  };
  const Case cases[] = {
      {"", ENGINE_ERR_QUERYSYNTAX},
      {"garbage", ENGINE_ERR_QUERYSYNTAX},
      {"ACCOUNT.DB | Type |\r\n | C |\r\n", ENGINE_ERR_QUERYSYNTAX},  // nothing checked
      {"ACCOUNT.DB | Nothing |\r\n | Check |\r\n", ENGINE_ERR_QUERYFIELD},
      {"NOTABLE.DB | Type |\r\n | Check |\r\n", ENGINE_ERR_TABLENOTFOUND},
      {"ACCOUNT.DB | Date |\r\n | Check <= |\r\n", ENGINE_ERR_QUERYSYNTAX},
      {"ACCOUNT.DB | Date |\r\n | Check <=13/45/2001 |\r\n", ENGINE_ERR_QUERYSYNTAX},
      {"ACCOUNT.DB | Bank |\r\n | Check >abc |\r\n", ENGINE_ERR_QUERYSYNTAX},
      {"ACCOUNT.DB | Type |\r\n | Checkmate |\r\n", ENGINE_ERR_QUERYSYNTAX},
      {"ACCOUNT.DB | Type |\r\n | Check | extra |\r\n", ENGINE_ERR_QUERYSYNTAX},
      {"ACCOUNT.DB | Type |\r\n Delete | Check |\r\n", ENGINE_ERR_QUERYSYNTAX},
      {"SORT: ACCOUNT.DB Date\r\nACCOUNT.DB | Type |\r\n | Check |\r\n", ENGINE_ERR_QUERYSYNTAX},
      {"SORT: ACCOUNT.DB->\"Nope\"\r\nACCOUNT.DB | Type |\r\n | Check |\r\n",
       ENGINE_ERR_QUERYFIELD},
      {"ACCOUNT.DB | Type |\r\n | Check \"unclosed |\r\n", ENGINE_ERR_QUERYSYNTAX},
      {"ACCOUNT.DB | Type |\r\n | Check |\r\n | Check |\r\n", ENGINE_ERR_QUERYSYNTAX},
  };
  for (const Case& c : cases) {
    EngineCursor answer = reinterpret_cast<EngineCursor>(1);
    EXPECT_EQ(EngineExecQuery(db_, 1, c.text, &answer), c.code) << c.text;
    EXPECT_EQ(answer, nullptr) << c.text;
  }
  EngineCursor answer = nullptr;
  EXPECT_EQ(EngineExecQuery(db_, 2, "ACCOUNT.DB | Type |\r\n | Check |", &answer),
            ENGINE_ERR_NOTSUPPORTED);
  EXPECT_EQ(EngineExecQuery(db_, 1, nullptr, &answer), ENGINE_ERR_INVALIDPARAM);
}

TEST_F(EngineQueryTest, MangledQueryTextsNeverCrash) {
  const std::string base = Format(kSectionQuery, 'C', 1, 2, "03/31/2001");
  const char pieces[] = "|,\"<>=/ \r\nORCheckPlus->SORT:0123456789ACCOUNT.DB";
  std::mt19937 random(42);
  int answered = 0;
  for (int round = 0; round < 400; ++round) {
    std::string text = base;
    int edits = 1 + int(random() % 6);
    for (int e = 0; e < edits; ++e) {
      size_t at = random() % (text.size() + 1);
      switch (random() % 3) {
        case 0: text.insert(at, 1, pieces[random() % (sizeof pieces - 1)]); break;
        case 1:
          if (at < text.size()) text.erase(at, 1 + random() % 8);
          break;
        default:
          if (at < text.size()) text[at] = pieces[random() % (sizeof pieces - 1)];
      }
    }
    EngineCursor answer = nullptr;
    EngineResult result = EngineExecQuery(db_, 1, text.c_str(), &answer);
    if (result == ENGINE_OK) {
      ASSERT_NE(answer, nullptr) << text;
      ++answered;
      EngineCloseCursor(&answer);
    } else {
      EXPECT_EQ(answer, nullptr) << text;
      EngineErrorInfo info{};
      EngineGetErrorInfo(1, &info);
      EXPECT_EQ(info.code, result) << text;
    }
  }
  EXPECT_GT(answered, 0);  // some mangled texts still make sense
}

}  // namespace
