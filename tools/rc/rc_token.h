/*
** The tokens of a resource script after preprocessing: names, numbers, decoded strings and
** punctuation, each with the place it came from.
*/
#ifndef ZARNE_TOOLS_RC_RC_TOKEN_H
#define ZARNE_TOOLS_RC_RC_TOKEN_H

#include "tools/rc/rc_error.h"

#include <cstdint>
#include <string>

namespace rc {

enum class TokenKind { Name, Number, String, Punct, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;   // the name, the punctuation, or the number as written
  std::string bytes;  // a string's decoded Windows-1252 bytes
  uint32_t number = 0;
  bool isLong = false;  // a number written with an L suffix
  SourcePosition where;

  bool IsPunct(const char* p) const { return kind == TokenKind::Punct && text == p; }
};

}  // namespace rc

#endif
