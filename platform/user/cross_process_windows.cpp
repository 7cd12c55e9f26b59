/*
** Top-level windows across programs, on the window manager's side: publication of this
** program's top-level windows (their title followed through the frame widget, their
** visible and maximized state after each change), requests from other programs posted as
** WM_SYSCOMMAND or carried out with SetForegroundWindow, and the other programs' windows
** answered by handle.
*/
#include "platform/user/cross_process_windows.h"

#include "platform/dde/foreign_windows.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QAbstractEventDispatcher>
#include <QObject>
#include <QPointer>

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace {

void Republish(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || window->IsChild() || window->destroying) return;  // on its way out
  ForeignWindowState state;
  state.visible = (window->style & WS_VISIBLE) != 0;
  state.maximized = (window->style & WS_MAXIMIZE) != 0;
  state.minimized = (window->style & WS_MINIMIZE) != 0;
  PublishTopLevelWindow(hwnd, window->windowClass->name, window->text, state);
}

/* The system command a show request stands for; 0 for one no window procedure is asked. */
WPARAM SysCommandOfShow(int command) {
  switch (command) {
    case SW_SHOWNORMAL:
    case SW_SHOW:
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: return SC_RESTORE;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: return SC_MINIMIZE;
    case SW_SHOWMAXIMIZED: return SC_MAXIMIZE;
    default: return 0;  // hiding another program's window is not asked of it
  }
}

/* A show request goes through the window procedure as the user's own command would, so a
** program may refuse it (one still starting keeps its frame hidden). */
void CarryOutRequest(HWND local, int command) {
  if (!FindWindowObject(local)) return;
  if (command == kForeignActivate) {
    SetForegroundWindow(local);
    return;
  }
  if (WPARAM sysCommand = SysCommandOfShow(command))
    PostMessage(local, WM_SYSCOMMAND, sysCommand, 0);
}

ForeignWindowState PublishedState(HWND hwnd) {
  ForeignWindow window;
  return FindForeignWindow(hwnd, &window) ? window.state : ForeignWindowState{};
}

int CopyText(const std::string& text, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  int length = std::min<int>(static_cast<int>(text.size()), size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = 0;
  return length;
}

/* Every wait of an event loop of this thread first writes what a hold kept back. */
void FlushBeforeEachWait() {
  static QPointer<QAbstractEventDispatcher> connected;
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (!dispatcher || dispatcher == connected) return;
  connected = dispatcher;
  QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [] { FlushWindowList(); });
}

}  // namespace

PublicationHold::PublicationHold() {
  FlushBeforeEachWait();
  HoldWindowListWrites();
}

PublicationHold::~PublicationHold() { ReleaseWindowListWrites(); }

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

void RepublishTopLevel(HWND hwnd) { Republish(hwnd); }

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

BOOL OtherProgramsWindowExists(HWND hwnd) {
  return FindForeignWindow(hwnd, nullptr) ? TRUE : FALSE;
}

BOOL OtherProgramsWindowVisible(HWND hwnd) { return PublishedState(hwnd).visible ? TRUE : FALSE; }
BOOL OtherProgramsWindowZoomed(HWND hwnd) { return PublishedState(hwnd).maximized ? TRUE : FALSE; }
BOOL OtherProgramsWindowIconic(HWND hwnd) { return PublishedState(hwnd).minimized ? TRUE : FALSE; }

BOOL AskOtherProgramsWindow(HWND hwnd, int command) {
  return AskForeignWindow(hwnd, command) ? TRUE : FALSE;
}

BOOL ActivateOtherProgramsWindow(HWND hwnd) {
  return AskForeignWindow(hwnd, kForeignActivate) ? TRUE : FALSE;
}
