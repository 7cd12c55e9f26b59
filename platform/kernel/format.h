/*
** wsprintf and wvsprintf: the kernel's own formatter, with the conversions the system
** uses: %d %i %u %x %X %c %s %%, each with the 'l' (32-bit, as LONG) or 'h' size, the flags
** '-' (left align), '0' (zero padding), '#' (0x prefix for %x), a width, and a precision
** (the most characters of a %s, the fewest digits of a number). No floating point.
**
** As on the original platform the result holds at most 1024 bytes including the
** terminator: longer output is cut at 1023 characters. The result is the number of
** characters stored, without the terminator. A null %s prints "(null)"; an unknown
** conversion character is copied as it stands.
**
** 'l' means 32 bits, as on the original platform: a LONG or DWORD argument matches %ld
** and %lu, whatever the width of the host's long.
*/
#ifndef ZARNE_PLATFORM_KERNEL_FORMAT_H
#define ZARNE_PLATFORM_KERNEL_FORMAT_H

#include "platform/kernel/wintypes.h"

#include <cstdarg>

#define WSPRINTF_LIMIT 1024

int wsprintf(LPSTR buffer, LPCSTR format, ...);
int wvsprintf(LPSTR buffer, LPCSTR format, va_list arguments);

#define wsprintfA  wsprintf
#define wvsprintfA wvsprintf

#endif
