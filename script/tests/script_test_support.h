/*
** Helpers shared by the script tests: a recorder for the interpreter's error boxes, a run
** that captures the run's own variables before they are freed, a field binding over an
** in-memory record, and access to the test data folder.
*/
#ifndef ZARNE_SCRIPT_TESTS_SCRIPT_TEST_SUPPORT_H
#define ZARNE_SCRIPT_TESTS_SCRIPT_TEST_SUPPORT_H

#include "platform/user/message_box.h"
#include "script/script_field_binding.h"
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

/* A data field of the fake statement window. */
struct FakeField {
  std::string name;
  int displayKind = 1;  // text
  bool statementList = true;  // else in the other field list
  std::string text;
  double real = 0;
  LONG whole = 0;
};

/* A statement window stand-in: its fields are put in the data-field lists (and taken out
   again when it goes), it counts stores, and runs a hook after each store (what the
   statement's recalculation would do). */
class FakeBinding : public TScriptFieldBinding {
 public:
  ~FakeBinding() override;
  FakeField& Add(FakeField field);
  FakeField& Field(const std::string& name);
  int StoredCount(const std::string& name) const;
  std::function<void(FakeField&)> afterStore;

  HWND ScriptOwnerWindow() override { return nullptr; }
  bool ReadFieldText(const TFieldNode* field, char* buffer, int size) override;
  bool ReadFieldDouble(const TFieldNode* field, double* value) override;
  bool ReadFieldLong(const TFieldNode* field, LONG* value) override;
  bool WriteFieldText(const TFieldNode* field, const char* text) override;
  bool WriteFieldDouble(const TFieldNode* field, double value) override;
  bool WriteFieldLong(const TFieldNode* field, LONG value) override;
  void FieldStored(const TFieldNode* field) override;
  /* The fake's field text is its text, or its whole number for a non-text kind. */
  void FormatFieldText(const TFieldNode* field, char* out, unsigned size, char mode) override;
  void GetGranteeText(char* out, unsigned size) override { CopyCut(grantee, out, size); }
  void GetGrantorText(char* out, unsigned size) override { CopyCut(grantor, out, size); }
  void GetBuyerNames(char* out, unsigned size) override { CopyCut(buyers, out, size); }
  void GetSellerNames(char* out, unsigned size) override { CopyCut(sellers, out, size); }
  std::string grantee, grantor, buyers, sellers;
  /* The modes FormatFieldText was asked for, in order. */
  std::string formatModes;

 private:
  static void CopyCut(const std::string& text, char* out, unsigned size);
  FakeField& Of(const TFieldNode* field);
  std::map<const TFieldNode*, std::unique_ptr<FakeField>> fields_;
  std::map<std::string, int> stores_;
};

/* Path of a file under the module's tests folder. */
std::string TestDataPath(const std::string& relative);
std::string ReadTextFile(const std::string& path);

/* "Line <line>\n<message>." as the error box shows it. */
std::string ErrorBoxText(int line, const std::string& message);

#endif
