/*
** A second copy of a program, as its start-up looks for the first: enumerates the top-level
** windows, reads at most 80 characters of each title, takes one titled "Zarne" or
** beginning "Zarne - [", activates and restores it and ends. Prints "found <title> <class>
** <visible|hidden> <maximized|normal>" as the first program last published it (exit 0), or
** "none" (exit 1).
*/
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <cstdio>
#include <cstring>

namespace {

HWND runningInstance = nullptr;

BOOL CALLBACK FindRunningInstance(HWND hwnd, LPARAM) {
  char title[81];
  GetWindowText(hwnd, title, sizeof title);
  if (std::strcmp(title, "Zarne") == 0 || std::strncmp(title, "Zarne - [", 9) == 0) {
    runningInstance = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main() {
  EnumWindows(FindRunningInstance, 0);
  if (!runningInstance) {
    std::printf("none\n");
    return 1;
  }
  char title[81], className[81];
  GetWindowText(runningInstance, title, sizeof title);
  GetClassName(runningInstance, className, sizeof className);
  std::printf("found %s %s %s %s\n", title, className,
              IsWindowVisible(runningInstance) ? "visible" : "hidden",
              IsZoomed(runningInstance) ? "maximized" : "normal");
  SetActiveWindow(runningInstance);
  bool asked = ShowWindow(runningInstance, SW_RESTORE);
  return asked && IsWindow(runningInstance) ? 0 : 1;
}
