/*
** Directory listing through getdents64 into the reader's own buffer.
*/
#include "platform/kernel/directory_reader.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>

DirectoryReader::DirectoryReader(const std::string& host_path)
    : fd_(open(host_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)), owned_(true) {}

DirectoryReader::DirectoryReader(int directory_fd) : fd_(directory_fd), owned_(false) {
  // Another listing through the same descriptor may have left it anywhere.
  if (fd_ >= 0 && lseek(fd_, 0, SEEK_SET) != 0) fd_ = -1;
}

DirectoryReader::~DirectoryReader() {
  if (owned_ && fd_ >= 0) close(fd_);
}

const char* DirectoryReader::Next() {
  if (fd_ < 0) return nullptr;
  if (at_ >= end_) {
    ssize_t n;
    do n = getdents64(fd_, buffer_, sizeof buffer_);
    while (n < 0 && errno == EINTR);
    if (n <= 0) return nullptr;
    at_ = 0;
    end_ = static_cast<size_t>(n);
  }
  // Each record: inode, offset, its own length, type, then the NUL-terminated name.
  const char* record = buffer_ + at_;
  uint16_t length = 0;
  std::memcpy(&length, record + offsetof(struct dirent64, d_reclen), sizeof length);
  at_ += length == 0 ? end_ : length;  // a zero length would never move on
  return record + offsetof(struct dirent64, d_name);
}
