/*
** _splitpath and fnsplit over one shared scan of the path.
*/
#include "platform/kernel/path_split.h"

#include <cstring>

namespace {

struct PathParts {
  const char* drive = nullptr;
  size_t drive_length = 0;
  const char* dir = nullptr;
  size_t dir_length = 0;
  const char* name = nullptr;
  size_t name_length = 0;
  const char* ext = nullptr;
  size_t ext_length = 0;
};

PathParts Scan(const char* path) {
  PathParts parts;
  if (!path) path = "";
  const char* p = path;
  if (p[0] && p[1] == ':') {
    parts.drive = p;
    parts.drive_length = 2;
    p += 2;
  }
  const char* last_separator = nullptr;
  for (const char* q = p; *q; ++q) {
    if (*q == '\\' || *q == '/') last_separator = q;
  }
  parts.dir = p;
  parts.dir_length = last_separator ? static_cast<size_t>(last_separator + 1 - p) : 0;
  const char* file = p + parts.dir_length;
  const char* dot = std::strrchr(file, '.');
  const size_t file_length = std::strlen(file);
  parts.name = file;
  parts.name_length = dot ? static_cast<size_t>(dot - file) : file_length;
  parts.ext = dot ? dot : file + file_length;
  parts.ext_length = dot ? std::strlen(dot) : 0;
  return parts;
}

void CopyPart(char* out, size_t capacity, const char* from, size_t length) {
  if (!out) return;
  if (length > capacity - 1) length = capacity - 1;
  if (length) std::memcpy(out, from, length);
  out[length] = '\0';
}

}  // namespace

void _splitpath(const char* path, char* drive, char* dir, char* name, char* ext) {
  const PathParts parts = Scan(path);
  CopyPart(drive, _MAX_DRIVE, parts.drive, parts.drive_length);
  CopyPart(dir, _MAX_DIR, parts.dir, parts.dir_length);
  CopyPart(name, _MAX_FNAME, parts.name, parts.name_length);
  CopyPart(ext, _MAX_EXT, parts.ext, parts.ext_length);
}

int fnsplit(const char* path, char* drive, char* dir, char* name, char* ext) {
  const PathParts parts = Scan(path);
  CopyPart(drive, MAXDRIVE, parts.drive, parts.drive_length);
  CopyPart(dir, MAXDIR, parts.dir, parts.dir_length);
  CopyPart(name, MAXFILE, parts.name, parts.name_length);
  CopyPart(ext, MAXEXT, parts.ext, parts.ext_length);
  int flags = 0;
  if (parts.drive_length) flags |= FNSPLIT_DRIVE;
  if (parts.dir_length) flags |= FNSPLIT_DIRECTORY;
  if (parts.name_length) flags |= FNSPLIT_FILENAME;
  if (parts.ext_length) flags |= FNSPLIT_EXTENSION;
  if (path && std::strpbrk(path, "*?")) flags |= FNSPLIT_WILDCARDS;
  return flags;
}
