/*
** Numeric expressions and conditions of TZBasic. Expressions are numbers only, evaluated
** left to right with * / % above + -, and the token after an expression is pushed back
** for the statement to read. Conditions compare two numbers or two texts.
*/
#include "script/zbasic.h"

#include "platform/kernel/string_calls.h"

#include <cstring>

bool TZBasic::IsOperator(const char* token, char op) const {
  return tokenClass_ == kTokenOperator && token[0] == op;
}

bool TZBasic::ReadExpression(ScriptDecimal* value) {
  NextToken();
  if (errorCode_ != kScriptOk) return false;
  if (keywordCode_ == kKeyEndOfText) return Fail(kErrExpectingExpression);
  PushBack();
  if (!Term(value)) return false;
  for (;;) {
    NextToken();
    if (errorCode_ != kScriptOk) return false;
    if (!IsOperator(tokenText_, '+') && !IsOperator(tokenText_, '-')) break;
    char op = tokenText_[0];
    ScriptDecimal right;
    if (!Term(&right) || !Arithmetic(op, *value, right, value)) return false;
  }
  PushBack();
  return true;
}

bool TZBasic::Term(ScriptDecimal* value) {
  if (!Unary(value)) return false;
  for (;;) {
    NextToken();
    if (errorCode_ != kScriptOk) return false;
    if (!IsOperator(tokenText_, '*') && !IsOperator(tokenText_, '/') &&
        !IsOperator(tokenText_, '%'))
      break;
    char op = tokenText_[0];
    ScriptDecimal right;
    if (!Unary(&right) || !Arithmetic(op, *value, right, value)) return false;
  }
  PushBack();
  return true;
}

bool TZBasic::Unary(ScriptDecimal* value) {
  NextToken();
  if (errorCode_ != kScriptOk) return false;
  bool negate = false;
  if (IsOperator(tokenText_, '+') || IsOperator(tokenText_, '-')) {
    negate = tokenText_[0] == '-';
    NextToken();
    if (errorCode_ != kScriptOk) return false;
    if (IsOperator(tokenText_, '+') || IsOperator(tokenText_, '-'))
      return Fail(kErrMustBeNumericOperand);  // one sign only
  }
  if (!Primary(value)) return false;
  if (negate) {
    *value = value->Negated();
    RecordStep(TExpressionStep::kNegate, nullptr, nullptr);
  }
  return true;
}

/* The current token starts the primary. */
bool TZBasic::Primary(ScriptDecimal* value) {
  if (IsOperator(tokenText_, '(')) {
    // Each level of parentheses recurses; a malformed script must not exhaust the stack.
    if (parenthesisDepth_ >= kMaxParenthesisDepth) return Fail(kErrExpressionTooDeep);
    ++parenthesisDepth_;
    bool read = Expression(value);
    --parenthesisDepth_;
    if (!read) return false;
    NextToken();
    if (errorCode_ != kScriptOk) return false;
    if (!IsOperator(tokenText_, ')')) return Fail(kErrUnbalancedParentheses);
    return true;
  }
  if (tokenClass_ == kTokenNumber) {
    if (currentToken_ && currentToken_->numberKnown) {
      *value = currentToken_->number;
      RecordStep(TExpressionStep::kConstant, value, nullptr);
      return true;
    }
    DecimalStatus status = DecimalStatus::kOk;
    // A lone "." reads as zero, as the standard text conversion makes of it.
    if (!ScriptDecimal::ParseText(tokenText_, ScriptDecimal::kAllPlaces, value, &status))
      *value = ScriptDecimal{};
    if (status != DecimalStatus::kOk) return Fail(kErrDivisionOrOverflow);
    if (currentToken_) {
      currentToken_->number = *value;
      currentToken_->numberKnown = true;
    }
    RecordStep(TExpressionStep::kConstant, value, nullptr);
    return true;
  }
  if (tokenClass_ == kTokenName) {
    TVariableNode* variable = FindVariable(tokenText_);
    if (!variable) return Fail(kErrInternal);
    if (variable->type != kVariableNumber) return Fail(kErrInvalidType);
    *value = variable->value;
    RecordStep(TExpressionStep::kVariable, nullptr, variable);
    return true;
  }
  return Fail(kErrMustBeNumericOperand);
}

