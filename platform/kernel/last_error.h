/*
** The per-thread "last error" value of the kernel calls and the error codes they set.
** Calls that fail for a reason a caller may want to tell apart record it here, as the
** original platform does; a successful call does not necessarily clear it.
*/
#ifndef ZARNE_PLATFORM_KERNEL_LAST_ERROR_H
#define ZARNE_PLATFORM_KERNEL_LAST_ERROR_H

#include "platform/kernel/wintypes.h"

#define ERROR_SUCCESS             0L
#define NO_ERROR                  0L
#define ERROR_FILE_NOT_FOUND      2L
#define ERROR_PATH_NOT_FOUND      3L
#define ERROR_ACCESS_DENIED       5L
#define ERROR_INVALID_HANDLE      6L
#define ERROR_NOT_ENOUGH_MEMORY   8L
#define ERROR_FILE_EXISTS         80L
#define ERROR_INVALID_PARAMETER   87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MOD_NOT_FOUND       126L
#define ERROR_PROC_NOT_FOUND      127L
#define ERROR_DIR_NOT_EMPTY       145L
#define ERROR_NOT_LOCKED          158L
#define ERROR_ALREADY_EXISTS      183L
#define ERROR_DLL_INIT_FAILED     1114L

DWORD GetLastError();
void SetLastError(DWORD error);

/* The error code that best describes a host errno value. */
DWORD ErrorFromErrno(int host_errno);

#endif
