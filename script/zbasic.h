/*
** TZBasic: the ZarneBasic interpreter. It reads the caller's script text token by token
** (the scanner), runs its statements over decimal and string variables, and reports the
** first error in a box naming the line. A field script runs whole; a bundle script runs
** step by step, each `end` returning the position to go on from.
*/
#ifndef ZARNE_SCRIPT_ZBASIC_H
#define ZARNE_SCRIPT_ZBASIC_H

#include "platform/kernel/wintypes.h"
#include "script/script_decimal.h"
#include "script/script_errors.h"
#include "script/script_field_binding.h"
#include "script/script_variables.h"
#include "script/zbasic_token_cache.h"

/* Token classes. */
enum TTokenClass : LONG {
  kTokenNone = 0,
  kTokenOperator = 1,
  kTokenName = 2,
  kTokenNumber = 3,
  kTokenRelational = 4,
  kTokenKeyword = 5,
  kTokenString = 7,
};

/* Keyword and relational codes; kKeyEndOfText marks the end of the text. */
enum TKeywordCode : LONG {
  kKeyNone = 0,
  kRelEqual = 1,
  kRelNotEqual,
  kRelGreater,
  kRelGreaterEqual,
  kRelLess,
  kRelLessEqual,
  kKeyIf = 7,
  kKeyElse,
  kKeyElseIf,
  kKeyEndIf,
  kKeyWhile,
  kKeyEndWhile,
  kKeyBreak,
  kKeyGoto,
  kKeyEnd = 15,
  kKeyEndOfText = 16,
  kKeyCopy = 17,
  kKeyPrint,
  kKeyPrintNz,
  kKeyOutFile,
  kKeyAlign,
  kKeyVerbose,
  kKeyCall,
  kKeyUpper,
  kKeyRun,
  kKeyRoundDn,
  kKeyRound,
  kKeyRoundUp,
  kKeyAppend,
  kKeyStrPrev,
  kKeyStrPost = 31,
};

/* Runs nested through field write-backs deeper than this stop with an error. */
constexpr int kMaxScriptNesting = 32;
/* Parentheses nested deeper than this in one expression are an error. */
constexpr int kMaxParenthesisDepth = 200;
/* A run that would execute more statements than this stops with an error (an endless loop). */
constexpr long kMaxStatementsPerRun = 10000000;
/* A run, with the runs its write-backs start, that has been running longer than this stops
   with the same error: a statement that writes a bound field costs far more than a plain
   one, so the count alone would let such a loop freeze the window for many seconds. Time
   spent in an error box does not count. */
constexpr DWORD kMaxRunMilliseconds = 1000;
/* The clock is read once per this many statements, so reading it costs the loop nothing. */
constexpr long kStatementsPerClockReading = 1024;

// Owner: script.
// Set when the nesting or the time limit stopped a run of a chain nested through field
// write-backs: every run of that chain stops too, so a script that writes its own field
// several times cannot fan out before the limit.
extern bool gNestedChainStopped;

class TZBasic {
 public:
  /* The owner's fields are the data fields scripts may bind; null for none. */
  explicit TZBasic(TScriptFieldBinding* owner);
  TZBasic(const TZBasic&) = delete;
  TZBasic& operator=(const TZBasic&) = delete;
  ~TZBasic();

  /* Runs from `text`; answers the position just after an `end`, or null at the end of
     the text or after an error (already shown). The text must stay unchanged meanwhile. */
  const char* RunScript(const char* text);

  /* Called at the end of every run with the run's own variables, before they are freed:
     what tests and diagnostics read a run's results through. */
  using TLocalsObserver = void (*)(const TVariableList& locals, void* context);
  void SetLocalsObserver(TLocalsObserver observer, void* context);

  /* How many statements one run may execute (kMaxStatementsPerRun unless set): fuzzing,
     which runs each input under a second, stops its endless loops sooner. */
  void SetStatementBudget(long statements) { statementBudget_ = statements; }

  /* Tests only: the millisecond clock runs are timed by (the system's tick count when null). */
  using TMillisecondClock = DWORD (*)();
  static void SetClockForTest(TMillisecondClock clock);

  /* The scanner, usable on its own. */
  void BeginScan(const char* text);
  void NextToken();
  bool LookupKeyword();
  void PushBack();
  /* From an opening quote to just past the closing one (or the end of the text). */
  static const char* SkipLiteral(const char* quote);

