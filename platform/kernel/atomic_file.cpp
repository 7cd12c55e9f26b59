/*
** Whole-file read and write-temporary-then-rename replacement of host files.
*/
#include "platform/kernel/atomic_file.h"

#include "platform/kernel/directory_reader.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Makes the rename itself durable, through the directory's descriptor when one is open.
void SyncDirectory(const std::string& dir, int directory_fd) {
  if (directory_fd >= 0) {
    fsync(directory_fd);
    return;
  }
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Temporary files of a replacement are named ".<name>.XXXXXX" beside the file.
std::string TemporaryPrefix(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return "." + (slash == std::string::npos ? path : path.substr(slash + 1)) + ".";
}

constexpr size_t kTemporarySuffixLength = 6;

mode_t ModeForReplacement(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& host_path) {
  const int fd = open(host_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  char chunk[8192];
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int failure = errno;
      close(fd);
      errno = failure;
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(chunk, static_cast<size_t>(n));
  }
  close(fd);
  return bytes;
}

bool ReplaceFileAtomically(const std::string& host_path, const std::string& bytes, int directory_fd,
                           int* new_fd, mode_t mode) {
  const std::string dir = HostDirectoryOf(host_path);
  std::string temporary = dir + "/" + TemporaryPrefix(host_path) + "XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = fchmod(fd, mode ? mode : ModeForReplacement(host_path)) == 0 &&
                       WriteAll(fd, bytes) && fsync(fd) == 0;
  const int saved_errno = errno;
  // A descriptor handed on stays open; its bytes are on disk already (fsync).
  const bool closed = new_fd ? true : close(fd) == 0;
  if (!closed || !written || rename(temporary.c_str(), host_path.c_str()) != 0) {
    const int failure = written ? errno : saved_errno;
    if (new_fd) close(fd);
    unlink(temporary.c_str());
    errno = failure;
    return false;
  }
  SyncDirectory(dir, directory_fd);
  if (new_fd) *new_fd = fd;
  return true;
}

std::string HostDirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

DirectoryLock::DirectoryLock(const std::string& directory)
    : fd_(open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (fd_ < 0) return;
  while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {}
}

DirectoryLock::~DirectoryLock() {
  if (fd_ >= 0) close(fd_);  // closing releases the lock
}

void RemoveStaleReplacements(const DirectoryLock& lock, const std::string& host_path) {
  const std::string prefix = TemporaryPrefix(host_path);
  DirectoryReader listing(lock.Descriptor());
  while (const char* name = listing.Next()) {
    if (std::strlen(name) == prefix.size() + kTemporarySuffixLength &&
        std::strncmp(name, prefix.c_str(), prefix.size()) == 0)
      unlinkat(lock.Descriptor(), name, 0);
  }
}
