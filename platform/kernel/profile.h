/*
** Profile files: the settings files read and written by section and key
** (GetPrivateProfileString and its family), and win.ini through GetProfileString.
**
** A file named without a directory ("zarne.ini") lives in $ZARNE_ROOT/windows (see
** paths.h); a null file name means win.ini. The line rules are in profile_text.h:
** section and key names match case-insensitively, values are trimmed and lose one pair
** of surrounding quotes, comments and every untouched line are kept byte for byte, and a
** damaged file (a section header without ']', a last line without its end, stray bytes)
** still yields what can be read.
**
** Reading: a found value, or else the default with its trailing blanks removed, is
** copied cut to size - 1 characters and terminated; the answer is the number of
** characters copied. A null section lists the section names, a null key the key names of
** the section, each name terminated and the list ended by one more NUL; a list that does
** not fit is cut, ended by two NULs, and answers size - 2.
**
** Writing: a null value deletes the key, a null key deletes the whole section. The file
** is created on the first write (and $ZARNE_ROOT/windows with it); the directory of any
** other file must exist. Each write replaces the file atomically, so a crash at any
** moment leaves either the old or the new file; writers in several processes are
** serialised, so none loses another's update. A section name holding ']' or a line
** break, a key holding '=' or a line break, or a value holding a line break cannot be
** stored without damaging the file: such a write is refused (FALSE,
** ERROR_INVALID_PARAMETER) and the file is left as it was.
*/
#ifndef ZARNE_PLATFORM_KERNEL_PROFILE_H
#define ZARNE_PLATFORM_KERNEL_PROFILE_H

#include "platform/kernel/wintypes.h"

#include <cstddef>

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer,
                              DWORD size, LPCSTR file_name);
/* The value read as a decimal number (an optional sign, then digits up to the first
   other character; 0 when there are none); the default when the key is missing. */
UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, INT default_value, LPCSTR file_name);
BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file_name);

/* One key and its value for WritePrivateProfileValues. */
struct ProfileValue {
  LPCSTR key;
  LPCSTR value;
};
/* Sets several keys of one section, in order, with one replacement of the file: it ends as
   the same writes made one by one would leave it, but is written (and flushed to disk) once.
   When any key or value is null or cannot be stored, nothing is written (FALSE,
   ERROR_INVALID_PARAMETER). */
BOOL WritePrivateProfileValues(LPCSTR section, const ProfileValue* values, size_t count,
                               LPCSTR file_name);

DWORD GetProfileString(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer, DWORD size);
UINT GetProfileInt(LPCSTR section, LPCSTR key, INT default_value);
BOOL WriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value);

#define GetPrivateProfileStringA   GetPrivateProfileString
#define GetPrivateProfileIntA      GetPrivateProfileInt
#define WritePrivateProfileStringA WritePrivateProfileString

#endif
