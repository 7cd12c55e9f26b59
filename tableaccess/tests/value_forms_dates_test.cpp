/*
** Value forms that go through the engine's day numbers: encoding and decoding against the
** Python reference, the three date texts and their edge cases, and the short-date
** round trip that turns 1901-1990 into 20xx.
*/
#include "tableaccess/value_forms.h"

#include "platform/user/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

LONG Date(int month, int day, int year) {
  LONG date = 0;
  EncodeDate(date, month, day, year);
  return date;
}

std::string Short(LONG date) {
  char text[kDateTextSize];
  FormatShortDate(text, date, sizeof text);
  return text;
}

std::string Long(LONG date) {
  char text[32];
  FormatLongDate(text, date, sizeof text);
  return text;
}

std::string Ordinal(LONG date) {
  char text[40];
  FormatOrdinalDate(text, date, sizeof text);
  return text;
}

}  // namespace

TEST(ValueFormsDayNumbers, EncodeAndDecodeMatchReference) {
  /* The data sits beside this source; ZARNE_TEST_DATA names that folder when it is set. */
  const char* dir = std::getenv("ZARNE_TEST_DATA");
  std::string folder =
      dir ? dir : std::string(__FILE__).substr(0, std::string(__FILE__).rfind('/'));
  std::ifstream in(folder + "/value_forms_reference_dates.txt");
  std::string line;
  int checked = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    int year, month, day;
    long ordinal;
    fields >> year >> month >> day >> ordinal;
    EXPECT_EQ(ordinal, Date(month, day, year)) << line;
    int m, d, y;
    DecodeDate(static_cast<LONG>(ordinal), m, d, y);
    EXPECT_EQ(month, m);
    EXPECT_EQ(day, d);
    EXPECT_EQ(year, y);
    ++checked;
  }
  EXPECT_GT(checked, 1000);
}

TEST(ValueFormsDayNumbers, BlankAndRefusedDates) {
  EXPECT_EQ(kBlankDate, Date(2, 30, 2001));
  EXPECT_EQ(kBlankDate, Date(13, 1, 2001));
  EXPECT_EQ(kBlankDate, Date(1, 1, 70000));     // would wrap to a real year if passed on
  EXPECT_EQ(kBlankDate, Date(65537, 1, 2000));  // would wrap to January
  EXPECT_EQ(kBlankDate, Date(1, 65537, 2000));  // and to its first day
  EXPECT_EQ(kBlankDate, Date(-65535, 1, 2000));
  int m = 9, d = 9, y = 9;
  DecodeDate(kBlankDate, m, d, y);
  EXPECT_EQ(0, m + d + y);
}

TEST(ValueFormsDateTexts, ShortDates) {
  EXPECT_EQ("", Short(kBlankDate));
  EXPECT_EQ("12/31/99", Short(Date(12, 31, 1999)));
  EXPECT_EQ("01/01/2000", Short(Date(1, 1, 2000)));
  EXPECT_EQ("01/02/99", Short(Date(1, 2, 1999)));
  EXPECT_EQ("01/02/2005", Short(Date(1, 2, 2005)));
  EXPECT_EQ("06/15/1900", Short(Date(6, 15, 1900)));
  EXPECT_EQ("01/01/01", Short(Date(1, 1, 1901)));
}

TEST(ValueFormsDateTexts, ShortDateOfTheEightiesReadsBackAsThisCentury) {
  /* Two-digit years up to 90 are read as 20xx: a 1985 date written short comes back as 2085.
     Both rules stand as they are; callers keep four-digit years where that matters. */
  int m, d, y;
  ASSERT_TRUE(ParseDate(Short(Date(3, 4, 1985)).c_str(), m, d, y));
  EXPECT_EQ(2085, y);
  ASSERT_TRUE(ParseDate(Short(Date(3, 4, 1995)).c_str(), m, d, y));
  EXPECT_EQ(1995, y);
  ASSERT_TRUE(ParseDate(Short(Date(3, 4, 2085)).c_str(), m, d, y));
  EXPECT_EQ(2085, y);
}

TEST(ValueFormsDateTexts, LongAndOrdinalDates) {
  EXPECT_EQ("January 2, 2005", Long(Date(1, 2, 2005)));
  EXPECT_EQ("", Long(kBlankDate));
  EXPECT_EQ("1st day of March, 2021", Ordinal(Date(3, 1, 2021)));
  EXPECT_EQ("2nd day of March, 2021", Ordinal(Date(3, 2, 2021)));
  EXPECT_EQ("3rd day of March, 2021", Ordinal(Date(3, 3, 2021)));
  EXPECT_EQ("11th day of March, 2021", Ordinal(Date(3, 11, 2021)));
  EXPECT_EQ("12th day of March, 2021", Ordinal(Date(3, 12, 2021)));
  EXPECT_EQ("13th day of March, 2021", Ordinal(Date(3, 13, 2021)));
  EXPECT_EQ("21st day of March, 2021", Ordinal(Date(3, 21, 2021)));
  EXPECT_EQ("22nd day of March, 2021", Ordinal(Date(3, 22, 2021)));
  EXPECT_EQ("23rd day of March, 2021", Ordinal(Date(3, 23, 2021)));
  EXPECT_EQ("30th day of March, 2021", Ordinal(Date(3, 30, 2021)));
  EXPECT_EQ("31st day of March, 2021", Ordinal(Date(3, 31, 2021)));
  EXPECT_EQ("", Ordinal(kBlankDate));
}

TEST(ValueFormsDateTexts, FormattersStayInsideTheirBuffer) {
  char guarded[32];
  std::memset(guarded, '#', sizeof guarded);
  FormatOrdinalDate(guarded, Date(9, 23, 2026), kDateTextSize);
  EXPECT_EQ(kDateTextSize - 1, std::strlen(guarded));
  for (size_t i = kDateTextSize; i < sizeof guarded; ++i) EXPECT_EQ('#', guarded[i]);
  std::memset(guarded, '#', sizeof guarded);
  FormatLongDate(guarded, Date(9, 30, 2026), 8);
  EXPECT_STREQ("Septemb", guarded);
}
