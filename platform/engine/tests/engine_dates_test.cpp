/*
** Day numbers: the fixed points the system relies on, invalid dates, and agreement of
** encoding and decoding over the whole calendar.
*/
#include "platform/engine/engine.h"

#include <gtest/gtest.h>

namespace {

DWORD Encode(int month, int day, int year) {
  DWORD value = 0;
  EXPECT_EQ(EngineEncodeDate(WORD(month), WORD(day), SHORT(year), &value), ENGINE_OK);
  return value;
}

TEST(EngineDates, KnownDayNumbers) {
  EXPECT_EQ(Encode(1, 1, 1), 1u);
  EXPECT_EQ(Encode(6, 21, 2001), 730657u);
  EXPECT_EQ(Encode(12, 25, 1950), 712216u);
  EXPECT_EQ(Encode(3, 1, 2000) - Encode(2, 28, 2000), 2u);  // 2000 is a leap year
  EXPECT_EQ(Encode(3, 1, 1900) - Encode(2, 28, 1900), 1u);  // 1900 is not
  EXPECT_EQ(Encode(12, 31, 9999), 3652059u);
}

TEST(EngineDates, InvalidDatesAreRefused) {
  DWORD value = 0;
  EXPECT_EQ(EngineEncodeDate(2, 29, 2001, &value), ENGINE_ERR_INVALIDDATE);
  EXPECT_EQ(EngineEncodeDate(13, 1, 2000, &value), ENGINE_ERR_INVALIDDATE);
  EXPECT_EQ(EngineEncodeDate(4, 31, 2000, &value), ENGINE_ERR_INVALIDDATE);
  EXPECT_EQ(EngineEncodeDate(1, 0, 2000, &value), ENGINE_ERR_INVALIDDATE);
  EXPECT_EQ(EngineEncodeDate(1, 1, 0, &value), ENGINE_ERR_INVALIDDATE);
  WORD month, day;
  SHORT year;
  EXPECT_EQ(EngineDecodeDate(ENGINE_BLANK_DATE, &month, &day, &year), ENGINE_ERR_INVALIDDATE);
  EXPECT_EQ(EngineDecodeDate(0, &month, &day, &year), ENGINE_ERR_INVALIDDATE);
  EXPECT_EQ(EngineDecodeDate(3652060, &month, &day, &year), ENGINE_ERR_INVALIDDATE);
  EXPECT_EQ(EngineEncodeDate(1, 1, 2000, nullptr), ENGINE_ERR_INVALIDPARAM);
}

TEST(EngineDates, DecodingInvertsEncodingOverTheWholeCalendar) {
  WORD month = 0, day = 0;
  SHORT year = 0;
  ASSERT_EQ(EngineDecodeDate(730657, &month, &day, &year), ENGINE_OK);
  EXPECT_EQ(month, 6);
  EXPECT_EQ(day, 21);
  EXPECT_EQ(year, 2001);
  // Consecutive day numbers walk the calendar one day at a time.
  WORD lastMonth = 12, lastDay = 31;
  SHORT lastYear = 0;
  for (DWORD number = 1; number <= 3652059; ++number) {
    ASSERT_EQ(EngineDecodeDate(number, &month, &day, &year), ENGINE_OK) << number;
    bool nextDay = year == lastYear && month == lastMonth && day == lastDay + 1;
    bool nextMonth = year == lastYear && month == lastMonth + 1 && day == 1;
    bool nextYear =
        year == lastYear + 1 && month == 1 && day == 1 && lastMonth == 12 && lastDay == 31;
    ASSERT_TRUE(nextDay || nextMonth || nextYear) << number;
    lastMonth = month;
    lastDay = day;
    lastYear = year;
  }
  EXPECT_EQ(year, 9999);
}

}  // namespace