bool TZBasic::Arithmetic(char op, const ScriptDecimal& left, const ScriptDecimal& right,
                         ScriptDecimal* result) {
  RecordStep(op == '+'   ? TExpressionStep::kAdd
             : op == '-' ? TExpressionStep::kSubtract
             : op == '*' ? TExpressionStep::kMultiply
             : op == '/' ? TExpressionStep::kDivide
                         : TExpressionStep::kRemainder,
             nullptr, nullptr);
  DecimalStatus status;
  switch (op) {
    case '+': status = ScriptDecimal::Add(left, right, result); break;
    case '-': status = ScriptDecimal::Subtract(left, right, result); break;
    case '*': status = ScriptDecimal::Multiply(left, right, result); break;
    case '/': status = ScriptDecimal::Divide(left, right, result); break;
    default: status = ScriptDecimal::Remainder(left, right, result); break;
  }
  return status == DecimalStatus::kOk || Fail(kErrDivisionOrOverflow);
}

/* The current token is a string variable or literal: its text (a literal is copied, since
   the token buffer is reused). */
bool TZBasic::StringOperand(const char** text, char* literalCopy) {
  if (tokenClass_ == kTokenString) {
    std::memcpy(literalCopy, tokenText_, std::strlen(tokenText_) + 1);
    *text = literalCopy;
    return true;
  }
  if (tokenClass_ == kTokenName) {
    TVariableNode* variable = FindVariable(tokenText_);
    if (!variable) return Fail(kErrInternal);
    if (variable->type == kVariableString) {
      *text = variable->text;
      return true;
    }
  }
  return false;
}

bool TZBasic::ReadCondition(bool* result) {
  const char* start = cursor_;
  const LONG startLine = lineNumber_;
  NextToken();
  if (errorCode_ != kScriptOk) return false;
  bool numeric = tokenClass_ == kTokenNumber;
  const char* leftText = nullptr;
  char leftLiteral[kScriptTextSize];
  if (tokenClass_ == kTokenName) {
    TVariableNode* variable = FindVariable(tokenText_);
    if (!variable) return Fail(kErrInternal);
    numeric = variable->type == kVariableNumber;
  }
  ScriptDecimal leftValue, rightValue;
  const char* leftStart = nullptr;
  LONG leftLineFeeds = 0;
  if (numeric) {
    PushBack();
    leftStart = cursor_;
    leftLineFeeds = lineNumber_ - startLine;
    if (!Expression(&leftValue)) return false;
  } else if (!StringOperand(&leftText, leftLiteral)) {
    return Fail(kErrInvalidType);
  }
  NextToken();
  if (errorCode_ != kScriptOk) return false;
  if (tokenClass_ != kTokenRelational) return Fail(kErrRelationalExpected);
  const LONG relation = keywordCode_;
  int order;
  if (numeric) {
    const char* rightStart = cursor_;
    const LONG rightLineFeeds = lineNumber_ - startLine;
    if (!Expression(&rightValue)) return false;
    order = ScriptDecimal::Compare(leftValue, rightValue);
    const TCompiledExpression* left = tokenCache_.FindExpression(leftStart);
    const TCompiledExpression* right = tokenCache_.FindExpression(rightStart);
    if (left && right) {
      TCompiledCondition* known = tokenCache_.AddCondition(start);
      known->Join(*left, leftLineFeeds, *right, rightLineFeeds);
      known->relation = relation;
    }
  } else {
    NextToken();
    if (errorCode_ != kScriptOk) return false;
    const char* rightText = nullptr;
    char rightLiteral[kScriptTextSize];
    if (!StringOperand(&rightText, rightLiteral)) return Fail(kErrInvalidType);
    order = lstrcmpA(leftText, rightText);
  }
  *result = Holds(relation, order);
  return true;
}

bool TZBasic::Holds(LONG relation, int order) {
  switch (relation) {
    case kRelEqual: return order == 0;
    case kRelNotEqual: return order != 0;
    case kRelGreater: return order > 0;
    case kRelGreaterEqual: return order >= 0;
    case kRelLess: return order < 0;
    default: return order <= 0;
  }
}
