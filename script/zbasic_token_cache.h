/*
** A per-run memory of the tokens the scanner has read, keyed by the cursor position they
** were read from. Loops and jumps re-read the same text many times; since the text does
** not change during a run, the token at a position is always the same, so a second read
** is a copy. Each entry also remembers the variable its name resolved to and the value of
** its number, which stay the same for the rest of the run.
*/
#ifndef ZARNE_SCRIPT_ZBASIC_TOKEN_CACHE_H
#define ZARNE_SCRIPT_ZBASIC_TOKEN_CACHE_H

#include "platform/kernel/wintypes.h"
#include "script/script_decimal.h"
#include "script/script_variables.h"

#include <cstdint>
#include <deque>
#include <vector>

struct TCachedToken {
  LONG tokenClass = 0;
  LONG keywordCode = 0;
  LONG lineFeeds = 0;           // line feeds passed before the token
  uint32_t startOffset = 0;     // the token's start
  uint32_t endOffset = 0;       // the cursor after it
  uint32_t textOffset = 0;      // its text in the script (names, numbers, literals)
  uint32_t textLength = 0;
  char keywordText[10] = {};    // keywords are lower-cased, so their text is kept here
  TVariableNode* variable = nullptr;
  bool numberKnown = false;
  ScriptDecimal number;
};

/* One step of a compiled expression, in evaluation order (postfix). */
struct TExpressionStep {
  enum Kind : uint8_t { kConstant, kVariable, kNegate, kAdd, kSubtract, kMultiply, kDivide,
                        kRemainder };
  // Where a binary step takes its right operand: from the stack, or folded into the step
  // (the constant or variable pushed just before it).
  enum Operand : uint8_t { kFromStack, kFoldedConstant, kFoldedVariable };
  Kind kind = kConstant;
  Operand operand = kFromStack;
  LONG lineFeeds = 0;  // line feeds read before this step, for an error's line
  ScriptDecimal constant;
  const TVariableNode* variable = nullptr;
};

/* An expression read once: its steps, where the cursor ends and the line feeds passed. */
struct TCompiledExpression {
  std::vector<TExpressionStep> steps;
  uint32_t endOffset = 0;
  LONG lineFeeds = 0;
};

/* A numeric assignment read before: its variable and its compiled expression. */
struct TCompiledAssignment {
  TVariableNode* variable = nullptr;
  const TCompiledExpression* expression = nullptr;
  LONG lineFeeds = 0;  // from the statement's start to the expression's
};

/* A numeric condition read before: its two compiled sides and the relation. */
struct TCompiledCondition {
  const TCompiledExpression* left = nullptr;
  const TCompiledExpression* right = nullptr;
  LONG leftLineFeeds = 0, rightLineFeeds = 0;  // from the condition's start
  LONG relation = 0;
};

constexpr int kMaxCompiledDepth = 32;  // deeper expressions are simply read each time

class TTokenCache {
 public:
  /* Starts a run over the text from `base`; empties the cache. Memory grows with the part
     of the text the run reaches, so a bundle step costs only its own length. */
  void Begin(const char* base);
  void End();
  bool Active() const { return base_ != nullptr; }
  /* The token read from this position, or null. */
  TCachedToken* Find(const char* position) { return FindIn(slots_, entries_, position); }
  TCachedToken* Store(const char* position, const TCachedToken& token);
  const char* Base() const { return base_; }

  TCompiledExpression* FindExpression(const char* position) {
    return FindIn(expressionSlots_, expressions_, position);
  }
  void StoreExpression(const char* position, TCompiledExpression&& expression);

  TCompiledAssignment* FindAssignment(const char* position) {
    return FindIn(assignmentSlots_, assignments_, position);
  }
  void StoreAssignment(const char* position, const TCompiledAssignment& assignment) {
    StoreIn(assignmentSlots_, assignments_, position, assignment);
  }
  TCompiledCondition* FindCondition(const char* position) {
    return FindIn(conditionSlots_, conditions_, position);
  }
  void StoreCondition(const char* position, const TCompiledCondition& condition) {
    StoreIn(conditionSlots_, conditions_, position, condition);
  }

 private:
  template <typename T>
  T* FindIn(std::vector<int32_t>& slots, std::deque<T>& items, const char* position) {
    if (!base_ || position < base_) return nullptr;
    size_t offset = static_cast<size_t>(position - base_);
    if (offset >= slots.size() || slots[offset] < 0) return nullptr;
    return &items[slots[offset]];
  }
  template <typename T>
  void StoreIn(std::vector<int32_t>& slots, std::deque<T>& items, const char* position,
               const T& item) {
    if (!base_ || position < base_) return;
    size_t offset = static_cast<size_t>(position - base_);
    if (offset >= slots.size()) slots.resize(offset + offset / 2 + 64, -1);
    items.push_back(item);
    slots[offset] = static_cast<int32_t>(items.size() - 1);
  }

  const char* base_ = nullptr;
  std::vector<int32_t> slots_;      // per position: index into entries_, or -1
  std::deque<TCachedToken> entries_;  // stable addresses while the run adds entries
  std::vector<int32_t> expressionSlots_;
  std::deque<TCompiledExpression> expressions_;
  std::vector<int32_t> assignmentSlots_;
  std::deque<TCompiledAssignment> assignments_;
  std::vector<int32_t> conditionSlots_;
  std::deque<TCompiledCondition> conditions_;
};

#endif
