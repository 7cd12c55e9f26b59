/*
** The value-form helpers that reach the system: today's date, the time key that orders new
** records, and the directory checks with their boxes (texts from the program's string table).
*/
#include "tableaccess/value_forms.h"

#include "platform/kernel/local_time.h"
#include "platform/kernel/paths.h"
#include "platform/user/message_box.h"
#include "tableaccess/bounded_text.h"
#include "tableaccess/system_boxes.h"

#include <cstring>
#include <new>

namespace {

enum StringId : UINT {
  kMessageCaption = 1023,
  kAskCreateDirectory = 1047,
  kDirectoryRequired = 1048,
  kNoMemory = 1049,
};

constexpr double kHundredthsPerDay = 8640000.0;

bool DirectoryExists(LPCSTR path) {
  DWORD attributes = GetFileAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool EnsureLevel(LPCSTR path) { return DirectoryExists(path) || CreateDirectory(path, nullptr); }

double TimeKeyNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  LONG today = kBlankDate;
  EncodeDate(today, now.wMonth, now.wDay, now.wYear);
  double hundredths =
      ((now.wHour * 60.0 + now.wMinute) * 60.0 + now.wSecond) * 100.0 + now.wMilliseconds / 10;
  return TimeKeyOf(today, hundredths);
}

}  // namespace

double TimeKeyOf(LONG dateNumber, double hundredthOfDay) {
  return dateNumber + hundredthOfDay / kHundredthsPerDay;
}

LONG TodayDate() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  LONG today = kBlankDate;
  EncodeDate(today, now.wMonth, now.wDay, now.wYear);
  return today;
}

double MakeTimeKey() {
  /* Keys order new records: wait for the clock to move rather than issue one twice. */
  double key = TimeKeyNow();
  while (key == gLastTimeKey) key = TimeKeyNow();
  gLastTimeKey = key;
  return key;
}

void ShowNoMemory() { ShowSystemError(kNoMemory); }

BOOL MakeDirectoryPath(LPCSTR path) {
  if (path == nullptr) return FALSE;
  size_t length = std::strlen(path);
  char* copy = new (std::nothrow) char[length + 1];
  if (copy == nullptr) {
    ShowNoMemory();
    return FALSE;
  }
  std::memcpy(copy, path, length + 1);
  /* Skip the drive ("C:\"): it is never created. */
  char* level = std::strchr(copy, '\\');
  bool ok = true;
  while (ok && level != nullptr && (level = std::strchr(level + 1, '\\')) != nullptr) {
    *level = '\0';
    ok = EnsureLevel(copy);
    *level = '\\';
  }
  ok = ok && EnsureLevel(copy);
  delete[] copy;
  return ok ? TRUE : FALSE;
}

BOOL EnsureDirectory(LPCSTR path) {
  if (path != nullptr) {
    char question[sizeof(ResourceString::text) + MAX_PATH];
    BoundedText(question, sizeof question).Format(ResourceString(kAskCreateDirectory).text, path);
    int answer = MessageBox(FocusOwner(), question, ResourceString(kMessageCaption).text, MB_YESNO);
    if (answer == IDYES && MakeDirectoryPath(path)) return TRUE;
  }
  ShowSystemError(kDirectoryRequired);
  return FALSE;
}
