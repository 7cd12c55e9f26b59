/*
** Termination requests: the signal handler only writes a byte to a pipe (nothing else is
** safe there); the pipe's reader runs in the Qt event loop and posts WM_CLOSE.
*/
#include "platform/framework/termination.h"

#include "platform/user/message_queue.h"
#include "platform/user/window_messages.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Owner: platform/framework.
int gPipe[2] = {-1, -1};
/* The signals received so far, one bit each. */
volatile sig_atomic_t gSignalled = 0;
bool gClosePending = false;
HWND (*gMainWindow)() = nullptr;

/* A logout sends SIGTERM and SIGHUP together: that is one request. Only the same signal
   again, while the closing is under way, means something still wants the program gone. */
void OnTerminationSignal(int signalNumber) {
  int bit = signalNumber == SIGHUP ? 2 : 1;
  if (gSignalled & bit) {
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
    return;
  }
  bool first = gSignalled == 0;
  gSignalled = gSignalled | bit;
  if (!first) return;
  char byte = static_cast<char>(signalNumber);
  ssize_t written = write(gPipe[1], &byte, 1);
  (void)written;  // a full pipe already holds a request
}

void DeliverPendingClose() {
  if (!gClosePending || !gMainWindow) return;
  HWND main = gMainWindow();
  if (!main) return;
  gClosePending = false;
  PostMessage(main, WM_CLOSE, 0, 0);
}

void RequestClose() {
  gClosePending = true;
  DeliverPendingClose();
}

void DrainPipe() {
  char bytes[16];
  while (read(gPipe[0], bytes, sizeof bytes) > 0) {}
  RequestClose();
}

}  // namespace

void CatchTerminationSignals() {
  if (gPipe[0] >= 0) return;
  if (pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  sigaddset(&action.sa_mask, SIGTERM);  // the handler sees one signal at a time
  sigaddset(&action.sa_mask, SIGHUP);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

void WatchForTermination(HWND (*mainWindow)()) {
  gMainWindow = mainWindow;
  static QSocketNotifier* notifier = nullptr;
  if (!notifier && gPipe[0] >= 0 && QCoreApplication::instance()) {
    notifier = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] { DrainPipe(); });
#ifndef QT_NO_SESSIONMANAGER
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
      QObject::connect(gui, &QGuiApplication::commitDataRequest,
                       [](QSessionManager&) { RequestClose(); });
#endif
  }
  DeliverPendingClose();
}
