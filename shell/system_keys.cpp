/*
** The [System] directory keys of zarne.ini.
*/
#include "shell/system_keys.h"

#include "platform/kernel/profile.h"
#include "platform/kernel/string_calls.h"

void ReadSystemDirectoryKey(const char* key, const char* defaultValue, char* directory) {
  GetPrivateProfileString("System", key, "", directory, MAX_PATH, "zarne.ini");
  if (directory[0] == '\0') {
    lstrcpyn(directory, defaultValue, MAX_PATH);
    WritePrivateProfileString("System", key, directory, "zarne.ini");
  }
}
