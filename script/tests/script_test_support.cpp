/*
** The shared helpers of the script tests.
*/
#include "script/tests/script_test_support.h"

#include "script/script_globals.h"
#include "tableaccess/field_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

BoxRecorder::BoxRecorder() {
  previous_ = SetMessageBoxPresenter([this](const MessageBoxRequest& box) {
    boxes_.push_back(box);
    return IDOK;
  });
}

BoxRecorder::~BoxRecorder() { SetMessageBoxPresenter(previous_); }

void CaptureLocals(const TVariableList& locals, void* context) {
  auto* run = static_cast<ScriptRun*>(context);
  run->locals.clear();
  for (const TVariableNode* node = locals.First(); node; node = node->next) {
    CapturedVariable captured;
    captured.type = node->type;
    captured.value = node->value;
    captured.text = node->text ? node->text : "";
    captured.bound = node->field != nullptr;
    run->locals[node->name] = captured;
  }
}

ScriptRun RunCapturing(const char* text, TScriptFieldBinding* binding) {
  ScriptRun run;
  BoxRecorder recorder;
  TZBasic basic(binding);
  basic.SetLocalsObserver(CaptureLocals, &run);
  run.resumeAt = basic.RunScript(text);
  run.boxes = recorder.Boxes();
  return run;
}

ScriptDecimal Dec(const char* text) {
  ScriptDecimal value;
  DecimalStatus status;
  if (!ScriptDecimal::ParseText(text, ScriptDecimal::kAllPlaces, &value, &status)) std::abort();
  return value;
}

std::string TestDataPath(const std::string& relative) {
  const char* root = std::getenv("ZARNE_TEST_DATA");
  return std::string(root ? root : "script/tests") + "/" + relative;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ErrorBoxText(int line, const std::string& message) {
  return "Line " + std::to_string(line) + "\n" + message + ".";
}
