/*
** The OEM-to-ANSI text conversions. This platform has no OEM character set of its own: the
** system's text, file names included, is Windows-1252 throughout, so the conversion keeps
** every byte as it is (in place, or into another buffer). A code page 437 table here would
** turn a file name with "é" into another name that no longer exists.
*/
#ifndef ZARNE_PLATFORM_USER_OEM_TEXT_H
#define ZARNE_PLATFORM_USER_OEM_TEXT_H

#include "platform/kernel/wintypes.h"

/* Copies the NUL-terminated text with its terminator; src and dst may be the same buffer.
** FALSE only for a null pointer. */
BOOL OemToChar(LPCSTR src, LPSTR dst);
BOOL OemToAnsi(LPCSTR src, LPSTR dst);

#define OemToCharA OemToChar

#endif
