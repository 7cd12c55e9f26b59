/*
** Top-level windows across programs, on the window manager's side: publication of this
** program's top-level windows (their title followed through the frame widget), requests
** from other programs carried out with ShowWindow and SetForegroundWindow, and the other
** programs' windows answered by handle.
*/
#include "platform/user/cross_process_windows.h"

#include "platform/dde/foreign_windows.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QObject>

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace {

void Republish(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || window->IsChild() || window->destroying) return;  // on its way out
  PublishTopLevelWindow(hwnd, window->windowClass->name, window->text);
}

void CarryOutRequest(HWND local, int command) {
  if (!FindWindowObject(local)) return;
  if (command == kForeignActivate) SetForegroundWindow(local);
  else ShowWindow(local, command);
}

int CopyText(const std::string& text, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  int length = std::min<int>(static_cast<int>(text.size()), size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = 0;
  return length;
}

}  // namespace

void PublishTopLevel(HWND hwnd) {
  static bool handlerSet = false;
  if (!handlerSet) {
    handlerSet = true;
    SetForeignWindowRequestHandler(CarryOutRequest);
  }
  Republish(hwnd);
  // Every title change of a top-level window reaches its frame widget's title.
  WindowPtr window = FindWindowObject(hwnd);
  if (window && window->frame)
    QObject::connect(window->frame.data(), &QWidget::windowTitleChanged,
                     [hwnd] { Republish(hwnd); });
}

void UnpublishTopLevel(HWND hwnd) { UnpublishTopLevelWindow(hwnd); }

bool IsOtherProgramsWindow(HWND hwnd) { return IsForeignWindow(hwnd); }

BOOL EnumOtherProgramsWindows(WNDENUMPROC proc, LPARAM lParam) {
  for (const ForeignWindow& window : ListForeignWindows())
    if (!proc(window.hwnd, lParam)) return FALSE;
  return TRUE;
}

HWND FindOtherProgramsWindow(LPCSTR className, LPCSTR windowName) {
  if (className && IS_INTRESOURCE(className)) return nullptr;  // atoms are this program's own
  for (const ForeignWindow& window : ListForeignWindows()) {
    if (className && strcasecmp(window.className.c_str(), className) != 0) continue;
    if (windowName && strcasecmp(window.title.c_str(), windowName) != 0) continue;
    return window.hwnd;
  }
  return nullptr;
}

int OtherProgramsWindowText(HWND hwnd, LPSTR buffer, int size) {
  if (buffer && size > 0) buffer[0] = 0;
  ForeignWindow window;
  return FindForeignWindow(hwnd, &window) ? CopyText(window.title, buffer, size) : 0;
}

int OtherProgramsWindowTextLength(HWND hwnd) {
  ForeignWindow window;
  return FindForeignWindow(hwnd, &window) ? static_cast<int>(window.title.size()) : 0;
}

int OtherProgramsClassName(HWND hwnd, LPSTR buffer, int size) {
  ForeignWindow window;
  return FindForeignWindow(hwnd, &window) ? CopyText(window.className, buffer, size) : 0;
}

BOOL OtherProgramsWindowExists(HWND hwnd) { return FindForeignWindow(hwnd, nullptr) ? TRUE : FALSE; }

BOOL AskOtherProgramsWindow(HWND hwnd, int command) {
  return AskForeignWindow(hwnd, command) ? TRUE : FALSE;
}

BOOL ActivateOtherProgramsWindow(HWND hwnd) {
  return AskForeignWindow(hwnd, kForeignActivate) ? TRUE : FALSE;
}
