/*
** The mapping of Windows paths onto the host file system, the kernel's current
** directory, and the directory calls built on them. The rules are in paths.h.
*/
#include "platform/kernel/paths.h"

#include "platform/kernel/message_paths.h"

#include "platform/kernel/directory_reader.h"
#include "platform/kernel/last_error.h"
#include "platform/kernel/text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string_view>
#include <vector>

namespace {

constexpr char kHostDrive = 'z';

struct WindowsPath {
  char drive = 'c';
  std::vector<std::string> parts;
};

// Owner: platform/kernel.
std::mutex gCurrentDirectoryMutex;
std::string gCurrentDirectory;  // full Windows path; empty until first needed

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDrive(const char* path) {
  const auto c = static_cast<unsigned char>(path[0]);
  return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && path[1] == ':';
}

char DriveLetter(char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); }

// Appends the components of text to parts, resolving "." and ".." by name.
void AppendComponents(std::vector<std::string>& parts, const char* text) {
  std::string part;
  auto flush = [&] {
    if (part.empty() || part == ".") {
    } else if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else {
      parts.push_back(part);
    }
    part.clear();
  };
  for (const char* p = text; *p; ++p) {
    if (IsSeparator(*p)) flush();
    else part += *p;
  }
  flush();
}

std::string Format(const WindowsPath& path) {
  std::string text;
  text += static_cast<char>(path.drive - ('a' - 'A'));
  text += ":\\";
  for (size_t i = 0; i < path.parts.size(); ++i) {
    if (i) text += '\\';
    text += path.parts[i];
  }
  return text;
}

WindowsPath Parse(const std::string& full) {
  WindowsPath path;
  path.drive = DriveLetter(full[0]);
  AppendComponents(path.parts, full.c_str() + 2);
  return path;
}

