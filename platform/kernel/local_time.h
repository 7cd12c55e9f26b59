/*
** The clock calls: GetLocalTime (the local date and time, to the hundredth of a second:
** wMilliseconds is always a multiple of 10, as the system's time keys assume) and
** GetTickCount (milliseconds since an arbitrary start, wrapping at 2^32); and, for tests, a
** local clock held at a chosen moment.
*/
#ifndef ZARNE_PLATFORM_KERNEL_LOCAL_TIME_H
#define ZARNE_PLATFORM_KERNEL_LOCAL_TIME_H

#include "platform/kernel/wintypes.h"

void GetLocalTime(LPSYSTEMTIME time);
DWORD GetTickCount();

/* Tests only: from now on GetLocalTime answers `start`, then one hundredth of a second more at
** each further reading (never past the end of its day), so the time keys the process issues
** are known ahead and no wait for the clock can spin; nullptr gives back the host clock.
** GetTickCount is not affected. */
void HoldLocalTimeForTest(const SYSTEMTIME* start);

#endif
