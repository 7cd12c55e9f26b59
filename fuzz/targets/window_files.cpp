/*
** Fuzz target: the list of top-level windows another program publishes in the runtime
** directory, as this program's window calls read it (the single-instance check enumerates
** them and reads each title into 81 bytes). The input is that program's list file; the
** program itself is played by a lock this process holds under another pid. Each window
** enumerated (the first few and the last are looked at) must be a window, answer its title
** within the caller's buffer and the size a title may have, and be, when asked about by
** itself, what the whole list holds for it; there are never more windows than lines in the
** file.
*/
#include "fuzz/fuzz_support.h"
#include "platform/dde/dde_socket.h"
#include "platform/dde/foreign_windows.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/winuser.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kOtherPid = 999983;  // the publishing program, played by this process's lock
constexpr int kMaxTitle = 4096;    // what a published title is cut to
constexpr int kTitleBuffer = 81;   // the single-instance check's buffer
constexpr size_t kWindowsChecked = 4;

std::string gListPath;
int gLockFd = -1;

BOOL CALLBACK Collect(HWND window, LPARAM found) {
  reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

/* A question about one window answers what the whole list says of that window (the first
   line of its number, when a damaged list holds several). */
void CheckAgainstList(const ForeignWindow& listed) {
  ForeignWindow found;
  FuzzRequire(FindForeignWindow(listed.hwnd, &found), "a listed window is found");
  FuzzRequire(found.hwnd == listed.hwnd && found.title == listed.title &&
                  found.className == listed.className && found.state == listed.state,
              "a window found by itself is the window the list holds");
}

/* Each question reads the list again: the first window and the last are asked everything,
   the others only what depends most on their own line (being a window, their cut title). */
void CheckWindow(HWND window, bool everything) {
  FuzzRequire(IsWindow(window), "an enumerated window is a window");
  char title[kTitleBuffer + 1];
  std::memset(title, '#', sizeof title);
  int length = GetWindowText(window, title, kTitleBuffer);
  FuzzRequire(length >= 0 && length < kTitleBuffer && title[length] == '\0',
              "a title ends inside its buffer");
  FuzzRequire(title[kTitleBuffer] == '#', "nothing is written past the buffer");
  if (!everything) return;
  int whole = GetWindowTextLength(window);
  FuzzRequire(whole >= length && whole <= kMaxTitle, "a title is no longer than a title may be");
  char className[16];
  int classLength = GetClassName(window, className, sizeof className);
  FuzzRequire(classLength >= 0 && classLength < static_cast<int>(sizeof className),
              "a class name ends inside its buffer");
  IsWindowVisible(window);
  IsZoomed(window);
  IsIconic(window);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::string root = FuzzScratchDirectory() + "/root";
  ::mkdir(root.c_str(), 0700);
  setenv("ZARNE_ROOT", root.c_str(), 1);
  unsetenv("XDG_RUNTIME_DIR");  // the runtime directory inside the scratch root
  std::string base = dde::RuntimeDirectory() + "/windows." + std::to_string(kOtherPid);
  gListPath = base;
  // The other program's lock, held as long as this process lives.
  gLockFd = open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  FuzzRequire(gLockFd >= 0 && fcntl(gLockFd, F_OFD_SETLK, &lock) == 0,
              "the other program's lock is held");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzWriteFile(gListPath, data, size);
  std::vector<HWND> windows;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
  size_t lines = std::count(data, data + size, '\n') + 1;
  FuzzRequire(windows.size() <= lines, "no more windows than lines");
  // Each call on one window reads the whole list again, so checking every window of a long
  // list would cost its length squared; the first windows and the last stand for the rest
  // (every line was read into a window by the enumeration already).
  for (size_t i = 0; i < windows.size(); ++i)
    if (i < kWindowsChecked || i + 1 == windows.size())
      CheckWindow(windows[i], i == 0 || i + 1 == windows.size());
  std::vector<ForeignWindow> listed = ListForeignWindows();
  FuzzRequire(listed.size() == windows.size(), "the list and the enumeration agree");
  std::vector<HWND> compared;
  for (size_t i = 0; i < listed.size() && compared.size() < kWindowsChecked; ++i) {
    if (std::find(compared.begin(), compared.end(), listed[i].hwnd) != compared.end()) continue;
    compared.push_back(listed[i].hwnd);
    CheckAgainstList(listed[i]);
  }
  // The single-instance check's search by title, with the first title the file holds.
  if (!windows.empty()) {
    char title[kTitleBuffer];
    GetWindowText(windows.front(), title, sizeof title);
    FindWindow(nullptr, title);
  }
  return 0;
}
