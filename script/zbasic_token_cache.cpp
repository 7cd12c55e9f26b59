/*
** The per-run token memory of the scanner, the compilation of an expression's steps into
** operations on fixed places, and the joining of a condition's two sides.
*/
#include "script/zbasic_token_cache.h"

void TTokenCache::Begin(const char* base) {
  End();
  base_ = base;
}

void TTokenCache::End() {
  base_ = nullptr;
  tokenSlots_.clear();
  tokens_.clear();
  expressionSlots_.clear();
  expressions_.clear();
  statementSlots_.clear();
  statements_.clear();
  conditionSlots_.clear();
  conditions_.clear();
}

TCachedToken* TTokenCache::Store(const char* position, const TCachedToken& token) {
  tokens_.push_back(token);
  Place(tokenSlots_, position, &tokens_.back());
  return Find(position);
}

TCompiledExpression* TTokenCache::AddExpression(const char* position) {
  expressions_.emplace_back();
  Place(expressionSlots_, position, &expressions_.back());
  return &expressions_.back();
}

/* Runs the steps on a stack of places instead of values: a constant gets a place of its
   own, a variable is its own place, and each operation writes a new place. */
void TCompiledExpression::Compile(const std::vector<TExpressionStep>& steps) {
  size_t places = 0;
  for (const TExpressionStep& step : steps)
    if (step.kind != TExpressionStep::kVariable) ++places;
  values.assign(places, ScriptDecimal{});  // never resized again: operations point into it
  operations.clear();
  std::vector<const ScriptDecimal*> stack;
  size_t next = 0;
  for (const TExpressionStep& step : steps) {
    if (step.kind == TExpressionStep::kConstant) {
      values[next] = step.constant;
      stack.push_back(&values[next++]);
      continue;
    }
    if (step.kind == TExpressionStep::kVariable) {
      stack.push_back(&step.variable->value);
      continue;
    }
    TExpressionOperation operation;
    operation.kind = step.kind;
    operation.lineFeeds = step.lineFeeds;
    if (step.kind != TExpressionStep::kNegate) {
      operation.right = stack.back();
      stack.pop_back();
    }
    operation.left = stack.back();
    operation.out = &values[next++];
    stack.back() = operation.out;
    operations.push_back(operation);
  }
  result = stack.empty() ? nullptr : stack.back();
}

void TCompiledCondition::Join(const TCompiledExpression& leftSide, LONG leftLineFeeds,
                              const TCompiledExpression& rightSide, LONG rightLineFeeds) {
  operations.clear();
  for (TExpressionOperation operation : leftSide.operations) {
    operation.lineFeeds += leftLineFeeds;
    operations.push_back(operation);
  }
  for (TExpressionOperation operation : rightSide.operations) {
    operation.lineFeeds += rightLineFeeds;
    operations.push_back(operation);
  }
  left = leftSide.result;
  right = rightSide.result;
  endOffset = rightSide.endOffset;
  lineFeeds = rightLineFeeds + rightSide.lineFeeds;
}
