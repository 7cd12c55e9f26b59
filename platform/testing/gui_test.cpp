/*
** The GUI test fixture.
*/
#include "platform/testing/gui_test.h"

#include "platform/user/message_queue.h"
#include "platform/user/window_manager.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <vector>

void EnsureTestApplication() {
  if (QCoreApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "zarne-test";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives as long as the test program
}

void GuiTest::SetUp() {
  EnsureTestApplication();
  const char* old = std::getenv("ZARNE_ROOT");
  hadRoot_ = old != nullptr;
  if (old) previousRoot_ = old;
  std::string pattern = (std::filesystem::temp_directory_path() / "zarne-gui-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back(0);
  if (mkdtemp(buffer.data())) root_ = buffer.data();
  setenv("ZARNE_ROOT", root_.c_str(), 1);
  boxes_ = std::make_unique<ScriptedMessageBoxes>();
}

void GuiTest::TearDown() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND hwnd, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  for (HWND hwnd : windows) DestroyWindow(hwnd);
  ProcessPendingMessages();
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;  // a test's quit ends with the test
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  boxes_.reset();
  if (hadRoot_) setenv("ZARNE_ROOT", previousRoot_.c_str(), 1);
  else unsetenv("ZARNE_ROOT");
  std::error_code ignored;
  if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
}
