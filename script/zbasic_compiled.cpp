/*
** The compiled forms TZBasic keeps during a run. An expression, a numeric assignment or a
** numeric condition read once from a position is remembered as steps (postfix, with the
** variables it resolved to), and a later pass over the same text runs the steps instead of
** reading tokens again: loops pay for their text once. Every step keeps the line count its
** first reading had, so errors report the same line either way.
*/
#include "script/zbasic.h"

#include <algorithm>

namespace {

/* The most values the steps hold on the stack at once. */
int DeepestStack(const std::vector<TExpressionStep>& steps) {
  int depth = 0, deepest = 0;
  for (const TExpressionStep& step : steps) {
    if (step.kind == TExpressionStep::kConstant || step.kind == TExpressionStep::kVariable)
      deepest = std::max(deepest, ++depth);
    else if (step.kind != TExpressionStep::kNegate)
      --depth;
  }
  return deepest;
}

}  // namespace

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
  if (DeepestStack(compiled.steps) > kMaxCompiledDepth) return true;
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
  if (!EvaluateSteps(compiled, startLine, value)) return false;
  LeaveAfter(compiled, startLine);
  return true;
}

/* The state the first reading left: the token after the expression pushed back. */
void TZBasic::LeaveAfter(const TCompiledExpression& compiled, LONG startLine) {
  cursor_ = tokenCache_.Base() + compiled.endOffset;
  lineNumber_ = startLine + compiled.lineFeeds;
  PushBackState();
}

/* Runs the steps on the evaluation stack; an error takes the line its first reading had. */
bool TZBasic::EvaluateSteps(const TCompiledExpression& compiled, LONG startLine,
                            ScriptDecimal* value) {
  const TExpressionStep* step = compiled.steps.data();
  const TExpressionStep* end = step + compiled.steps.size();
  if (end - step == 1) {  // a lone number or variable, the commonest operand
    *value = step->kind == TExpressionStep::kConstant ? step->constant : step->variable->value;
    return true;
  }
  ScriptDecimal* stack = evaluationStack_;
  int top = 0;
  for (; step != end; ++step) {
    if (step->kind == TExpressionStep::kConstant) {
      stack[top++] = step->constant;
      continue;
    }
    if (step->kind == TExpressionStep::kVariable) {
      stack[top++] = step->variable->value;
      continue;
    }
    if (step->kind == TExpressionStep::kNegate) {
      stack[top - 1] = stack[top - 1].Negated();
      continue;
    }
    const ScriptDecimal* right;
    switch (step->operand) {
      case TExpressionStep::kFoldedConstant: right = &step->constant; break;
      case TExpressionStep::kFoldedVariable: right = &step->variable->value; break;
      default: right = &stack[--top]; break;
    }
    ScriptDecimal* left = &stack[top - 1];
    DecimalStatus status;
    switch (step->kind) {
      case TExpressionStep::kAdd: status = ScriptDecimal::Add(*left, *right, left); break;
      case TExpressionStep::kSubtract: status = ScriptDecimal::Subtract(*left, *right, left); break;
      case TExpressionStep::kMultiply: status = ScriptDecimal::Multiply(*left, *right, left); break;
      case TExpressionStep::kDivide: status = ScriptDecimal::Divide(*left, *right, left); break;
      default: status = ScriptDecimal::Remainder(*left, *right, left); break;
    }
    if (status != DecimalStatus::kOk) {
      lineNumber_ = startLine + step->lineFeeds;
      return Fail(kErrDivisionOrOverflow);
    }
  }
  *value = stack[0];
  return true;
}

/* A numeric condition read before: both sides from their compiled expressions. */
bool TZBasic::RunCompiledCondition(const TCompiledCondition& known, bool* result) {
  const LONG startLine = lineNumber_;
  ScriptDecimal left, right;
  if (!EvaluateSteps(*known.left, startLine + known.leftLineFeeds, &left) ||
      !EvaluateSteps(*known.right, startLine + known.rightLineFeeds, &right))
    return false;
  LeaveAfter(*known.right, startLine + known.rightLineFeeds);
  *result = Holds(known.relation, ScriptDecimal::Compare(left, right));
  return true;
}

bool TZBasic::RunCompiledAssignment(const TCompiledAssignment& known) {
  lineNumber_ += known.lineFeeds;
  ScriptDecimal value;
  if (!RunCompiledExpression(*known.expression, &value)) return false;
  known.variable->value = value;
  return !known.variable->field || StoreBoundVariable(*known.variable);
}
