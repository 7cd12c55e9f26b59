/*
** The reader of the text form: finds a configuration's block in a script's text and applies
** it to a grid through the grid's messages. Every read is bounded by the text's end; texts
** and tokens longer than their buffers are cut, but read to their end so the parse stays
** aligned.
*/
#include "grid/config_names.h"
#include "grid/config_apply.h"
#include "grid/configurations.h"
#include "grid/library_state.h"
#include "grid/tessel_codes.h"
#include "grid/tessel_record.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

bool IsSeparator(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

/* A read position in the text, never beyond its end. */
class TextCursor {
 public:
  TextCursor(const char* at, const char* end) : at_(at), end_(end) {}

  /* A number token, low 16 bits; false at the end of the text. */
  bool Number(uint16_t* value) {
    while (at_ < end_ && IsSeparator(*at_)) ++at_;
    if (at_ >= end_) return false;
    std::string token = Token([](char c) { return IsSeparator(c); }, 103);
    // A token that runs into the text's end was cut: "2" of a cut "25" is no version 2.
    if (at_ >= end_) return false;
    *value = Convert(token);
    while (at_ < end_ && IsSeparator(*at_)) ++at_;
    return true;
  }
  /* A flags or type token: blanks and "|" belong to it. */
  bool NameToken(std::string* token) {
    while (at_ < end_ && IsSeparator(*at_)) ++at_;
    if (at_ >= end_) return false;
    *token = Token([](char c) { return c == ',' || c == '\r' || c == '\n'; }, 199);
    if (at_ >= end_) return false;
    while (at_ < end_ && (*at_ == ',' || *at_ == '\r' || *at_ == '\n')) ++at_;
    return true;
  }
  /* A quoted, escaped text, cut to limit - 1 characters (no limit when limit is 0). */
  bool Text(std::string* text, size_t limit) {
    if (at_ >= end_) return false;
    text->clear();
    while (at_ < end_ && *at_ != '"') ++at_;
    if (at_ >= end_) return true;
    ++at_;
    auto put = [&](char c) {
      if (limit == 0 || text->size() + 1 < limit) *text += c;
    };
    while (at_ < end_) {
      char c = *at_++;
      if (c == '"') {
        if (at_ < end_ && *at_ == '"') {
          put('"');
          ++at_;
          continue;
        }
        return true;
      }
      if (c != '\\') {
        put(c);
        continue;
      }
      if (at_ >= end_) return false;
      char next = *at_++;
      if (next == '0') {
        SkipPastClosingQuote();
        return true;
      }
      put(next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next);
    }
    return false;  // the text ended inside the quotes
  }

 private:
  template <typename Ends>
  std::string Token(Ends ends, size_t room) {
    std::string token;
    while (at_ < end_ && !ends(*at_)) {
      if (token.size() < room) token += *at_;
      ++at_;
    }
    return token;
  }
  void SkipPastClosingQuote() {
    while (at_ < end_) {
      char c = *at_++;
      if (c == '"') return;
      if (c == '\\' && at_ < end_) ++at_;
    }
  }
  static uint16_t Convert(const std::string& token) {
    return static_cast<uint16_t>(std::strtoll(token.c_str(), nullptr, 0) & 0xFFFF);
  }

  const char* at_;
  const char* end_;

  friend uint16_t TokenNumber(const std::string&);
};

std::string Trimmed(const std::string& token) {
  size_t first = token.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  size_t last = token.find_last_not_of(" \t");
  return token.substr(first, last - first + 1);
}

uint16_t TokenNumber(const std::string& token) {
  return static_cast<uint16_t>(std::strtoll(Trimmed(token).c_str(), nullptr, 0) & 0xFFFF);
}

/* The header's words after the format and version, as the readers hand them on. */
bool ReadTextHeader(TextCursor& cursor, int version, ConfigHeader* header) {
  if (!cursor.Number(&header->count)) return false;
  if (header->count == 0) return true;
  if (version >= 12 && !cursor.Number(&header->style)) return false;
  if (version == 25) {
    uint16_t* words[5] = {&header->labelWidth, &header->exStyleLow, &header->exStyleHigh,
                          &header->labelFlags, &header->headingStyle};
    for (uint16_t* word : words)
      if (!cursor.Number(word)) return false;
  }
  return true;
}

/* One column entry; 4 when the text ends or the block's END stands where a column begins. */
int ReadTextColumn(TextCursor& cursor, int version, ConfigColumn* column) {
  uint16_t ignored = 0;
  if (version < 25 && !cursor.Number(&ignored)) return TSCFG_BADPARSE;
  std::string flags, type;
  if (!cursor.NameToken(&flags)) return TSCFG_BADPARSE;
  if (Trimmed(flags) == "END") return TSCFG_BADPARSE;
  if (!cursor.NameToken(&type)) return TSCFG_BADPARSE;
  column->flags = FlagsFromNames(flags);
  if (column->flags == 0 && !flags.empty()) column->flags = TokenNumber(flags);
  if (!TypeFromNames(type, &column->type)) column->type = type.empty() ? 0 : TokenNumber(type);
  uint16_t words[8] = {};
  int wordCount = version == 25 ? 8 : 6;
  for (int i = 0; i < wordCount; ++i)
    if (!cursor.Number(&words[i])) return TSCFG_BADPARSE;
  column->length = words[0];
  column->width = words[1];
  column->value1 = static_cast<uint32_t>(words[2]) | static_cast<uint32_t>(words[3]) << 16;
  column->value2 = static_cast<uint32_t>(words[4]) | static_cast<uint32_t>(words[5]) << 16;
  column->editStyle =
      version == 25 ? (static_cast<uint32_t>(words[6]) | static_cast<uint32_t>(words[7]) << 16) : 0;
  if (!cursor.Text(&column->format, TS_FORMATLIMIT) ||
      !cursor.Text(&column->heading, TS_HEADINGLIMIT) || !cursor.Text(&column->name, TS_NAMELIMIT))
    return TSCFG_BADPARSE;
  column->hasListItems = version == 25;
  if (version == 25 && !cursor.Text(&column->listItems, 0)) return TSCFG_BADPARSE;
  return TSCFG_DONE;
}

/* From the key's end: the line holding "BEGIN", then past its line end. */
const char* PastBegin(const char* at, const char* end) {
  static const char kBegin[] = "BEGIN";
  const char* found = std::search(at, end, kBegin, kBegin + 5);
  if (found == end) return nullptr;
  const char* p = found + 5;
  while (p < end && *p != '\r' && *p != '\n') ++p;
  while (p < end && (*p == '\r' || *p == '\n')) ++p;
  return p;
}

bool StartsWith(const char* at, const char* end, const char* word) {
  size_t n = std::strlen(word);
  return static_cast<size_t>(end - at) >= n && std::memcmp(at, word, n) == 0;
}

/* Where the resource line starting at line matches the name, the end of "TESSELCFG". */
const char* MatchResourceLine(const char* line, const char* end, const std::string& name) {
  const char* p = line;
  while (p < end && IsBlank(*p)) ++p;
  if (name.empty()) {
    const char* start = p;
    while (p < end && !IsBlank(*p) && *p != '\r' && *p != '\n') ++p;
    if (p == start) return nullptr;
  } else {
    if (!StartsWith(p, end, name.c_str())) return nullptr;
    p += name.size();
  }
  if (p >= end || !IsBlank(*p)) return nullptr;
  while (p < end && IsBlank(*p)) ++p;
  if (!StartsWith(p, end, "TESSELCFG")) return nullptr;
  p += 9;
  if (p < end && !IsBlank(*p) && *p != '\r' && *p != '\n') return nullptr;
  return p;
}

}  // namespace

