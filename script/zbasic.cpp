/*
** TZBasic's run: reset, the label pre-scan, the first reading of a statement and the error
** box (the statement loop is with the compiled statements it runs). Runs nest when a field
** write-back starts another field's script; the depth is limited so a script that keeps
** triggering itself stops with one error instead of exhausting the stack.
*/
#include "script/zbasic.h"

#include "platform/kernel/format.h"
#include "platform/kernel/local_time.h"
#include "platform/kernel/resources.h"
#include "platform/user/message_box.h"

#include <cstring>

// Owner: script.
bool gNestedChainStopped = false;

namespace {

// Owner: script.
int gRunDepth = 0;
TZBasic::TMillisecondClock gClock = nullptr;
// When the outermost run of the chain began, moved later by the time its error boxes stood open.
DWORD gChainStart = 0;

DWORD Now() { return gClock ? gClock() : GetTickCount(); }

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int CountLineFeeds(const char* from, const char* to) {
  int count = 0;
  for (const char* p = from; p < to; ++p)
    if (*p == '\n') ++count;
  return count;
}

/* Counts a run in and out of the nesting depth. */
class TRunDepthGuard {
 public:
  TRunDepthGuard() {
    if (++gRunDepth == 1) gChainStart = Now();
  }
  ~TRunDepthGuard() {
    if (--gRunDepth == 0) gNestedChainStopped = false;
  }
  bool TooDeep() const { return gRunDepth > kMaxScriptNesting; }
};

}  // namespace

TZBasic::TZBasic(TScriptFieldBinding* owner) : owner_(owner) {}

TZBasic::~TZBasic() {
  locals_.Clear();
  labels_.Clear();
}

void TZBasic::SetClockForTest(TMillisecondClock clock) { gClock = clock; }

void TZBasic::SetLocalsObserver(TLocalsObserver observer, void* context) {
  localsObserver_ = observer;
  observerContext_ = context;
}

void TZBasic::Reset() {
  locals_.Clear();
  labels_.Clear();
  loops_.Clear();
  ifDepth_ = 0;
  parenthesisDepth_ = 0;
  tokenCache_.End();
  BeginScan(nullptr);
}

bool TZBasic::Fail(LONG code) {
  if (errorCode_ == kScriptOk) errorCode_ = code;
  return false;
}

const char* TZBasic::RunScript(const char* text) {
  if (running_) {
    // Re-entered through a write-back: this run's state must survive, so the inner call
    // is refused like a run nested too deeply.
    LONG line = lineNumber_;
    errorCode_ = kErrScriptsNestedTooDeeply;
    ShowErrorBox();
    lineNumber_ = line;
    gNestedChainStopped = true;
    return nullptr;
  }
  Reset();
  lastRunError_ = kScriptOk;
  if (!text) return nullptr;
  running_ = true;
  TRunDepthGuard depth;
  BeginScan(text);
  tokenCache_.Begin(text);
  const char* resumeAt = nullptr;
  if (depth.TooDeep()) {
    gNestedChainStopped = true;
    Fail(kErrScriptsNestedTooDeeply);
  } else if (PreScanLabels(text)) {
    resumeAt = RunStatements();
  }
  if (errorCode_ != kScriptOk) {
    lastRunError_ = errorCode_;  // the box clears the scanner's error; callers still ask
    ShowErrorBox();
    resumeAt = nullptr;
  }
  if (localsObserver_) localsObserver_(locals_, observerContext_);
  Reset();
  running_ = false;
  return resumeAt;
}

bool TZBasic::PreScanLabels(const char* text) {
  LONG line = 1;
  const char* p = text;
  while (*p) {
    if (*p == '"') {  // labels and comment marks inside a literal are text
      p = SkipLiteral(p);
    } else if (*p == '#') {  // so is a colon inside a comment
      const char* close = std::strchr(p + 1, '#');
      const char* end = close ? close + 1 : p + std::strlen(p);
      line += CountLineFeeds(p, end);
      p = end;
    } else if (*p == ':') {
      TLabelNode label;
      int length = 0;
      for (++p; *p && !IsSpace(*p); ++p) {
        if (length >= kScriptLabelSize - 1) {
          lineNumber_ = line;
          return Fail(kErrLabelTooLong);
        }
        label.name[length++] = *p;
      }
      for (; IsSpace(*p); ++p)
        if (*p == '\n') ++line;
      if (labels_.Find(label.name)) {
        lineNumber_ = line;
        return Fail(kErrDuplicateLabel);
      }
      label.position = p;
      label.line = line;
      if (!labels_.Add(label)) return Fail(kErrInternal);
    } else {
      if (*p == '\n') ++line;
      ++p;
    }
  }
  return true;
}

bool TZBasic::RanTooLong() {
  if (static_cast<DWORD>(Now() - gChainStart) <= kMaxRunMilliseconds) return false;
  // The runs whose write-backs started this one have run as long: they stop without a box.
  gNestedChainStopped = true;
  Fail(kErrScriptRanTooLong);
  return true;
}

/* A statement not run before from this position: read from its first token. */
bool TZBasic::ExecuteStatement() {
  const char* start = cursor_;
  LONG startLine = lineNumber_;
  NextToken();
  if (errorCode_ != kScriptOk) return false;
  if (tokenClass_ == kTokenName) return Assignment(start, startLine);
  if (tokenClass_ == kTokenKeyword) {
    if (currentToken_) {  // the word is in the token memory: later passes start from it
      TCompiledStatement known;
      known.kind = TCompiledStatement::kKeyword;
      known.word = currentToken_;
      tokenCache_.StoreStatement(start, known);
    }
    return ExecuteKeyword(keywordCode_);
  }
  return Fail(kErrVariableOrCommandExpected);
}

bool TZBasic::ExecuteKeyword(LONG code) {
  switch (code) {
    case kKeyIf: return IfStatement();
    case kKeyElse:
    case kKeyElseIf: return SkipIfBlock(false);
    case kKeyEndIf: return EndIfStatement();
    case kKeyWhile: return WhileStatement();
    case kKeyEndWhile: return EndWhileStatement();
    case kKeyBreak: return BreakStatement();
    case kKeyGoto: return GotoStatement();
    case kKeyVerbose: return VerboseStatement();
    case kKeyUpper: return UpperStatement();
    case kKeyRoundDn:
    case kKeyRound:
    case kKeyRoundUp: return RoundStatement(code);
    case kKeyAppend: return AppendStatement();
    case kKeyStrPrev:
    case kKeyStrPost: return SplitStatement(code);
    default: return true;  // end, the end of the text, and the words that do nothing
  }
}

void TZBasic::ShowErrorBox() {
  char caption[30], format[40], message[80], text[WSPRINTF_LIMIT];
  HINSTANCE strings = nullptr;  // the running program's string table
  LoadString(strings, kScriptErrorCaptionString, caption, sizeof caption);
  LoadString(strings, kScriptErrorFormatString, format, sizeof format);
  LoadString(strings, kScriptErrorFormatString + errorCode_, message, sizeof message);
  wsprintf(text, format, static_cast<int>(lineNumber_), message);
  DWORD opened = Now();
  MessageBox(owner_ ? owner_->ScriptOwnerWindow() : nullptr, text, caption, MB_OK | MB_ICONSTOP);
  gChainStart += Now() - opened;  // the time a person reads the box is not the script's
  errorCode_ = kScriptOk;
}