bool IsDirectory(const std::string& host_path) {
  struct stat info {};
  return stat(host_path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string CurrentDirectoryLocked() {
  if (gCurrentDirectory.empty()) {
    char host[PATH_MAX];
    gCurrentDirectory = getcwd(host, sizeof host) ? WindowsPathFromHostPath(host) : "C:\\";
  }
  return gCurrentDirectory;
}

std::string CurrentDirectory() {
  std::lock_guard<std::mutex> lock(gCurrentDirectoryMutex);
  return CurrentDirectoryLocked();
}

// The absolute Windows path of a Windows path that may be relative.
WindowsPath Absolute(const char* path) {
  if (HasDrive(path)) {
    const char drive = DriveLetter(path[0]);
    if (IsSeparator(path[2])) {
      WindowsPath result;
      result.drive = drive;
      AppendComponents(result.parts, path + 2);
      return result;
    }
    const std::string current = CurrentDirectory();
    WindowsPath result = DriveLetter(current[0]) == drive ? Parse(current) : WindowsPath{drive, {}};
    AppendComponents(result.parts, path + 2);
    return result;
  }
  WindowsPath result = Parse(CurrentDirectory());
  if (IsSeparator(path[0])) result.parts.clear();
  AppendComponents(result.parts, path);
  return result;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Cp1252Upper(static_cast<unsigned char>(a[i])) !=
        Cp1252Upper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// Whether a host name (UTF-8) is part but for case. An ASCII name reads the same in both
// encodings, and case never maps ASCII to other bytes: such names are compared as they stand.
bool HostNameMatches(const char* name, const std::string& part) {
  size_t length = 0;
  bool ascii = true;
  for (; name[length]; ++length) ascii = ascii && static_cast<unsigned char>(name[length]) < 0x80;
  if (!ascii) return EqualIgnoringCase(Utf8ToCp1252(name), part);
  return length == part.size() && EqualIgnoringCase(std::string_view(name, length), part);
}

// The host name of an entry of dir that matches part but for case, or empty.
std::string FindIgnoringCase(const std::string& dir, const std::string& part) {
  DirectoryReader listing(dir.empty() ? std::string("/") : dir);
  while (const char* name = listing.Next()) {
    if (HostNameMatches(name, part)) return name;
  }
  return {};
}

// Walks the components below a host directory, taking the spelling of what exists. `found`,
// when given, receives what lstat told of the last component when it was found as spelled,
// and is zeroed otherwise.
std::string ResolveBelow(std::string host, const std::vector<std::string>& parts,
                         struct stat* found = nullptr) {
  bool resolving = true;
  struct stat info {};
  bool looked = false;
  for (const std::string& part : parts) {
    const std::string name = Cp1252ToUtf8(part);
    std::string candidate = host + "/" + name;
    looked = false;
    if (resolving) {
      if (lstat(candidate.c_str(), &info) == 0) {
        looked = true;
      } else {
        const std::string match = FindIgnoringCase(host, part);
        if (!match.empty()) candidate = host + "/" + match;
        else resolving = false;  // nothing below a missing directory exists
      }
    }
    host = std::move(candidate);
  }
  if (found) {
    if (!looked) info = {};
    *found = info;
  }
  return host.empty() ? std::string("/") : host;
}

// A name of one component in plain ASCII: its host spelling is its own, so its path is
// built in one string, without the general walk's list of parts.
bool IsPlainName(const char* name) {
  if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
  for (const char* p = name; *p; ++p) {
    if (IsSeparator(*p) || static_cast<unsigned char>(*p) >= 0x80) return false;
  }
  return true;
}

// ResolveBelow for one plain name.
std::string ResolveNameBelow(std::string host, const char* name, struct stat* found) {
  const size_t directory_length = host.size();
  host += '/';
  host += name;
  struct stat info {};
  if (lstat(host.c_str(), &info) == 0) {
    if (found) *found = info;
    return host;
  }
  const std::string match = FindIgnoringCase(host.substr(0, directory_length), name);
  if (!match.empty()) {
    host.resize(directory_length + 1);
    host += match;
  }
  return host;
}

std::string DriveHostDirectory(char drive) {
  if (drive == kHostDrive) return {};
  std::string dir = ZarneRootPath() + "/drive_" + drive;
  // A drive's directory that is there says its root is there too: one look, not two.
  if (IsDirectory(dir)) return dir;
  MakeDataRoot();
  MakeHostDirectories(dir);
  return dir;
}

BOOL FailWithErrno() {
  SetLastError(ErrorFromErrno(errno));
  return FALSE;
}

}  // namespace

std::string ZarneRootPath() {
  std::string root;
  if (const char* env = std::getenv("ZARNE_ROOT"); env && *env) {
    root = env;
  } else if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
    root = std::string(data) + "/zarne";
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    root = std::string(home) + "/.local/share/zarne";
  }
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root;
}

bool MakeDataRoot() {
  const std::string root = ZarneRootPath();
  if (root.empty()) return false;
  if (IsDirectory(root)) return true;  // as its owner left it
  const size_t slash = root.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeHostDirectories(root.substr(0, slash)))
    return false;
  // Tax ids and amounts live below it: only the user may look inside.
  return mkdir(root.c_str(), 0700) == 0 || errno == EEXIST;
}

bool MakeHostDirectories(const std::string& host_path) {
  if (host_path.empty() || IsDirectory(host_path)) return true;
  const size_t slash = host_path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeHostDirectories(host_path.substr(0, slash)))
    return false;
  return mkdir(host_path.c_str(), 0777) == 0 || errno == EEXIST;
}

std::string WindowsDirectoryHostPath() { return ZarneRootPath() + "/windows"; }

std::string FullWindowsPath(const char* path) {
  if (!path || !*path) return {};
  if (path[0] == '/') return WindowsPathFromHostPath(path);
  return Format(Absolute(path));
}

