/*
** Fuzz target: script text run by the interpreter with a binding of a few data fields of
** each display kind, resumed after each `end` as a bundle is. Errors go to the (answered)
** error box; every resume position must lie within the text, and nothing may crash, hang
** or write outside what it owns.
*/
#include "fuzz/fuzz_support.h"
#include "platform/user/message_box.h"
#include "script/script_field_binding.h"
#include "script/zbasic.h"
#include "tableaccess/field_list.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

/* Far more steps than any seed or mutated bundle needs; the runs stop at the text's end. */
constexpr int kMaxResumes = 10000;
#ifdef ZARNE_FUZZING
// Under the sanitizers a run of the full budget takes seconds: the fuzzer stops endless
// loops sooner, while the replay keeps the program's own budget.
constexpr long kFuzzStatementBudget = 20000;
#endif

struct BoundField {
  const char* name;
  std::uint16_t kind;
  bool statementList;
  const char* text;
  double real;
  LONG whole;
};

const BoundField kFields[] = {
    {"Buyer", kFieldKindText, true, "Ann Smith", 0, 0},
    {"Terms", kFieldKindChoice, true, "Cash", 0, 0},
    {"A101", kFieldKindMoney, true, "", 1234.56, 0},
    {"Count", kFieldKindWhole, true, "", 0, 3},
    {"Rate", kFieldKindDecimal, true, "", 0.0625, 0},
    {"Rate2", kFieldKindDecimal2, true, "", 12.5, 0},
    {"CDATE", kFieldKindDate, true, "", 0, 730657},
    {"Shown", kFieldKindShownText, true, "as shown", 0, 0},
    {"Lender", kFieldKindText, false, "First Bank", 0, 0},
    {"L201", kFieldKindMoney, false, "", -0.01, 0},
};
constexpr size_t kFieldCount = sizeof kFields / sizeof kFields[0];

/* The values a statement window would hold, restored before every input. */
class FuzzBinding : public TScriptFieldBinding {
 public:
  void Install() {
    for (size_t i = 0; i < kFieldCount; ++i) {
      TFieldNode node;
      InitFieldNode(&node);
      std::strncpy(node.name, kFields[i].name, kFieldNameSize - 1);
      node.displayKind = kFields[i].kind;
      node.tableIndex = static_cast<std::uint16_t>(i % 14);
      node.fieldNumber = static_cast<std::uint16_t>(i + 1);
      nodes_[i] = AppendField(kFields[i].statementList ? &gRespaFieldList : &gOtherFieldList, &node);
    }
  }
  void Restore() {
    for (size_t i = 0; i < kFieldCount; ++i) {
      texts_[i] = kFields[i].text;
      reals_[i] = kFields[i].real;
      wholes_[i] = kFields[i].whole;
    }
  }

  HWND ScriptOwnerWindow() override { return nullptr; }
  bool ReadFieldText(const TFieldNode* field, char* buffer, int size) override {
    FuzzRequire(size > 0, "a text field is read into a buffer");
    std::string text = texts_[Index(field)].substr(0, size_t(size) - 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
  }
  bool ReadFieldDouble(const TFieldNode* field, double* value) override {
    *value = reals_[Index(field)];
    return true;
  }
  bool ReadFieldLong(const TFieldNode* field, LONG* value) override {
    *value = wholes_[Index(field)];
    return true;
  }
  bool WriteFieldText(const TFieldNode* field, const char* text) override {
    texts_[Index(field)] = text;
    return true;
  }
  bool WriteFieldDouble(const TFieldNode* field, double value) override {
    reals_[Index(field)] = value;
    return true;
  }
  bool WriteFieldLong(const TFieldNode* field, LONG value) override {
    wholes_[Index(field)] = value;
    return true;
  }
  void FieldStored(const TFieldNode* field) override { Index(field); }

 private:
  size_t Index(const TFieldNode* field) const {
    for (size_t i = 0; i < kFieldCount; ++i)
      if (nodes_[i] == field) return i;
    FuzzRequire(false, "the interpreter names only bound fields");
    return 0;
  }

  const TFieldNode* nodes_[kFieldCount] = {};
  std::string texts_[kFieldCount];
  double reals_[kFieldCount] = {};
  LONG wholes_[kFieldCount] = {};
};

FuzzBinding gBinding;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetMessageBoxPresenter([](const MessageBoxRequest& box) { return DefaultMessageBoxAnswer(box.type); });
  gBinding.Install();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The interpreter reads a NUL-terminated text, as the field and bundle files give it.
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  const char* end = text.data() + std::strlen(text.data());
  gBinding.Restore();
  TZBasic basic(&gBinding);
#ifdef ZARNE_FUZZING
  basic.SetStatementBudget(kFuzzStatementBudget);
#endif
  const char* at = text.data();
  for (int resumes = 0; at && resumes < kMaxResumes; ++resumes) {
    at = basic.RunScript(at);
    FuzzRequire(!at || (at >= text.data() && at <= end), "a run resumes within its text");
  }
  return 0;
}
