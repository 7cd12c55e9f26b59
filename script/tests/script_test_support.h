/*
** Helpers shared by the script tests: a recorder for the interpreter's error boxes, a run
** that captures the run's own variables before they are freed, the fake statement
** window (fake_binding.h), and access to the test data folder.
*/
#ifndef ZARNE_SCRIPT_TESTS_SCRIPT_TEST_SUPPORT_H
#define ZARNE_SCRIPT_TESTS_SCRIPT_TEST_SUPPORT_H

#include "platform/user/message_box.h"
#include "script/script_field_binding.h"
#include "script/tests/fake_binding.h"
#include "script/zbasic.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

/* Records every box while alive and answers OK. */
class BoxRecorder {
 public:
  BoxRecorder();
  ~BoxRecorder();
  const std::vector<MessageBoxRequest>& Boxes() const { return boxes_; }

 private:
  std::vector<MessageBoxRequest> boxes_;
  MessageBoxPresenter previous_;
};

/* A variable as a run left it. */
struct CapturedVariable {
  LONG type = kVariableNone;
  ScriptDecimal value;
  std::string text;
  bool bound = false;
};

/* Runs one script (with an optional binding) and keeps its variables and boxes. */
struct ScriptRun {
  const char* resumeAt = nullptr;
  std::map<std::string, CapturedVariable> locals;
  std::vector<MessageBoxRequest> boxes;
};
ScriptRun RunCapturing(const char* text, TScriptFieldBinding* binding = nullptr);
void CaptureLocals(const TVariableList& locals, void* run);

/* The decimal written in text, exactly ("2.35", "-1e3"). */
ScriptDecimal Dec(const char* text);

/* Path of a file under the module's tests folder. */
std::string TestDataPath(const std::string& relative);
std::string ReadTextFile(const std::string& path);

/* "Line <line>\n<message>." as the error box shows it. */
std::string ErrorBoxText(int line, const std::string& message);

#endif
