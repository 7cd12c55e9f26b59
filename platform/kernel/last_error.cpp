/*
** The per-thread last-error value and the translation of host error numbers into it.
*/
#include "platform/kernel/last_error.h"

#include <cerrno>

namespace {
// Owner: platform/kernel; one per thread.
thread_local DWORD gLastError = ERROR_SUCCESS;
}  // namespace

DWORD GetLastError() { return gLastError; }

void SetLastError(DWORD error) { gLastError = error; }

DWORD ErrorFromErrno(int host_errno) {
  switch (host_errno) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    default: return ERROR_ACCESS_DENIED;
  }
}
