/*
** OpenFile and the _l* file calls over POSIX descriptors, with a table of the
** descriptors opened here so that foreign or stale handles are refused.
*/
#include "platform/kernel/files.h"

#include "platform/kernel/last_error.h"
#include "platform/kernel/paths.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace {

// Owner: platform/kernel.
std::mutex gOpenFilesMutex;
std::unordered_set<int> gOpenFiles;

bool IsOpen(HFILE file) {
  std::lock_guard<std::mutex> lock(gOpenFilesMutex);
  return gOpenFiles.count(file) != 0;
}

int AccessFlags(UINT style) {
  switch (style & 0x3) {
    case OF_WRITE: return O_WRONLY;
    case OF_READWRITE: return O_RDWR;
    default: return O_RDONLY;
  }
}

// Opens a host file as a kernel handle; directories are refused. Handle 0 is never
// given out, as callers use 0 for "no file".
HFILE OpenHost(const std::string& host, int flags) {
  if (host.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return HFILE_ERROR;
  }
  int fd = open(host.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_FILE_NOT_FOUND
                                                     : ErrorFromErrno(errno));
    return HFILE_ERROR;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return HFILE_ERROR;
  }
  if (fd == 0) {
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    close(fd);
    if (moved < 0) return HFILE_ERROR;
    fd = moved;
  }
  std::lock_guard<std::mutex> lock(gOpenFilesMutex);
  gOpenFiles.insert(fd);
  return fd;
}

void FillOpenInfo(LPOFSTRUCT info, const std::string& full_path) {
  if (!info) return;
  info->cBytes = static_cast<BYTE>(sizeof(OFSTRUCT));
  info->fFixedDisk = 1;
  info->nErrCode = 0;
  const size_t length =
      full_path.size() < OFS_MAXPATHNAME - 1 ? full_path.size() : OFS_MAXPATHNAME - 1;
  std::memcpy(info->szPathName, full_path.data(), length);
  info->szPathName[length] = '\0';
}

HFILE Failed(LPOFSTRUCT info) {
  if (info) info->nErrCode = static_cast<WORD>(GetLastError());
  return HFILE_ERROR;
}

}  // namespace

HFILE OpenFile(LPCSTR file_name, LPOFSTRUCT open_info, UINT style) {
  std::string name = file_name ? file_name : "";
  if ((style & OF_REOPEN) && open_info)
    name.assign(open_info->szPathName, strnlen(open_info->szPathName, OFS_MAXPATHNAME));
  if (name.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return Failed(open_info);
  }
  FillOpenInfo(open_info, FullWindowsPath(name.c_str()));
  if (style & OF_PARSE) return 0;
  const std::string host = HostPathFromWindowsPath(name.c_str());
  if (style & OF_DELETE) {
    if (!DeleteFile(name.c_str())) return Failed(open_info);
    return 1;
  }
  if (style & OF_EXIST) {
    const HFILE probe = OpenHost(host, O_RDONLY);
    if (probe == HFILE_ERROR) return Failed(open_info);
    _lclose(probe);
    return 1;
  }
  int flags = AccessFlags(style);
  if (style & OF_CREATE) flags = (flags == O_RDONLY ? O_RDWR : flags) | O_CREAT | O_TRUNC;
  const HFILE file = OpenHost(host, flags);
  return file == HFILE_ERROR ? Failed(open_info) : file;
}

HFILE _lcreat(LPCSTR path, int) {
  return OpenHost(HostPathFromWindowsPath(path), O_RDWR | O_CREAT | O_TRUNC);
}

HFILE _lopen(LPCSTR path, int style) {
  return OpenHost(HostPathFromWindowsPath(path), AccessFlags(static_cast<UINT>(style)));
}

UINT _lread(HFILE file, LPVOID buffer, UINT count) {
  if (!IsOpen(file) || (!buffer && count)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return static_cast<UINT>(HFILE_ERROR);
  }
  auto* out = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = read(file, out + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetLastError(ErrorFromErrno(errno));
      return static_cast<UINT>(HFILE_ERROR);
    }
    if (n == 0) break;
    done += static_cast<UINT>(n);
  }
  return done;
}

UINT _lwrite(HFILE file, LPCSTR buffer, UINT count) {
  if (!IsOpen(file) || (!buffer && count)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return static_cast<UINT>(HFILE_ERROR);
  }
  if (count == 0) {
    const off_t position = lseek(file, 0, SEEK_CUR);
    if (position < 0 || ftruncate(file, position) != 0) return static_cast<UINT>(HFILE_ERROR);
    return 0;
  }
  UINT done = 0;
  while (done < count) {
    const ssize_t n = write(file, buffer + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      SetLastError(ErrorFromErrno(errno));
      return static_cast<UINT>(HFILE_ERROR);
    }
    done += static_cast<UINT>(n);
  }
  return done;
}

LONG _llseek(HFILE file, LONG offset, int origin) {
  static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (!IsOpen(file) || origin < FILE_BEGIN || origin > FILE_END) {
    SetLastError(ERROR_INVALID_HANDLE);
    return HFILE_ERROR;
  }
  const off_t position = lseek(file, offset, kWhence[origin]);
  if (position < 0 || position > INT32_MAX) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return HFILE_ERROR;
  }
  return static_cast<LONG>(position);
}

HFILE _lclose(HFILE file) {
  {
    std::lock_guard<std::mutex> lock(gOpenFilesMutex);
    if (gOpenFiles.erase(file) == 0) {
      SetLastError(ERROR_INVALID_HANDLE);
      return HFILE_ERROR;
    }
  }
  return close(file) == 0 ? 0 : HFILE_ERROR;
}

UINT SetHandleCount(UINT count) {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return count;
  if (limit.rlim_cur < count) {
    limit.rlim_cur = count < limit.rlim_max ? count : limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
  return count < limit.rlim_cur ? count : static_cast<UINT>(limit.rlim_cur);
}
