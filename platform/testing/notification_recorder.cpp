/*
** The notification recorder: a subclass procedure that finds its recorder by window.
*/
#include "platform/testing/notification_recorder.h"

#include <map>

namespace {

std::map<HWND, NotificationRecorder*>& Recorders() {
  static std::map<HWND, NotificationRecorder*> recorders;
  return recorders;
}

}  // namespace

NotificationRecorder::NotificationRecorder(HWND window) : window_(window) {
  Recorders()[window] = this;
  previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
      window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&NotificationRecorder::Procedure)));
}

NotificationRecorder::~NotificationRecorder() {
  if (IsWindow(window_) && previous_)
    SetWindowLongPtr(window_, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  Recorders().erase(window_);
}

std::vector<int> NotificationRecorder::Codes(HWND sender) const {
  std::vector<int> codes;
  for (const RecordedCommand& command : commands_)
    if (!sender || command.sender == sender) codes.push_back(command.code);
  return codes;
}

int NotificationRecorder::Count(int code) const {
  int count = 0;
  for (const RecordedCommand& command : commands_) count += command.code == code;
  return count;
}

LRESULT NotificationRecorder::Ask(UINT message, WPARAM wParam, LPARAM lParam) {
  if (depth_ == 0 || current_ >= commands_.size()) return 0;
  std::size_t command = current_;
  HWND sender = commands_[command].sender;
  LRESULT result = SendMessage(sender, message, wParam, lParam);
  queries_.push_back(RecordedQuery{command, message, wParam, lParam, result});
  return result;
}

LRESULT NotificationRecorder::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto found = Recorders().find(window);
  if (found == Recorders().end()) return DefWindowProc(window, message, wParam, lParam);
  NotificationRecorder* recorder = found->second;
  WNDPROC previous = recorder->previous_;
  if (message != WM_COMMAND) return CallWindowProc(previous, window, message, wParam, lParam);

  RecordedCommand command{LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)};
  recorder->commands_.push_back(command);
  std::size_t outer = recorder->current_;
  recorder->current_ = recorder->commands_.size() - 1;
  ++recorder->depth_;
  if (recorder->callback_) recorder->callback_(command);
  std::optional<LRESULT> answer;
  if (recorder->answer_) answer = recorder->answer_(command);
  --recorder->depth_;
  recorder->current_ = outer;
  if (answer) return *answer;
  // The callbacks may have destroyed the window; its procedure then has nothing to see.
  if (!IsWindow(window)) return 0;
  return CallWindowProc(previous, window, message, wParam, lParam);
}
