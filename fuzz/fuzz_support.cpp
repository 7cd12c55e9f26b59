/*
** The fuzz targets' shared helpers.
*/
#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::string MakeScratchDirectory() {
  std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
  std::string pattern = base + "/zarne-fuzz-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) {
    std::perror("cannot make the fuzz scratch directory");
    std::abort();
  }
  return buffer.data();
}

}  // namespace

const std::string& FuzzScratchDirectory() {
  // Never destroyed, so the exit handler that removes the directory can still name it.
  static const std::string* directory = [] {
    auto* made = new std::string(MakeScratchDirectory());
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(FuzzScratchDirectory(), ignored);
    });
    return made;
  }();
  return *directory;
}

void FuzzWriteFile(const std::string& path, const uint8_t* data, size_t size) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  FuzzRequire(fd >= 0, "the input file can be written");
  size_t written = 0;
  while (written < size) {
    ssize_t n = ::write(fd, data + written, size - written);
    FuzzRequire(n > 0, "the input file can be written");
    written += static_cast<size_t>(n);
  }
  ::close(fd);
}

void FuzzRequire(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}
