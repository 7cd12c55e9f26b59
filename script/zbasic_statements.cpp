/*
** The statements of TZBasic that change variables: assignment, verbose, upper, the three
** roundings, append, strprev and strpost. A bound target is written back to its field
** after each change.
*/
#include "script/zbasic.h"

#include "platform/kernel/text.h"
#include "tableaccess/field_list.h"
#include "tableaccess/value_forms.h"

#include <cstring>

void TZBasic::CopyScriptText(char* destination, const char* source) {
  size_t length = std::strlen(source);
  if (length > kScriptTextSize - 1) length = kScriptTextSize - 1;
  std::memmove(destination, source, length);
  destination[length] = '\0';
}

/* Reads a token that must be a name and answers its variable; error 29 otherwise. */
TVariableNode* TZBasic::NameToken() {
  NextToken();
  if (errorCode_ != kScriptOk) return nullptr;
  if (tokenClass_ != kTokenName) {
    Fail(kErrVariableExpected);
    return nullptr;
  }
  TVariableNode* variable = FindVariable(tokenText_);
  if (!variable) Fail(kErrInternal);
  return variable;
}

/* Reads a token that must be a string variable of the script's own; error 3 otherwise. */
TVariableNode* TZBasic::StringTarget() {
  NextToken();
  if (errorCode_ != kScriptOk) return nullptr;
  TVariableNode* variable = tokenClass_ == kTokenName ? FindVariable(tokenText_) : nullptr;
  if (!variable || variable->type != kVariableString || variable->field) {
    Fail(kErrMustBeLocalString);
    return nullptr;
  }
  return variable;
}

/* A numeric assignment read once is remembered with its variable, so later runs of the
   same statement go straight to its compiled expression. */
bool TZBasic::Assignment(const char* statementStart, LONG statementLine) {
  TVariableNode* variable = FindVariable(tokenText_);
  if (!variable) return Fail(kErrInternal);
  NextToken();
  if (errorCode_ != kScriptOk) return false;
  if (!IsOperator(tokenText_, '=')) return Fail(kErrAssignmentExpected);
  if (variable->type == kVariableNumber) {
    const char* expressionStart = cursor_;
    LONG expressionLine = lineNumber_;
    ScriptDecimal value;
    if (!Expression(&value)) return false;
    variable->value = value;
    if (const TCompiledExpression* compiled = tokenCache_.FindExpression(expressionStart)) {
      TCompiledStatement known;
      known.kind = TCompiledStatement::kAssignment;
      known.variable = variable;
      known.expression = compiled;
      known.lineFeeds = expressionLine - statementLine;
      tokenCache_.StoreStatement(statementStart, known);
    }
  } else if (variable->type == kVariableString) {
    NextToken();
    if (errorCode_ != kScriptOk) return false;
    const char* source = nullptr;
    if (tokenClass_ == kTokenString) {
      source = tokenText_;
    } else if (tokenClass_ == kTokenName) {
      TVariableNode* from = FindVariable(tokenText_);
      if (!from) return Fail(kErrInternal);
      if (from->type == kVariableString) source = from->text;
    }
    if (!source) return Fail(kErrMustBeString);
    CopyScriptText(variable->text, source);
  } else {
    return Fail(kErrInternal);
  }
  return !variable->field || StoreBoundVariable(*variable);
}

bool TZBasic::VerboseStatement() {
  NextToken();
  if (errorCode_ != kScriptOk) return false;
  const TFieldNode* field = (owner_ && tokenClass_ == kTokenName)
                                ? FindFieldByName(&gRespaFieldList, tokenText_)
                                : nullptr;
  int displayType = field ? field->displayKind : kFieldKindNone;
  if (displayType != kFieldKindMoney && displayType != kFieldKindDate)
    return Fail(kErrNotVerboseType);
  TVariableNode* source = FindVariable(tokenText_);
  if (!source) return Fail(kErrInternal);
  if (source->type != kVariableNumber) return Fail(kErrNotVerboseType);
  ScriptDecimal value = source->value;
  TVariableNode* target = StringTarget();
  if (!target) return false;
  if (displayType == kFieldKindMoney) {
    AmountInWords(target->text, value.ToDouble(), kScriptTextSize);
  } else {
    int32_t dateNumber = 0;
    if (value.ToWholeLong(&dateNumber) != DecimalStatus::kOk) return Fail(kErrDivisionOrOverflow);
    FormatOrdinalDate(target->text, dateNumber, kScriptTextSize);
  }
  return true;
}

bool TZBasic::UpperStatement() {
  TVariableNode* target = StringTarget();
  if (!target) return false;
  CharUpper(target->text);
  return true;
}

bool TZBasic::RoundStatement(LONG code) {
  ScriptDecimal exponentValue;
  if (!Expression(&exponentValue)) return false;
  int32_t exponent = 0;
  if (exponentValue.ToWholeLong(&exponent) != DecimalStatus::kOk)
    return Fail(kErrDivisionOrOverflow);
  TVariableNode* variable = NameToken();
  if (!variable) return false;
  if (variable->type != kVariableNumber) return Fail(kErrMustBeNumeric);
  if (variable->field) return Fail(kErrMustBeLocalVariable);
  DecimalRounding rounding = code == kKeyRoundDn   ? DecimalRounding::kDown
                             : code == kKeyRoundUp ? DecimalRounding::kUp
                                                   : DecimalRounding::kHalfAwayFromZero;
  ScriptDecimal rounded;
  if (variable->value.RoundToStep(exponent, rounding, &rounded) != DecimalStatus::kOk)
    return Fail(kErrDivisionOrOverflow);
  variable->value = rounded;
  return true;
}

bool TZBasic::AppendStatement() {
  TVariableNode* target = NameToken();
  if (!target) return false;
  if (target->type != kVariableString) return Fail(kErrMustBeString);
  NextToken();
  if (errorCode_ != kScriptOk) return false;
  const char* source = nullptr;
  char literal[kScriptTextSize];
  if (!StringOperand(&source, literal)) return Fail(kErrMustBeString);
  size_t length = std::strlen(target->text);
  size_t room = kScriptTextSize - 1 - length;
  size_t adding = std::strlen(source);
  if (adding > room) adding = room;
  std::memmove(target->text + length, source, adding);  // the source may be the target
  target->text[length + adding] = '\0';
  return !target->field || StoreBoundVariable(*target);
}

/* strprev: the text before the first occurrence of the pattern (all of it when absent);
   strpost: the text after it (empty when absent). */
bool TZBasic::SplitStatement(LONG code) {
  TVariableNode* target = NameToken();
  if (!target) return false;
  if (target->type != kVariableString) return Fail(kErrMustBeString);
  TVariableNode* source = NameToken();
  if (!source) return false;
  if (source->type != kVariableString) return Fail(kErrMustBeString);
  NextToken();
  if (errorCode_ != kScriptOk) return false;
  const char* pattern = nullptr;
  char literal[kScriptTextSize];
  if (!StringOperand(&pattern, literal)) return Fail(kErrMustBeString);
  char result[kScriptTextSize];
  const char* found = std::strstr(source->text, pattern);
  if (code == kKeyStrPrev) {
    size_t length = found ? static_cast<size_t>(found - source->text) : std::strlen(source->text);
    std::memcpy(result, source->text, length);
    result[length] = '\0';
  } else {
    CopyScriptText(result, found ? found + std::strlen(pattern) : "");
  }
  CopyScriptText(target->text, result);
  return !target->field || StoreBoundVariable(*target);
}
