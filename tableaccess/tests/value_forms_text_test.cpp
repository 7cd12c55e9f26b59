/*
** Tests of the value forms that need no table: validation, date parsing and calendar rules
** against a reference made once with Python's datetime, money texts, amounts in words,
** status names, party lists, stored line breaks, the loan payment and path building.
*/
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ReferenceDate {
  int year, month, day;
  long ordinal;
  int weekday, daysInMonth, leap;
};

std::vector<ReferenceDate> LoadReferenceDates() {
  std::vector<ReferenceDate> dates;
  /* The data sits beside this source; ZARNE_TEST_DATA names that folder when it is set. */
  const char* dir = std::getenv("ZARNE_TEST_DATA");
  std::string folder =
      dir ? dir : std::string(__FILE__).substr(0, std::string(__FILE__).rfind('/'));
  std::ifstream in(folder + "/value_forms_reference_dates.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    ReferenceDate d{};
    fields >> d.year >> d.month >> d.day >> d.ordinal >> d.weekday >> d.daysInMonth >> d.leap;
    dates.push_back(d);
  }
  return dates;
}

std::string Words(double amount) {
  char buffer[kAmountWordsSize];
  std::memset(buffer, 'x', sizeof buffer);
  AmountInWords(buffer, amount, sizeof buffer);
  return buffer;
}

std::string Commas(const char* text, int* count = nullptr) {
  char buffer[64];
  int n = InsertThousandsCommas(text, buffer, sizeof buffer);
  if (count) *count = n;
  return buffer;
}

std::string Joined(const char* a, const char* b, const char* c, const char* d) {
  char* text = JoinNames(a, b, c, d);
  std::string result = text;
  delete[] text;
  return result;
}

}  // namespace

TEST(ValueFormsValidation, MoneyText) {
  for (const char* good : {"", "-", ".", "0", "12.5", "-12.34", "1234567", ".99"})
    EXPECT_TRUE(IsMoneyText(good)) << good;
  for (const char* bad : {"1.234", "1..2", "1.2.3", "--1", "1-", "1,000", "a", " 1"})
    EXPECT_FALSE(IsMoneyText(bad)) << bad;
  EXPECT_FALSE(IsMoneyText(nullptr));
}

TEST(ValueFormsValidation, DateText) {
  EXPECT_TRUE(IsDateText(""));
  EXPECT_TRUE(IsDateText("12/31/99"));
  EXPECT_TRUE(IsDateText("2/29/2000"));
  EXPECT_FALSE(IsDateText(nullptr));
  EXPECT_FALSE(IsDateText("12-31-99"));
  EXPECT_FALSE(IsDateText("12/31"));
  EXPECT_FALSE(IsDateText("1/2/3/4"));
  EXPECT_FALSE(IsDateText("2/30/2001"));
  EXPECT_FALSE(IsDateText("a/1/2001"));
}

TEST(ValueFormsDates, ParseDateTwoDigitYearsAndRefusals) {
  int m, d, y;
  EXPECT_TRUE(ParseDate("2/29/00", m, d, y));
  EXPECT_EQ(2000, y);
  EXPECT_TRUE(ParseDate("7/4/91", m, d, y));
  EXPECT_EQ(1991, y);
  EXPECT_TRUE(ParseDate("7/4/90", m, d, y));
  EXPECT_EQ(2090, y);
  EXPECT_TRUE(ParseDate("1/5/1850", m, d, y));
  EXPECT_EQ(1, m);
  EXPECT_EQ(5, d);
  EXPECT_EQ(1850, y);
  for (const char* bad : {"2/29/90", "13/1/95", "1/1/", "0/1/95", "1/0/95", "4/31/95", "1/1", ""}) {
    m = d = y = 7;
    EXPECT_FALSE(ParseDate(bad, m, d, y)) << bad;
    EXPECT_EQ(0, m);
    EXPECT_EQ(0, d);
    EXPECT_EQ(0, y);
  }
}

