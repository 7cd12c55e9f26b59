/*
** The compiled forms TZBasic keeps during a run, and the statement loop that runs them. An
** expression, a numeric assignment, a keyword statement or a numeric condition read once
** from a position is remembered (as operations on the values of the variables it resolved
** to), and a later pass over the same text runs it instead of reading tokens again: loops
** pay for their text once. Every operation keeps the line count its first reading had, so
** errors report the same line either way.
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
  if (!RunOperations(compiled.operations, startLine)) return false;
  *value = *compiled.result;
  LeaveAt(compiled.endOffset, startLine + compiled.lineFeeds);
  return true;
}

/* The state a first reading leaves after an expression: the cursor there, the token after
   it pushed back. */
void TZBasic::LeaveAt(uint32_t endOffset, LONG line) {
  cursor_ = tokenCache_.Base() + endOffset;
  lineNumber_ = line;
  PushBackState();
}

/* Runs the operations; false after an error, which takes the line its first reading had.
   Always inline: the statement loop's compiled statements run their operations without a
   call, which the compiler's own weighing of the decimal code does not keep. */
[[gnu::always_inline]] inline bool TZBasic::RunOperations(
    const std::vector<TExpressionOperation>& operations, LONG startLine) {
  for (const TExpressionOperation& operation : operations) {
    const ScriptDecimal& left = *operation.left;
    const TExpressionStep::Kind kind = operation.kind;
    DecimalStatus status;
    // Direct tests, the inline sum, difference and product first: a jump through a table of
    // the kinds cost a loop of sums and products about 4% more.
    if (kind == TExpressionStep::kAdd) {
      status = ScriptDecimal::Add(left, *operation.right, operation.out);
    } else if (kind == TExpressionStep::kSubtract) {
      status = ScriptDecimal::Subtract(left, *operation.right, operation.out);
    } else if (kind == TExpressionStep::kMultiply) {
      status = ScriptDecimal::Multiply(left, *operation.right, operation.out);
    } else if (kind == TExpressionStep::kNegate) {
      *operation.out = left.Negated();
      continue;
    } else if (kind == TExpressionStep::kDivide) {
      status = ScriptDecimal::Divide(left, *operation.right, operation.out);
    } else {
      status = ScriptDecimal::Remainder(left, *operation.right, operation.out);
    }
    if (status != DecimalStatus::kOk) {
      lineNumber_ = startLine + operation.lineFeeds;
      return Fail(kErrDivisionOrOverflow);
    }
  }
  return true;
}

/* A numeric condition read before: both sides from their compiled operations. */
bool TZBasic::RunCompiledCondition(const TCompiledCondition& known, bool* result) {
  const LONG startLine = lineNumber_;
  if (!RunOperations(known.operations, startLine)) return false;
  *result = Holds(known.relation, ScriptDecimal::Compare(*known.left, *known.right));
  LeaveAt(known.endOffset, startLine + known.lineFeeds);
  return true;
}

/* The compiled condition an endwhile read before tests: its loop's, when that loop's
   condition is compiled; null when the endwhile must run as read. */
const TCompiledCondition* TZBasic::CompiledLoopTest(const TCachedToken& word) const {
  if (word.keywordCode != kKeyEndWhile) return nullptr;
  const TLoopEntry* loop = loops_.Top();
  return loop ? tokenCache_.FindCondition(loop->position) : nullptr;
}

/* After the loop's condition ran: back into the loop while it holds, else on after the
   endwhile, leaving the state EndWhileStatement leaves. */
[[gnu::always_inline]] inline bool TZBasic::FinishLoopTest(const TCachedToken& word,
                                                           const TCompiledCondition& test,
                                                           LONG startLine) {
  const LONG lineAfterEndWhile = lineNumber_ + word.lineFeeds;
  LeaveAt(test.endOffset, startLine + test.lineFeeds);
  if (!Holds(test.relation, ScriptDecimal::Compare(*test.left, *test.right))) {
    loops_.Drop();
    cursor_ = tokenCache_.Base() + word.endOffset;
    lineNumber_ = lineAfterEndWhile;
  }
  keywordCode_ = kKeyEndWhile;
  return true;
}

/* A statement read before. An assignment runs its expression's operations, an endwhile
   whose loop condition is compiled runs that condition's (what EndWhileStatement does,
   without reading a token); both share the one copy of the loop of operations that the
   statement loop holds inline. Other keyword statements run as read. */
[[gnu::always_inline]] inline bool TZBasic::RunCompiledStatement(const TCompiledStatement& known) {
  const TCompiledCondition* loopTest = nullptr;
  const std::vector<TExpressionOperation>* operations;
  LONG startLine;
  if (known.kind == TCompiledStatement::kAssignment) {
    operations = &known.expression->operations;
    startLine = lineNumber_ + known.lineFeeds;
  } else {
    loopTest = CompiledLoopTest(*known.word);
    if (!loopTest) {
      ApplyCachedToken(known.word);
      return ExecuteKeyword(known.word->keywordCode);
    }
    operations = &loopTest->operations;
    startLine = loops_.Top()->line;
  }
  if (!RunOperations(*operations, startLine)) return false;
  if (loopTest) return FinishLoopTest(*known.word, *loopTest, startLine);
  known.variable->value = *known.expression->result;
  LeaveAt(known.expression->endOffset, startLine + known.expression->lineFeeds);
  return !known.variable->field || StoreBoundVariable(*known.variable);
}

/* The statement loop. A statement run before starts from its compiled form, in this
   function's own body (RunCompiledStatement is inline here), so a loop's statements cost
   no call; one not run before is read. */
const char* TZBasic::RunStatements() {
  // A budget of statements far beyond any real script, and of running time for loops of
  // costly statements: an endless loop stops with an error instead of freezing the window
  // whose field or bundle runs it.
  for (long executed = 0;; ++executed) {
    if (executed == statementBudget_) return Fail(kErrScriptRanTooLong), nullptr;
    if (executed % kStatementsPerClockReading == 0 && executed > 0 && RanTooLong()) return nullptr;
    const TCompiledStatement* known = tokenCache_.FindStatement(cursor_);
    if (!(known ? RunCompiledStatement(*known) : ExecuteStatement())) return nullptr;
    if (gNestedChainStopped) return nullptr;  // an inner run hit the nesting limit
    if (keywordCode_ == kKeyEnd) return cursor_;
    if (keywordCode_ == kKeyEndOfText) return nullptr;
  }
}
