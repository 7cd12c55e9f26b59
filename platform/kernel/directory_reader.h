/*
** The names in a host directory, read straight into a buffer on the caller's stack. A path
** lookup that must match a name regardless of case, and every profile write looking for the
** temporary files of dead writers, list a directory: opendir adds a look at the directory and
** a 32 KB buffer allocated afresh for each listing, which under the sanitizers cost more than
** the reading itself.
*/
#ifndef ZARNE_PLATFORM_KERNEL_DIRECTORY_READER_H
#define ZARNE_PLATFORM_KERNEL_DIRECTORY_READER_H

#include <cstddef>
#include <string>

class DirectoryReader {
 public:
  /* Lists the directory at a host path. */
  explicit DirectoryReader(const std::string& host_path);
  /* Lists the directory open as `directory_fd` from its first entry; the descriptor stays
     the caller's. */
  explicit DirectoryReader(int directory_fd);
  ~DirectoryReader();
  DirectoryReader(const DirectoryReader&) = delete;
  DirectoryReader& operator=(const DirectoryReader&) = delete;

  /* Whether the directory could be opened. */
  bool IsOpen() const { return fd_ >= 0; }
  /* The next name ("." and ".." included), valid until the next call; null at the end or
     when the directory cannot be read. */
  const char* Next();

 private:
  int fd_;
  bool owned_;
  size_t at_ = 0;
  size_t end_ = 0;
  alignas(8) char buffer_[4096];
};

#endif
