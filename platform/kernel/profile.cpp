/*
** The profile calls: locate the file, read it whole (through a descriptor kept open from the
** last call while the path still names that file), answer from its lines (taken apart again
** only when the bytes changed since the last call), and for a write edit the lines and
** replace the file atomically. One lock keeps the read-modify-write of concurrent callers in
** this process from losing updates, and a lock on the file's directory does the same between
** processes.
*/
#include "platform/kernel/profile.h"

#include "platform/kernel/atomic_file.h"
#include "platform/kernel/kept_open_file.h"
#include "platform/kernel/last_error.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/profile_text.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kWinIni = "win.ini";

// Owner: platform/kernel.
std::mutex gProfileMutex;

const char* FileOrWinIni(LPCSTR file_name) { return file_name && *file_name ? file_name : kWinIni; }

/* A file's bytes as last read, with their lines, and the file kept open for the next read. */
struct ReadProfile {
  bool bytesKept = false;  // a huge file's bytes are not kept twice over
  std::string bytes;
  ProfileText text{std::string_view()};
  KeptOpenFile file;
};

// A start-up reads a hundred keys of one file, each call by itself: the file is read on every
// call, so that a change by another program is seen at once, but its lines are taken apart
// again only when its bytes differ from the last read's. Size and time stamps would not do:
// a change of the same size within one tick of the clock keeps both.
constexpr size_t kFilesKept = 8;
constexpr size_t kLargestKept = 1 << 20;
// Owner: platform/kernel.
std::map<std::string, ReadProfile> gReadProfiles;
// The bytes of the latest read, compared with the kept ones; its storage serves every read.
// Owner: platform/kernel.
std::string gFreshBytes;

ReadProfile& ProfileOf(const std::string& host_path) {
  auto read = gReadProfiles.find(host_path);
  if (read != gReadProfiles.end()) return read->second;
  if (gReadProfiles.size() >= kFilesKept) gReadProfiles.clear();
  return gReadProfiles.try_emplace(host_path).first->second;
}

/* Reads the file into gFreshBytes (empty when it cannot be read); false, errno telling why,
   when it cannot. `seen` is the look the path's lookup took at the file, if any. */
bool ReadFresh(ReadProfile& profile, const std::string& host_path,
               const struct stat* seen = nullptr) {
  if (profile.file.Read(host_path, gFreshBytes, seen)) return true;
  const int failure = errno;
  gFreshBytes.clear();
  errno = failure;
  return false;
}

bool FreshBytesAreKept(const ReadProfile& profile) {
  return profile.bytesKept && profile.bytes == gFreshBytes;
}

/* Keeps the bytes the kept lines stand for (taking them from `bytes`). */
void KeepBytes(ReadProfile& profile, std::string& bytes) {
  profile.bytesKept = bytes.size() <= kLargestKept;
  if (profile.bytesKept) {
    profile.bytes.swap(bytes);
  } else {
    profile.bytes.clear();
  }
  // Nothing read is held for a file that is gone or empty.
  if (profile.bytes.empty()) std::string().swap(profile.bytes);
  if (bytes.empty()) std::string().swap(bytes);
}

/* Keeps a file's bytes with their lines; answers the lines kept. */
const ProfileText& Remember(ReadProfile& profile, std::string& bytes, ProfileText text) {
  profile.text = std::move(text);
  KeepBytes(profile, bytes);
  return profile.text;
}

/* Drops what is kept of a file, so that the next call takes the file apart afresh. */
void Forget(ReadProfile& profile) {
  profile.bytesKept = false;
  std::string().swap(profile.bytes);
  profile.text = ProfileText(std::string_view());
}

/* The lines of a profile file as it now stands. */
const ProfileText& Load(LPCSTR file_name) {
  struct stat seen {};
  const std::string host_path = ProfileFileHostPath(FileOrWinIni(file_name), &seen);
  ReadProfile& profile = ProfileOf(host_path);
  ReadFresh(profile, host_path, &seen);
  if (FreshBytesAreKept(profile)) return profile.text;
  ProfileText text(gFreshBytes);
  return Remember(profile, gFreshBytes, std::move(text));
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
  const std::string windows = WindowsDirectoryHostPath();
  const bool in_windows_directory = host_path.compare(0, windows.size() + 1, windows + "/") == 0;
  return !in_windows_directory || (MakeDataRoot() && MakeHostDirectories(windows));
}

/* Reads the file under both locks, lets `edit` change its lines (answering whether it did),
   and replaces the file when they changed. */
template <typename Edit>
BOOL EditFile(LPCSTR file_name, const Edit& edit) {
  const char* name = FileOrWinIni(file_name);
  std::lock_guard<std::mutex> lock(gProfileMutex);
  const std::string host_path = ProfileFileHostPath(name);
  // Other programs (a second machine on the shared database directory) write too. A directory
  // the lock cannot open may be the profile directory before the first write: it is made.
  std::optional<DirectoryLock> locked(std::in_place, HostDirectoryOf(host_path));
  if (locked->Descriptor() < 0) {
    if (!PrepareDirectory(host_path)) {
      SetLastError(ErrorFromErrno(errno));
      return FALSE;
    }
    locked.emplace(HostDirectoryOf(host_path));
  }
  const DirectoryLock& other_writers = *locked;
  RemoveStaleReplacements(other_writers, host_path);
  ReadProfile& profile = ProfileOf(host_path);
  if (!ReadFresh(profile, host_path) && errno != ENOENT) {
    // A file that exists but cannot be read must not be replaced by one built from nothing.
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  // The edit is made on the kept lines themselves, not on a copy of the whole file's.
  if (!FreshBytesAreKept(profile)) Remember(profile, gFreshBytes, ProfileText(gFreshBytes));
  if (!edit(profile.text)) return TRUE;
  std::string new_bytes = profile.text.Bytes();
  int new_fd = -1;
  // The read under the lock has just looked at the file: its permissions are carried over.
  if (!ReplaceFileAtomically(host_path, new_bytes, other_writers.Descriptor(), &new_fd,
                             profile.file.Mode())) {
    const DWORD error = errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno);
    // The kept lines hold an edit the file never got.
    Forget(profile);
    SetLastError(error);
    return FALSE;
  }
  // The new file, kept open, is the one the next read finds at the path.
  profile.file.Adopt(new_fd);
  // The next read finds these bytes (or another program's, which it then takes apart).
  KeepBytes(profile, new_bytes);
  return TRUE;
}

}  // namespace

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer,
                              DWORD size, LPCSTR file_name) {
  if (!buffer || size == 0) return 0;
  std::lock_guard<std::mutex> lock(gProfileMutex);
  const ProfileText& text = Load(file_name);
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
    value = Load(file_name).Value(section, key);
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
  return EditFile(file_name, [&](ProfileText& text) {
    if (!key) return text.DeleteSection(section);
    if (!value) return text.DeleteKey(section, key);
    return text.SetValue(section, key, value);
  });
}

BOOL WritePrivateProfileValues(LPCSTR section, const ProfileValue* values, size_t count,
                               LPCSTR file_name) {
  bool storable = section != nullptr && (count == 0 || values != nullptr);
  for (size_t i = 0; storable && i < count; ++i)
    storable =
        values[i].key && values[i].value && IsStorable(section, values[i].key, values[i].value);
  if (!storable) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (count == 0) return TRUE;
  return EditFile(file_name, [&](ProfileText& text) {
    bool changed = false;
    for (size_t i = 0; i < count; ++i)
      changed = text.SetValue(section, values[i].key, values[i].value) || changed;
    return changed;
  });
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
