/*
** Directory listings for list boxes: the files of a directory that match a Windows pattern
** (LB_DIR, CB_DIR, DlgDirList), found through the kernel's path mapping. Names are matched
** without regard to case, as the original file system does, and shown as they are stored.
*/
#include "platform/user/listbox_control.h"

#include "platform/kernel/paths.h"
#include "platform/kernel/string_calls.h"
#include "platform/kernel/text.h"
#include "platform/user/message_queue.h"
#include "platform/user/text_1252.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace {

std::string Upper(std::string text) {
  if (!text.empty()) CharUpperBuff(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

/* '*' any run, '?' any one character; both texts already upper-cased. */
bool WildcardMatch(const char* pattern, const char* name) {
  if (*pattern == 0) return *name == 0;
  if (*pattern == '*') {
    for (const char* rest = name;; ++rest) {
      if (WildcardMatch(pattern + 1, rest)) return true;
      if (*rest == 0) return false;
    }
  }
  if (*name == 0) return false;
  if (*pattern != '?' && *pattern != *name) return false;
  return WildcardMatch(pattern + 1, name + 1);
}

bool NameMatches(const std::string& pattern, const std::string& name) {
  // "*.*" names every file, also those without an extension, as on the original platform.
  if (pattern == "*.*" || pattern == "*") return true;
  return WildcardMatch(Upper(pattern).c_str(), Upper(name).c_str());
}

/* Splits "dir\pattern" at its last separator; no separator leaves the directory empty. */
void SplitPattern(const std::string& request, std::string& directory, std::string& pattern) {
  size_t cut = request.find_last_of("\\/:");
  if (cut == std::string::npos) {
    directory.clear();
    pattern = request;
    return;
  }
  directory = request.substr(0, cut + 1);
  pattern = request.substr(cut + 1);
  // "C:\" and "\" stay as they are; "C:\ZARNE\" loses its last separator.
  if (directory.size() > 1 && (directory.back() == '\\' || directory.back() == '/') &&
      directory[directory.size() - 2] != ':')
    directory.pop_back();
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH + 1] = {};
  DWORD length = GetCurrentDirectory(sizeof buffer, buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer) : std::string();
}

bool HasWildcard(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

/* A request that names a directory itself lists all of it. */
void ResolvePattern(const std::string& request, std::string& directory, std::string& pattern) {
  if (!request.empty() && !HasWildcard(request) &&
      GetFileAttributes(request.c_str()) != INVALID_FILE_ATTRIBUTES &&
      (GetFileAttributes(request.c_str()) & FILE_ATTRIBUTE_DIRECTORY)) {
    directory = request;
    pattern = "*.*";
    return;
  }
  SplitPattern(request, directory, pattern);
  if (pattern.empty()) pattern = "*.*";
}

}  // namespace

bool ListMatchingFiles(const char* pathSpec, std::vector<std::string>& names) {
  names.clear();
  std::string directory, pattern;
  ResolvePattern(pathSpec ? pathSpec : "", directory, pattern);
  std::string host =
      HostPathFromWindowsPath(directory.empty() ? CurrentDirectory().c_str() : directory.c_str());
  QDir dir(QString::fromStdString(host));
  if (host.empty() || !dir.exists()) return false;
  const QFileInfoList entries =
      dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden);
  for (const QFileInfo& entry : entries) {
    std::string name = EncodeWindows1252(entry.fileName());
    if (NameMatches(pattern, name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return lstrcmpi(a.c_str(), b.c_str()) < 0;
  });
  return true;
}

int DlgDirList(HWND dialog, LPSTR pathSpec, int listBoxId, int staticPathId, UINT fileType) {
  std::string request = pathSpec && *pathSpec ? pathSpec : "*.*";
  std::string directory, pattern;
  ResolvePattern(request, directory, pattern);
  if (!directory.empty() && !SetCurrentDirectory(directory.c_str())) return FALSE;
  if (pathSpec) {
    // The caller's buffer holds at least the request it gave; the pattern is never longer.
    if (std::strlen(pathSpec) >= pattern.size()) std::strcpy(pathSpec, pattern.c_str());
  }
  if (staticPathId) {
    std::string current = CurrentDirectory();
    if (HWND label = GetDlgItem(dialog, staticPathId)) SetWindowText(label, current.c_str());
  }
  if (listBoxId) {
    HWND list = GetDlgItem(dialog, listBoxId);
    if (!list) return FALSE;
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    SendMessage(list, LB_DIR, fileType, reinterpret_cast<LPARAM>(pattern.c_str()));
  }
  return TRUE;
}
