/*
** Windows paths on the host file system, and the directory calls of the kernel.
**
** The system names files by Windows paths ("C:\ZARNE\BUYER.DB"). They are mapped so:
**  - A drive path X:\a\b lives under $ZARNE_ROOT/drive_x/a/b. The drive's own directory
**    is made when first needed, so every drive letter exists.
**  - Drive Z: is the host's own file system: Z:\usr\lib is /usr/lib. Host paths shown to
**    the system (GetModuleFileName, GetCurrentDirectory after a host path was set) use
**    this form, except that a host path inside $ZARNE_ROOT/drive_x is shown as X:.
**  - Each component is matched case-insensitively (Windows-1252 case rules) against what
**    exists; what does not exist yet keeps the case it was given, so it is created so.
**  - A path that starts with '/' is a host path and is used as it stands.
**  - A relative path resolves against the current directory, which is kept here as a
**    Windows path (the host process's own working directory is never changed). "\a" is
**    the root of the current drive; "X:a" is relative to the current directory when that
**    is on X:, else to X:\. Both '\' and '/' separate components; "." and ".." are
**    resolved by name.
**  - Names are Windows-1252 text; on the host they are stored as UTF-8.
** ZARNE_ROOT is read at every call, so a test may point it at a fresh directory; when it
** is unset the root is $XDG_DATA_HOME/zarne, or ~/.local/share/zarne. With none of the
** three there is no root: the programs end rather than keep the data in a shared place.
** A root the program makes itself is private to the user (0700); one that exists keeps
** the modes it has, as does every directory a path names outside the root.
** The current directory starts as the host working directory of the process (in Z: form).
*/
#ifndef ZARNE_PLATFORM_KERNEL_PATHS_H
#define ZARNE_PLATFORM_KERNEL_PATHS_H

#include "platform/kernel/wintypes.h"

#include <string>

struct stat;

#define FILE_ATTRIBUTE_READONLY  0x00000001
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL    0x00000080
#define INVALID_FILE_ATTRIBUTES  ((DWORD)-1)

typedef struct _SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

/* The data root: $ZARNE_ROOT, or its default; empty when there is no home to put it in.
   Never ends in '/'. */
std::string ZarneRootPath();
/* Makes the data root when it is missing, private to the user; true when it exists. */
bool MakeDataRoot();

/* The host path of a Windows path (see above). Empty for a null or empty path. */
std::string HostPathFromWindowsPath(const char* windows_path);

/* The full Windows form of a path: drive, backslashes, no "." or "..". A host path
   becomes its Z: (or drive) form. Empty for a null or empty path. */
std::string FullWindowsPath(const char* path);

/* How a host path is shown to the system as a Windows path. */
std::string WindowsPathFromHostPath(const std::string& host_path);

/* The host path of a profile file: a name without a drive or root, such as "zarne.ini",
   lives in $ZARNE_ROOT/windows; any other path is mapped as above. `found`, when given,
   receives the file's lstat when the lookup looked at it by that spelling and found it (a
   name in $ZARNE_ROOT/windows), and is zeroed otherwise: a caller about to look at the file
   may take this look instead. */
std::string ProfileFileHostPath(const char* file_name, struct stat* found = nullptr);

/* Makes a host directory and any missing parents; true when it exists afterwards. */
bool MakeHostDirectories(const std::string& host_path);

/* The host directory that holds profile files named without a directory. */
std::string WindowsDirectoryHostPath();

/* Answers the length written without the terminator, or, when the buffer is too small,
   the size needed including it (the buffer then untouched). */
DWORD GetCurrentDirectory(DWORD buffer_size, LPSTR buffer);
/* Fails, changing nothing, when the directory does not exist. */
BOOL SetCurrentDirectory(LPCSTR path);
/* Makes one directory; its parent must exist; fails when it exists already. */
BOOL CreateDirectory(LPCSTR path, LPSECURITY_ATTRIBUTES security);
/* Removes an empty directory. */
BOOL RemoveDirectory(LPCSTR path);
/* Removes a file (not a directory). */
BOOL DeleteFile(LPCSTR path);
/* FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_NORMAL or FILE_ATTRIBUTE_READONLY, or
   INVALID_FILE_ATTRIBUTES when nothing of that name exists. */
DWORD GetFileAttributes(LPCSTR path);

#endif
