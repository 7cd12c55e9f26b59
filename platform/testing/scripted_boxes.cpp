/*
** Scripted message boxes: record and answer.
*/
#include "platform/testing/scripted_boxes.h"

ScriptedMessageBoxes::ScriptedMessageBoxes() {
  previous_ = SetMessageBoxPresenter([this](const MessageBoxRequest& box) { return Present(box); });
}

ScriptedMessageBoxes::~ScriptedMessageBoxes() { SetMessageBoxPresenter(previous_); }

void ScriptedMessageBoxes::QueueAnswer(int answer) { answers_.push_back(answer); }

int ScriptedMessageBoxes::Present(const MessageBoxRequest& box) {
  shown_.push_back(box);
  if (onShow_) onShow_(box);
  if (answers_.empty()) return DefaultMessageBoxAnswer(box.type);
  int answer = answers_.front();
  answers_.pop_front();
  return answer;
}