  const char* Cursor() const { return cursor_; }
  const char* TokenText() const { return tokenText_; }
  LONG TokenClass() const { return tokenClass_; }
  LONG KeywordCode() const { return keywordCode_; }
  /* The error being scanned or run; after a run that stopped on an error (shown, null
     answered), that run's error until the next run begins. */
  LONG ErrorCode() const { return errorCode_ != 0 ? errorCode_ : lastRunError_; }
  LONG LineNumber() const { return lineNumber_; }

 private:
  // Run and its reset.
  void Reset();
  bool PreScanLabels(const char* text);
  const char* RunStatements();
  bool ExecuteStatement();
  bool ExecuteKeyword(LONG code);
  void ShowErrorBox();
  bool Fail(LONG code);
  bool RanTooLong();

  // Scanner pieces.
  void ScanToken();
  void PushBackState();
  void RememberToken(const char* from, LONG lineBefore);
  void ApplyCachedToken(TCachedToken* token);
  void SkipSpaceCommentsAndLabels();
  void ScanNumber();
  void ScanName();
  void ScanStringLiteral();
  bool IsOperator(const char* token, char op) const;

  // Expressions and conditions.
  bool Expression(ScriptDecimal* value);
  bool ReadExpression(ScriptDecimal* value);
  bool RunCompiledExpression(const TCompiledExpression& compiled, ScriptDecimal* value);
  bool RunOperations(const std::vector<TExpressionOperation>& operations, LONG startLine);
  void LeaveAt(uint32_t endOffset, LONG line);
  void RecordStep(TExpressionStep::Kind kind, const ScriptDecimal* constant,
                  const TVariableNode* variable);
  bool Term(ScriptDecimal* value);
  bool Unary(ScriptDecimal* value);
  bool Primary(ScriptDecimal* value);
  bool Arithmetic(char op, const ScriptDecimal& left, const ScriptDecimal& right,
                  ScriptDecimal* result);
  /* A condition read before from the same position runs from its compiled form. */
  bool Condition(bool* result) {
    if (const TCompiledCondition* known = tokenCache_.FindCondition(cursor_))
      return RunCompiledCondition(*known, result);
    return ReadCondition(result);
  }
  bool ReadCondition(bool* result);
  bool RunCompiledCondition(const TCompiledCondition& condition, bool* result);
  static bool Holds(LONG relation, int order);
  bool StringOperand(const char** text, char* literalCopy);

  // Statements.
  bool Assignment(const char* statementStart, LONG statementLine);
  bool RunCompiledStatement(const TCompiledStatement& statement);
  const TCompiledCondition* CompiledLoopTest(const TCachedToken& word) const;
  bool FinishLoopTest(const TCachedToken& word, const TCompiledCondition& test, LONG startLine);
  bool IfStatement();
  bool SkipIfBlock(bool branchesAllowed);
  bool EndIfStatement();
  bool WhileStatement();
  bool EndWhileStatement();
  bool BreakStatement();
  bool SkipToMatchingEndWhile();
  bool GotoStatement();
  bool VerboseStatement();
  bool UpperStatement();
  bool RoundStatement(LONG code);
  bool AppendStatement();
  bool SplitStatement(LONG code);

  // Variables and their binding.
  TVariableNode* FindVariable(const char* name);
  TVariableNode* LookUpOrCreate(const char* name);
  const TFieldNode* FindDataField(const char* name);
  TVariableNode* NameToken();
  TVariableNode* StringTarget();
  void LoadBoundVariable(TVariableNode* node, int displayType);
  bool StoreBoundVariable(const TVariableNode& node);
  static void CopyScriptText(char* destination, const char* source);

  TScriptFieldBinding* owner_;
  TVariableList locals_;
  TLabelList labels_;
  TLoopStack loops_;
  LONG ifDepth_ = 0;
  int parenthesisDepth_ = 0;
  // Scanner state.
  const char* cursor_ = nullptr;
  char tokenText_[kScriptTextSize] = {};
  LONG tokenClass_ = kTokenNone;
  LONG keywordCode_ = kKeyNone;
  const char* tokenStart_ = nullptr;
  LONG errorCode_ = kScriptOk;
  LONG lastRunError_ = 0;  // the error the last run stopped on
  LONG lineNumber_ = 1;

  // What the run has read so far, and the entry of the current token (null when none).
  TTokenCache tokenCache_;
  TCachedToken* currentToken_ = nullptr;
  // The steps of the expression being read for the first time, and its first line.
  std::vector<TExpressionStep>* recording_ = nullptr;
  LONG recordingLine_ = 0;

  bool running_ = false;  // a run of this interpreter is in progress
  long statementBudget_ = kMaxStatementsPerRun;

  TLocalsObserver localsObserver_ = nullptr;
  void* observerContext_ = nullptr;
};

#endif
