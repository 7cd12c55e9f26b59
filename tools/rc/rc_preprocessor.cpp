/*
** Preprocessing works line by line over text from which comments were removed first; a line
** that ends in a backslash continues on the next, and keeps the number of its first line.
*/
#include "tools/rc/rc_preprocessor.h"

#include "tools/rc/rc_text.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

namespace rc {

namespace {

constexpr int kMaxIncludeDepth = 32;
constexpr int kMaxExpansionDepth = 64;
// Macro replacement may give at most this many tokens for one name, and in one script: far
// beyond any real script, and a bound on macros that grow without end through one another.
constexpr size_t kMaxTokensPerExpansion = 4096;
constexpr size_t kMaxExpandedTokens = size_t(1) << 18;
// Parentheses and unary operators nested deeper than this in an #if are refused, rather
// than recursing until the stack runs out.
constexpr int kMaxConditionDepth = 256;

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}

bool IsHeaderFile(const std::string& path) {
  size_t dot = path.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == "h" || extension == "hh" || extension == "hpp" || extension == "c";
}

std::string Directory(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Only regular files are read: a directory or a device named as a script, an include or a
// resource file would abort the compiler or never end.
bool Readable(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         std::ifstream(path).good();
}

// Replaces comments by blanks, keeping line breaks, so that line numbers stay right.
std::string StripComments(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (inString) {
      out += c;
      if (c == '\\' && i + 1 < text.size() && text[i + 1] != '\n') out += text[++i];
      else if (c == '"' || c == '\n') inString = false;
      continue;
    }
    if (c == '"') {
      inString = true;
      out += c;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      while (i < text.size() && text[i] != '\n') ++i;
      if (i < text.size()) out += '\n';
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      i += 2;
      while (i < text.size() && !(text[i] == '*' && i + 1 < text.size() && text[i + 1] == '/')) {
        if (text[i] == '\n') out += '\n';
        ++i;
      }
      ++i;  // past the closing slash
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

struct LogicalLine {
  std::string text;
  int line;
};

std::vector<LogicalLine> SplitLines(const std::string& text) {
  std::vector<LogicalLine> lines;
  std::istringstream stream(text);
  std::string physical;
  int number = 0;
  LogicalLine pending{"", 0};
  bool continuing = false;
  while (std::getline(stream, physical)) {
    ++number;
    if (!physical.empty() && physical.back() == '\r') physical.pop_back();
    if (!continuing) pending = {"", number};
    bool continues = !physical.empty() && physical.back() == '\\';
    if (continues) physical.pop_back();
    pending.text += physical;
    continuing = continues;
    if (!continuing) lines.push_back(pending);
  }
  if (continuing) lines.push_back(pending);
  return lines;
}

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// A tiny evaluator for #if conditions: integers, names (0 unless defined as numbers),
// ! ~ - unary, * / + - < > <= >= == != & | && || and parentheses.
class ConditionEvaluator {
 public:
  ConditionEvaluator(const std::vector<Token>& tokens, const SourcePosition& where)
      : tokens_(tokens), where_(where) {}

  long Evaluate() {
    long value = Binary(0);
    if (position_ != tokens_.size()) Fail(where_, "cannot read the #if condition");
    return value;
  }

 private:
  static int Precedence(const std::string& op) {
    static const char* levels[][4] = {
        {"||"}, {"&&"}, {"|"}, {"&"}, {"==", "!="}, {"<", ">", "<=", ">="}, {"+", "-"}, {"*", "/"}};
    for (int level = 0; level < 8; ++level) {
      for (const char* candidate : levels[level]) {
        if (candidate && op == candidate) return level + 1;
      }
    }
    return 0;
  }

  long Binary(int minimum) {
    long left = Unary();
    while (position_ < tokens_.size() && tokens_[position_].kind == TokenKind::Punct) {
      const std::string op = tokens_[position_].text;
      int level = Precedence(op);
      if (level == 0 || level <= minimum) break;
      ++position_;
      long right = Binary(level);
      left = Apply(op, left, right);
    }
    return left;
  }

  // Sums, differences and products wrap around in 64 bits, so no condition is undefined.
  static long Wrap(unsigned long value) { return static_cast<long>(value); }

  long Apply(const std::string& op, long a, long b) {
    if (op == "||") return a || b;
    if (op == "&&") return a && b;
    if (op == "|") return a | b;
    if (op == "&") return a & b;
    if (op == "==") return a == b;
    if (op == "!=") return a != b;
    if (op == "<") return a < b;
    if (op == ">") return a > b;
    if (op == "<=") return a <= b;
    if (op == ">=") return a >= b;
    unsigned long ua = static_cast<unsigned long>(a), ub = static_cast<unsigned long>(b);
    if (op == "+") return Wrap(ua + ub);
    if (op == "-") return Wrap(ua - ub);
    if (op == "*") return Wrap(ua * ub);
    if (b == 0) Fail(where_, "division by zero in #if");
    if (a == std::numeric_limits<long>::min() && b == -1) Fail(where_, "overflow in #if");
    return a / b;
  }

  long Unary() {
    if (position_ >= tokens_.size()) Fail(where_, "#if condition ends too early");
    if (++depth_ > kMaxConditionDepth) Fail(where_, "#if condition nested too deeply");
    long value = UnaryOperand();
    --depth_;
    return value;
  }

  long UnaryOperand() {
    const Token& token = tokens_[position_++];
    if (token.IsPunct("!")) return !Unary();
    if (token.IsPunct("~")) return ~Unary();
    if (token.IsPunct("-")) return Wrap(0ul - static_cast<unsigned long>(Unary()));
    if (token.IsPunct("(")) {
      long value = Binary(0);
      if (position_ >= tokens_.size() || !tokens_[position_].IsPunct(")"))
        Fail(where_, "missing ) in #if");
      ++position_;
      return value;
    }
    if (token.kind == TokenKind::Number) return static_cast<long>(token.number);
    if (token.kind == TokenKind::Name) return 0;
    Fail(where_, "unexpected '" + token.text + "' in #if");
  }

  const std::vector<Token>& tokens_;
  const SourcePosition& where_;
  size_t position_ = 0;
  int depth_ = 0;
};

}  // namespace

Preprocessor::Preprocessor(std::vector<std::string> includeDirectories)
    : includeDirectories_(std::move(includeDirectories)) {}

const std::string* Preprocessor::Remember(const std::string& path) {
  fileNames_.push_back(path);
  return &fileNames_.back();
}

std::vector<Token> Preprocessor::Tokenize(const std::string& path) {
  macros_.clear();
  conditionals_.clear();
  expanding_.clear();
  expandedTokens_ = 0;
  std::vector<Token> tokens;
  if (!Readable(path)) Fail(SourcePosition{Remember(path), 0}, "cannot open the file");
  dependencies_.insert(path);
  ProcessFile(path, IsHeaderFile(path), 0, &tokens);
  if (!conditionals_.empty())
    Fail(SourcePosition{Remember(path), 0}, "#if without #endif at the end of the file");
  return tokens;
}

std::string Preprocessor::Locate(const std::string& name, const SourcePosition& namedAt,
                                 bool quoted) {
  std::vector<std::string> candidates;
  if (!name.empty() && name[0] == '/') {
    candidates.push_back(name);
  } else {
    if (quoted && namedAt.file) candidates.push_back(Directory(*namedAt.file) + "/" + name);
    for (const auto& directory : includeDirectories_) candidates.push_back(directory + "/" + name);
  }
  for (const auto& candidate : candidates) {
    if (Readable(candidate)) {
      dependencies_.insert(candidate);
      return candidate;
    }
  }
  return {};
}

void Preprocessor::ProcessFile(const std::string& path, bool header, int depth,
                               std::vector<Token>* out) {
  std::ifstream stream(path, std::ios::binary);
  std::stringstream content;
  content << stream.rdbuf();
  std::string text = content.str();
  // The old platform's compilers stopped at Ctrl-Z; editors still leave one at the end.
  size_t ctrlZ = text.find('\x1A');
  if (ctrlZ != std::string::npos) text.erase(ctrlZ);
  const std::string* name = Remember(path);
  size_t outerConditionals = conditionals_.size();
  for (const LogicalLine& line : SplitLines(StripComments(text))) {
    SourcePosition where{name, line.line};
    std::string text = Trim(line.text);
    if (!text.empty() && text[0] == '#') {
      Directive(text.substr(1), where, header, depth, out);
    } else if (!header && Active() && !text.empty()) {
      std::vector<Token> raw;
      Lex(text, where, &raw);
      for (const Token& token : raw) Expand(token, out, 0);
    }
  }
  if (conditionals_.size() != outerConditionals)
    Fail(SourcePosition{name, conditionals_.back().line}, "#if without #endif");
}

void Preprocessor::Directive(const std::string& line, const SourcePosition& where, bool header,
                             int depth, std::vector<Token>* out) {
  std::string text = Trim(line);
  size_t nameEnd = 0;
  while (nameEnd < text.size() && IsNameChar(text[nameEnd])) ++nameEnd;
  const std::string directive = text.substr(0, nameEnd);
  const std::string rest = Trim(text.substr(nameEnd));

  if (directive == "if" || directive == "ifdef" || directive == "ifndef") {
    bool parent = Active();
    bool holds = false;
    if (parent) {
      if (directive == "if") holds = EvaluateCondition(rest, where);
      else holds = (macros_.count(rest) != 0) == (directive == "ifdef");
    }
    conditionals_.push_back({parent && holds, parent && holds, parent, where.line});
    return;
  }
  if (directive == "elif" || directive == "else") {
    if (conditionals_.empty()) Fail(where, "#" + directive + " without #if");
    Conditional& open = conditionals_.back();
    bool holds =
        open.parentActive && !open.taken && (directive == "else" || EvaluateCondition(rest, where));
    open.active = holds;
    open.taken = open.taken || holds;
    return;
  }
  if (directive == "endif") {
    if (conditionals_.empty()) Fail(where, "#endif without #if");
    conditionals_.pop_back();
    return;
  }
  if (!Active()) return;

  if (directive == "include") {
    if (depth >= kMaxIncludeDepth) Fail(where, "#include nested too deeply");
    bool quoted = !rest.empty() && rest[0] == '"';
    char close = quoted ? '"' : '>';
    size_t end = rest.find(close, 1);
    if (rest.empty() || (rest[0] != '"' && rest[0] != '<') || end == std::string::npos)
      Fail(where, "#include needs a \"file\" or <file>");
    std::string name = rest.substr(1, end - 1);
    std::string found = Locate(name, where, quoted);
    if (found.empty()) {
      // The platform's own headers (<windows.h> and the like) are built into the compiler.
      if (!quoted) return;
      Fail(where, "cannot find include file \"" + name + "\"");
    }
    ProcessFile(found, IsHeaderFile(found), depth + 1, out);
    return;
  }
  if (directive == "define") {
    size_t end = 0;
    if (rest.empty() || !IsNameStart(rest[0])) Fail(where, "#define needs a name");
    while (end < rest.size() && IsNameChar(rest[end])) ++end;
    std::string name = rest.substr(0, end);
    if (end < rest.size() && rest[end] == '(') return;  // macros with arguments are not used
    std::vector<Token> body;
    Lex(rest.substr(end), where, &body);
    macros_[name] = body;
    return;
  }
  if (directive == "undef") {
    macros_.erase(rest);
    return;
  }
  if (directive == "pragma") return Pragma(rest, where);
  if (directive == "line") return;
  if (directive == "error") Fail(where, "#error " + rest);
  if (header) return;  // headers may carry directives of the C compiler
  Fail(where, "unknown directive #" + directive);
}

void Preprocessor::Pragma(const std::string& text, const SourcePosition& where) {
  std::string compact;
  for (char c : text)
    if (c != ' ' && c != '\t') compact += c;
  if (compact.compare(0, 10, "code_page(") != 0) return;  // other pragmas are the C compiler's
  std::string page =
      compact.substr(10, compact.find(')') == std::string::npos ? 0 : compact.find(')') - 10);
  if (page == "1252") byteForByte_ = true;
  else if (page == "65001") byteForByte_ = false;
  else Fail(where, "unsupported code page '" + page + "'");
}

bool Preprocessor::EvaluateCondition(const std::string& text, const SourcePosition& where) {
  std::vector<Token> raw, expanded;
  Lex(text, where, &raw);
  // "defined NAME" and "defined(NAME)" are answered before macros are expanded.
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i].kind == TokenKind::Name && raw[i].text == "defined") {
      size_t nameAt = i + 1;
      bool parenthesised = nameAt < raw.size() && raw[nameAt].IsPunct("(");
      if (parenthesised) ++nameAt;
      if (nameAt >= raw.size() || raw[nameAt].kind != TokenKind::Name)
        Fail(where, "defined needs a name");
      Token result = raw[i];
      result.kind = TokenKind::Number;
      result.number = macros_.count(raw[nameAt].text) ? 1 : 0;
      expanded.push_back(result);
      i = nameAt + (parenthesised ? 1 : 0);
      continue;
    }
    Expand(raw[i], &expanded, 0);
  }
  return ConditionEvaluator(expanded, where).Evaluate() != 0;
}

