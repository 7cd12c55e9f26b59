/*
** Records the WM_COMMAND messages a window receives: it subclasses the window (a plain
** parent or a dialog), keeps each command's id, code and sender in order, runs an optional
** callback inside the message (while the sender still waits for it), then passes the
** message on to the window's own procedure.
*/
#ifndef ZARNE_PLATFORM_TESTING_NOTIFICATION_RECORDER_H
#define ZARNE_PLATFORM_TESTING_NOTIFICATION_RECORDER_H

#include "platform/user/winuser.h"

#include <functional>
#include <vector>

struct RecordedCommand {
  int id;
  int code;
  HWND sender;
};

class NotificationRecorder {
 public:
  explicit NotificationRecorder(HWND window);
  ~NotificationRecorder();
  NotificationRecorder(const NotificationRecorder&) = delete;
  NotificationRecorder& operator=(const NotificationRecorder&) = delete;

  /* Called inside each WM_COMMAND after it is recorded. */
  void OnCommand(std::function<void(const RecordedCommand&)> callback) { callback_ = std::move(callback); }
  const std::vector<RecordedCommand>& Commands() const { return commands_; }
  /* The codes received, in order, from one sender (all senders for NULL). */
  std::vector<int> Codes(HWND sender = nullptr) const;
  int Count(int code) const;
  void Clear() { commands_.clear(); }

 private:
  static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_;
  WNDPROC previous_;
  std::vector<RecordedCommand> commands_;
  std::function<void(const RecordedCommand&)> callback_;
};

#endif
