/*
** Variable lookup of TZBasic and the binding of variables to data fields: the built-ins
** first, then the run's own variables, then a data field of that name (loaded from the
** owner's record), else a new variable of the script's own.
*/
#include "script/zbasic.h"

#include "script/script_globals.h"

#include <cstring>

namespace {

TVariableType VariableTypeOf(int displayType) {
  switch (displayType) {
    case kDisplayText:
    case kDisplayMultiLineText:
    case kDisplayReadOnlyText: return kVariableString;
    case kDisplayMoney:
    case kDisplayInteger:
    case kDisplayRate:
    case kDisplayDecimalRate:
    case kDisplayDate: return kVariableNumber;
    default: return kVariableNone;
  }
}

}  // namespace

/* A name token resolves to the same variable for the whole run, so the token's cache
   entry keeps it. */
TVariableNode* TZBasic::FindVariable(const char* name) {
  bool isCurrentToken = currentToken_ && name == tokenText_;
  if (isCurrentToken && currentToken_->variable) return currentToken_->variable;
  TVariableNode* variable = LookUpOrCreate(name);
  if (isCurrentToken) currentToken_->variable = variable;
  return variable;
}

TVariableNode* TZBasic::LookUpOrCreate(const char* name) {
  if (TVariableNode* builtIn = gScriptGlobals.Find(name)) return builtIn;
  if (TVariableNode* own = locals_.Find(name)) return own;
  TVariableNode node;
  std::strncpy(node.name, name, kScriptNameSize - 1);
  char text[kScriptTextSize] = {};
  node.text = text;
  const TFieldNode* field = owner_ ? owner_->FindScriptField(name) : nullptr;
  if (field) {
    node.field = field;
    int displayType = owner_->FieldDisplayType(field);
    node.type = VariableTypeOf(displayType);
    LoadBoundVariable(&node, displayType);
  } else {
    size_t length = std::strlen(name);
    node.type = (length > 0 && name[length - 1] == '$') ? kVariableString : kVariableNumber;
  }
  return locals_.Add(node);
}

/* A failed read leaves the variable empty or zero; the binding has reported it. */
void TZBasic::LoadBoundVariable(TVariableNode* node, int displayType) {
  double real = 0;
  LONG whole = 0;
  switch (displayType) {
    case kDisplayText:
    case kDisplayMultiLineText:
    case kDisplayReadOnlyText:
      if (!owner_->ReadFieldText(node->field, node->text, kScriptTextSize)) node->text[0] = '\0';
      node->text[kScriptTextSize - 1] = '\0';
      break;
    case kDisplayMoney:
      if (owner_->ReadFieldDouble(node->field, &real) &&
          ScriptDecimal::FromDouble(real, 2, &node->value) != DecimalStatus::kOk)
        node->value = ScriptDecimal{};
      break;
    case kDisplayRate:
    case kDisplayDecimalRate:
      if (owner_->ReadFieldDouble(node->field, &real) &&
          ScriptDecimal::FromDouble(real, ScriptDecimal::kAllPlaces, &node->value) !=
              DecimalStatus::kOk)
        node->value = ScriptDecimal{};
      break;
    case kDisplayInteger:
    case kDisplayDate:
      if (owner_->ReadFieldLong(node->field, &whole)) node->value = ScriptDecimal::FromLong(whole);
      break;
    default: break;
  }
}

bool TZBasic::StoreBoundVariable(const TVariableNode& node) {
  bool stored = true;
  ScriptDecimal cents;
  int32_t whole = 0;
  switch (owner_->FieldDisplayType(node.field)) {
    case kDisplayText:
    case kDisplayMultiLineText: stored = owner_->WriteFieldText(node.field, node.text); break;
    case kDisplayMoney:
      if (node.value.RoundToStep(-2, DecimalRounding::kHalfAwayFromZero, &cents) !=
          DecimalStatus::kOk)
        return Fail(kErrDivisionOrOverflow);
      stored = owner_->WriteFieldDouble(node.field, cents.ToDouble());
      break;
    case kDisplayInteger:
    case kDisplayDate:
      if (node.value.ToWholeLong(&whole) != DecimalStatus::kOk) return Fail(kErrDivisionOrOverflow);
      stored = owner_->WriteFieldLong(node.field, whole);
      break;
    case kDisplayRate:
    case kDisplayDecimalRate:
      stored = owner_->WriteFieldDouble(node.field, node.value.ToDouble());
      break;
    default: break;  // nothing is stored for the other display types
  }
  if (stored) owner_->FieldStored(node.field);  // a failed store changed nothing to recalc
  return true;
}
