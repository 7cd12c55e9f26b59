/*
** A second program for the window-lookup tests.
**   window_helper find              finds a window titled "Zarne" or beginning "Zarne - [",
**                                   prints "found <title>", asks it to activate and restore
**   window_helper list              prints "<class>|<title>" for every other program's window
**   window_helper publish <title>   publishes one window, prints "ready" and serves requests
*/
#include "platform/dde/foreign_windows.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kRestore = 9;  // SW_RESTORE

bool IsRunningCopyTitle(const std::string& title) {
  return title == "Zarne" || title.compare(0, 9, "Zarne - [") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "find") {
    for (const ForeignWindow& window : ListForeignWindows()) {
      if (!IsRunningCopyTitle(window.title)) continue;
      std::printf("found %s\n", window.title.c_str());
      bool asked = AskForeignWindow(window.hwnd, kForeignActivate) &&
                   AskForeignWindow(window.hwnd, kRestore);
      return asked ? 0 : 1;
    }
    std::printf("none\n");
    return 1;
  }
  if (mode == "list") {
    for (const ForeignWindow& window : ListForeignWindows())
      std::printf("%s|%s\n", window.className.c_str(), window.title.c_str());
    return 0;
  }
  if (mode == "publish" && argc > 2) {
    PublishTopLevelWindow(reinterpret_cast<HWND>(0x100), "Frame", argv[2]);
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
  }
  return 2;
}
