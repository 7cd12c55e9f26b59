/*
** Control flow of TZBasic: if / elseif / else / endif, while / endwhile / break and goto.
** Skipping a branch or a loop reads tokens and counts nesting, so the matching endif or
** endwhile is found. Jumps back restore the line number of their target, so each line is
** counted once in error messages.
*/
#include "script/zbasic.h"

#include <cstring>

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

bool TZBasic::IfStatement() {
  ++ifDepth_;
  bool holds = false;
  if (!Condition(&holds)) return false;
  return holds || SkipIfBlock(true);
}

/* Skips to the end of the current if-block; with branches allowed, an else or a true
   elseif of this block ends the skip there. */
bool TZBasic::SkipIfBlock(bool branchesAllowed) {
  const LONG target = ifDepth_ - 1;
  for (;;) {
    NextToken();
    if (errorCode_ != kScriptOk) return false;
    if (tokenClass_ != kTokenKeyword) continue;
    switch (keywordCode_) {
      case kKeyIf: ++ifDepth_; break;
      case kKeyEndIf:
        if (--ifDepth_ <= target) return true;
        break;
      case kKeyElse:
        if (branchesAllowed && ifDepth_ == target + 1) return true;
        break;
      case kKeyElseIf:
        if (branchesAllowed && ifDepth_ == target + 1) {
          bool holds = false;
          if (!Condition(&holds)) return false;
          if (holds) return true;
        }
        break;
      case kKeyEnd:
      case kKeyEndOfText: return Fail(kErrUnbalancedIf);
      default: break;
    }
  }
}

bool TZBasic::EndIfStatement() {
  if (--ifDepth_ < 0) return Fail(kErrUnbalancedIf);
  return true;
}

bool TZBasic::WhileStatement() {
  TLoopEntry loop{cursor_, lineNumber_};  // just after the word while
  bool holds = false;
  if (!Condition(&holds)) return false;
  if (!holds) return SkipToMatchingEndWhile();
  if (!loops_.Push(loop)) return Fail(kErrTooManyLoops);
  return true;
}

/* The innermost loop's condition is tested again: it stays active while it holds (no
   pop and push back), otherwise the run goes on after the endwhile. */
bool TZBasic::EndWhileStatement() {
  const TLoopEntry* loop = loops_.Top();
  if (!loop) return Fail(kErrUnbalancedWhile);  // no active loop to repeat
  const char* afterEndWhile = cursor_;
  LONG lineAfterEndWhile = lineNumber_;
  cursor_ = loop->position;
  lineNumber_ = loop->line;
  bool holds = false;
  if (!Condition(&holds)) return false;
  if (!holds) {
    loops_.Drop();
    cursor_ = afterEndWhile;
    lineNumber_ = lineAfterEndWhile;
  }
  keywordCode_ = kKeyEndWhile;  // the statement's last keyword, not the condition's
  return true;
}

bool TZBasic::BreakStatement() {
  TLoopEntry ignored;
  loops_.Pop(&ignored);  // with no loop active it only skips to the next endwhile
  return SkipToMatchingEndWhile();
}

/* Skips past the endwhile that closes the current loop, over nested loops; if-blocks
   left on the way are closed. */
bool TZBasic::SkipToMatchingEndWhile() {
  int nested = 0;
  for (;;) {
    NextToken();
    if (errorCode_ != kScriptOk) return false;
    if (tokenClass_ != kTokenKeyword) continue;
    switch (keywordCode_) {
      case kKeyWhile: ++nested; break;
      case kKeyEndWhile:
        if (nested-- == 0) return true;
        break;
      case kKeyIf: ++ifDepth_; break;
      case kKeyEndIf: --ifDepth_; break;
      case kKeyEnd:
      case kKeyEndOfText: return Fail(kErrUnbalancedWhile);
      default: break;
    }
  }
}

bool TZBasic::GotoStatement() {
  while (IsSpace(*cursor_)) {
    if (*cursor_ == '\n') ++lineNumber_;
    ++cursor_;
  }
  char name[kScriptLabelSize];
  int length = 0;
  for (; *cursor_ && !IsSpace(*cursor_); ++cursor_) {
    if (length >= kScriptLabelSize - 1) return Fail(kErrLabelTooLong);
    name[length++] = *cursor_;
  }
  name[length] = '\0';
  const TLabelNode* label = labels_.Find(name);
  if (!label) return Fail(kErrLabelExpected);
  cursor_ = label->position;
  lineNumber_ = label->line;
  loops_.Clear();
  ifDepth_ = 0;
  return true;
}
