/*
** A per-run memory of the tokens the scanner has read, keyed by the cursor position they
** were read from. Loops and jumps re-read the same text many times; since the text does
** not change during a run, the token at a position is always the same, so a second read
** is a copy. Each entry also remembers the variable its name resolved to and the value of
** its number, which stay the same for the rest of the run. Expressions, numeric
** assignments, keyword statements and numeric conditions read once are kept in compiled
** form the same way.
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
  LONG lineFeeds = 0;        // line feeds passed before the token
  uint32_t startOffset = 0;  // the token's start
  uint32_t endOffset = 0;    // the cursor after it
  uint32_t textOffset = 0;   // its text in the script (names, numbers, literals)
  uint32_t textLength = 0;
  char keywordText[10] = {};  // keywords are lower-cased, so their text is kept here
  TVariableNode* variable = nullptr;
  bool numberKnown = false;
  ScriptDecimal number;
};

/* One step of an expression as it is first read, in evaluation order (postfix). */
struct TExpressionStep {
  enum Kind : uint8_t {
    kConstant,
    kVariable,
    kNegate,
    kAdd,
    kSubtract,
    kMultiply,
    kDivide,
    kRemainder
  };
  Kind kind = kConstant;
  LONG lineFeeds = 0;  // line feeds read before this step, for an error's line
  ScriptDecimal constant;
  const TVariableNode* variable = nullptr;
};

/* One operation of a compiled expression: `out` = `left` op `right` (negation reads only
   `left`). The operands point straight at variables' values, at constants or at earlier
   results, so running it moves no values through a stack. */
struct TExpressionOperation {
  TExpressionStep::Kind kind = TExpressionStep::kAdd;
  LONG lineFeeds = 0;
  const ScriptDecimal* left = nullptr;
  const ScriptDecimal* right = nullptr;
  ScriptDecimal* out = nullptr;
};

/* An expression read once: its operations in the order the first reading did them, where
   its value ends up, where the cursor ends and the line feeds passed. */
struct TCompiledExpression {
  std::vector<TExpressionOperation> operations;
  std::vector<ScriptDecimal> values;  // its constants and intermediate results
  const ScriptDecimal* result = nullptr;
  uint32_t endOffset = 0;
  LONG lineFeeds = 0;

  TCompiledExpression() = default;
  TCompiledExpression(const TCompiledExpression&) = delete;  // operations point into values
  TCompiledExpression& operator=(const TCompiledExpression&) = delete;

  /* Builds the operations from the steps of the first reading. */
  void Compile(const std::vector<TExpressionStep>& steps);
};

/* A statement read before, run again without looking for its first token: a numeric
   assignment (its variable and compiled expression) or a keyword statement (its word). */
struct TCompiledStatement {
  enum Kind : uint8_t { kAssignment, kKeyword };
  Kind kind = kAssignment;
  TVariableNode* variable = nullptr;
  const TCompiledExpression* expression = nullptr;
  LONG lineFeeds = 0;            // from the statement's start to the expression's
  TCachedToken* word = nullptr;  // the keyword that starts the statement
};

/* A numeric condition read before: the operations of both sides in one list (the left's
   first, line feeds counted from the condition's start), where each side's value is, the
   relation, and where the cursor ends and the line feeds passed. */
struct TCompiledCondition {
  std::vector<TExpressionOperation> operations;
  const ScriptDecimal* left = nullptr;
  const ScriptDecimal* right = nullptr;
  LONG relation = 0;
  uint32_t endOffset = 0;
  LONG lineFeeds = 0;

  /* Joins the two compiled sides, which start that many line feeds into the condition.
     Both must stay in place: the operations point into their values. */
  void Join(const TCompiledExpression& leftSide, LONG leftLineFeeds,
            const TCompiledExpression& rightSide, LONG rightLineFeeds);
};

class TTokenCache {
 public:
  /* Starts a run over the text from `base`; empties the cache. Memory grows with the part
     of the text the run reaches, so a bundle step costs only its own length. */
  void Begin(const char* base);
  void End();
  bool Active() const { return base_ != nullptr; }
  /* The token read from this position, or null. */
  TCachedToken* Find(const char* position) const { return FindIn(tokenSlots_, position); }
  TCachedToken* Store(const char* position, const TCachedToken& token);
  const char* Base() const { return base_; }

  TCompiledExpression* FindExpression(const char* position) const {
    return FindIn(expressionSlots_, position);
  }
  /* A new, empty compiled expression for this position. */
  TCompiledExpression* AddExpression(const char* position);

  TCompiledStatement* FindStatement(const char* position) const {
    return FindIn(statementSlots_, position);
  }
  void StoreStatement(const char* position, const TCompiledStatement& statement) {
    statements_.push_back(statement);
    Place(statementSlots_, position, &statements_.back());
  }
  TCompiledCondition* FindCondition(const char* position) const {
    return FindIn(conditionSlots_, position);
  }
  /* A new, empty compiled condition for this position. */
  TCompiledCondition* AddCondition(const char* position) {
    conditions_.emplace_back();
    Place(conditionSlots_, position, &conditions_.back());
    return &conditions_.back();
  }

 private:
  size_t OffsetOf(const char* position) const {
    // A position before the base wraps to a huge offset, which no table reaches.
    return reinterpret_cast<uintptr_t>(position) - reinterpret_cast<uintptr_t>(base_);
  }
  template <typename T>
  T* FindIn(const std::vector<T*>& slots, const char* position) const {
    size_t offset = OffsetOf(position);
    return offset < slots.size() ? slots[offset] : nullptr;
  }
  template <typename T>
  void Place(std::vector<T*>& slots, const char* position, T* item) {
    if (!base_ || position < base_) return;
    size_t offset = OffsetOf(position);
    if (offset >= slots.size()) slots.resize(offset + offset / 2 + 64, nullptr);
    slots[offset] = item;
  }

  const char* base_ = nullptr;
  // Per position, the entry read there or null; the deques keep entries in place while
  // the run adds more.
  std::vector<TCachedToken*> tokenSlots_;
  std::deque<TCachedToken> tokens_;
  std::vector<TCompiledExpression*> expressionSlots_;
  std::deque<TCompiledExpression> expressions_;
  std::vector<TCompiledStatement*> statementSlots_;
  std::deque<TCompiledStatement> statements_;
  std::vector<TCompiledCondition*> conditionSlots_;
  std::deque<TCompiledCondition> conditions_;
};

#endif