const char* FindConfigBlock(const char* text, const char* end, const std::string& name,
                            const char** keyEnd) {
  for (const char* line = text; line < end;) {
    if (const char* after = MatchResourceLine(line, end, name)) {
      if (keyEnd) *keyEnd = after;
      return line;
    }
    while (line < end && *line != '\n') ++line;
    if (line < end) ++line;
  }
  return nullptr;
}

int ReadConfigText(const char* text, const char* end, HWND grid) {
  // BEGIN is looked for after the key, so a name holding "BEGIN" is not misread.
  const char* keyEnd = MatchResourceLine(text, end, "");
  return ReadConfigBody(keyEnd ? keyEnd : text, end, grid);
}

int ReadConfigBody(const char* keyEnd, const char* end, HWND grid) {
  const char* at = PastBegin(keyEnd, end);
  if (!at) return TSCFG_BADPARSE;
  TextCursor cursor(at, end);
  uint16_t format = 0, version = 0;
  if (!cursor.Number(&format) || !cursor.Number(&version)) return TSCFG_BADPARSE;
  if (!AcceptedVersion(format, static_cast<int16_t>(version))) return TSCFG_BADVERSION;
  int v = static_cast<int16_t>(version);
  SendMessage(grid, TSM_RESET, 0, 0);
  ConfigHeader header;
  if (!ReadTextHeader(cursor, v, &header)) return TSCFG_BADPARSE;
  if (header.count == 0) return TSCFG_BADPARSE;
  ApplyConfigHeader(grid, v, header);
  for (int c = 0; c < header.count; ++c) {
    ConfigColumn column;
    int result = ReadTextColumn(cursor, v, &column);
    if (result != TSCFG_DONE) return result;
    ApplyConfigColumn(grid, v, c, column);
  }
  return TSCFG_DONE;
}

extern "C" int LoadConfigText(LPCSTR text, HWND grid) {
  if (!text) return TSCFG_BADPARSE;
  return ReadConfigText(text, text + std::strlen(text), grid);
}

extern "C" int DlgBuffLoadTessel(HGLOBAL buffer, LPCSTR configurationName, HWND grid) {
  const char* text = static_cast<const char*>(GlobalLock(buffer));
  if (!text) return TSCFG_NOMEMORY;
  std::string name = configurationName ? configurationName : "";
  int result = TSCFG_NOTFOUND;
  if (name.size() <= TSCFG_MAXNAME) {
    // The text ends at its NUL, or at the block's end when the NUL is missing.
    const char* end = text + strnlen(text, GlobalSize(buffer));
    const char* keyEnd = nullptr;
    if (FindConfigBlock(text, end, name, &keyEnd)) result = ReadConfigBody(keyEnd, end, grid);
  }
  GlobalUnlock(buffer);
  return result;
}
