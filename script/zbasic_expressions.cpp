/*
** Numeric expressions and conditions of TZBasic. Expressions are numbers only, evaluated
** left to right with * / % above + -, and the token after an expression is pushed back
** for the statement to read. Conditions compare two numbers or two texts.
*/
#include "script/zbasic.h"

#include "platform/kernel/string_calls.h"

#include <algorithm>
#include <cstring>

bool TZBasic::IsOperator(const char* token, char op) const {
  return tokenClass_ == kTokenOperator && token[0] == op;
}

/* An expression read before from the same position runs from its compiled steps; one
   read for the first time is compiled while it is evaluated. */
bool TZBasic::Expression(ScriptDecimal* value) {
  if (recording_ || !tokenCache_.Active()) return ReadExpression(value);
  const char* start = cursor_;
  if (const TCompiledExpression* compiled = tokenCache_.FindExpression(start))
    return RunCompiledExpression(*compiled, value);
  TCompiledExpression compiled;
  recording_ = &compiled;
  recordingLine_ = lineNumber_;
  bool read = ReadExpression(value);
  recording_ = nullptr;
  if (!read) return false;
  compiled.endOffset = static_cast<uint32_t>(cursor_ - tokenCache_.Base());
  compiled.lineFeeds = lineNumber_ - recordingLine_;
  int depth = 0, deepest = 0;
  for (const TExpressionStep& step : compiled.steps) {
    if (step.kind == TExpressionStep::kConstant || step.kind == TExpressionStep::kVariable)
      deepest = std::max(deepest, ++depth);
    else if (step.kind != TExpressionStep::kNegate)
      --depth;
  }
  if (deepest > kMaxCompiledDepth) return true;
  FoldOperands(&compiled.steps);
  tokenCache_.StoreExpression(start, std::move(compiled));
  return true;
}

/* A push directly followed by a binary step is that step's right operand: one step does
   both. */
void TZBasic::FoldOperands(std::vector<TExpressionStep>* steps) {
  std::vector<TExpressionStep> folded;
  for (const TExpressionStep& step : *steps) {
    bool binary = step.kind >= TExpressionStep::kAdd;
    bool afterPush = !folded.empty() && folded.back().operand == TExpressionStep::kFromStack &&
                     (folded.back().kind == TExpressionStep::kConstant ||
                      folded.back().kind == TExpressionStep::kVariable);
    // The left operand must still be below the push on the stack.
    if (binary && afterPush && folded.size() >= 2) {
      TExpressionStep operand = folded.back();
      folded.pop_back();
      TExpressionStep merged = step;
      merged.operand = operand.kind == TExpressionStep::kConstant
                           ? TExpressionStep::kFoldedConstant
                           : TExpressionStep::kFoldedVariable;
      merged.constant = operand.constant;
      merged.variable = operand.variable;
      folded.push_back(merged);
    } else {
      folded.push_back(step);
    }
  }
  steps->swap(folded);
}

void TZBasic::RecordStep(TExpressionStep::Kind kind, const ScriptDecimal* constant,
                         const TVariableNode* variable) {
  if (!recording_) return;
  TExpressionStep step;
  step.kind = kind;
  step.lineFeeds = lineNumber_ - recordingLine_;
  if (constant) step.constant = *constant;
  step.variable = variable;
  recording_->steps.push_back(step);
}

