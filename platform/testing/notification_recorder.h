/*
** Records the WM_COMMAND messages a window receives: it subclasses the window (a plain
** parent or a dialog), keeps each command's id, code and sender in order, runs an optional
** callback inside the message (while the sender still waits for it), then passes the
** message on to the window's own procedure, unless the test answers it itself. What the
** test asks of the sender while a notification is in progress (through Ask) is recorded
** with its answer, so a test can show what state the child was in when it notified.
*/
#ifndef ZARNE_PLATFORM_TESTING_NOTIFICATION_RECORDER_H
#define ZARNE_PLATFORM_TESTING_NOTIFICATION_RECORDER_H

#include "platform/user/winuser.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

struct RecordedCommand {
  int id;
  int code;
  HWND sender;
};

/* A message the test sent to the notifying child during a notification, with its answer. */
struct RecordedQuery {
  std::size_t command;  // index into Commands() of the notification in progress
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result;
};

class NotificationRecorder {
 public:
  explicit NotificationRecorder(HWND window);
  ~NotificationRecorder();
  NotificationRecorder(const NotificationRecorder&) = delete;
  NotificationRecorder& operator=(const NotificationRecorder&) = delete;

  /* Called inside each WM_COMMAND after it is recorded. */
  void OnCommand(std::function<void(const RecordedCommand&)> callback) {
    callback_ = std::move(callback);
  }
  /* Called inside each WM_COMMAND after the OnCommand callback: a value is the reply the
  ** sender gets, and the window's own procedure does not see the command; no value passes
  ** it on as usual. */
  void AnswerWith(std::function<std::optional<LRESULT>(const RecordedCommand&)> answer) {
    answer_ = std::move(answer);
  }
  /* Sends a message to the sender of the notification in progress and records it with its
  ** answer; outside a notification it sends nothing, records nothing and answers 0. */
  LRESULT Ask(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  const std::vector<RecordedQuery>& Queries() const { return queries_; }
  const std::vector<RecordedCommand>& Commands() const { return commands_; }
  /* The codes received, in order, from one sender (all senders for NULL). */
  std::vector<int> Codes(HWND sender = nullptr) const;
  int Count(int code) const;
  void Clear() {
    commands_.clear();
    queries_.clear();
  }

 private:
  static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_;
  WNDPROC previous_;
  std::vector<RecordedCommand> commands_;
  std::vector<RecordedQuery> queries_;
  std::function<void(const RecordedCommand&)> callback_;
  std::function<std::optional<LRESULT>(const RecordedCommand&)> answer_;
  int depth_ = 0;            // notifications in progress (a callback may cause another)
  std::size_t current_ = 0;  // the innermost one
};

#endif
