// Windows-1252 conversions, case mapping, the string calls and the collation.
#include "platform/kernel/string_calls.h"
#include "platform/kernel/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(TextConversionTest, EveryByteSurvivesTheRoundTrips) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(Utf16ToCp1252(Cp1252ToUtf16(all)), all);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(TextConversionTest, HighCharactersMapToTheirCodePoints) {
  EXPECT_EQ(Cp1252ToUtf16("\x80\x93\xE9"), u"\u20AC\u201C\u00E9");
  EXPECT_EQ(Cp1252ToUtf8("\x80 \xA9"), "\xE2\x82\xAC \xC2\xA9");
  EXPECT_EQ(Utf8ToCp1252("\xE2\x80\x94\xC3\xBF"), "\x97\xFF");
  EXPECT_EQ(Utf16ToCp1252(u"\u0152\u2122"), "\x8C\x99");
}

TEST(TextConversionTest, UnmappableAndMalformedInputBecomesQuestionMarks) {
  EXPECT_EQ(Utf16ToCp1252(u"a\u4E2Db"), "a?b");
  EXPECT_EQ(Utf16ToCp1252(u"\U0001F600"), "?");
  EXPECT_EQ(Utf16ToCp1252(std::u16string(1, char16_t(0xD800)) + u"x"), "?x");
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");
  EXPECT_EQ(Utf8ToCp1252("\xFF\xC0\x80z"), "???z");
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");
}

TEST(CaseMappingTest, StringAndSingleCharacterForms) {
  char text[] = "abc \xE9\xF7\xFF\x9A\xDF xyz";
  EXPECT_EQ(CharUpper(text), text);
  EXPECT_STREQ(text, "ABC \xC9\xF7\x9F\x8A\xDF XYZ");
  AnsiLower(text);
  EXPECT_STREQ(text, "abc \xE9\xF7\xFF\x9A\xDF xyz");
  EXPECT_EQ(
      reinterpret_cast<uintptr_t>(AnsiUpper(reinterpret_cast<LPSTR>(static_cast<uintptr_t>('q')))),
      static_cast<uintptr_t>('Q'));
  EXPECT_EQ(
      reinterpret_cast<uintptr_t>(CharLower(reinterpret_cast<LPSTR>(static_cast<uintptr_t>(0xC9)))),
      0xE9u);
  char buffer[] = "mixed Case";
  EXPECT_EQ(CharUpperBuff(buffer, 3), 3u);
  EXPECT_STREQ(buffer, "MIXed Case");
  EXPECT_TRUE(IsCharAlpha('\xE9'));
  EXPECT_FALSE(IsCharAlpha('\xD7'));
  EXPECT_TRUE(IsCharUpper('\xC9'));
  EXPECT_FALSE(IsCharLower('1'));
}

TEST(StringCallsTest, CopiesStayInsideTheirBuffers) {
  char buffer[8];
  EXPECT_EQ(lstrcpyn(buffer, "1234567890", sizeof buffer), buffer);
  EXPECT_STREQ(buffer, "1234567");
  lstrcpyn(buffer, "ab", 1);
  EXPECT_STREQ(buffer, "");
  lstrcpy(buffer, "ab");
  EXPECT_STREQ(lstrcat(buffer, "cd"), "abcd");
  EXPECT_EQ(lstrlen(buffer), 4);
  EXPECT_EQ(lstrlen(nullptr), 0);
  EXPECT_EQ(lstrcpy(nullptr, "x"), nullptr);
  EXPECT_EQ(lstrcat(buffer, nullptr), nullptr);
}

TEST(CollationTest, SortsByWordOrder) {
  std::vector<std::string> words = {"coop",
                                    "Co-op",
                                    "co-op",
                                    "zebra",
                                    "Apple",
                                    "apple",
                                    "\xC9"
                                    "clair",
                                    "eclair",
                                    "10",
                                    "9",
                                    " space",
                                    "!bang",
                                    "O'Neil",
                                    "Oneil",
                                    "\xE6on",
                                    "aeon",
                                    "abc",
                                    "ABD"};
  std::sort(words.begin(), words.end(), [](const std::string& a, const std::string& b) {
    return lstrcmp(a.c_str(), b.c_str()) < 0;
  });
  const std::vector<std::string> expected = {" space",
                                             "!bang",
                                             "10",
                                             "9",
                                             "abc",
                                             "ABD",
                                             "aeon",
                                             "\xE6on",
                                             "apple",
                                             "Apple",
                                             "coop",
                                             "co-op",
                                             "Co-op",
                                             "eclair",
                                             "\xC9"
                                             "clair",
                                             "Oneil",
                                             "O'Neil",
                                             "zebra"};
  EXPECT_EQ(words, expected);
}

TEST(CollationTest, ComparisonResultsAndNulls) {
  EXPECT_EQ(lstrcmp("abc", "abc"), 0);
  EXPECT_EQ(lstrcmp("abc", "ABC"), -1);
  EXPECT_EQ(lstrcmp("ABC", "abc"), 1);
  EXPECT_EQ(lstrcmp("ab", "abc"), -1);
  EXPECT_EQ(lstrcmp("2023-010", "2023-009"), 1);
  EXPECT_EQ(lstrcmpi("abc", "ABC"), 0);
  EXPECT_EQ(lstrcmpi("\xE9t\xE9", "\xC9T\xC9"), 0);
  EXPECT_EQ(lstrcmpi("e", "\xE9"), -1);
  EXPECT_EQ(lstrcmpi("Smith", "smyth"), -1);
  EXPECT_EQ(lstrcmp(nullptr, nullptr), 0);
  EXPECT_EQ(lstrcmp(nullptr, ""), -1);
  EXPECT_EQ(lstrcmpi("", nullptr), 1);
}

}  // namespace
