/*
** The scanner of TZBasic: turns the script text at the cursor into one token at a time,
** never copying or changing the text, and counts the line feeds it passes for the error
** box. Character classes are fixed ASCII ones, whatever the locale.
*/
#include "script/zbasic.h"

#include <cstring>

namespace {

struct TKeywordSlot {
  char name[10];
  LONG code;
};

// Searched in slot order; the last slot is empty and never matches.
const TKeywordSlot kKeywordTable[31] = {
    {"==", kRelEqual},        {"!=", kRelNotEqual},     {">", kRelGreater},
    {">=", kRelGreaterEqual}, {"<", kRelLess},          {"<=", kRelLessEqual},
    {"if", kKeyIf},           {"else", kKeyElse},       {"elseif", kKeyElseIf},
    {"endif", kKeyEndIf},     {"while", kKeyWhile},     {"endwhile", kKeyEndWhile},
    {"break", kKeyBreak},     {"goto", kKeyGoto},       {"end", kKeyEnd},
    {"copy", kKeyCopy},       {"print", kKeyPrint},     {"printnz", kKeyPrintNz},
    {"outfile", kKeyOutFile}, {"align", kKeyAlign},     {"verbose", kKeyVerbose},
    {"call", kKeyCall},       {"upper", kKeyUpper},     {"run", kKeyRun},
    {"rounddn", kKeyRoundDn}, {"round", kKeyRound},     {"roundup", kKeyRoundUp},
    {"append", kKeyAppend},   {"strprev", kKeyStrPrev}, {"strpost", kKeyStrPost},
    {"", kKeyNone},
};

constexpr int kLongestKeyword = 9;  // a longer word cannot match a 10-byte slot
constexpr int kMaxNameLength = kScriptNameSize - 1;
constexpr int kMaxLiteralLength = kScriptTextSize - 1;
const char kOperatorCharacters[] = "=+-*/%()";

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char ToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

void TZBasic::BeginScan(const char* text) {
  currentToken_ = nullptr;
  cursor_ = text;
  tokenStart_ = text;
  tokenText_[0] = '\0';
  tokenClass_ = kTokenNone;
  keywordCode_ = kKeyNone;
  errorCode_ = kScriptOk;
  lineNumber_ = 1;
}

const char* TZBasic::SkipLiteral(const char* quote) {
  const char* p = quote + 1;
  while (*p && *p != '"') {
    if (*p == '\\' && p[1]) ++p;  // the escaped character never ends the literal
    ++p;
  }
  return *p ? p + 1 : p;
}

void TZBasic::SkipSpaceCommentsAndLabels() {
  for (;;) {
    char c = *cursor_;
    if (c == '#') {
      const char* close = std::strchr(cursor_ + 1, '#');
      const char* end = close ? close + 1 : cursor_ + std::strlen(cursor_);
      for (const char* p = cursor_; p < end; ++p)
        if (*p == '\n') ++lineNumber_;
      cursor_ = end;
    } else if (c == ':') {
      // A label definition; the pre-scan has collected it already.
      while (*cursor_ && !IsSpace(*cursor_)) ++cursor_;
    } else if (IsSpace(c)) {
      if (c == '\n') ++lineNumber_;
      ++cursor_;
    } else {
      return;
    }
  }
}

void TZBasic::NextToken() {
  const char* from = cursor_;
  if (TCachedToken* cached = tokenCache_.Find(from)) {
    ApplyCachedToken(cached);
    return;
  }
  currentToken_ = nullptr;
  LONG lineBefore = lineNumber_;
  ScanToken();
  if (errorCode_ == kScriptOk && tokenCache_.Active()) RememberToken(from, lineBefore);
}

void TZBasic::RememberToken(const char* from, LONG lineBefore) {
  const char* base = tokenCache_.Base();
  TCachedToken token;
  token.tokenClass = tokenClass_;
  token.keywordCode = keywordCode_;
  token.lineFeeds = lineNumber_ - lineBefore;
  token.startOffset = static_cast<uint32_t>(tokenStart_ - base);
  token.endOffset = static_cast<uint32_t>(cursor_ - base);
  token.textLength = static_cast<uint32_t>(std::strlen(tokenText_));
  if (tokenClass_ == kTokenKeyword || tokenClass_ == kTokenRelational) {
    std::memcpy(token.keywordText, tokenText_, token.textLength + 1);
  } else {
    const char* text = tokenStart_ + (tokenClass_ == kTokenString ? 1 : 0);  // inside quotes
    token.textOffset = static_cast<uint32_t>(text - base);
  }
  currentToken_ = tokenCache_.Store(from, token);
}

void TZBasic::ApplyCachedToken(TCachedToken* token) {
  const char* base = tokenCache_.Base();
  tokenStart_ = base + token->startOffset;
  cursor_ = base + token->endOffset;
  lineNumber_ += token->lineFeeds;
  tokenClass_ = token->tokenClass;
  keywordCode_ = token->keywordCode;
  if (tokenClass_ == kTokenKeyword || tokenClass_ == kTokenRelational) {
    // The whole padded field, terminator included: a copy of fixed size is the cheapest.
    std::memcpy(tokenText_, token->keywordText, sizeof token->keywordText);
  } else {
    std::memcpy(tokenText_, base + token->textOffset, token->textLength);
    tokenText_[token->textLength] = '\0';
  }
  currentToken_ = token;
}

/* Reads one token from the text itself. */
void TZBasic::ScanToken() {
  tokenClass_ = kTokenNone;
  keywordCode_ = kKeyNone;
  tokenText_[0] = '\0';
  SkipSpaceCommentsAndLabels();
  tokenStart_ = cursor_;
  char c = *cursor_;
  if (c == '\0') {
    tokenClass_ = kTokenKeyword;
    keywordCode_ = kKeyEndOfText;
    return;
  }
  if (LookupKeyword()) return;
  if (std::strchr(kOperatorCharacters, c)) {
    tokenText_[0] = c;
    tokenText_[1] = '\0';
    tokenClass_ = kTokenOperator;
    ++cursor_;
  } else if (IsDigit(c) || c == '.') {
    ScanNumber();
  } else if (IsLetter(c)) {
    ScanName();
  } else if (c == '"') {
    ScanStringLiteral();
  } else {
    errorCode_ = kErrExpectingToken;
  }
}

bool TZBasic::LookupKeyword() {
  const char* p = cursor_;
  int length = 0;
  char word[kLongestKeyword + 1];
  while (p[length] && !IsSpace(p[length])) {
    if (length >= kLongestKeyword) return false;  // cursor and token are untouched so far
    word[length] = ToLower(p[length]);
    ++length;
  }
  word[length] = '\0';
  for (const TKeywordSlot& slot : kKeywordTable) {
    if (slot.name[0] == '\0' || std::strcmp(slot.name, word) != 0) continue;
    keywordCode_ = slot.code;
    tokenClass_ = slot.code <= kRelLessEqual ? kTokenRelational : kTokenKeyword;
    std::memcpy(tokenText_, word, length + 1);
    cursor_ = p + length;
    return true;
  }
  return false;
}

void TZBasic::PushBack() {
  cursor_ = tokenStart_;
  PushBackState();
}

/* The token state after a push-back: nothing read, the cursor at the token's start. */
void TZBasic::PushBackState() {
  currentToken_ = nullptr;
  tokenStart_ = cursor_;
  tokenText_[0] = '\0';
  tokenClass_ = kTokenNone;
  keywordCode_ = kKeyNone;
}

void TZBasic::ScanNumber() {
  int length = 0;
  int laterPoints = 0;
  tokenClass_ = kTokenNumber;
  for (const char* p = cursor_; IsDigit(*p) || *p == '.'; ++p) {
    if (length > 0 && *p == '.') ++laterPoints;
    if (length >= kMaxLiteralLength) {
      errorCode_ = kErrDivisionOrOverflow;  // no number of 4096 digits has a value
      cursor_ = p;
      tokenText_[length] = '\0';
      return;
    }
    tokenText_[length++] = *p;
  }
  tokenText_[length] = '\0';
  cursor_ += length;
  // A leading point counts as a decimal point too, so ".5." holds two of them.
  if (laterPoints + (tokenText_[0] == '.' ? 1 : 0) >= 2) errorCode_ = kErrTwoDecimalPoints;
}

void TZBasic::ScanName() {
  int length = 0;
  tokenClass_ = kTokenName;
  const char* p = cursor_;
  while (IsLetter(*p) || IsDigit(*p) || *p == '_' || *p == '$') {
    if (length >= kMaxNameLength) {
      errorCode_ = kErrVariableTooLong;
      cursor_ = p;
      tokenText_[length] = '\0';
      return;
    }
    tokenText_[length++] = *p++;
  }
  tokenText_[length] = '\0';
  cursor_ = p;
}

void TZBasic::ScanStringLiteral() {
  int length = 0;
  const char* p = cursor_ + 1;
  while (*p && *p != '"') {
    int take = (*p == '\\' && p[1]) ? 2 : 1;  // a backslash keeps the next character
    if (length + take > kMaxLiteralLength) break;
    for (int i = 0; i < take; ++i) tokenText_[length++] = *p++;
  }
  tokenText_[length] = '\0';
  cursor_ = p;
  if (*p != '"') {  // too long, or no closing quote before the end of the text
    errorCode_ = kErrStringTooLong;
    return;
  }
  cursor_ = p + 1;
  tokenClass_ = kTokenString;
}
