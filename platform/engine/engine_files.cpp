/*
** Whole files of the engine: syncing them and their directory, copying their bytes and
** putting a finished file in place by rename, so that a program killed at any moment
** leaves either the old file or the new one, never part of either.
*/
#include "platform/engine/engine_internal.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zarne::engine {

bool FileExists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

bool SyncFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

void SyncDirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string dir = slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

bool CopyFileBytes(const std::string& from, const std::string& to, std::string* problem) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    *problem = "cannot read " + from + ": " + std::strerror(errno);
    return false;
  }
  int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (out < 0) {
    *problem = "cannot write " + to + ": " + std::strerror(errno);
    ::close(in);
    return false;
  }
  char buffer[1 << 16];
  bool copied = true;
  for (;;) {
    ssize_t got = ::read(in, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      *problem = "reading " + from + ": " + std::strerror(errno);
      copied = false;
      break;
    }
    for (ssize_t done = 0; done < got;) {
      ssize_t put = ::write(out, buffer + done, size_t(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) {
        *problem = "writing " + to + ": " + std::strerror(errno);
        copied = false;
        break;
      }
      done += put;
    }
    if (!copied) break;
  }
  if (copied && ::fsync(out) != 0) {
    *problem = "syncing " + to + ": " + std::strerror(errno);
    copied = false;
  }
  ::close(out);
  ::close(in);
  if (!copied) ::unlink(to.c_str());
  return copied;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bytes->clear();
  char buffer[1 << 16];
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) bytes->append(buffer, size_t(got));
  ::close(fd);
  return got == 0;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* problem) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  bool written = fd >= 0;
  for (size_t done = 0; written && done < bytes.size();) {
    ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) written = false;
    else done += size_t(put);
  }
  if (written && ::fsync(fd) != 0) written = false;
  if (!written) *problem = "writing " + path + ": " + std::strerror(errno);
  if (fd >= 0) ::close(fd);
  return written;
}

bool PutInPlace(const std::string& finished, const std::string& target, std::string* problem) {
  // The file that replaces another keeps its mode and owner (a table the office made
  // read-only stays read-only; one shared by a group stays the group's).
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) {
    ::chmod(finished.c_str(), old.st_mode & 07777);
    if (::chown(finished.c_str(), old.st_uid, old.st_gid) != 0) {
      // Only the owner's own programs can give a file away; the mode is kept anyway.
    }
  }
  if (!SyncFile(finished)) {
    *problem = "syncing " + finished + ": " + std::strerror(errno);
    return false;
  }
  if (::rename(finished.c_str(), target.c_str()) != 0) {
    *problem = "renaming onto " + target + ": " + std::strerror(errno);
    return false;
  }
  SyncDirectoryOf(target);
  return true;
}

}  // namespace zarne::engine
