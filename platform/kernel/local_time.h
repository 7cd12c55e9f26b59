/*
** The clock calls: GetLocalTime (the local date and time, to the hundredth of a second:
** wMilliseconds is always a multiple of 10, as the system's time keys assume) and
** GetTickCount (milliseconds since an arbitrary start, wrapping at 2^32).
*/
#ifndef ZARNE_PLATFORM_KERNEL_LOCAL_TIME_H
#define ZARNE_PLATFORM_KERNEL_LOCAL_TIME_H

#include "platform/kernel/wintypes.h"

void GetLocalTime(LPSYSTEMTIME time);
DWORD GetTickCount();

#endif
