/*
** The profile calls: locate the file, read it whole, answer from its lines (taken apart again
** only when the bytes changed since the last call), and for a write edit the lines and
** replace the file atomically. One lock keeps the read-modify-write of concurrent callers in
** this process from losing updates, and a lock on the file's directory does the same between
** processes.
*/
#include "platform/kernel/profile.h"

#include "platform/kernel/atomic_file.h"
#include "platform/kernel/last_error.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/profile_text.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr const char* kWinIni = "win.ini";

// Owner: platform/kernel.
std::mutex gProfileMutex;

const char* FileOrWinIni(LPCSTR file_name) { return file_name && *file_name ? file_name : kWinIni; }

/* A file's bytes as last read, with their lines. */
struct ReadProfile {
  bool bytesKept = false;  // a huge file's bytes are not kept twice over
  std::string bytes;
  ProfileText text{std::string_view()};
};

// A start-up reads a hundred keys of one file, each call by itself: the file is read on every
// call, so that a change by another program is seen at once, but its lines are taken apart
// again only when its bytes differ from the last read's. Size and time stamps would not do:
// a change of the same size within one tick of the clock keeps both.
constexpr size_t kFilesKept = 8;
constexpr size_t kLargestKept = 1 << 20;
// Owner: platform/kernel.
std::map<std::string, ReadProfile> gReadProfiles;

/* Keeps a file's bytes with their lines; answers the lines kept. */
const ProfileText& Remember(const std::string& host_path, std::string bytes, ProfileText text) {
  auto read = gReadProfiles.find(host_path);
  if (read == gReadProfiles.end()) {
    if (gReadProfiles.size() >= kFilesKept) gReadProfiles.clear();
    read = gReadProfiles.emplace(host_path, ReadProfile()).first;
  }
  ReadProfile& profile = read->second;
  profile.text = std::move(text);
  profile.bytesKept = bytes.size() <= kLargestKept;
  profile.bytes = profile.bytesKept ? std::move(bytes) : std::string();
  return profile.text;
}

const ProfileText& Load(const std::string& host_path) {
  std::string bytes = ReadWholeFile(host_path).value_or(std::string());
  auto read = gReadProfiles.find(host_path);
  if (read != gReadProfiles.end() && read->second.bytesKept && read->second.bytes == bytes)
    return read->second.text;
  ProfileText text(bytes);
  return Remember(host_path, std::move(bytes), std::move(text));
}

DWORD CopyValue(const std::string& value, LPSTR buffer, DWORD size) {
  const DWORD length = value.size() < size - 1 ? static_cast<DWORD>(value.size()) : size - 1;
  std::memcpy(buffer, value.data(), length);
  buffer[length] = '\0';
  return length;
}

// Each name terminated, then one more NUL; cut lists end in two NULs and answer size - 2.
DWORD CopyNameList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
  std::string list;
  for (const std::string& name : names) list.append(name.c_str(), std::strlen(name.c_str()) + 1);
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

std::string DefaultWithoutTrailingBlanks(LPCSTR default_value) {
  std::string value = default_value ? default_value : "";
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
  return value;
}

bool HoldsAny(LPCSTR text, const char* characters) {
  return text && std::strpbrk(text, characters);
}

bool IsStorable(LPCSTR section, LPCSTR key, LPCSTR value) {
  return !HoldsAny(section, "]\r\n") && !HoldsAny(key, "=\r\n") && !HoldsAny(value, "\r\n");
}

// The file's directory must exist, except the profile directory, which is made.
bool PrepareDirectory(const std::string& host_path) {
  const bool in_windows_directory = host_path.compare(0, WindowsDirectoryHostPath().size() + 1,
                                                      WindowsDirectoryHostPath() + "/") == 0;
  return !in_windows_directory ||
         (MakeDataRoot() && MakeHostDirectories(WindowsDirectoryHostPath()));
}

}  // namespace

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer,
                              DWORD size, LPCSTR file_name) {
  if (!buffer || size == 0) return 0;
  std::lock_guard<std::mutex> lock(gProfileMutex);
  const ProfileText& text = Load(ProfileFileHostPath(FileOrWinIni(file_name)));
  if (!section) return CopyNameList(text.SectionNames(), buffer, size);
  if (!key) return CopyNameList(text.KeyNames(section), buffer, size);
  const auto value = text.Value(section, key);
  return CopyValue(value ? *value : DefaultWithoutTrailingBlanks(default_value), buffer, size);
}

UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, INT default_value, LPCSTR file_name) {
  if (!section || !key) return static_cast<UINT>(default_value);
  std::optional<std::string> value;
  {
    std::lock_guard<std::mutex> lock(gProfileMutex);
    value = Load(ProfileFileHostPath(FileOrWinIni(file_name))).Value(section, key);
  }
  if (!value) return static_cast<UINT>(default_value);
  const char* p = value->c_str();
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  uint32_t number = 0;
  for (; *p >= '0' && *p <= '9'; ++p) number = number * 10 + static_cast<uint32_t>(*p - '0');
  return negative ? 0u - number : number;
}

BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file_name) {
  if (!section) {
    // With nothing named there is nothing to do: every write is already on disk.
    if (!key && !value) return TRUE;
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!IsStorable(section, key, value)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const char* name = FileOrWinIni(file_name);
  std::lock_guard<std::mutex> lock(gProfileMutex);
  const std::string host_path = ProfileFileHostPath(name);
  if (!PrepareDirectory(host_path)) {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  // Other programs (a second machine on the shared database directory) write too.
  const DirectoryLock other_writers(HostDirectoryOf(host_path));
  RemoveStaleReplacements(host_path);
  const std::optional<std::string> old_bytes = ReadWholeFile(host_path);
  if (!old_bytes && errno != ENOENT) {
    // A file that exists but cannot be read must not be replaced by one built from nothing.
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  ProfileText text(old_bytes.value_or(std::string()));
  bool changed;
  if (!key) changed = text.DeleteSection(section);
  else if (!value) changed = text.DeleteKey(section, key);
  else changed = text.SetValue(section, key, value);
  if (!changed) return TRUE;
  std::string new_bytes = text.Bytes();
  if (!ReplaceFileAtomically(host_path, new_bytes)) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    return FALSE;
  }
  // The next read finds these bytes (or another program's, which it then takes apart).
  Remember(host_path, std::move(new_bytes), std::move(text));
  return TRUE;
}

DWORD GetProfileString(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer, DWORD size) {
  return GetPrivateProfileString(section, key, default_value, buffer, size, kWinIni);
}

UINT GetProfileInt(LPCSTR section, LPCSTR key, INT default_value) {
  return GetPrivateProfileInt(section, key, default_value, kWinIni);
}

BOOL WriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value) {
  return WritePrivateProfileString(section, key, value, kWinIni);
}