TEST(ValueFormsDates, CalendarRulesMatchReference) {
  std::vector<ReferenceDate> dates = LoadReferenceDates();
  ASSERT_GT(dates.size(), 1000u);
  for (const ReferenceDate& r : dates) {
    SCOPED_TRACE(std::to_string(r.year) + "-" + std::to_string(r.month) + "-" +
                 std::to_string(r.day));
    EXPECT_EQ(r.leap != 0, IsLeapYear(r.year) != 0);
    EXPECT_EQ(r.daysInMonth, DaysInMonth(r.month, r.year));
    EXPECT_EQ(r.weekday >= 6, IsWeekend(r.month, r.day, r.year) != 0);
  }
  EXPECT_EQ(0, DaysInMonth(0, 2000));
  EXPECT_EQ(0, DaysInMonth(13, 2000));
}

TEST(ValueFormsDates, FixedHolidays) {
  EXPECT_TRUE(IsFixedHoliday(1, 1, 1950));
  EXPECT_TRUE(IsFixedHoliday(7, 4, 2031));
  EXPECT_TRUE(IsFixedHoliday(12, 25, 2100));
  EXPECT_FALSE(IsFixedHoliday(12, 24, 2000));
  EXPECT_FALSE(IsFixedHoliday(11, 25, 2000));
}

TEST(ValueFormsMoney, ThousandsCommas) {
  int n = -1;
  EXPECT_EQ("-1,234,567.891", Commas("-1234567.891", &n));
  EXPECT_EQ(2, n);
  EXPECT_EQ("999.5", Commas("999.5", &n));
  EXPECT_EQ(0, n);
  EXPECT_EQ("1,000", Commas("1000", &n));
  EXPECT_EQ(1, n);
  EXPECT_EQ("-100,000.00", Commas("-100000.00", &n));
  EXPECT_EQ(1, n);
  EXPECT_EQ("0.25", Commas("0.25", &n));
  EXPECT_EQ("-0.25", Commas("-0.25"));
  EXPECT_EQ("123,456,789", Commas("123456789"));
}

TEST(ValueFormsMoney, CommasStayInsideSmallBuffer) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  char guarded[16];
  std::memset(guarded, '#', sizeof guarded);
  InsertThousandsCommas("-123456789.50", guarded, 8);
  EXPECT_EQ(7u, std::strlen(guarded));
  EXPECT_EQ("-123,45", std::string(guarded));
  for (size_t i = 8; i < sizeof guarded; ++i) EXPECT_EQ('#', guarded[i]);
}

/* Callers group, strip and pad an amount in its own buffer. */
TEST(ValueFormsMoney, SourceAndDestinationMayBeOneBuffer) {
  char buffer[32] = "-1234567.891";
  EXPECT_EQ(2, InsertThousandsCommas(buffer, buffer, sizeof buffer));
  EXPECT_STREQ("-1,234,567.891", buffer);
  EXPECT_EQ(2, StripCommas(buffer, buffer, sizeof buffer));
  EXPECT_STREQ("-1234567.891", buffer);
  PadDecimals(buffer, buffer, 2, sizeof buffer);
  EXPECT_STREQ("-1234567.89", buffer);
  std::strcpy(buffer, "12");
  PadDecimals(buffer, buffer, 2, sizeof buffer);
  EXPECT_STREQ("12.00", buffer);
  /* Cut to a small buffer, in place, still terminated inside it. */
  char small[8] = "1234567";
  InsertThousandsCommas(small, small, sizeof small);
  EXPECT_STREQ("1,234,5", small);
}

