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

FakeBinding::~FakeBinding() {
  ClearFieldList(&gRespaFieldList);
  ClearFieldList(&gOtherFieldList);
}

FakeField& FakeBinding::Add(FakeField field) {
  TFieldNode node;
  InitFieldNode(&node);
  std::strncpy(node.name, field.name.c_str(), kFieldNameSize - 1);
  node.displayKind = static_cast<std::uint16_t>(field.displayKind);
  node.tableIndex = static_cast<std::uint16_t>(fields_.size() % 14);
  node.fieldNumber = static_cast<std::uint16_t>(fields_.size() + 1);
  TFieldNode* listed =
      AppendField(field.statementList ? &gRespaFieldList : &gOtherFieldList, &node);
  auto& slot = fields_[listed];
  slot = std::make_unique<FakeField>(std::move(field));
  return *slot;
}

FakeField& FakeBinding::Field(const std::string& name) {
  for (auto& [node, field] : fields_)
    if (field->name == name) return *field;
  std::abort();
}

int FakeBinding::StoredCount(const std::string& name) const {
  auto it = stores_.find(name);
  return it == stores_.end() ? 0 : it->second;
}

FakeField& FakeBinding::Of(const TFieldNode* field) { return *fields_.at(field); }

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

void FakeBinding::FormatFieldText(const TFieldNode* field, char* out, unsigned size,
                                  char mode) {
  FakeField& fake = Of(field);
  formatModes += mode ? mode : '0';
  CopyCut(fake.displayKind == 1 ? fake.text : std::to_string(fake.whole), out, size);
}

void FakeBinding::CopyCut(const std::string& text, char* out, unsigned size) {
  if (size == 0) return;
  std::size_t length = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(out, text.data(), length);
  out[length] = '\0';
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
