/*
** Variable lookup of TZBasic and the binding of variables to data fields: the built-ins
** first, then the run's own variables, then a data field of that name (loaded from the
** owner's record), else a new variable of the script's own.
*/
#include "script/zbasic.h"

#include "script/script_globals.h"
#include "tableaccess/field_list.h"

#include <cstring>

namespace {

TVariableType VariableTypeOf(int displayType) {
  switch (displayType) {
    case kFieldKindText:
    case kFieldKindChoice:
    case kFieldKindShownText: return kVariableString;
    case kFieldKindMoney:
    case kFieldKindWhole:
    case kFieldKindDecimal:
    case kFieldKindDecimal2:
    case kFieldKindDate: return kVariableNumber;
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
  const TFieldNode* field = FindDataField(name);
  if (field) {
    node.field = field;
    int displayType = field->displayKind;
    node.type = VariableTypeOf(displayType);
    LoadBoundVariable(&node, displayType);
  } else {
    size_t length = std::strlen(name);
    node.type = (length > 0 && name[length - 1] == '$') ? kVariableString : kVariableNumber;
  }
  return locals_.Add(node);
}

/* A data field of that name in the statement's list, then in the other list; none when
   no window owns the run, since there is no record to bind to. */
const TFieldNode* TZBasic::FindDataField(const char* name) {
  if (!owner_) return nullptr;
  if (const TFieldNode* field = FindFieldByName(&gRespaFieldList, name)) return field;
  return FindFieldByName(&gOtherFieldList, name);
}

/* A failed read leaves the variable empty or zero; the binding has reported it. */
void TZBasic::LoadBoundVariable(TVariableNode* node, int displayType) {
  double real = 0;
  LONG whole = 0;
  switch (displayType) {
    case kFieldKindText:
    case kFieldKindChoice:
    case kFieldKindShownText:
      if (!owner_->ReadFieldText(node->field, node->text, kScriptTextSize)) node->text[0] = '\0';
      node->text[kScriptTextSize - 1] = '\0';
      break;
    case kFieldKindMoney:
      if (owner_->ReadFieldDouble(node->field, &real) &&
          ScriptDecimal::FromDouble(real, 2, &node->value) != DecimalStatus::kOk)
        node->value = ScriptDecimal{};
      break;
    case kFieldKindDecimal:
    case kFieldKindDecimal2:
      if (owner_->ReadFieldDouble(node->field, &real) &&
          ScriptDecimal::FromDouble(real, ScriptDecimal::kAllPlaces, &node->value) !=
              DecimalStatus::kOk)
        node->value = ScriptDecimal{};
      break;
    case kFieldKindWhole:
    case kFieldKindDate:
      if (owner_->ReadFieldLong(node->field, &whole)) node->value = ScriptDecimal::FromLong(whole);
      break;
    default: break;
  }
}

bool TZBasic::StoreBoundVariable(const TVariableNode& node) {
  bool stored = true;
  ScriptDecimal cents;
  int32_t whole = 0;
  switch (node.field->displayKind) {
    case kFieldKindText:
    case kFieldKindChoice: stored = owner_->WriteFieldText(node.field, node.text); break;
    case kFieldKindMoney:
      if (node.value.RoundToStep(-2, DecimalRounding::kHalfAwayFromZero, &cents) !=
          DecimalStatus::kOk)
        return Fail(kErrDivisionOrOverflow);
      stored = owner_->WriteFieldDouble(node.field, cents.ToDouble());
      break;
    case kFieldKindWhole:
    case kFieldKindDate:
      if (node.value.ToWholeLong(&whole) != DecimalStatus::kOk) return Fail(kErrDivisionOrOverflow);
      stored = owner_->WriteFieldLong(node.field, whole);
      break;
    case kFieldKindDecimal:
    case kFieldKindDecimal2:
      stored = owner_->WriteFieldDouble(node.field, node.value.ToDouble());
      break;
    default: break;  // nothing is stored for the other display types
  }
  if (stored) owner_->FieldStored(node.field);  // a failed store changed nothing to recalc
  return true;
}