bool TZBasic::RunCompiledExpression(const TCompiledExpression& compiled, ScriptDecimal* value) {
  const LONG startLine = lineNumber_;
  if (compiled.steps.size() == 1) {  // a lone number or variable, the commonest operand
    const TExpressionStep& only = compiled.steps[0];
    *value = only.kind == TExpressionStep::kConstant ? only.constant : only.variable->value;
    cursor_ = tokenCache_.Base() + compiled.endOffset;
    lineNumber_ = startLine + compiled.lineFeeds;
    PushBackState();
    return true;
  }
  ScriptDecimal* stack = evaluationStack_;
  int top = 0;
  for (const TExpressionStep& step : compiled.steps) {
    if (step.kind == TExpressionStep::kConstant) {
      stack[top++] = step.constant;
      continue;
    }
    if (step.kind == TExpressionStep::kVariable) {
      stack[top++] = step.variable->value;
      continue;
    }
    if (step.kind == TExpressionStep::kNegate) {
      stack[top - 1] = stack[top - 1].Negated();
      continue;
    }
    const ScriptDecimal* right;
    switch (step.operand) {
      case TExpressionStep::kFoldedConstant: right = &step.constant; break;
      case TExpressionStep::kFoldedVariable: right = &step.variable->value; break;
      default: right = &stack[--top]; break;
    }
    ScriptDecimal* left = &stack[top - 1];
    DecimalStatus status;
    switch (step.kind) {
      case TExpressionStep::kAdd: status = ScriptDecimal::Add(*left, *right, left); break;
      case TExpressionStep::kSubtract: status = ScriptDecimal::Subtract(*left, *right, left); break;
      case TExpressionStep::kMultiply: status = ScriptDecimal::Multiply(*left, *right, left); break;
      case TExpressionStep::kDivide: status = ScriptDecimal::Divide(*left, *right, left); break;
      default: status = ScriptDecimal::Remainder(*left, *right, left); break;
    }
    if (status != DecimalStatus::kOk) {
      lineNumber_ = startLine + step.lineFeeds;  // where the first reading stood
      return Fail(kErrDivisionOrOverflow);
    }
  }
  *value = stack[0];
  // As after the first reading: the token after the expression pushed back.
  cursor_ = tokenCache_.Base() + compiled.endOffset;
  lineNumber_ = startLine + compiled.lineFeeds;
  PushBackState();
  return true;
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
    if (!Expression(value)) return false;
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

bool TZBasic::Condition(bool* result) {
  const char* start = cursor_;
  if (const TCompiledCondition* known = tokenCache_.FindCondition(start))
    return RunCompiledCondition(*known, result);
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
  TCompiledCondition known;
  const char* leftStart = nullptr;
  if (numeric) {
    PushBack();
    leftStart = cursor_;
    known.leftLineFeeds = lineNumber_ - startLine;
    if (!Expression(&leftValue)) return false;
  } else if (!StringOperand(&leftText, leftLiteral)) {
    return Fail(kErrInvalidType);
  }
  NextToken();
  if (errorCode_ != kScriptOk) return false;
  if (tokenClass_ != kTokenRelational) return Fail(kErrRelationalExpected);
  known.relation = keywordCode_;
  int order;
  if (numeric) {
    const char* rightStart = cursor_;
    known.rightLineFeeds = lineNumber_ - startLine;
    if (!Expression(&rightValue)) return false;
    order = ScriptDecimal::Compare(leftValue, rightValue);
    if (tokenCache_.FindExpression(leftStart) && tokenCache_.FindExpression(rightStart)) {
      known.leftOffset = static_cast<uint32_t>(leftStart - tokenCache_.Base());
      known.rightOffset = static_cast<uint32_t>(rightStart - tokenCache_.Base());
      tokenCache_.StoreCondition(start, known);
    }
  } else {
    NextToken();
    if (errorCode_ != kScriptOk) return false;
    const char* rightText = nullptr;
    char rightLiteral[kScriptTextSize];
    if (!StringOperand(&rightText, rightLiteral)) return Fail(kErrInvalidType);
    order = lstrcmpA(leftText, rightText);
  }
  *result = Holds(known.relation, order);
  return true;
}

/* A numeric condition read before: both sides from their compiled expressions. */
bool TZBasic::RunCompiledCondition(const TCompiledCondition& known, bool* result) {
  const LONG startLine = lineNumber_;
  ScriptDecimal left, right;
  cursor_ = tokenCache_.Base() + known.leftOffset;
  lineNumber_ = startLine + known.leftLineFeeds;
  if (!RunCompiledExpression(*tokenCache_.FindExpression(cursor_), &left)) return false;
  cursor_ = tokenCache_.Base() + known.rightOffset;
  lineNumber_ = startLine + known.rightLineFeeds;
  if (!RunCompiledExpression(*tokenCache_.FindExpression(cursor_), &right)) return false;
  *result = Holds(known.relation, ScriptDecimal::Compare(left, right));
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