TEST(ValueFormsMoney, StripAndPad) {
  char buffer[32];
  EXPECT_EQ(2, StripCommas("-1,234,567.50", buffer, sizeof buffer));
  EXPECT_STREQ("-1234567.50", buffer);
  PadDecimals("12.3", buffer, 2, sizeof buffer);
  EXPECT_STREQ("12.30", buffer);
  PadDecimals("12.34567", buffer, 2, sizeof buffer);
  EXPECT_STREQ("12.34", buffer);
  PadDecimals("12", buffer, 5, sizeof buffer);
  EXPECT_STREQ("12.00000", buffer);
  PadDecimals("", buffer, 3, sizeof buffer);
  EXPECT_STREQ(".000", buffer);
  PadDecimals("5", buffer, 0, sizeof buffer);
  EXPECT_STREQ("5.", buffer);
}

TEST(ValueFormsMoney, RoundToCents) {
  EXPECT_DOUBLE_EQ(1.25, RoundToCents(1.2549));
  EXPECT_DOUBLE_EQ(-3.1, RoundToCents(-3.099));
  EXPECT_DOUBLE_EQ(0.0, RoundToCents(0.004));
}

TEST(ValueFormsWords, AmountsInWords) {
  EXPECT_EQ("01/100 Dollars", Words(0.01));
  EXPECT_EQ("05/100 Dollars", Words(0.05));
  EXPECT_EQ("00/100 Dollars", Words(0.0));
  EXPECT_EQ("One and 00/100 Dollars", Words(1));
  EXPECT_EQ("Nineteen and 00/100 Dollars", Words(19));
  EXPECT_EQ("Twenty and 00/100 Dollars", Words(20));
  EXPECT_EQ("Twenty One and 00/100 Dollars", Words(21));
  EXPECT_EQ("One Hundred and 00/100 Dollars", Words(100));
  EXPECT_EQ("One Thousand  and 00/100 Dollars", Words(1000));
  EXPECT_EQ("One Million  and 00/100 Dollars", Words(1000000));
  EXPECT_EQ(
      "One Million Two Hundred Thirty Four Thousand Five Hundred Sixty Seven and 89/100 Dollars",
      Words(1234567.89));
  EXPECT_EQ(
      "Forty Two Million Nine Hundred Forty Nine Thousand Six Hundred Seventy Two and 94/100 Dollars",
      Words(42949672.94));
  EXPECT_EQ("Five Million Seven and 10/100 Dollars", Words(5000007.10));
}

TEST(ValueFormsWords, RefusedAmountsGiveEmptyText) {
  EXPECT_EQ("", Words(-0.01));
  EXPECT_EQ("", Words(42949672.95));
  EXPECT_EQ("", Words(1e12));
}

TEST(ValueFormsWords, WordsCutToSmallBuffer) {
  char guarded[32];
  std::memset(guarded, '#', sizeof guarded);
  AmountInWords(guarded, 777777.77, 20);
  EXPECT_EQ(19u, std::strlen(guarded));
  for (size_t i = 20; i < sizeof guarded; ++i) EXPECT_EQ('#', guarded[i]);
}

TEST(ValueFormsWords, HundredsAppend) {
  char buffer[64] = "Say ";
  HundredsInWords(305, buffer, sizeof buffer);
  EXPECT_STREQ("Say Three Hundred Five", buffer);
  HundredsInWords(0, buffer, sizeof buffer);
  EXPECT_STREQ("Say Three Hundred Five", buffer);
}

TEST(ValueFormsStatus, NamesAndCodes) {
  const char* names[8] = {"Ready", "Escrow", "Printed",    "Unposted",
                          "Void",  "Posted", "Reconciled", "Balanced"};
  char buffer[16];
  for (SHORT code = 0; code < 8; ++code) {
    StatusText(buffer, code, sizeof buffer);
    EXPECT_STREQ(names[code], buffer);
    EXPECT_EQ(code, StatusCode(names[code]));
  }
  StatusText(buffer, 8, sizeof buffer);
  EXPECT_STREQ("", buffer);
  StatusText(buffer, -1, sizeof buffer);
  EXPECT_STREQ("", buffer);
  EXPECT_EQ(-1, StatusCode("posted"));
  EXPECT_EQ(-1, StatusCode(nullptr));
}

