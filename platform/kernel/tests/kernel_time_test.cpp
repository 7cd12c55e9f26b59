// The clock calls: local time in hundredths of a second, a tick count that does not run
// backwards, and the held clock of tests.
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

TEST(LocalTimeTest, AHeldClockStepsOneHundredthPerReadingWithinItsDayUntilLetGo) {
  SYSTEMTIME start{};
  start.wYear = 2026;
  start.wMonth = 3;
  start.wDay = 2;
  start.wDayOfWeek = 1;
  start.wHour = 13;
  start.wMinute = 59;
  start.wSecond = 59;
  start.wMilliseconds = 980;
  HoldLocalTimeForTest(&start);
  SYSTEMTIME seen[3] = {};
  for (SYSTEMTIME& time : seen) GetLocalTime(&time);
  EXPECT_EQ(seen[0].wMilliseconds, 980);
  EXPECT_EQ(seen[1].wMilliseconds, 990);
  // 13:59:59.99 + 0.01 = 14:00:00.00, same day
  EXPECT_EQ(seen[2].wHour, 14);
  EXPECT_EQ(seen[2].wMinute, 0);
  EXPECT_EQ(seen[2].wSecond, 0);
  EXPECT_EQ(seen[2].wMilliseconds, 0);
  EXPECT_EQ(seen[2].wDay, 2);
  EXPECT_EQ(seen[2].wDayOfWeek, 1);

  start.wHour = 23;
  start.wMinute = 59;
  start.wSecond = 59;
  start.wMilliseconds = 990;
  HoldLocalTimeForTest(&start);
  SYSTEMTIME last{};
  GetLocalTime(&last);
  GetLocalTime(&last);  // never into the next day
  EXPECT_EQ(last.wDay, 2);
  EXPECT_EQ(last.wHour, 23);
  EXPECT_EQ(last.wMilliseconds, 990);

  HoldLocalTimeForTest(nullptr);
  const time_t host = time(nullptr);
  tm local{};
  localtime_r(&host, &local);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(now.wYear, local.tm_year + 1900);
}

}  // namespace
