/*
** Reading a script's tokens: keywords (without case), punctuation, strings, and the integer
** expressions of resource scripts, including style expressions with NOT.
*/
#ifndef ZARNE_TOOLS_RC_RC_TOKEN_STREAM_H
#define ZARNE_TOOLS_RC_RC_TOKEN_STREAM_H

#include "tools/rc/rc_token.h"

#include <vector>

namespace rc {

class TokenStream {
 public:
  explicit TokenStream(const std::vector<Token>& tokens);

  const Token& Peek(size_t ahead = 0) const;
  const Token& Next();
  bool AtEnd() const { return position_ >= tokens_.size(); }

  bool IsKeyword(const char* word, size_t ahead = 0) const;
  bool AcceptKeyword(const char* word);
  bool AcceptPunct(const char* punct);
  void ExpectPunct(const char* punct, const char* after);
  void ExpectComma(const char* after) { ExpectPunct(",", after); }
  /* BEGIN or {, END or } */
  bool AcceptBegin();
  void ExpectBegin(const char* of);
  bool AcceptEnd();

  /* True when the next token can start an integer expression. */
  bool StartsExpression() const;
  /* An integer expression; isLong tells whether any number in it had an L suffix. */
  uint32_t Expression(const char* what, bool* isLong = nullptr);
  /* A style: terms joined by |, where NOT x clears x from what came before (or from the
   * default the style starts with). */
  uint32_t Style(uint32_t initial, const char* what);
  /* One string, or several written side by side. */
  std::string String(const char* what);

  [[noreturn]] void Fail(const std::string& message) const;

 private:
  int64_t Or(bool* isLong);
  int64_t And(bool* isLong);
  int64_t Sum(bool* isLong);
  int64_t Product(bool* isLong);
  int64_t Unary(bool* isLong);
  int64_t Primary(bool* isLong);

  const std::vector<Token>& tokens_;
  size_t position_ = 0;
  Token end_;
  const char* what_ = "";
  int depth_ = 0;  // how deeply the expression being read nests
  static constexpr int kMaxExpressionDepth = 256;
};

}  // namespace rc

#endif