TEST(ValueFormsParties, JoinNamesStopsAtFirstEmpty) {
  EXPECT_EQ("", Joined("", "B", "C", "D"));
  EXPECT_EQ("A", Joined("A", "", "C", "D"));
  EXPECT_EQ("A and B", Joined("A", "B", "", "D"));
  EXPECT_EQ("A, B and C", Joined("A", "B", "C", ""));
  EXPECT_EQ("A, B, C and D", Joined("A", "B", "C", "D"));
}

TEST(ValueFormsStoredText, LineBreaksPackAndUnpack) {
  char packed[32];
  PackLineBreaks("one\r\ntwo\rthree\n", packed, sizeof packed);
  EXPECT_STREQ("one\x0Btwo\rthree\n", packed);
  for (size_t i = std::strlen(packed); i < sizeof packed; ++i) EXPECT_EQ(0, packed[i]);
  char unpacked[32];
  UnpackLineBreaks(
      "a\x0B\x0B"
      "b",
      unpacked, sizeof unpacked);
  EXPECT_STREQ("a\r\n\r\nb", unpacked);
  char small[5];
  UnpackLineBreaks(
      "ab\x0B"
      "cd",
      small, sizeof small);
  EXPECT_STREQ("ab\r\n", small);
  /* One buffer as source and destination, both ways. */
  char text[32] = "one\r\ntwo\r\n";
  PackLineBreaks(text, text, sizeof text);
  EXPECT_STREQ("one\x0Btwo\x0B", text);
  UnpackLineBreaks(text, text, sizeof text);
  EXPECT_STREQ("one\r\ntwo\r\n", text);
}

TEST(ValueFormsLoan, PaymentsAndEdges) {
  EXPECT_NEAR(733.76, RoundToCents(LoanPayment(100000, 8, 12, 360)), 0.001);
  EXPECT_NEAR(761.78, RoundToCents(LoanPayment(162000, 3.875, 12, 360)), 0.001);
  EXPECT_DOUBLE_EQ(0.0, LoanPayment(0, 8, 12, 360));
  EXPECT_DOUBLE_EQ(0.0, LoanPayment(-5, 8, 12, 360));
  EXPECT_DOUBLE_EQ(0.0, LoanPayment(1000, 8, 12, 0));
  EXPECT_DOUBLE_EQ(100.0, LoanPayment(12000, 0, 12, 120));
  EXPECT_DOUBLE_EQ(8.0, PowerOf(2, 3));
  EXPECT_DOUBLE_EQ(0.25, PowerOf(2, -2));
  EXPECT_DOUBLE_EQ(1.0, PowerOf(7, 0));
}

TEST(ValueFormsPaths, BuildPath) {
  char path[MAX_PATH];
  BuildPath(path, "C:\\ZARNE", "BUYER", "DB", sizeof path);
  EXPECT_STREQ("C:\\ZARNE\\BUYER.DB", path);
  BuildPath(path, "C:\\ZARNE\\", "CHKFORM", ".DAT", sizeof path);
  EXPECT_STREQ("C:\\ZARNE\\CHKFORM.DAT", path);
  BuildPath(path, "C:\\ZARNE", "NAME.", "zbi", sizeof path);
  EXPECT_STREQ("C:\\ZARNE\\NAME.zbi", path);
  BuildPath(path, "C:\\ZARNE", "BANK", nullptr, sizeof path);
  EXPECT_STREQ("C:\\ZARNE\\BANK", path);
  BuildPath(path, nullptr, "BANK", "DB", sizeof path);
  EXPECT_STREQ("BANK.DB", path);
  char small[12];
  BuildPath(small, "C:\\ZARNE", "SUMMARY1", "DB", sizeof small);
  EXPECT_STREQ("C:\\ZARNE\\SU", small);
}
