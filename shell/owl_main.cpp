/*
** The main program's entry: one copy per desktop. A second copy finds the first one's frame
** by its title, brings it back and ends; otherwise the application runs.
*/
#include "shell/owl_main.h"

#include "shell/shell_globals.h"
#include "shell/zarne_app.h"

#include <cstring>

namespace {
constexpr int kTitleSize = 81;  // titles are read up to 80 characters
}

BOOL CALLBACK FindRunningInstance(HWND window, LPARAM) {
  char title[kTitleSize] = "";
  ::GetWindowText(window, title, sizeof title);
  if (std::strcmp(title, "Zarne") == 0 || std::strncmp(title, "Zarne - [", 9) == 0) {
    gRunningInstance = window;
    return FALSE;
  }
  return TRUE;
}

int OwlMain(int, char*[]) {
  auto* app = new ZarneApp;
  gRunningInstance = nullptr;
  EnumWindows(FindRunningInstance, 0);
  if (gRunningInstance) {
    SetActiveWindow(gRunningInstance);
    ShowWindow(gRunningInstance, SW_RESTORE);
    delete app;
    return 0;
  }
  int result = app->Run();
  delete app;
  return result;
}
