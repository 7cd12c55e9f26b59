/*
** Rereading a kept-open host file: stat the path, reopen when it names another file, pread.
*/
#include "platform/kernel/kept_open_file.h"

#include "platform/kernel/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

KeptOpenFile::~KeptOpenFile() { Close(); }

bool KeptOpenFile::Read(const std::string& host_path, std::string& bytes, const struct stat* seen) {
  struct stat info {};
  if (seen && S_ISREG(seen->st_mode)) {
    info = *seen;
  } else if (stat(host_path.c_str(), &info) != 0) {
    const int failure = errno;
    Close();
    errno = failure;
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    // Only a plain file is kept open (opening a pipe would wait for its writer, and a
    // directory cannot be read): anything else is read, or refused, as it stands.
    Close();
    std::optional<std::string> whole = ReadWholeFile(host_path);
    if (!whole) return false;
    bytes = std::move(*whole);
    return true;
  }
  if (fd_ < 0 || info.st_dev != device_ || info.st_ino != inode_) {
    Close();
    if (!Open(host_path)) return false;
  }
  mode_ = info.st_mode & 07777;
  return ReadKept(info.st_size, bytes);
}

void KeptOpenFile::Adopt(int fd) {
  Close();
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    close(fd);
    return;
  }
  fd_ = fd;
  device_ = info.st_dev;
  inode_ = info.st_ino;
  mode_ = info.st_mode & 07777;
}

bool KeptOpenFile::Open(const std::string& host_path) {
  fd_ = open(host_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  // The file opened, which may already be another than the one the path named a moment ago.
  struct stat info {};
  if (fstat(fd_, &info) != 0) {
    const int failure = errno;
    Close();
    errno = failure;
    return false;
  }
  device_ = info.st_dev;
  inode_ = info.st_ino;
  return true;
}

bool KeptOpenFile::ReadKept(off_t size_seen, std::string& bytes) {
  const size_t expected = size_seen > 0 ? static_cast<size_t>(size_seen) : 0;
  // One byte more than the size seen, so that a file grown since shows as longer.
  bytes.resize(expected + 1);
  size_t have = 0;
  for (;;) {
    if (have == bytes.size()) bytes.resize(2 * bytes.size());
    const ssize_t n =
        pread(fd_, bytes.data() + have, bytes.size() - have, static_cast<off_t>(have));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int failure = errno;
      Close();
      bytes.clear();
      errno = failure;
      return false;
    }
    have += static_cast<size_t>(n);
    // A plain file's read stops short only at its end: one that stopped exactly where the
    // size seen says it ends needs no further read to tell so.
    if (n == 0 || (have == expected && have < bytes.size())) break;
  }
  bytes.resize(have);
  return true;
}

void KeptOpenFile::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  mode_ = 0;
}
