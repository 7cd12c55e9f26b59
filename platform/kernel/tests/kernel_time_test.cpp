// The clock calls: local time in hundredths of a second, and a tick count that does
// not run backwards.
#include "platform/kernel/local_time.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

TEST(LocalTimeTest, FieldsAgreeWithTheHostClockInHundredths) {
  const time_t before = time(nullptr);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const time_t after = time(nullptr);
  tm first{};
  tm last{};
  localtime_r(&before, &first);
  localtime_r(&after, &last);
  EXPECT_GE(now.wYear, first.tm_year + 1900);
  EXPECT_LE(now.wYear, last.tm_year + 1900);
  EXPECT_GE(now.wMonth, 1);
  EXPECT_LE(now.wMonth, 12);
  EXPECT_GE(now.wDay, 1);
  EXPECT_LE(now.wDay, 31);
  EXPECT_LE(now.wDayOfWeek, 6);
  EXPECT_LE(now.wHour, 23);
  EXPECT_LE(now.wSecond, 59);
  EXPECT_LT(now.wMilliseconds, 1000);
  EXPECT_EQ(now.wMilliseconds % 10, 0);
  if (before == after) {
    EXPECT_EQ(now.wMinute, first.tm_min);
    EXPECT_EQ(now.wDayOfWeek, first.tm_wday);
  }
  GetLocalTime(nullptr);  // tolerated
}

TEST(LocalTimeTest, TickCountDoesNotRunBackwards) {
  DWORD previous = GetTickCount();
  for (int i = 0; i < 1000; ++i) {
    const DWORD next = GetTickCount();
    EXPECT_GE(static_cast<int32_t>(next - previous), 0);
    previous = next;
  }
}

}  // namespace