void Preprocessor::Expand(const Token& token, std::vector<Token>* out, int depth) {
  auto macro = token.kind == TokenKind::Name ? macros_.find(token.text) : macros_.end();
  // As in C, a macro is not replaced again inside its own replacement: "#define A A A" ends.
  bool inOwnReplacement = macro != macros_.end() && std::find(expanding_.begin(), expanding_.end(),
                                                              &macro->first) != expanding_.end();
  if (depth == 0) expansionStart_ = expandedTokens_;
  if (macro == macros_.end() || inOwnReplacement || depth > kMaxExpansionDepth) {
    if (depth > 0 && (++expandedTokens_ > kMaxExpandedTokens ||
                      expandedTokens_ - expansionStart_ > kMaxTokensPerExpansion))
      Fail(token.where, "macro replacement too large (macros that grow without end?)");
    out->push_back(token);
    return;
  }
  expanding_.push_back(&macro->first);
  for (Token replacement : macro->second) {
    replacement.where = token.where;
    Expand(replacement, out, depth + 1);
  }
  expanding_.pop_back();
}

void Preprocessor::Lex(const std::string& line, const SourcePosition& where,
                       std::vector<Token>* out) {
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
      ++i;
      continue;
    }
    Token token;
    token.where = where;
    bool wide = (c == 'L' || c == 'l') && i + 1 < line.size() && line[i + 1] == '"';
    if (c == '"' || wide) {
      if (wide) ++i;
      std::string problem;
      size_t end = 0;
      if (!DecodeStringLiteral(line, i, &end, &token.bytes, &problem, byteForByte_))
        Fail(where, problem);
      token.kind = TokenKind::String;
      token.text = line.substr(i, end - i);
      i = end;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      size_t start = i;
      int base = 10;
      if (c == '0' && i + 1 < line.size() && (line[i + 1] == 'x' || line[i + 1] == 'X')) {
        base = 16;
        i += 2;
      }
      uint64_t value = 0;
      size_t digitsStart = i;
      while (i < line.size() && std::isxdigit(static_cast<unsigned char>(line[i]))) {
        int digit = std::isdigit(static_cast<unsigned char>(line[i]))
                        ? line[i] - '0'
                        : (std::tolower(static_cast<unsigned char>(line[i])) - 'a' + 10);
        if (digit >= base) break;
        value = (value * base + digit) & 0xFFFFFFFFull;
        ++i;
      }
      if (i == digitsStart && base == 16)
        Fail(where, "malformed number '" + line.substr(start, i - start) + "'");
      while (i < line.size() && line[i] != '\0' && std::strchr("LlUu", line[i])) {
        if (line[i] == 'L' || line[i] == 'l') token.isLong = true;
        ++i;
      }
      if (i < line.size() && IsNameChar(line[i])) {
        // Not a number after all: a name that starts with digits, such as the grid
        // configuration name "20100Tessel201".
        while (i < line.size() && IsNameChar(line[i])) ++i;
        token.kind = TokenKind::Name;
        token.text = line.substr(start, i - start);
        token.isLong = false;
      } else {
        token.kind = TokenKind::Number;
        token.number = static_cast<uint32_t>(value);
        token.text = line.substr(start, i - start);
      }
    } else if (IsNameStart(c)) {
      size_t start = i;
      while (i < line.size() && IsNameChar(line[i])) ++i;
      token.kind = TokenKind::Name;
      token.text = line.substr(start, i - start);
    } else {
      static const char* pairs[] = {"&&", "||", "==", "!=", "<=", ">="};
      token.kind = TokenKind::Punct;
      for (const char* pair : pairs) {
        if (line.compare(i, 2, pair) == 0) token.text = pair;
      }
      if (token.text.empty()) {
        if (c == '\0' || !std::strchr(",|&+-~()*/{}!<>=", c)) {
          Fail(where, std::string("unexpected character '") + c + "'");
        }
        token.text = std::string(1, c);
      }
      i += token.text.size();
    }
    out->push_back(std::move(token));
  }
}

}  // namespace rc
