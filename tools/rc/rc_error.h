/*
** Where a token came from, and the error that stops the compilation: it carries the file and
** line that the message names ("file:line: message").
*/
#ifndef ZARNE_TOOLS_RC_RC_ERROR_H
#define ZARNE_TOOLS_RC_RC_ERROR_H

#include <stdexcept>
#include <string>

namespace rc {

struct SourcePosition {
  const std::string* file = nullptr;  // owned by the preprocessor's file list
  int line = 0;
};

class CompileError : public std::runtime_error {
 public:
  CompileError(const SourcePosition& where, const std::string& message)
      : std::runtime_error(message), where_(where) {}
  std::string Describe() const {
    return (where_.file ? *where_.file : std::string("<command line>")) + ":" +
           std::to_string(where_.line) + ": " + what();
  }

 private:
  SourcePosition where_;
};

[[noreturn]] inline void Fail(const SourcePosition& where, const std::string& message) {
  throw CompileError(where, message);
}

}  // namespace rc

#endif
