/*
** GetLocalTime and GetTickCount over the host clocks.
*/
#include "platform/kernel/local_time.h"

#include <ctime>

void GetLocalTime(LPSYSTEMTIME time) {
  if (!time) return;
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
  return static_cast<DWORD>(static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}
