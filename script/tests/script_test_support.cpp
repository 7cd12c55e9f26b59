/*
** The shared helpers of the script tests.
*/
#include "script/tests/script_test_support.h"

#include "script/script_globals.h"

#include <cstdlib>
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

FakeField& FakeBinding::Add(FakeField field) {
  owned_.push_back(std::make_unique<FakeField>(std::move(field)));
  fields_.push_back(owned_.back().get());
  return *owned_.back();
}

FakeField& FakeBinding::Field(const std::string& name) {
  for (FakeField* field : fields_)
    if (field->name == name) return *field;
  std::abort();
}

int FakeBinding::StoredCount(const std::string& name) const {
  auto it = stores_.find(name);
  return it == stores_.end() ? 0 : it->second;
}

FakeField& FakeBinding::Of(const TFieldNode* field) {
  return *reinterpret_cast<FakeField*>(const_cast<TFieldNode*>(field));
}

const TFieldNode* FakeBinding::FindScriptField(const char* name) {
  for (bool statementList : {true, false})
    for (FakeField* field : fields_)
      if (field->statementList == statementList && field->name == name)
        return reinterpret_cast<const TFieldNode*>(field);
  return nullptr;
}

const TFieldNode* FakeBinding::FindStatementField(const char* name) {
  for (FakeField* field : fields_)
    if (field->statementList && field->name == name)
      return reinterpret_cast<const TFieldNode*>(field);
  return nullptr;
}

int FakeBinding::FieldDisplayType(const TFieldNode* field) { return Of(field).displayType; }

bool FakeBinding::ReadFieldText(const TFieldNode* field, char* buffer, int size) {
  std::string text = Of(field).text.substr(0, size - 1);
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = '\0';
  return true;
}

bool FakeBinding::ReadFieldDouble(const TFieldNode* field, double* value) {
  *value = Of(field).real;
  return true;
}

bool FakeBinding::ReadFieldLong(const TFieldNode* field, LONG* value) {
  *value = Of(field).whole;
  return true;
}

bool FakeBinding::WriteFieldText(const TFieldNode* field, const char* text) {
  Of(field).text = text;
  return true;
}

bool FakeBinding::WriteFieldDouble(const TFieldNode* field, double value) {
  Of(field).real = value;
  return true;
}

bool FakeBinding::WriteFieldLong(const TFieldNode* field, LONG value) {
  Of(field).whole = value;
  return true;
}

void FakeBinding::FieldStored(const TFieldNode* field) {
  ++stores_[Of(field).name];
  if (afterStore) afterStore(Of(field));
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
