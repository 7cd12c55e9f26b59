/*
** Token reading and expression evaluation. Names in expressions are the built-in platform
** constants; script macros were already replaced by the preprocessor.
*/
#include "tools/rc/rc_token_stream.h"

#include "tools/rc/rc_constants.h"

#include <cctype>
#include <strings.h>

#include <limits>

namespace rc {

TokenStream::TokenStream(const std::vector<Token>& tokens) : tokens_(tokens) {
  end_.kind = TokenKind::End;
  end_.text = "end of file";
  if (!tokens.empty()) end_.where = tokens.back().where;
}

const Token& TokenStream::Peek(size_t ahead) const {
  return position_ + ahead < tokens_.size() ? tokens_[position_ + ahead] : end_;
}

const Token& TokenStream::Next() {
  const Token& token = Peek();
  if (!AtEnd()) ++position_;
  return token;
}

bool TokenStream::IsKeyword(const char* word, size_t ahead) const {
  const Token& token = Peek(ahead);
  return token.kind == TokenKind::Name && strcasecmp(token.text.c_str(), word) == 0;
}

bool TokenStream::AcceptKeyword(const char* word) {
  if (!IsKeyword(word)) return false;
  Next();
  return true;
}

bool TokenStream::AcceptPunct(const char* punct) {
  if (!Peek().IsPunct(punct)) return false;
  Next();
  return true;
}

void TokenStream::ExpectPunct(const char* punct, const char* after) {
  if (!AcceptPunct(punct))
    Fail(std::string("expected '") + punct + "' after " + after + ", found '" + Peek().text + "'");
}

bool TokenStream::AcceptBegin() { return AcceptKeyword("BEGIN") || AcceptPunct("{"); }

void TokenStream::ExpectBegin(const char* of) {
  if (!AcceptBegin())
    Fail(std::string("expected BEGIN of ") + of + ", found '" + Peek().text + "'");
}

bool TokenStream::AcceptEnd() { return AcceptKeyword("END") || AcceptPunct("}"); }

bool TokenStream::StartsExpression() const {
  const Token& token = Peek();
  uint32_t ignored;
  if (token.kind == TokenKind::Number) return true;
  if (token.kind == TokenKind::Name) return LookUpConstant(token.text, &ignored);
  return token.IsPunct("(") || token.IsPunct("-") || token.IsPunct("~");
}

void TokenStream::Fail(const std::string& message) const { rc::Fail(Peek().where, message); }

uint32_t TokenStream::Expression(const char* what, bool* isLong) {
  bool anyLong = false;
  what_ = what;
  uint32_t value = static_cast<uint32_t>(Or(&anyLong));
  if (isLong) *isLong = anyLong;
  return value;
}

uint32_t TokenStream::Style(uint32_t initial, const char* what) {
  what_ = what;
  uint32_t value = initial;
  bool isLong = false;
  do {
    if (AcceptKeyword("NOT")) value &= ~static_cast<uint32_t>(Sum(&isLong));
    else value |= static_cast<uint32_t>(And(&isLong));
  } while (AcceptPunct("|"));
  return value;
}

std::string TokenStream::String(const char* what) {
  if (Peek().kind != TokenKind::String)
    Fail(std::string("expected a string for ") + what + ", found '" + Peek().text + "'");
  std::string text;
  while (Peek().kind == TokenKind::String) text += Next().bytes;
  return text;
}

int64_t TokenStream::Or(bool* isLong) {
  int64_t value = And(isLong);
  while (AcceptPunct("|")) value |= And(isLong);
  return value;
}

int64_t TokenStream::And(bool* isLong) {
  int64_t value = Sum(isLong);
  while (AcceptPunct("&")) value &= Sum(isLong);
  return value;
}

// Sums, differences and products wrap around in 64 bits (the value kept is its low 32 bits),
// so no expression is undefined.
namespace {
int64_t Wrap(uint64_t value) { return static_cast<int64_t>(value); }
}  // namespace

int64_t TokenStream::Sum(bool* isLong) {
  int64_t value = Product(isLong);
  for (;;) {
    if (AcceptPunct("+")) value = Wrap(uint64_t(value) + uint64_t(Product(isLong)));
    else if (AcceptPunct("-")) value = Wrap(uint64_t(value) - uint64_t(Product(isLong)));
    else return value;
  }
}

int64_t TokenStream::Product(bool* isLong) {
  int64_t value = Unary(isLong);
  for (;;) {
    if (AcceptPunct("*")) {
      value = Wrap(uint64_t(value) * uint64_t(Unary(isLong)));
    } else if (Peek().IsPunct("/")) {
      Next();
      int64_t divisor = Unary(isLong);
      if (divisor == 0) Fail(std::string("division by zero in ") + what_);
      if (value == std::numeric_limits<int64_t>::min() && divisor == -1)
        Fail(std::string("overflow in ") + what_);
      value /= divisor;
    } else {
      return value;
    }
  }
}

int64_t TokenStream::Unary(bool* isLong) {
  // Each level of parentheses and each unary operator nests once; far deeper than any
  // real script is refused rather than running out of stack.
  if (++depth_ > kMaxExpressionDepth) Fail(std::string("expression nested too deeply in ") + what_);
  int64_t value;
  if (AcceptPunct("-")) value = Wrap(0 - uint64_t(Unary(isLong)));
  else if (AcceptPunct("~") || AcceptKeyword("NOT")) value = ~Unary(isLong);
  else value = Primary(isLong);
  --depth_;
  return value;
}

int64_t TokenStream::Primary(bool* isLong) {
  const Token& token = Peek();
  if (token.kind == TokenKind::Number) {
    Next();
    *isLong = *isLong || token.isLong;
    return token.number;
  }
  if (token.kind == TokenKind::Name) {
    uint32_t value;
    if (!LookUpConstant(token.text, &value)) Fail("unknown name '" + token.text + "' in " + what_);
    Next();
    return value;
  }
  if (AcceptPunct("(")) {
    int64_t value = Or(isLong);
    ExpectPunct(")", what_);
    return value;
  }
  Fail(std::string("expected a number for ") + what_ + ", found '" + token.text + "'");
}

}  // namespace rc
