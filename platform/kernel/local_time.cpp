/*
** GetLocalTime and GetTickCount over the host clocks, and the held clock of tests.
*/
#include "platform/kernel/local_time.h"

#include <ctime>
#include <mutex>

namespace {

constexpr long kHundredthsPerDay = 8640000;

struct HeldClock {
  std::mutex guard;
  bool held = false;
  SYSTEMTIME start{};
  long readings = 0;
};

HeldClock& TheHeldClock() {
  static HeldClock clock;
  return clock;
}

/* The held moment of this reading: the start plus one hundredth per earlier reading. */
bool ReadHeldClock(LPSYSTEMTIME time) {
  HeldClock& clock = TheHeldClock();
  std::lock_guard<std::mutex> lock(clock.guard);
  if (!clock.held) return false;
  const SYSTEMTIME& start = clock.start;
  long hundredths =
      ((start.wHour * 60L + start.wMinute) * 60L + start.wSecond) * 100L + start.wMilliseconds / 10;
  hundredths += clock.readings++;
  if (hundredths >= kHundredthsPerDay) hundredths = kHundredthsPerDay - 1;
  *time = start;
  time->wHour = static_cast<WORD>(hundredths / 360000);
  time->wMinute = static_cast<WORD>(hundredths / 6000 % 60);
  time->wSecond = static_cast<WORD>(hundredths / 100 % 60);
  time->wMilliseconds = static_cast<WORD>(hundredths % 100 * 10);
  return true;
}

}  // namespace

void HoldLocalTimeForTest(const SYSTEMTIME* start) {
  HeldClock& clock = TheHeldClock();
  std::lock_guard<std::mutex> lock(clock.guard);
  clock.held = start != nullptr;
  if (start) clock.start = *start;
  clock.readings = 0;
}

void GetLocalTime(LPSYSTEMTIME time) {
  if (!time) return;
  if (ReadHeldClock(time)) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  const time_t seconds = now.tv_sec;
  localtime_r(&seconds, &local);
  time->wYear = static_cast<WORD>(local.tm_year + 1900);
  time->wMonth = static_cast<WORD>(local.tm_mon + 1);
  time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
  time->wDay = static_cast<WORD>(local.tm_mday);
  time->wHour = static_cast<WORD>(local.tm_hour);
  time->wMinute = static_cast<WORD>(local.tm_min);
  time->wSecond = static_cast<WORD>(local.tm_sec > 59 ? 59 : local.tm_sec);  // no leap second
  time->wMilliseconds = static_cast<WORD>(now.tv_nsec / 10000000 * 10);
}

DWORD GetTickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<DWORD>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                            static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}
