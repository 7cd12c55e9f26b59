/*
** Bundle scripts run step by step.
*/
#include "accounting/bundle_steps.h"

#include "script/script_globals.h"
#include "script/zbasic.h"

#include <cstring>

namespace {

constexpr size_t kEntryTextChars = 60;

void ClearOutputs(const TBundleOutputs& out) {
  for (TVariableNode* text : {out.type, out.name, out.description})
    if (text->text != nullptr) text->text[0] = '\0';
  out.amount->value = ScriptDecimal{};
}

std::string TextOf(const TVariableNode* node) {
  std::string text = node->text != nullptr ? node->text : "";
  if (text.size() > kEntryTextChars) text.resize(kEntryTextChars);
  return text;
}

}  // namespace

bool FindBundleOutputs(TBundleOutputs* out) {
  out->type = gScriptGlobals.Find("AcctType$");
  out->name = gScriptGlobals.Find("AcctName$");
  out->description = gScriptGlobals.Find("AcctDesc$");
  out->amount = gScriptGlobals.Find("AcctAmount");
  return out->type && out->name && out->description && out->amount;
}

void RunBundleSteps(TZBasic& interpreter, const char* text, const TBundleOutputs& out,
                    const std::function<void(const TBundleEntry&)>& make) {
  for (const char* position = text; position != nullptr;) {
    ClearOutputs(out);
    position = interpreter.RunScript(position);
    if (position == nullptr && interpreter.ErrorCode() != 0) break;
    TBundleEntry entry;
    if (out.amount->value.RoundToStep(-2, DecimalRounding::kHalfAwayFromZero, &entry.cents) !=
            DecimalStatus::kOk ||
        entry.cents.Sign() <= 0)
      continue;
    entry.deposit = out.type->text != nullptr && std::strcmp(out.type->text, "D") == 0;
    entry.payee = TextOf(out.name);
    entry.description = TextOf(out.description);
    make(entry);
  }
}
