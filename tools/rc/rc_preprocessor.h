/*
** The preprocessor and tokenizer of resource scripts: comments, line continuations,
** #include, #define (object-like), #undef, #ifdef/#ifndef/#if/#elif/#else/#endif, #pragma.
** Headers (.h and the like) contribute only their directives; their C text is skipped.
** A Ctrl-Z byte (0x1A) ends the file that holds it. "#pragma code_page(1252)" makes string
** literals byte for byte from that line to the end of the compilation (included files too),
** until "#pragma code_page(65001)" restores UTF-8, the default.
*/
#ifndef ZARNE_TOOLS_RC_RC_PREPROCESSOR_H
#define ZARNE_TOOLS_RC_RC_PREPROCESSOR_H

#include "tools/rc/rc_token.h"

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace rc {

class Preprocessor {
 public:
  explicit Preprocessor(std::vector<std::string> includeDirectories);

  /* The tokens of one top-level script; each script starts with no macros defined. */
  std::vector<Token> Tokenize(const std::string& path);

  /* Finds a file named in a script (an include, a bitmap), relative to the naming file first,
   * then in the include directories; records it as a dependency. Empty when not found. */
  std::string Locate(const std::string& name, const SourcePosition& namedAt, bool quoted);

  /* A name for positions that were not read from a file. */
  const std::string* Remember(const std::string& path);

  const std::set<std::string>& Dependencies() const { return dependencies_; }

 private:
  struct Conditional {
    bool active;  // this branch's lines are kept
    bool taken;   // some branch of this #if was kept
    bool parentActive;
    int line;  // where the #if stands, named when its #endif is missing
  };

  void ProcessFile(const std::string& path, bool header, int depth, std::vector<Token>* out);
  void Directive(const std::string& line, const SourcePosition& where, bool header, int depth,
                 std::vector<Token>* out);
  void Lex(const std::string& line, const SourcePosition& where, std::vector<Token>* out);
  void Expand(const Token& token, std::vector<Token>* out, int depth);
  bool EvaluateCondition(const std::string& text, const SourcePosition& where);
  bool Active() const { return conditionals_.empty() || conditionals_.back().active; }
  void Pragma(const std::string& text, const SourcePosition& where);

  std::vector<std::string> includeDirectories_;
  std::deque<std::string> fileNames_;
  std::map<std::string, std::vector<Token>> macros_;
  std::vector<Conditional> conditionals_;
  std::set<std::string> dependencies_;
  bool byteForByte_ = false;  // code page 1252 in force
  // The macros whose replacement is being expanded, and the tokens replacement gave so far.
  std::vector<const std::string*> expanding_;
  size_t expandedTokens_ = 0;
  size_t expansionStart_ = 0;  // expandedTokens_ when the current source token began
};

}  // namespace rc

#endif
