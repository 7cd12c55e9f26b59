/*
** OEM-to-ANSI conversion: the bytes as they are.
*/
#include "platform/user/oem_text.h"

#include <cstring>

BOOL OemToChar(LPCSTR src, LPSTR dst) {
  if (!src || !dst) return FALSE;
  if (src != dst) std::memmove(dst, src, std::strlen(src) + 1);
  return TRUE;
}

BOOL OemToAnsi(LPCSTR src, LPSTR dst) { return OemToChar(src, dst); }
