/*
** lstrlen, lstrcpy, lstrcpyn and lstrcat on caller buffers, guarded against null
** pointers as the original calls are.
*/
#include "platform/kernel/string_calls.h"

#include <cstring>

int lstrlen(LPCSTR text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

LPSTR lstrcpy(LPSTR destination, LPCSTR source) {
  if (!destination || !source) return nullptr;
  std::memmove(destination, source, std::strlen(source) + 1);
  return destination;
}

LPSTR lstrcpyn(LPSTR destination, LPCSTR source, int max_count) {
  if (!destination || !source) return nullptr;
  if (max_count <= 0) return destination;
  int i = 0;
  for (; i < max_count - 1 && source[i]; ++i) destination[i] = source[i];
  destination[i] = '\0';
  return destination;
}

LPSTR lstrcat(LPSTR destination, LPCSTR source) {
  if (!destination || !source) return nullptr;
  std::memmove(destination + std::strlen(destination), source, std::strlen(source) + 1);
  return destination;
}
