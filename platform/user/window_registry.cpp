/*
** The handle table of windows, the top-level z-order list and the class table.
** Handles are small numbers that are never reused within a run, so a stale HWND can never
** reach a newer window.
*/
#include "platform/user/window_object.h"

#include "platform/gdi/gdi_surface.h"
#include "platform/user/program_name.h"
#include "platform/user/system_classes.h"
#include "platform/user/system_info.h"

#include <QApplication>

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_map>

namespace {

struct WindowTable {
  std::unordered_map<uintptr_t, WindowPtr> byHandle;
  std::vector<HWND> topLevel;
  uintptr_t nextHandle = 0x10010;
  // The handle looked up last and its entry: a run of messages to one window (a list's
  // fill) finds it without hashing. Entries of the map stay where they are until erased.
  uintptr_t lastHandle = 0;
  const WindowPtr* lastEntry = nullptr;
};

WindowTable& Windows() {
  static WindowTable table;
  return table;
}

}  // namespace

WindowObject* PeekWindowObject(HWND hwnd) {
  WindowTable& table = Windows();
  uintptr_t handle = reinterpret_cast<uintptr_t>(hwnd);
  if (handle != table.lastHandle || !table.lastEntry) {
    auto it = table.byHandle.find(handle);
    if (it == table.byHandle.end()) return nullptr;
    table.lastHandle = handle;
    table.lastEntry = &it->second;
  }
  WindowObject* window = table.lastEntry->get();
  return window->destroyed ? nullptr : window;
}

WindowPtr FindWindowObject(HWND hwnd) {
  if (!PeekWindowObject(hwnd)) return nullptr;
  return *Windows().lastEntry;
}

WindowPtr RegisterWindowObject(std::shared_ptr<WindowClass> windowClass) {
  auto window = std::make_shared<WindowObject>();
  WindowTable& table = Windows();
  uintptr_t value = table.nextHandle;
  table.nextHandle += 4;
  window->hwnd = reinterpret_cast<HWND>(value);
  window->windowClass = std::move(windowClass);
  window->windowClass->windowCount++;
  table.byHandle[value] = window;
  return window;
}

void ForgetWindowObject(HWND hwnd) {
  auto& table = Windows().byHandle;
  auto it = table.find(reinterpret_cast<uintptr_t>(hwnd));
  if (it == table.end()) return;
  it->second->destroyed = true;
  it->second->windowClass->windowCount--;
  if (Windows().lastEntry == &it->second) Windows().lastEntry = nullptr;
  table.erase(it);
}

std::vector<HWND> TopLevelWindows() { return Windows().topLevel; }

void AddTopLevelWindow(HWND hwnd, bool atTop) {
  auto& list = Windows().topLevel;
  if (atTop) list.insert(list.begin(), hwnd);
  else list.push_back(hwnd);
  KeepTopmostWindowsFirst();
}

void KeepTopmostWindowsFirst() {
  auto& list = Windows().topLevel;
  std::stable_partition(list.begin(), list.end(), [](HWND hwnd) {
    WindowPtr window = FindWindowObject(hwnd);
    return window && (window->exStyle & WS_EX_TOPMOST);
  });
}

void RemoveTopLevelWindow(HWND hwnd) {
  auto& list = Windows().topLevel;
  list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
}

std::vector<HWND>& SiblingList(const WindowObject& window) {
  if (window.IsChild()) {
    WindowPtr parent = FindWindowObject(window.parent);
    if (parent) return parent->children;
  }
  return Windows().topLevel;
}

void EnsureSystemClasses() {
  static bool ready = false;
  if (ready) return;
  ready = true;
  GdiSetSystemColorProvider(GetSysColor);  // class brushes (COLOR_xxx + 1) follow our scheme
  RegisterSystemClasses();
}

namespace {
std::string& ProgramName() {
  static std::string name;
  return name;
}
}  // namespace

void SetProgramName(LPCSTR name) {
  ProgramName() = name ? name : "";
  // An untitled window shows this name, not the executable's.
  if (QCoreApplication::instance() && !ProgramName().empty())
    QCoreApplication::setApplicationName(QString::fromLatin1(ProgramName().c_str()));
}

bool EnsureWindowSystem() {
  EnsureSystemClasses();
  if (!QCoreApplication::instance()) {
    // A program that never made its application object still gets working windows.
    static int argc = 1;
    static char name[] = "zarne";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    if (!ProgramName().empty())
      QCoreApplication::setApplicationName(QString::fromLatin1(ProgramName().c_str()));
  }
  return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}