std::string HostPathFromWindowsPath(const char* windows_path) {
  if (!windows_path || !*windows_path) return {};
  if (windows_path[0] == '/') {
    // The system joins a name to the directory it was given with '\\', host directory or
    // not; no name of its own holds one, so in a host path it separates too.
    std::string host = windows_path;
    std::replace(host.begin(), host.end(), '\\', '/');
    return host;
  }
  const WindowsPath path = Absolute(windows_path);
  return ResolveBelow(DriveHostDirectory(path.drive), path.parts);
}

std::string WindowsPathFromHostPath(const std::string& host_path) {
  std::string absolute = host_path;
  if (absolute.empty() || absolute[0] != '/') {
    char cwd[PATH_MAX];
    absolute = std::string(getcwd(cwd, sizeof cwd) ? cwd : "") + "/" + absolute;
  }
  WindowsPath path;
  path.drive = kHostDrive;
  std::string rest = absolute;
  const std::string drives = ZarneRootPath() + "/drive_";
  if (absolute.compare(0, drives.size(), drives) == 0 && absolute.size() > drives.size()) {
    const char letter = absolute[drives.size()];
    const size_t after = drives.size() + 1;
    if (letter >= 'a' && letter <= 'z' && (absolute.size() == after || absolute[after] == '/')) {
      path.drive = letter;
      rest = absolute.substr(after);
    }
  }
  AppendComponents(path.parts, Utf8ToCp1252(rest).c_str());
  return Format(path);
}

std::string PathForMessages(const char* path) {
  if (!path || !*path) return {};
  if (path[0] != '/' && Absolute(path).drive != kHostDrive) return FullWindowsPath(path);
  return Utf8ToCp1252(HostPathFromWindowsPath(path));
}

std::string ProfileFileHostPath(const char* file_name, struct stat* found) {
  if (found) std::memset(found, 0, sizeof *found);
  if (!file_name || !*file_name) return {};
  if (file_name[0] == '/' || file_name[0] == '\\' || HasDrive(file_name))
    return HostPathFromWindowsPath(file_name);
  // Nearly every call names a file of the profile directory itself (zarne.ini).
  if (IsPlainName(file_name)) return ResolveNameBelow(WindowsDirectoryHostPath(), file_name, found);
  std::vector<std::string> parts;
  AppendComponents(parts, file_name);
  return ResolveBelow(WindowsDirectoryHostPath(), parts, found);
}

DWORD GetCurrentDirectory(DWORD buffer_size, LPSTR buffer) {
  const std::string current = CurrentDirectory();
  const DWORD length = static_cast<DWORD>(current.size());
  if (!buffer || buffer_size < length + 1) return length + 1;
  std::memcpy(buffer, current.c_str(), length + 1);
  return length;
}

BOOL SetCurrentDirectory(LPCSTR path) {
  if (!path || !*path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string full = FullWindowsPath(path);
  if (!IsDirectory(HostPathFromWindowsPath(full.c_str()))) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(gCurrentDirectoryMutex);
  gCurrentDirectory = full;
  return TRUE;
}

BOOL CreateDirectory(LPCSTR path, LPSECURITY_ATTRIBUTES) {
  const std::string host = HostPathFromWindowsPath(path);
  if (host.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (mkdir(host.c_str(), 0777) != 0) {
    if (errno == ENOENT) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return FALSE;
    }
    return FailWithErrno();
  }
  return TRUE;
}

BOOL RemoveDirectory(LPCSTR path) {
  const std::string host = HostPathFromWindowsPath(path);
  if (host.empty() || rmdir(host.c_str()) != 0) return FailWithErrno();
  return TRUE;
}

BOOL DeleteFile(LPCSTR path) {
  const std::string host = HostPathFromWindowsPath(path);
  if (host.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  if (IsDirectory(host)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (unlink(host.c_str()) != 0) return FailWithErrno();
  return TRUE;
}

DWORD GetFileAttributes(LPCSTR path) {
  const std::string host = HostPathFromWindowsPath(path);
  struct stat info {};
  if (host.empty() || stat(host.c_str(), &info) != 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return access(host.c_str(), W_OK) == 0 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}
