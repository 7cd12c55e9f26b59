/*
** The scanner on its own: token classes and codes, whole-word keywords, comments and
** labels between tokens, line counting, and the lexical errors at their limits.
*/
#include "script/zbasic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Token {
  LONG tokenClass;
  LONG code;
  std::string text;
};

/* Every token up to the end of the text or the first error. */
std::vector<Token> Scan(const char* text, LONG* error = nullptr, LONG* line = nullptr) {
  TZBasic basic(nullptr);
  basic.BeginScan(text);
  std::vector<Token> tokens;
  for (int guard = 0; guard < 1000; ++guard) {
    basic.NextToken();
    if (basic.ErrorCode() != kScriptOk) break;
    tokens.push_back({basic.TokenClass(), basic.KeywordCode(), basic.TokenText()});
    if (basic.KeywordCode() == kKeyEndOfText) break;
  }
  if (error) *error = basic.ErrorCode();
  if (line) *line = basic.LineNumber();
  return tokens;
}

LONG ErrorOf(const char* text) {
  LONG error = 0;
  Scan(text, &error);
  return error;
}

}  // namespace

TEST(ScriptScanner, ClassifiesOperatorsNamesNumbersWordsAndLiterals) {
  std::vector<Token> tokens = Scan("x=a+1 IF >= \"s t\" While1 While .5 y$");
  ASSERT_EQ(tokens.size(), 13u);  // with the end of the text
  EXPECT_EQ(tokens[0].tokenClass, kTokenName);
  EXPECT_EQ(tokens[1].tokenClass, kTokenOperator);
  EXPECT_EQ(tokens[1].text, "=");
  EXPECT_EQ(tokens[4].tokenClass, kTokenNumber);
  EXPECT_EQ(tokens[5].tokenClass, kTokenKeyword);
  EXPECT_EQ(tokens[5].code, kKeyIf);
  EXPECT_EQ(tokens[5].text, "if");
  EXPECT_EQ(tokens[6].tokenClass, kTokenRelational);
  EXPECT_EQ(tokens[6].code, kRelGreaterEqual);
  EXPECT_EQ(tokens[7].tokenClass, kTokenString);
  EXPECT_EQ(tokens[7].text, "s t");
  EXPECT_EQ(tokens[8].tokenClass, kTokenName);
  EXPECT_EQ(tokens[8].text, "While1");
  EXPECT_EQ(tokens[9].code, kKeyWhile);
  EXPECT_EQ(tokens[10].text, ".5");
  EXPECT_EQ(tokens[11].text, "y$");
}

TEST(ScriptScanner, EveryKeywordHasItsCode) {
  const char* words[] = {
      "==",      "!=",      ">",       ">=",       "<",       "<=",     "if",    "else",
      "elseif",  "endif",   "while",   "endwhile", "break",   "goto",   "end",   "copy",
      "print",   "printnz", "outfile", "align",    "verbose", "call",   "upper", "run",
      "rounddn", "round",   "roundup", "append",   "strprev", "strpost"};
  for (int i = 0; i < 30; ++i) {
    std::vector<Token> tokens = Scan(words[i]);
    ASSERT_EQ(tokens.size(), 2u) << words[i];
    EXPECT_EQ(tokens[0].code, i < 15 ? i + 1 : i + 2) << words[i];  // 16 is the end of the text
    EXPECT_EQ(tokens[0].tokenClass, i < 6 ? kTokenRelational : kTokenKeyword) << words[i];
  }
}

TEST(ScriptScanner, KeywordsAreWholeWordsOnly) {
  // endif glued to a comment is the name endif, not the keyword.
  std::vector<Token> tokens = Scan("endif#c# end");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0].tokenClass, kTokenName);
  EXPECT_EQ(tokens[1].code, kKeyEnd);
  tokens = Scan("a>b");
  LONG error = 0;
  Scan("a>b", &error);
  EXPECT_EQ(error, kErrExpectingToken);  // ">" only counts between blanks
}

TEST(ScriptScanner, EndOfTextCommentsAndLabelsBetweenTokens) {
  std::vector<Token> tokens = Scan("");
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].tokenClass, kTokenKeyword);
  EXPECT_EQ(tokens[0].code, kKeyEndOfText);
  tokens = Scan("# note # end");
  EXPECT_EQ(tokens[0].code, kKeyEnd);
  tokens = Scan("# never closed end");
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].code, kKeyEndOfText);
  tokens = Scan(":label x");
  EXPECT_EQ(tokens[0].text, "x");
}

TEST(ScriptScanner, CountsLineFeedsOutsideLiteralsOnly) {
  LONG error = 0, line = 0;
  Scan("x\n# one\ntwo #\n\"a\nb\"\n$", &error, &line);
  EXPECT_EQ(error, kErrExpectingToken);
  EXPECT_EQ(line, 5);  // four line feeds outside the literal
  Scan("\n\n$", &error, &line);
  EXPECT_EQ(line, 3);
}

TEST(ScriptScanner, PushBackRereadsTheSameToken) {
  TZBasic basic(nullptr);
  basic.BeginScan("alpha beta");
  basic.NextToken();
  basic.NextToken();
  EXPECT_STREQ(basic.TokenText(), "beta");
  basic.PushBack();
  EXPECT_EQ(basic.TokenClass(), kTokenNone);
  EXPECT_STREQ(basic.TokenText(), "");
  basic.NextToken();
  EXPECT_STREQ(basic.TokenText(), "beta");
}

TEST(ScriptScanner, LexicalLimits) {
  EXPECT_EQ(ErrorOf("abcdefghijabcdefghijabcdefghij12"), kScriptOk);
  EXPECT_EQ(ErrorOf("abcdefghijabcdefghijabcdefghij123"), kErrVariableTooLong);
  EXPECT_EQ(ErrorOf("1.5"), kScriptOk);
  EXPECT_EQ(ErrorOf("1.5.2"), kErrTwoDecimalPoints);
  EXPECT_EQ(ErrorOf(".5.2"), kErrTwoDecimalPoints);
  EXPECT_EQ(ErrorOf("$x"), kErrExpectingToken);
  EXPECT_EQ(ErrorOf("_x"), kErrExpectingToken);
  EXPECT_EQ(ErrorOf("\"open"), kErrStringTooLong);
  std::string literal = "\"" + std::string(4095, 'q') + "\"";
  std::vector<Token> tokens = Scan(literal.c_str());
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[0].text.size(), 4095u);
  literal = "\"" + std::string(4096, 'q') + "\"";
  EXPECT_EQ(ErrorOf(literal.c_str()), kErrStringTooLong);
}

TEST(ScriptScanner, BackslashKeepsTheQuoteInTheLiteral) {
  std::vector<Token> tokens = Scan("\"a\\\"b\" x");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0].text, "a\\\"b");
  EXPECT_EQ(tokens[1].text, "x");
  const char text[] = "\"a\\\"b\" rest";
  EXPECT_EQ(TZBasic::SkipLiteral(text), text + 6);
}
