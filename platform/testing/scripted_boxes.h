/*
** Scripted message boxes for tests: every box is recorded (owner, caption, text, flags) and
** answered from a queue of answers, or with its default button when the queue is empty.
*/
#ifndef ZARNE_PLATFORM_TESTING_SCRIPTED_BOXES_H
#define ZARNE_PLATFORM_TESTING_SCRIPTED_BOXES_H

#include "platform/user/message_box.h"

#include <deque>
#include <functional>
#include <vector>

class ScriptedMessageBoxes {
 public:
  /* Installs itself as the presenter; the previous one comes back on destruction. */
  ScriptedMessageBoxes();
  ~ScriptedMessageBoxes();
  ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
  ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

  /* The next box shown is answered with this (IDOK, IDYES, ...). */
  void QueueAnswer(int answer);
  /* Runs for every box when it is shown, before it is answered (so a test can act while
  ** the program waits on the box). */
  void OnShow(std::function<void(const MessageBoxRequest&)> callback) {
    onShow_ = std::move(callback);
  }
  const std::vector<MessageBoxRequest>& Shown() const { return shown_; }
  void Clear() { shown_.clear(); }

 private:
  int Present(const MessageBoxRequest& box);
  std::deque<int> answers_;
  std::vector<MessageBoxRequest> shown_;
  std::function<void(const MessageBoxRequest&)> onShow_;
  MessageBoxPresenter previous_;
};

#endif
