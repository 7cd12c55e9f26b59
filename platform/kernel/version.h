/*
** The version calls: a module file's version data (the RT_VERSION resource compiled from its
** VERSIONINFO statement) and the lookup of values in it by path.
*/
#ifndef ZARNE_PLATFORM_KERNEL_VERSION_H
#define ZARNE_PLATFORM_KERNEL_VERSION_H

#include "platform/kernel/wintypes.h"

typedef struct tagVS_FIXEDFILEINFO {
  DWORD dwSignature;
  DWORD dwStrucVersion;
  DWORD dwFileVersionMS;
  DWORD dwFileVersionLS;
  DWORD dwProductVersionMS;
  DWORD dwProductVersionLS;
  DWORD dwFileFlagsMask;
  DWORD dwFileFlags;
  DWORD dwFileOS;
  DWORD dwFileType;
  DWORD dwFileSubtype;
  DWORD dwFileDateMS;
  DWORD dwFileDateLS;
} VS_FIXEDFILEINFO;

static_assert(sizeof(VS_FIXEDFILEINFO) == 52, "the fixed information is 52 bytes");

/* The file names a loaded module that has resources: the Windows-form name the module calls
** give ("C:\ZARNE\ZARNE32.EXE", compared by its file name without extension), a host path of
** the module's file, or its bare name. Answers the size of its version data, 0 when the file
** names no such module or the module has none. The handle, when given, is set to 0. */
DWORD GetFileVersionInfoSize(LPCSTR fileName, LPDWORD handle);

/* Copies the module's version data into the caller's block of `length` bytes. FALSE when the
** module has none or the block is too small (nothing is copied then). */
BOOL GetFileVersionInfo(LPCSTR fileName, DWORD handle, DWORD length, LPVOID data);

/* Looks a path up in version data: "\" gives the VS_FIXEDFILEINFO, "\VarFileInfo\Translation"
** the translation values, "\StringFileInfo\<block>\<name>" a string (keys compared without
** case). The value pointer points into `block`; the length counts bytes, for strings with
** their terminator. FALSE when the path is not there. */
BOOL VerQueryValue(LPCVOID block, LPCSTR subBlock, LPVOID* value, UINT* length);

#define GetFileVersionInfoSizeA GetFileVersionInfoSize
#define GetFileVersionInfoA     GetFileVersionInfo
#define VerQueryValueA          VerQueryValue

#endif
