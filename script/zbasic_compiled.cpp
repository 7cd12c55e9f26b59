/*
** The compiled forms TZBasic keeps during a run. An expression, a numeric assignment or a
** numeric condition read once from a position is remembered as operations on the values
** of the variables it resolved to, and a later pass over the same text runs them instead
** of reading tokens again: loops pay for their text once. Every operation keeps the line
** count its first reading had, so errors report the same line either way.
*/
#include "script/zbasic.h"

/* An expression read before from the same position runs from its compiled operations;
   one read for the first time is compiled while it is evaluated. */
bool TZBasic::Expression(ScriptDecimal* value) {
  if (recording_ || !tokenCache_.Active()) return ReadExpression(value);
  const char* start = cursor_;
  if (const TCompiledExpression* compiled = tokenCache_.FindExpression(start))
    return RunCompiledExpression(*compiled, value);
  std::vector<TExpressionStep> steps;
  recording_ = &steps;
  recordingLine_ = lineNumber_;
  bool read = ReadExpression(value);
  recording_ = nullptr;
  if (!read) return false;
  TCompiledExpression* compiled = tokenCache_.AddExpression(start);
  compiled->Compile(steps);
  compiled->endOffset = static_cast<uint32_t>(cursor_ - tokenCache_.Base());
  compiled->lineFeeds = lineNumber_ - recordingLine_;
  return true;
}

void TZBasic::RecordStep(TExpressionStep::Kind kind, const ScriptDecimal* constant,
                         const TVariableNode* variable) {
  if (!recording_) return;
  TExpressionStep step;
  step.kind = kind;
  step.lineFeeds = lineNumber_ - recordingLine_;
  if (constant) step.constant = *constant;
  step.variable = variable;
  recording_->push_back(step);
}

bool TZBasic::RunCompiledExpression(const TCompiledExpression& compiled, ScriptDecimal* value) {
  const LONG startLine = lineNumber_;
  const ScriptDecimal* result = Evaluate(compiled, startLine);
  if (!result) return false;
  *value = *result;
  LeaveAfter(compiled, startLine);
  return true;
}

/* The state the first reading left: the token after the expression pushed back. */
void TZBasic::LeaveAfter(const TCompiledExpression& compiled, LONG startLine) {
  cursor_ = tokenCache_.Base() + compiled.endOffset;
  lineNumber_ = startLine + compiled.lineFeeds;
  PushBackState();
}

/* Runs the operations; answers where the value is, or null after an error, which takes
   the line its first reading had. */
const ScriptDecimal* TZBasic::RunOperations(const TCompiledExpression& compiled, LONG startLine) {
  for (const TExpressionOperation& operation : compiled.operations) {
    const ScriptDecimal& left = *operation.left;
    DecimalStatus status;
    switch (operation.kind) {
      case TExpressionStep::kNegate: *operation.out = left.Negated(); continue;
      case TExpressionStep::kAdd:
        status = ScriptDecimal::Add(left, *operation.right, operation.out);
        break;
      case TExpressionStep::kSubtract:
        status = ScriptDecimal::Subtract(left, *operation.right, operation.out);
        break;
      case TExpressionStep::kMultiply:
        status = ScriptDecimal::Multiply(left, *operation.right, operation.out);
        break;
      case TExpressionStep::kDivide:
        status = ScriptDecimal::Divide(left, *operation.right, operation.out);
        break;
      default: status = ScriptDecimal::Remainder(left, *operation.right, operation.out); break;
    }
    if (status != DecimalStatus::kOk) {
      lineNumber_ = startLine + operation.lineFeeds;
      Fail(kErrDivisionOrOverflow);
      return nullptr;
    }
  }
  return compiled.result;
}

/* A numeric condition read before: both sides from their compiled expressions. */
bool TZBasic::RunCompiledCondition(const TCompiledCondition& known, bool* result) {
  const LONG startLine = lineNumber_;
  const ScriptDecimal* left = Evaluate(*known.left, startLine + known.leftLineFeeds);
  if (!left) return false;
  const ScriptDecimal* right = Evaluate(*known.right, startLine + known.rightLineFeeds);
  if (!right) return false;
  *result = Holds(known.relation, ScriptDecimal::Compare(*left, *right));
  LeaveAfter(*known.right, startLine + known.rightLineFeeds);
  return true;
}

bool TZBasic::RunCompiledAssignment(const TCompiledAssignment& known) {
  const LONG startLine = lineNumber_ + known.lineFeeds;
  const ScriptDecimal* value = Evaluate(*known.expression, startLine);
  if (!value) return false;
  known.variable->value = *value;
  LeaveAfter(*known.expression, startLine);
  return !known.variable->field || StoreBoundVariable(*known.variable);
}
